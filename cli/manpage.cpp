// The man page sections of mipofc-cli that list its commands and options, made from its parser
// tree; the prose around them is written by hand (docs/man/mipofc-cli.1.in).
#include <sstream>

#include "cli/describe.h"

namespace mipofc::cli {

namespace {

// Text for troff: backslashes and hyphens escaped (so that option names stay ASCII when
// copied), a leading control character defused.
std::string Troff(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

std::string Bold(const std::string& text) { return "\\fB" + Troff(text) + "\\fR"; }
std::string Italic(const std::string& text) { return "\\fI" + Troff(text) + "\\fR"; }

// "-o, --output NAME" in man page type faces.
std::string Usage(const TOptionDoc& o) {
  if (o.Positional) return Italic(o.Names.front()) + (o.Repeated ? "..." : "");
  std::string out;
  for (const std::string& name : o.Names) out += (out.empty() ? "" : ", ") + Bold(name);
  if (!o.Value.empty()) out += " " + Italic(o.Value);
  return out;
}

void OptionList(std::ostringstream& out, const std::vector<TOptionDoc>& options) {
  for (const TOptionDoc& o : options) {
    out << ".TP\n" << Usage(o) << "\n" << Troff(o.Description);
    if (!o.Default.empty()) out << " (default: " << Troff(o.Default) << ")";
    if (o.Required) out << " (required)";
    out << "\n";
  }
}

}  // namespace

std::string ManSection(const TProgramDoc& doc, const std::string& section) {
  std::ostringstream out;
  const std::string program = Bold(doc.Program.Name);
  if (section == "synopsis") {
    out << program;
    for (const TOptionDoc& o : doc.Program.Options) out << " [" << Bold(o.Names.back()) << "]";
    out << "\n";
    for (const TCommandDoc& c : doc.Commands) {
      out << ".br\n" << program << " " << Bold(c.Name);
      // Required options and the positionals in full, the others summed up.
      for (const TOptionDoc& o : c.Options)
        if (o.Required && !o.Positional) out << " " << Bold(o.Names.front()) << " " << Italic(o.Value);
      out << " [" << Italic("options") << "]";
      for (const TOptionDoc& o : c.Options)
        if (o.Positional) out << " " << (o.Required ? Usage(o) : "[" + Usage(o) + "]");
      out << "\n";
    }
  } else if (section == "commands") {
    for (const TCommandDoc& c : doc.Commands) {
      out << ".SS " << Troff(c.Name) << "\n" << Troff(c.Description) << ".\n";
      OptionList(out, c.Options);
    }
  } else if (section == "options") {
    OptionList(out, doc.Program.Options);
  }
  return out.str();
}

}  // namespace mipofc::cli
