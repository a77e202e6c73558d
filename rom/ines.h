#pragma once

// The iNES and NES 2.0 ROM header: where PRG-ROM and CHR-ROM lie in a ROM file.

#include <cstdint>
#include <string>
#include <string_view>

namespace mipofc {

/// Bytes of the iNES header.
inline constexpr std::uint64_t InesHeaderSize = 16;
/// Bytes of the trainer that byte 6 bit 2 announces.
inline constexpr std::uint64_t InesTrainerSize = 512;

/// Where the parts of an iNES or NES 2.0 ROM image lie; sizes and offsets in bytes.
struct TRomLayout {
  bool Nes2 = false;            ///< byte 7 bits 2-3 are binary 10
  bool Trainer = false;         ///< a 512-byte trainer follows the header
  std::uint64_t PrgSize = 0;    ///< PRG-ROM bytes
  std::uint64_t ChrSize = 0;    ///< CHR-ROM bytes; 0 when the game uses CHR-RAM
  std::uint64_t PrgOffset = 0;  ///< file offset of PRG-ROM: after the header and the trainer
  std::uint64_t ChrOffset = 0;  ///< file offset of CHR-ROM: after PRG-ROM
  std::uint64_t FileSize = 0;   ///< bytes of the whole image
};

/// A NES 2.0 ROM size: (msbNibble << 8 | lsb) x unit, or when msbNibble is 0xF the exponent-
/// multiplier form 2^(lsb >> 2) x ((lsb & 3) x 2 + 1); saturates at UINT64_MAX.
std::uint64_t Nes2RomSize(std::uint8_t lsb, std::uint8_t msbNibble, std::uint64_t unit);

/// Reads the layout of a ROM image; throws TFileError(fileName, reason) when the image is not an
/// iNES ROM or is shorter than its header says.
TRomLayout ReadRomLayout(std::string_view image, const std::string& fileName);

}  // namespace mipofc
