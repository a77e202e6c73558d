#include "params/options.h"

#include <algorithm>

namespace mipofc {

TOptionValues::TOptionValues()
    : EncodingItems(EncodingOptionTexts.begin(), EncodingOptionTexts.end()),
      DistributionItems(DistributionOptionTexts.begin(), DistributionOptionTexts.end()),
      DialogFont() {
  // The layout font takes the window-text colour until a run paints with it.
  Font.Color = static_cast<std::int32_t>(0x80000008u);
  DialogFont = Font;
}

int ClampTo(int v, int lo, int hi) { return std::min(std::max(v, lo), hi); }

void ApplySizeRules(TOptionValues& v) {
  if (v.CellSizeIndex < 0 || v.CellSizeIndex > 6) return;
  std::vector<int> modes = {0, 1, 2, 3, 4};
  bool bothDistributions = true;
  switch (v.CellSizeIndex) {
    case 0:  // 8x8 folds neither way and has one tile, so block and continuous are the same
      modes = {0, 1, 2};
      bothDistributions = false;
      CheckScan(v, true, true);
      break;
    case 1:  // 8x16: one column, the tiles run top to bottom
      modes = {0, 1, 2, 3};
      CheckScan(v, false, true);
      break;
    case 2:  // 16x8: one row, the tiles run left to right
      modes = {0, 1, 2, 4};
      CheckScan(v, true, true);
      break;
    default:
      break;
  }
  v.ScanEnabled = v.CellSizeIndex >= 3;
  v.EncodingItems.clear();
  for (int m : modes) v.EncodingItems.push_back(EncodingOptionTexts[m]);
  v.EncodingIndex = 0;
  v.DistributionItems.assign(DistributionOptionTexts.begin(),
                             DistributionOptionTexts.begin() + (bothDistributions ? 2 : 1));
  v.DistributionIndex = 0;
}

void ApplyEncodingRule(TOptionValues& v) {
  const int mode = SelectedEncodeMode(v);
  v.MVisible = mode == 1;
  v.ColoursLocked = mode == 3 || mode == 4;
  if (v.ColoursLocked) {
    v.BgIndex = 0;
    v.GlyphIndex = 1;
  }
}

void SetFontSize(TOptionValues& v, int points) {
  v.FontSize = ClampTo(points, 6, 28);
  v.Font.SetSize(v.FontSize);
}

void ApplyChosenFont(TOptionValues& v) {
  v.Font = v.DialogFont;
  const int position = ClampTo(v.Font.Size, 6, 28);
  // The slider writes its position into the font only when the position moves.
  if (position != v.FontSize) SetFontSize(v, position);
}

void CheckScan(TOptionValues& v, bool horizontal, bool checked) {
  bool& self = horizontal ? v.ScanHorizontal : v.ScanVertical;
  bool& other = horizontal ? v.ScanVertical : v.ScanHorizontal;
  self = checked;
  if (checked) other = false;
}

int LeadingDigit(const std::string& item, int max) {
  if (item.empty()) return 0;
  const int d = static_cast<unsigned char>(item[0]) - '0';
  return d < 0 || d > max ? 0 : d;
}

namespace {
const std::string& Selected(const std::vector<std::string>& items, int index) {
  static const std::string none;
  return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : none;
}
}  // namespace

int SelectedEncodeMode(const TOptionValues& v) { return LeadingDigit(Selected(v.EncodingItems, v.EncodingIndex), 4); }

int SelectedDistribution(const TOptionValues& v) {
  return LeadingDigit(Selected(v.DistributionItems, v.DistributionIndex), 1);
}

void CellSizeOf(int index, int& width, int& height) {
  static constexpr int sizes[7][2] = {{8, 8}, {8, 16}, {16, 8}, {16, 16}, {16, 32}, {32, 16}, {32, 32}};
  const bool known = index >= 0 && index < 7;
  width = known ? sizes[index][0] : 16;
  height = known ? sizes[index][1] : 16;
}

int LimitOf(int index) { return index == 0 ? 1024 : index == 1 ? 2048 : 4096; }

TChrSettings GatherSettings(const TOptionValues& v, TFont* font) {
  TChrSettings s;
  CellSizeOf(v.CellSizeIndex, s.CellWidth, s.CellHeight);
  s.Font = font;
  s.NarrowWide = ClampTo(v.NarrowWide, -6, 6);
  s.OffsetX = v.PosX;
  s.OffsetY = v.PosY;
  // The colour indexes pick one of four palette entries and tile colours: keep them in range.
  s.BgIndex = ClampTo(v.BgIndex, 0, 3);
  s.GlyphIndex = ClampTo(v.GlyphIndex, 0, 3);
  s.ScanHorizontal = v.ScanHorizontal;
  s.EncodeMode = SelectedEncodeMode(v);
  s.M = ClampTo(v.M, 1, 15);
  s.Distribution = SelectedDistribution(v);
  s.Limit = LimitOf(v.LimitIndex);
  return s;
}

}  // namespace mipofc
