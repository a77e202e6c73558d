#include <gtest/gtest.h>

#include "text/text.h"

namespace mipofc {
namespace {

// "你们大家好。789A" in GBK, from the code page's own table.
const std::string StartLineGbk = "\xC4\xE3\xC3\xC7\xB4\xF3\xBC\xD2\xBA\xC3\xA1\xA3" "789A";

TEST(Gbk, ConvertsBothWays) {
  EXPECT_EQ(GbkToUtf16(StartLineGbk), u"你们大家好。789A");
  EXPECT_EQ(Utf16ToGbk(u"你们大家好。789A"), StartLineGbk);
  EXPECT_EQ(Utf8ToGbk("宋体"), "\xCB\xCE\xCC\xE5");
  // Trail bytes that are ASCII letters and brackets belong to their character.
  EXPECT_EQ(GbkToUtf16("\x81\x41\x81\x61\x81\x5D"), u"丄乤乚");
  EXPECT_EQ(GbkToUtf16(""), u"");
}

TEST(Gbk, StrictConversionsFailOnWhatTheyCannotHold) {
  for (const std::string bad : {"\xFF", "ab\x81", "\x81\x20", "\xC4\xE3\xA1\x7F"})
    EXPECT_FALSE(GbkToUtf16(bad)) << testing::PrintToString(bad);
  for (const std::u16string& bad : {std::u16string(u"한"), std::u16string(u"😀"), std::u16string(1, u'\xD800')})
    EXPECT_FALSE(Utf16ToGbk(bad)) << testing::PrintToString(bad);
  EXPECT_FALSE(Utf8ToGbk("\xC0\x80"));
}

TEST(CodePage, DecodesPerPageAndReplacesUnreadableBytes) {
  struct Case {
    int page;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {936, "\xC4\xE3!", u"你!"},
      {936, "a\xFF" "b", u"a\uFFFDb"},
      {936, "\xC4", u"\uFFFD"},  // cut off after a lead byte
      {1252, "caf\xE9 \x80", u"café €"},
      {932, "\x82\xA0", u"あ"},
      {950, "\xA4\xA4", u"中"},
      {12345, "\xE9", u"é"},  // an unknown page reads as 1252
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeCodePage(c.page, c.bytes), c.text) << c.page;
}

TEST(Utf8, ValidatesStrictly) {
  struct Case {
    std::string bytes;
    bool valid;
  } cases[] = {
      {"", true},           {"plain", true},         {"你好", true},        {"\xF0\x9F\x98\x80", true},
      {"\xC0\x80", false},  {"\xE0\x80\x80", false}, {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false},
      {"\xE4\xBD", false},  {"\x80", false},         {"\xFF", false},       {"\xC4\xE3", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << testing::PrintToString(c.bytes);
}

TEST(Utf8, ConvertsToAndFromUtf16) {
  EXPECT_EQ(Utf8ToUtf16("A你😀"), u"A你😀");
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b\xE4\xBD"), u"a\uFFFDb\uFFFD\uFFFD");
  EXPECT_EQ(Utf16ToUtf8(u"A你😀"), "A你😀");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'x', u'\xDC00', u'\xD800'}), "x\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(JoinedText, RemovesOnlyLineAndParagraphBreaks) {
  struct Case {
    std::u16string memo;
    std::u16string joined;
  } cases[] = {
      {u"AB\r\nCD", u"ABCD"},
      {u"A\rB\nC\u2028D\u2029E\r\n\r\n", u"ABCDE"},
      {u"", u""},
      {u"\r\n\n", u""},
      {u"a\tb\vc\fd e", u"a\tb\vc\fd e"},
      {u"😀\r\n" + std::u16string(1, u'\xDC00'), u"😀" + std::u16string(1, u'\xDC00')},
  };
  for (const Case& c : cases) EXPECT_EQ(JoinedText(c.memo), c.joined) << testing::PrintToString(c.memo);
}

TEST(JoinedText, StartTextIsNinetyCharacters) {
  std::u16string memo, expected;
  for (char16_t last : std::u16string(u"ABCDEFHIJ")) {
    const std::u16string line = u"你们大家好。789" + std::u16string(1, last);
    memo += line + u"\r\n";
    expected += line;
  }
  EXPECT_EQ(JoinedText(memo), expected);
  EXPECT_EQ(JoinedText(memo).size(), 90u);
}

}  // namespace
}  // namespace mipofc
