#include <gtest/gtest.h>

#include "params/options.h"

namespace mipofc {
namespace {

TEST(Options, StartStateGathersTheStartSettings) {
  TOptionValues v;
  TFont font = v.Font;
  const TChrSettings s = GatherSettings(v, &font);
  EXPECT_EQ(s.CellHeight, 16);
  EXPECT_EQ(s.CellWidth, 16);
  EXPECT_EQ(s.Font, &font);
  EXPECT_EQ(s.NarrowWide, 0);
  EXPECT_EQ(s.OffsetX, 0);
  EXPECT_EQ(s.OffsetY, 0);
  EXPECT_EQ(s.BgIndex, 0);
  EXPECT_EQ(s.GlyphIndex, 1);
  EXPECT_TRUE(s.ScanHorizontal);
  EXPECT_EQ(s.EncodeMode, 0);
  EXPECT_EQ(s.M, 1);
  EXPECT_EQ(s.Distribution, 1);
  EXPECT_EQ(s.Limit, 4096);
  EXPECT_EQ(v.Font.Name, "宋体");
  EXPECT_EQ(v.Font.Height, -13);
  EXPECT_EQ(TChr().ApplySettings(s), 64);
}

TEST(Options, SizeRulesOfEverySize) {
  struct Case {
    int index;
    std::vector<int> modes;
    int distributions;
    bool scanEnabled;
    int checked;  // 1 = RWay01, 2 = RWay02, 0 = unchanged
    int width, height;
  } cases[] = {
      {0, {0, 1, 2}, 1, false, 1, 8, 8},        {1, {0, 1, 2, 3}, 2, false, 2, 8, 16},
      {2, {0, 1, 2, 4}, 2, false, 1, 16, 8},    {3, {0, 1, 2, 3, 4}, 2, true, 0, 16, 16},
      {4, {0, 1, 2, 3, 4}, 2, true, 0, 16, 32}, {5, {0, 1, 2, 3, 4}, 2, true, 0, 32, 16},
      {6, {0, 1, 2, 3, 4}, 2, true, 0, 32, 32},
  };
  for (const Case& c : cases) {
    TOptionValues v;
    CheckScan(v, false, true);  // "竖向" before the change
    v.EncodingIndex = 2;
    v.CellSizeIndex = c.index;
    ApplySizeRules(v);
    SCOPED_TRACE(c.index);
    ASSERT_EQ(v.EncodingItems.size(), c.modes.size());
    for (std::size_t i = 0; i < c.modes.size(); ++i) EXPECT_EQ(v.EncodingItems[i], EncodingOptionTexts[c.modes[i]]);
    EXPECT_EQ(v.EncodingIndex, 0);
    EXPECT_EQ(static_cast<int>(v.DistributionItems.size()), c.distributions);
    EXPECT_EQ(v.DistributionItems[0], "0  一字连续分布");
    EXPECT_EQ(v.DistributionIndex, 0);
    EXPECT_EQ(v.ScanEnabled, c.scanEnabled);
    EXPECT_EQ(v.ScanHorizontal, c.checked == 1);
    EXPECT_EQ(v.ScanVertical, c.checked != 1);
    int w = 0, h = 0;
    CellSizeOf(c.index, w, h);
    EXPECT_EQ(w, c.width);
    EXPECT_EQ(h, c.height);
  }
  TOptionValues none;
  none.CellSizeIndex = -1;
  none.EncodingIndex = 3;
  ApplySizeRules(none);
  EXPECT_EQ(none.EncodingIndex, 3);
  EXPECT_EQ(none.EncodingItems.size(), 5u);
}

TEST(Options, ModeComesFromTheItemsDigitNotItsPosition) {
  TOptionValues v;
  v.CellSizeIndex = 2;  // 16x8: modes 0, 1, 2, 4
  ApplySizeRules(v);
  v.EncodingIndex = 3;
  ApplyEncodingRule(v);
  TFont font;
  EXPECT_EQ(GatherSettings(v, &font).EncodeMode, 4);
  EXPECT_TRUE(v.ColoursLocked);
  // No selection, or an index past the list, reads as mode 0 and distribution 0.
  for (int index : {-1, 9}) {
    v.EncodingIndex = index;
    v.DistributionIndex = index;
    EXPECT_EQ(GatherSettings(v, &font).EncodeMode, 0);
    EXPECT_EQ(GatherSettings(v, &font).Distribution, 0);
  }
  EXPECT_EQ(LeadingDigit("", 4), 0);
  EXPECT_EQ(LeadingDigit("7x", 4), 0);
  EXPECT_EQ(LeadingDigit("/x", 4), 0);
}

TEST(Options, EncodingRuleShowsMAndLocksColours) {
  for (int mode = 0; mode <= 4; ++mode) {
    TOptionValues v;
    v.BgIndex = 2;
    v.GlyphIndex = 3;
    v.EncodingIndex = mode;
    ApplyEncodingRule(v);
    EXPECT_EQ(v.MVisible, mode == 1) << mode;
    EXPECT_EQ(v.ColoursLocked, mode >= 3) << mode;
    EXPECT_EQ(v.BgIndex, mode >= 3 ? 0 : 2) << mode;
    EXPECT_EQ(v.GlyphIndex, mode >= 3 ? 1 : 3) << mode;
  }
}

TEST(Options, OutOfRangeValuesNeverReachTheEngine) {
  TOptionValues v;
  v.CellSizeIndex = 11;
  v.LimitIndex = -1;
  v.BgIndex = 7;
  v.GlyphIndex = -2;
  v.M = 99;
  v.NarrowWide = -40;
  TFont font;
  const TChrSettings s = GatherSettings(v, &font);
  EXPECT_EQ(s.CellWidth, 16);
  EXPECT_EQ(s.CellHeight, 16);
  EXPECT_EQ(s.Limit, 4096);
  EXPECT_EQ(s.BgIndex, 3);
  EXPECT_EQ(s.GlyphIndex, 0);
  EXPECT_EQ(s.M, 15);
  EXPECT_EQ(s.NarrowWide, -6);
}

TEST(Options, FontSizeSliderAndChosenFont) {
  TOptionValues v;
  SetFontSize(v, 40);
  EXPECT_EQ(v.FontSize, 28);
  EXPECT_EQ(v.Font.Size, 28);
  EXPECT_EQ(v.Font.Height, -37);
  TOptionValues w;
  w.DialogFont.SetSize(36);
  ApplyChosenFont(w);
  EXPECT_EQ(w.FontSize, 28);
  EXPECT_EQ(w.Font.Size, 28);
  TOptionValues same;
  same.DialogFont.Name = "SimSun";
  ApplyChosenFont(same);  // the slider stays at 10, so the font keeps its own height
  EXPECT_EQ(same.Font.Name, "SimSun");
  EXPECT_EQ(same.Font.Height, -13);
}

TEST(Options, ScanButtonsAreOneRadioGroup) {
  TOptionValues v;
  CheckScan(v, true, true);
  CheckScan(v, false, true);
  EXPECT_FALSE(v.ScanHorizontal);
  EXPECT_TRUE(v.ScanVertical);
  CheckScan(v, true, false);
  CheckScan(v, false, false);
  EXPECT_FALSE(v.ScanHorizontal);
  EXPECT_FALSE(v.ScanVertical);
}

}  // namespace
}  // namespace mipofc
