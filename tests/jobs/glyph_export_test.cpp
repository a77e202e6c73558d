// The glyph export: one file of every glyph, or PRG banks of whole glyphs zero-filled to the end,
// in every format, with progress, cancel and failures as the bank export has them.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>

#include "base/errors.h"
#include "jobs/glyph_export.h"
#include "tests/format_readers.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

class GlyphExportTest : public testing::Test {
 protected:
  static std::u16string Text(std::size_t n) {
    std::u16string text;
    for (std::size_t i = 0; i < n; ++i) text += static_cast<char16_t>(0x4E00 + (i * 131) % 0x5000);
    return text;
  }
  std::string Glyphs(const TChrSettings& s, std::u16string_view text, int bpp) {
    std::string out;
    std::make_unique<TChr>()->AppendGlyphs(s, text, bpp, out);
    return out;
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_.Path())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  TFont font_ = test::TestFont();
  test::TempDir dir_;
};

// Each PRG bank holds the whole glyphs that fit, then zeros to its size; read in order the
// banks' glyphs are the text's.
TEST_F(GlyphExportTest, PrgBanksHoldWholeGlyphsZeroFilled) {
  struct Case {
    int cell, bpp, prgBank;
    std::size_t chars;
    std::int64_t perFile;
  } cases[] = {{16, 2, 8192, 300, 128}, {16, 1, 8192, 300, 256}, {32, 2, 16384, 70, 64}, {8, 1, 32768, 10, 4096}};
  for (const Case& c : cases) {
    TChrSettings s = test::StartSettings(&font_);
    s.CellWidth = s.CellHeight = c.cell;
    s.Distribution = c.cell == 8 ? 0 : 1;
    const std::u16string text = Text(c.chars);
    TGlyphOptions options;
    options.BitsPerPixel = c.bpp;
    options.PrgBank = c.prgBank;
    const TGlyphFiles files = GlyphFilesOf(s, c.bpp, c.prgBank, text.size());
    ASSERT_EQ(files.PerFile, c.perFile);
    const std::string name = dir_ / ("g" + std::to_string(c.cell) + "-" + std::to_string(c.bpp) + ".bin");
    std::vector<std::string> heard;
    options.OnWritten = [&](const std::string& n) { heard.push_back(n); };
    const TExportResult result = ExportGlyphs(name, s, text, options);
    SCOPED_TRACE(name);
    ASSERT_EQ(result.Files, files.Count);
    ASSERT_EQ(static_cast<std::int64_t>(heard.size()), files.Count);
    std::string glyphs;
    for (std::int64_t n = 0; n < files.Count; ++n) {
      EXPECT_EQ(heard[static_cast<std::size_t>(n)], GlyphFileName(name, n, files, options));
      const std::string bytes = test::ReadFile(heard[static_cast<std::size_t>(n)]);
      ASSERT_EQ(bytes.size(), static_cast<std::size_t>(c.prgBank));
      const std::size_t used = std::min<std::size_t>(text.size() - static_cast<std::size_t>(n * files.PerFile),
                                                     static_cast<std::size_t>(files.PerFile)) *
                               static_cast<std::size_t>(files.GlyphBytes);
      EXPECT_EQ(bytes.substr(used), std::string(bytes.size() - used, '\0')) << n;
      glyphs += bytes.substr(0, used);
    }
    EXPECT_EQ(glyphs, Glyphs(s, text, c.bpp));
  }
}

TEST_F(GlyphExportTest, FileNamesFollowTheBankFilesAndKeepTheChosenExtension) {
  struct Case {
    const char* chosen;
    TBankFormat format;
    std::int32_t prgBank;
    std::int64_t perFile, n;
    const char* name;
  } cases[] = {
      {"out/font.bin", TBankFormat::Chr, 0, 300, 0, "out/font.bin"},
      {"font.bin", TBankFormat::Chr, 8192, 128, 1, "font.01.bin"},
      {"font.dat", TBankFormat::Chr, 8192, 128, 0, "font.00.dat"},
      {"font", TBankFormat::Chr, 8192, 128, 0, "font.00.bin"},
      {"font.s", TBankFormat::Ca65, 32768, 1024, 2, "font.0002.s"},
      {"font.x", TBankFormat::C, 8192, 255, 0x1F, "font.1F.h"},
  };
  for (const Case& c : cases) {
    TGlyphOptions options;
    options.Format = c.format;
    options.PrgBank = c.prgBank;
    EXPECT_EQ(GlyphFileName(c.chosen, c.n, {32, c.perFile, 3}, options), c.name);
  }
}

