#include "engine/font.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/surface.h"

namespace mipofc {
namespace {

constexpr TColor Paper = 0xFFFFFF;
constexpr TColor Ink = 0x336699;

const std::string BdfPath = std::string(MIPOFC_TEST_DATA) + "/mipo-test16.bdf";

// What the test font's file says, read independently of the font layer.
struct BdfGlyph {
  int advance = 0, width = 0, height = 0, xoff = 0, yoff = 0;
  std::vector<unsigned long> rows;  // left-aligned in (width + 7) / 8 bytes
  bool At(int c, int r) const {
    const int bits = (width + 7) / 8 * 8;
    return (rows[static_cast<std::size_t>(r)] >> (bits - 1 - c)) & 1;
  }
};

struct BdfFile {
  std::map<std::string, int> props;
  std::map<int, BdfGlyph> glyphs;
};

const BdfFile& Bdf() {
  static const BdfFile file = [] {
    BdfFile f;
    std::ifstream in(BdfPath);
    std::string line;
    bool inProps = false;
    int code = -1;
    BdfGlyph g;
    while (std::getline(in, line)) {
      std::istringstream words(line);
      std::string key;
      words >> key;
      if (key == "STARTPROPERTIES")
        inProps = true;
      else if (key == "ENDPROPERTIES")
        inProps = false;
      else if (inProps) {
        int value;
        if (words >> value) f.props[key] = value;
      } else if (key == "ENCODING")
        words >> code;
      else if (key == "DWIDTH")
        words >> g.advance;
      else if (key == "BBX")
        words >> g.width >> g.height >> g.xoff >> g.yoff;
      else if (key == "BITMAP") {
        for (int r = 0; r < g.height && std::getline(in, line); ++r)
          g.rows.push_back(std::stoul(line, nullptr, 16));
      } else if (key == "ENDCHAR") {
        f.glyphs[code] = g;
        g = BdfGlyph();
      }
    }
    return f;
  }();
  return file;
}

int Prop(const char* name) {
  auto it = Bdf().props.find(name);
  return it == Bdf().props.end() ? INT_MIN : it->second;
}

// The test font as a named file at 12 points, which is its 16-pixel strike.
TFont BdfFont() {
  TFont f;
  f.File = BdfPath;
  f.SetSize(12);
  f.Color = static_cast<std::int32_t>(Ink);
  return f;
}

// A picture of a surface, one text row per pixel row: '#' ink, '.' paper, '?' anything else.
using Picture = std::vector<std::string>;

Picture Blank(int w, int h) {
  return Picture(static_cast<std::size_t>(h), std::string(static_cast<std::size_t>(w), '.'));
}

void Mark(Picture& p, int x, int y) {
  if (y >= 0 && y < static_cast<int>(p.size()) && x >= 0 && x < static_cast<int>(p[0].size()))
    p[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = '#';
}

std::string Show(const Picture& p) {
  std::string s = "\n";
  for (const auto& row : p) s += row + "\n";
  return s;
}

// Draws one code unit on a paper surface of w x h with the top-left of its box at (x, y).
Picture Draw(const TFont& font, char16_t ch, int w, int h, int x, int y) {
  TBitmap bm;
  bm.SetSize(w, h);
  bm.Canvas.BrushColor = bm.Canvas.PenColor = Paper;
  bm.FillRect(0, 0, w, h);
  bm.Canvas.Font = font;
  bm.TextOut(x, y, ch);
  Picture p = Blank(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const TColor c = bm.GetPixel(i, j);
      if (c != Paper) p[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] = c == Ink ? '#' : '?';
    }
  return p;
}

// Where the font file puts a glyph: its bitmap's top row lies FONT_ASCENT - (height + yoff)
// below the box top, its left column xoff right of the origin.
void MarkGlyph(Picture& p, const BdfGlyph& g, int x, int y, int dx = 0) {
  const int top = y + Prop("FONT_ASCENT") - (g.height + g.yoff);
  for (int r = 0; r < g.height; ++r)
    for (int c = 0; c < g.width; ++c)
      if (g.At(c, r)) Mark(p, x + g.xoff + c + dx, top + r);
}

Picture Expected(char16_t ch, int w, int h, int x, int y) {
  Picture p = Blank(w, h);
  MarkGlyph(p, Bdf().glyphs.at(ch), x, y);
  return p;
}

int InkCount(const Picture& p) {
  int n = 0;
  for (const auto& row : p)
    for (char c : row) n += c != '.';
  return n;
}

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
  EXPECT_EQ(face->FaceFileFor(u'A'), BdfPath);
  EXPECT_EQ(face->FaceFileFor(u'你'), BdfPath);
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

TEST(FontArithmetic, SizeAndHeightStayInStep) {
  struct Case {
    int points, height;
  } sizes[] = {{10, -13}, {28, -37}, {9, -12}, {12, -16}, {11, -15}, {8, -11}, {0, 0}, {-11, 15}};
  for (const auto& c : sizes) {
    TFont f;
    f.SetSize(c.points);
    EXPECT_EQ(f.Size, c.points);
    EXPECT_EQ(f.Height, c.height) << c.points << " pt";
  }
  struct HCase {
    int height, points;
  } heights[] = {{-12, 9}, {-13, 10}, {-37, 28}, {-16, 12}, {-11, 8}, {-14, 11}, {0, 0}, {18, -14}};
  for (const auto& c : heights) {
    TFont f;
    f.SetHeight(c.height);
    EXPECT_EQ(f.Height, c.height);
    EXPECT_EQ(f.Size, c.points) << c.height << " px";
  }
}

TEST(FontArithmetic, MulDivRoundsHalfAwayFromZero) {
  struct Case {
    int a, b, c, want;
  } cases[] = {
      {5, 1, 2, 3},
      {-5, 1, 2, -3},
      {5, -1, 2, -3},
      {7, 1, -2, -4},
      {-7, -1, -2, -4},
      {4, 1, 3, 1},
      {-4, 1, 3, -1},
      {10, 96, 72, 13},
      {-13, 72, 96, -10},
      {INT_MAX, 2, 2, INT_MAX},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {1, 1, 0, -1},
      {INT_MAX, 4, 2, -1},
      {INT_MIN, 2, 2, INT_MIN},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MulDivRound(c.a, c.b, c.c), c.want) << c.a << " * " << c.b << " / " << c.c;
}

TEST(FontArithmetic, ExtremeSizesStayDefined) {
  TFont f;
  f.SetHeight(INT_MIN);
  EXPECT_GE(f.Size, 0);
  f.SetSize(INT_MIN);
  EXPECT_EQ(f.Size, INT_MIN);
  // Drawing with absurd sizes neither crashes nor throws.
  for (int h : {INT_MIN, INT_MAX, -100000}) {
    TFont g = BdfFont();
    g.Height = h;
    EXPECT_NO_THROW(Draw(g, u'A', 8, 8, 0, 0)) << h;
  }
}

TEST(FontIdentity, SameFaceIgnoresOnlyTheColour) {
  const TFont base;
  TFont other = base;
  other.Color = 0x123456;
  EXPECT_TRUE(base.SameFace(other));
  std::vector<void (*)(TFont&)> changes = {
      [](TFont& f) { f.Name = "SimHei"; },  [](TFont& f) { f.Size = 11; },
      [](TFont& f) { f.Height = -14; },     [](TFont& f) { f.Bold = true; },
      [](TFont& f) { f.Italic = true; },    [](TFont& f) { f.Underline = true; },
      [](TFont& f) { f.StrikeOut = true; }, [](TFont& f) { f.CharSet = 134; },
      [](TFont& f) { f.File = "x.bdf"; },   [](TFont& f) { f.FaceIndex = 1; },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    TFont changed = base;
    changes[i](changed);
    EXPECT_FALSE(base.SameFace(changed)) << "change " << i;
  }
}

TEST(FontIdentity, ResolvedFontsAreSharedAcrossColours) {
  TFont a = BdfFont(), b = BdfFont();
  b.Color = 0x0000FF;
  EXPECT_EQ(ResolveFont(a), ResolveFont(b));
  b.Bold = true;
  EXPECT_NE(ResolveFont(a), ResolveFont(b));
}

TEST(FontIdentity, FontsInUseOutliveCacheTrimming) {
  TFont kept = BdfFont();
  kept.Height = -7;
  const auto held = ResolveFont(kept);
  for (int h = 1; h <= 100; ++h) {
    TFont f = BdfFont();
    f.Height = -100 - h;
    ResolveFont(f);
  }
  EXPECT_EQ(ResolveFont(kept), held);
}

TEST(FontErrors, UnreadableFilesNameThePath) {
  const std::string script = std::string(MIPOFC_TEST_DATA) + "/../make_test_font.py";
  // The test font cut off in the middle of a glyph.
  const std::string truncated =
      (std::filesystem::temp_directory_path() / ("mipofc-truncated-" + std::to_string(::getpid()) + ".bdf"))
          .string();
  {
    std::ifstream in(BdfPath, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(truncated, std::ios::binary) << text.substr(0, text.size() / 3);
  }
  struct Case {
    std::string file;
    int index;
  } cases[] = {
      {std::string(MIPOFC_TEST_DATA) + "/no-such-font.ttf", 0},
      {script, 0},
      {truncated, 0},
      {BdfPath, 3},
      {BdfPath, -1},
  };
  for (const auto& c : cases) {
    TFont f = BdfFont();
    f.File = c.file;
    f.FaceIndex = c.index;
    try {
      ResolveFont(f);
      ADD_FAILURE() << c.file << " #" << c.index << " opened";
    } catch (const TFontError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.file + ": ", 0), 0u) << e.what();
      EXPECT_GT(std::string(e.what()).size(), c.file.size() + 2) << "a reason follows";
    }
    // The failure is not remembered as a font: asking again fails again.
    EXPECT_THROW(ResolveFont(f), TFontError);
    TBitmap bm;
    bm.SetSize(4, 4);
    bm.Canvas.Font = f;
    EXPECT_THROW(bm.TextOut(0, 0, u'A'), TFontError);
  }
  std::filesystem::remove(truncated);
}

// The machine's CJK fonts: properties only, shapes belong to the font.
const char* const ZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

bool HaveZenHei() {
  return std::filesystem::exists(ZenHei);
}

TEST(SystemFonts, SongFamilyNamesFindTheBitmapCjkFace) {
  if (!HaveZenHei()) GTEST_SKIP() << "needs fonts-wqy-zenhei";
  for (const char* name : {"宋体", "SimSun", "新宋体", "NSimSun", "黑体"}) {
    for (int charSet : {0, 134}) {
      TFont f;
      f.Name = name;
      f.CharSet = charSet;
      auto face = ResolveFont(f);
      EXPECT_EQ(face->EmPixels(), 13) << name;
      EXPECT_EQ(face->FaceFileFor(u'你'), ZenHei) << name << " charset " << charSet;
      EXPECT_EQ(face->FaceFileFor(u'A'), ZenHei) << name << " charset " << charSet;
    }
  }
}

TEST(SystemFonts, DefaultFontDrawsIdeographsInsideTheirCell) {
  if (!HaveZenHei()) GTEST_SKIP() << "needs fonts-wqy-zenhei";
  TFont f;  // 宋体 at 10 points, em 13
  f.Color = static_cast<std::int32_t>(Ink);
  for (char16_t ch : std::u16string(u"你好中國")) {
    const Picture p = Draw(f, ch, 32, 32, 8, 8);
    EXPECT_GT(InkCount(p), 10);
    for (int j = 0; j < 32; ++j)
      for (int i = 0; i < 32; ++i) {
        const char c = p[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)];
        EXPECT_NE(c, '?') << "monochrome";
        if (c != '.') {
          EXPECT_TRUE(i >= 8 && i < 24 && j >= 8 && j < 24) << i << "," << j << Show(p);
        }
      }
  }
}

TEST(SystemFonts, UnderlineLiesBelowAndStrikeOutAboveTheBaseline) {
  if (!HaveZenHei()) GTEST_SKIP() << "needs fonts-wqy-zenhei";
  for (int points : {10, 12, 20}) {  // bitmap strikes and an outline size
    for (bool under : {true, false}) {
      TFont f;
      f.SetSize(points);
      f.Color = static_cast<std::int32_t>(Ink);
      f.Underline = under;
      f.StrikeOut = !under;
      const int x = 4, y = 4, baseline = y + ResolveFont(f)->Ascent();
      const Picture p = Draw(f, u' ', 48, 48, x, y);
      int bars = 0;
      for (int j = 0; j < 48; ++j) {
        const std::string& row = p[static_cast<std::size_t>(j)];
        if (row.find('#') == std::string::npos) continue;
        ++bars;
        // A bar from the origin rightwards, and nothing else.
        const std::size_t end = row.find('.', x);
        EXPECT_EQ(row.find('#'), static_cast<std::size_t>(x)) << points << " pt row " << j;
        EXPECT_EQ(row.find('#', end), std::string::npos) << points << " pt row " << j;
        if (under) {
          EXPECT_GE(j, baseline) << points << " pt underline row " << j;
        } else {
          EXPECT_LT(j, baseline) << points << " pt strike-out row " << j;
        }
      }
      EXPECT_GE(bars, 1) << points << " pt";
    }
  }
}

TEST(SystemFonts, FamilyWithoutIdeographsFallsBackPerCharacter) {
  if (!HaveZenHei()) GTEST_SKIP() << "needs fonts-wqy-zenhei";
  TFont f;
  f.Name = "DejaVu Sans";
  f.SetSize(12);
  f.Color = static_cast<std::int32_t>(Ink);
  auto face = ResolveFont(f);
  const std::string latin = face->FaceFileFor(u'A');
  if (latin.find("DejaVuSans") == std::string::npos) GTEST_SKIP() << "DejaVu Sans not installed";
  const std::string han = face->FaceFileFor(u'你');
  EXPECT_NE(han, "");
  EXPECT_NE(han, latin);
  // A noncharacter no face has, and a lone surrogate, draw the matched face's missing glyph.
  EXPECT_EQ(face->FaceFileFor(u'\uFFFF'), "");
  EXPECT_EQ(face->FaceFileFor(char16_t{0xDC00}), "");
  const Picture missing = Draw(f, u'\uFFFF', 32, 32, 4, 4);
  EXPECT_EQ(Show(Draw(f, char16_t{0xDC00}, 32, 32, 4, 4)), Show(missing));
  const Picture ni = Draw(f, u'你', 32, 32, 4, 4);
  EXPECT_GT(InkCount(ni), 10);
  EXPECT_NE(Show(ni), Show(missing));
}

TEST(SystemFonts, BoldUsesTheFamilysBoldFaceOrSynthesizesOne) {
  if (!HaveZenHei()) GTEST_SKIP() << "needs fonts-wqy-zenhei";
  TFont dejavu;
  dejavu.Name = "DejaVu Sans";
  dejavu.Bold = true;
  const std::string boldFile = ResolveFont(dejavu)->FaceFileFor(u'A');
  if (boldFile.find("DejaVuSans") != std::string::npos) {
    EXPECT_NE(boldFile.find("Bold"), std::string::npos) << boldFile;
  }

  // The Song face has no bold: its glyphs are struck twice.
  TFont plain;
  plain.Color = static_cast<std::int32_t>(Ink);
  TFont bold = plain;
  bold.Bold = true;
  for (char16_t ch : std::u16string(u"你一")) {
    const Picture p = Draw(plain, ch, 24, 24, 4, 4);
    Picture want = p;
    for (int j = 0; j < 24; ++j)
      for (int i = 0; i < 23; ++i)
        if (p[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] == '#') Mark(want, i + 1, j);
    EXPECT_EQ(Show(Draw(bold, ch, 24, 24, 4, 4)), Show(want));
  }
}

}  // namespace
}  // namespace mipofc
