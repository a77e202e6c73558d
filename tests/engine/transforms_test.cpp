#include <gtest/gtest.h>

#include "engine/chr.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

using test::HexOf;
using test::TileFromHex;

TEST(ShiftTile, RotatesTheSixteenBytes) {
  struct Case {
    const char* input;
    int m;
    const char* output;
  } cases[] = {
      {"01 02 03 04 05 06 07 08 11 12 13 14 15 16 17 18", 3, "16 17 18 01 02 03 04 05 06 07 08 11 12 13 14 15"},
      {"01 02 03 04 05 06 07 08 11 12 13 14 15 16 17 18", 8, "11 12 13 14 15 16 17 18 01 02 03 04 05 06 07 08"},
      {"01 02 03 04 05 06 07 08 11 12 13 14 15 16 17 18", 11, "06 07 08 11 12 13 14 15 16 17 18 01 02 03 04 05"},
      {"40 40 40 40 40 40 7E 00 00 00 00 00 00 00 00 00", 3, "00 00 00 40 40 40 40 40 40 7E 00 00 00 00 00 00"},
  };
  for (const Case& c : cases) EXPECT_EQ(HexOf(TChr::ShiftTile(TileFromHex(c.input), c.m)), c.output) << c.m;
}

TEST(ShiftTile, RoundTripsAndKeepsUniformTiles) {
  const TTile tile = TileFromHex("3C 42 81 81 81 81 42 3C 18 18 18 18 18 18 18 18");
  const TTile uniform = TileFromHex("A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 A5 A5");
  for (int m = 1; m <= 15; ++m) {
    EXPECT_EQ(TChr::ShiftTile(TChr::ShiftTile(tile, m), 16 - m), tile) << m;
    EXPECT_EQ(TChr::ShiftTile(uniform, m), uniform) << m;
  }
  // Out of range shifts wrap around the ring instead of reading outside the tile.
  EXPECT_EQ(TChr::ShiftTile(tile, 19), TChr::ShiftTile(tile, 3));
  EXPECT_EQ(TChr::ShiftTile(tile, -13), TChr::ShiftTile(tile, 3));
}

TEST(TransposeTile, MirrorsEachPlaneAcrossTheDiagonal) {
  EXPECT_EQ(HexOf(TChr::TransposeTile(TileFromHex("40 40 40 40 40 40 7E 00 00 00 00 00 00 00 00 00"))),
            "00 FE 02 02 02 02 02 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(HexOf(TChr::TransposeTile(TileFromHex("80 C0 E0 F0 F8 FC FE FF 01 00 00 00 00 00 00 00"))),
            "FF 7F 3F 1F 0F 07 03 01 00 00 00 00 00 00 00 80");
  const TTile any = TileFromHex("12 34 56 78 9A BC DE F0 0F ED CB A9 87 65 43 21");
  EXPECT_EQ(TChr::TransposeTile(TChr::TransposeTile(any)), any);
  const TTile symmetric = TileFromHex("00 00 00 00 00 00 00 00 FF FF FF FF FF FF FF FF");
  EXPECT_EQ(TChr::TransposeTile(symmetric), symmetric);
}

