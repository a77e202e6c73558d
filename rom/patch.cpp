#include "rom/patch.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "base/errors.h"
#include "base/hex.h"
#include "text/text.h"

namespace mipofc {

namespace {

constexpr std::uint64_t Huge = std::numeric_limits<std::uint64_t>::max();

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) { return a > Huge - b ? Huge : a + b; }

std::string OffsetText(std::uint64_t v) { return "0x" + HexText(v, 4); }

// The bytes the banks run over; they can be past by any amount, even more than fits ("").
std::string OverValue(std::uint64_t over) { return over == Huge ? std::string() : std::to_string(over); }

}  // namespace

void RequireChrRom(const TRomLayout& rom, const std::string& romName) {
  if (rom.ChrSize == 0)
    throw TFileError(romName, TFailure{TFailureKind::NoChrRom, {}});
}

std::uint64_t ChrOverrun(const TRomLayout& rom, std::uint64_t kb, std::uint64_t bytes) {
  const std::uint64_t start = kb > Huge / 1024 ? Huge : kb * 1024;
  const std::uint64_t end = SaturatingAdd(start, bytes);
  if (end <= rom.ChrSize) return 0;
  return end == Huge ? Huge : end - rom.ChrSize;
}

std::vector<TPlacement> PlanPatch(const TRomLayout& rom, const std::string& romName,
                                  const std::vector<std::pair<std::string, std::uint64_t>>& banks,
                                  const TPatchTarget& target) {
  std::uint64_t total = 0;
  for (const auto& [name, size] : banks) {
    if (size == 0) throw TFileError(name, TFailure{TFailureKind::BankNoTiles, {}});
    if (size % 16 != 0) throw TFileError(name, TFailure{TFailureKind::BankNotTiles, {std::to_string(size)}});
    total = SaturatingAdd(total, size);
  }
  std::uint64_t start = 0;
  if (target.InChr) {
    RequireChrRom(rom, romName);
    start = target.Start > Huge / 1024 ? Huge : target.Start * 1024;
    const std::uint64_t over = ChrOverrun(rom, target.Start, total);
    if (over != 0)
      throw TFileError(romName, TFailure{TFailureKind::PastChrRom,
                                         {OverValue(over), std::to_string(rom.ChrSize / 1024), std::to_string(total),
                                          std::to_string(target.Start)}});
  } else {
    start = target.Start;
    const std::uint64_t end = SaturatingAdd(start, total);
    if (end > rom.FileSize)
      throw TFileError(romName, TFailure{TFailureKind::PastEndOfFile,
                                         {OverValue(end == Huge ? Huge : end - rom.FileSize), std::to_string(rom.FileSize),
                                          std::to_string(total), OffsetText(start)}});
  }
  std::vector<TPlacement> placements;
  for (const auto& [name, size] : banks) {
    placements.push_back({name, target.InChr, start, start + size - 1});
    start += size;
  }
  return placements;
}

std::vector<TPlacement> PatchImage(std::string& image, const std::string& romName,
                                   const std::vector<TBankPiece>& banks, const TPatchTarget& target) {
  const TRomLayout rom = ReadRomLayout(image, romName);
  std::vector<std::pair<std::string, std::uint64_t>> sizes;
  for (const TBankPiece& bank : banks) sizes.emplace_back(bank.Name, bank.Bytes.size());
  const std::vector<TPlacement> placements = PlanPatch(rom, romName, sizes, target);
  for (std::size_t i = 0; i < banks.size(); ++i) {
    const std::uint64_t offset = placements[i].First + (target.InChr ? rom.ChrOffset : 0);
    image.replace(static_cast<std::size_t>(offset), banks[i].Bytes.size(), banks[i].Bytes);
  }
  return placements;
}

std::string PlacementText(const TPlacement& placement) {
  return placement.Name + " -> " + (placement.InChr ? "CHR " : "file ") + OffsetText(placement.First) + "-" +
         OffsetText(placement.Last);
}

std::string NotRawTilesKind(const std::string& name) {
  static const std::pair<const char*, const char*> kinds[] = {
      {".s", "ca65 source"},   {".inc", "an assembler include file"}, {".h", "a C header"},
      {".png", "a PNG picture"}, {".tbl", "a code table"},           {".txt", "a text file"},
      {".ini", "a parameter file"}};
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.find('/', dot) != std::string::npos) return "";
  std::string ext = name.substr(dot);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  for (const auto& [extension, kind] : kinds)
    if (ext == extension) return kind;
  return "";
}

}  // namespace mipofc
