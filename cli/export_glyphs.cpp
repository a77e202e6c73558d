#include "cli/export_glyphs.h"

#include <iostream>
#include <vector>

#include "base/hex.h"
#include "cli/flags.h"
#include "cli/progress.h"
#include "cli/table_io.h"

namespace mipofc::cli {

namespace {

bool Glyphs(const TGlyphFlags& f) { return f.layout == "glyphs"; }

std::int32_t PrgBankBytes(const TGlyphFlags& f) {
  if (!f.prgBank) return 0;
  return *f.prgBank == "8K" ? PrgBankSizes[0] : *f.prgBank == "16K" ? PrgBankSizes[1] : PrgBankSizes[2];
}

}  // namespace

void AddGlyphFlags(CLI::App& cmd, TGlyphFlags& f) {
  cmd.add_option("--layout", f.layout, "banks (pattern tables) or glyphs (each character's tiles one after another)")
      ->check(CLI::IsMember({"banks", "glyphs"}))
      ->capture_default_str();
  cmd.add_option("--bpp", f.bpp, "with --layout glyphs: 2 (the 16 bytes a bank holds) or 1 (8 bytes a tile, mode 0)")
      ->check(CLI::IsMember({1, 2}))
      ->default_str("2");
  cmd.add_option("--prg-bank", f.prgBank, "with --layout glyphs: numbered files of one PRG bank each, whole glyphs")
      ->check(CLI::IsMember({"8K", "16K", "32K"}))
      ->default_str("one file");
  cmd.add_option("--map", f.map, "also write where each code's tiles are (.csv, .s or .h)");
  cmd.add_option("--blank-slot", f.blankSlot, "HEX: a slot every bank leaves blank in the --bg colour");
}

bool CheckGlyphFlags(const TGlyphFlags& f, const TExportShape& shape) {
  if (f.map && !MapFormatOfName(*f.map))
    throw UsageError("--map " + *f.map + ": give a .csv, .s or .h name (the map's format)");
  if (!Glyphs(f)) {
    if (f.bpp) throw UsageError("--bpp needs --layout glyphs");
    if (f.prgBank) throw UsageError("--prg-bank needs --layout glyphs");
    return false;
  }
  if (f.blankSlot) throw UsageError("--blank-slot is a slot of a bank: it needs --layout banks");
  if (shape.Concat) throw UsageError("--concat: --layout glyphs writes one file already (numbered ones with --prg-bank)");
  if (shape.Rom) throw UsageError("--rom: glyph data goes into PRG-ROM, not CHR-ROM; place it with patch --at");
  if (shape.Format != TBankFormat::Chr && shape.Format != TBankFormat::Ca65 && shape.Format != TBankFormat::C)
    throw UsageError("format " + std::string(FormatName(shape.Format)) +
                     ": --layout glyphs writes chr, ca65 or c (give --format or an -o name ending in .bin, .s or .h)");
  return true;
}

void CheckGlyphOptions(const TGlyphFlags& f, const TOptionValues& v) {
  const int mode = SelectedEncodeMode(v);
  if (f.bpp == 1 && mode != 0)
    throw UsageError("--bpp 1: one bit a pixel keeps only the glyph colour, which encoding mode " +
                     std::to_string(mode) + " does not leave in place; use mode 0 or --bpp 2");
  if (!f.blankSlot) return;
  const int slots = LimitOf(v.LimitIndex) / 16;
  const std::optional<std::uint64_t> slot = ParseHex(WithoutHexPrefix(*f.blankSlot));
  if (!slot || *slot >= static_cast<std::uint64_t>(slots))
    throw UsageError("--blank-slot " + *f.blankSlot + ": a " + std::to_string(slots / 64) + "K bank has slots 00 to " +
                     HexText(static_cast<std::uint64_t>(slots - 1), 2));
}

void ApplyBlankSlot(const TGlyphFlags& f, TChrSettings& settings) {
  if (f.blankSlot) settings.BlankSlot = static_cast<std::int32_t>(*ParseHex(WithoutHexPrefix(*f.blankSlot)));
}

TGlyphOptions GlyphOptionsOf(const TGlyphFlags& f, TBankFormat format, const TCodePlan& codes) {
  TGlyphOptions options;
  options.Format = format;
  options.BitsPerPixel = f.bpp.value_or(2);
  options.PrgBank = PrgBankBytes(f);
  options.Codes = codes;
  return options;
}

std::optional<std::string> PrepareCodeMap(const TGlyphFlags& f, std::u16string_view text, const TChrSettings& settings,
                                          const TCodePlan& codes) {
  if (!f.map) return std::nullopt;
  const int bpp = f.bpp.value_or(2);
  const TCodeMapLayout layout =
      Glyphs(f) ? GlyphMapLayout(settings, GlyphFilesOf(settings, bpp, PrgBankBytes(f), text.size()), bpp, codes)
                : BankMapLayout(settings, codes);
  return CodeMapFileBytes(*MapFormatOfName(*f.map), text, layout, *f.map);
}

void WriteCodeMap(const TGlyphFlags& f, const std::optional<std::string>& bytes, bool quiet) {
  if (f.map && bytes) WriteOutput(*f.map, *bytes, quiet);
}

TExportResult ExportGlyphsWithProgress(const std::string& output, TGlyphOptions options, const TChrSettings& settings,
                                       std::u16string_view text, bool quiet) {
  const TGlyphFiles files = GlyphFilesOf(settings, options.BitsPerPixel, options.PrgBank, text.size());
  const std::int64_t perStep = options.PrgBank > 0 ? files.PerFile : GlyphsAPiece;
  return RunWithProgress(quiet, text.size(), static_cast<std::int32_t>(perStep), files.Count,
                         [&](const TJobControl& control, const std::function<void(const std::string&)>& onWritten) {
                           options.Control = control;
                           options.OnWritten = onWritten;
                           return ExportGlyphs(output, settings, text, options);
                         });
}

}  // namespace mipofc::cli