TCellTiles RingAndBars() {
  TCellTiles cell;
  cell.ColsMinus1 = 1;
  cell.RowsMinus1 = 1;
  cell.Tiles[0][0] = TileFromHex("3C 42 81 81 81 81 42 3C 00 00 00 00 00 00 00 00");
  cell.Tiles[0][1] = TileFromHex("18 18 18 18 18 18 18 18 00 00 00 00 00 00 00 00");
  cell.Tiles[1][0] = TileFromHex("FF 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
  cell.Tiles[1][1] = TileFromHex("00 00 00 00 00 00 00 FF 00 00 00 00 00 00 00 00");
  return cell;
}

TEST(Fold, RowsAndColumnsOfTheWorkedExample) {
  TCellTiles rows = RingAndBars();
  TChr::FoldRows(rows);
  EXPECT_EQ(rows.ColsMinus1, 1);
  EXPECT_EQ(rows.RowsMinus1, 0);
  EXPECT_EQ(HexOf(rows.Tiles[0][0]), "3C 42 81 81 81 81 42 3C 18 18 18 18 18 18 18 18");
  EXPECT_EQ(HexOf(rows.Tiles[1][0]), "FF 00 00 00 00 00 00 00 00 00 00 00 00 00 00 FF");

  TCellTiles cols = RingAndBars();
  TChr::FoldColumns(cols);
  EXPECT_EQ(cols.ColsMinus1, 0);
  EXPECT_EQ(cols.RowsMinus1, 1);
  EXPECT_EQ(HexOf(cols.Tiles[0][0]), "3C 42 81 81 81 81 42 3C FF 00 00 00 00 00 00 00");
  EXPECT_EQ(HexOf(cols.Tiles[0][1]), "18 18 18 18 18 18 18 18 00 00 00 00 00 00 00 FF");
}

TEST(Fold, FourRowsOrColumnsBecomeTwoAndDropThePartnersPlaneOne) {
  TCellTiles cell;
  cell.ColsMinus1 = 3;
  cell.RowsMinus1 = 3;
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r)
      for (int j = 0; j < 16; ++j) cell.Tiles[c][r].Byte(j) = static_cast<std::uint8_t>(16 * c + 4 * r + (j < 8 ? 1 : 2));
  TCellTiles rows = cell;
  TChr::FoldRows(rows);
  EXPECT_EQ(rows.RowsMinus1, 1);
  EXPECT_EQ(rows.ColsMinus1, 3);
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 2; ++r) {
      EXPECT_EQ(rows.Tiles[c][r].Plane0[5], cell.Tiles[c][2 * r].Plane0[5]);
      EXPECT_EQ(rows.Tiles[c][r].Plane1[5], cell.Tiles[c][2 * r + 1].Plane0[5]);
    }
  TCellTiles cols = cell;
  TChr::FoldColumns(cols);
  EXPECT_EQ(cols.ColsMinus1, 1);
  EXPECT_EQ(cols.RowsMinus1, 3);
  for (int c = 0; c < 2; ++c)
    for (int r = 0; r < 4; ++r) {
      EXPECT_EQ(cols.Tiles[c][r].Plane0[0], cell.Tiles[2 * c][r].Plane0[0]);
      EXPECT_EQ(cols.Tiles[c][r].Plane1[0], cell.Tiles[2 * c + 1][r].Plane0[0]);
    }
}

TEST(TransformCell, AppliesTheModeToTheCellsOwnTilesOnly) {
  const TTile marker = TileFromHex("01 02 03 04 05 06 07 08 11 12 13 14 15 16 17 18");
  TCellTiles cell;
  cell.ColsMinus1 = 0;
  cell.RowsMinus1 = 1;
  cell.Tiles[0][0] = cell.Tiles[0][1] = cell.Tiles[1][0] = marker;
  for (int mode : {0, 5, -1, 1, 2}) {
    TChr engine;
    engine.Settings.EncodeMode = mode;
    engine.Settings.M = 3;
    TCellTiles out = cell;
    engine.TransformCell(out);
    const TTile expected = mode == 1   ? TChr::ShiftTile(marker, 3)
                           : mode == 2 ? TChr::TransposeTile(marker)
                                       : marker;
    EXPECT_EQ(out.Tiles[0][0], expected) << mode;
    EXPECT_EQ(out.Tiles[0][1], expected) << mode;
    EXPECT_EQ(out.Tiles[1][0], marker) << mode;  // outside the cell
    EXPECT_EQ(out.ColsMinus1, 0);
    EXPECT_EQ(out.RowsMinus1, 1);
  }
}

TEST(TransformCell, FoldsToASingleTileWhereTheWindowOffersIt) {
  TChr engine;
  TCellTiles tall;  // 8x16 in mode 3
  tall.ColsMinus1 = 0;
  tall.RowsMinus1 = 1;
  engine.Settings.EncodeMode = 3;
  engine.TransformCell(tall);
  EXPECT_EQ(tall.RowsMinus1, 0);
  TCellTiles wide;  // 16x8 in mode 4
  wide.ColsMinus1 = 1;
  wide.RowsMinus1 = 0;
  engine.Settings.EncodeMode = 4;
  engine.TransformCell(wide);
  EXPECT_EQ(wide.ColsMinus1, 0);
  // Nothing to fold: a one-row cell in mode 3 keeps its tiles.
  TCellTiles flat;
  flat.ColsMinus1 = 1;
  flat.RowsMinus1 = 0;
  flat.Tiles[1][0] = TileFromHex("01 02 03 04 05 06 07 08 11 12 13 14 15 16 17 18");
  TCellTiles before = flat;
  engine.Settings.EncodeMode = 3;
  engine.TransformCell(flat);
  EXPECT_EQ(flat.RowsMinus1, 0);
  EXPECT_EQ(flat.Tiles[1][0], before.Tiles[1][0]);
}

}  // namespace
}  // namespace mipofc
