#include <algorithm>

#include "engine/cell_places.h"
#include "engine/chr.h"

namespace mipofc {

namespace {
constexpr std::int32_t SlotCount = 512;
}

void TChr::BuildBank() {
  const std::int32_t n = static_cast<std::int32_t>(
      std::min<std::int64_t>(std::max(Bank.Capacity, 0), static_cast<std::int64_t>(Text.size())));
  std::fill_n(Bank.Slots, 256, BlankTile);
  std::fill_n(Owners.begin(), 256, TSlotOwner{});
  TCellTiles cell;
  TCellCursor places(Settings);
  const TCellPlace& pattern = places.Pattern();
  const TFontFace* face = nullptr;
  for (std::int32_t k = 0; k < n; ++k) {
    MakeCell(Text[k], face, cell);
    const std::int32_t start = places.NextStart();
    for (std::int32_t i = 0; i < pattern.Count; ++i) {
      const std::int32_t slot = start + pattern.Slots[static_cast<std::size_t>(i)];
      const auto [c, r] = pattern.Tiles[static_cast<std::size_t>(i)];
      if (slot < 0 || slot >= SlotCount) continue;
      Bank.Slots[slot] = cell.Tiles[c][r];
      Owners[static_cast<std::size_t>(slot)] = {k, c, r};
    }
  }
  if (HasBlankSlot(Settings)) Bank.Slots[Settings.BlankSlot] = SolidTile(Settings.BgIndex);
}

void TChr::MakeCell(char16_t ch, const TFontFace*& face, TCellTiles& cell) {
  // Cells up to 32 x 32 go from the glyph's ink rows straight to tiles; the font is resolved
  // at the first character, as drawing it would.
  if (InkRowsSuffice()) {
    if (face == nullptr) face = &CanvasFace();
    EncodeGlyph(*face, ch, cell);
  } else {
    DrawGlyph(ch, 0xFFFFFF, 0x000000);
    ApplyNarrowWide(0xFFFFFF, 0x000000);
    QuantizeCell(0xFFFFFF, 0x000000);
    EncodeCell(cell);
  }
  TransformCell(cell);
}

int TChr::ScanOrder(const TCellTiles& cell, bool scanHorizontal, std::array<std::array<std::int8_t, 2>, 16>& order) {
  int count = 0;
  const auto put = [&](int c, int r) { order[count++] = {static_cast<std::int8_t>(c), static_cast<std::int8_t>(r)}; };
  if (scanHorizontal) {
    for (int r = 0; r < cell.Rows(); ++r)
      for (int c = 0; c < cell.Cols(); ++c) put(c, r);
  } else {
    for (int c = 0; c < cell.Cols(); ++c)
      for (int r = 0; r < cell.Rows(); ++r) put(c, r);
  }
  return count;
}

TTileSequence TChr::FlattenCell(const TCellTiles& cell, bool scanHorizontal) {
  TTileSequence seq;
  std::array<std::array<std::int8_t, 2>, 16> order;
  const int count = ScanOrder(cell, scanHorizontal, order);
  for (int i = 0; i < count; ++i) seq.Items[i] = cell.Tiles[order[i][0]][order[i][1]];
  seq.CountMinus1 = count - 1;
  return seq;
}

std::int32_t TChr::PlaceContinuous(const TTileSequence& seq, std::int32_t s) {
  for (std::int32_t i = 0; i <= seq.CountMinus1 && i < 16; ++i)
    if (s + i >= 0 && s + i < SlotCount) Bank.Slots[s + i] = seq.Items[i];
  return s + seq.CountMinus1 + 1;
}

std::int32_t TChr::PlaceBlock(const TCellTiles& cell, std::int32_t s) {
  const std::int32_t cols = cell.Cols(), rows = cell.Rows();
  for (std::int32_t r = 0; r < rows; ++r)
    for (std::int32_t c = 0; c < cols; ++c) {
      const std::int32_t slot = s + 16 * r + c;
      if (slot >= 0 && slot < SlotCount) Bank.Slots[slot] = cell.Tiles[c][r];
    }
  const std::int32_t e = s + cols;
  // A block that ends at the right edge of the pattern table starts the next band.
  return e % 16 != 0 ? e : e + 16 * (rows - 1);
}

}  // namespace mipofc
