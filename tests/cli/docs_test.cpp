// The bash completion and the man pages, made at build time from the programs themselves:
// they cover every command and option that --help shows, complete in bash and render in man.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "mipofc_version.h"
#include "tests/cli/cli_runner.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

// The commands that `mipofc-cli --help` lists, and the option names of each command's --help.
std::vector<std::string> CommandsFromHelp(const test::TempDir& dir) {
  const std::string help = test::RunProgram(dir, MIPOFC_CLI, "--help").out;
  std::vector<std::string> commands;
  std::istringstream in(help.substr(help.find("Subcommands:")));
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line))
    if (line.size() > 2 && line.compare(0, 2, "  ") == 0 && std::islower(static_cast<unsigned char>(line[2])))
      commands.push_back(line.substr(2, line.find(' ', 2) - 2));
  return commands;
}

std::set<std::string> OptionsFromHelp(const test::TempDir& dir, const std::string& command) {
  const std::string help = test::RunProgram(dir, MIPOFC_CLI, command + " --help").out;
  std::set<std::string> names;
  std::istringstream in(help);
  std::string line;
  while (std::getline(in, line))
    if (line.compare(0, 3, "  -") == 0) {
      std::istringstream parts(line.substr(2, line.find(' ', 2) - 2));
      std::string name;
      while (std::getline(parts, name, ',')) names.insert(name);
    }
  return names;
}

// What the completion offers for the words typed so far (the last one is being completed).
std::string Complete(const test::TempDir& dir, const std::string& words) {
  const std::string script = "source '" + std::string(MIPOFC_CLI_COMPLETION) + "'; COMP_WORDS=(" + words +
                             "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _mipofc_cli; ((${#COMPREPLY[@]})) && printf '%s\\n' \"${COMPREPLY[@]}\"; true";
  std::ofstream(dir / "complete.sh") << script;
  const test::TRun r = test::RunProgram(dir, "/bin/bash", "complete.sh");
  std::filesystem::remove(dir / "complete.sh");
  EXPECT_EQ(r.err, "") << words;
  std::string out = r.out;
  std::replace(out.begin(), out.end(), '\n', ' ');
  return out;
}

// The pages hold Chinese, which man shows only in a UTF-8 locale; C.UTF-8 is in every Debian 12,
// so the result does not depend on the locale the tests run in (none at all on a bare login).
std::string Rendered(const test::TempDir& dir, const std::string& page, std::string* warnings) {
  const test::TRun r =
      test::RunProgram(dir, "/usr/bin/env", "LC_ALL=C.UTF-8 MANWIDTH=200 man --warnings -l '" + page + "'");
  if (warnings) *warnings = r.err;
  return r.out;
}

bool HaveMan() {
  return std::system("command -v man >/dev/null 2>&1") == 0;
}

TEST(CliDocs, CompletionAndManPageCoverEveryCommandAndOption) {
  if (!HaveMan()) GTEST_SKIP() << "needs man-db";
  test::TempDir dir;
  const std::string man = Rendered(dir, MIPOFC_CLI_MAN ".gz", nullptr);
  const std::vector<std::string> commands = CommandsFromHelp(dir);
  ASSERT_GE(commands.size(), 2u);
  for (const std::string& command : commands) {
    EXPECT_NE(man.find("   " + command + "\n"), std::string::npos) << command << " has no COMMANDS entry";
    EXPECT_NE(man.find("mipofc-cli " + command + " "), std::string::npos) << command << " not in SYNOPSIS";
    EXPECT_NE(Complete(dir, "mipofc-cli ''").find(command), std::string::npos) << command;
    const std::set<std::string> options = OptionsFromHelp(dir, command);
    EXPECT_GE(options.size(), 4u) << command;
    const std::string offered = " " + Complete(dir, "mipofc-cli " + command + " -") + " ";
    for (const std::string& option : options) {
      EXPECT_NE(offered.find(" " + option + " "), std::string::npos) << command << " " << option;
      EXPECT_NE(man.find(option), std::string::npos) << command << " " << option;
    }
  }
}

