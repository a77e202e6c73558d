#include <gtest/gtest.h>

#include <fstream>

#include "table/chars.h"
#include "table/position.h"
#include "tests/test_util.h"
#include "text/text.h"

namespace mipofc {
namespace {

TEST(DistinctCharacters, BothOrdersWithTiesInOrderOfFirstAppearance) {
  const std::u16string text = u"乙甲乙丙甲丁乙丙";
  const TDistinctChars first = DistinctCharacters(text, TCharOrder::First);
  EXPECT_EQ(first.Chars, u"乙甲丙丁");
  EXPECT_EQ(first.Counts, (std::vector<std::uint64_t>{3, 2, 2, 1}));
  EXPECT_EQ(first.Total, 8u);
  EXPECT_EQ(first.Excluded, 0u);
  // 甲 and 丙 both occur twice: 甲 came first.
  const TDistinctChars frequent = DistinctCharacters(u"丁丙甲丙甲乙乙乙", TCharOrder::Frequency);
  EXPECT_EQ(frequent.Chars, u"乙丙甲丁");
  EXPECT_EQ(frequent.Counts, (std::vector<std::uint64_t>{3, 2, 2, 1}));
  EXPECT_TRUE(DistinctCharacters(u"", TCharOrder::Frequency).Chars.empty());
}

TEST(DistinctCharacters, ExcludedCharactersAreLeftOutAndCounted) {
  TCharSet exclude;
  exclude.set(u'甲');
  exclude.set(u'戊');  // not in the text: not counted as excluded
  const TDistinctChars d = DistinctCharacters(u"乙甲乙丙甲", TCharOrder::First, exclude);
  EXPECT_EQ(d.Chars, u"乙丙");
  EXPECT_EQ(d.Total, 5u);
  EXPECT_EQ(d.Excluded, 1u);
}

TEST(ExcludedCharacters, TableGivesItsSingleCharacterNormalEntriesTextGivesEveryCharacter) {
  test::TempDir dir;
  std::ofstream(dir / "game.TBL", std::ios::binary) << "00=甲\n01=……\n*02=乙\n/03=丙\n04= \n";
  std::ofstream(dir / "have.txt", std::ios::binary) << "丁戊\r\n己";
  const TCharSet fromTable = ExcludedCharacters(dir / "game.TBL");
  EXPECT_EQ(fromTable.count(), 2u);
  EXPECT_TRUE(fromTable.test(u'甲'));
  EXPECT_TRUE(fromTable.test(u' '));
  const TCharSet fromText = ExcludedCharacters(dir / "have.txt");
  EXPECT_EQ(fromText.count(), 3u);
  EXPECT_TRUE(fromText.test(u'己'));
  EXPECT_FALSE(fromText.test(u'\n'));
}

TEST(CharsFile, SixteenToALineEveryLineEndingInLf) {
  TDistinctChars d;
  for (char16_t c = u'一'; c < u'一' + 33; ++c) d.Chars += c;
  d.Counts.assign(d.Chars.size(), 1);
  const std::string bytes = CharsFileBytes(d, false);
  const std::u16string back = Utf8ToUtf16(bytes);
  EXPECT_EQ(back, d.Chars.substr(0, 16) + u"\n" + d.Chars.substr(16, 16) + u"\n" + d.Chars.substr(32) + u"\n");
  EXPECT_EQ(JoinedText(*DecodeText(bytes)), d.Chars);
  EXPECT_EQ(CharsFileBytes(TDistinctChars{}, false), "");
  d.Chars.resize(16);
  EXPECT_EQ(Utf8ToUtf16(CharsFileBytes(d, false)), d.Chars + u"\n");
}

TEST(CharsFile, CountsAreOneLinePerCharacter) {
  const TDistinctChars d = DistinctCharacters(u"乙甲乙 乙", TCharOrder::Frequency);
  EXPECT_EQ(CharsFileBytes(d, true), "乙\t3\n甲\t1\n \t1\n");
}

TEST(CharsFile, ATextThatWouldReadAsSomethingElseGetsAByteOrderMark) {
  for (const std::u16string text : {u"\uFEFF甲", u"{\\rtf1 乙}", u"甲\uFEFF", u"{\\rt"}) {
    const std::string bytes = Utf8TextFileBytes(text);
    EXPECT_EQ(DecodeText(bytes), text) << Utf16ToUtf8(text);
    EXPECT_EQ(bytes.starts_with("\xEF\xBB\xBF"), text[0] == u'\uFEFF' || text.starts_with(u"{\\rtf"));
  }
}

TEST(Script, PlacesCountLinesAndCharactersInEachInput) {
  TScript script;
  script.Add("a.txt", u"甲乙\r\n丙\n\r丁");
  script.Add("b.txt", u"戊\r己");
  const std::u16string& t = script.Text();
  EXPECT_EQ(script.Where(0), "a.txt:1:1");
  EXPECT_EQ(script.Where(1), "a.txt:1:2");
  EXPECT_EQ(script.Where(t.find(u'丙')), "a.txt:2:1");
  EXPECT_EQ(script.Where(t.find(u'丁')), "a.txt:4:1");
  EXPECT_EQ(script.Where(t.find(u'戊')), "b.txt:1:1");
  EXPECT_EQ(script.Where(t.find(u'己')), "b.txt:2:1");
}

TEST(Script, CharactersOutsideThePlaneAreRefusedWithTheirPlace) {
  const struct {
    std::u16string text;
    std::string where;
    std::string name;
  } cases[] = {
      {u"甲乙\U0001F600", "in.txt:1:3: ", "U+1F600"},
      {u"甲\r\n\r\nab\U00020000c", "in.txt:3:3: ", "U+20000"},
      {u"甲\rx\U0010FFFF", "in.txt:2:2: ", "U+10FFFF"},
      {u"ab\nc" + std::u16string(1, char16_t(0xD800)) + u"d", "in.txt:2:2: ", "U+D800 is a lone surrogate"},
      {std::u16string(1, char16_t(0xDC00)), "in.txt:1:1: ", "U+DC00"},
  };
  for (const auto& c : cases) {
    TScript script;
    script.Add("first.txt", u"甲");
    try {
      script.Add("in.txt", c.text);
      ADD_FAILURE() << c.where;
    } catch (const TTextError& e) {
      const std::string what = e.what();
      EXPECT_EQ(what.substr(0, c.where.size()), c.where) << what;
      EXPECT_NE(what.find(c.name), std::string::npos) << what;
    }
    EXPECT_EQ(script.Text(), u"甲");  // nothing of the refused input
  }
}

}  // namespace
}  // namespace mipofc
