#pragma once

// export's flags for a CHR-RAM game: glyph data instead of banks (--layout glyphs, --bpp,
// --prg-bank), where a code's tiles are (--map) and a blank slot in every bank (--blank-slot).

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "engine/chr.h"
#include "engine/formats.h"
#include "jobs/code_map.h"
#include "jobs/glyph_export.h"
#include "params/options.h"

namespace mipofc::cli {

/// The glyph and map flags of export.
struct TGlyphFlags {
  std::string layout = "banks";
  std::optional<int> bpp;
  std::optional<std::string> prgBank;
  std::optional<std::string> map;
  std::optional<std::string> blankSlot;
};

/// Adds --layout, --bpp, --prg-bank, --map and --blank-slot.
void AddGlyphFlags(CLI::App& cmd, TGlyphFlags& f);

/// What the rest of the export asks of the glyph flags.
struct TExportShape {
  TBankFormat Format = TBankFormat::Chr;  ///< from --format or the -o name
  bool Concat = false;
  bool Rom = false;                       ///< --rom, --chr-at, --rom-out given
};
/// True for --layout glyphs. Throws UsageError for flags of the other layout, formats and flags
/// glyph data cannot take, and a --map name of no map format.
bool CheckGlyphFlags(const TGlyphFlags& f, const TExportShape& shape);
/// Throws UsageError for what the option values do not allow: --bpp 1 outside encoding mode 0,
/// a --blank-slot outside the bank.
void CheckGlyphOptions(const TGlyphFlags& f, const TOptionValues& v);
/// Sets the blank slot of --blank-slot.
void ApplyBlankSlot(const TGlyphFlags& f, TChrSettings& settings);
/// The glyph job's options from the flags.
TGlyphOptions GlyphOptionsOf(const TGlyphFlags& f, TBankFormat format, const TCodePlan& codes);
/// The bytes of the --map file of text, made before anything is written.
std::optional<std::string> PrepareCodeMap(const TGlyphFlags& f, std::u16string_view text, const TChrSettings& settings,
                                          const TCodePlan& codes);
/// Writes the --map file (after the banks or glyphs), and names it unless quiet.
void WriteCodeMap(const TGlyphFlags& f, const std::optional<std::string>& bytes, bool quiet);
/// The glyph export with its progress line and Ctrl-C, the files written listed unless quiet.
TExportResult ExportGlyphsWithProgress(const std::string& output, TGlyphOptions options, const TChrSettings& settings,
                                       std::u16string_view text, bool quiet);

}  // namespace mipofc::cli
