#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "base/file_write.h"
#include "engine/chr.h"
#include "base/errors.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

const std::string kBlankLine =
    "    .DB $00, $00, $00, $00, $00, $00, $00, $00, $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF";

TEST(IncText, LineLayout) {
  std::string bytes;
  for (int i = 0; i < 32; ++i) bytes += static_cast<char>(i * 9);
  const std::string text = IncText(bytes);
  EXPECT_EQ(text,
            "    .DB $00, $09, $12, $1B, $24, $2D, $36, $3F, $48, $51, $5A, $63, $6C, $75, $7E, $87\r\n"
            "    .DB $90, $99, $A2, $AB, $B4, $BD, $C6, $CF, $D8, $E1, $EA, $F3, $FC, $05, $0E, $17\r\n");
}

class WriterTest : public testing::Test {
 protected:
  TFont font_ = test::TestFont();
  test::TempDir dir_;
};

TEST_F(WriterTest, ChrAndIncFilesOfEveryLimit) {
  for (int limit : {1024, 2048, 4096}) {
    TChrSettings s = test::StartSettings(&font_);
    s.Limit = limit;
    const std::string chr = dir_ / ("bank" + std::to_string(limit) + ".chr");
    const std::string inc = dir_ / ("bank" + std::to_string(limit) + ".inc");
    TChr().SaveChrFile(chr, s, u"你们");
    TChr().SaveIncFile(inc, s, u"你们");
    const std::string bytes = test::ReadFile(chr), text = test::ReadFile(inc);
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(limit));
    ASSERT_EQ(text.size(), static_cast<std::size_t>(limit / 16 * 88));
    EXPECT_EQ(text, IncText(bytes));
    // Unfilled slots hold the blank tile.
    EXPECT_EQ(text.substr(text.size() - 88), kBlankLine + "\r\n");
    EXPECT_EQ(bytes.substr(limit - 16), std::string(8, '\0') + std::string(8, '\xFF'));
    // The first line ends with tile 0's sixteenth byte and no comma.
    EXPECT_EQ(text.substr(84, 4).find(','), std::string::npos);
  }
}

TEST_F(WriterTest, AFileThatCannotBeCreatedNamesItAndLeavesNothing) {
  const std::string path = dir_ / "no-such-folder/bank.chr";
  TChrSettings s = test::StartSettings(&font_);
  try {
    TChr().SaveChrFile(path, s, u"你");
    FAIL() << "no error";
  } catch (const TFileError& e) {
    EXPECT_EQ(e.FileName(), path);
    EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos) << e.what();
  }
  // A folder in the file's place: the write fails at the rename and the temporary file goes.
  fs::create_directory(dir_ / "taken.chr");
  EXPECT_THROW(TChr().SaveChrFile(dir_ / "taken.chr", s, u"你"), TFileError);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir_.Path())) left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"taken.chr"});
}

TEST_F(WriterTest, AnExistingFileIsReplaced) {
  const std::string path = dir_ / "bank.chr";
  WriteFileAtomically(path, std::string(10000, 'x'));
  TChr().SaveChrFile(path, test::StartSettings(&font_), u"");
  const std::string bytes = test::ReadFile(path);
  ASSERT_EQ(bytes.size(), 4096u);
  for (int t = 0; t < 256; ++t) EXPECT_EQ(bytes.substr(16 * t, 16), std::string(8, '\0') + std::string(8, '\xFF'));
}

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
