// mipofc-cli export: the banks of a text, as the window's output menu writes them.
#include <cctype>
#include <iostream>
#include <memory>

#include "cli/command.h"
#include "cli/export_table.h"
#include "cli/flags.h"
#include "engine/export.h"

namespace mipofc::cli {

namespace {

struct TExportFlags {
  std::string input;
  std::string output;
  std::optional<std::string> format;
  TOptionFlags options;
  TTableFlags table;
};

TBankFormat FormatOf(const TExportFlags& f) {
  if (f.format) return *f.format == "inc" ? TBankFormat::Inc : TBankFormat::Chr;
  std::string ext = f.output.size() >= 4 ? f.output.substr(f.output.size() - 4) : "";
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".inc" ? TBankFormat::Inc : TBankFormat::Chr;
}

int RunExport(const TExportFlags& f) {
  CheckTableFlags(f.table);
  TOptionValues values = GatherOptions(f.options);
  ApplyTableFlags(f.table, values);
  // Read before anything is written: the codes of --table must fit first.
  const TTableExport exported = PrepareTableExport(f.table, f.input, values);
  SaveOptions(f.options, values);
  TFont font = values.Font;
  const TChrSettings settings = GatherSettings(values, &font);
  const std::u16string& text = exported.Text;
  const TBankFormat format = FormatOf(f);
  const bool quiet = f.options.quiet;
  const std::int64_t count = ExportBanks(f.output, format, settings, text, [&](const std::string& name) {
    if (!quiet) std::cout << name << "\n";
  });
  if (!quiet) std::cout << "wrote " << count << (format == TBankFormat::Chr ? " chr" : " inc") << " file(s)\n";
  WriteExportTable(f.table, exported, quiet);
  return 0;
}

}  // namespace

TCommand AddExportCommand(CLI::App& app) {
  auto f = std::make_shared<TExportFlags>();
  CLI::App* cmd = app.add_subcommand("export", "write the banks of INPUT's text");
  f->table.input = cmd->add_option("INPUT", f->input, "text file (UTF-8, UTF-16, GBK or RTF), or - for standard input");
  cmd->add_option("--format", f->format, "chr or inc (default: from the name's extension)")
      ->check(CLI::IsMember({"chr", "inc"}));
  AddOptionFlags(*cmd, f->options);
  AddTableFlags(*cmd, f->table);
  cmd->add_option("-o,--output", f->output, "the name to export under, e.g. font.chr -> font.00.chr ...")
      ->required();
  return {cmd, [f] { return RunExport(*f); }};
}

}  // namespace mipofc::cli
