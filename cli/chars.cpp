// mipofc-cli chars: the distinct characters of a script, for a font the game has to carry.
#include <iostream>
#include <memory>

#include "cli/command.h"
#include "cli/flags.h"
#include "cli/table_io.h"
#include "table/chars.h"
#include "text/text.h"

namespace mipofc::cli {

namespace {

struct TCharsFlags {
  std::vector<std::string> inputs;
  std::string output = "-";
  std::string order = "first";
  std::vector<std::string> excludes;
  bool counts = false;
  bool quiet = false;
};

int RunChars(const TCharsFlags& f) {
  const TScript script = ReadScript(f.inputs);
  TCharSet exclude;
  for (const std::string& path : f.excludes) exclude |= ExcludedCharacters(path);
  const TDistinctChars chars = DistinctCharacters(JoinedText(script.Text()),
                                                  f.order == "frequency" ? TCharOrder::Frequency : TCharOrder::First,
                                                  exclude);
  WriteOutput(f.output, CharsFileBytes(chars, f.counts), f.quiet);
  if (f.quiet) return 0;
  std::cerr << chars.Total << " characters, " << chars.Chars.size() << " distinct";
  if (!f.excludes.empty()) std::cerr << ", " << chars.Excluded << " excluded";
  std::cerr << "\n";
  return 0;
}

}  // namespace

TCommand AddCharsCommand(CLI::App& app) {
  auto f = std::make_shared<TCharsFlags>();
  CLI::App* cmd = app.add_subcommand("chars", "write the distinct characters of the INPUTs' text");
  cmd->add_option("INPUT", f->inputs, "text files (UTF-8, UTF-16, GBK or RTF), - for standard input")->required();
  cmd->add_option("-o,--output", f->output, "the file to write, - for standard output")->capture_default_str();
  cmd->add_option("--order", f->order, "first (order of first appearance) or frequency (most frequent first)")
      ->check(CLI::IsMember({"first", "frequency"}))
      ->capture_default_str();
  cmd->add_option("--exclude", f->excludes, "characters to leave out: a .tbl's single characters, or a text's")
      ->allow_extra_args(false);
  cmd->add_flag("--counts", f->counts, "one line per character: the character, a tab, its count");
  AddQuietFlag(*cmd, f->quiet);
  return {.app = cmd, .run = [f] { return RunChars(*f); }, .inputs = {"INPUT", "--exclude"}};
}

}  // namespace mipofc::cli
