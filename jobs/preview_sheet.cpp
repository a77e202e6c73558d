#include "jobs/preview_sheet.h"

#include "engine/png.h"

namespace mipofc {

TBitmap PreviewSheet(const TBitmap& textPicture, const TBitmap& bankPicture, TColor gridColour) {
  TBitmap sheet;
  sheet.SetSize(2 * PreviewSide + SheetGap, PreviewSide);
  sheet.Canvas.BrushColor = sheet.Canvas.PenColor = gridColour;
  sheet.FillRect(0, 0, sheet.Width(), sheet.Height());
  sheet.CopyRect(0, 0, textPicture, 0, 0, PreviewSide, PreviewSide);
  sheet.CopyRect(PreviewSide + SheetGap, 0, bankPicture, 0, 0, PreviewSide, PreviewSide);
  return sheet;
}

TBitmap PreviewSheet(const TChrSettings& settings, std::u16string_view text, const TSheetLook& look) {
  TBitmap pictures[2];
  for (TPreviewKind kind : {TPreviewKind::Text, TPreviewKind::Bank}) {
    TBitmap& target = pictures[kind == TPreviewKind::Text ? 0 : 1];
    ClearPreviewTarget(target, look.GridColour);
    DrawPreview(kind, target, look.Palette, look.Grid, settings, text);
  }
  return PreviewSheet(pictures[0], pictures[1], look.GridColour);
}

std::string PreviewSheetPng(const TBitmap& sheet, int zoom) { return EncodePng(sheet, zoom); }

}  // namespace mipofc
