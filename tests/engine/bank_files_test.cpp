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

}  // namespace
}  // namespace mipofc
