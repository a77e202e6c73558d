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

// The plane bytes of the background and glyph colours: each plane row is the glyph mask, its
// inverse, all ones or all zeros.
struct PlaneColours {
  std::uint8_t ink0, paper0, ink1, paper1;
  explicit PlaneColours(const TChrSettings& s) {
    // Indexes outside 0..3 would read past the colour-index table; the window never sends them.
    const int bg = s.BgIndex & 3, fg = s.GlyphIndex & 3;
    ink0 = Plane0Bit[fg] ? 0xFF : 0;
    paper0 = Plane0Bit[bg] ? 0xFF : 0;
    ink1 = Plane1Bit[fg] ? 0xFF : 0;
    paper1 = Plane1Bit[bg] ? 0xFF : 0;
  }
  void Put(TTile& out, int r, std::uint8_t mask) const {
    const std::uint8_t paper = static_cast<std::uint8_t>(~mask);
    out.Plane0[r] = static_cast<std::uint8_t>((mask & ink0) | (paper & paper0));
    out.Plane1[r] = static_cast<std::uint8_t>((mask & ink1) | (paper & paper1));
  }
};
}  // namespace

void TChr::EncodeTile(int a, int b, TTile& out) const {
  const PlaneColours colours(Settings);
  const bool inside = a >= 0 && b >= 0 && 8 * a + 8 <= Width() && 8 * b + 8 <= Height();
  const int width = Width();
  for (int r = 0; r < 8; ++r) {
    std::uint8_t mask = 0;
    if (inside) {
      mask = InkMask8(Pixels().data() + static_cast<std::size_t>(8 * b + r) * width + 8 * a);
    } else {
      for (int j = 0; j < 8; ++j) mask |= PixelDiffers(8 * a + j, 8 * b + r, 0xFFFFFF) ? BitWeight[j] : 0;
    }
    colours.Put(out, r, mask);
  }
}

void TChr::EncodeCell(TCellTiles& out) const {
  // The tile array holds at most 4 x 4 tiles (32 x 32 pixels).
  out.ColsMinus1 = std::min(TileCols, 4) - 1;
  out.RowsMinus1 = std::min(TileRows, 4) - 1;
  for (int b = 0; b < TileRows && b < 4; ++b)
    for (int a = 0; a < TileCols && a < 4; ++a) EncodeTile(a, b, out.Tiles[a][b]);
}

bool TChr::InkRowsSuffice() const {
  const int w = Settings.CellWidth, h = Settings.CellHeight;
  return w > 0 && h > 0 && w <= 32 && h <= 32;
}

void TChr::GlyphInk(const TFontFace& face, char16_t ch, TInkRows& ink) {
  // The surface DrawGlyph would paint is side x side; the crop to the cell comes with the tiles.
  const int side = std::max(Settings.CellWidth, Settings.CellHeight);
  face.InkRows(Settings.OffsetX, Settings.OffsetY, ch, side, side, ink.data());
  if (Settings.NarrowWide != 0) SqueezeInk(ink, side);
}

void TChr::EncodeGlyph(const TFontFace& face, char16_t ch, TCellTiles& out) {
  TInkRows ink{};
  GlyphInk(face, ch, ink);
  EncodeInk(ink, out);
}

void TChr::CellInk(char16_t ch, TInkRows& ink) {
  ink = {};
  GlyphInk(CanvasFace(), ch, ink);
  const int w = std::clamp(Settings.CellWidth, 0, 32), h = std::clamp(Settings.CellHeight, 0, 32);
  const std::uint32_t columns = w == 0 ? 0 : ~std::uint32_t{0} << (32 - w);
  for (int y = 0; y < 32; ++y) ink[static_cast<std::size_t>(y)] = y < h ? ink[static_cast<std::size_t>(y)] & columns : 0;
}

void TChr::EncodeInk(const TInkRows& ink, TCellTiles& out) const {
  const PlaneColours colours(Settings);
  // Held in locals: the stores into out could otherwise be taken to change them.
  const int cols = std::min(TileCols, 4), tileRows = std::min(TileRows, 4);
  out.ColsMinus1 = cols - 1;
  out.RowsMinus1 = tileRows - 1;
  for (int b = 0; b < tileRows; ++b) {
    const std::uint32_t* rows = ink.data() + 8 * b;
#if defined(__SSE2__)
    // A tile's eight mask bytes are one byte of each of eight rows: shifted down, cut to a
    // byte and packed, they make both planes with two operations each.
    // The rows were just written a word at a time: loaded the same way, they come straight
    // from the stores rather than waiting for them to reach the cache.
    const __m128i top = _mm_set_epi32(static_cast<int>(rows[3]), static_cast<int>(rows[2]), static_cast<int>(rows[1]),
                                      static_cast<int>(rows[0]));
    const __m128i bottom = _mm_set_epi32(static_cast<int>(rows[7]), static_cast<int>(rows[6]),
                                         static_cast<int>(rows[5]), static_cast<int>(rows[4]));
    const __m128i byte = _mm_set1_epi32(0xFF);
    const __m128i flip0 = _mm_set1_epi8(static_cast<char>(colours.ink0 ^ colours.paper0));
    const __m128i flip1 = _mm_set1_epi8(static_cast<char>(colours.ink1 ^ colours.paper1));
    const __m128i paper0 = _mm_set1_epi8(static_cast<char>(colours.paper0));
    const __m128i paper1 = _mm_set1_epi8(static_cast<char>(colours.paper1));
    for (int a = 0; a < cols; ++a) {
      const __m128i shift = _mm_cvtsi32_si128(24 - 8 * a);
      const __m128i mask = _mm_packus_epi16(
          _mm_packs_epi32(_mm_and_si128(_mm_srl_epi32(top, shift), byte), _mm_and_si128(_mm_srl_epi32(bottom, shift), byte)),
          _mm_setzero_si128());
      // Both planes in one store, so that placing the tile reads what one store wrote.
      const __m128i plane0 = _mm_xor_si128(paper0, _mm_and_si128(mask, flip0));
      const __m128i plane1 = _mm_xor_si128(paper1, _mm_and_si128(mask, flip1));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(&out.Tiles[a][b]), _mm_unpacklo_epi64(plane0, plane1));
    }
#else
    for (int a = 0; a < cols; ++a)
      for (int r = 0; r < 8; ++r) colours.Put(out.Tiles[a][b], r, static_cast<std::uint8_t>(rows[r] >> (24 - 8 * a)));
#endif
  }
}

}  // namespace mipofc
