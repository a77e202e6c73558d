// Cells made from ink rows must equal cells drawn on the surface, byte for byte, whatever the
// font, style, cell, offset, squeeze, colours, mode, placement and scan order.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/chr.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

constexpr TColor White = 0xFFFFFF, Black = 0;

struct FontCase {
  std::string label;
  TFont font;
};

TFont Styled(TFont f, bool bold, bool italic, bool underline, bool strikeOut) {
  f.Bold = bold;
  f.Italic = italic;
  f.Underline = underline;
  f.StrikeOut = strikeOut;
  return f;
}

TFont Family(const char* name, int points) {
  TFont f;
  f.Name = name;
  f.CharSet = 134;
  f.SetSize(points);
  return f;
}

// The BDF test font always; the CJK face (bitmap strikes at 12 and 10 pt, outlines at 28 pt,
// where glyphs are wider than a 32-pixel cell) and an outline family with fallback when installed.
std::vector<FontCase> Fonts() {
  const TFont bdf = test::TestFont();
  std::vector<FontCase> fonts = {
      {"test font", bdf},
      {"test font bold underline", Styled(bdf, true, false, true, false)},
      {"test font italic strike-out", Styled(bdf, false, true, false, true)},
      {"test font every style", Styled(bdf, true, true, true, true)},
  };
  if (std::filesystem::exists("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc")) {
    fonts.push_back({"song 12 pt", Family("宋体", 12)});
    fonts.push_back({"song 12 pt bold underline", Styled(Family("宋体", 12), true, false, true, false)});
    fonts.push_back({"song 10 pt every style", Styled(Family("宋体", 10), true, true, true, true)});
    fonts.push_back({"song 28 pt italic", Styled(Family("宋体", 28), false, true, false, false)});
    fonts.push_back({"sans 9 pt bold italic strike-out", Styled(Family("DejaVu Sans", 9), true, true, false, true)});
  }
  return fonts;
}

// Glyphs the test font has (wide, left of the origin, above the ascent, blank), glyphs it lacks,
// lone surrogate halves, and ideographs that send other families to their fallback.
const std::u16string Characters =
    std::u16string(u"你好。Agj| 中文字模工具测试的是W@~\u9F98\u00E9\uFFFD\u3000一国") + char16_t{0xD800} + char16_t{0xDC00};

struct Cell {
  int w, h;
};
const Cell Cells[] = {{8, 8}, {16, 16}, {32, 32}, {8, 16}, {16, 8}, {16, 32}, {32, 16}, {12, 20}, {32, 8}, {24, 12}};
const std::pair<int, int> Offsets[] = {{0, 0},   {-1, -1}, {3, -2},  {-7, 5},           {13, 21},
                                       {-40, 0}, {0, -40}, {31, 31}, {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}};
const int Squeezes[] = {-25, -6, -5, -2, -1, 0, 1, 3, 6, 12};  // the engine takes values past -6..6 too

// The cell as the surface makes it: drawn, squeezed, quantised and encoded.
TCellTiles SurfaceCell(TChr& engine, char16_t ch) {
  TCellTiles cell;
  engine.DrawGlyph(ch, White, Black);
  engine.ApplyNarrowWide(White, Black);
  engine.QuantizeCell(White, Black);
  engine.EncodeCell(cell);
  return cell;
}

std::string Describe(const TChrSettings& s) {
  std::ostringstream out;
  out << s.CellWidth << "x" << s.CellHeight << " offset " << s.OffsetX << "," << s.OffsetY << " squeeze "
      << s.NarrowWide << " colours " << s.BgIndex << "/" << s.GlyphIndex << " mode " << s.EncodeMode << " M " << s.M
      << " distribution " << s.Distribution << " scan " << (s.ScanHorizontal ? "h" : "v") << " limit " << s.Limit;
  return out.str();
}

TEST(InkRows, CellsEqualTheSurfacePath) {
  std::int64_t cells = 0;
  for (FontCase& f : Fonts()) {
    for (const Cell& c : Cells)
      for (auto [x, y] : Offsets)
        for (int v : Squeezes) {
          TChrSettings s = test::StartSettings(&f.font);
          s.CellWidth = c.w;
          s.CellHeight = c.h;
          s.OffsetX = x;
          s.OffsetY = y;
          s.NarrowWide = v;
          // Every pair of colour indexes comes round.
          s.BgIndex = static_cast<int>(cells % 4);
          s.GlyphIndex = static_cast<int>(cells / 4 % 4);
          TChr surface, ink;
          surface.Settings = ink.Settings = s;
          surface.PrepareCell();
          ink.PrepareCell();
          ASSERT_TRUE(ink.InkRowsSuffice());
          for (char16_t ch : Characters) {
            const TCellTiles want = SurfaceCell(surface, ch);
            TCellTiles got;
            ink.EncodeGlyph(ch, got);
            ++cells;
            ASSERT_EQ(got.ColsMinus1, want.ColsMinus1);
            ASSERT_EQ(got.RowsMinus1, want.RowsMinus1);
            for (int a = 0; a < want.Cols(); ++a)
              for (int b = 0; b < want.Rows(); ++b)
                if (!(got.Tiles[a][b] == want.Tiles[a][b]))
                  FAIL() << f.label << ", " << Describe(s) << ", U+" << std::hex << static_cast<int>(ch) << ", tile "
                         << a << "," << b << ": " << test::HexOf(got.Tiles[a][b]) << " instead of "
                         << test::HexOf(want.Tiles[a][b]);
          }
        }
  }
  EXPECT_GT(cells, 20000);
}

