// Whether a family name is really there, and which face it is drawn with.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/errors.h"
#include "font/font.h"

namespace mipofc {
namespace {

const char* const ZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

TFont Family(const std::string& name, int charSet = 0) {
  TFont f;
  f.Name = name;
  f.CharSet = charSet;
  return f;
}

TEST(FamilyMatch, WindowsSongNamesAreMappedToTheBitmapCjkFace) {
  if (!std::filesystem::exists(ZenHei)) GTEST_SKIP() << "needs fonts-wqy-zenhei";
  for (const char* name : {"宋体", "SimSun", "新宋体", "NSimSun", "simsun"})
    for (int charSet : {0, 134}) {
      const TFamilyMatch m = MatchFontFamily(Family(name, charSet));
      EXPECT_TRUE(m.Installed) << name;
      EXPECT_EQ(m.Family, "WenQuanYi Zen Hei Sharp") << name;
      EXPECT_EQ(m.File, ZenHei) << name;
      // The face the match names is the one export draws with.
      EXPECT_EQ(ResolveFont(Family(name, charSet))->FaceFileFor(u'你'), m.File) << name;
    }
}

TEST(FamilyMatch, InstalledFamiliesAreThereWhateverTheirSpellingAndStyle) {
  if (!std::filesystem::exists(ZenHei)) GTEST_SKIP() << "needs fonts-wqy-zenhei";
  for (const char* name : {"WenQuanYi Zen Hei", "wenquanyi zenhei", "WENQUANYI ZEN HEI SHARP", "sans-serif"}) {
    TFont f = Family(name, 134);
    f.Bold = true;
    f.SetSize(20);
    EXPECT_TRUE(MatchFontFamily(f).Installed) << name;
  }
}

TEST(FamilyMatch, AnUnknownNameIsNotThereAndNamesTheDefaultFace) {
  const TFamilyMatch a = MatchFontFamily(Family("NoSuchFamily"));
  const TFamilyMatch b = MatchFontFamily(Family("Mipo Other Missing Family"));
  EXPECT_FALSE(a.Installed);
  EXPECT_FALSE(b.Installed);
  // Both fall through to fontconfig's defaults: the same face.
  EXPECT_EQ(a.Family, b.Family);
  EXPECT_EQ(a.File, b.File);
  EXPECT_FALSE(a.Family.empty());
  EXPECT_TRUE(std::filesystem::exists(a.File)) << a.File;
  EXPECT_EQ(ResolveFont(Family("NoSuchFamily"))->FaceFileFor(u'A'), a.File);
  // The default face is itself installed.
  EXPECT_TRUE(MatchFontFamily(Family(a.Family)).Installed) << a.Family;
}

TEST(FamilyMatch, EveryRuleFamilyIsListedOnceAndMapped) {
  if (!std::filesystem::exists(ZenHei)) GTEST_SKIP() << "needs fonts-wqy-zenhei";
  const std::vector<std::string> names = RuleFamilyNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.front(), "宋体");  // the default family comes first
  for (const std::string& name : names) {
    EXPECT_TRUE(MatchFontFamily(Family(name)).Mapped) << name;
    EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
  }
}

TEST(FamilyMatch, ABuildUsesTheRulesCompiledIn) {
  // The test programs are not installed: no share/mipofc beside their folder.
  EXPECT_EQ(FamilyRulesFile(), "");
}

}  // namespace
}  // namespace mipofc
