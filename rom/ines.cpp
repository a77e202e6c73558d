#include "rom/ines.h"

#include <limits>

#include "base/errors.h"

namespace mipofc {

namespace {

constexpr std::uint64_t Huge = std::numeric_limits<std::uint64_t>::max();

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) { return a > Huge - b ? Huge : a + b; }

}  // namespace

std::uint64_t Nes2RomSize(std::uint8_t lsb, std::uint8_t msbNibble, std::uint64_t unit) {
  if ((msbNibble & 0xF) != 0xF) return (static_cast<std::uint64_t>(msbNibble & 0xF) << 8 | lsb) * unit;
  const unsigned exponent = lsb >> 2;
  const std::uint64_t multiplier = (lsb & 3u) * 2 + 1;
  // Exact while 64 bits hold it (2^63 x 1 does, 2^62 x 7 does not); Huge beyond.
  if (exponent > 63 || (Huge >> exponent) < multiplier) return Huge;
  return (std::uint64_t{1} << exponent) * multiplier;
}

TRomLayout ReadRomLayout(std::string_view image, const std::string& fileName) {
  const std::string_view magic("NES\x1A", 4);
  if (image.size() < InesHeaderSize && image.size() > 0 && magic.starts_with(image.substr(0, 4)))
    throw TFileError(fileName, TFailure{TFailureKind::HeaderTooShort, {std::to_string(image.size())}});
  if (image.size() < InesHeaderSize || image.substr(0, 4) != magic)
    throw TFileError(fileName, TFailure{TFailureKind::NotInes, {}});
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(image[i]); };
  TRomLayout rom;
  rom.FileSize = image.size();
  rom.Nes2 = (byte(7) & 0x0C) == 0x08;
  rom.Trainer = (byte(6) & 0x04) != 0;
  if (rom.Nes2) {
    rom.PrgSize = Nes2RomSize(byte(4), byte(9) & 0x0F, 16 * 1024);
    rom.ChrSize = Nes2RomSize(byte(5), byte(9) >> 4, 8 * 1024);
  } else {
    rom.PrgSize = byte(4) * std::uint64_t{16 * 1024};
    rom.ChrSize = byte(5) * std::uint64_t{8 * 1024};
  }
  rom.PrgOffset = InesHeaderSize + (rom.Trainer ? InesTrainerSize : 0);
  rom.ChrOffset = SaturatingAdd(rom.PrgOffset, rom.PrgSize);
  const std::uint64_t needed = SaturatingAdd(rom.ChrOffset, rom.ChrSize);
  if (needed > rom.FileSize) {
    const auto size = [](std::uint64_t bytes) { return bytes == Huge ? std::string() : std::to_string(bytes); };
    throw TFileError(fileName, TFailure{TFailureKind::RomShorterThanHeader,
                                        {std::to_string(rom.FileSize), rom.Trainer ? "1" : "0", size(rom.PrgSize),
                                         size(rom.ChrSize), size(needed)}});
  }
  return rom;
}

}  // namespace mipofc