// The whole bank as BuildBank made it before cells came from ink rows.
std::string SurfaceBank(const TChrSettings& s, std::u16string_view text) {
  TChr engine;
  engine.Settings = s;
  engine.Text = text;
  engine.PrepareCell();
  std::fill_n(engine.Bank.Slots, 256, BlankTile);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(engine.Bank.Capacity, 0)), text.size());
  std::int32_t next = 0;
  for (std::size_t k = 0; k < n; ++k) {
    TCellTiles cell = SurfaceCell(engine, text[k]);
    engine.TransformCell(cell);
    next = s.Distribution == 0 ? engine.PlaceContinuous(TChr::FlattenCell(cell, s.ScanHorizontal), next)
                               : engine.PlaceBlock(cell, next);
  }
  return {reinterpret_cast<const char*>(engine.Bank.Slots), sizeof engine.Bank.Slots};
}

TEST(InkRows, BanksEqualTheSurfacePathInEveryModeAndPlacement) {
  std::vector<FontCase> fonts = Fonts();
  std::mt19937 random(20902);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const int limits[] = {1024, 2048, 4096};
  for (int run = 0; run < 3000; ++run) {
    FontCase& f = fonts[static_cast<std::size_t>(run) % fonts.size()];
    TChrSettings s = test::StartSettings(&f.font);
    const Cell& c = Cells[pick(std::size(Cells))];
    s.CellWidth = c.w;
    s.CellHeight = c.h;
    std::tie(s.OffsetX, s.OffsetY) = Offsets[pick(std::size(Offsets) - 2)];  // the far offsets draw nothing
    s.NarrowWide = Squeezes[pick(std::size(Squeezes))];
    s.BgIndex = pick(4);
    s.GlyphIndex = pick(4);
    s.EncodeMode = run % 5;
    s.M = 1 + pick(15);
    s.Distribution = pick(2);
    s.ScanHorizontal = pick(2) == 1;
    s.Limit = limits[pick(3)];
    std::u16string text;
    for (int k = 0; k < 40; ++k) text += Characters[static_cast<std::size_t>(pick(static_cast<int>(Characters.size())))];
    TChr engine;
    engine.BuildFor(s, text);
    const std::string got(reinterpret_cast<const char*>(engine.Bank.Slots), sizeof engine.Bank.Slots);
    const std::string want = SurfaceBank(s, text);
    if (got != want) {
      std::size_t at = 0;
      while (got[at] == want[at]) ++at;
      FAIL() << f.label << ", " << Describe(s) << ": slot " << at / 16 << " differs";
    }
  }
}

TEST(InkRows, OnlyCellsUpToThirtyTwoPixelsASideUseThem) {
  const struct {
    int w, h;
    bool suffice;
  } cases[] = {{8, 8, true}, {32, 32, true}, {32, 8, true}, {1, 1, true}, {33, 8, false},
               {8, 40, false}, {0, 16, false}, {16, -8, false}};
  for (const auto& c : cases) {
    TChr engine;
    engine.Settings.CellWidth = c.w;
    engine.Settings.CellHeight = c.h;
    EXPECT_EQ(engine.InkRowsSuffice(), c.suffice) << c.w << " x " << c.h;
  }
}

TEST(InkRows, FarOffsetsDrawNothingOnEitherPath) {
  // Positions past the ends of int once crashed the surface's glyph blit.
  TFont font = Styled(test::TestFont(), false, false, true, true);
  for (auto [x, y] : {std::pair{INT_MIN, 0}, std::pair{0, INT_MIN}, std::pair{INT_MAX, 0}, std::pair{0, INT_MAX},
                      std::pair{INT_MIN, INT_MIN}, std::pair{INT_MAX - 3, 2}}) {
    TChrSettings s = test::StartSettings(&font);
    s.OffsetX = x;
    s.OffsetY = y;
    TChr engine;
    engine.BuildFor(s, u"你好A");
    const std::string want = SurfaceBank(s, u"你好A");
    EXPECT_EQ(std::string(engine.BankBytes()), want.substr(0, 4096)) << x << "," << y;
    // The three 2 x 2 blocks: slots 0..5 and 16..21, background only.
    for (int t : {0, 1, 2, 3, 4, 5, 16, 17, 18, 19, 20, 21})
      EXPECT_EQ(engine.Bank.Slots[t], TTile{}) << x << "," << y << " slot " << t;
  }
}

}  // namespace
}  // namespace mipofc
