#include <gtest/gtest.h>

#include <fstream>

#include "params/ini.h"
#include "params/param_file.h"
#include "tests/test_util.h"
#include "text/text.h"

namespace mipofc {
namespace {

TEST(TableKeys, CodeStartAndBytesGoBothWaysInSectionCodeTable) {
  test::TempDir dir;
  const std::string path = dir / "p.ini";
  TOptionValues v;
  v.CodeStart = 0x8140;
  v.CodeBytes = 2;
  SaveParamFile(path, v);
  const TIniFile ini(test::ReadFile(path));
  const std::string section = Utf8ToGbk("码表").value();
  EXPECT_EQ(ini.Value(section, Utf8ToGbk("起始编码").value()), "33088");  // decimal
  EXPECT_EQ(ini.Value(section, Utf8ToGbk("编码字节").value()), "2");
  TOptionValues loaded;
  LoadParamFile(path, loaded);
  EXPECT_EQ(loaded.CodeStart, 0x8140);
  EXPECT_EQ(loaded.CodeBytes, 2);

  // Back to the defaults: the keys stay in the file and say so.
  SaveParamFile(path, TOptionValues());
  LoadParamFile(path, loaded);
  EXPECT_EQ(loaded.CodeStart, 0);
  EXPECT_EQ(loaded.CodeBytes, 0);
  EXPECT_EQ(TIniFile(test::ReadFile(path)).Value(section, Utf8ToGbk("起始编码").value()), "0");
}

TEST(TableKeys, ValuesATableCannotHoldReadAsTheDefaults) {
  test::TempDir dir;
  const std::string path = dir / "p.ini";
  for (const char* lines : {"[码表]\r\n起始编码=16777216\r\n编码字节=4\r\n", "[码表]\r\n起始编码=-1\r\n编码字节=x\r\n"}) {
    std::ofstream(path, std::ios::binary) << Utf8ToGbk(lines).value();
    TOptionValues v;
    v.CodeStart = 5;
    v.CodeBytes = 3;
    LoadParamFile(path, v);
    EXPECT_EQ(v.CodeStart, 0) << lines;
    EXPECT_EQ(v.CodeBytes, 0) << lines;
  }
  std::ofstream(path, std::ios::binary) << Utf8ToGbk("[码表]\r\n起始编码=16777215\r\n编码字节=3\r\n").value();
  TOptionValues v;
  LoadParamFile(path, v);
  EXPECT_EQ(v.CodeStart, 0xFFFFFF);
  EXPECT_EQ(v.CodeBytes, 3);
}

}  // namespace
}  // namespace mipofc
