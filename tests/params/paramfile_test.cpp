#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/errors.h"
#include "params/ini.h"
#include "params/param_file.h"
#include "text/text.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

// The GBK bytes of UTF-8 text with LF turned into CR LF, as a parameter file stores it.
std::string GbkLines(const std::string& utf8) {
  std::string crlf;
  for (char c : utf8) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return Utf8ToGbk(crlf).value();
}

class ParamFile : public testing::Test {
 protected:

  std::string Path(const std::string& name = "p.ini") const { return (dir_ / name).string(); }
  static std::string Read(const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
  }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // Loads a file of these UTF-8 lines into the start state.
  TOptionValues Loaded(const std::string& utf8Lines) const {
    Write(Path("in.ini"), GbkLines(utf8Lines));
    TOptionValues v;
    LoadParamFile(Path("in.ini"), v);
    return v;
  }

  test::TempDir tmp_;
  fs::path dir_ = tmp_.Path();
};

const char* const StartStateFile =
    "[字模尺寸]\nDEF=3\n"
    "[字体属性]\n窄扁=0\n字号=10\nFontName=宋体\nFontStyle=0\nFontCharSet=0\nFontColor=-2147483640\n"
    "FontSize=10\nFontHeight=-13\n"
    "[位置]\nX=0\nY=0\n"
    "[选色]\n背景色=0\n字模色=1\n"
    "[扫描次序]\n横=1\n竖=0\n"
    "[编码方式]\nDEF=0\nM=1\nDEFString=0  正常NES输出\n"
    "[输出分布]\nDEF=1\nDEFString=1  按字形方块分布\n"
    "[限定输出量]\nDEF=2\n";

TEST_F(ParamFile, StartStateWritesTheseBytesAndReadsBackTheStartState) {
  const TOptionValues start;
  SaveParamFile(Path(), start);
  EXPECT_EQ(Read(Path()), GbkLines(StartStateFile));

  TOptionValues v = start;
  v.DistributionIndex = 0;
  v.FontSize = 20;
  v.Font.SetSize(20);
  LoadParamFile(Path(), v);
  EXPECT_EQ(v.CellSizeIndex, 3);
  EXPECT_EQ(v.EncodingItems, start.EncodingItems);
  EXPECT_EQ(v.DistributionItems, start.DistributionItems);
  EXPECT_EQ(v.DistributionIndex, 1);
  EXPECT_EQ(v.FontSize, 10);
  EXPECT_EQ(v.Font.Height, -13);
  EXPECT_EQ(v.DialogFont.Height, -13);
  EXPECT_EQ(v.Font.Name, "宋体");
  EXPECT_EQ(v.Font.CharSet, 0);

  SaveParamFile(Path(), v);  // saving again changes no byte
  EXPECT_EQ(Read(Path()), GbkLines(StartStateFile));
}

TEST_F(ParamFile, EmptyOrMissingFileLoadsEveryDefault) {
  Write(Path("empty.ini"), "");
  for (const std::string name : {"empty.ini", "missing.ini"}) {
    TOptionValues v;
    v.CellSizeIndex = 0;
    v.NarrowWide = 4;
    v.PosX = 9;
    v.GlyphIndex = 3;
    v.M = 7;
    v.LimitIndex = 0;
    v.Font.Bold = true;
    v.Font.File = "/some/font.ttf";
    LoadParamFile(Path(name), v);
    EXPECT_EQ(v.CellSizeIndex, 3) << name;
    EXPECT_EQ(v.EncodingItems.size(), 5u);
    EXPECT_EQ(v.NarrowWide, 0);
    EXPECT_EQ(v.PosX, 0);
    EXPECT_EQ(v.BgIndex, 0);
    EXPECT_EQ(v.GlyphIndex, 1);
    EXPECT_TRUE(v.ScanHorizontal);
    EXPECT_FALSE(v.ScanVertical);
    EXPECT_EQ(v.EncodingIndex, 0);
    EXPECT_EQ(v.M, 1);
    EXPECT_EQ(v.DistributionIndex, 0);
    EXPECT_EQ(v.LimitIndex, 2);
    EXPECT_EQ(v.Font.Name, "宋体");
    EXPECT_EQ(v.Font.Height, -12);
    EXPECT_EQ(v.Font.Size, 9);
    EXPECT_EQ(v.FontSize, 9);  // 10 from "字号" first, then the font keys decide
    EXPECT_EQ(v.Font.CharSet, 134);
    EXPECT_EQ(v.Font.Color, static_cast<std::int32_t>(0x80000008u));
    EXPECT_FALSE(v.Font.Bold);
    EXPECT_EQ(v.Font.File, "");
    EXPECT_EQ(v.DialogFont.Height, -12);
  }
  EXPECT_FALSE(fs::exists(Path("missing.ini")));
}

