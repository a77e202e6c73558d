#include <gtest/gtest.h>

#include "base/errors.h"
#include "table/position.h"
#include "table/tbl.h"
#include "text/text.h"

namespace mipofc {
namespace {

using namespace std::string_literals;

TTableEntry Entry(TEntryKind kind, std::string code, std::u16string text, int line) {
  return TTableEntry{kind, std::move(code), std::move(text), line};
}

TEST(TableRead, EveryEntryKindWithItsLine) {
  const std::string bytes =
      "# a comment=with an equals sign\r\n"
      "00=A\r\n"
      "\r\n"
      "8140=……\n"
      "   \n"
      "0a0B0c= 空 格 \r"
      "*FF\n"
      "*FE=\\n\n"
      "/E0\n"
      "/E1=<END>\n"
      "41==\n"
      "42=A=B";
  const TTable t = ParseTable(bytes, "game.tbl");
  EXPECT_EQ(t.File, "game.tbl");
  const std::vector<TTableEntry> expected = {
      Entry(TEntryKind::Normal, "\x00"s, u"A", 2),
      Entry(TEntryKind::Normal, "\x81\x40", u"……", 4),
      Entry(TEntryKind::Normal, "\x0A\x0B\x0C", u" 空 格 ", 6),
      Entry(TEntryKind::Newline, "\xFF", u"", 7),
      Entry(TEntryKind::Newline, "\xFE", u"\\n", 8),
      Entry(TEntryKind::End, "\xE0", u"", 9),
      Entry(TEntryKind::End, "\xE1", u"<END>", 10),
      Entry(TEntryKind::Normal, "\x41", u"=", 11),
      Entry(TEntryKind::Normal, "\x42", u"A=B", 12),
  };
  EXPECT_EQ(t.Entries, expected);
}

TEST(TableRead, DecodesAsTextFilesAreButNeverAsRtf) {
  const std::u16string want = u"8140=你\r\n";
  const std::string utf16le = [&] {
    std::string b = "\xFF\xFE";
    for (char16_t c : want) b += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return b;
  }();
  const std::string utf16be = [&] {
    std::string b = "\xFE\xFF";
    for (char16_t c : want) b += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    return b;
  }();
  for (const std::string& bytes : {Utf16ToUtf8(want), "\xEF\xBB\xBF" + Utf16ToUtf8(want), utf16le, utf16be,
                                   Utf16ToGbk(want).value()}) {
    const TTable t = ParseTable(bytes, "t.tbl");
    ASSERT_EQ(t.Entries.size(), 1u);
    EXPECT_EQ(t.Entries[0].Text, u"你");
    EXPECT_EQ(t.Entries[0].Code, "\x81\x40");
  }
  // A table whose first entry's TEXT starts like RTF stays a table.
  const std::string rtfLike = "{\\rtf1 x}\n";
  EXPECT_THROW(ParseTable(rtfLike, "t.tbl"), TTextError);
  EXPECT_EQ(ParseTable("7B={\\rtf1\n", "t.tbl").Entries[0].Text, u"{\\rtf1");
  EXPECT_THROW(ParseTable(std::string("00=\x01\x02", 5), "bin.tbl"), TFileError);
}

TEST(TableRead, EveryErrorNamesItsFileAndLine) {
  const struct {
    const char* bytes;
    int line;
    const char* reason;
  } cases[] = {
      {"00=A\nhello\n", 2, "not a table entry"},
      {"00=A\n\n41\n", 3, "not a table entry"},
      {"=A\n", 1, "missing code"},
      {"*\n", 1, "missing code"},
      {"/=X\n", 1, "missing code"},
      {"0=A\n", 1, "code '0' has an odd number of hex digits"},
      {"123=A\n", 1, "odd number"},
      {"*12345\n", 1, "odd number"},
      {"12345678=A\n", 1, "code '12345678' has more than 6 hex digits"},
      {"0G=A\n", 1, "code '0G' is not hexadecimal"},
      {"00 =A\n", 1, "not hexadecimal"},
      {" 00=A\n", 1, "not hexadecimal"},
      {"0x41=A\n", 1, "not hexadecimal"},
      {"# x\r\n41=\r\n", 2, "code 41 has an empty text"},
      {"41=A\n42=B\n41=C\n", 3, "code 41 is already on line 1"},
      {"*0A\n0a=x\n", 2, "code 0A is already on line 1"},
      {"/ff\n\r\n*FF=\n", 3, "code FF is already on line 1"},
  };
  for (const auto& c : cases) {
    try {
      ParseTable(c.bytes, "dir/x.tbl");
      ADD_FAILURE() << c.bytes;
    } catch (const TTextError& e) {
      EXPECT_EQ(e.File(), "dir/x.tbl");
      EXPECT_EQ(e.Line(), c.line) << c.bytes;
      EXPECT_NE(e.Reason().find(c.reason), std::string::npos) << c.bytes << ": " << e.what();
      EXPECT_EQ(std::string(e.what()).rfind("dir/x.tbl:" + std::to_string(c.line) + ": ", 0), 0u) << e.what();
    }
  }
}

TEST(TableRead, SameTextUnderTwoCodesAndCodesOfDifferentLengthsAreAllowed) {
  const TTable t = ParseTable("41=A\n0041=A\n000041=A\n", "t.tbl");
  ASSERT_EQ(t.Entries.size(), 3u);
  EXPECT_EQ(t.Entries[2].Code, std::string("\x00\x00\x41", 3));
}

TEST(TableRead, CharacterOutsideThePlaneNamesItsLineAndColumn) {
  try {
    ParseTable("41=A\n8140=ab\xF0\x9F\x98\x80\n", "emoji.tbl");
    ADD_FAILURE();
  } catch (const TTextError& e) {
    EXPECT_EQ(std::string(e.what()).substr(0, 16), "emoji.tbl:2:8: U");
    EXPECT_NE(e.Reason().find("U+1F600"), std::string::npos) << e.what();
  }
}

TEST(TableWrite, CodeOrderUpperCaseHexCrLfInThreeEncodings) {
  const std::vector<TTableEntry> entries = {
      Entry(TEntryKind::Normal, "\x81\x40", u"你", 0), Entry(TEntryKind::Normal, "\x0a", u"A", 0),
      Entry(TEntryKind::Newline, "\xff", u"", 0),       Entry(TEntryKind::End, "\xfe", u"<END>", 0),
      Entry(TEntryKind::Normal, "\x00\x0b"s, u"……", 0), Entry(TEntryKind::Normal, "\x0b", u" ", 0),
  };
  const std::u16string text = u"0A=A\r\n0B= \r\n000B=……\r\n/FE=<END>\r\n*FF\r\n8140=你\r\n";
  EXPECT_EQ(TableFileBytes(entries, TTableEncoding::Utf8, "t.tbl"), Utf16ToUtf8(text));
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : text) utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  EXPECT_EQ(TableFileBytes(entries, TTableEncoding::Utf16, "t.tbl"), utf16);
  EXPECT_EQ(TableFileBytes(entries, TTableEncoding::Gbk, "t.tbl"), Utf16ToGbk(text).value());
  EXPECT_EQ(TableFileBytes({}, TTableEncoding::Utf8, "t.tbl"), "");

