// Any bytes as a ROM: the header reader either refuses them with a TFileError naming the file or
// gives a layout that lies inside the image, and a patch planned on it stays inside its bounds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/errors.h"
#include "rom/ines.h"
#include "rom/patch.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string name = "fuzz.nes";
  std::string image(reinterpret_cast<const char*>(data), size);
  mipofc::TRomLayout rom;
  try {
    rom = mipofc::ReadRomLayout(image, name);
  } catch (const mipofc::TFileError& e) {
    Check(e.FileName() == name);
    return 0;
  }
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(image[i]); };
  Check(rom.FileSize == size && rom.Nes2 == ((byte(7) & 0x0C) == 0x08));
  Check(rom.PrgOffset == (rom.Trainer ? 528u : 16u));
  Check(rom.ChrOffset == rom.PrgOffset + rom.PrgSize && rom.ChrOffset + rom.ChrSize <= rom.FileSize);
  if (!rom.Nes2) Check(rom.PrgSize == byte(4) * 16384u && rom.ChrSize == byte(5) * 8192u);

  // A tile at the last kilobyte of CHR-ROM (or the last 16 bytes of the file) fits; one more does not.
  const std::string tile(16, '\x5A');
  const mipofc::TPatchTarget target =
      rom.ChrSize >= 1024 ? mipofc::TPatchTarget{true, rom.ChrSize / 1024 - 1} : mipofc::TPatchTarget{false, size - 16};
  const std::string original = image;
  const auto placed = mipofc::PatchImage(image, name, {{"tile.chr", tile}}, target);
  const std::uint64_t offset = placed.at(0).First + (target.InChr ? rom.ChrOffset : 0);
  Check(image.size() == original.size() && image.compare(offset, 16, tile) == 0);
  Check(image.compare(0, offset, original, 0, offset) == 0 &&
        image.compare(offset + 16, std::string::npos, original, offset + 16, std::string::npos) == 0);
  // Whole tiles, one tile more than the room from the start.
  const std::uint64_t room = target.InChr ? rom.ChrSize : rom.FileSize;
  try {
    mipofc::PlanPatch(rom, name, {{"big.chr", (room / 16 + 1) * 16}}, {target.InChr, 0});
    std::abort();
  } catch (const mipofc::TFileError& e) {
    Check(e.FileName() == name);
  }
  return 0;
}
