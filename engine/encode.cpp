#include <algorithm>

#include "engine/chr.h"

namespace mipofc {

void TChr::EncodeTile(int a, int b, TTile& out) const {
  // Indexes outside 0..3 would read past the colour-index table; the window never sends them.
  const int bg = Settings.BgIndex & 3, fg = Settings.GlyphIndex & 3;
  for (int r = 0; r < 8; ++r) {
    std::uint8_t p0 = 0, p1 = 0;
    for (int j = 0; j < 8; ++j) {
      const int c = PixelDiffers(8 * a + j, 8 * b + r, 0xFFFFFF) ? fg : bg;
      if (Plane0Bit[c]) p0 |= BitWeight[j];
      if (Plane1Bit[c]) p1 |= BitWeight[j];
    }
    out.Plane0[r] = p0;
    out.Plane1[r] = p1;
  }
}

void TChr::EncodeCell(TCellTiles& out) const {
  // The tile array holds at most 4 x 4 tiles (32 x 32 pixels).
  out.ColsMinus1 = std::min(TileCols, 4) - 1;
  out.RowsMinus1 = std::min(TileRows, 4) - 1;
  for (int b = 0; b < TileRows && b < 4; ++b)
    for (int a = 0; a < TileCols && a < 4; ++a) EncodeTile(a, b, out.Tiles[a][b]);
}

}  // namespace mipofc
