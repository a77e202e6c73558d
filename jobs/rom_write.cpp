#include "jobs/rom_write.h"

#include "base/file_read.h"
#include "base/file_write.h"
#include "engine/bank_maker.h"

namespace mipofc {

TChrRom OpenChrRom(const std::string& path) {
  TChrRom rom;
  rom.Name = path;
  rom.Image = ReadFileBytes(path);
  rom.Layout = ReadRomLayout(rom.Image, path);
  RequireChrRom(rom.Layout, path);
  return rom;
}

TTextBanks TextBanks(const TChrSettings& settings, std::size_t length) {
  TTextBanks banks;
  banks.Capacity = ExportCapacity(settings);
  banks.Count = ExportFileCount(length, banks.Capacity);
  banks.Bytes = static_cast<std::uint64_t>(banks.Count) * static_cast<std::uint64_t>(settings.Limit);
  return banks;
}

void PlanTextIntoRom(const TChrRom& rom, const TTextBanks& banks, const TPatchTarget& target) {
  // An empty text has no banks: only the ROM's side of the plan is checked.
  std::vector<std::pair<std::string, std::uint64_t>> sizes;
  if (banks.Bytes > 0) sizes.emplace_back("banks", banks.Bytes);
  PlanPatch(rom.Layout, rom.Name, sizes, target);
}

std::vector<TPlacement> WriteBanksIntoRom(const TChrRom& rom, const std::vector<TBankPiece>& banks,
                                          const TPatchTarget& target, const std::string& outPath) {
  std::string image = rom.Image;
  const std::vector<TPlacement> placed = PatchImage(image, rom.Name, banks, target);
  WriteFileAtomically(outPath, image);
  return placed;
}

std::vector<TPlacement> PatchRomFile(const std::string& romPath, const std::vector<std::string>& bankPaths,
                                     const TPatchTarget& target, const std::string& outPath) {
  std::string image = ReadFileBytes(romPath);
  ReadRomLayout(image, romPath);
  std::vector<TBankPiece> banks;
  for (const std::string& path : bankPaths) banks.push_back({path, ReadFileBytes(path)});
  const std::vector<TPlacement> placements = PatchImage(image, romPath, banks, target);
  WriteFileAtomically(outPath, image);
  return placements;
}

TRomWriteResult WriteTextIntoRom(const TChrRom& rom, const TChrSettings& settings, std::u16string_view text,
                                 const TPatchTarget& target, const std::string& outPath, const TJobControl& control) {
  TRomWriteResult result;
  result.Banks = TextBanks(settings, text.size());
  PlanTextIntoRom(rom, result.Banks, target);
  std::string bytes;
  bytes.reserve(result.Banks.Bytes);
  TBankMaker maker(settings, text, result.Banks.Capacity, false);
  for (std::int64_t n = 0; n < result.Banks.Count; ++n) {
    bytes += maker.Take(n).Bytes;
    if (!control.Step(n + 1, result.Banks.Count)) {
      result.Cancelled = true;
      return result;
    }
  }
  result.Placed = WriteBanksIntoRom(rom, {{outPath, std::move(bytes)}}, target, outPath);
  return result;
}

}  // namespace mipofc
