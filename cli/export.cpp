// mipofc-cli export: the banks of a text, as the window's output menu writes them.
#include <iostream>
#include <memory>
#include <vector>

#include "cli/command.h"
#include "cli/export_bdf.h"
#include "cli/export_glyphs.h"
#include "cli/export_scenes.h"
#include "cli/export_table.h"
#include "cli/file_check.h"
#include "cli/flags.h"
#include "cli/progress.h"
#include "cli/rom_outputs.h"
#include "engine/formats.h"
#include "jobs/export.h"
#include "jobs/rom_write.h"
#include "text/text.h"

namespace mipofc::cli {

namespace {

// --rom, --chr-at and --rom-out, --ips or --bps: the banks of this export written into a copy
// of a ROM, or a patch of them.
struct TRomFlags {
  std::optional<std::string> rom;
  std::optional<std::int64_t> chrAt;
  TRomOutputFlags outputs;
};

struct TExportFlags {
  std::string input;
  std::string output;
  std::optional<std::string> format;
  bool concat = false;
  std::optional<std::string> palette;
  TRomFlags rom;
  TOptionFlags options;
  TTableFlags table;
  TGlyphFlags glyphs;
  TSceneFlags scenes;
};

// Every option that names a file export writes, checked before anything is written.
const std::vector<std::string> ExportOutputs = {"-o", "--rom-out", "--ips", "--bps", "--table", "--save-params", "--map",
                                               "--encode", "--scene-map"};

// Of those, the options that name the very file written; the files under -o are worked out.
const std::vector<std::string> ExportNamedOutputs = {ExportOutputs.begin() + 1, ExportOutputs.end()};

// Every option that names a file export reads.
const std::vector<std::string> ExportInputs = {"INPUT", "--params", "--font-file", "--exclude", "--from-table", "--rom"};

TBankFormat FormatOf(const TExportFlags& f) {
  if (f.format)
    if (const std::optional<TBankFormat> named = FormatNamed(*f.format)) return *named;
  return FormatOfName(f.output);
}

// What the files are: the format, one piece or numbered, the PNG colours.
TExportOptions FileOptions(const TExportFlags& f) {
  TExportOptions options;
  options.Format = FormatOf(f);
  options.Concat = f.concat;
  options.Palette = ParsePalette(f.palette);
  return options;
}

// The ROM, read and checked before any bank file is written, and the banks as the export builds them.
struct TRomJob {
  TChrRom rom;
  TPatchTarget target;
  std::vector<TBankPiece> banks;
};

// True when the ROM flags are given: --rom, --chr-at and an output; a usage error when only some are.
bool RomWanted(const TRomFlags& r) {
  const bool output = AnyRomOutput(r.outputs);
  if (!r.rom && !r.chrAt && !output) return false;
  if (!r.rom || !r.chrAt || !output)
    throw UsageError("--rom and --chr-at go together, with at least one of --rom-out, --ips and --bps");
  return true;
}

TRomJob PrepareRom(const TExportFlags& f, const TChrSettings& settings, std::size_t textLength, TBankFormat format) {
  TRomJob job{OpenChrRom(*f.rom.rom), {true, static_cast<std::uint64_t>(*f.rom.chrAt)}, {}};
  const TTextBanks banks = TextBanks(settings, textLength);
  PlanTextIntoRom(job.rom, banks, job.target);
  CheckRomOutputs(job.rom.Name, job.rom.Image.size(), RomOutputsOf(f.rom.outputs, "--rom-out"));
  if (f.concat && banks.Count > 0) {
    job.banks.push_back({f.output, {}});
  } else {
    const std::string base = ExportBaseName(f.output);
    for (std::int64_t n = 0; n < banks.Count; ++n)
      job.banks.push_back({ExportFileName(base, n, banks.Capacity, format), {}});
  }
  return job;
}

void CollectBank(TRomJob& job, bool concat, std::int64_t n, std::string_view bytes) {
  if (concat)
    job.banks[0].Bytes += bytes;
  else
    job.banks[static_cast<std::size_t>(n)].Bytes = bytes;
}

void FinishRom(const TRomJob& job, const TRomFlags& r, bool quiet) {
  const TRomWritten written = WriteBanksIntoRom(job.rom, job.banks, job.target, RomOutputsOf(r.outputs, "--rom-out"));
  if (!quiet) PrintRomWritten(written);
}

// The export with its progress line and Ctrl-C; the names written are listed once the line is done.
TExportResult ExportWithProgress(const std::string& output, TExportOptions options, const TChrSettings& settings,
                                 std::u16string_view text, bool quiet) {
  const std::int32_t capacity = ExportCapacity(settings);
  return RunWithProgress(quiet, text.size(), capacity, ExportFileCount(text.size(), capacity),
                         [&](const TJobControl& control, const std::function<void(const std::string&)>& onWritten) {
                           options.Control = control;
                           options.OnWritten = onWritten;
                           return ExportText(output, settings, text, options);
                         });
}

// Every file the export reads and writes: the options' files, and under -o the files it writes
// (the BDF font, the glyph files or the bank files).
std::vector<TFileUse> ExportFileUses(const CLI::App& cmd, const TExportFlags& f, const TChrSettings& settings,
                                     std::size_t length, const TExportOptions& options, bool bdf,
                                     const TCodePlan* glyphCodes) {
  std::vector<TFileUse> uses = FileUsesOf(cmd, ExportInputs, ExportNamedOutputs);
  std::vector<std::string> names;
  if (bdf) {
    names.push_back(f.output);
  } else if (glyphCodes) {
    const TGlyphOptions glyphOptions = GlyphOptionsOf(f.glyphs, options.Format, *glyphCodes);
    const TGlyphFiles files = GlyphFilesOf(settings, glyphOptions.BitsPerPixel, glyphOptions.PrgBank, length);
    for (std::int64_t n = 0; length > 0 && n < files.Count; ++n)
      names.push_back(GlyphFileName(f.output, n, files, glyphOptions));
  } else {
    names = ExportFileNames(f.output, settings, length, options);
  }
  for (std::string& name : names) uses.push_back({"-o", std::move(name), true});
  return uses;
}

int RunExport(const CLI::App& cmd, const TExportFlags& f) {
  const bool bdf = BdfWanted(f.format, f.output);
  const bool romWanted = RomWanted(f.rom);
  if (bdf) CheckBdfFlags(f.concat, f.palette.has_value(), romWanted);
  if (bdf && (f.glyphs.layout != "banks" || f.glyphs.map || f.glyphs.blankSlot))
    throw UsageError("--format bdf writes a font: --layout glyphs, --map and --blank-slot go with banks and glyph data");
  const bool scenes =
      CheckSceneFlags(f.scenes, f.table, {bdf, romWanted, f.glyphs.layout == "glyphs", f.glyphs.map.has_value()});
  TExportOptions options = bdf ? TExportOptions{} : FileOptions(f);
  TTableFlags table = f.table;
  if (scenes) table.unique = true;  // a bank holds each character once
  CheckTableFlags(table);
  const bool glyphs = CheckGlyphFlags(f.glyphs, {options.Format, f.concat, romWanted});
  TOptionValues values = GatherOptions(f.options);
  ApplyTableFlags(table, values);
  CheckGlyphOptions(f.glyphs, values);
  if (scenes) {
    TFont font = values.Font;
    TChrSettings settings = GatherSettings(values, &font);
    ApplyBlankSlot(f.glyphs, settings);
    return RunSceneExport({f.scenes, table, f.options, values, settings, f.input, f.output, options,
                           FileUsesOf(cmd, ExportInputs, ExportNamedOutputs)});
  }
  // Read before anything is written: the codes of --table must fit first.
  const TTableExport exported = PrepareTableExport(f.table, f.input, values);
  // The map and the glyphs' ca65 comments name each character's code.
  const bool coded = f.glyphs.map || (glyphs && options.Format == TBankFormat::Ca65);
  const TCodePlan codes = coded ? PlanExportCodes(exported.Text.size(), values) : TCodePlan{};
  TFont font = values.Font;
  TChrSettings settings = GatherSettings(values, &font);
  ApplyBlankSlot(f.glyphs, settings);
  const std::u16string& text = exported.Text;
  const bool quiet = f.options.quiet;
  if (bdf) {
    CheckFileUses(ExportFileUses(cmd, f, settings, text.size(), options, bdf, nullptr), {{"--rom", "--rom-out"}});
    SaveOptions(f.options, values);
    const int status = ExportBdf(f.output, settings, text, quiet);
    if (status == 0) WriteExportTable(f.table, exported, quiet);
    return status;
  }
  CheckFileUses(ExportFileUses(cmd, f, settings, text.size(), options, bdf, glyphs ? &codes : nullptr),
                {{"--rom", "--rom-out"}});
  SaveOptions(f.options, values);
  const std::optional<std::string> map = PrepareCodeMap(f.glyphs, text, settings, codes);
  if (glyphs) {
    const TExportResult result =
        ExportGlyphsWithProgress(f.output, GlyphOptionsOf(f.glyphs, options.Format, codes), settings, text, quiet);
    if (result.Cancelled) {
      std::cerr << "mipofc-cli: interrupted; wrote " << result.Files << " file(s)\n";
      return InterruptedStatus;
    }
    if (!quiet) std::cout << "wrote " << result.Files << " glyph file(s)\n";
    WriteExportTable(f.table, exported, quiet);
    WriteCodeMap(f.glyphs, map, quiet);
    return 0;
  }
  std::optional<TRomJob> rom;
  if (romWanted) rom = PrepareRom(f, settings, text.size(), options.Format);
  if (rom) options.OnBank = [&](std::int64_t n, std::string_view bytes) { CollectBank(*rom, f.concat, n, bytes); };
  const TExportResult result = ExportWithProgress(f.output, options, settings, text, quiet);
  if (result.Cancelled) {
    std::cerr << "mipofc-cli: interrupted; wrote " << result.Files << " file(s)\n";
    return InterruptedStatus;
  }
  if (!quiet) std::cout << "wrote " << result.Files << " " << FormatName(options.Format) << " file(s)\n";
  WriteExportTable(f.table, exported, quiet);
  WriteCodeMap(f.glyphs, map, quiet);
  if (rom) FinishRom(*rom, f.rom, quiet);
  return 0;
}

void AddRomFlags(CLI::App& cmd, TRomFlags& r) {
  cmd.add_option("--rom", r.rom,
                 "also write the banks into a copy of this iNES ROM (with --chr-at and --rom-out, --ips or --bps)");
  cmd.add_option("--chr-at", r.chrAt, "the CHR-ROM kilobyte the banks start at (with --rom)")
      ->check(CLI::Range(std::int64_t{0}, std::int64_t{1} << 40));
  cmd.add_option("--rom-out", r.outputs.rom, "the patched ROM (may be the --rom file itself)");
  AddPatchFileFlags(cmd, r.outputs);
}

std::vector<std::string> FormatNameList() {
  std::vector<std::string> names;
  for (const TFormatNames& format : BankFormats) names.emplace_back(format.Name);
  names.emplace_back(BdfFormatName);
  return names;
}

}  // namespace

TCommand AddExportCommand(CLI::App& app) {
  auto f = std::make_shared<TExportFlags>();
  CLI::App* cmd = app.add_subcommand("export", "write the banks of INPUT's text");
  f->table.input = cmd->add_option("INPUT", f->input, "text file (UTF-8, UTF-16, GBK or RTF), or - for standard input");
  cmd->add_option("--format", f->format, "bank file format, or bdf: the text's glyphs as a BDF font")
      ->check(CLI::IsMember(FormatNameList()))
      ->default_str("from the -o name's extension");
  cmd->add_flag("--concat", f->concat, "one file under exactly the -o name, every bank back to back");
  cmd->add_option("--palette", f->palette, "PNG colours RRGGBB of indexes 0..3")
      ->default_str(PaletteText(DefaultPalette));
  AddRomFlags(*cmd, f->rom);
  AddOptionFlags(*cmd, f->options);
  AddTableFlags(*cmd, f->table);
  AddGlyphFlags(*cmd, f->glyphs);
  AddSceneFlags(*cmd, f->scenes);
  cmd->add_option("-o,--output", f->output, "the name to export under, e.g. font.chr -> font.00.chr ...")
      ->required();
  return {.app = cmd,
          .run = [f, cmd] { return RunExport(*cmd, *f); },
          .outputs = ExportOutputs,
          .inputs = ExportInputs,
          .written = ExportNamedOutputs,
          .inPlace = {{"--rom", "--rom-out"}}};
}

}  // namespace mipofc::cli
