#include <gtest/gtest.h>

#include "font/surface.h"

namespace mipofc {
namespace {

TEST(Surface, StartsEmptyAndReadsOutsideAsInvalid) {
  TBitmap b;
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 0);
  EXPECT_EQ(b.GetPixel(0, 0), InvalidColor);
  b.SetPixel(0, 0, 0x123456);  // dropped, no crash
  b.SetSize(3, 2);
  b.SetPixel(2, 1, 0x123456);
  EXPECT_EQ(b.GetPixel(2, 1), 0x123456u);
  EXPECT_EQ(b.GetPixel(3, 1), InvalidColor);
  EXPECT_EQ(b.GetPixel(-1, 0), InvalidColor);
}

TEST(Surface, ResizingKeepsTheOverlap) {
  TBitmap b;
  b.SetSize(4, 4);
  b.SetPixel(1, 2, 0xABCDEF);
  b.SetPixel(3, 3, 0x111111);
  b.SetWidth(2);
  b.SetHeight(5);
  EXPECT_EQ(b.GetPixel(1, 2), 0xABCDEFu);
  b.SetSize(4, 4);
  EXPECT_EQ(b.GetPixel(1, 2), 0xABCDEFu);
  EXPECT_NE(b.GetPixel(3, 3), 0x111111u);
}

TEST(Surface, FillRectIsRightAndBottomExclusiveWithAPenOutline) {
  TBitmap b;
  b.SetSize(6, 6);
  b.Canvas.BrushColor = b.Canvas.PenColor = 0x0000FF;
  b.FillRect(-2, -2, 100, 100);
  b.Canvas.BrushColor = 0x00FF00;
  b.Canvas.PenColor = 0xFF0000;
  b.FillRect(1, 1, 5, 4);
  EXPECT_EQ(b.GetPixel(0, 0), 0x0000FFu);
  EXPECT_EQ(b.GetPixel(1, 1), 0xFF0000u);  // outline
  EXPECT_EQ(b.GetPixel(4, 3), 0xFF0000u);
  EXPECT_EQ(b.GetPixel(2, 2), 0x00FF00u);  // inside
  EXPECT_EQ(b.GetPixel(5, 3), 0x0000FFu);  // right edge excluded
  EXPECT_EQ(b.GetPixel(2, 4), 0x0000FFu);  // bottom edge excluded
}

TEST(Surface, CopyRectClipsOnBothSides) {
  TBitmap src, dst;
  src.SetSize(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) src.SetPixel(x, y, static_cast<TColor>(16 * y + x));
  dst.SetSize(5, 5);
  dst.Canvas.BrushColor = dst.Canvas.PenColor = 0xC0C0C0;
  dst.FillRect(0, 0, 5, 5);
  dst.CopyRect(3, -1, src, 0, 0, 4, 4);
  EXPECT_EQ(dst.GetPixel(3, 0), 16u);  // source row 1 lands at row 0
  EXPECT_EQ(dst.GetPixel(4, 2), 16u * 3 + 1);
  EXPECT_EQ(dst.GetPixel(2, 0), 0xC0C0C0u);
  EXPECT_EQ(dst.GetPixel(3, 3), 0xC0C0C0u);  // source has no row 4
  dst.CopyRect(0, 0, src, 2, 2, 7, 7);
  EXPECT_EQ(dst.GetPixel(1, 1), 16u * 3 + 3);
  EXPECT_EQ(dst.GetPixel(2, 2), 0xC0C0C0u);
}

TEST(Surface, AssignReplacesPixelsButKeepsTheCanvas) {
  TBitmap a, b;
  a.SetSize(2, 3);
  a.SetPixel(1, 2, 7);
  b.Canvas.BrushColor = 0x010203;
  b.Assign(a);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.GetPixel(1, 2), 7u);
  EXPECT_EQ(b.Canvas.BrushColor, 0x010203u);
}

}  // namespace
}  // namespace mipofc
