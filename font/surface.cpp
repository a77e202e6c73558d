#include "font/surface.h"

#include <algorithm>

namespace mipofc {

void TBitmap::SetSize(int w, int h) {
  w = std::max(w, 0);
  h = std::max(h, 0);
  if (w == width_ && h == height_) return;
  if (w == width_ || height_ == 0 || width_ == 0) {
    // Same row length (or nothing to keep): the rows that remain are already in place.
    pixels_.resize(static_cast<std::size_t>(w) * h, 0);
  } else {
    std::vector<TColor> next(static_cast<std::size_t>(w) * h, 0);
    const int keepW = std::min(w, width_);
    const int keepH = std::min(h, height_);
    for (int y = 0; y < keepH; ++y)
      std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_, keepW,
                  next.begin() + static_cast<std::ptrdiff_t>(y) * w);
    pixels_.swap(next);
  }
  width_ = w;
  height_ = h;
}

void TBitmap::FillRect(int x1, int y1, int x2, int y2) {
  const int cx1 = std::max(x1, 0), cy1 = std::max(y1, 0);
  const int cx2 = std::min(x2, width_), cy2 = std::min(y2, height_);
  if (cx1 >= cx2 || cy1 >= cy2) return;
  const TColor brush = Canvas.BrushColor & 0xFFFFFF;
  if (cx1 == 0 && cx2 == width_)
    std::fill(pixels_.begin() + static_cast<std::ptrdiff_t>(cy1) * width_,
              pixels_.begin() + static_cast<std::ptrdiff_t>(cy2) * width_, brush);
  else
    for (int y = cy1; y < cy2; ++y)
      std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + cx1, cx2 - cx1, brush);
  if ((Canvas.PenColor & 0xFFFFFF) == brush) return;
  const TColor pen = Canvas.PenColor;
  for (int x = x1; x < x2; ++x) {
    SetPixel(x, y1, pen);
    SetPixel(x, y2 - 1, pen);
  }
  for (int y = y1; y < y2; ++y) {
    SetPixel(x1, y, pen);
    SetPixel(x2 - 1, y, pen);
  }
}

void TBitmap::Assign(const TBitmap& other) {
  if (this == &other) return;
  width_ = other.width_;
  height_ = other.height_;
  pixels_.assign(other.pixels_.begin(), other.pixels_.end());
}

void TBitmap::CopyRect(int dx, int dy, const TBitmap& src, int sx, int sy, int w, int h) {
  // Clip against the source, then against the destination, moving both corners together.
  if (sx < 0) { dx -= sx; w += sx; sx = 0; }
  if (sy < 0) { dy -= sy; h += sy; sy = 0; }
  if (dx < 0) { sx -= dx; w += dx; dx = 0; }
  if (dy < 0) { sy -= dy; h += dy; dy = 0; }
  w = std::min({w, src.width_ - sx, width_ - dx});
  h = std::min({h, src.height_ - sy, height_ - dy});
  if (w <= 0 || h <= 0) return;
  for (int y = 0; y < h; ++y)
    std::copy_n(src.pixels_.begin() + static_cast<std::ptrdiff_t>(sy + y) * src.width_ + sx, w,
                pixels_.begin() + static_cast<std::ptrdiff_t>(dy + y) * width_ + dx);
}

const TFontFace& TBitmap::CanvasFace() {
  if (!face_ || !faceFont_.SameFace(Canvas.Font)) {
    face_ = ResolveFont(Canvas.Font);
    faceFont_ = Canvas.Font;
  }
  return *face_;
}

void TBitmap::TextOut(int x, int y, char16_t ch) {
  CanvasFace().Draw(*this, x, y, ch, static_cast<TColor>(Canvas.Font.Color) & 0xFFFFFF);
}

}  // namespace mipofc
