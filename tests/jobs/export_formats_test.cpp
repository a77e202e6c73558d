#include <atomic>
#include <gtest/gtest.h>

#include <filesystem>

#include "jobs/export.h"
#include "engine/formats.h"
#include "engine/png.h"
#include "tests/format_readers.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

constexpr TBankFormat AllFormats[] = {TBankFormat::Chr, TBankFormat::Inc, TBankFormat::Ca65, TBankFormat::C,
                                      TBankFormat::Png};

class FormatsExportTest : public testing::Test {
 protected:
  static std::u16string Text(std::size_t n) {
    const std::u16string pool = u"你们大家好。789ABCDEF中文字模工具测试一二三四五六七八九十";
    std::u16string text;
    for (std::size_t i = 0; i < n; ++i) text += pool[(i * 7) % pool.size()];
    return text;
  }
  // The bank bytes a file of format describes.
  static std::string BytesOf(TBankFormat format, const std::string& file) {
    switch (format) {
      case TBankFormat::Chr: return file;
      case TBankFormat::Inc:
      case TBankFormat::Ca65: return test::BytesOfAsm(file);
      case TBankFormat::C: return test::BytesOfC(file);
      case TBankFormat::Png: return test::TilesOfImage(test::ReadIndexedPng(file));
    }
    return {};
  }
  std::string Read(const std::string& name) const { return test::ReadFile(dir_ / name); }
  TFont font_ = test::TestFont();
  test::TempDir dir_;
};

TEST_F(FormatsExportTest, EveryFormatDescribesTheBytesOfTheChrBank) {
  struct Case {
    int cell, distribution, limit, mode;
  } cases[] = {{16, 1, 4096, 0}, {16, 0, 2048, 3}, {8, 0, 1024, 1}, {32, 1, 4096, 4}};
  for (const Case& c : cases) {
    TChrSettings s = test::StartSettings(&font_);
    s.CellWidth = s.CellHeight = c.cell;
    s.Distribution = c.distribution;
    s.Limit = c.limit;
    s.EncodeMode = c.mode;
    const std::u16string text = Text(static_cast<std::size_t>(ExportCapacity(s)) + 3);
    const std::string label = "cell " + std::to_string(c.cell) + " mode " + std::to_string(c.mode);
    for (TBankFormat format : AllFormats) {
      TExportOptions options;
      options.Format = format;
      ASSERT_EQ(ExportText(dir_ / "t.x", s, text, options).Files, 2) << label;
    }
    for (int n = 0; n < 2; ++n) {
      const std::string chr = Read(ExportFileName("t", n, ExportCapacity(s), TBankFormat::Chr));
      ASSERT_EQ(chr.size(), static_cast<std::size_t>(c.limit)) << label;
      for (TBankFormat format : AllFormats)
        EXPECT_EQ(BytesOf(format, Read(ExportFileName("t", n, ExportCapacity(s), format))), chr)
            << label << " bank " << n << " " << FormatExtension(format);
    }
    // One line per tile, LF only.
    const std::string ca65 = Read(ExportFileName("t", 1, ExportCapacity(s), TBankFormat::Ca65));
    EXPECT_EQ(std::count(ca65.begin(), ca65.end(), '\n'), c.limit / 16) << label;
    EXPECT_EQ(ca65.find('\r'), std::string::npos);
    EXPECT_EQ(BytesOf(TBankFormat::C, Read(ExportFileName("t", 1, ExportCapacity(s), TBankFormat::C))).size(),
              static_cast<std::size_t>(c.limit));
  }
}

TEST_F(FormatsExportTest, IncFilesKeepTheirForm) {
  const TChrSettings s = test::StartSettings(&font_);
  TExportOptions options;
  options.Format = TBankFormat::Inc;
  ExportText(dir_ / "f.inc", s, Text(10), options);
  TChr engine;
  engine.BuildFor(s, Text(10));
  EXPECT_EQ(Read("f.00.inc"), IncText(engine.BankBytes()));
}

