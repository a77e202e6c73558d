#pragma once

// Writing banks into a ROM image: from a kilobyte of its CHR-ROM or from a raw file offset.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "rom/ines.h"

namespace mipofc {

/// Where the banks go: from kilobyte Start of CHR-ROM (InChr), or from file offset Start.
struct TPatchTarget {
  bool InChr = true;
  std::uint64_t Start = 0;  ///< CHR-ROM kilobyte (InChr) or file offset in bytes
};

/// One bank file to write: its name as the user gave it, and its bytes.
struct TBankPiece {
  std::string Name;
  std::string Bytes;
};

/// Where one bank file goes: its first and last byte, as CHR-ROM addresses (InChr) or file offsets.
struct TPlacement {
  std::string Name;
  bool InChr = true;
  std::uint64_t First = 0;
  std::uint64_t Last = 0;
};

/// A bank file whose name says it is text or a picture, not raw tiles: what() reads "FILE is
/// ca65 source, not raw tiles: export with --format chr".
class TNotRawTilesError : public std::runtime_error {
 public:
  TNotRawTilesError(const std::string& file, const std::string& kind)
      : std::runtime_error(file + " is " + kind + ", not raw tiles: export with --format chr"), file_(file), kind_(kind) {}
  const std::string& FileName() const { return file_; }
  const std::string& Kind() const { return kind_; }

 private:
  std::string file_, kind_;
};

/// What a bank file's name says it holds when that is not raw tiles ("ca65 source" for .s, and
/// .inc, .h, .png, .tbl, .txt, .ini in any case); empty for any other name.
std::string NotRawTilesKind(const std::string& name);

/// Throws TFileError naming romName when the ROM has no CHR-ROM (the game draws its tiles from
/// CHR-RAM), so that banks cannot go into it.
void RequireChrRom(const TRomLayout& rom, const std::string& romName);
/// How many bytes banks of bytes bytes in all, from CHR-ROM kilobyte kb, run past the CHR-ROM:
/// 0 when they fit, UINT64_MAX when further than any file is long.
std::uint64_t ChrOverrun(const TRomLayout& rom, std::uint64_t kb, std::uint64_t bytes);

/// Checks that banks of these names and sizes (bytes) fit the ROM at target, and says where each
/// goes, one after another. Throws TFileError naming a bank that is not a whole number of 16-byte
/// tiles, or naming romName when the ROM has no CHR-ROM (for InChr) or the banks run past the
/// CHR-ROM or the file's end.
std::vector<TPlacement> PlanPatch(const TRomLayout& rom, const std::string& romName,
                                  const std::vector<std::pair<std::string, std::uint64_t>>& banks,
                                  const TPatchTarget& target);

/// Writes the banks into image (a ROM named romName) as PlanPatch places them; nothing else of
/// the image changes. Throws as ReadRomLayout and PlanPatch do, with image unchanged.
std::vector<TPlacement> PatchImage(std::string& image, const std::string& romName,
                                   const std::vector<TBankPiece>& banks, const TPatchTarget& target);

/// "font.00.chr -> CHR 0x0000-0x0FFF", or "... -> file 0x8010-0x900F" for a file offset.
std::string PlacementText(const TPlacement& placement);

}  // namespace mipofc
