// A text's glyphs as a BDF font: the font draws the same banks as the source it was drawn from,
// and the X font tools read it without a warning.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/bank_maker.h"
#include "font/font.h"
#include "jobs/bdf_font.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

// Every character once or more, one the test font lacks (U+4E01), a pair of surrogate halves.
const std::u16string Text = u"字模你好，世界！字模 ABCxyz 丁\U0001F600汉字";

std::string Banks(const TChrSettings& settings, std::u16string_view text) {
  const std::int32_t capacity = ExportCapacity(settings);
  TBankMaker maker(settings, text, capacity, false);
  std::string bytes;
  for (std::int64_t n = 0; n < maker.Count(); ++n) bytes += maker.Take(n).Bytes;
  return bytes;
}

// Where two byte strings first differ ("" when they are the same), short enough to read.
std::string Difference(const std::string& got, const std::string& want) {
  if (got == want) return "";
  std::size_t at = 0;
  while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
  return "sizes " + std::to_string(got.size()) + " and " + std::to_string(want.size()) + ", first difference at byte " +
         std::to_string(at);
}

struct TSource {
  const char* name;
  int narrowWide, x, y;
  bool bold, italic, underline;
};

TEST(BdfFont, DrawsTheSameBanksAsItsSourceInEveryCellSize) {
  const int cells[][2] = {{8, 8}, {8, 16}, {16, 8}, {16, 16}, {16, 32}, {32, 16}, {32, 32}};
  const TSource sources[] = {
      {"plain", 0, 0, 0, false, false, false},
      {"squeezed, offset and bold", -3, 2, -1, true, false, false},
      {"flattened, italic and underlined", 4, -1, 3, false, true, true},
  };
  test::TempDir dir;
  for (const auto& [w, h] : cells)
    for (const TSource& source : sources) {
      SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " " + source.name);
      TFont font = test::TestFont();
      font.Bold = source.bold;
      font.Italic = source.italic;
      font.Underline = source.underline;
      TChrSettings settings = test::StartSettings(&font);
      settings.CellWidth = w;
      settings.CellHeight = h;
      settings.Distribution = w == 8 && h == 8 ? 0 : 1;
      settings.NarrowWide = source.narrowWide;
      settings.OffsetX = source.x;
      settings.OffsetY = source.y;
      const std::string path = dir / "font.bdf";
      const TBdfFontResult written = WriteBdfFont(path, settings, Text, {});
      ASSERT_FALSE(written.Cancelled);
      // 17 distinct characters and U+FFFD for the surrogate halves.
      EXPECT_EQ(written.Characters, 18);

      // Drawn from the font at 0,0, unsqueezed and plain, at another size than its own.
      TFont edited;
      edited.File = path;
      edited.SetSize(9);
      TChrSettings again = settings;
      again.Font = &edited;
      again.NarrowWide = again.OffsetX = again.OffsetY = 0;
      EXPECT_EQ(Difference(Banks(again, Text), Banks(settings, Text)), "");
    }
}

TEST(BdfFont, EachCharacterOnceInOrderWithTheCellAsItsBox) {
  TFont font = test::TestFont();
  TChrSettings settings = test::StartSettings(&font);
  settings.CellWidth = 16;
  settings.CellHeight = 32;
  settings.OffsetY = 3;
  const std::optional<TBdfFont> bdf = BdfFontOfText(settings, u"好字好A字", {});
  ASSERT_TRUE(bdf.has_value());
  std::vector<std::uint32_t> codes;
  for (const TBdfGlyph& glyph : bdf->Glyphs) codes.push_back(glyph.Code);
  EXPECT_EQ(codes, (std::vector<std::uint32_t>{u'好', u'字', u'A'}));
  EXPECT_FALSE(bdf->DefaultChar.has_value());
  EXPECT_EQ(bdf->Family, "Mipo Test MipoFC");
  // The test font's ascent is 14; drawn 3 rows down, its baseline lies 17 rows into the cell.
  EXPECT_EQ(bdf->Ascent, 17);

  const std::string file = BdfFontBytes(*bdf);
  for (const char* line : {"STARTFONT 2.1\n", "\nFONTBOUNDINGBOX 16 32 0 -15\n", "\nFAMILY_NAME \"Mipo Test MipoFC\"\n",
                           "\nPIXEL_SIZE 32\n", "\nFONT_ASCENT 17\n", "\nFONT_DESCENT 15\n",
                           "\nCHARSET_REGISTRY \"ISO10646\"\n", "\nCHARS 3\n", "\nENCODING 22909\n", "\nBBX 16 32 0 -15\n",
                           "\nDWIDTH 16 0\n",
                           "\nENDFONT\n"})
    EXPECT_NE(file.find(line), std::string::npos) << line;
}

TEST(BdfFont, TheXFontCompilerTakesItWithoutAWarning) {
  if (std::system("command -v bdftopcf >/dev/null 2>&1") != 0) GTEST_SKIP() << "bdftopcf (xfonts-utils) is not installed";
  test::TempDir dir;
  TFont font = test::TestFont();
  font.Bold = true;
  for (const auto& [w, h] : {std::pair{8, 8}, std::pair{16, 16}, std::pair{32, 16}}) {
    TChrSettings settings = test::StartSettings(&font);
    settings.CellWidth = w;
    settings.CellHeight = h;
    settings.OffsetY = 40;  // a baseline below the cell: ascent h, descent 0
    ASSERT_EQ(WriteBdfFont(dir / "font.bdf", settings, Text, {}).Characters, 18);
    const std::string command = "bdftopcf -o '" + (dir / "font.pcf") + "' '" + (dir / "font.bdf") + "' 2>'" +
                                (dir / "err.txt") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(test::ReadFile(dir / "err.txt"), "");
    EXPECT_GT(std::filesystem::file_size(dir / "font.pcf"), 0u);
  }
}

TEST(BdfFont, AStopOrAnEmptyTextWritesNothing) {
  test::TempDir dir;
  TFont font = test::TestFont();
  const TChrSettings settings = test::StartSettings(&font);
  std::atomic<bool> stop{true};
  TJobControl control;
  control.Cancel = &stop;
  std::u16string many;
  for (char16_t c = 0x4E00; c < 0x4E00 + 600; ++c) many += c;
  std::vector<std::int64_t> steps;
  control.OnProgress = [&](std::int64_t done, std::int64_t total) { steps.push_back(done * 100 + total); };
  EXPECT_TRUE(WriteBdfFont(dir / "font.bdf", settings, many, control).Cancelled);
  EXPECT_EQ(steps, std::vector<std::int64_t>{103});  // one step of three, then the stop
  EXPECT_FALSE(std::filesystem::exists(dir / "font.bdf"));
  EXPECT_EQ(WriteBdfFont(dir / "font.bdf", settings, u"", {}).Characters, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "font.bdf"));
}

}  // namespace
}  // namespace mipofc
