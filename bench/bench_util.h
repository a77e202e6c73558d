#pragma once

// What the engine benchmarks share: the text they draw and the settings they draw it with.

#include <string>

#include "engine/chr.h"

namespace mipofc {

/// The 20,902 unified ideographs U+4E00..U+9FA5.
inline std::u16string Ideographs() {
  std::u16string text;
  for (char16_t c = 0x4E00; c <= 0x9FA5; ++c) text += c;
  return text;
}

/// Square cells of cell pixels, glyph colour 1, row by row, mode 0, block distribution, 4K banks.
inline TChrSettings BenchSettings(TFont* font, int cell) {
  TChrSettings s;
  s.CellWidth = s.CellHeight = cell;
  s.Font = font;
  s.GlyphIndex = 1;
  s.ScanHorizontal = true;
  s.M = 1;
  s.Distribution = 1;
  s.Limit = 4096;
  return s;
}

}  // namespace mipofc
