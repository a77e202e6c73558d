#include <gtest/gtest.h>

#include <sstream>

#include "engine/chr.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

constexpr TColor White = 0xFFFFFF, Black = 0;

TEST(NarrowWide, DestinationIndexesOfEverySqueeze) {
  const char* table[6] = {
      "0 1 2 3 4 4 5 6 7 8 9 10 11 12 13 13 14 15 16 17 18 19 20 21 22 22 23 24 25 26 27 28",
      "0 1 2 3 3 4 5 6 7 8 9 9 10 11 12 13 14 14 15 16 17 18 19 20 20 21 22 23 24 25 26 26",
      "0 1 2 2 3 4 5 6 6 7 8 9 10 10 11 12 13 14 14 15 16 17 18 18 19 20 21 22 22 23 24 25",
      "0 1 2 2 3 4 5 5 6 7 8 8 9 10 11 11 12 13 14 14 15 16 17 17 18 19 20 20 21 22 23 23",
      "0 1 1 2 3 3 4 5 6 6 7 8 8 9 10 10 11 12 13 13 14 15 15 16 17 17 18 19 20 20 21 22",
      "0 1 1 2 3 3 4 5 5 6 6 7 8 8 9 10 10 11 12 12 13 14 14 15 16 16 17 18 18 19 19 20",
  };
  for (int v = 1; v <= 6; ++v) {
    std::istringstream in(table[v - 1]);
    for (int d = 0; d < 32; ++d) {
      int expected = -1;
      in >> expected;
      EXPECT_EQ(NarrowWideDestination(d, v), expected) << "|v| " << v << " source " << d;
      EXPECT_EQ(NarrowWideDestination(d, -v), expected) << "v " << -v << " source " << d;
    }
  }
}

// An engine whose surface is side x side, filled with white, with the given pixels black.
void Paint(TChr& engine, int side, const std::vector<std::pair<int, int>>& ink) {
  engine.SetSize(side, side);
  engine.Canvas.BrushColor = engine.Canvas.PenColor = White;
  engine.FillRect(0, 0, side, side);
  for (auto [x, y] : ink) engine.SetPixel(x, y, Black);
}

TChrSettings Cell(int width, int height, int narrowWide) {
  TChrSettings s = test::StartSettings(nullptr);
  s.CellWidth = width;
  s.CellHeight = height;
  s.NarrowWide = narrowWide;
  return s;
}

TEST(NarrowWide, SqueezesRowsOrColumnsTowardTheTopOrLeft) {
  struct Case {
    int v;
    bool rows;  // positive values move rows, negative values columns
  } cases[] = {{1, true}, {-1, false}};
  for (const Case& c : cases) {
    TChr engine;
    engine.Settings = Cell(16, 16, c.v);
    std::vector<std::pair<int, int>> ink;
    for (int i = 0; i < 16; ++i) ink.push_back(c.rows ? std::pair{3, i} : std::pair{i, 3});
    Paint(engine, 16, ink);
    engine.ApplyNarrowWide(White, Black);
    for (int i = 0; i < 16; ++i) {
      const TColor got = c.rows ? engine.GetPixel(3, i) : engine.GetPixel(i, 3);
      // Sources 4 and 5 both land on 4, 14 and 15 on 13: 14 and 15 end as background.
      EXPECT_EQ(got, i <= 13 ? Black : White) << "v " << c.v << " index " << i;
    }
    // The other direction is untouched: only the one line of ink exists.
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        if ((c.rows ? x : y) != 3) {
          EXPECT_EQ(engine.GetPixel(x, y), White);
        }
      }
  }
}

TEST(NarrowWide, SixOnA32PixelSideEndsAtTwenty) {
  TChr engine;
  engine.Settings = Cell(32, 32, 6);
  std::vector<std::pair<int, int>> ink;
  for (int y = 0; y < 32; ++y) ink.push_back({0, y});
  Paint(engine, 32, ink);
  engine.ApplyNarrowWide(White, Black);
  for (int y = 0; y < 32; ++y) EXPECT_EQ(engine.GetPixel(0, y), y <= 20 ? Black : White) << y;
}

TEST(NarrowWide, ZeroKeepsShadesAndQuantizeMakesThemGlyph) {
  TChr engine;
  engine.Settings = Cell(16, 16, 0);
  Paint(engine, 16, {});
  engine.SetPixel(2, 2, 0x808080);
  engine.SetPixel(5, 5, 0xFEFFFF);
  engine.ApplyNarrowWide(White, Black);
  EXPECT_EQ(engine.GetPixel(2, 2), 0x808080u);
  engine.QuantizeCell(White, Black);
  EXPECT_EQ(engine.GetPixel(2, 2), Black);
  EXPECT_EQ(engine.GetPixel(5, 5), Black);
  EXPECT_EQ(engine.GetPixel(0, 0), White);
}

