#include <atomic>
#include <gtest/gtest.h>

#include <filesystem>

#include "base/errors.h"
#include "jobs/export.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

TEST(ExportNames, BaseDropsOnlyTheLastElementsExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"font.chr", "font"},
      {"a.b.chr", "a.b"},
      {"font", "font"},
      {"dir.v2/font", "dir.v2/font"},
      {"dir.v2\\font", "dir.v2\\font"},
      {"C:font", "C:font"},
      {"C:.x/f.inc", "C:.x/f"},
      {"out/.hidden", "out/"},
      {"", ""},
  };
  for (auto [chosen, base] : cases) EXPECT_EQ(ExportBaseName(chosen), base) << chosen;
}

TEST(ExportNames, NumberWidthFollowsTheCapacity) {
  struct Case {
    std::int64_t n;
    int capacity;
    TBankFormat format;
    const char* name;
  } cases[] = {
      {0, 64, TBankFormat::Chr, "f.00.chr"},     {1, 64, TBankFormat::Inc, "f.01.inc"},
      {255, 255, TBankFormat::Chr, "f.FF.chr"},  {256, 64, TBankFormat::Chr, "f.100.chr"},
      {0, 256, TBankFormat::Chr, "f.0000.chr"},  {0xABC, 512, TBankFormat::Inc, "f.0ABC.inc"},
      {0x12345, 256, TBankFormat::Chr, "f.12345.chr"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExportFileName("f", c.n, c.capacity, c.format), c.name);
}

class ExportTest : public testing::Test {
 protected:
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_.Path())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::u16string Text(std::size_t n) {
    const std::u16string pool = u"你们大家好。789ABCDEF中文字模工具测试一二三四五六七八九十";
    std::u16string text;
    for (std::size_t i = 0; i < n; ++i) text += pool[(i * 7) % pool.size()];
    return text;
  }
  TFont font_ = test::TestFont();
  test::TempDir dir_;
};

TEST_F(ExportTest, SlicesOfCapacityGiveNumberedFiles) {
  const TChrSettings s = test::StartSettings(&font_);  // 64 characters a bank
  std::vector<std::string> heard;
  const std::u16string text = Text(64 * 2 + 5);
  EXPECT_EQ(ExportBanks(dir_ / "font.chr", TBankFormat::Chr, s, text, [&](const std::string& n) { heard.push_back(n); }),
            3);
  EXPECT_EQ(Files(), (std::vector<std::string>{"font.00.chr", "font.01.chr", "font.02.chr"}));
  EXPECT_EQ(heard.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    TChr engine;
    engine.Settings = s;
    engine.Text = text.substr(64 * i, 64);
    engine.PrepareCell();
    engine.BuildBank();
    EXPECT_EQ(test::ReadFile(dir_ / ExportFileName("font", i, 64, TBankFormat::Chr)), engine.BankBytes()) << i;
  }
  // Exactly k x capacity characters give k files.
  EXPECT_EQ(ExportBanks(dir_ / "even.inc", TBankFormat::Inc, s, Text(128)), 2);
  EXPECT_TRUE(fs::exists(dir_ / "even.01.inc"));
  EXPECT_FALSE(fs::exists(dir_ / "even.02.inc"));
  // An empty text writes nothing.
  EXPECT_EQ(ExportBanks(dir_ / "none.chr", TBankFormat::Chr, s, u""), 0);
  EXPECT_FALSE(fs::exists(dir_ / "none.00.chr"));
}

TEST_F(ExportTest, FourDigitNumbersFromCapacity256) {
  TChrSettings s = test::StartSettings(&font_);
  s.CellWidth = s.CellHeight = 8;
  s.Distribution = 0;
  EXPECT_EQ(ExportBanks(dir_ / "small", TBankFormat::Chr, s, Text(257)), 2);
  EXPECT_EQ(Files(), (std::vector<std::string>{"small.0000.chr", "small.0001.chr"}));
}

TEST_F(ExportTest, AFailureStopsTheExportAndKeepsEarlierFiles) {
  fs::create_directory(dir_ / "font.01.chr");  // the second file's name is taken by a folder
  const TChrSettings s = test::StartSettings(&font_);
  std::vector<std::string> heard;
  try {
    ExportBanks(dir_ / "font.chr", TBankFormat::Chr, s, Text(64 * 5),
                [&](const std::string& name) { heard.push_back(name); });
    FAIL() << "no error";
  } catch (const TFileError& e) {
    EXPECT_EQ(e.FileName(), dir_ / "font.01.chr");
  }
  // Nothing after the failed file is written, and the caller hears only the file written.
  EXPECT_EQ(Files(), (std::vector<std::string>{"font.00.chr", "font.01.chr"}));
  EXPECT_EQ(heard, std::vector<std::string>{dir_ / "font.00.chr"});
  EXPECT_EQ(test::ReadFile(dir_ / "font.00.chr").size(), 4096u);
}

TEST_F(ExportTest, ProgressHearsEveryBankAndCanStopTheExport) {
  const TChrSettings s = test::StartSettings(&font_);
  TExportOptions options;
  std::vector<std::int64_t> totals;
  std::int64_t lastWritten = 0;
  options.Control.OnProgress = [&](std::int64_t written, std::int64_t total) {
    EXPECT_GE(written, lastWritten);
    lastWritten = written;
    totals.push_back(total);
  };
  const TExportResult all = ExportText(dir_ / "all.chr", s, Text(64 * 6 + 1), options);
  EXPECT_EQ(all.Files, 7);
  EXPECT_FALSE(all.Cancelled);
  EXPECT_EQ(totals, std::vector<std::int64_t>(7, 7));

  // Stopped at the third bank: the files written stay, whole and numbered from 0; no later one.
  int calls = 0;
  std::atomic<bool> cancel{false};
  options.Control.Cancel = &cancel;
  options.Control.OnProgress = [&](std::int64_t, std::int64_t) { cancel = ++calls >= 3; };
  const TExportResult part = ExportText(dir_ / "part.chr", s, Text(64 * 20), options);
  EXPECT_TRUE(part.Cancelled);
  EXPECT_EQ(calls, 3);
  // The writer may not have begun any file yet; it never gets past the third.
  EXPECT_LE(part.Files, 3);
  for (std::int64_t i = 0; i < 20; ++i) {
    const std::string name = dir_ / ExportFileName("part", i, 64, TBankFormat::Chr);
    EXPECT_EQ(fs::exists(name), i < part.Files) << name;
    if (i < part.Files) {
      EXPECT_EQ(fs::file_size(name), 4096u);
    }
  }
}

TEST(ExportFileCount, CeilingOfLengthOverCapacity) {
  EXPECT_EQ(ExportFileCount(0, 64), 0);
  EXPECT_EQ(ExportFileCount(1, 64), 1);
  EXPECT_EQ(ExportFileCount(64, 64), 1);
  EXPECT_EQ(ExportFileCount(65, 64), 2);
  EXPECT_EQ(ExportFileCount(20902, 64), 327);
  EXPECT_EQ(ExportFileCount(5, 0), 0);
}

TEST_F(ExportTest, SettingsThatHoldNoCharacterAreRefused) {
  TChrSettings s = test::StartSettings(&font_);
  s.CellWidth = 0;
  EXPECT_THROW(ExportBanks(dir_ / "x.chr", TBankFormat::Chr, s, u"你"), std::invalid_argument);
}

}  // namespace
}  // namespace mipofc
