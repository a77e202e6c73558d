#pragma once

// mipofc-cli described from its own command-line tree: the bash completion script and the man
// page's synopsis, command and option lists are made from it, so that they cover every
// command and option the program has.

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

namespace mipofc::cli {

/// One option or positional argument as the documentation shows it.
struct TOptionDoc {
  std::vector<std::string> Names;   ///< "-o", "--output"; a positional's name ("INPUT")
  std::string Value;                ///< what the value is called ("N", "h|v", "FONT"); "" for a flag
  std::vector<std::string> Values;  ///< the fixed set of values, when there is one (from its checks)
  bool Number = false;              ///< the value is a number
  bool Positional = false;
  bool Repeated = false;            ///< takes several values (a positional shown as NAME...)
  bool Required = false;
  std::string Description;
  std::string Default;              ///< the default --help shows (DefaultOf), "" when none
};

/// One command (or the program itself) with its options.
struct TCommandDoc {
  std::string Name;
  std::string Description;
  std::vector<TOptionDoc> Options;  ///< positionals last, in their order
};

/// The program: its own options (Commands' Name is the command's name).
struct TProgramDoc {
  TCommandDoc Program;
  std::vector<TCommandDoc> Commands;
};

/// The default of an option as --help, the man page and the README give it: the default set on
/// it, "off" for a flag, "none" for an option without one; "" for a required option, --help
/// and --version.
std::string DefaultOf(const CLI::Option& opt);

/// CLI11's help with every default in one form: "(default: X)" at the end of the description,
/// as options whose default is a rule write it ("(default: from the cell size ...)").
class TDefaultsFormatter : public CLI::Formatter {
 public:
  std::string make_option_opts(const CLI::Option* opt) const override;
  std::string make_option_desc(const CLI::Option* opt) const override;
};

/// Walks the parser tree (the program and its subcommands); hidden options are left out.
TProgramDoc Describe(CLI::App& app);

/// A command's options as a Markdown table (option, value, what, default), as the README has them.
std::string OptionTable(const TCommandDoc& command);

/// The bash completion script: commands, options and the values of options with a fixed set.
std::string BashCompletion(const TProgramDoc& doc);

/// One generated man page section as troff: "synopsis", "commands" or "options" (the
/// program's own); "" for another name.
std::string ManSection(const TProgramDoc& doc, const std::string& section);

/// The hidden modes the build and the README use: "--print-bash-completion", "--print-man-section
/// NAME" and "--print-option-table COMMAND" print what they name and give the exit status;
/// nullopt when argv asks for none of them.
std::optional<int> RunDescribeMode(CLI::App& app, int argc, char** argv);

}  // namespace mipofc::cli
