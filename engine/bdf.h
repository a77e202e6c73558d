#pragma once

// Glyph cells as a BDF 2.1 bitmap font, so that a bitmap font editor can touch them up and the
// edited font can draw the banks again.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/chr.h"

namespace mipofc {

/// One character of a BDF font: its code point and its cell's ink (TChr::CellInk).
struct TBdfGlyph {
  std::uint32_t Code = 0;
  TInkRows Ink{};
};

/// A font of glyph cells as a BDF file says it.
struct TBdfFont {
  std::string Family;                 ///< FAMILY_NAME, UTF-8
  bool Bold = false;                  ///< WEIGHT_NAME "Bold" rather than "Medium"
  bool Italic = false;                ///< SLANT "I" rather than "R"
  int CellWidth = 0;                  ///< pixels, 1..32: the font's box, every glyph's box and advance
  int CellHeight = 0;                 ///< pixels, 1..32
  int Ascent = 0;                     ///< rows of the cell above the baseline, 0..CellHeight
  std::optional<std::uint32_t> DefaultChar;  ///< the glyph drawn for a character the font lacks
  std::vector<TBdfGlyph> Glyphs;      ///< in file order
};

/// The BDF 2.1 file of font: FONTBOUNDINGBOX and every BBX the cell with its bottom row
/// CellHeight - Ascent rows below the baseline, DWIDTH the cell width, bitmap 1 for ink;
/// PIXEL_SIZE the cell height at 96 dots an inch, CHARSET_REGISTRY "ISO10646". Lines end in LF.
std::string BdfFontBytes(const TBdfFont& font);

/// Rows of the engine's cell above its font's baseline as the settings draw it (the drawing
/// point's y plus the font's ascent, moved as a vertical squeeze moves rows), within
/// 0..CellHeight. The engine must be prepared (PrepareCell).
int CellAscent(TChr& engine);

}  // namespace mipofc
