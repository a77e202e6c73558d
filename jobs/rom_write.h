#pragma once

// Writing a text's banks, or bank files, into a copy of an iNES ROM's CHR-ROM, and handing the
// result on as the patched ROM, an IPS patch or a BPS patch.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/chr.h"
#include "jobs/job.h"
#include "rom/patch.h"

namespace mipofc {

/// A ROM read to take banks into its CHR-ROM.
struct TChrRom {
  std::string Name;   ///< the file, as it was named
  std::string Image;  ///< its bytes
  TRomLayout Layout;
};

/// Reads a ROM that banks are to go into. Throws TFileError naming it when it cannot be read, is
/// no iNES ROM, is shorter than its header says or has no CHR-ROM.
TChrRom OpenChrRom(const std::string& path);

/// The kinds of file a ROM job writes.
enum class TRomFileKind { Rom, Ips, Bps };

/// The files a ROM job writes; an empty name is not written.
struct TRomOutputs {
  std::string Rom;  ///< the patched ROM (may be the source ROM itself)
  std::string Ips;  ///< an IPS patch that turns the source ROM into the patched one
  std::string Bps;  ///< a BPS patch that does the same

  /// The name of a kind's file ("" when it is not written).
  const std::string& Of(TRomFileKind kind) const;
  /// The names given, in the order ROM, IPS, BPS.
  std::vector<std::string> Names() const;
};

/// One file a ROM job wrote.
struct TRomFile {
  TRomFileKind Kind = TRomFileKind::Rom;
  std::string Name;
  std::uint64_t Bytes = 0;  ///< its size
};

/// Throws TFileError when a patch would replace the ROM romName or two outputs name one file, and
/// when a ROM of romSize bytes cannot be an IPS patch; for checking before anything is drawn.
void CheckRomOutputs(const std::string& romName, std::uint64_t romSize, const TRomOutputs& outputs);

/// Makes each file of outputs from the source ROM's bytes and the patched image, then writes
/// them in the order ROM, IPS, BPS, each atomically. Throws TFileError before anything is
/// written when a patch would replace the ROM romName or two outputs name one file, and when
/// the ROM cannot be an IPS patch (IpsPatch); a write that fails leaves the files before it.
std::vector<TRomFile> WriteRomOutputs(const std::string& romName, std::string_view source, const std::string& image,
                                      const TRomOutputs& outputs);

/// Where the banks went and what was written.
struct TRomWritten {
  std::vector<TPlacement> Placed;
  std::vector<TRomFile> Files;
};

/// The banks a text takes with some settings.
struct TTextBanks {
  std::int32_t Capacity = 0;  ///< characters a bank holds
  std::int64_t Count = 0;     ///< banks of the text
  std::uint64_t Bytes = 0;    ///< bytes of them all
};
/// The banks of a text of length characters.
TTextBanks TextBanks(const TChrSettings& settings, std::size_t length);

/// Checks, before anything is drawn, that the text's banks fit the ROM from target. Throws
/// TFileError naming the ROM, as PlanPatch does.
void PlanTextIntoRom(const TChrRom& rom, const TTextBanks& banks, const TPatchTarget& target);

/// Writes the banks into a copy of the ROM's image and writes outputs from it (WriteRomOutputs).
/// Throws as PlanPatch and WriteRomOutputs do; nothing is written then.
TRomWritten WriteBanksIntoRom(const TChrRom& rom, const std::vector<TBankPiece>& banks, const TPatchTarget& target,
                              const TRomOutputs& outputs);

/// Reads the ROM romPath (any iNES ROM: target may name a file offset) and the bank files, and
/// writes the banks into it as WriteBanksIntoRom does. On a failure to read nothing is written.
TRomWritten PatchRomFile(const std::string& romPath, const std::vector<std::string>& bankPaths,
                         const TPatchTarget& target, const TRomOutputs& outputs);

/// What writing a text into a ROM did.
struct TRomWriteResult {
  bool Cancelled = false;          ///< the control stopped it; nothing was written
  TTextBanks Banks;                ///< the banks drawn
  std::vector<TPlacement> Placed;  ///< where they went: one piece, as export --concat lays them
  std::vector<TRomFile> Files;     ///< what was written
};

/// Checks the outputs (CheckRomOutputs), draws the text's banks in memory (no bank file) as
/// export --concat lays them, one step a bank, then writes them into the ROM from target and
/// writes outputs.
TRomWriteResult WriteTextIntoRom(const TChrRom& rom, const TChrSettings& settings, std::u16string_view text,
                                 const TPatchTarget& target, const TRomOutputs& outputs, const TJobControl& control);

}  // namespace mipofc
