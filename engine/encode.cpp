#include <algorithm>
#include <array>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/chr.h"

namespace mipofc {

namespace {
#if defined(__SSE2__)
// Bit j to bit 7 - j.
constexpr auto kReversed = [] {
  std::array<std::uint8_t, 256> table{};
  for (int v = 0; v < 256; ++v)
    for (int j = 0; j < 8; ++j)
      if (v & (1 << j)) table[v] |= static_cast<std::uint8_t>(0x80 >> j);
  return table;
}();
#endif

// Eight pixels as a glyph mask, bit 7 for the first; every colour but exact white is glyph.
inline std::uint8_t InkMask8(const TColor* p) {
#if defined(__SSE2__)
  const __m128i white = _mm_set1_epi32(0xFFFFFF);
  const int lo = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), white)));
  const int hi = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4)), white)));
  return kReversed[~(lo | hi << 4) & 0xFF];
#else
  unsigned bits = 0;
  for (int j = 0; j < 8; ++j) bits = (bits << 1) | (p[j] != 0xFFFFFF ? 1u : 0u);
  return static_cast<std::uint8_t>(bits);
#endif
}
}  // namespace

void TChr::EncodeTile(int a, int b, TTile& out) const {
  // Indexes outside 0..3 would read past the colour-index table; the window never sends them.
  const int bg = Settings.BgIndex & 3, fg = Settings.GlyphIndex & 3;
  // Each plane row is the glyph mask, its inverse, all ones or all zeros.
  const std::uint8_t ink0 = Plane0Bit[fg] ? 0xFF : 0, paper0 = Plane0Bit[bg] ? 0xFF : 0;
  const std::uint8_t ink1 = Plane1Bit[fg] ? 0xFF : 0, paper1 = Plane1Bit[bg] ? 0xFF : 0;
  const bool inside = a >= 0 && b >= 0 && 8 * a + 8 <= Width() && 8 * b + 8 <= Height();
  const int width = Width();
  for (int r = 0; r < 8; ++r) {
    std::uint8_t mask = 0;
    if (inside) {
      mask = InkMask8(Pixels().data() + static_cast<std::size_t>(8 * b + r) * width + 8 * a);
    } else {
      for (int j = 0; j < 8; ++j) mask |= PixelDiffers(8 * a + j, 8 * b + r, 0xFFFFFF) ? BitWeight[j] : 0;
    }
    const std::uint8_t paper = static_cast<std::uint8_t>(~mask);
    out.Plane0[r] = static_cast<std::uint8_t>((mask & ink0) | (paper & paper0));
    out.Plane1[r] = static_cast<std::uint8_t>((mask & ink1) | (paper & paper1));
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
