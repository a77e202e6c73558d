#include "engine/chr.h"

namespace mipofc {

void TChr::TransformCell(TCellTiles& cell) const {
  switch (Settings.EncodeMode) {
    case 1:
    case 2:
      for (int r = 0; r < cell.Rows(); ++r)
        for (int c = 0; c < cell.Cols(); ++c)
          cell.Tiles[c][r] = Settings.EncodeMode == 1 ? ShiftTile(cell.Tiles[c][r], Settings.M)
                                                      : TransposeTile(cell.Tiles[c][r]);
      break;
    case 3:
      FoldRows(cell);
      break;
    case 4:
      FoldColumns(cell);
      break;
    default:
      break;
  }
}

TTile TChr::ShiftTile(const TTile& tile, std::int32_t m) {
  // The ring has 16 bytes, so a shift outside 1..15 is taken modulo 16.
  const int shift = ((m % 16) + 16) % 16;
  TTile out;
  for (int j = 0; j < 16; ++j) out.Byte((j + shift) % 16) = tile.Byte(j);
  return out;
}

TTile TChr::TransposeTile(const TTile& tile) {
  TTile out = {};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      if (tile.Plane0[x] & BitWeight[y]) out.Plane0[y] |= BitWeight[x];
      if (tile.Plane1[x] & BitWeight[y]) out.Plane1[y] |= BitWeight[x];
    }
  return out;
}

namespace {
// Plane 0 of the first partner stays, plane 0 of the second becomes plane 1.
TTile Merge(const TTile& first, const TTile& second) {
  TTile out = first;
  for (int r = 0; r < 8; ++r) out.Plane1[r] = second.Plane0[r];
  return out;
}
}  // namespace

void TChr::FoldRows(TCellTiles& cell) {
  // A cell of one tile row has no partner tiles: it stays as it is.
  if (cell.RowsMinus1 != 1 && cell.RowsMinus1 != 3) return;
  for (int c = 0; c < cell.Cols(); ++c) {
    cell.Tiles[c][0] = Merge(cell.Tiles[c][0], cell.Tiles[c][1]);
    if (cell.RowsMinus1 == 3) cell.Tiles[c][1] = Merge(cell.Tiles[c][2], cell.Tiles[c][3]);
  }
  cell.RowsMinus1 = cell.RowsMinus1 == 3 ? 1 : 0;
}

void TChr::FoldColumns(TCellTiles& cell) {
  // A cell of one tile column has no partner tiles: it stays as it is.
  if (cell.ColsMinus1 != 1 && cell.ColsMinus1 != 3) return;
  for (int r = 0; r < cell.Rows(); ++r) {
    cell.Tiles[0][r] = Merge(cell.Tiles[0][r], cell.Tiles[1][r]);
    if (cell.ColsMinus1 == 3) cell.Tiles[1][r] = Merge(cell.Tiles[2][r], cell.Tiles[3][r]);
  }
  cell.ColsMinus1 = cell.ColsMinus1 == 3 ? 1 : 0;
}

}  // namespace mipofc
