#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include <algorithm>
#include <filesystem>

#include "base/file_write.h"
#include "base/errors.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Both ways of writing: the unnamed file linked into place, and the named temporary that file
// systems without unnamed files fall back to.
struct Writer {
  const char* name;
  void (*write)(const std::string&, std::string_view);
};
const Writer kWriters[] = {{"unnamed file", WriteFileAtomically},
                           {"named temporary", WriteFileThroughTemporaryName}};

TEST(AtomicWrite, NewAndReplacedFilesLeaveNothingBesideThem) {
  const mode_t mask = ::umask(022);
  for (const Writer& w : kWriters) {
    test::TempDir dir;
    const std::string path = dir / "bank.chr";
    w.write(path, "first");
    EXPECT_EQ(test::ReadFile(path), "first") << w.name;
    // The file gets the permissions a plain create would give it.
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0) << w.name;
    EXPECT_EQ(st.st_mode & 0777, 0644u) << w.name;
    w.write(path, std::string(5000, 'y'));
    EXPECT_EQ(test::ReadFile(path), std::string(5000, 'y')) << w.name;
    w.write(path, "");
    EXPECT_EQ(test::ReadFile(path), "") << w.name;
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"bank.chr"}) << w.name;
    // A name without a folder is written into the current one.
    const fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    w.write("plain.chr", "p");
    fs::current_path(before);
    EXPECT_EQ(test::ReadFile(dir / "plain.chr"), "p") << w.name;
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"bank.chr", "plain.chr"})) << w.name;
  }
  ::umask(mask);
}

TEST(AtomicWrite, FailuresNameTheFileAndLeaveNothing) {
  for (const Writer& w : kWriters) {
    test::TempDir dir;
    fs::create_directory(dir / "taken.chr");
    const std::pair<std::string, const char*> cases[] = {
        {dir / "taken.chr", "Is a directory"},
        {dir / "missing/bank.chr", "No such file or directory"},
    };
    for (const auto& [path, reason] : cases) {
      try {
        w.write(path, "data");
        ADD_FAILURE() << w.name << ": no error for " << path;
      } catch (const TFileError& e) {
        EXPECT_EQ(e.FileName(), path) << w.name;
        EXPECT_EQ(e.Reason(), reason) << w.name;
      }
    }
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"taken.chr"}) << w.name;
    EXPECT_TRUE(fs::is_empty(dir / "taken.chr")) << w.name;
  }
}

// A replaced file stays what it was: its permissions, the link that names it, its other names.
TEST(AtomicWrite, AReplacedFileKeepsItsModeItsLinkAndItsOtherNames) {
  const mode_t mask = ::umask(022);
  const auto mode = [](const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
  };
  for (const Writer& w : kWriters) {
    test::TempDir dir;
    // A new file is made as a plain create makes it; a replaced 0600 file stays 0600.
    const std::string rom = dir / "game.nes";
    w.write(rom, "a");
    EXPECT_EQ(mode(rom), 0644u) << w.name;
    ASSERT_EQ(::chmod(rom.c_str(), 0600), 0);
    w.write(rom, "bb");
    EXPECT_EQ(mode(rom), 0600u) << w.name;
    EXPECT_EQ(test::ReadFile(rom), "bb") << w.name;
    // Through a chain of two links (one relative) the file they end at is replaced; the links stay.
    fs::create_directory(dir / "sub");
    fs::create_symlink("../game.nes", fs::path(dir / "sub") / "near.nes");
    fs::create_symlink(fs::path(dir / "sub") / "near.nes", dir / "far.nes");
    w.write(dir / "far.nes", "ccc");
    EXPECT_TRUE(fs::is_symlink(dir / "far.nes")) << w.name;
    EXPECT_TRUE(fs::is_symlink(fs::path(dir / "sub") / "near.nes")) << w.name;
    EXPECT_EQ(test::ReadFile(rom), "ccc") << w.name;
    EXPECT_EQ(mode(rom), 0600u) << w.name;
    // A link to a file not there yet makes it where the link points.
    fs::create_symlink("made.chr", dir / "dangling.chr");
    w.write(dir / "dangling.chr", "m");
    EXPECT_EQ(test::ReadFile(dir / "made.chr"), "m") << w.name;
    // A hard-linked file is replaced under this name only: the other name keeps the old bytes.
    fs::create_hard_link(rom, dir / "copy.nes");
    w.write(rom, "dddd");
    EXPECT_EQ(test::ReadFile(dir / "copy.nes"), "ccc") << w.name;
    EXPECT_EQ(test::ReadFile(rom), "dddd") << w.name;
    // The temporary name is short, so a file with the longest name a folder holds is replaced.
    const std::string longName = dir / std::string(250, 'n');
    w.write(longName, "1");
    w.write(longName, "22");
    EXPECT_EQ(test::ReadFile(longName), "22") << w.name;
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"copy.nes", "dangling.chr", "far.nes", "game.nes",
                                                           "made.chr", std::string(250, 'n'), "sub"}))
        << w.name;
  }
  ::umask(mask);
}

// A temporary that a killed writer left is removed by the next write into its folder, unless its
// process still runs; files that only look alike stay.
TEST(AtomicWrite, AStaleTemporaryOfADeadWriterIsRemoved) {
  for (const Writer& w : kWriters) {
    test::TempDir dir;
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    char own[32], dead[32];
    std::snprintf(own, sizeof own, ".mipofc-%08x00000007", static_cast<unsigned>(::getppid()));
    std::snprintf(dead, sizeof dead, ".mipofc-%08x00000000", static_cast<unsigned>(child));
    for (const char* name : {static_cast<const char*>(own), static_cast<const char*>(dead), ".mipofc-notours", ".mipofc-0000000100000000x"})
      std::ofstream(dir / name) << "left";
    EXPECT_EQ(std::string_view(dead).size(), TemporaryNameLength);
    w.write(dir / "bank.chr", "b");
    EXPECT_EQ(Names(dir.Path()),
              (std::vector<std::string>{".mipofc-0000000100000000x", std::string(own), ".mipofc-notours", "bank.chr"}))
        << w.name;
  }
}

}  // namespace
}  // namespace mipofc
