#include <gtest/gtest.h>

#include "engine/chr.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

constexpr TColor Silver = 0xC0C0C0;
const TPalette kPalette = {0x000000, 0xFFFFFF, 0x000080, 0x808000};

class PreviewTest : public testing::Test {
 protected:
  TBitmap Target() {
    TBitmap target;
    target.SetSize(128, 128);
    target.Canvas.BrushColor = target.Canvas.PenColor = Silver;
    target.FillRect(0, 0, 128, 128);
    return target;
  }
  TBitmap Text(const TChrSettings& s, std::u16string text, bool grid = false, const TPalette& palette = kPalette) {
    TBitmap target = Target();
    TChr().DrawTextPreview(target, palette, grid, s, text);
    return target;
  }
  TBitmap Bank(const TChrSettings& s, std::u16string text, bool grid = false) {
    TBitmap target = Target();
    TChr().DrawBankPreview(target, kPalette, grid, s, text);
    return target;
  }
  static int Count(const TBitmap& b, TColor c, int y0 = 0, int y1 = 128) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = 0; x < 128; ++x) n += b.GetPixel(x, y) == c;
    return n;
  }
  TFont font_ = test::TestFont();
};

TEST_F(PreviewTest, EmptyTextShowsBackgroundCellsAndBlankTiles) {
  const TChrSettings s = test::StartSettings(&font_);
  EXPECT_EQ(Count(Text(s, u""), kPalette[0]), 128 * 128);
  EXPECT_EQ(Count(Bank(s, u""), kPalette[2]), 128 * 128);
}

TEST_F(PreviewTest, SmallerLimitsCoverPartOfTheTarget) {
  TChrSettings s = test::StartSettings(&font_);
  s.Limit = 2048;
  const TBitmap half = Text(s, u"");
  EXPECT_EQ(Count(half, kPalette[0], 0, 64), 128 * 64);
  EXPECT_EQ(Count(half, Silver, 64, 128), 128 * 64);
  s.Limit = 1024;
  const TBitmap bank = Bank(s, u"你们大家好");
  // Characters in bank rows 0..3, blank tiles below; every slot is drawn whatever the limit.
  EXPECT_EQ(Count(bank, kPalette[2], 32, 128), 128 * 96);
  EXPECT_EQ(Count(bank, Silver), 0);
  EXPECT_GT(Count(bank, kPalette[1], 0, 32), 0);
}

TEST_F(PreviewTest, GridHidesTheLastColumnAndRowOfEveryCellAndTile) {
  const TChrSettings s = test::StartSettings(&font_);
  const TBitmap text = Text(s, u"", true), bank = Bank(s, u"", true);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      const bool textLine = x % 16 == 15 || y % 16 == 15, bankLine = x % 8 == 7 || y % 8 == 7;
      ASSERT_EQ(text.GetPixel(x, y), textLine ? Silver : kPalette[0]) << x << "," << y;
      ASSERT_EQ(bank.GetPixel(x, y), bankLine ? Silver : kPalette[2]) << x << "," << y;
    }
}

TEST_F(PreviewTest, TextCellsMatchTheQuantisedGlyphs) {
  const TChrSettings s = test::StartSettings(&font_);
  const TBitmap target = Text(s, u"你们大家好。789A");
  TChr engine;
  engine.Settings = s;
  engine.PrepareCell();
  const std::u16string text = u"你们大家好。789A";
  for (std::size_t i = 0; i < text.size(); ++i) {
    engine.DrawGlyph(text[i], kPalette[0], kPalette[1]);
    engine.ApplyNarrowWide(kPalette[0], kPalette[1]);
    engine.QuantizeCell(kPalette[0], kPalette[1]);
    const int x0 = static_cast<int>(i % 8) * 16, y0 = static_cast<int>(i / 8) * 16;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) ASSERT_EQ(target.GetPixel(x0 + x, y0 + y), engine.GetPixel(x, y)) << i;
  }
  EXPECT_GT(Count(target, kPalette[1]), 0);
}

TEST_F(PreviewTest, BankTilesDecodeThroughThePalette) {
  TChrSettings s = test::StartSettings(&font_);
  s.BgIndex = 2;
  s.GlyphIndex = 3;
  s.Distribution = 0;
  const TBitmap bank = Bank(s, u"好");
  TChr engine;
  engine.Settings = s;
  engine.Text = u"好";
  engine.PrepareCell();
  engine.BuildBank();
  for (int t = 0; t < 4; ++t)
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) {
        const int index = ((engine.Bank.Slots[t].Plane0[r] >> (7 - c)) & 1) +
                          2 * ((engine.Bank.Slots[t].Plane1[r] >> (7 - c)) & 1);
        ASSERT_EQ(bank.GetPixel(t * 8 + c, r), kPalette[index]);
      }
  EXPECT_GT(Count(bank, kPalette[3], 0, 8), 0);
}

TEST_F(PreviewTest, EqualColoursGiveSolidCellsAndFoldingModesOverflowTheTarget) {
  TChrSettings s = test::StartSettings(&font_);
  TPalette same = kPalette;
  same[1] = same[0];
  EXPECT_EQ(Count(Text(s, u"你们大家好", false, same), same[0]), 128 * 128);
  s.EncodeMode = 3;  // 128 cells of 16 x 16: the first 64 are seen
  std::u16string text(128, u'好');
  text[64] = u'你';
  const TBitmap target = Text(s, text);
  EXPECT_EQ(Count(target, Silver), 0);
  const TBitmap firstHalf = Text(s, text.substr(0, 64));
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) ASSERT_EQ(target.GetPixel(x, y), firstHalf.GetPixel(x, y));
}

}  // namespace
}  // namespace mipofc
