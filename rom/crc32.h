#pragma once

// The CRC-32 of zlib and PNG (reflected polynomial 0xEDB88320), as BPS patches carry it.

#include <cstdint>
#include <string_view>

namespace mipofc {

/// The CRC-32 of bytes: initial value and final XOR 0xFFFFFFFF, reflected polynomial 0xEDB88320.
std::uint32_t Crc32(std::string_view bytes);

}  // namespace mipofc
