#include "jobs/rom_write.h"

#include <algorithm>

#include "base/errors.h"
#include "base/file_read.h"
#include "base/file_write.h"
#include "engine/bank_maker.h"
#include "jobs/file_uses.h"
#include "rom/bps.h"
#include "rom/ips.h"

namespace mipofc {

namespace {

constexpr TRomFileKind Kinds[] = {TRomFileKind::Rom, TRomFileKind::Ips, TRomFileKind::Bps};

const char* KindId(TRomFileKind kind) {
  switch (kind) {
    case TRomFileKind::Rom: return "rom";
    case TRomFileKind::Ips: return "ips";
    case TRomFileKind::Bps: return "bps";
  }
  return "";
}

// One file under two names (a link, "./a" and "a") counts as the same.
bool SameFile(const std::string& a, const std::string& b) { return FileIdentity(a) == FileIdentity(b); }

}  // namespace

void CheckRomOutputs(const std::string& romName, std::uint64_t romSize, const TRomOutputs& outputs) {
  for (std::size_t i = 0; i < std::size(Kinds); ++i) {
    const std::string& name = outputs.Of(Kinds[i]);
    if (name.empty()) continue;
    if (Kinds[i] != TRomFileKind::Rom && SameFile(name, romName))
      throw TFileError(name, TFailure{TFailureKind::PatchIsRom, {KindId(Kinds[i])}});
    for (std::size_t j = 0; j < i; ++j)
      if (!outputs.Of(Kinds[j]).empty() && SameFile(name, outputs.Of(Kinds[j])))
        throw TFileError(name, TFailure{TFailureKind::OutputTwice, {KindId(Kinds[j]), KindId(Kinds[i])}});
  }
  if (!outputs.Ips.empty()) RequireIpsSize(romSize, outputs.Ips);
}

const std::string& TRomOutputs::Of(TRomFileKind kind) const {
  return kind == TRomFileKind::Ips ? Ips : kind == TRomFileKind::Bps ? Bps : Rom;
}

std::vector<std::string> TRomOutputs::Names() const {
  std::vector<std::string> names;
  for (const TRomFileKind kind : Kinds)
    if (!Of(kind).empty()) names.push_back(Of(kind));
  return names;
}

std::vector<TRomFile> WriteRomOutputs(const std::string& romName, std::string_view source, const std::string& image,
                                      const TRomOutputs& outputs) {
  CheckRomOutputs(romName, std::max(source.size(), image.size()), outputs);
  // Every patch is made before the first file is written: one that cannot be made stops them all.
  std::string ips, bps;
  if (!outputs.Ips.empty()) ips = IpsPatch(source, image, outputs.Ips);
  if (!outputs.Bps.empty()) bps = BpsPatch(source, image);
  std::vector<TRomFile> written;
  for (const TRomFileKind kind : Kinds) {
    const std::string& name = outputs.Of(kind);
    if (name.empty()) continue;
    const std::string& bytes = kind == TRomFileKind::Ips ? ips : kind == TRomFileKind::Bps ? bps : image;
    WriteFileAtomically(name, bytes);
    written.push_back({kind, name, bytes.size()});
  }
  return written;
}

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

TRomWritten WriteBanksIntoRom(const TChrRom& rom, const std::vector<TBankPiece>& banks, const TPatchTarget& target,
                              const TRomOutputs& outputs) {
  std::string image = rom.Image;
  TRomWritten written;
  written.Placed = PatchImage(image, rom.Name, banks, target);
  written.Files = WriteRomOutputs(rom.Name, rom.Image, image, outputs);
  return written;
}

TRomWritten PatchRomFile(const std::string& romPath, const std::vector<std::string>& bankPaths,
                         const TPatchTarget& target, const TRomOutputs& outputs) {
  // Text and pictures of tiles would go into the ROM as their characters, not as the tiles.
  for (const std::string& path : bankPaths)
    if (const std::string kind = NotRawTilesKind(path); !kind.empty()) throw TNotRawTilesError(path, kind);
  TChrRom rom;
  rom.Name = romPath;
  rom.Image = ReadFileBytes(romPath);
  rom.Layout = ReadRomLayout(rom.Image, romPath);
  std::vector<TBankPiece> banks;
  for (const std::string& path : bankPaths) banks.push_back({path, ReadFileBytes(path)});
  return WriteBanksIntoRom(rom, banks, target, outputs);
}

TRomWriteResult WriteTextIntoRom(const TChrRom& rom, const TChrSettings& settings, std::u16string_view text,
                                 const TPatchTarget& target, const TRomOutputs& outputs, const TJobControl& control) {
  TRomWriteResult result;
  result.Banks = TextBanks(settings, text.size());
  PlanTextIntoRom(rom, result.Banks, target);
  CheckRomOutputs(rom.Name, rom.Image.size(), outputs);
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
  // The one piece is named after the first file written, as the placement says where it went.
  const std::string name = outputs.Names().empty() ? rom.Name : outputs.Names().front();
  TRomWritten written = WriteBanksIntoRom(rom, {{name, std::move(bytes)}}, target, outputs);
  result.Placed = std::move(written.Placed);
  result.Files = std::move(written.Files);
  return result;
}

}  // namespace mipofc
