// mipofc-cli fonts: the faces fontconfig offers with their strikes, and what a family comes to.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "font/font.h"
#include "tests/cli/cli_runner.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The size in points 6..28 whose em round(pt x 96 / 72) is px, worked out here on its own.
std::string PointsText(int px) {
  for (int pt = 6; pt <= 28; ++pt)
    if ((pt * 96 + 36) / 72 == px) return std::to_string(pt) + " pt";
  return "no point size";
}

// A BDF font of one strike of px pixels with a one-pixel glyph for each character of chars.
void WriteBdf(const fs::path& path, const std::string& family, int px, std::u16string_view chars) {
  std::ofstream out(path);
  out << "STARTFONT 2.1\nFONT -Mipo-" << family << "-Medium-R-Normal--" << px << "-" << px * 10
      << "-72-72-C-80-ISO10646-1\nSIZE " << px << " 72 72\nFONTBOUNDINGBOX 8 " << px << " 0 -2\n"
      << "STARTPROPERTIES 7\nFAMILY_NAME \"" << family << "\"\nPIXEL_SIZE " << px << "\nFONT_ASCENT " << px - 2
      << "\nFONT_DESCENT 2\nSPACING \"C\"\n"
      // Without the registry FreeType finds no Unicode character map, and fontconfig skips the file.
      << "CHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\nENDPROPERTIES\nCHARS " << chars.size() + 1 << "\n";
  std::u16string all = u"A";
  all += chars;
  for (char16_t ch : all)
    out << "STARTCHAR U+" << std::hex << static_cast<int>(ch) << std::dec << "\nENCODING " << static_cast<int>(ch)
        << "\nSWIDTH 500 0\nDWIDTH 8 0\nBBX 1 1 0 0\nBITMAP\n80\nENDCHAR\n";
  out << "ENDFONT\n";
}

// A fontconfig configuration of the fonts in one folder alone, so that the listing is known.
class PrivateFonts {
 public:
  explicit PrivateFonts(const fs::path& fonts) {
    std::ofstream(dir_ / "fonts.conf") << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                                          "<fontconfig>\n  <dir>"
                                       << fonts.string() << "</dir>\n  <cachedir>" << (dir_ / "cache")
                                       << "</cachedir>\n</fontconfig>\n";
  }
  test::TRun Run(const std::string& args) {
    return test::RunIn(dir_, "FONTCONFIG_FILE='" + (dir_ / "fonts.conf") + "' '" + MIPOFC_CLI + "' " + args);
  }

 private:
  test::TempDir dir_;
};

// The installed WenQuanYi Zen Hei collection, whose face 2 (Sharp) has strikes at 12..16 px.
constexpr char ZenHei[] = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

test::TRun RunSystem(const std::string& args) {
  test::TempDir dir;
  return test::RunProgram(dir, MIPOFC_CLI, args);
}

TEST(CliFontsCommand, ListsTheTestFontOneFaceALine) {
  PrivateFonts fonts(MIPOFC_TEST_DATA);
  const test::TRun r = fonts.Run("fonts");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Mipo Test\tRegular\t" MIPOFC_TEST_DATA "/mipo-test16.bdf\t0\tbitmap\t16 px (12 pt)\n");
  EXPECT_EQ(r.err, "");
  // Without a face that has the common ideographs the listing is empty, and says so apart.
  const test::TRun cjk = fonts.Run("fonts --cjk");
  EXPECT_EQ(cjk.status, 0);
  EXPECT_EQ(cjk.out, "");
  EXPECT_EQ(cjk.err, "fontconfig offers no face with the common ideographs\n");
}

TEST(CliFontsCommand, CjkNeedsEveryCommonIdeographAndStrikesNameTheirPointSizes) {
  ASSERT_EQ(CommonIdeographs.size(), 100u);
  test::TempDir folder;
  const std::u16string_view all = CommonIdeographs;
  WriteBdf(folder.Path() / "all.bdf", "Mipo All", 14, all);
  WriteBdf(folder.Path() / "first99.bdf", "Mipo First", 13, all.substr(0, 99));
  WriteBdf(folder.Path() / "last99.bdf", "Mipo Last", 15, all.substr(1));
  WriteBdf(folder.Path() / "latin.bdf", "Mipo Latin", 12, u"BC");
  PrivateFonts fonts(folder.Path());
  const std::string path = folder.Path().string() + "/";
  EXPECT_EQ(fonts.Run("fonts").out, "Mipo All\tRegular\t" + path + "all.bdf\t0\tbitmap\t14 px (no point size)\n"
                                    "Mipo First\tRegular\t" + path + "first99.bdf\t0\tbitmap\t13 px (10 pt)\n"
                                    "Mipo Last\tRegular\t" + path + "last99.bdf\t0\tbitmap\t15 px (11 pt)\n"
                                    "Mipo Latin\tRegular\t" + path + "latin.bdf\t0\tbitmap\t12 px (9 pt)\n");
  EXPECT_EQ(fonts.Run("fonts --cjk").out, "Mipo All\tRegular\t" + path + "all.bdf\t0\tbitmap\t14 px (no point size)\n");
  // The hundred are distinct ideographs, so each of the two near misses lacks a real one.
  std::u16string sorted(all);
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
  EXPECT_GE(sorted.front(), u'\u4E00');
  EXPECT_LE(sorted.back(), u'\u9FFF');
}

