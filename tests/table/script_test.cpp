#include <gtest/gtest.h>

#include <random>

#include "table/position.h"
#include "table/script.h"
#include "text/text.h"

namespace mipofc {
namespace {

using namespace std::string_literals;

TCodeBook Book(std::initializer_list<std::pair<const char*, const char*>> files) {
  std::vector<TTable> tables;
  for (const auto& [name, text] : files) tables.push_back(ParseTable(text, name));
  return TCodeBook(tables);
}

std::string Encoded(const TCodeBook& book, std::u16string_view text) {
  const TEncoded e = Encode(text, book, std::nullopt);
  EXPECT_TRUE(e.Unknown.empty());
  return e.Bytes;
}

TEST(CodeBook, ACodeInTwoTablesNamesBothFilesAndLines) {
  try {
    Book({{"game.tbl", "00=A\n01=B\n"}, {"new.tbl", "# new\n80=甲\n01=乙\n"}});
    ADD_FAILURE();
  } catch (const TTextError& e) {
    EXPECT_EQ(std::string(e.what()), "new.tbl:3: code 01 is also in game.tbl:2");
  }
  // The same value in another length is another code.
  EXPECT_NO_THROW(Book({{"a.tbl", "01=A\n"}, {"b.tbl", "0001=B\n"}}));
}

TEST(Encode, LongestMatchWinsTiesGoToTheFirstInFileOrderAcrossTables) {
  const TCodeBook book = Book({{"a.tbl", "01=a\n02=ab\n03=abc\n04=b\n05=c\n06=ab\n"},
                               {"b.tbl", "07=abcd\n8001=ab\n0a=d\n"}});
  EXPECT_EQ(Encoded(book, u"abcd"), "\x07");
  EXPECT_EQ(Encoded(book, u"abc"), "\x03");
  EXPECT_EQ(Encoded(book, u"abd"), "\x02\x0a");  // "ab" of a.tbl line 2, before line 6 and b.tbl
  EXPECT_EQ(Encoded(book, u"abcab"), "\x03\x02");
  EXPECT_EQ(Encoded(book, u"ba"), "\x04\x01");
  EXPECT_EQ(Encoded(book, u""), "");
}

TEST(Encode, EndTextsAreMatchedNewlineTextsAreNot) {
  const TCodeBook book = Book({{"t.tbl", "01=<\n02=E\n/FF=<E>\n*FE=<N>\n/FD\n03=N\n04=>\n"}});
  EXPECT_EQ(Encoded(book, u"<E>"), "\xFF");
  EXPECT_EQ(Encoded(book, u"<N>"), "\x01\x03\x04");
}

TEST(Encode, LineBreaksWriteTheNewlineCodeOrNothing) {
  const TCodeBook withNewline = Book({{"a.tbl", "41=A\n"}, {"b.tbl", "*0D0A\n*FF\n"}});
  EXPECT_EQ(Encoded(withNewline, u"A\r\nA\nA\rA\n\rA\r\n"), "A\r\nA\r\nA\r\nA\r\n\r\nA\r\n");
  const TCodeBook without = Book({{"a.tbl", "41=A\n/00=A\n"}});
  EXPECT_EQ(Encoded(without, u"A\r\n\nA\r"), "AA");
}

TEST(Encode, ByteEscapesInEitherCaseTakePrecedenceAtTheirPosition) {
  const TCodeBook book = Book({{"t.tbl", "01=<\n02=$\n03=<$41>\n04=x\n05=4\n06=1\n07=>\n08=x<$41>\n"}});
  EXPECT_EQ(Encoded(book, u"<$41><$ff><$aB>"), "\x41\xFF\xAB");
  EXPECT_EQ(Encoded(book, u"x<$41>"), "\x08");  // the escape stands inside a longer match
  EXPECT_EQ(Encoded(book, u"<$4>"), "\x01\x02\x05\x07");
  EXPECT_EQ(Encode(u"<$4G>", book, "\xEE"s).Bytes, "\x01\x02\x05\xEE\x07");
}

TEST(Encode, UnknownCharactersAreListedAndWrittenAsTheUnknownCode) {
  const TCodeBook book = Book({{"t.tbl", "41=A\n"}});
  TScript script;
  script.Add("one.txt", u"A甲A\r\n乙甲");
  script.Add("two.txt", u"\tA乙");
  const TEncoded with = EncodeScript(script, book, "\xEE\xEF"s);
  EXPECT_EQ(with.Bytes, "A\xEE\xEF" "A\xEE\xEF\xEE\xEF\xEE\xEF" "A\xEE\xEF");
  EXPECT_EQ(with.UnknownCount, 5u);
  ASSERT_EQ(with.Unknown.size(), 3u);
  EXPECT_EQ(with.Unknown[0].Char, u'甲');
  EXPECT_EQ(with.Unknown[0].Count, 2u);
  try {
    EncodeScript(script, book, std::nullopt);
    ADD_FAILURE();
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()),
              "3 characters match no table entry:\n"
              "one.txt:1:2: U+7532 (甲)\n"
              "one.txt:2:1: U+4E59 (乙)\n"
              "two.txt:1:1: U+0009");
  }
}

