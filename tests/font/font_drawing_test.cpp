// Drawing with the test font: where glyphs land, clipping, missing characters and the
// synthetic styles, each checked against what the font file says.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "font/font.h"
#include "font/surface.h"

#include "tests/font/font_pictures.h"

namespace mipofc {
namespace {

using namespace test;

TEST(TestFontFile, HasTheShapesThePlacementTestsNeed) {
  // Guards the tests below against a regenerated font that lost its awkward boxes.
  ASSERT_EQ(Prop("FONT_ASCENT"), 14);
  ASSERT_EQ(Prop("PIXEL_SIZE"), 16);
  const auto& g = Bdf().glyphs;
  ASSERT_TRUE(g.count(u'你') && g.count(u'A') && g.count(u'g') && g.count(u'j') && g.count(u'|'));
  EXPECT_LT(g.at(u'你').xoff, 0);
  EXPECT_GT(g.at(u'你').width, 16);
  EXPECT_GT(g.at(u'|').height + g.at(u'|').yoff, Prop("FONT_ASCENT"));
  EXPECT_LT(g.at(u'g').yoff, -Prop("FONT_DESCENT"));
}

TEST(Placement, GlyphBitmapsSitAtTheirOffsetsFromTheBaseline) {
  const std::u16string chars = u"Ag j|!~你们大家好。中文字模工具测试一二三十";
  for (char16_t ch : chars) {
    for (auto [x, y] : {std::pair{6, 5}, std::pair{3, 9}}) {
      EXPECT_EQ(Show(Draw(BdfFont(), ch, 34, 32, x, y)), Show(Expected(ch, 34, 32, x, y)))
          << "U+" << std::hex << static_cast<int>(ch) << " at " << std::dec << x << "," << y;
    }
  }
}

TEST(Placement, AscentAndEmFollowTheFontAndTheRequestedHeight) {
  struct Case {
    const char* what;
    int height;
    int size;
    int em;
  } cases[] = {
      {"12 points", 0, 12, 16},
      {"em height 16", -16, 12, 16},
      {"cell height 16 = ascent + descent", 16, 0, 16},
      {"cell height 32 is twice the em", 32, 0, 32},
  };
  for (const auto& c : cases) {
    TFont f = BdfFont();
    f.Height = c.height;
    f.Size = c.size;
    auto face = ResolveFont(f);
    EXPECT_EQ(face->EmPixels(), c.em) << c.what;
    // A bitmap font keeps the ascent of the strike it draws with.
    EXPECT_EQ(face->Ascent(), Prop("FONT_ASCENT")) << c.what;
  }
}

TEST(Placement, SurfaceEdgesClip) {
  struct Case {
    int x, y;
  } cases[] = {{-5, -3}, {-9, 0}, {4, -12}, {10, 6}, {-30, -30}, {40, 40}};
  for (char16_t ch : std::u16string(u"你|g")) {
    for (const auto& c : cases) {
      EXPECT_EQ(Show(Draw(BdfFont(), ch, 14, 12, c.x, c.y)), Show(Expected(ch, 14, 12, c.x, c.y)))
          << "U+" << std::hex << static_cast<int>(ch) << " at " << std::dec << c.x << "," << c.y;
    }
  }
}

TEST(Placement, PositionsNearTheEndsOfIntDrawNothing) {
  // Such positions once wrapped around inside the blit and wrote outside the surface.
  TFont f = BdfFont();
  f.Underline = f.StrikeOut = true;
  const std::pair<int, int> positions[] = {{INT_MIN, 0},       {0, INT_MIN}, {INT_MAX, 0},      {0, INT_MAX},
                                           {INT_MIN, INT_MIN}, {INT_MAX - 3, 2}, {INT_MIN + 5, 3}};
  for (char16_t ch : std::u16string(u"你|g"))
    for (auto [x, y] : positions)
      EXPECT_EQ(Show(Draw(f, ch, 14, 12, x, y)), Show(Blank(14, 12)))
          << "U+" << std::hex << static_cast<int>(ch) << " at " << std::dec << x << "," << y;
}

TEST(Placement, NamedFileDrawsItsDefaultGlyphForMissingCharacters) {
  const int dc = Prop("DEFAULT_CHAR");
  ASSERT_TRUE(Bdf().glyphs.count(dc));
  auto face = ResolveFont(BdfFont());
  for (char16_t ch : {u'龍', u'\u00E9', char16_t{0xD800}, char16_t{0xDFFF}, u'\uFFFF'}) {
    ASSERT_EQ(Bdf().glyphs.count(ch), 0u);
    Picture want = Blank(30, 24);
    MarkGlyph(want, Bdf().glyphs.at(dc), 5, 4);
    EXPECT_EQ(Show(Draw(BdfFont(), ch, 30, 24, 5, 4)), Show(want))
        << "U+" << std::hex << static_cast<int>(ch);
    EXPECT_EQ(face->FaceFileFor(ch), "") << "U+" << std::hex << static_cast<int>(ch);
  }
  EXPECT_EQ(face->FaceFileFor(u'A'), BdfPath());
  EXPECT_EQ(face->FaceFileFor(u'你'), BdfPath());
}

TEST(Style, SyntheticBoldStrikesTheGlyphAgainOnePixelRight) {
  TFont bold = BdfFont();
  bold.Bold = true;
  for (char16_t ch : std::u16string(u"A你j")) {
    Picture want = Expected(ch, 34, 30, 6, 5);
    MarkGlyph(want, Bdf().glyphs.at(ch), 6, 5, 1);
    EXPECT_EQ(Show(Draw(bold, ch, 34, 30, 6, 5)), Show(want)) << "U+" << std::hex << static_cast<int>(ch);
  }
}

// The row moved right by s pixels, paper coming in at the edge.
std::string Shifted(const std::string& row, int s) {
  std::string out(row.size(), '.');
  for (int i = 0; i < static_cast<int>(row.size()); ++i)
    if (i - s >= 0 && i - s < static_cast<int>(row.size()))
      out[static_cast<std::size_t>(i)] = row[static_cast<std::size_t>(i - s)];
  return out;
}

TEST(Style, SyntheticItalicSlantsRowsByTheirHeight) {
  TFont italic = BdfFont();
  italic.Italic = true;
  const int x = 10, y = 8, ascent = Prop("FONT_ASCENT");
  for (char16_t ch : std::u16string(u"|你g")) {
    const BdfGlyph& g = Bdf().glyphs.at(ch);
    const Picture plain = Expected(ch, 44, 36, x, y);
    const Picture slanted = Draw(italic, ch, 44, 36, x, y);
    const int top = y + ascent - (g.height + g.yoff);
    // Each glyph row reappears whole, moved right the more the higher it lies, and the
    // row just above the baseline stays where it was.
    std::vector<int> shifts;
    for (int r = 0; r < g.height; ++r) {
      const std::string& a = plain[static_cast<std::size_t>(top + r)];
      const std::string& b = slanted[static_cast<std::size_t>(top + r)];
      if (a.find('#') == std::string::npos) continue;  // a blank row fits any shift
      int shift = INT_MIN;
      for (int s = -3; s <= 5 && shift == INT_MIN; ++s)
        if (Shifted(a, s) == b) shift = s;
      ASSERT_NE(shift, INT_MIN) << "row " << r << Show(slanted);
      if (!shifts.empty()) {
        EXPECT_LE(shift, shifts.back()) << "row " << r;
      }
      if (top + r == y + ascent - 1) {
        EXPECT_EQ(shift, 0) << "row above the baseline";
      }
      shifts.push_back(shift);
    }
    EXPECT_GT(shifts.front(), shifts.back()) << "U+" << std::hex << static_cast<int>(ch);
    EXPECT_EQ(InkCount(slanted), InkCount(plain));
  }
}

TEST(Style, UnderlineAndStrikeOutAreBarsAcrossTheAdvance) {
  const BdfGlyph& space = Bdf().glyphs.at(u' ');
  const BdfGlyph& a = Bdf().glyphs.at(u'A');
  const int x = 4, y = 3, ascent = Prop("FONT_ASCENT");
  const int ulTop = y + ascent + Prop("UNDERLINE_POSITION"), ulRows = Prop("UNDERLINE_THICKNESS");

  TFont under = BdfFont();
  under.Underline = true;
  for (bool bold : {false, true}) {
    under.Bold = bold;
    Picture want = Blank(24, 24);
    for (int r = 0; r < ulRows; ++r)
      for (int c = 0; c < space.advance + bold; ++c) Mark(want, x + c, ulTop + r);
    EXPECT_EQ(Show(Draw(under, u' ', 24, 24, x, y)), Show(want)) << "bold " << bold;
  }
  under.Bold = false;
  Picture want = Blank(24, 24);
  MarkGlyph(want, a, x, y);
  for (int r = 0; r < ulRows; ++r)
    for (int c = 0; c < a.advance; ++c) Mark(want, x + c, ulTop + r);
  EXPECT_EQ(Show(Draw(under, u'A', 24, 24, x, y)), Show(want));

  // The strike-out lies above the baseline: whole rows across the advance, nothing else.
  TFont strike = BdfFont();
  strike.StrikeOut = true;
  const Picture got = Draw(strike, u' ', 24, 24, x, y);
  std::vector<int> rows;
  for (int j = 0; j < 24; ++j) {
    const std::string& row = got[static_cast<std::size_t>(j)];
    if (row == Blank(24, 1)[0]) continue;
    EXPECT_EQ(
        row, std::string(x, '.') + std::string(space.advance, '#') + std::string(24 - x - space.advance, '.'))
        << "row " << j;
    rows.push_back(j);
  }
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back() - rows.front() + 1, static_cast<int>(rows.size())) << "one bar";
  EXPECT_GT(rows.front(), y) << "below the box top";
  EXPECT_LT(rows.back(), y + ascent) << "above the baseline";
}

}  // namespace
}  // namespace mipofc
