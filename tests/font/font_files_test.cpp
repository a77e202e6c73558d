// What a font file holds, as the window's face choice and tooltips show it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "base/errors.h"
#include "font/font.h"

namespace mipofc {
namespace {

const std::string BdfPath = std::string(MIPOFC_TEST_DATA) + "/mipo-test16.bdf";
const char* const ZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

TEST(FontFileFaces, BitmapFontIsOneFaceWithItsStrike) {
  const auto faces = FontFileFaces(BdfPath);
  ASSERT_EQ(faces.size(), 1u);
  EXPECT_EQ(faces[0].Index, 0);
  EXPECT_EQ(faces[0].Family, "Mipo Test");
  EXPECT_FALSE(faces[0].Outline);
  EXPECT_EQ(faces[0].StrikePixels, std::vector<int>{16});
}

TEST(FontFileFaces, CollectionListsEveryFaceInIndexOrder) {
  if (!std::filesystem::exists(ZenHei)) GTEST_SKIP() << "needs fonts-wqy-zenhei";
  const auto faces = FontFileFaces(ZenHei);
  ASSERT_EQ(faces.size(), 3u);
  std::vector<std::string> families;
  for (std::size_t i = 0; i < faces.size(); ++i) {
    EXPECT_EQ(faces[i].Index, static_cast<int>(i));
    EXPECT_TRUE(faces[i].Outline);
    EXPECT_TRUE(std::is_sorted(faces[i].StrikePixels.begin(), faces[i].StrikePixels.end()));
    families.push_back(faces[i].Family);
  }
  // Each face has a name of its own; the Sharp face carries the bitmap strikes, the others none.
  std::sort(families.begin(), families.end());
  EXPECT_EQ(std::unique(families.begin(), families.end()), families.end());
  EXPECT_TRUE(std::binary_search(families.begin(), families.end(), "WenQuanYi Zen Hei Sharp"));
  for (const auto& face : faces) {
    if (face.Family == "WenQuanYi Zen Hei Sharp")
      EXPECT_EQ(face.StrikePixels, (std::vector<int>{12, 13, 14, 15, 16}));
    else
      EXPECT_TRUE(face.StrikePixels.empty()) << face.Family;
  }
}

TEST(FontFileFaces, UnreadableFilesNameThePath) {
  const std::string missing = std::string(MIPOFC_TEST_DATA) + "/no-such-font.bdf";
  const std::string notAFont = std::string(MIPOFC_TEST_DATA) + "/../make_test_font.py";
  for (const std::string& file : {missing, notAFont}) {
    try {
      FontFileFaces(file);
      ADD_FAILURE() << file << " listed";
    } catch (const TFontError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(file + ": ", 0), 0u) << e.what();
    }
  }
}

// An 8 x 8 font with one glyph, 'A', whose rows are all row.
std::string OneGlyphFont(const char* row) {
  std::string rows;
  for (int r = 0; r < 8; ++r) rows += std::string(row) + "\n";
  return "STARTFONT 2.1\nFONT -Mipo-One-Medium-R-Normal--8-60-96-96-C-80-ISO10646-1\nSIZE 6 96 96\n"
         "FONTBOUNDINGBOX 8 8 0 -1\nSTARTPROPERTIES 3\nFONT_ASCENT 7\nFONT_DESCENT 1\nCHARSET_REGISTRY \"ISO10646\"\n"
         "ENDPROPERTIES\nCHARS 1\nSTARTCHAR A\nENCODING 65\nSWIDTH 1000 0\nDWIDTH 8 0\nBBX 8 8 0 -1\nBITMAP\n" +
         rows + "ENDCHAR\nENDFONT\n";
}

TEST(FontFile, AFileEditedWhileTheProgramRunsIsReadAnew) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "mipofc-edited-font.bdf";
  TFont font;
  font.File = file.string();
  std::uint32_t ink[8];
  const auto firstRow = [&] {
    std::fill(std::begin(ink), std::end(ink), 0u);
    ResolveFont(font)->InkRows(0, 0, u'A', 8, 8, ink);
    return ink[0] >> 24;
  };
  std::ofstream(file, std::ios::binary) << OneGlyphFont("F0");
  EXPECT_EQ(firstRow(), 0xF0u);
  // The same size, and a modification time that a coarse clock could leave the same, changed.
  std::ofstream(file, std::ios::binary) << OneGlyphFont("0F");
  std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
  EXPECT_EQ(firstRow(), 0x0Fu);
  std::filesystem::remove(file);
}

TEST(PointsForEmPixels, TheSizeWhoseEmIsThatHeight) {
  const std::pair<int, int> cases[] = {{8, 6},  {13, 10}, {12, 9}, {16, 12}, {37, 28},
                                       {10, 0}, {14, 0},  {7, 0},  {38, 0},  {0, 0}};
  for (const auto& [pixels, points] : cases) EXPECT_EQ(PointsForEmPixels(pixels), points) << pixels;
  EXPECT_EQ(PointsForEmPixels(16, 13, 28), 0);
  // Every size of the slider gives an em this answers back.
  for (int pt = 6; pt <= 28; ++pt) EXPECT_EQ(PointsForEmPixels(MulDivRound(pt, 96, 72)), pt);
}

TEST(PointSizesForEmPixels, EverySizeThatGivesTheHeight) {
  // The em grows by 4/3 pixel a point, so no two whole sizes share one: each list holds one size
  // or none, and together they hold every size once.
  std::vector<int> all;
  for (int px = 0; px <= 40; ++px) {
    const std::vector<int> sizes = PointSizesForEmPixels(px);
    EXPECT_LE(sizes.size(), 1u) << px;
    for (const int pt : sizes) EXPECT_EQ(MulDivRound(pt, 96, 72), px);
    all.insert(all.end(), sizes.begin(), sizes.end());
  }
  EXPECT_EQ(all.size(), 23u);
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
  // A range is honoured at both ends.
  EXPECT_EQ(PointSizesForEmPixels(13, 10, 10), std::vector<int>{10});
  EXPECT_EQ(PointSizesForEmPixels(13, 11, 28), std::vector<int>{});
}

}  // namespace
}  // namespace mipofc
