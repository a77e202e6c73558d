#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/errors.h"
#include "text/text.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

const std::u16string Sample = u"你们大家好。789A\r\n第二行 😀";

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : text) {
    const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? hi : lo;
    bytes += bigEndian ? lo : hi;
  }
  return bytes;
}

TEST(DecodeText, ReadsEachEncoding) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {"utf8", "你们大家好。789A\r\n第二行 😀", Sample},
      {"utf8_bom", "\xEF\xBB\xBF你们大家好。789A\r\n第二行 😀", Sample},
      {"utf16le_bom", Utf16Bytes(Sample, false), Sample},
      {"utf16be_bom", Utf16Bytes(Sample, true), Sample},
      {"gbk", "\xC4\xE3\xC3\xC7\xB4\xF3\xBC\xD2\xBA\xC3\xA1\xA3" "789A\r\n\xB5\xDA\xB6\xFE\xD0\xD0",
       u"你们大家好。789A\r\n第二行"},
      {"ascii", "AB\nCD\t\f", u"AB\nCD\t\f"},
      {"empty", "", u""},
      {"rtf", R"({\rtf1\ansi\ansicpg936 \'c4\'e3\par x})", u"你\nx"},
      {"bom_only", "\xFF\xFE", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeText(c.bytes), c.text) << c.name;
}

TEST(DecodeText, RefusesBytesThatAreNotText) {
  const char png[] = "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10";
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"png", std::string(png, sizeof png - 1)},
      {"nul_in_ascii", std::string("abc\0def", 7)},
      {"controls_in_gbk", "\xC4\xE3\x01\x02"},
      {"not_gbk", "\xC4\xE3\xFF\xFF"},
      {"odd_utf16", "\xFF\xFE" "a\0b"},
      {"bad_utf8_after_bom", "\xEF\xBB\xBF\xC4\xE3"},
      {"utf16_without_bom", std::string("a\0b\0", 4)},
  };
  for (const Case& c : cases) EXPECT_FALSE(DecodeText(c.bytes)) << c.name;
}

class TextFile : public testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  test::TempDir tmp_;
  fs::path dir_ = tmp_.Path();
};

TEST_F(TextFile, LoadsTextAndRtfFiles) {
  EXPECT_EQ(LoadTextFile(Write("a.txt", Utf16Bytes(Sample, false))), Sample);
  EXPECT_EQ(LoadTextFile(Write("b.rtf", R"({\rtf1 {\b A}\u20320?})")), u"A你");
}

TEST_F(TextFile, ReportsTheFileAndTheReason) {
  const auto failure = [](const std::string& path) -> std::pair<std::string, std::string> {
    try {
      LoadTextFile(path);
    } catch (const TFileError& e) {
      return {e.FileName(), e.Reason()};
    }
    return {};
  };
  const std::string missing = (dir_ / "missing.txt").string();
  EXPECT_EQ(failure(missing), std::make_pair(missing, std::string(std::strerror(ENOENT))));
  EXPECT_EQ(failure(dir_.string()), std::make_pair(dir_.string(), std::string(std::strerror(EISDIR))));
  const std::string binary = Write("x.bin", std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10));
  EXPECT_EQ(failure(binary),
            std::make_pair(binary, std::string("not text: line 1 holds the control character U+0002, which no text "
                                               "has (read as UTF-8; UTF-16 needs a byte-order mark)")));
}

}  // namespace
}  // namespace mipofc
