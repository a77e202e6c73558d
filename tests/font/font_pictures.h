#pragma once

// Pictures of drawn glyphs for the font tests, and the test font's file read on its own, so
// that what the font layer draws can be compared with what the file says.

#include <map>
#include <string>
#include <vector>

#include "font/font.h"
#include "font/surface.h"

namespace mipofc::test {

inline constexpr TColor Paper = 0xFFFFFF;
inline constexpr TColor Ink = 0x336699;

/// The test font's BDF file.
std::string BdfPath();

/// One glyph as the BDF file gives it.
struct BdfGlyph {
  int advance = 0, width = 0, height = 0, xoff = 0, yoff = 0;
  std::vector<unsigned long> rows;  ///< left-aligned in (width + 7) / 8 bytes
  bool At(int c, int r) const {
    const int bits = (width + 7) / 8 * 8;
    return (rows[static_cast<std::size_t>(r)] >> (bits - 1 - c)) & 1;
  }
};

/// What the test font's file says, read independently of the font layer.
struct BdfFile {
  std::map<std::string, int> props;
  std::map<int, BdfGlyph> glyphs;
};

/// The test font's file, read once.
const BdfFile& Bdf();
/// An integer property of the test font's file; INT_MIN when it has none.
int Prop(const char* name);
/// The test font as a named file at 12 points, which is its 16-pixel strike, drawn in Ink.
TFont BdfFont();

/// A picture of a surface, one text row per pixel row: '#' ink, '.' paper, '?' anything else.
using Picture = std::vector<std::string>;

/// A w x h picture of paper only.
Picture Blank(int w, int h);
/// Ink at (x, y), when that lies in the picture.
void Mark(Picture& p, int x, int y);
/// The picture as lines of text, for failure messages and comparisons.
std::string Show(const Picture& p);
/// Draws one code unit on a paper surface of w x h with the top-left of its box at (x, y).
Picture Draw(const TFont& font, char16_t ch, int w, int h, int x, int y);
/// Marks where the font file puts glyph g with its box at (x, y), moved dx right: its bitmap's
/// top row lies FONT_ASCENT - (height + yoff) below the box top, its left column xoff right of
/// the origin.
void MarkGlyph(Picture& p, const BdfGlyph& g, int x, int y, int dx = 0);
/// A w x h picture of the file's glyph of ch with its box at (x, y).
Picture Expected(char16_t ch, int w, int h, int x, int y);
/// Pixels that are not paper.
int InkCount(const Picture& p);

}  // namespace mipofc::test
