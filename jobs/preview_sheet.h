#pragma once

// The preview sheet: a bank's text cells and its pattern table side by side, as one picture.

#include <string>
#include <string_view>

#include "engine/chr.h"

namespace mipofc {

/// Pixels of the grid colour between the two pictures of a sheet, before any zoom.
inline constexpr int SheetGap = 8;

/// The text picture left and the bank picture right (each PreviewSide pixels square), SheetGap
/// pixels of gridColour between.
TBitmap PreviewSheet(const TBitmap& textPicture, const TBitmap& bankPicture, TColor gridColour);

/// What a sheet shows and how.
struct TSheetLook {
  TPalette Palette{};
  bool Grid = false;
  TColor GridColour = 0xC0C0C0;
};

/// The two previews of text's first bank, as the window's previews draw them, on one sheet.
TBitmap PreviewSheet(const TChrSettings& settings, std::u16string_view text, const TSheetLook& look);

/// A sheet as the PNG file a user saves: each pixel zoom x zoom (1..16).
std::string PreviewSheetPng(const TBitmap& sheet, int zoom);

}  // namespace mipofc
