#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

#include "engine/chr.h"

namespace mipofc {

int NarrowWideDestination(int d, int v) {
  // The scale is held in single precision: with |v| = 1 source 5 lands on 4, not on 5.
  const float s = static_cast<float>((11 - std::abs(v)) / 10.0 * 0.5 + 0.4);
  return static_cast<int>(std::trunc(d * static_cast<double>(s) + 0.5));
}

void TChr::DrawGlyph(char16_t ch, TColor fill, TColor glyph) {
  const int side = std::max(Settings.CellWidth, Settings.CellHeight);
  Reshape(side, side);  // the fill below paints every pixel
  Canvas.BrushColor = fill;
  Canvas.PenColor = fill;
  Canvas.Font.Color = static_cast<std::int32_t>(glyph);
  FillRect(0, 0, side, side);
  TextOut(Settings.OffsetX, Settings.OffsetY, ch);
}

void TChr::ApplyNarrowWide(TColor fill, TColor glyph) {
  const int v = Settings.NarrowWide;
  if (v == 0) return;
  const int w = Width(), h = Height();
  scratch_.Reshape(w, h);
  std::fill(scratch_.Pixels().begin(), scratch_.Pixels().end(), fill & 0xFFFFFF);
  int dest[64];
  const int sides = std::min(std::max(w, h), 64);
  for (int d = 0; d < sides; ++d) dest[d] = NarrowWideDestination(d, v);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (PixelDiffers(x, y, fill)) {
        if (v > 0)
          scratch_.SetPixel(x, y < 64 ? dest[y] : NarrowWideDestination(y, v), glyph);
        else
          scratch_.SetPixel(x < 64 ? dest[x] : NarrowWideDestination(x, v), y, glyph);
      }
  SwapPixels(scratch_);
}

void TChr::SqueezeInk(TInkRows& ink, int side) {
  const int v = Settings.NarrowWide;
  if (squeezeOf_ != v) {
    for (int d = 0; d < 32; ++d) squeezeTo_[static_cast<std::size_t>(d)] = NarrowWideDestination(d, v);
    squeezeOf_ = v;
  }
  // As on the surface, a source whose destination falls outside it is dropped.
  const auto lands = [side](int d) { return d >= 0 && d < side; };
  TInkRows out{};
  for (int y = 0; y < side; ++y) {
    std::uint32_t row = ink[static_cast<std::size_t>(y)];
    if (v > 0) {
      const int to = squeezeTo_[static_cast<std::size_t>(y)];
      if (lands(to)) out[static_cast<std::size_t>(to)] |= row;
      continue;
    }
    std::uint32_t moved = 0;
    for (; row != 0; row &= row - 1) {
      const int x = 31 - std::countr_zero(row);
      const int to = squeezeTo_[static_cast<std::size_t>(x)];
      if (lands(to)) moved |= 0x80000000u >> to;
    }
    out[static_cast<std::size_t>(y)] = moved;
  }
  ink = out;
}

void TChr::QuantizeCell(TColor fill, TColor glyph) {
  const int w = std::max(Settings.CellWidth, 0), h = std::max(Settings.CellHeight, 0);
  const int sw = Width(), sh = Height();
  scratch_.Reshape(w, h);
  const TColor* src = Pixels().data();
  TColor* dst = scratch_.Pixels().data();
  fill &= 0xFFFFFF;
  glyph &= 0xFFFFFF;
  for (int y = 0; y < h; ++y) {
    TColor* out = dst + static_cast<std::size_t>(y) * w;
    if (y < sh && w <= sw) {
      const TColor* in = src + static_cast<std::size_t>(y) * sw;
      for (int x = 0; x < w; ++x) out[x] = in[x] != fill ? glyph : fill;
    } else {
      // A pixel outside the surface reads as no colour at all, so it differs from the fill.
      for (int x = 0; x < w; ++x) out[x] = x >= sw || y >= sh || src[static_cast<std::size_t>(y) * sw + x] != fill ? glyph : fill;
    }
  }
  SwapPixels(scratch_);
}

}  // namespace mipofc