  // What is written reads back as the same entries, in code order.
  for (auto encoding : {TTableEncoding::Utf8, TTableEncoding::Utf16, TTableEncoding::Gbk}) {
    const TTable back = ParseTable(TableFileBytes(entries, encoding, "t.tbl"), "t.tbl");
    ASSERT_EQ(back.Entries.size(), entries.size());
    EXPECT_EQ(back.Entries[0].Code, "\x0a");
    EXPECT_EQ(back.Entries[3].Kind, TEntryKind::End);
    EXPECT_EQ(back.Entries[3].Text, u"<END>");
    EXPECT_EQ(back.Entries[5].Text, u"你");
  }
}

TEST(TableWrite, RefusesWhatNoTableLineHolds) {
  try {
    TableFileBytes({Entry(TEntryKind::Normal, "\x01", u"A", 0), Entry(TEntryKind::Normal, "\x02", u"맑", 0)},
                   TTableEncoding::Gbk, "out.tbl");
    ADD_FAILURE();
  } catch (const TFileError& e) {
    EXPECT_EQ(e.FileName(), "out.tbl");
    EXPECT_NE(e.Reason().find("U+B9D1 (맑)"), std::string::npos) << e.what();
  }
  EXPECT_THROW(TableFileBytes({Entry(TEntryKind::Normal, "\x01", u"", 0)}, TTableEncoding::Utf8, "t"),
               std::invalid_argument);
  EXPECT_THROW(TableFileBytes({Entry(TEntryKind::Normal, "\x01", u"a\nb", 0)}, TTableEncoding::Utf8, "t"),
               std::invalid_argument);
  EXPECT_THROW(TableFileBytes({Entry(TEntryKind::Normal, "\x01\x02\x03\x04", u"a", 0)}, TTableEncoding::Utf8, "t"),
               std::invalid_argument);
}

TEST(TableCodes, ValueHexAndBytes) {
  EXPECT_EQ(CodeValue("\x81\x40"), 0x8140u);
  EXPECT_EQ(CodeValue(std::string("\x00\x00\x01", 3)), 1u);
  EXPECT_EQ(CodeOf(0x8140, 3), std::string("\x00\x81\x40", 3));
  EXPECT_EQ(CodeHex(std::string("\x00\xab\x0f", 3)), "00AB0F");
}

}  // namespace
}  // namespace mipofc
