#pragma once

// Writing a text's banks, or bank files, into a copy of an iNES ROM's CHR-ROM.

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

/// Writes the banks into a copy of the ROM's image and saves it to outPath (which may be the ROM
/// itself), replaced atomically; returns where each bank went. Throws as PlanPatch and the writer
/// do; nothing is written then.
std::vector<TPlacement> WriteBanksIntoRom(const TChrRom& rom, const std::vector<TBankPiece>& banks,
                                          const TPatchTarget& target, const std::string& outPath);

/// Reads the ROM romPath and the bank files, writes the patched ROM to outPath (which may be
/// romPath) atomically; returns where each bank went. On any failure nothing is written.
std::vector<TPlacement> PatchRomFile(const std::string& romPath, const std::vector<std::string>& bankPaths,
                                     const TPatchTarget& target, const std::string& outPath);

/// What writing a text into a ROM did.
struct TRomWriteResult {
  bool Cancelled = false;        ///< the control stopped it; nothing was written
  TTextBanks Banks;              ///< the banks drawn
  std::vector<TPlacement> Placed;  ///< where they went: one piece, as export --concat lays them
};

/// Draws the text's banks in memory (no bank file) as export --concat lays them, one step a bank,
/// then writes them into the ROM from target and saves it to outPath.
TRomWriteResult WriteTextIntoRom(const TChrRom& rom, const TChrSettings& settings, std::u16string_view text,
                                 const TPatchTarget& target, const std::string& outPath, const TJobControl& control);

}  // namespace mipofc