TEST(CliFontsCommand, WenQuanYiSharpShowsItsStrikesAndThePointSizesThatGiveThem) {
  if (!fs::exists(ZenHei)) GTEST_SKIP() << ZenHei << " is not installed";
  std::string strikes;
  for (int px = 12; px <= 16; ++px) strikes += (px > 12 ? ", " : "") + std::to_string(px) + " px (" + PointsText(px) + ")";
  ASSERT_EQ(strikes, "12 px (9 pt), 13 px (10 pt), 14 px (no point size), 15 px (11 pt), 16 px (12 pt)");
  const std::string sharp = "WenQuanYi Zen Hei Sharp\tRegular\t/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc\t2\toutline\t" + strikes;
  const test::TRun all = RunSystem("fonts");
  ASSERT_EQ(all.status, 0) << all.err;
  const std::vector<std::string> lines = Lines(all.out);
  EXPECT_NE(std::find(lines.begin(), lines.end(), sharp), lines.end()) << all.out;
  // Every line has its six fields; DejaVu Sans Book is an outline face without strikes.
  for (const std::string& line : lines) EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 5) << line;
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "DejaVu Sans\tBook\t/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf\t0\toutline\tno strikes"),
            lines.end());
  EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end())) << all.out;

  const test::TRun cjk = RunSystem("fonts --cjk");
  EXPECT_EQ(cjk.status, 0);
  const std::vector<std::string> cjkLines = Lines(cjk.out);
  EXPECT_NE(std::find(cjkLines.begin(), cjkLines.end(), sharp), cjkLines.end()) << cjk.out;
  for (const char* family : {"WenQuanYi Zen Hei\t", "WenQuanYi Zen Hei Mono\t", "Unifont\t"})
    EXPECT_EQ(std::count_if(cjkLines.begin(), cjkLines.end(), [&](const std::string& l) { return l.rfind(family, 0) == 0; }), 1)
        << family << "\n" << cjk.out;
  for (const std::string& line : cjkLines) {
    EXPECT_EQ(line.find("DejaVu"), std::string::npos) << line;
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  }
}

TEST(CliFontsCommand, AFamilySaysWhatExportDrawsItWith) {
  if (!fs::exists(ZenHei)) GTEST_SKIP() << ZenHei << " is not installed";
  const std::string sharp =
      "WenQuanYi Zen Hei Sharp\tRegular\t/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc\t2\toutline\t"
      "12 px (9 pt), 13 px (10 pt), 14 px (no point size), 15 px (11 pt), 16 px (12 pt)\n";
  const std::string zenhei = "WenQuanYi Zen Hei\tRegular\t/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc\t0\toutline\tno strikes\n";
  const std::pair<std::string, std::string> cases[] = {
      {"宋体", "宋体 is mapped to WenQuanYi Zen Hei Sharp\n" + sharp},
      {"NSimSun --size 12 --bold", "NSimSun is mapped to WenQuanYi Zen Hei Sharp\n" + sharp},
      {"黑体", "黑体 is mapped to WenQuanYi Zen Hei\n" + zenhei},
      {"'WenQuanYi Zen Hei'", "WenQuanYi Zen Hei is installed\n" + zenhei},
      {"'wenquanyi zenhei'", "wenquanyi zenhei is installed\n" + zenhei},
      {"文泉驿正黑", "文泉驿正黑 is installed\n" + zenhei},
  };
  for (const auto& [args, expected] : cases) {
    const test::TRun r = RunSystem("fonts " + args);
    EXPECT_EQ(r.status, 0) << args << ": " << r.err;
    EXPECT_EQ(r.out, expected) << args;
  }
  // A name fontconfig does not know is substituted, with the face the export warning names.
  const test::TRun unknown = RunSystem("fonts NoSuchFamily");
  EXPECT_EQ(unknown.status, 0);
  const std::vector<std::string> lines = Lines(unknown.out);
  ASSERT_EQ(lines.size(), 2u) << unknown.out;
  const std::string prefix = "NoSuchFamily is not installed: substituted by ";
  ASSERT_EQ(lines[0].rfind(prefix, 0), 0u) << lines[0];
  const std::string used = lines[0].substr(prefix.size());
  EXPECT_EQ(lines[1].rfind(used + "\t", 0), 0u) << lines[1];
  test::TempDir dir;
  std::ofstream(dir / "in.txt") << "ABC";
  EXPECT_EQ(test::RunProgram(dir, MIPOFC_CLI, "export in.txt -o a.chr -q --font NoSuchFamily").err,
            "NoSuchFamily is not installed: drawing with " + used + "\n");
}

TEST(CliFontsCommand, APrivateConfigurationHasNoneOfTheMappedFaces) {
  PrivateFonts fonts(MIPOFC_TEST_DATA);
  const std::string face = "Mipo Test\tRegular\t" MIPOFC_TEST_DATA "/mipo-test16.bdf\t0\tbitmap\t16 px (12 pt)\n";
  EXPECT_EQ(fonts.Run("fonts 'Mipo Test'").out, "Mipo Test is installed\n" + face);
  // The rule sends 宋体 to a face this configuration lacks: the name is not there.
  EXPECT_EQ(fonts.Run("fonts 宋体").out, "宋体 is not installed: substituted by Mipo Test\n" + face);
}

TEST(CliFontsCommand, FlagsThatDoNotGoTogetherAreUsageErrors) {
  const std::pair<const char*, const char*> cases[] = {
      {"fonts --cjk 宋体", "mipofc-cli: --cjk filters the listing: give no FAMILY with it\n"},
      {"fonts --size 12", "mipofc-cli: --size, --bold and --italic need a FAMILY to match\n"},
      {"fonts --bold", "mipofc-cli: --size, --bold and --italic need a FAMILY to match\n"},
  };
  for (const auto& [args, message] : cases) {
    const test::TRun r = RunSystem(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.err, message) << args;
    EXPECT_EQ(r.out, "") << args;
  }
  EXPECT_EQ(RunSystem("fonts 宋体 --size 40").status, 2);
}

}  // namespace
}  // namespace mipofc
