// Drawing cached glyphs: blended onto a surface, or as rows of ink bits for a cell of at most
// 32 x 32 pixels. Both draw the same pixels: the glyph's bitmap, then underline and strike-out.
#include "font/font_impl.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <array>
#include <bit>
#include <cstring>

#include "font/surface.h"

namespace mipofc::fontdetail {

namespace {

// The eight pixel masks of each glyph byte, bit 7 first.
const auto kByteMasks = [] {
  std::array<std::array<std::uint32_t, 8>, 256> masks{};
  for (int v = 0; v < 256; ++v)
    for (int j = 0; j < 8; ++j) masks[v][j] = (v >> (7 - j)) & 1 ? 0xFFFFFFFFu : 0u;
  return masks;
}();

// Paints colour into the eight pixels at out where the glyph byte has ink.
inline void BlendByte(std::uint32_t* out, std::uint8_t bits, std::uint32_t colour) {
  if (bits == 0) return;
  const std::uint32_t* mask = kByteMasks[bits].data();
#if defined(__SSE2__)
  const __m128i ink = _mm_set1_epi32(static_cast<int>(colour));
  for (int half = 0; half < 8; half += 4) {
    const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + half));
    __m128i* at = reinterpret_cast<__m128i*>(out + half);
    _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(m, ink), _mm_andnot_si128(m, _mm_loadu_si128(at))));
  }
#else
  for (int j = 0; j < 8; ++j) out[j] = (colour & mask[j]) | (out[j] & ~mask[j]);
#endif
}

// [lo, hi) clipped to [0, size), as ints; empty when nothing of it is inside.
struct Span {
  int lo = 0, hi = 0;
  Span(std::int64_t from, std::int64_t to, int size)
      : lo(static_cast<int>(std::clamp<std::int64_t>(from, 0, size))),
        hi(static_cast<int>(std::clamp<std::int64_t>(to, 0, size))) {}
  bool Empty() const { return lo >= hi; }
};

// Bits lo..hi-1 of an ink row (bit 31 is column 0); 0 <= lo < hi <= 32.
inline std::uint32_t Columns(int lo, int hi) {
  const std::uint32_t from = 0xFFFFFFFFu >> lo;
  return hi >= 32 ? from : from & ~(0xFFFFFFFFu >> hi);
}

// 32 bits of a packed glyph row from glyph column first on (negative: blank columns before
// the glyph); columns past the row's stride bytes are blank.
inline std::uint32_t RowWindow(const std::uint8_t* row, int stride, int first) {
  const int byte0 = FloorDiv(first, 8);
  std::uint64_t bits = 0;
  for (int i = 0; i < 5; ++i) {
    const int b = byte0 + i;
    bits = bits << 8 | (b >= 0 && b < stride ? row[b] : 0u);
  }
  return static_cast<std::uint32_t>(bits >> (8 - (first - 8 * byte0)));
}

// A glyph row of Stride (1..4) bytes as ink bits, its first column in bit 31.
template <int Stride>
inline std::uint32_t LoadRow(const std::uint8_t* row) {
  std::uint32_t bits = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&bits, row, Stride);
    return __builtin_bswap32(bits);
  }
  for (int b = 0; b < Stride; ++b) bits |= std::uint32_t{row[b]} << (24 - 8 * b);
  return bits;
}

// ORs n glyph rows of Stride bytes, moved right by shift (0..31) and cut to inside, into out.
template <int Stride>
inline void OrRows(const std::uint8_t* row, int n, int shift, std::uint32_t inside, std::uint32_t* out) {
  for (int r = 0; r < n; ++r, row += Stride) out[r] |= (LoadRow<Stride>(row) >> shift) & inside;
}

}  // namespace

