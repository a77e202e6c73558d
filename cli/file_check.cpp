#include "cli/file_check.h"

#include "cli/flags.h"

namespace mipofc::cli {

namespace {

std::string Named(const TFileUse& use) { return use.Name + " " + use.Path; }

}  // namespace

std::vector<TFileUse> FileUsesOf(const CLI::App& cmd, const std::vector<std::string>& inputs,
                                 const std::vector<std::string>& outputs) {
  std::vector<TFileUse> uses;
  const auto add = [&](const std::vector<std::string>& names, bool written) {
    for (const std::string& name : names) {
      const CLI::Option* option = cmd.get_option_no_throw(name);
      if (!option || option->count() == 0) continue;
      for (const std::string& path : option->results())
        if (!path.empty()) uses.push_back({name, path, written});
    }
  };
  add(inputs, false);
  add(outputs, true);
  return uses;
}

void CheckFileUses(const std::vector<TFileUse>& uses, const TAllowedPairs& allowed) {
  const std::optional<TFileClash> clash = FindFileClash(uses, allowed);
  if (!clash) return;
  const TFileUse& a = clash->First;
  const TFileUse& b = clash->Second;
  switch (clash->Kind) {
    case TFileClash::SameOutput:
      throw UsageError(Named(a) + " and " + Named(b) + " are the same file: give each output a name of its own");
    case TFileClash::OutputIsInput:
      throw UsageError(Named(b) + " is the file " + Named(a) + " reads: an output may not replace an input");
    case TFileClash::StandardInputTwice:
      throw UsageError(a.Name + " and " + b.Name + " both read standard input: name it once");
    case TFileClash::StandardOutputTwice:
      throw UsageError(a.Name + " and " + b.Name + " both write standard output: give all but one a file");
  }
}

}  // namespace mipofc::cli
