// The parser tree of mipofc-cli as plain descriptions, and the hidden modes that print the
// bash completion and the man page sections made from them.
#include "cli/describe.h"

#include <cctype>
#include <iostream>
#include <sstream>

namespace mipofc::cli {

namespace {

// Ranges up to this many integers are offered value by value.
constexpr long MaxListedRange = 32;

std::vector<std::string> SplitSet(const std::string& inner) {
  std::vector<std::string> items;
  std::string item;
  std::istringstream in(inner);
  while (std::getline(in, item, ',')) {
    // A transformer lists "key->value": the user types the key.
    if (const std::size_t arrow = item.find("->"); arrow != std::string::npos) item.resize(arrow);
    if (!item.empty()) items.push_back(item);
  }
  return items;
}

// The values a check's description names: "{a,b}" of IsMember, "{a->1,b->2}" of a transformer,
// or "INT in [a - b]" of a small Range. True when it named a set (not a range).
bool ValuesOfCheck(const std::string& description, std::vector<std::string>& values) {
  if (description.size() >= 2 && description.front() == '{' && description.back() == '}') {
    values = SplitSet(description.substr(1, description.size() - 2));
    return true;
  }
  const std::size_t open = description.find(" in [");
  long low = 0, high = 0;
  char dash = 0, close = 0;
  std::istringstream in(open == std::string::npos ? std::string() : description.substr(open + 5));
  if (in >> low >> dash >> high >> close && dash == '-' && close == ']' && high >= low &&
      high - low < MaxListedRange) {
    values.clear();
    for (long v = low; v <= high; ++v) values.push_back(std::to_string(v));
  }
  return false;
}

TOptionDoc DocOf(CLI::Option& opt) {
  TOptionDoc doc;
  doc.Positional = opt.get_positional();
  doc.Required = opt.get_required();
  doc.Description = opt.get_description();
  doc.Default = DefaultOf(opt);
  doc.Repeated = opt.get_items_expected_max() > 1;
  if (doc.Positional) {
    doc.Names = {opt.get_name(true)};
  } else {
    for (const std::string& s : opt.get_snames()) doc.Names.push_back("-" + s);
    for (const std::string& l : opt.get_lnames()) doc.Names.push_back("--" + l);
  }
  // A flag takes no value; CLI11's own help tells it so.
  if (opt.get_type_size() == 0 || opt.get_type_name().empty()) return doc;

  const std::string type = opt.get_type_name().substr(0, opt.get_type_name().find(':'));
  doc.Number = type == "INT" || type == "UINT" || type == "FLOAT" || type == "NUMBER";
  bool fromSet = false;
  // The checks are reachable by index only, and the index past the last one throws.
  for (int i = 0;; ++i) {
    CLI::Validator* check = nullptr;
    try {
      check = opt.get_validator(i);
    } catch (const CLI::OptionNotFound&) {
      break;
    }
    fromSet = ValuesOfCheck(check->get_description(), doc.Values) || fromSet;
  }
  if (doc.Positional) return doc;
  if (!opt.get_option_text().empty()) {
    doc.Value = opt.get_option_text();
  } else if (fromSet) {
    for (const std::string& v : doc.Values) doc.Value += (doc.Value.empty() ? "" : "|") + v;
  } else if (doc.Number) {
    doc.Value = "N";
  } else {
    doc.Value = opt.get_lnames().empty() ? "VALUE" : opt.get_lnames().front();
    for (char& c : doc.Value) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return doc;
}

TCommandDoc CommandOf(CLI::App& app) {
  TCommandDoc doc{app.get_name(), app.get_description(), {}};
  std::vector<TOptionDoc> positionals;
  for (CLI::Option* opt : app.get_options()) {
    // CLI11 hides options of the empty group.
    if (opt->get_group().empty()) continue;
    (opt->get_positional() ? positionals : doc.Options).push_back(DocOf(*opt));
  }
  doc.Options.insert(doc.Options.end(), positionals.begin(), positionals.end());
  return doc;
}

}  // namespace

std::string DefaultOf(const CLI::Option& opt) {
  const std::string name = opt.get_name();
  if (name == "--help" || name == "--version" || opt.get_required()) return "";
  if (opt.get_expected_max() == 0) return "off";
  return opt.get_default_str().empty() ? "none" : opt.get_default_str();
}

std::string TDefaultsFormatter::make_option_opts(const CLI::Option* opt) const {
  // CLI11's own, less the "=default" it writes after the type: the default goes with the
  // description here. Environment variables, needs and excludes are not used by this program.
  std::string out;
  if (!opt->get_option_text().empty()) return " " + opt->get_option_text();
  if (opt->get_type_size() == 0) return out;
  if (!opt->get_type_name().empty()) out += " " + get_label(opt->get_type_name());
  if (opt->get_expected_max() == CLI::detail::expected_max_vector_size)
    out += " ...";
  else if (opt->get_expected_min() > 1)
    out += " x " + std::to_string(opt->get_expected());
  if (opt->get_required()) out += " " + get_label("REQUIRED");
  return out;
}

std::string TDefaultsFormatter::make_option_desc(const CLI::Option* opt) const {
  const std::string value = DefaultOf(*opt);
  return value.empty() ? opt->get_description() : opt->get_description() + " (default: " + value + ")";
}

TProgramDoc Describe(CLI::App& app) {
  TProgramDoc doc{CommandOf(app), {}};
  for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; }))
    if (!sub->get_name().empty()) doc.Commands.push_back(CommandOf(*sub));
  return doc;
}

std::optional<int> RunDescribeMode(CLI::App& app, int argc, char** argv) {
  if (argc < 2) return std::nullopt;
  const std::string mode = argv[1];
  if (mode == "--print-bash-completion" && argc == 2) {
    std::cout << BashCompletion(Describe(app));
    return 0;
  }
  if (mode == "--print-option-table" && argc == 3) {
    for (const TCommandDoc& command : Describe(app).Commands)
      if (command.Name == argv[2]) {
        std::cout << OptionTable(command);
        return 0;
      }
    std::cerr << "mipofc-cli: --print-option-table: no command " << argv[2] << "\n";
    return 2;
  }
  if (mode == "--print-man-section" && argc == 3) {
    const std::string text = ManSection(Describe(app), argv[2]);
    if (text.empty()) {
      std::cerr << "mipofc-cli: --print-man-section: no section " << argv[2] << "\n";
      return 2;
    }
    std::cout << text;
    return 0;
  }
  return std::nullopt;
}

}  // namespace mipofc::cli
