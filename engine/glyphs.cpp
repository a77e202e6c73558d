// Glyph data: each character's tiles one after another, for a game that copies them into
// CHR-RAM as it prints.
#include <stdexcept>

#include "engine/cell_places.h"
#include "engine/chr.h"

namespace mipofc {

void TChr::AppendGlyphs(const TChrSettings& settings, std::u16string_view text, int bitsPerPixel, std::string& out) {
  if (bitsPerPixel == 1 && settings.EncodeMode != 0)
    throw std::invalid_argument("one bit a pixel holds only the glyphs of encoding mode 0");
  Settings = settings;
  Text = text;
  PrepareCell();
  const TPlacedShape shape = PlacedShape(Settings);
  const std::size_t tileBytes = bitsPerPixel == 1 ? 8 : 16;
  out.reserve(out.size() + text.size() * static_cast<std::size_t>(shape.Cols * shape.Rows) * tileBytes);
  // A pixel has the glyph colour where each plane matches the glyph colour's bit in that plane.
  const std::uint8_t flip0 = Plane0Bit[Settings.GlyphIndex & 3] ? 0x00 : 0xFF;
  const std::uint8_t flip1 = Plane1Bit[Settings.GlyphIndex & 3] ? 0x00 : 0xFF;
  TCellTiles cell;
  std::array<std::array<std::int8_t, 2>, 16> order;
  const TFontFace* face = nullptr;
  for (const char16_t ch : Text) {
    MakeCell(ch, face, cell);
    const int count = ScanOrder(cell, Settings.ScanHorizontal, order);
    for (int i = 0; i < count; ++i) {
      const TTile& tile = cell.Tiles[order[static_cast<std::size_t>(i)][0]][order[static_cast<std::size_t>(i)][1]];
      if (bitsPerPixel != 1) {
        out.append(reinterpret_cast<const char*>(&tile), sizeof tile);
        continue;
      }
      char rows[8];
      for (int r = 0; r < 8; ++r)
        rows[r] = static_cast<char>((tile.Plane0[r] ^ flip0) & (tile.Plane1[r] ^ flip1));
      out.append(rows, 8);
    }
  }
}

}  // namespace mipofc
