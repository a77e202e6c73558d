// mipofc-cli export: the banks of a text, as the window's output menu writes them.
#include <iostream>
#include <memory>

#include "cli/command.h"
#include "cli/flags.h"
#include "engine/export.h"

namespace mipofc::cli {

namespace {

struct TExportFlags {
  std::string input;
  std::string output;
  std::optional<std::string> format;
  bool concat = false;
  std::optional<std::string> palette;
  TOptionFlags options;
};

constexpr std::pair<const char*, TBankFormat> FormatNames[] = {
    {"chr", TBankFormat::Chr}, {"inc", TBankFormat::Inc}, {"ca65", TBankFormat::Ca65},
    {"c", TBankFormat::C},     {"png", TBankFormat::Png},
};

TBankFormat FormatOf(const TExportFlags& f) {
  if (f.format)
    for (const auto& [name, format] : FormatNames)
      if (*f.format == name) return format;
  return FormatOfName(f.output);
}

const char* FormatName(TBankFormat format) {
  for (const auto& [name, value] : FormatNames)
    if (value == format) return name;
  return "chr";
}

// What the files are: the format, one piece or numbered, the PNG colours.
TExportOptions FileOptions(const TExportFlags& f) {
  TExportOptions options;
  options.Format = FormatOf(f);
  options.Concat = f.concat;
  options.Palette = ParsePalette(f.palette);
  return options;
}

int RunExport(const TExportFlags& f) {
  TExportOptions options = FileOptions(f);
  const TOptionValues values = ResolveOptions(f.options);
  TFont font = values.Font;
  const TChrSettings settings = GatherSettings(values, &font);
  const std::u16string text = ReadInput(f.input);
  const bool quiet = f.options.quiet;
  options.OnWritten = [&](const std::string& name) {
    if (!quiet) std::cout << name << "\n";
  };
  const TExportResult result = ExportText(f.output, settings, text, options);
  if (!quiet) std::cout << "wrote " << result.Files << " " << FormatName(options.Format) << " file(s)\n";
  return 0;
}

}  // namespace

TCommand AddExportCommand(CLI::App& app) {
  auto f = std::make_shared<TExportFlags>();
  CLI::App* cmd = app.add_subcommand("export", "write the banks of INPUT's text");
  cmd->add_option("INPUT", f->input, "text file (UTF-8, UTF-16, GBK or RTF), or - for standard input")->required();
  cmd->add_option("--format", f->format, "chr, inc, ca65, c or png (default: from the name's extension)")
      ->check(CLI::IsMember({"chr", "inc", "ca65", "c", "png"}));
  cmd->add_flag("--concat", f->concat, "one file under exactly the -o name, every bank back to back");
  cmd->add_option("--palette", f->palette, "PNG colours of indexes 0..3 (default 000000,FFFFFF,800000,008080)");
  AddOptionFlags(*cmd, f->options);
  cmd->add_option("-o,--output", f->output, "the name to export under, e.g. font.chr -> font.00.chr ...")
      ->required();
  return {cmd, [f] { return RunExport(*f); }};
}

}  // namespace mipofc::cli