TEST_F(FormatsExportTest, ConcatIsTheNumberedFilesInOne) {
  const TChrSettings s = test::StartSettings(&font_);  // 64 characters a bank
  const std::u16string text = Text(64 * 3 + 1);
  std::vector<std::string> banks(4);
  for (TBankFormat format : AllFormats) {
    const std::string ext(FormatExtension(format));
    TExportOptions options;
    options.Format = format;
    ASSERT_EQ(ExportText(dir_ / ("n." + ext), s, text, options).Files, 4);
    options.Concat = true;
    std::vector<std::string> heard;
    options.OnWritten = [&](const std::string& name) { heard.push_back(name); };
    options.OnBank = [&](std::int64_t n, std::string_view bytes) { banks.at(static_cast<std::size_t>(n)) = bytes; };
    // The name is taken exactly as given, whatever its extension.
    const std::string whole = dir_ / ("whole." + ext + ".bin");
    ASSERT_EQ(ExportText(whole, s, text, options).Files, 1) << ext;
    EXPECT_EQ(heard, std::vector<std::string>{whole});
    std::string joined, joinedBytes;
    for (int n = 0; n < 4; ++n) {
      const std::string file = Read(ExportFileName("n", n, 64, format));
      joined += file;
      joinedBytes += BytesOf(format, file);
      EXPECT_EQ(banks[static_cast<std::size_t>(n)], BytesOf(TBankFormat::Chr, Read(ExportFileName("n", n, 64, TBankFormat::Chr))));
    }
    const std::string concat = test::ReadFile(whole);
    EXPECT_EQ(BytesOf(format, concat), joinedBytes) << ext;
    EXPECT_EQ(BytesOf(format, concat).size(), 4u * 4096) << ext;
    if (format == TBankFormat::Chr || format == TBankFormat::Inc || format == TBankFormat::Ca65) {
      EXPECT_EQ(concat, joined) << ext;
    }
  }
  // One array named after the whole file; one picture of the four banks stacked.
  EXPECT_NE(Read("whole.h.bin").find("const unsigned char whole_h[16384] = {"), std::string::npos);
  EXPECT_EQ(test::ReadIndexedPng(Read("whole.png.bin")).height, 4 * 128);
}

TEST_F(FormatsExportTest, AStoppedOrEmptyConcatWritesNothing) {
  const TChrSettings s = test::StartSettings(&font_);
  TExportOptions options;
  options.Concat = true;
  std::vector<std::pair<std::int64_t, std::int64_t>> progress;
  std::atomic<bool> cancel{false};
  options.Control.Cancel = &cancel;
  options.Control.OnProgress = [&](std::int64_t done, std::int64_t total) {
    progress.emplace_back(done, total);
    cancel = done >= 2;
  };
  const TExportResult stopped = ExportText(dir_ / "a.chr", s, Text(64 * 5), options);
  EXPECT_TRUE(stopped.Cancelled);
  EXPECT_EQ(stopped.Files, 0);
  EXPECT_EQ(progress, (std::vector<std::pair<std::int64_t, std::int64_t>>{{1, 5}, {2, 5}}));
  EXPECT_EQ(ExportText(dir_ / "b.chr", s, u"", options).Files, 0);
  EXPECT_TRUE(fs::is_empty(dir_.Path()));
}

TEST_F(FormatsExportTest, APngUsesThePaletteGiven) {
  const TChrSettings s = test::StartSettings(&font_);
  TExportOptions options;
  options.Format = TBankFormat::Png;
  ExportText(dir_ / "d.png", s, Text(3), options);
  const test::TIndexedImage start = test::ReadIndexedPng(Read("d.00.png"));
  ASSERT_EQ(start.palette.size(), 4u);
  // The previews' start colours: black, white, dark red, teal.
  EXPECT_EQ(start.palette[0], (std::array<std::uint8_t, 3>{0, 0, 0}));
  EXPECT_EQ(start.palette[1], (std::array<std::uint8_t, 3>{0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(start.palette[2], (std::array<std::uint8_t, 3>{0x80, 0, 0}));
  EXPECT_EQ(start.palette[3], (std::array<std::uint8_t, 3>{0, 0x80, 0x80}));
  // Two indexes of one colour stay two indexes.
  options.Palette = {0x112233, 0x112233, 0x445566, 0x778899};
  ExportText(dir_ / "e.png", s, Text(3), options);
  const test::TIndexedImage same = test::ReadIndexedPng(Read("e.00.png"));
  EXPECT_EQ(same.palette[1], (std::array<std::uint8_t, 3>{0x33, 0x22, 0x11}));
  EXPECT_EQ(same.indexes, start.indexes);
}

}  // namespace
}  // namespace mipofc
