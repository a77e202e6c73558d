#include <algorithm>
#include <cmath>

#include "engine/cell_places.h"
#include "engine/chr.h"

namespace mipofc {

std::int32_t TChr::ApplySettings(const TChrSettings& s) {
  Settings = s;
  TileRows = static_cast<std::int32_t>(std::trunc(s.CellHeight / 8.0));
  TileCols = static_cast<std::int32_t>(std::trunc(s.CellWidth / 8.0));
  Bank.TilesPerCell = TileCols * TileRows;
  if (Bank.TilesPerCell <= 0 || s.Limit <= 0) return 0;  // a cell below one tile holds nothing
  double capacity = s.Limit / 16.0 / Bank.TilesPerCell;
  // The colour-overlap modes fold two tiles of a cell into one.
  if (s.EncodeMode == 3 || s.EncodeMode == 4) capacity *= 2.0;
  const auto cells = static_cast<std::int32_t>(std::trunc(capacity));
  // The cells tile the bank exactly, so the blank slot takes the one cell that covers it.
  return HasBlankSlot(s) && cells > 0 ? cells - 1 : cells;
}

void TChr::PrepareCell() {
  Canvas.BrushColor = 0xFFFFFF;
  Canvas.PenColor = 0xFFFFFF;
  if (Settings.Font != nullptr) {
    // The caller's font object keeps the colour black afterwards.
    Settings.Font->Color = 0;
    Canvas.Font = *Settings.Font;
  }
  if (Settings.CellWidth < Settings.CellHeight) {
    SetHeight(Settings.CellHeight);
    SetWidth(Height());
  } else {
    SetWidth(Settings.CellWidth);
    SetHeight(Width());
  }
  Bank.Capacity = ApplySettings(Settings);
}

}  // namespace mipofc
