// mipofc-cli and the files it is told to write: output names, killed exports.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/cli/cli_runner.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    names.push_back(fs::relative(entry.path(), folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string FontFlags() {
  return std::string(" --font-file '") + MIPOFC_TEST_DATA + "/mipo-test16.bdf' --size 12";
}

TEST(CliOutputNames, NamesThatAreNoFileAreUsageErrorsAndWriteNothing) {
  test::TempDir dir;
  std::ofstream(dir / "in.txt") << "你们大家好";
  fs::create_directory(dir / "out");
  const std::vector<std::string> before = Names(dir.Path());
  const struct {
    std::string output, message;
  } cases[] = {
      {"''", "-o: the name is empty"},
      {"out/", "-o out/: the name ends in a path separator"},
      {"new/", "-o new/: the name ends in a path separator"},
      {"out", "-o out: names an existing folder"},
      {"./out", "-o ./out: names an existing folder"},
      {".", "-o .: names an existing folder"},
  };
  for (const char* command : {"export", "preview"})
    for (const auto& c : cases)
      for (const char* spelling : {" -o ", " --output "}) {
        // --save-params would write a file before the export: it must not either.
        const std::string args = std::string(command) + " in.txt" + spelling + c.output + " --save-params p.ini" +
                                 FontFlags();
        const test::TRun r = test::RunProgram(dir, MIPOFC_CLI, args);
        EXPECT_EQ(r.status, 2) << args << ": " << r.err;
        EXPECT_EQ(r.err.rfind("mipofc-cli: " + c.message, 0), 0u) << args << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
        EXPECT_EQ(Names(dir.Path()), before) << args;
      }
  // Names beside them that are files are fine.
  EXPECT_EQ(test::RunProgram(dir, MIPOFC_CLI, "export in.txt -o out/font.chr -q" + FontFlags()).status, 0);
  EXPECT_EQ(test::RunProgram(dir, MIPOFC_CLI, "preview in.txt -o out.png -q" + FontFlags()).status, 0);
  EXPECT_TRUE(fs::is_regular_file(dir / "out/font.00.chr"));
  EXPECT_TRUE(fs::is_regular_file(dir / "out.png"));
}

TEST(CliOutputNames, EveryOptionThatNamesAWrittenFileIsChecked) {
  test::TempDir dir;
  std::ofstream(dir / "in.txt") << "你们大家好";
  // An iNES ROM of 16K PRG and 8K CHR, so that --rom-out would really be written.
  std::string rom = std::string("NES\x1A\x01\x01", 6) + std::string(10, '\0');
  rom += std::string(16384 + 8192, '\x55');
  std::ofstream(dir / "game.nes", std::ios::binary) << rom;
  fs::create_directory(dir / "out");
  const std::vector<std::string> before = Names(dir.Path());
  const std::pair<std::string, std::string> outputs[] = {
      {"--rom-out", "new.nes"}, {"--table", "t.tbl"}, {"--save-params", "p.ini"}};
  // Every output named well but one, so that without the check the others would be written.
  const auto args = [&](const std::string& bad, const std::string& badName) {
    std::string line = "export in.txt -q -o font.chr --rom game.nes --chr-at 0" + FontFlags();
    for (const auto& [flag, name] : outputs) line += " " + flag + " " + (flag == bad ? badName : name);
    return line;
  };
  for (const auto& [flag, unused] : outputs)
    for (const auto& [name, message] : {std::pair<std::string, std::string>{"''", ": the name is empty"},
                                        {"out/", " out/: the name ends in a path separator"},
                                        {"out", " out: names an existing folder"}}) {
      const test::TRun r = test::RunProgram(dir, MIPOFC_CLI, args(flag, name));
      EXPECT_EQ(r.status, 2) << args(flag, name) << ": " << r.err;
      EXPECT_EQ(r.err.rfind("mipofc-cli: " + flag + message, 0), 0u) << args(flag, name) << ": " << r.err;
      EXPECT_EQ(Names(dir.Path()), before) << args(flag, name);
    }
  const test::TRun preview = test::RunProgram(dir, MIPOFC_CLI, "preview in.txt -o p.png --save-params out/" + FontFlags());
  EXPECT_EQ(preview.status, 2) << preview.err;
  EXPECT_EQ(Names(dir.Path()), before);
  // With good names every one of them is written.
  const test::TRun r = test::RunProgram(dir, MIPOFC_CLI, args("", ""));
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char* name : {"font.00.chr", "new.nes", "t.tbl", "p.ini"}) EXPECT_TRUE(fs::is_regular_file(dir / name)) << name;
}