// ca65 and C hold the raw bytes (and the fill); each ca65 line names the tile's code and character.
TEST_F(GlyphExportTest, Ca65AndCHoldTheRawBytesAndNameEachCode) {
  const TChrSettings s = test::StartSettings(&font_);
  const std::u16string text = u"你们大" + Text(200);
  for (std::int32_t prg : {0, 8192}) {
    std::string raw[3];
    const TBankFormat formats[] = {TBankFormat::Chr, TBankFormat::Ca65, TBankFormat::C};
    for (int f = 0; f < 3; ++f) {
      TGlyphOptions options;
      options.Format = formats[f];
      options.PrgBank = prg;
      options.BitsPerPixel = 1;
      options.Codes = {0x8000, 2};
      std::vector<std::string> names;
      options.OnWritten = [&](const std::string& n) { names.push_back(n); };
      ExportGlyphs(dir_ / ("g" + std::to_string(prg) + "." + std::string(FormatExtension(formats[f]))), s, text, options);
      ASSERT_FALSE(names.empty());
      const std::string first = test::ReadFile(names[0]);
      raw[f] = f == 0 ? first : f == 1 ? test::BytesOfAsm(first) : test::BytesOfC(first);
      if (f == 1) {
        // Line 4 (from 0) is the first tile of the second glyph: eight values, then its name.
        std::size_t line = 0;
        for (int i = 0; i < 4; ++i) line = first.find('\n', line) + 1;
        const std::string fifth = first.substr(line, first.find('\n', line) - line);
        EXPECT_EQ(fifth.substr(fifth.find("  ; ")), "  ; code $8001: U+4EEC 们 tile 0,0");
        EXPECT_EQ(std::count(fifth.begin(), fifth.begin() + static_cast<std::ptrdiff_t>(fifth.find("  ; ")), '$'), 8)
            << fifth;
        EXPECT_NE(first.find("  ; code $8002: U+5927 大 tile 1,1\n"), std::string::npos);
      }
    }
    EXPECT_EQ(raw[1], raw[0]) << prg;
    EXPECT_EQ(raw[2], raw[0]) << prg;
    EXPECT_EQ(raw[0].size(), prg > 0 ? 8192u : text.size() * 32);
  }
}

TEST_F(GlyphExportTest, ProgressCancelAndAnEmptyText) {
  const TChrSettings s = test::StartSettings(&font_);
  const std::u16string text = Text(600);
  TGlyphOptions options;
  options.PrgBank = 8192;  // 128 glyphs a file: 5 files
  std::vector<std::pair<std::int64_t, std::int64_t>> steps;
  std::atomic<bool> cancel{false};
  options.Control.Cancel = &cancel;
  options.Control.OnProgress = [&](std::int64_t done, std::int64_t total) {
    steps.emplace_back(done, total);
    if (steps.size() == 2) cancel = true;
  };
  const TExportResult part = ExportGlyphs(dir_ / "p.bin", s, text, options);
  EXPECT_TRUE(part.Cancelled);
  EXPECT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps.back().second, 5);
  // The writer may not have begun any file yet; it never gets past the second.
  EXPECT_LE(part.Files, 2);
  for (std::int64_t n = 0; n < 5; ++n)
    EXPECT_EQ(fs::exists(dir_ / ("p.0" + std::to_string(n) + ".bin")), n < part.Files) << n;

  // One file: the steps are pieces of glyphs, and a cancel leaves no file at all.
  options.PrgBank = 0;
  steps.clear();
  cancel = false;
  const TExportResult none = ExportGlyphs(dir_ / "one.bin", s, text, options);
  EXPECT_TRUE(none.Cancelled);
  EXPECT_EQ(none.Files, 0);
  EXPECT_EQ(steps.front(), std::make_pair(std::int64_t{1}, (600 + GlyphsAPiece - 1) / GlyphsAPiece));
  EXPECT_FALSE(fs::exists(dir_ / "one.bin"));

  options.Control = {};
  EXPECT_EQ(ExportGlyphs(dir_ / "empty.bin", s, u"", options).Files, 0);
  EXPECT_FALSE(fs::exists(dir_ / "empty.bin"));
}

TEST_F(GlyphExportTest, RefusalsAndFailures) {
  TChrSettings s = test::StartSettings(&font_);
  TGlyphOptions options;
  options.Format = TBankFormat::Png;
  EXPECT_THROW(ExportGlyphs(dir_ / "g.png", s, u"你", options), std::invalid_argument);
  options.Format = TBankFormat::Chr;
  options.BitsPerPixel = 1;
  s.EncodeMode = 3;
  EXPECT_THROW(ExportGlyphs(dir_ / "g.bin", s, u"你", options), std::invalid_argument);
  EXPECT_TRUE(Files().empty());
  s.EncodeMode = 0;
  try {
    ExportGlyphs(dir_ / "missing/g.bin", s, u"你们", options);
    ADD_FAILURE() << "no failure";
  } catch (const TFileError& e) {
    EXPECT_EQ(e.FileName(), dir_ / "missing/g.bin");
  }
}

}  // namespace
}  // namespace mipofc
