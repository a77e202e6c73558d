#include <gtest/gtest.h>
#include <sys/stat.h>

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

TEST(AtomicWrite, KeepModePassesAReplacedFilesPermissionsOn) {
  const mode_t mask = ::umask(022);
  using WriteWith = void (*)(const std::string&, std::string_view, const TWriteOptions&);
  const std::pair<const char*, WriteWith> writers[] = {{"unnamed file", WriteFileAtomically},
                                                       {"named temporary", WriteFileThroughTemporaryName}};
  for (const auto& [name, write] : writers) {
    test::TempDir dir;
    const std::string path = dir / "p.ini";
    const auto mode = [&] {
      struct stat st {};
      EXPECT_EQ(::stat(path.c_str(), &st), 0);
      return st.st_mode & 07777;
    };
    // A new file gets what a plain create gives, with or without the option.
    write(path, "a", {.KeepMode = true, .Sync = true});
    EXPECT_EQ(mode(), 0644u) << name;
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    write(path, "bb", {.KeepMode = true, .Sync = true});
    EXPECT_EQ(mode(), 0640u) << name;
    EXPECT_EQ(test::ReadFile(path), "bb") << name;
    // Without it a replaced file is a new file, as the exports have always written them.
    write(path, "ccc", {});
    EXPECT_EQ(mode(), 0644u) << name;
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"p.ini"}) << name;
  }
  ::umask(mask);
}

}  // namespace
}  // namespace mipofc
