// --help of mipofc-cli and of each command gives every option's default, and the README's option
// tables say the same: read back from both and compared, so that neither can drift.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "tests/cli/cli_runner.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

// Option (its first name, "-o" or "INPUT") -> its default as --help gives it, "required" for a
// required one; wrong holds the entries that give neither.
struct THelpDefaults {
  std::map<std::string, std::string> defaults;
  std::vector<std::string> wrong;
};

// CLI11 writes an entry as its names and value at two blanks, the description from column 30, or
// on the next line when the names are longer.
THelpDefaults DefaultsFromHelp(const std::string& help) {
  THelpDefaults out;
  std::istringstream in(help);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  bool inOptions = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line == "Options:" || line == "Positionals:") {
      inOptions = true;
      continue;
    }
    if (line.empty() || line[0] != ' ') inOptions = line.empty() && inOptions;
    if (!inOptions || line.size() < 3 || line.compare(0, 2, "  ") != 0 || line[2] == ' ') continue;
    const std::string opts = line.substr(2, std::min(line.size(), std::size_t{30}) - 2);
    std::string name = opts.substr(0, opts.find_first_of(", "));
    std::string desc = line.size() > 30 ? line.substr(30) : std::string();
    if ((line.size() <= 30 || line[29] != ' ') && i + 1 < lines.size() && lines[i + 1].size() > 30 &&
        lines[i + 1].compare(0, 30, std::string(30, ' ')) == 0)
      desc = lines[++i].substr(30);
    if (name == "-h" || name == "--version") continue;
    const std::size_t at = desc.rfind(" (default: ");
    if (line.find(" REQUIRED") != std::string::npos)
      out.defaults[name] = "required";
    else if (at != std::string::npos && desc.back() == ')')
      out.defaults[name] = desc.substr(at + 11, desc.size() - at - 12);
    else
      out.wrong.push_back(line);
  }
  return out;
}

// The README's table of a command, between its markers, as written.
std::string ReadmeBlock(const std::string& readme, const std::string& command) {
  const std::string start = "<!-- options of " + command + ": made from mipofc-cli --print-option-table " + command + " -->\n";
  const std::size_t from = readme.find(start);
  if (from == std::string::npos) return "";
  const std::size_t body = from + start.size();
  return readme.substr(body, readme.find("<!-- end of options -->", body) - body);
}

// Option (first name) -> the default column of a README table.
std::map<std::string, std::string> DefaultsFromTable(const std::string& table) {
  std::map<std::string, std::string> out;
  std::istringstream in(table);
  std::string line;
  for (int skip = 0; skip < 2 && std::getline(in, line); ++skip) {
  }
  while (std::getline(in, line)) {
    // Cells are split at "|" that no backslash escapes.
    std::vector<std::string> cells(1);
    for (std::size_t i = 1; i < line.size(); ++i) {
      if (line[i] == '|' && line[i - 1] != '\\')
        cells.emplace_back();
      else if (!(line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '|'))
        cells.back() += line[i];
    }
    if (cells.size() < 5) continue;
    std::string name = cells[0].substr(cells[0].find('`') + 1);
    name = name.substr(0, name.find_first_of("`."));
    out[name] = cells[3].substr(1, cells[3].size() - 2);
  }
  return out;
}

std::vector<std::string> Commands(const test::TempDir& dir) {
  const std::string help = test::RunCli(dir, "--help").out;
  std::vector<std::string> commands;
  std::istringstream in(help.substr(help.find("Subcommands:")));
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line) && line.size() > 2) commands.push_back(line.substr(2, line.find(' ', 2) - 2));
  return commands;
}

TEST(CliHelp, TheProgramsHelpHasOnlyHelpAndVersion) {
  test::TempDir dir;
  const THelpDefaults program = DefaultsFromHelp(test::RunCli(dir, "--help").out);
  EXPECT_TRUE(program.defaults.empty());
  EXPECT_TRUE(program.wrong.empty()) << program.wrong.front();
}

TEST(CliHelp, EveryOptionShowsItsDefaultAndTheReadmeTableSaysTheSame) {
  test::TempDir dir;
  const std::string readme = test::ReadFile(std::string(MIPOFC_SOURCE_DIR) + "/README.md");
  const std::vector<std::string> commands = Commands(dir);
  ASSERT_EQ(commands.size(), 7u);
  for (const std::string& command : commands) {
    const THelpDefaults help = DefaultsFromHelp(test::RunCli(dir, command + " --help").out);
    for (const std::string& line : help.wrong) ADD_FAILURE() << command << ": no default in \"" << line << "\"";
    EXPECT_GT(help.defaults.size(), 2u) << command;
    // A flag's default is "off" and nothing else.
    if (command == "export") {
      EXPECT_EQ(help.defaults.at("--bold"), "off");
      EXPECT_EQ(help.defaults.at("--cell"), "16x16");
      EXPECT_EQ(help.defaults.at("-o"), "required");
      EXPECT_EQ(help.defaults.at("--font-file"), "none");
    }
    const std::string block = ReadmeBlock(readme, command);
    EXPECT_EQ(DefaultsFromTable(block), help.defaults)
        << command << ": run scripts/update-readme-options.py after changing an option";
    EXPECT_EQ(block, test::RunCli(dir, "--print-option-table " + command).out)
        << command << ": run scripts/update-readme-options.py after changing an option";
  }
}

TEST(CliHelp, AnOptionTableOfNoCommandIsAUsageError) {
  test::TempDir dir;
  const test::TRun r = test::RunCli(dir, "--print-option-table nosuch");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "mipofc-cli: --print-option-table: no command nosuch\n");
}

}  // namespace
}  // namespace mipofc