// font.NN.chr: two or more upper-case hexadecimal digits.
bool Numbered(const std::string& name) {
  const std::string prefix = "font.", suffix = ".chr";
  if (name.size() < prefix.size() + 2 + suffix.size() || name.rfind(prefix, 0) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
    return false;
  const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  return digits.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

// Starts mipofc-cli with args in folder, its output thrown away; returns its process id.
pid_t Start(const fs::path& folder, const std::vector<std::string>& args) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(folder.c_str()) != 0) ::_exit(127);
    std::vector<char*> argv{const_cast<char*>(MIPOFC_CLI)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(MIPOFC_CLI, argv.data());
    ::_exit(127);
  }
  return pid;
}

TEST(CliKilledExport, LeavesOnlyWholeNumberedFiles) {
  test::TempDir dir;
  // 16 characters a 1K bank: 12500 files, some seconds of work.
  std::string text;
  const std::u16string pattern = u"你们大家好中文字模工具测试";
  for (int i = 0; i < 200000; ++i) {
    const char16_t c = pattern[static_cast<std::size_t>(i) % pattern.size()];
    text += static_cast<char>(0xE0 | (c >> 12));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  }
  std::ofstream(dir / "in.txt", std::ios::binary) << text;
  // Killed early, later and later still: whatever moment the kill comes, no file is half there.
  for (int after : {1, 20, 100, 400, 1500}) {
    fs::remove_all(dir / "out");
    fs::create_directory(dir / "out");
    const pid_t pid = Start(dir.Path(), {"export", "in.txt", "-o", "out/font.chr", "--limit", "1K", "-q",
                                         "--font-file", std::string(MIPOFC_TEST_DATA) + "/mipo-test16.bdf"});
    ASSERT_GT(pid, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (static_cast<int>(Names(dir / "out").size()) < after && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    ::kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the export ended before the kill";

    const std::vector<std::string> names = Names(dir / "out");
    EXPECT_GE(static_cast<int>(names.size()), after);
    EXPECT_LT(names.size(), 12500u);
    for (const std::string& name : names) {
      EXPECT_TRUE(Numbered(name)) << "left behind: " << name;
      EXPECT_EQ(fs::file_size(dir.Path() / "out" / name), 1024u) << name;
    }
  }
}

// Killed between linking the new file under its temporary name and renaming it over the old
// one, a writer leaves the old file and a stray temporary; the next run of the command removes it.
TEST(CliKilledExport, AStrayTemporaryIsGoneAfterTheNextRun) {
  test::TempDir dir;
  std::ofstream(dir / "in.txt", std::ios::binary) << "你好";
  std::ofstream(dir / "font.00.chr", std::ios::binary) << "old";
  const std::string command = "export in.txt -o font.chr -q" + FontFlags();
  // Under the sanitizers the preloaded library comes before their runtime, which they allow so.
  const test::TRun killed =
      test::RunIn(dir, std::string("MIPOFC_KILL_AT_RENAME=1 ASAN_OPTIONS=\"$ASAN_OPTIONS:verify_asan_link_order=0\" "
                                   "LD_PRELOAD='") + MIPOFC_KILL_AT_RENAME + "' '" + MIPOFC_CLI + "' " + command);
  EXPECT_NE(killed.status, 0) << killed.err;
  std::vector<std::string> names = Names(dir.Path());
  EXPECT_EQ(test::ReadFile(dir / "font.00.chr"), "old");
  ASSERT_EQ(names.size(), 3u) << "a temporary beside in.txt and font.00.chr";
  EXPECT_TRUE(names[0].starts_with(".mipofc-")) << names[0];

  const test::TRun again = test::RunCli(dir, command);
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"font.00.chr", "in.txt"}));
  EXPECT_NE(test::ReadFile(dir / "font.00.chr"), "old");
}

}  // namespace
}  // namespace mipofc
