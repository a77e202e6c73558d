#include <gtest/gtest.h>

#include "table/codes.h"

namespace mipofc {
namespace {

TEST(PlanCodes, FewestBytesThatHoldEveryCode) {
  const struct {
    std::size_t count;
    std::uint32_t start;
    int bytes;
  } cases[] = {
      {0, 0, 1},       {1, 0, 1},          {256, 0, 1},          {257, 0, 2},      {1, 0xFF, 1},
      {2, 0xFF, 2},    {1, 0x100, 2},      {0x10000, 0, 2},      {0x10001, 0, 3},  {1, 0xFFFFFF, 3},
      {0, 0x8000, 2},  {10, 0xFFFF00, 3},
  };
  for (const auto& c : cases) {
    const TCodePlan plan = PlanCodes(c.count, c.start, 0);
    EXPECT_EQ(plan.Bytes, c.bytes) << c.count << " from " << c.start;
    EXPECT_EQ(plan.Start, c.start);
  }
  EXPECT_EQ(PlanCodes(3, 0, 3).Bytes, 3);
  EXPECT_EQ(PlanCodes(0, 0x100, 1).Bytes, 1);  // no character, no code to hold
}

TEST(PlanCodes, CodesThatDoNotFitSayWhoNeedsWhat) {
  const struct {
    std::size_t count;
    std::uint32_t start;
    int bytes;
    const char* message;
  } cases[] = {
      {300, 0, 1, "300 characters from code 00 need codes up to 012B, more than 1 byte holds (highest FF)"},
      {2, 0xFF, 1, "2 characters from code FF need codes up to 0100"},
      {0x10000, 0x10, 2, "65536 characters from code 10 need codes up to 01000F, more than 2 bytes hold"},
      {0x101, 0xFFFF00, 0, "257 characters from code FFFF00 need codes up to 01000000, more than 3 bytes hold"},
      {1, 0x1000000, 3, "from code 01000000"},
  };
  for (const auto& c : cases) {
    try {
      PlanCodes(c.count, c.start, c.bytes);
      ADD_FAILURE() << c.message;
    } catch (const TCodeRangeError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

TEST(CodeTable, CharacterIGetsStartPlusIInEveryByte) {
  const std::vector<TTableEntry> entries = CodeTableOf(u"甲乙甲", TCodePlan{0x80FF, 3});
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].Code, std::string("\x00\x80\xFF", 3));
  EXPECT_EQ(entries[1].Code, std::string("\x00\x81\x00", 3));
  EXPECT_EQ(entries[2].Text, u"甲");  // a character twice has both codes
  EXPECT_EQ(entries[2].Kind, TEntryKind::Normal);
}

TEST(TextOfTable, CellOfCodeMinusStartWithBlanksWhereNoEntry) {
  TTable t;
  const auto add = [&](TEntryKind kind, std::string code, std::u16string text) {
    t.Entries.push_back({kind, std::move(code), std::move(text), 0});
  };
  add(TEntryKind::Normal, "\x12", u"乙");
  add(TEntryKind::Normal, "\x10", u"甲");
  add(TEntryKind::Normal, "\x13", u"多字");   // several characters: left out
  add(TEntryKind::Newline, "\x20", u"丙");   // newline and end entries: left out
  add(TEntryKind::End, "\x21", u"丁");
  add(TEntryKind::Normal, "\x05", u"戊");    // below the start
  add(TEntryKind::Normal, std::string("\x00\x12", 2), u"己");  // same value as 12: the first wins
  add(TEntryKind::Normal, "\x15", u"庚");
  EXPECT_EQ(TextOfTable(t, 0x10), u"甲 乙  庚");
  EXPECT_EQ(TextOfTable(t, 0x05), u"戊          甲 乙  庚");
  EXPECT_EQ(TextOfTable(t, 0x16), u"");
  EXPECT_EQ(TextOfTable(TTable{}, 0), u"");
}

}  // namespace
}  // namespace mipofc