TEST(Encode, AtMostTwentyUnknownCharactersAreListed) {
  const TCodeBook book = Book({{"t.tbl", "41=A\n"}});
  TScript script;
  std::u16string text;
  for (char16_t c = u'一'; c < u'一' + 25; ++c) text += c;
  script.Add("s.txt", text + text);
  try {
    EncodeScript(script, book, std::nullopt);
    ADD_FAILURE();
  } catch (const std::runtime_error& e) {
    const std::string what = e.what();
    EXPECT_EQ(std::count(what.begin(), what.end(), '\n'), 21);
    EXPECT_TRUE(what.starts_with("25 characters match no table entry:\ns.txt:1:1: U+4E00 (一)\n")) << what;
    EXPECT_TRUE(what.ends_with("\ns.txt:1:20: U+4E13 (专)\nand 5 more")) << what;
  }
}

TEST(Decode, LongestCodeNewlineEndAndUncoveredBytes) {
  const TCodeBook book =
      Book({{"a.tbl", "80=a\n8081=b\n808182=c\n41=A\n"}, {"b.tbl", "*0A=ignored\n/00=<END>\n/FF\n"}});
  EXPECT_EQ(Decode("\x80\x81\x82\x80\x81\x80\x41"s, book), u"cbaA");
  EXPECT_EQ(Decode("A\nA\x00\xFF"s, book), u"A\nA<END>\n\n");
  EXPECT_EQ(Decode("\x81\xab\x80\x82"s, book), u"<$81><$AB>a<$82>");
  EXPECT_EQ(Decode(""s, book), u"");
  EXPECT_EQ(Decode("\x01"s, Book({})), u"<$01>");
}

// Random bytes through decode, the UTF-8 file the CLI writes, the text reader and encode.
void ExpectRoundTrip(const TCodeBook& book, std::uint32_t seed) {
  std::mt19937 random(seed);
  for (int run = 0; run < 200; ++run) {
    std::string bytes(random() % 64, '\0');
    for (char& b : bytes) b = static_cast<char>(random() % 256);
    const std::string file = Utf8TextFileBytes(Decode(bytes, book));
    const std::optional<std::u16string> text = DecodeText(file);
    ASSERT_TRUE(text);
    ASSERT_EQ(Encode(*text, book, std::nullopt).Bytes, bytes) << run;
  }
}

TEST(DecodeThenEncode, GivesTheBytesBackWithRoundTripTables) {
  // One-byte ASCII with a newline code; uncovered bytes come back through "<$XX>".
  std::string ascii = "*0A\n";
  for (int c = 0x20; c < 0x7F; ++c)
    if (c != '<') ascii += CodeHex(std::string(1, static_cast<char>(c))) + "=" + static_cast<char>(c) + "\n";
  ExpectRoundTrip(Book({{"ascii.tbl", ascii.c_str()}}), 1);
  // Codes of one, two and three bytes, and end codes with texts but no newline code.
  ExpectRoundTrip(Book({{"mixed.tbl", "00=甲\n01=乙\n0100=丙\n010000=丁\n80=】\n/FF=【完】\n/FE=▲\n"},
                        {"more.tbl", "8180=$\n02=4\n03=1\n04=>\n"}}),
                  2);
}

}  // namespace
}  // namespace mipofc
