#pragma once

// IPS patches: the changed bytes of a file as records of a 3-byte offset, a 2-byte size and
// the bytes, or of a run of one byte as an RLE record (size 0, a 2-byte count, the byte).

#include <cstdint>
#include <string>
#include <string_view>

namespace mipofc {

/// The largest file an IPS patch can describe: its offsets are 3 bytes (16 MiB).
inline constexpr std::uint64_t IpsMaxFileSize = 0x1000000;
/// The offset no record may start at: its three bytes read "EOF", the patch's end mark.
inline constexpr std::uint64_t IpsEofOffset = 0x454F46;
/// The fewest equal bytes an RLE record holds; a record of bytes never holds so many in a row.
inline constexpr std::uint64_t IpsRunMin = 9;

/// Throws TFileError naming patchName when a file of size bytes is more than an IPS patch reaches.
void RequireIpsSize(std::uint64_t size, const std::string& patchName);

/// The smallest IPS patch (within the records' rules) that turns source into target: "PATCH",
/// records in offset order, "EOF". Only changed bytes are written, unless a record crosses a
/// short unchanged gap because that is smaller. Throws TFileError naming patchName when source
/// or target is over IpsMaxFileSize or target is shorter than source.
std::string IpsPatch(std::string_view source, std::string_view target, const std::string& patchName);

}  // namespace mipofc
