// The font object: its size arithmetic, which fonts are the same face, and its errors.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/errors.h"
#include "font/font.h"
#include "font/surface.h"

#include "tests/font/font_pictures.h"

namespace mipofc {
namespace {

using namespace test;

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
    std::ifstream in(BdfPath(), std::ios::binary);
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
      {BdfPath(), 3},
      {BdfPath(), -1},
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

}  // namespace
}  // namespace mipofc
