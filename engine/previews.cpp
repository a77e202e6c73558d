#include <memory>

#include "engine/chr.h"

namespace mipofc {

void TChr::DrawTextPreview(TBitmap& target, const TPalette& palette, bool grid, const TChrSettings& settings,
                           std::u16string_view text) {
  Settings = settings;
  Text = text;
  PrepareCell();
  if (static_cast<std::int64_t>(Text.size()) < Bank.Capacity) Text.resize(Bank.Capacity, u' ');
  const int w = Settings.CellWidth, h = Settings.CellHeight, g = grid ? -1 : 0;
  const TColor fill = palette[Settings.BgIndex & 3], glyph = palette[Settings.GlyphIndex & 3];
  int x = 0, y = 0;
  for (std::int32_t i = 0; i < Bank.Capacity; ++i) {
    // Cells that fall below the target would be clipped whole: drawing them changes nothing.
    if (y >= target.Height()) break;
    DrawGlyph(Text[i], fill, glyph);
    ApplyNarrowWide(fill, glyph);
    QuantizeCell(fill, glyph);
    target.CopyRect(x, y, *this, 0, 0, w + g, h + g);
    x += w;
    if (x >= target.Width()) {
      x = 0;
      y += h;
    }
  }
}

void TChr::DrawBankPreview(TBitmap& target, const TPalette& palette, bool grid, const TChrSettings& settings,
                           std::u16string_view text) {
  Settings = settings;
  Text = text;
  PrepareCell();
  BuildBank();
  const int g = grid ? -1 : 0;
  if (Width() < 8 || Height() < 8) SetSize(8, 8);
  for (int t = 0; t < 256; ++t) {
    const TTile& tile = Bank.Slots[t];
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) {
        const int p0 = (tile.Plane0[r] & BitWeight[c]) ? 1 : 0;
        const int p1 = (tile.Plane1[r] & BitWeight[c]) ? 1 : 0;
        SetPixel(c, r, palette[PairColour[2 * p0 + p1]]);
      }
    target.CopyRect((t % 16) * 8, (t / 16) * 8, *this, 0, 0, 8 + g, 8 + g);
  }
}

void ClearPreviewTarget(TBitmap& target, TColor gridColour) {
  target.SetSize(PreviewSide, PreviewSide);
  target.Canvas.BrushColor = gridColour;
  target.Canvas.PenColor = gridColour;
  target.FillRect(0, 0, PreviewSide, PreviewSide);
}

void DrawPreview(TPreviewKind kind, TBitmap& target, const TPalette& palette, bool grid,
                 const TChrSettings& settings, std::u16string_view text) {
  auto engine = std::make_unique<TChr>();
  if (kind == TPreviewKind::Text)
    engine->DrawTextPreview(target, palette, grid, settings, text);
  else
    engine->DrawBankPreview(target, palette, grid, settings, text);
}

}  // namespace mipofc
