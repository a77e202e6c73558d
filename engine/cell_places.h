#pragma once

// Where the cells of a bank go: the slots of each cell's tiles, one cell after another from slot
// 0, as the bank is built and as a code map tells a text engine.

#include <array>
#include <cstdint>
#include <vector>

#include "engine/chr.h"

namespace mipofc {

/// The slots of one cell of a bank, its tiles in tile order (Settings.ScanHorizontal), and which
/// tile of the placed cell (column, row) each slot holds.
struct TCellPlace {
  std::int32_t Count = 0;                             ///< tiles of the placed cell
  std::array<std::int32_t, 16> Slots{};               ///< slot of tile i
  std::array<std::array<std::int8_t, 2>, 16> Tiles{};  ///< column and row of tile i
};

/// The tile grid of a cell as a bank holds it: the cell's tiles, and after a fold (modes 3 and
/// 4) half its rows or columns.
struct TPlacedShape {
  std::int32_t Cols = 0;
  std::int32_t Rows = 0;
};
/// The placed shape of the cells these settings make.
TPlacedShape PlacedShape(const TChrSettings& s);

/// True when the settings' blank slot lies in the bank (0 .. Limit / 16 - 1).
bool HasBlankSlot(const TChrSettings& s);

/// A tile of colour index 0..3 in all its pixels.
TTile SolidTile(std::int32_t colour);

/// The places of a bank's cells in order: continuous cells take the next slots one after
/// another, block cells the next block of the 16-tile-wide pattern table. A place that would
/// cover the blank slot holds no cell and is passed over.
class TCellCursor {
 public:
  explicit TCellCursor(const TChrSettings& s);
  /// The slot of the next cell's first tile; its tiles are at Pattern()'s slots from there.
  std::int32_t NextStart();
  /// The place of the next cell.
  TCellPlace Next();
  /// A cell's place from slot 0: the tiles' slots relative to the first.
  const TCellPlace& Pattern() const { return pattern_; }

 private:
  bool Covers(std::int32_t start, std::int32_t slot) const;

  TCellPlace pattern_;
  std::int32_t span_ = 0;  // the pattern's last slot + 1
  std::int32_t cols_, rows_;
  bool block_;
  std::int32_t blank_;
  std::int32_t next_ = 0;
};

/// The places of every cell one bank of these settings holds (ExportCapacity of them).
std::vector<TCellPlace> BankCellPlaces(const TChrSettings& s);

}  // namespace mipofc
