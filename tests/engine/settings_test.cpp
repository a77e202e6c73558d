#include <gtest/gtest.h>

#include "engine/chr.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

struct GeometryRow {
  int width, height, cols, rows;
  int capacity[3][2];  // by limit 1K/2K/4K, then modes 0-2 / 3-4
};

// Characters per bank for every cell size, limit and encoding mode.
const GeometryRow kGeometry[] = {
    {8, 8, 1, 1, {{64, 128}, {128, 256}, {256, 512}}},
    {8, 16, 1, 2, {{32, 64}, {64, 128}, {128, 256}}},
    {16, 8, 2, 1, {{32, 64}, {64, 128}, {128, 256}}},
    {16, 16, 2, 2, {{16, 32}, {32, 64}, {64, 128}}},
    {16, 32, 2, 4, {{8, 16}, {16, 32}, {32, 64}}},
    {32, 16, 4, 2, {{8, 16}, {16, 32}, {32, 64}}},
    {32, 32, 4, 4, {{4, 8}, {8, 16}, {16, 32}}},
};

TEST(ApplySettings, GivesTheTileGridAndCapacityOfEveryCellLimitAndMode) {
  const int limits[3] = {1024, 2048, 4096};
  for (const GeometryRow& row : kGeometry)
    for (int l = 0; l < 3; ++l)
      for (int mode = 0; mode <= 4; ++mode) {
        TChrSettings s = test::StartSettings(nullptr);
        s.CellWidth = row.width;
        s.CellHeight = row.height;
        s.Limit = limits[l];
        s.EncodeMode = mode;
        TChr engine;
        const int capacity = engine.ApplySettings(s);
        SCOPED_TRACE(testing::Message() << row.width << "x" << row.height << " limit " << limits[l] << " mode " << mode);
        EXPECT_EQ(engine.TileCols, row.cols);
        EXPECT_EQ(engine.TileRows, row.rows);
        EXPECT_EQ(engine.Bank.TilesPerCell, row.cols * row.rows);
        EXPECT_EQ(capacity, row.capacity[l][mode >= 3 ? 1 : 0]);
        // The query neither stores the capacity nor touches the surface.
        EXPECT_EQ(engine.Bank.Capacity, 0);
        EXPECT_EQ(engine.Width(), 0);
      }
}

TEST(ApplySettings, CopiesTheWholeRecord) {
  TFont font;
  TChrSettings s = test::StartSettings(&font);
  s.NarrowWide = -3;
  s.OffsetX = -7;
  s.OffsetY = 40;
  s.M = 9;
  TChr engine;
  engine.ApplySettings(s);
  EXPECT_EQ(engine.Settings.Font, &font);
  EXPECT_EQ(engine.Settings.NarrowWide, -3);
  EXPECT_EQ(engine.Settings.OffsetX, -7);
  EXPECT_EQ(engine.Settings.OffsetY, 40);
  EXPECT_EQ(engine.Settings.M, 9);
}

TEST(ApplySettings, ACellBelowOneTileHoldsNothing) {
  TChrSettings s = test::StartSettings(nullptr);
  s.CellWidth = 4;
  TChr engine;
  EXPECT_EQ(engine.ApplySettings(s), 0);
}

TEST(PrepareCell, MakesTheSurfaceSquareAndTheCallersFontBlack) {
  struct Case {
    int width, height, side, cols, rows;
  } cases[] = {{32, 16, 32, 4, 2}, {8, 16, 16, 1, 2}, {16, 8, 16, 2, 1}, {16, 32, 32, 2, 4}, {8, 8, 8, 1, 1}};
  for (const Case& c : cases) {
    TFont font;
    font.Color = 0x80000008;
    TChrSettings s = test::StartSettings(&font);
    s.CellWidth = c.width;
    s.CellHeight = c.height;
    TChr engine;
    engine.Settings = s;
    engine.PrepareCell();
    EXPECT_EQ(engine.Width(), c.side);
    EXPECT_EQ(engine.Height(), c.side);
    EXPECT_EQ(engine.TileCols, c.cols);
    EXPECT_EQ(engine.TileRows, c.rows);
    EXPECT_EQ(engine.Bank.Capacity, 4096 / 16 / (c.cols * c.rows));
    EXPECT_EQ(font.Color, 0);
    EXPECT_EQ(engine.Canvas.Font.Color, 0);
    EXPECT_EQ(engine.Canvas.BrushColor, 0xFFFFFFu);
    EXPECT_EQ(engine.Canvas.PenColor, 0xFFFFFFu);
  }
}

}  // namespace
}  // namespace mipofc
