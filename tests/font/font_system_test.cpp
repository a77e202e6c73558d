// The machine's CJK fonts: properties only, shapes belong to the font.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "font/font.h"
#include "font/surface.h"

#include "tests/font/font_pictures.h"

namespace mipofc {
namespace {

using namespace test;

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
