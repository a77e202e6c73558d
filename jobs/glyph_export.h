#pragma once

// Glyph data for a game that copies each character's tiles into CHR-RAM as it prints: every
// character's cell in code order, glyph after glyph, as one file or as numbered PRG banks.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/chr.h"
#include "engine/formats.h"
#include "jobs/export.h"
#include "jobs/job.h"
#include "table/codes.h"

namespace mipofc {

/// The PRG bank sizes glyph data can be cut into, in bytes.
inline constexpr std::int32_t PrgBankSizes[] = {8192, 16384, 32768};

/// Glyphs made at a time for one file: its progress counts pieces of this many.
inline constexpr std::int64_t GlyphsAPiece = 256;

/// How a glyph export writes its files and whom it tells as it goes.
struct TGlyphOptions {
  TBankFormat Format = TBankFormat::Chr;  ///< Chr, Ca65 or C
  int BitsPerPixel = 2;                   ///< 2: the 16 bytes a bank holds; 1: 8 bytes a tile (mode 0 only)
  /// Bytes of each numbered file (one of PrgBankSizes), each holding whole glyphs and zero-filled
  /// to the end; 0: one file under exactly the chosen name.
  std::int32_t PrgBank = 0;
  TCodePlan Codes;  ///< the codes the ca65 comments name: Codes.Start + the glyph's number
  /// Hears each file's name once it is written, in order.
  std::function<void(const std::string&)> OnWritten;
  /// Hears the files written of the files in all (one file: the glyphs made of all, in pieces);
  /// Cancel stops after the file being written (one file: nothing is written).
  TJobControl Control;
};

/// How a text's glyphs fall into files.
struct TGlyphFiles {
  std::int32_t GlyphBytes = 0;  ///< bytes a glyph
  std::int64_t PerFile = 0;     ///< glyphs a file (with no PRG bank: the whole text)
  std::int64_t Count = 0;       ///< files
};
/// The files of a text of length characters. Throws std::invalid_argument when a glyph is
/// larger than the PRG bank.
TGlyphFiles GlyphFilesOf(const TChrSettings& settings, int bitsPerPixel, std::int32_t prgBank, std::size_t length);

/// The name of glyph file n: with no PRG bank the chosen name itself; else as bank files are
/// named (ExportFileName), with the chosen name's own extension (".bin" when it has none) for
/// chr, ".s" for ca65 and ".h" for c.
std::string GlyphFileName(std::string_view chosenName, std::int64_t n, const TGlyphFiles& files,
                          const TGlyphOptions& options);

/// Writes text's glyph data. A failure throws TFileError (or TFontError) and stops the export;
/// numbered files written before it stay. An empty text writes no file.
TExportResult ExportGlyphs(std::string_view chosenName, const TChrSettings& settings, std::u16string_view text,
                           const TGlyphOptions& options);

}  // namespace mipofc
