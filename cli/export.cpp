// mipofc-cli export: the banks of a text, as the window's output menu writes them.
#include <cctype>
#include <iostream>
#include <memory>
#include <vector>

#include "cli/command.h"
#include "cli/flags.h"
#include "cli/progress.h"
#include "engine/export.h"

namespace mipofc::cli {

namespace {

struct TExportFlags {
  std::string input;
  std::string output;
  std::optional<std::string> format;
  TOptionFlags options;
};

TBankFormat FormatOf(const TExportFlags& f) {
  if (f.format) return *f.format == "inc" ? TBankFormat::Inc : TBankFormat::Chr;
  std::string ext = f.output.size() >= 4 ? f.output.substr(f.output.size() - 4) : "";
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".inc" ? TBankFormat::Inc : TBankFormat::Chr;
}

// The export with its progress line and Ctrl-C; the names written are listed once the line is done.
TExportResult ExportWithProgress(const std::string& output, TBankFormat format, const TChrSettings& settings,
                                 std::u16string_view text, bool quiet) {
  TExportProgress progress(quiet, text.size(), ExportCapacity(settings));
  std::vector<std::string> names;
  TExportOptions options;
  options.Format = format;
  options.OnWritten = [&](const std::string& name) { names.push_back(name); };
  options.OnProgress = [&](std::int64_t written, std::int64_t total) { return progress(written, total); };
  const auto list = [&] {
    const std::int64_t total = ExportFileCount(text.size(), ExportCapacity(settings));
    progress.Finish(static_cast<std::int64_t>(names.size()), total);
    if (!quiet)
      for (const std::string& name : names) std::cout << name << "\n";
  };
  try {
    const TExportResult result = ExportText(output, settings, text, options);
    list();
    return result;
  } catch (...) {
    // The files written before a failure stay, and are named as always.
    list();
    throw;
  }
}

int RunExport(const TExportFlags& f) {
  const TOptionValues values = ResolveOptions(f.options);
  TFont font = values.Font;
  const TChrSettings settings = GatherSettings(values, &font);
  const std::u16string text = ReadInput(f.input);
  const TBankFormat format = FormatOf(f);
  const bool quiet = f.options.quiet;
  const TExportResult result = ExportWithProgress(f.output, format, settings, text, quiet);
  if (result.Cancelled) {
    std::cerr << "mipofc-cli: interrupted; wrote " << result.Files << " file(s)\n";
    return InterruptedStatus;
  }
  if (!quiet)
    std::cout << "wrote " << result.Files << (format == TBankFormat::Chr ? " chr" : " inc") << " file(s)\n";
  return 0;
}

}  // namespace

TCommand AddExportCommand(CLI::App& app) {
  auto f = std::make_shared<TExportFlags>();
  CLI::App* cmd = app.add_subcommand("export", "write the banks of INPUT's text");
  cmd->add_option("INPUT", f->input, "text file (UTF-8, UTF-16, GBK or RTF), or - for standard input")->required();
  cmd->add_option("--format", f->format, "chr or inc (default: from the name's extension)")
      ->check(CLI::IsMember({"chr", "inc"}));
  AddOptionFlags(*cmd, f->options);
  cmd->add_option("-o,--output", f->output, "the name to export under, e.g. font.chr -> font.00.chr ...")
      ->required();
  return {cmd, [f] { return RunExport(*f); }};
}

}  // namespace mipofc::cli