TEST(NarrowWide, NonZeroLeavesOnlyTheTwoColours) {
  TChr engine;
  engine.Settings = Cell(16, 16, -2);
  Paint(engine, 16, {});
  engine.SetPixel(10, 4, 0x123456);
  engine.ApplyNarrowWide(White, 0x0000FF);
  for (TColor c : engine.Pixels()) EXPECT_TRUE(c == White || c == 0x0000FFu);
  EXPECT_EQ(engine.GetPixel(NarrowWideDestination(10, -2), 4), 0x0000FFu);
}

TEST(QuantizeCell, CropsTheSquareToTheCellAndPullsInSqueezedInk) {
  // 8x16 with -6: drawing columns 0..11 of the 16x16 square land in cell columns 0..7.
  TChr narrow;
  narrow.Settings = Cell(8, 16, -6);
  std::vector<std::pair<int, int>> ink;
  for (int x = 0; x < 16; ++x) ink.push_back({x, 0});
  Paint(narrow, 16, ink);
  narrow.ApplyNarrowWide(White, Black);
  narrow.QuantizeCell(White, Black);
  EXPECT_EQ(narrow.Width(), 8);
  EXPECT_EQ(narrow.Height(), 16);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(narrow.GetPixel(x, 0), Black) << x;
  EXPECT_EQ(NarrowWideDestination(11, -6), 7);
  EXPECT_EQ(NarrowWideDestination(12, -6), 8);

  // 16x8 with 6: rows 0..11 land in cell rows 0..7; row 12 and below fall outside.
  TChr flat;
  flat.Settings = Cell(16, 8, 6);
  Paint(flat, 16, {{1, 11}, {2, 12}});
  flat.ApplyNarrowWide(White, Black);
  flat.QuantizeCell(White, Black);
  EXPECT_EQ(flat.Width(), 16);
  EXPECT_EQ(flat.Height(), 8);
  EXPECT_EQ(flat.GetPixel(1, 7), Black);
  for (int y = 0; y < 8; ++y) EXPECT_EQ(flat.GetPixel(2, y), White);

  // Without a squeeze whatever lies outside the cell is dropped.
  TChr plain;
  plain.Settings = Cell(8, 16, 0);
  Paint(plain, 16, {{12, 3}});
  plain.QuantizeCell(White, Black);
  for (TColor c : plain.Pixels()) EXPECT_EQ(c, White);
}

TEST(DrawGlyph, OffsetsPastTheEdgeLeaveOnlyBackground) {
  TFont font = test::TestFont();
  for (auto [x, y] : {std::pair{20, 0}, std::pair{0, 20}, std::pair{-40, 0}, std::pair{0, -40}}) {
    TChr engine;
    engine.Settings = test::StartSettings(&font);
    engine.Settings.OffsetX = x;
    engine.Settings.OffsetY = y;
    engine.PrepareCell();
    engine.DrawGlyph(u'你', White, Black);
    engine.QuantizeCell(White, Black);
    for (TColor c : engine.Pixels()) ASSERT_EQ(c, White) << x << "," << y;
  }
}

TEST(DrawGlyph, EveryCharacterOfARunIsDrawnOnTheSameSquare) {
  TFont font = test::TestFont();
  TChr engine;
  engine.Settings = test::StartSettings(&font);
  engine.Settings.CellWidth = 8;
  engine.Settings.NarrowWide = -6;
  engine.PrepareCell();
  std::vector<TColor> first, again;
  engine.DrawGlyph(u'你', White, Black);
  engine.ApplyNarrowWide(White, Black);
  engine.QuantizeCell(White, Black);
  first = engine.Pixels();
  engine.DrawGlyph(u'好', White, Black);
  engine.QuantizeCell(White, Black);
  engine.DrawGlyph(u'你', White, Black);
  EXPECT_EQ(engine.Width(), 16);
  EXPECT_EQ(engine.Height(), 16);
  engine.ApplyNarrowWide(White, Black);
  engine.QuantizeCell(White, Black);
  again = engine.Pixels();
  EXPECT_EQ(first, again);
  EXPECT_NE(std::count(first.begin(), first.end(), Black), 0);
}

TEST(DrawGlyph, EqualFillAndGlyphColoursGiveOneColour) {
  TFont font = test::TestFont();
  TChr engine;
  engine.Settings = test::StartSettings(&font);
  engine.PrepareCell();
  engine.DrawGlyph(u'好', 0x000080, 0x000080);
  engine.ApplyNarrowWide(0x000080, 0x000080);
  engine.QuantizeCell(0x000080, 0x000080);
  for (TColor c : engine.Pixels()) EXPECT_EQ(c, 0x000080u);
}

}  // namespace
}  // namespace mipofc
