// mipofc-cli decode: script bytes back into text through the game's tables.
#include <iostream>
#include <memory>

#include "base/file_read.h"
#include "cli/command.h"
#include "cli/flags.h"
#include "cli/table_io.h"
#include "table/script.h"
#include "text/text.h"

namespace mipofc::cli {

namespace {

struct TDecodeFlags {
  std::string input;
  std::vector<std::string> tables;
  std::string output;
  bool quiet = false;
};

int RunDecode(const TDecodeFlags& f) {
  const TCodeBook book(ReadTables(f.tables));
  WriteOutput(f.output, Utf8TextFileBytes(Decode(ReadInputBytes(f.input), book)), f.quiet);
  return 0;
}

}  // namespace

TCommand AddDecodeCommand(CLI::App& app) {
  auto f = std::make_shared<TDecodeFlags>();
  CLI::App* cmd = app.add_subcommand("decode", "write the text of INPUT's script bytes as UTF-8");
  cmd->add_option("INPUT", f->input, "the bytes file, - for standard input")->required();
  AddTablesOption(*cmd, f->tables);
  cmd->add_option("-o,--output", f->output, "the text file, - for standard output")->required();
  AddQuietFlag(*cmd, f->quiet);
  return {.app = cmd, .run = [f] { return RunDecode(*f); }, .inputs = {"INPUT", "--table"}};
}

}  // namespace mipofc::cli