TEST_F(ParamFile, HexMalformedAndOutOfRangeValues) {
  const TOptionValues v = Loaded(
      "[字模尺寸]\nDEF=0x2\n"
      "[字体属性]\n窄扁=10\n字号=40\nFontColor=0x80000008\nFontStyle=$3\nFontHeight=-13\n"
      "[位置]\nX=abc\nY=-0x5\n"
      "[选色]\n背景色=7\n字模色=-2\n"
      "[编码方式]\nDEF=$3\nM=99\n"
      "[限定输出量]\nDEF=1.0\n");
  EXPECT_EQ(v.CellSizeIndex, 2);
  EXPECT_EQ(v.EncodingIndex, 3);
  EXPECT_EQ(SelectedEncodeMode(v), 4);
  EXPECT_EQ(v.NarrowWide, 6);
  EXPECT_EQ(v.FontSize, 10);  // 28 from "字号", then FontHeight -13 decides
  EXPECT_EQ(v.Font.Size, 10);
  EXPECT_EQ(v.Font.Color, -2147483640);
  EXPECT_TRUE(v.Font.Bold && v.Font.Italic);
  EXPECT_EQ(v.PosX, 0);
  EXPECT_EQ(v.PosY, 0);
  EXPECT_EQ(v.BgIndex, 3);
  EXPECT_EQ(v.GlyphIndex, 0);
  EXPECT_EQ(v.M, 15);
  EXPECT_EQ(v.LimitIndex, 2);
}

TEST_F(ParamFile, FontStyleIsTakenApartFromTheTop) {
  struct Case {
    int style;
    bool bold, italic, underline, strikeOut;
  } cases[] = {{0, 0, 0, 0, 0},  {5, 1, 0, 1, 0},  {10, 0, 1, 0, 1}, {15, 1, 1, 1, 1},
               {16, 1, 1, 1, 1}, {99, 1, 1, 1, 1}, {-1, 0, 0, 0, 0}};
  for (const Case& c : cases) {
    const TOptionValues v = Loaded("[字体属性]\nFontStyle=" + std::to_string(c.style) + "\n");
    const TFont& f = v.Font;
    EXPECT_EQ((std::array{f.Bold, f.Italic, f.Underline, f.StrikeOut}),
              (std::array<bool, 4>{c.bold, c.italic, c.underline, c.strikeOut}))
        << c.style;
    if (c.style >= 0 && c.style <= 15) {
      EXPECT_EQ(FontStyleToInt(f), c.style);
    }
  }
}

TEST_F(ParamFile, ScanButtonsActAsOneRadioGroup) {
  struct Case {
    std::string keys;
    bool horizontal, vertical;
  } cases[] = {{"横=1\n竖=0", true, false}, {"横=0\n竖=1", false, true}, {"横=1\n竖=1", false, true},
               {"横=0\n竖=0", false, false}, {"", true, false},         {"横=x\n竖=2", false, true}};
  for (const Case& c : cases) {
    const TOptionValues v = Loaded("[扫描次序]\n" + c.keys + "\n");
    EXPECT_EQ(v.ScanHorizontal, c.horizontal) << c.keys;
    EXPECT_EQ(v.ScanVertical, c.vertical) << c.keys;
  }
}

