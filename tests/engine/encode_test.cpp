#include <gtest/gtest.h>

#include "engine/chr.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

constexpr TColor White = 0xFFFFFF, Black = 0;

// A quantised cell of width x height, white but for the listed black pixels.
void Cell(TChr& engine, int width, int height, int bg, int glyph, const std::vector<std::pair<int, int>>& ink,
          TColor inkColour = Black) {
  TChrSettings s = test::StartSettings(nullptr);
  s.CellWidth = width;
  s.CellHeight = height;
  s.BgIndex = bg;
  s.GlyphIndex = glyph;
  engine.ApplySettings(s);
  engine.SetSize(width, height);
  engine.Canvas.BrushColor = engine.Canvas.PenColor = White;
  engine.FillRect(0, 0, width, height);
  for (auto [x, y] : ink) engine.SetPixel(x, y, inkColour);
}

TEST(EncodeTile, SinglePixelsLandOnTheirBits) {
  struct Case {
    int x, y, bg, glyph;
    const char* tile;
  } cases[] = {
      {0, 0, 0, 1, "80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
      {7, 0, 0, 1, "01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
      {0, 7, 0, 2, "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 80"},
      {3, 2, 0, 3, "00 00 10 00 00 00 00 00 00 00 10 00 00 00 00 00"},
      {3, 2, 1, 0, "FF FF EF FF FF FF FF FF 00 00 00 00 00 00 00 00"},
      {3, 2, 2, 1, "00 00 10 00 00 00 00 00 FF FF EF FF FF FF FF FF"},
      {3, 2, 3, 0, "FF FF EF FF FF FF FF FF FF FF EF FF FF FF FF FF"},
  };
  for (const Case& c : cases) {
    TChr engine;
    Cell(engine, 8, 8, c.bg, c.glyph, {{c.x, c.y}});
    TTile tile;
    engine.EncodeTile(0, 0, tile);
    EXPECT_EQ(test::HexOf(tile), c.tile) << c.x << "," << c.y << " bg " << c.bg << " glyph " << c.glyph;
  }
}

TEST(EncodeTile, EqualIndexesGiveOneColourWhateverTheGlyph) {
  for (int c = 0; c < 4; ++c) {
    TChr engine;
    Cell(engine, 8, 8, c, c, {{1, 1}, {4, 6}, {7, 7}});
    TTile tile;
    engine.EncodeTile(0, 0, tile);
    for (int r = 0; r < 8; ++r) {
      EXPECT_EQ(tile.Plane0[r], (c & 1) ? 0xFF : 0x00);
      EXPECT_EQ(tile.Plane1[r], (c & 2) ? 0xFF : 0x00);
    }
  }
}

TEST(EncodeTile, AnythingButExactWhiteIsGlyph) {
  TChr engine;
  Cell(engine, 8, 8, 0, 1, {{2, 0}}, 0xFEFFFF);
  TTile tile;
  engine.EncodeTile(0, 0, tile);
  EXPECT_EQ(tile.Plane0[0], 0x20);
}

TEST(EncodeCell, FillsEntriesByColumnAndRow) {
  struct Case {
    int width, height, cols1, rows1;
  } cases[] = {{8, 16, 0, 1}, {16, 8, 1, 0}, {32, 32, 3, 3}, {16, 32, 1, 3}, {32, 16, 3, 1}};
  for (const Case& c : cases) {
    // One pixel at the top-left corner of every tile, at a column that names the tile.
    std::vector<std::pair<int, int>> ink;
    for (int a = 0; a <= c.cols1; ++a)
      for (int b = 0; b <= c.rows1; ++b) ink.push_back({8 * a + (a + b) % 8, 8 * b});
    TChr engine;
    Cell(engine, c.width, c.height, 0, 1, ink);
    TCellTiles cell;
    engine.EncodeCell(cell);
    EXPECT_EQ(cell.ColsMinus1, c.cols1);
    EXPECT_EQ(cell.RowsMinus1, c.rows1);
    for (int a = 0; a <= c.cols1; ++a)
      for (int b = 0; b <= c.rows1; ++b) {
        EXPECT_EQ(cell.Tiles[a][b].Plane0[0], BitWeight[(a + b) % 8]) << a << "," << b;
        // Entry 4a + b in storage order.
        EXPECT_EQ(reinterpret_cast<const TTile*>(cell.Tiles)[4 * a + b], cell.Tiles[a][b]);
      }
  }
}

TEST(EncodeCell, AllWhiteCellsTakeTheBackground) {
  for (auto [bg, expected] : {std::pair{0, 0x00}, std::pair{3, 0xFF}}) {
    TChr engine;
    Cell(engine, 16, 16, bg, 1, {});
    TCellTiles cell;
    engine.EncodeCell(cell);
    for (int a = 0; a < 2; ++a)
      for (int b = 0; b < 2; ++b)
        for (int j = 0; j < 16; ++j) EXPECT_EQ(cell.Tiles[a][b].Byte(j), expected);
  }
}

}  // namespace
}  // namespace mipofc
