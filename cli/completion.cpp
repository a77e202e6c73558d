// The bash completion script of mipofc-cli, made from its parser tree.
#include <sstream>

#include "cli/describe.h"

namespace mipofc::cli {

namespace {

// A word list as one single-quoted shell word.
std::string Quoted(const std::vector<std::string>& words) {
  std::string out = "'";
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i) out += ' ';
    for (char c : words[i]) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return out + "'";
}

std::vector<std::string> OptionNames(const TCommandDoc& command) {
  std::vector<std::string> names;
  for (const TOptionDoc& o : command.Options)
    if (!o.Positional) names.insert(names.end(), o.Names.begin(), o.Names.end());
  return names;
}

// The case pattern 'export'|'preview' of the command names.
std::string CommandPattern(const std::vector<std::string>& commands) {
  std::string out;
  for (const std::string& c : commands) out += (out.empty() ? "" : "|") + Quoted({c});
  return out.empty() ? "''" : out;
}

// The case patterns "command:--name|command:-n" of an option.
std::string Patterns(const std::string& command, const TOptionDoc& option) {
  std::string out;
  for (const std::string& name : option.Names) out += (out.empty() ? "'" : "|'") + command + ":" + name + "'";
  return out;
}

// What each option's value completes to, one case branch per option that takes a value.
void ValueBranches(std::ostringstream& out, const std::string& command, const TCommandDoc& doc) {
  for (const TOptionDoc& o : doc.Options) {
    if (o.Positional || o.Value.empty()) continue;
    out << "    " << Patterns(command, o) << ")\n      ";
    if (!o.Values.empty())
      out << "COMPREPLY=($(compgen -W " << Quoted(o.Values) << " -- \"$cur\"))";
    else if (o.Number)
      out << "COMPREPLY=()";
    else
      out << "_mipofc_cli_files";
    out << "\n      return ;;\n";
  }
}

}  // namespace

std::string BashCompletion(const TProgramDoc& doc) {
  const std::string& program = doc.Program.Name;
  std::vector<std::string> commands;
  for (const TCommandDoc& c : doc.Commands) commands.push_back(c.Name);

  std::ostringstream out;
  out << "# bash completion for " << program << ", generated from its own command line (" << program
      << " --print-bash-completion)\n\n"
      << "_mipofc_cli_files() {\n"
      << "  compopt -o filenames 2>/dev/null\n"
      << "  local IFS=$'\\n'\n"
      << "  COMPREPLY=($(compgen -f -- \"$cur\"))\n"
      << "}\n\n"
      << "_mipofc_cli() {\n"
      << "  local cur=${COMP_WORDS[COMP_CWORD]} prev= cmd= i\n"
      << "  ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD-1]}\n"
      << "  # --name=value reaches us as three words: --name, = and the value.\n"
      << "  if [[ $cur == = ]]; then prev=${COMP_WORDS[COMP_CWORD-1]}; cur=;\n"
      << "  elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then prev=${COMP_WORDS[COMP_CWORD-2]}; fi\n"
      << "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
      << "    case ${COMP_WORDS[i]} in\n"
      << "      " << CommandPattern(commands) << ") cmd=${COMP_WORDS[i]}; break ;;\n"
      << "    esac\n"
      << "  done\n";
  out << "  case \"$cmd:$prev\" in\n";
  ValueBranches(out, "", doc.Program);
  for (const TCommandDoc& c : doc.Commands) ValueBranches(out, c.Name, c);
  out << "  esac\n";

  out << "  local options\n"
      << "  case $cmd in\n"
      << "    '') options=" << Quoted(OptionNames(doc.Program)) << " ;;\n";
  for (const TCommandDoc& c : doc.Commands) out << "    '" << c.Name << "') options=" << Quoted(OptionNames(c)) << " ;;\n";
  out << "  esac\n"
      << "  if [[ $cur == -* ]]; then\n"
      << "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
      << "  elif [[ -z $cmd ]]; then\n"
      << "    COMPREPLY=($(compgen -W " << Quoted(commands) << " -- \"$cur\"))\n"
      << "  else\n"
      << "    _mipofc_cli_files\n"
      << "  fi\n"
      << "}\n\n"
      << "complete -F _mipofc_cli " << program << "\n";
  return out.str();
}

}  // namespace mipofc::cli