TEST_F(ParamFile, IndexOutsideItsListReadsAsTheDefault) {
  struct Case {
    std::string file;
    int size, encoding, distribution, limit;
  } cases[] = {
      {"[字模尺寸]\nDEF=9", 3, 0, 0, 2},
      {"[字模尺寸]\nDEF=-1", 3, 0, 0, 2},
      {"[字模尺寸]\nDEF=0\n[编码方式]\nDEF=3\n[输出分布]\nDEF=1", 0, 0, 0, 2},  // 8*8 has 3 modes, 1 layout
      {"[字模尺寸]\nDEF=1\n[编码方式]\nDEF=3\n[输出分布]\nDEF=1", 1, 3, 1, 2},
      {"[编码方式]\nDEF=5\n[输出分布]\nDEF=2\n[限定输出量]\nDEF=3", 3, 0, 0, 2},
      {"[编码方式]\nDEF=-1\n[限定输出量]\nDEF=0", 3, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const TOptionValues v = Loaded(c.file + "\n");
    EXPECT_EQ((std::array{v.CellSizeIndex, v.EncodingIndex, v.DistributionIndex, v.LimitIndex}),
              (std::array{c.size, c.encoding, c.distribution, c.limit}))
        << c.file;
  }
}

TEST_F(ParamFile, FontValuesTheWindowCannotHoldReadAsDefaults) {
  struct Case {
    std::string keys;
    std::string name;
    int charSet, height;
  } cases[] = {
      {"FontHeight=0", "宋体", 134, -12},
      {"FontSize=2147483647\nFontHeight=-2147483648", "宋体", 134, -12},
      {"FontSize=20\nFontHeight=x", "宋体", 134, -12},
      {"FontCharSet=300", "宋体", 134, -12},
      {"FontCharSet=-1\nFontHeight=-16", "宋体", 134, -16},
      {"FontName=", "宋体", 134, -12},
      {"FontName=黑体\nFontCharSet=0\nFontHeight=16", "黑体", 0, 16},
  };
  for (const Case& c : cases) {
    const TOptionValues v = Loaded("[字体属性]\n" + c.keys + "\n");
    EXPECT_EQ(v.Font.Name, c.name) << c.keys;
    EXPECT_EQ(v.Font.CharSet, c.charSet) << c.keys;
    EXPECT_EQ(v.DialogFont.Height, c.height) << c.keys;
  }
  // A name that is not GBK is no name at all.
  Write(Path("bad.ini"), GbkLines("[字体属性]\n") + "FontName=\xFF\xFF\r\n");
  TOptionValues v;
  LoadParamFile(Path("bad.ini"), v);
  EXPECT_EQ(v.Font.Name, "宋体");
}

TEST_F(ParamFile, SixteenByEightModeFourIsStoredAsItsListPosition) {
  TOptionValues v;
  v.CellSizeIndex = 2;
  ApplySizeRules(v);
  v.EncodingIndex = 3;
  ApplyEncodingRule(v);
  SaveParamFile(Path(), v);
  const TIniFile ini(Read(Path()));
  const std::string encoding = Utf8ToGbk("编码方式").value();
  EXPECT_EQ(ini.ReadInteger(encoding, "DEF", -1), 3);
  EXPECT_EQ(ini.Value(encoding, "DEFString"), Utf8ToGbk("4  左右色彩重叠压缩"));

  TOptionValues loaded;
  LoadParamFile(Path(), loaded);
  EXPECT_EQ(loaded.CellSizeIndex, 2);
  EXPECT_EQ(SelectedEncodeMode(loaded), 4);
  EXPECT_EQ(GatherSettings(loaded, &loaded.Font).EncodeMode, 4);
}

TEST_F(ParamFile, FontKeysCarryTheFontInUseAndGbkNamesRoundTrip) {
  TOptionValues v;
  v.DialogFont.Name = "微软雅黑";
  v.DialogFont.SetSize(24);
  ApplyChosenFont(v);
  SetFontSize(v, 14);  // the slider moved after the dialog closed
  SaveParamFile(Path(), v);
  EXPECT_NE(Read(Path()).find("FontName=\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA\r\n"), std::string::npos);

  TOptionValues loaded;
  LoadParamFile(Path(), loaded);
  EXPECT_EQ(loaded.Font.Name, "微软雅黑");
  EXPECT_EQ(loaded.FontSize, 14);
  EXPECT_EQ(loaded.Font.Height, v.Font.Height);
}

TEST_F(ParamFile, KeepsAnotherProgramsSectionsAndLines) {
  const std::string other =
      "; written by another tool\r\n[Other]\r\nname=\xFF\xFE not gbk\r\n\r\n" + GbkLines("[字体属性]\n自定义=1\n");
  Write(Path(), other);
  SaveParamFile(Path(), TOptionValues());
  const std::string saved = Read(Path());
  EXPECT_EQ(saved.substr(0, other.size()), other);
  const TIniFile ini(saved);
  const std::string font = Utf8ToGbk("字体属性").value();
  EXPECT_EQ(ini.ReadInteger(font, Utf8ToGbk("自定义").value(), 0), 1);
  EXPECT_EQ(ini.ReadInteger(font, "FontHeight", 0), -13);
  EXPECT_EQ(ini.Value("Other", "name"), "\xFF\xFE not gbk");

  TOptionValues moved;
  moved.PosX = -5;
  SaveParamFile(Path(), moved);  // only the X line changes
  std::string expected = saved;
  const std::string x = "\r\nX=0\r\n";
  expected.replace(expected.find(x), x.size(), "\r\nX=-5\r\n");
  EXPECT_EQ(Read(Path()), expected);
}

TEST_F(ParamFile, MissingFolderIsReportedAndNothingHappens) {
  const std::string folder = (dir_ / "nowhere").string() + "/";
  TOptionValues v;
  v.PosX = 3;
  try {
    LoadParamFile(folder + "p.ini", v);
    ADD_FAILURE();
  } catch (const TParamFolderError& e) {
    EXPECT_EQ(std::string(e.what()), "找不到文件路径" + folder);
    EXPECT_EQ(e.Folder(), folder);
  }
  EXPECT_EQ(v.PosX, 3);
  try {
    SaveParamFile(folder + "p.ini", v);
    ADD_FAILURE();
  } catch (const TParamFolderError& e) {
    EXPECT_EQ(std::string(e.what()), "找不到文件路径" + folder + "   你的设置将掉失。");
  }
  EXPECT_FALSE(fs::exists(folder));
}

TEST_F(ParamFile, FailuresLeaveTheFileAsItWas) {
  // A folder where the file should be: unreadable on load, unwritable on save.
  fs::create_directory(Path("dir.ini"));
  TOptionValues v;
  EXPECT_THROW(LoadParamFile(Path("dir.ini"), v), TFileError);
  EXPECT_THROW(SaveParamFile(Path("dir.ini"), v), TIniWriteError);
  EXPECT_TRUE(fs::is_directory(Path("dir.ini")));

  Write(Path(), "[Other]\r\nk=v\r\n");
  v.Font.Name = "맑은 고딕";  // no GBK form
  EXPECT_THROW(SaveParamFile(Path(), v), TFileError);
  EXPECT_EQ(Read(Path()), "[Other]\r\nk=v\r\n");
}

}  // namespace
}  // namespace mipofc
