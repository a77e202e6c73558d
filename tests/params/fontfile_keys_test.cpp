// The font file of a parameter file: "FontFile" and "FontFace" in "字体属性", written only while a
// font file is in use, and every path read back exactly.
#include <gtest/gtest.h>

#include <fstream>

#include "params/ini.h"
#include "params/param_file.h"
#include "tests/test_util.h"
#include "text/text.h"

namespace mipofc {
namespace {

std::string Gbk(const char* utf8) {
  return Utf8ToGbk(utf8).value();
}

// The raw bytes of a key in 字体属性, as another program would read them.
std::optional<std::string> FontKey(const std::string& path, const char* key) {
  return TIniFile(test::ReadFile(path)).Value(Gbk("字体属性"), key);
}

TOptionValues WithFontFile(const std::string& file, int face) {
  TOptionValues v;
  v.Font.File = file;
  v.Font.FaceIndex = face;
  return v;
}

TEST(FontFileKeys, EveryPathReadsBackExactly) {
  test::TempDir dir;
  const std::string ini = dir / "p.ini";
  struct Case {
    const char* name;
    std::string path;
    std::string written;  // the value's bytes; "" = the file: form, checked below
  };
  const Case cases[] = {
      {"ascii", "/usr/share/fonts/misc/font.pcf.gz", "/usr/share/fonts/misc/font.pcf.gz"},
      {"chinese", "/home/用户/字体/点阵.bdf", Gbk("/home/用户/字体/点阵.bdf")},
      {"percent and blanks", " /tmp/100% 字.ttf ", Gbk(" /tmp/100% 字.ttf ")},
      {"relative", "fonts/x.otf", "fonts/x.otf"},
      {"hangul", "/tmp/한글.ttf", "file:///tmp/%ED%95%9C%EA%B8%80.ttf"},
      {"emoji", "/tmp/\xF0\x9F\x98\x80.ttc", "file:///tmp/%F0%9F%98%80.ttc"},
      {"line break", "/tmp/a\nb.bdf", "file:///tmp/a%0Ab.bdf"},
      {"not UTF-8", "/tmp/\xFF\xFE.bdf", "file:///tmp/%FF%FE.bdf"},
      {"looks like a URI", "file:x%41.ttf", "file:file%3Ax%2541.ttf"},
      {"relative non-GBK", "한.ttf", "file:%ED%95%9C.ttf"},
  };
  for (const Case& c : cases) {
    SaveParamFile(ini, WithFontFile(c.path, 2));
    EXPECT_EQ(FontKey(ini, "FontFile"), c.written) << c.name;
    EXPECT_EQ(FontKey(ini, "FontFace"), "2") << c.name;
    TOptionValues back;
    LoadParamFile(ini, back);
    EXPECT_EQ(back.Font.File, c.path) << c.name;
    EXPECT_EQ(back.Font.FaceIndex, 2) << c.name;
    EXPECT_EQ(back.DialogFont.File, c.path) << c.name;
  }
}

TEST(FontFileKeys, WrittenOnlyWhileAFontFileIsInUseAndClearedAfter) {
  test::TempDir dir;
  const std::string ini = dir / "p.ini";
  std::ofstream(ini, std::ios::binary) << "[other]\r\nkey=1\r\n";
  SaveParamFile(ini, TOptionValues());
  EXPECT_EQ(FontKey(ini, "FontFile"), std::nullopt);
  EXPECT_EQ(FontKey(ini, "FontFace"), std::nullopt);

  SaveParamFile(ini, WithFontFile("/f/a.ttc", 1));
  ASSERT_EQ(FontKey(ini, "FontFile"), "/f/a.ttc");
  // Back to the family: the keys stay as lines but name nothing, and read as no font file.
  SaveParamFile(ini, TOptionValues());
  EXPECT_EQ(FontKey(ini, "FontFile"), "");
  EXPECT_EQ(FontKey(ini, "FontFace"), "");
  TOptionValues back = WithFontFile("/before.ttf", 3);
  LoadParamFile(ini, back);
  EXPECT_EQ(back.Font.File, "");
  EXPECT_EQ(back.Font.FaceIndex, 0);
  EXPECT_EQ(back.Font.Name, "宋体");
  EXPECT_EQ(TIniFile(test::ReadFile(ini)).Value("other", "key"), "1");
}

TEST(FontFileKeys, ValuesWrittenByHandReadSafely) {
  test::TempDir dir;
  const std::string ini = dir / "p.ini";
  struct Case {
    const char* name;
    std::string lines;  // of 字体属性, GBK
    std::string file;
    int face;
  };
  const Case cases[] = {
      {"no keys", "", "", 0},
      {"face without file", "FontFace=4\r\n", "", 0},
      {"negative face", "FontFile=/a.ttc\r\nFontFace=-3\r\n", "/a.ttc", 0},
      {"face not a number", "FontFile=/a.ttc\r\nFontFace=x\r\n", "/a.ttc", 0},
      {"bytes GBK cannot read", "FontFile=/a\xFF.bdf\r\n", "/a\xFF.bdf", 0},
      {"URI upper case, lower-case hex", "FontFile=FILE:///a%e5%ad%97.bdf\r\n", "/a字.bdf", 0},
      {"broken escapes stay", "FontFile=file:///a%G1%4\r\n", "/a%G1%4", 0},
  };
  for (const Case& c : cases) {
    std::ofstream(ini, std::ios::binary) << Gbk("[字体属性]\r\nFontName=黑体\r\n") << c.lines;
    TOptionValues v = WithFontFile("/before.ttf", 5);
    LoadParamFile(ini, v);
    EXPECT_EQ(v.Font.File, c.file) << c.name;
    EXPECT_EQ(v.Font.FaceIndex, c.face) << c.name;
    EXPECT_EQ(v.Font.Name, "黑体") << c.name;
  }
}

}  // namespace
}  // namespace mipofc