TEST(CliDocs, CompletionOffersTheValuesOfOptionsWithAFixedSet) {
  test::TempDir dir;
  const std::pair<std::string, std::string> cases[] = {
      {"mipofc-cli pre", "preview "},
      {"mipofc-cli ex", "export "},
      {"mipofc-cli --v", "--version "},
      {"mipofc-cli export --ce", "--cell "},
      {"mipofc-cli export --cell ''", "8x8 8x16 16x8 16x16 16x32 32x16 32x32 "},
      {"mipofc-cli export --cell 16", "16x8 16x16 16x32 "},
      {"mipofc-cli export --cell = 32", "32x16 32x32 "},
      {"mipofc-cli export --limit ''", "1K 2K 4K "},
      {"mipofc-cli export --format ''", "chr inc ca65 c png bdf "},
      {"mipofc-cli export in.txt --scan ''", "h v "},
      {"mipofc-cli preview --distribution c", "continuous "},
      {"mipofc-cli preview --mode ''", "0 1 2 3 4 "},
      {"mipofc-cli preview --sc", "--scan --scale "},
      {"mipofc-cli preview --scale 1", "1 10 11 12 13 14 15 16 "},
      {"mipofc-cli export --face-index ''", ""},
      {"mipofc-cli patch --chr-at ''", ""},
      {"mipofc-cli patch -", "-h --help --chr-at --at -o --output --ips --bps -q --quiet "},
      {"mipofc-cli export --strict", "--strict-font "},
      {"mipofc-cli export in.txt --bold --li", "--limit "},
      {"mipofc-cli fo", "fonts "},
      {"mipofc-cli fonts --c", "--cjk "},
      {"mipofc-cli fonts 宋体 --size 2", "20 21 22 23 24 25 26 27 28 "},
      {"mipofc-cli chars --order ''", "first frequency "},
      {"mipofc-cli export --table-encoding ''", "utf-8 utf-16 gbk "},
      {"mipofc-cli export --code-bytes ''", "1 2 3 "},
      {"mipofc-cli encode --ta", "--table "},
      {"mipofc-cli decode in.bin -", "-h --help --table -o --output -q --quiet "},
  };
  for (const auto& [words, expected] : cases) EXPECT_EQ(Complete(dir, words), expected) << words;
  // File names where a file goes: the input, -o, --params.
  std::ofstream(dir / "script.txt") << "x";
  for (const char* words : {"mipofc-cli export scr", "mipofc-cli export -o scr", "mipofc-cli preview --params scr"})
    EXPECT_EQ(Complete(dir, words), "script.txt ") << words;
}

TEST(CliDocs, BothManPagesRenderWithoutWarnings) {
  if (!HaveMan()) GTEST_SKIP() << "needs man-db";
  test::TempDir dir;
  std::vector<std::string> pages = {MIPOFC_CLI_MAN ".gz"};
#ifdef MIPOFC_MAN
  pages.push_back(MIPOFC_MAN ".gz");
#endif
  for (const std::string& page : pages) {
    std::string warnings;
    const std::string text = Rendered(dir, page, &warnings);
    EXPECT_EQ(warnings, "") << page;
    for (const char* heading : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "FILES", "EXIT STATUS"})
      EXPECT_NE(text.find("\n" + std::string(heading) + "\n"), std::string::npos) << page << ": " << heading;
    EXPECT_NE(text.find(std::string("MipoFC ") + MIPOFC_VERSION), std::string::npos) << page;
    EXPECT_NE(text.find("--version"), std::string::npos) << page;
  }
  const std::string cli = Rendered(dir, MIPOFC_CLI_MAN ".gz", nullptr);
  for (const char* heading : {"COMMANDS", "EXAMPLES"})
    EXPECT_NE(cli.find("\n" + std::string(heading) + "\n"), std::string::npos) << heading;
  // The generated lists keep option names in ASCII, so that they can be copied.
  EXPECT_NE(cli.find("--cell 8x8|8x16|16x8|16x16|16x32|32x16|32x32"), std::string::npos);
  EXPECT_NE(cli.find("mipofc-cli fonts --cjk"), std::string::npos);
}

}  // namespace
}  // namespace mipofc
