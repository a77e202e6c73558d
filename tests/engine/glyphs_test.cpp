// Glyph data: each character's cell as the banks hold it, tile after tile in tile order, or one
// bit a pixel; made in pieces it is the same bytes.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "engine/cell_places.h"
#include "engine/glyph_maker.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

class GlyphsTest : public testing::Test {
 protected:
  TChrSettings Settings(int width, int height, int mode, bool horizontal) {
    TChrSettings s = test::StartSettings(&font_);
    s.CellWidth = width;
    s.CellHeight = height;
    s.EncodeMode = mode;
    s.ScanHorizontal = horizontal;
    return s;
  }
  std::string Glyphs(const TChrSettings& s, std::u16string_view text, int bpp) {
    std::string out;
    std::make_unique<TChr>()->AppendGlyphs(s, text, bpp, out);
    return out;
  }
  TFont font_ = test::TestFont();
  const std::u16string text_ = u"你们大家好。A";
};

// The bank's slots at each cell's places, in the places' (tile) order, are the glyph's bytes.
TEST_F(GlyphsTest, TwoBitGlyphsAreTheBanksTilesInTileOrder) {
  struct Case {
    int width, height, mode;
    bool horizontal;
  } cases[] = {{16, 16, 0, true}, {16, 16, 0, false}, {8, 16, 0, false}, {32, 32, 3, true},
               {16, 32, 4, false}, {16, 16, 1, true},  {32, 16, 2, true}};
  for (const Case& c : cases)
    for (int distribution : {0, 1}) {
      TChrSettings s = Settings(c.width, c.height, c.mode, c.horizontal);
      s.Distribution = distribution;
      SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " mode " << c.mode << " h " << c.horizontal
                                      << " distribution " << distribution);
      auto bank = std::make_unique<TChr>();
      bank->BuildFor(s, text_);
      std::string expected;
      const std::vector<TCellPlace> places = BankCellPlaces(s);
      for (std::size_t k = 0; k < text_.size(); ++k)
        for (int i = 0; i < places[k].Count; ++i) {
          const TTile& tile = bank->Bank.Slots[places[k].Slots[static_cast<std::size_t>(i)]];
          expected.append(reinterpret_cast<const char*>(&tile), 16);
        }
      const std::string glyphs = Glyphs(s, text_, 2);
      EXPECT_EQ(glyphs, expected);
      EXPECT_EQ(glyphs.size(), text_.size() * static_cast<std::size_t>(GlyphSize(s, 2)));
    }
}

// Bit x of row r is set exactly where the two-bit pixel has the glyph colour, whatever the
// background and glyph indexes.
TEST_F(GlyphsTest, OneBitGlyphsMarkThePixelsOfTheGlyphColour) {
  for (auto [bg, glyph] : {std::pair{0, 1}, std::pair{2, 1}, std::pair{1, 3}, std::pair{3, 0}, std::pair{0, 2}}) {
    TChrSettings s = Settings(16, 16, 0, true);
    s.BgIndex = bg;
    s.GlyphIndex = glyph;
    const std::string two = Glyphs(s, text_, 2), one = Glyphs(s, text_, 1);
    ASSERT_EQ(one.size(), two.size() / 2);
    ASSERT_EQ(one.size(), text_.size() * static_cast<std::size_t>(GlyphSize(s, 1)));
    int inked = 0;
    for (std::size_t t = 0; t < one.size() / 8; ++t)
      for (int r = 0; r < 8; ++r)
        for (int x = 0; x < 8; ++x) {
          const int bit = 0x80 >> x;
          const int colour = ((two[16 * t + static_cast<std::size_t>(r)] & bit) ? 1 : 0) +
                             ((two[16 * t + 8 + static_cast<std::size_t>(r)] & bit) ? 2 : 0);
          const bool set = (one[8 * t + static_cast<std::size_t>(r)] & bit) != 0;
          ASSERT_EQ(set, colour == glyph) << "bg " << bg << " glyph " << glyph << " tile " << t << " row " << r;
          inked += set;
        }
    EXPECT_GT(inked, 100) << "the glyphs have ink";
  }
}

TEST_F(GlyphsTest, OneBitGlyphsNeedEncodingModeZero) {
  for (int mode : {1, 2, 3, 4}) EXPECT_THROW(Glyphs(Settings(16, 16, mode, true), text_, 1), std::invalid_argument);
}

TEST_F(GlyphsTest, PiecesInOrderAreTheWholeText) {
  std::u16string text;
  for (int i = 0; i < 150; ++i) text += static_cast<char16_t>(0x4E00 + 37 * i);
  const TChrSettings s = Settings(16, 16, 0, true);
  for (int bpp : {1, 2}) {
    const std::string whole = Glyphs(s, text, bpp);
    for (std::int64_t per : {1, 7, 64, 150, 1000}) {
      TGlyphMaker maker(s, text, per, bpp);
      EXPECT_EQ(maker.Count(), (150 + per - 1) / per);
      std::string joined;
      for (std::int64_t n = 0; n < maker.Count(); ++n) joined += maker.Take(n);
      EXPECT_EQ(joined, whole) << "bpp " << bpp << " per " << per;
    }
  }
}

}  // namespace
}  // namespace mipofc
