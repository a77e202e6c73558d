// mipofc-cli encode: a script as the bytes of the game's tables.
#include <iostream>
#include <memory>
#include <optional>

#include "cli/command.h"
#include "cli/flags.h"
#include "cli/table_io.h"
#include "table/script.h"

namespace mipofc::cli {

namespace {

struct TEncodeFlags {
  std::vector<std::string> inputs;
  std::vector<std::string> tables;
  std::string output;
  std::optional<std::string> unknown;
  bool quiet = false;
};

int RunEncode(const TEncodeFlags& f) {
  std::optional<std::string> unknownCode;
  if (f.unknown) unknownCode = ParseCodeBytes(*f.unknown, "--unknown");
  const TCodeBook book(ReadTables(f.tables));
  const TScript script = ReadScript(f.inputs);
  const TEncoded encoded = EncodeScript(script, book, unknownCode);
  WriteOutput(f.output, encoded.Bytes, f.quiet);
  if (f.quiet) return 0;
  if (!book.NewlineCode())
    if (const std::uint64_t breaks = LineBreakCount(script.Text()); breaks > 0)
      std::cerr << breaks << (breaks == 1 ? " line break has" : " line breaks have")
                << " no code: no table has a newline entry (*HEX)\n";
  if (unknownCode)
    std::cerr << encoded.UnknownCount << (encoded.UnknownCount == 1 ? " character" : " characters")
              << " that no table entry matches written as " << CodeHex(*unknownCode) << "\n";
  return 0;
}

}  // namespace

TCommand AddEncodeCommand(CLI::App& app) {
  auto f = std::make_shared<TEncodeFlags>();
  CLI::App* cmd = app.add_subcommand("encode", "write the INPUTs' script as the bytes of the tables' codes");
  cmd->add_option("INPUT", f->inputs, "text files (UTF-8, UTF-16, GBK or RTF), - for standard input")->required();
  AddTablesOption(*cmd, f->tables);
  cmd->add_option("-o,--output", f->output, "the bytes file, - for standard output")->required();
  cmd->add_option("--unknown", f->unknown, "HEX: write a character no entry matches as this code");
  AddQuietFlag(*cmd, f->quiet);
  return {.app = cmd, .run = [f] { return RunEncode(*f); }, .inputs = {"INPUT", "--table"}};
}

}  // namespace mipofc::cli