void ResolvedFont::Draw(TBitmap& surface, int x, int y, char16_t ch, std::uint32_t colour) const {
  const Glyph& g = GlyphFor(ch);
  // Offsets may be any int: positions are reckoned wide, so none wraps around.
  const std::int64_t baseline = std::int64_t{y} + ascent_;
  const std::int64_t gx = std::int64_t{x} + g.left, gy = baseline - g.top;
  const int stride = (g.width + 7) / 8;
  const int width = surface.Width();
  colour &= 0xFFFFFF;
  // Columns and rows of the glyph that land on the surface.
  const Span cols(-gx, width - gx, g.width), rows(-gy, surface.Height() - gy, g.height);
  if (!cols.Empty()) {
    const int left = static_cast<int>(gx);  // the columns that land are in range
    const std::uint8_t tail = static_cast<std::uint8_t>(0xFF << (8 * stride - g.width));
    for (int r = rows.lo; r < rows.hi; ++r) {
      const std::uint8_t* row = bits_.data() + g.offset + static_cast<std::size_t>(r) * stride;
      TColor* line = surface.Pixels().data() + static_cast<std::size_t>(gy + r) * width;
      // Whole bytes of the row that land on the surface go eight pixels at a time; the bits
      // past the glyph's width are cut off, so they leave their pixels alone.
      int c = cols.lo;
      if ((c & 7) == 0) {
        const int bytesEnd = static_cast<int>(std::min<std::int64_t>(8 * stride, width - gx));
        for (; c + 8 <= bytesEnd; c += 8)
          BlendByte(line + (left + c), c + 8 > g.width ? row[c >> 3] & tail : row[c >> 3], colour);
      }
      // A select per pixel rather than a jump per ink pixel: glyph rows give the branch
      // predictor nothing to learn.
      for (; c < cols.hi; ++c) {
        const TColor ink = 0u - static_cast<TColor>((row[c >> 3] >> (7 - (c & 7))) & 1);
        line[left + c] = (colour & ink) | (line[left + c] & ~ink);
      }
    }
  }
  const auto bar = [&](std::int64_t top, int thickness) {
    const Span across(x, std::int64_t{x} + g.advance, width), down(top, top + thickness, surface.Height());
    for (int r = down.lo; r < down.hi; ++r)
      for (int c = across.lo; c < across.hi; ++c) surface.SetPixel(c, r, colour);
  };
  if (underline_) bar(baseline + underTop_, underThick_);
  if (strikeOut_) bar(baseline - strikeTop_, strikeThick_);
}

void ResolvedFont::InkRows(int x, int y, char16_t ch, int width, int height, std::uint32_t* ink) const {
  const Glyph& g = GlyphFor(ch);
  width = std::clamp(width, 0, 32);
  height = std::clamp(height, 0, 32);
  if (width == 0) return;
  const std::int64_t baseline = std::int64_t{y} + ascent_;
  const std::int64_t gx = std::int64_t{x} + g.left, gy = baseline - g.top;
  const int stride = (g.width + 7) / 8;
  const Span cols(-gx, width - gx, g.width), rows(-gy, height - gy, g.height);
  if (!cols.Empty() && !rows.Empty()) {
    // The cell's columns that the glyph covers: this also cuts off the bits past its width.
    const std::uint32_t inside = Columns(static_cast<int>(gx + cols.lo), static_cast<int>(gx + cols.hi));
    const std::uint8_t* row = bits_.data() + g.offset + static_cast<std::size_t>(rows.lo) * stride;
    std::uint32_t* out = ink + (gy + rows.lo);
    // The usual case: a glyph of at most 32 columns that starts inside the cell.
    const int n = rows.hi - rows.lo, shift = static_cast<int>(gx);
    if (gx >= 0 && stride == 1) {
      OrRows<1>(row, n, shift, inside, out);
    } else if (gx >= 0 && stride == 2) {
      OrRows<2>(row, n, shift, inside, out);
    } else if (gx >= 0 && stride == 3) {
      OrRows<3>(row, n, shift, inside, out);
    } else if (gx >= 0 && stride == 4) {
      OrRows<4>(row, n, shift, inside, out);
    } else {
      const int first = static_cast<int>(-gx);  // gx lies within (-g.width, width)
      for (int r = rows.lo; r < rows.hi; ++r, row += stride) *out++ |= RowWindow(row, stride, first) & inside;
    }
  }
  const auto bar = [&](std::int64_t top, int thickness) {
    const Span across(x, std::int64_t{x} + g.advance, width), down(top, top + thickness, height);
    if (across.Empty()) return;
    const std::uint32_t bits = Columns(across.lo, across.hi);
    for (int r = down.lo; r < down.hi; ++r) ink[r] |= bits;
  };
  if (underline_) bar(baseline + underTop_, underThick_);
  if (strikeOut_) bar(baseline - strikeTop_, strikeThick_);
}

}  // namespace mipofc::fontdetail
