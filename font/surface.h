#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "font/font.h"

namespace mipofc {

/// A 24-bit colour, 0x00BBGGRR; compared exactly.
using TColor = std::uint32_t;

/// What a read outside the surface returns: no 24-bit colour equals it.
inline constexpr TColor InvalidColor = 0xFFFFFFFFu;

/// The canvas state: brush (fills), pen (outlines) and font. Kept when size or pixels change.
struct TCanvasState {
  TColor BrushColor = 0xFFFFFF;
  TColor PenColor = 0;
  TFont Font;
};

/// A bitmap drawing surface of 24-bit pixels with a canvas; a new one is 0 x 0.
class TBitmap {
 public:
  int Width() const { return width_; }
  int Height() const { return height_; }
  /// Sets the width in pixels; pixels inside both the old and the new size keep their colour.
  void SetWidth(int w) { SetSize(w, height_); }
  /// Sets the height in pixels; pixels inside both the old and the new size keep their colour.
  void SetHeight(int h) { SetSize(width_, h); }
  /// Sets both sides at once (negative sides count as 0).
  void SetSize(int w, int h);
  /// Sets both sides for a caller that repaints every pixel: what they hold is unspecified.
  void Reshape(int w, int h) {
    width_ = w > 0 ? w : 0;
    height_ = h > 0 ? h : 0;
    pixels_.resize(static_cast<std::size_t>(width_) * height_);
  }

  TCanvasState Canvas;

  /// The colour at (x, y), or InvalidColor outside the surface.
  TColor GetPixel(int x, int y) const {
    return Inside(x, y) ? pixels_[static_cast<std::size_t>(y) * width_ + x] : InvalidColor;
  }
  /// Writes one pixel; writes outside the surface are dropped.
  void SetPixel(int x, int y, TColor c) {
    if (Inside(x, y)) pixels_[static_cast<std::size_t>(y) * width_ + x] = c & 0xFFFFFF;
  }
  /// Fills (x1, y1)-(x2, y2), right and bottom exclusive, with the brush; the one-pixel
  /// outline takes the pen colour. Clipped to the surface.
  void FillRect(int x1, int y1, int x2, int y2);
  /// Gives this surface the size and pixels of another; the canvas state stays.
  void Assign(const TBitmap& other);
  /// Exchanges size and pixels with another surface; both keep their canvas state.
  void SwapPixels(TBitmap& other) {
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    pixels_.swap(other.pixels_);
  }
  /// Copies src's rectangle at (sx, sy) of w x h pixels to (dx, dy) here, unscaled, clipped
  /// on both surfaces.
  void CopyRect(int dx, int dy, const TBitmap& src, int sx, int sy, int w, int h);
  /// Draws one UTF-16 code unit with the canvas font in the font's colour; (x, y) is the
  /// top-left corner of the character's text box. Throws TFontError when no font can be had.
  void TextOut(int x, int y, char16_t ch);
  /// The drawable form of the canvas font, resolved again only when the font changes.
  /// Throws TFontError when no font can be had.
  const TFontFace& CanvasFace();

  /// Row-major pixels, Width() x Height().
  const std::vector<TColor>& Pixels() const { return pixels_; }
  std::vector<TColor>& Pixels() { return pixels_; }

 private:
  bool Inside(int x, int y) const {
    return static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
           static_cast<unsigned>(y) < static_cast<unsigned>(height_);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<TColor> pixels_;
  // The resolved form of Canvas.Font, looked up again only when the font changes.
  std::shared_ptr<const TFontFace> face_;
  TFont faceFont_;
};

}  // namespace mipofc
