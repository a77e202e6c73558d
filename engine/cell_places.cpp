#include "engine/cell_places.h"

#include <algorithm>

#include "engine/bank_maker.h"

namespace mipofc {

TPlacedShape PlacedShape(const TChrSettings& s) {
  TPlacedShape shape{std::clamp(s.CellWidth / 8, 0, 4), std::clamp(s.CellHeight / 8, 0, 4)};
  // A fold merges partner tiles; a single tile row or column has no partners and stays.
  if (s.EncodeMode == 3 && (shape.Rows == 2 || shape.Rows == 4)) shape.Rows /= 2;
  if (s.EncodeMode == 4 && (shape.Cols == 2 || shape.Cols == 4)) shape.Cols /= 2;
  return shape;
}

bool HasBlankSlot(const TChrSettings& s) { return s.BlankSlot >= 0 && s.BlankSlot < std::clamp(s.Limit, 0, 4096) / 16; }

TTile SolidTile(std::int32_t colour) {
  TTile tile{};
  std::fill_n(tile.Plane0, 8, Plane0Bit[colour & 3] ? 0xFF : 0x00);
  std::fill_n(tile.Plane1, 8, Plane1Bit[colour & 3] ? 0xFF : 0x00);
  return tile;
}

TCellCursor::TCellCursor(const TChrSettings& s) : block_(s.Distribution != 0), blank_(HasBlankSlot(s) ? s.BlankSlot : -1) {
  const TPlacedShape shape = PlacedShape(s);
  cols_ = shape.Cols;
  rows_ = shape.Rows;
  const auto put = [&](std::int32_t c, std::int32_t r) {
    const auto i = static_cast<std::size_t>(pattern_.Count++);
    pattern_.Slots[i] = block_ ? 16 * r + c : static_cast<std::int32_t>(i);
    pattern_.Tiles[i] = {static_cast<std::int8_t>(c), static_cast<std::int8_t>(r)};
    span_ = std::max(span_, pattern_.Slots[i] + 1);
  };
  if (s.ScanHorizontal) {
    for (std::int32_t r = 0; r < rows_; ++r)
      for (std::int32_t c = 0; c < cols_; ++c) put(c, r);
  } else {
    for (std::int32_t c = 0; c < cols_; ++c)
      for (std::int32_t r = 0; r < rows_; ++r) put(c, r);
  }
}

bool TCellCursor::Covers(std::int32_t start, std::int32_t slot) const {
  if (slot < start || slot >= start + span_) return false;
  for (std::int32_t i = 0; i < pattern_.Count; ++i)
    if (start + pattern_.Slots[static_cast<std::size_t>(i)] == slot) return true;
  return false;
}

std::int32_t TCellCursor::NextStart() {
  for (;;) {
    const std::int32_t start = next_;
    if (!block_) {
      next_ = start + pattern_.Count;
    } else {
      const std::int32_t e = start + cols_;
      // A block that ends at the right edge of the pattern table starts the next band.
      next_ = e % 16 != 0 ? e : e + 16 * (rows_ - 1);
    }
    if (blank_ < 0 || pattern_.Count == 0 || !Covers(start, blank_)) return start;
  }
}

TCellPlace TCellCursor::Next() {
  const std::int32_t start = NextStart();
  TCellPlace place = pattern_;
  for (std::int32_t i = 0; i < place.Count; ++i) place.Slots[static_cast<std::size_t>(i)] += start;
  return place;
}

std::vector<TCellPlace> BankCellPlaces(const TChrSettings& s) {
  const std::int32_t capacity = ExportCapacity(s);
  std::vector<TCellPlace> places;
  places.reserve(static_cast<std::size_t>(std::max(capacity, 0)));
  TCellCursor cursor(s);
  for (std::int32_t k = 0; k < capacity; ++k) places.push_back(cursor.Next());
  return places;
}

}  // namespace mipofc
