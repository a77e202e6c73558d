// The option tables of the README, made from the parser tree, so that the README says what
// --help says.
#include "cli/describe.h"

namespace mipofc::cli {

namespace {

// Text for a Markdown table cell: a "|" would end the cell, even inside a code span.
std::string Cell(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '|' ? std::string("\\|") : std::string(1, c);
  return out;
}

}  // namespace

std::string OptionTable(const TCommandDoc& command) {
  std::string out = "| option | value | what | default |\n|---|---|---|---|\n";
  for (const TOptionDoc& o : command.Options) {
    if (o.Names.front() == "-h") continue;
    std::string names;
    for (const std::string& name : o.Names) names += (names.empty() ? "`" : ", `") + name + (o.Repeated && o.Positional ? "...`" : "`");
    const std::string value = o.Value.empty() ? "" : "`" + Cell(o.Value) + "`";
    const std::string fallback = o.Required ? "required" : o.Default;
    out += "| " + names + " | " + value + " | " + Cell(o.Description) + " | " + Cell(fallback) + " |\n";
  }
  return out;
}

}  // namespace mipofc::cli
