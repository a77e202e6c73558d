#include <algorithm>
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
