#include <gtest/gtest.h>

#include "text/text.h"

namespace mipofc {
namespace {

struct RtfCase {
  const char* name;
  std::string rtf;
  std::u16string text;
};

void PrintTo(const RtfCase& c, std::ostream* os) { *os << c.name; }

class RtfReading : public testing::TestWithParam<RtfCase> {};

TEST_P(RtfReading, YieldsTheCharacters) { EXPECT_EQ(RtfToText(GetParam().rtf), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Samples, RtfReading,
    testing::Values(
        RtfCase{"unicode_with_fallback", R"({\rtf1\ansi\uc1\u20320?\u20204?!})", u"你们!"},
        RtfCase{"uc_counts_hex_escapes_as_one", R"({\rtf1\uc2\u20320\'c4\'e3x})", u"你x"},
        RtfCase{"uc0_skips_nothing", R"({\rtf1\uc0\u20320 x})", u"你x"},
        RtfCase{"uc_is_restored_after_group", R"({\rtf1{\uc2\u20320 ab}\u20320 ab})", u"你你b"},
        RtfCase{"fallback_stops_at_group_end", R"({\rtf1\uc3\u20320{x}y})", u"你xy"},
        RtfCase{"negative_u_gives_surrogate_halves", R"({\rtf1\u-10179?\u-8704?})", u"😀"},
        RtfCase{"hex_bytes_in_document_code_page", R"({\rtf1\ansi\ansicpg936 \'c4\'e3\'ba\'c3})", u"你好"},
        RtfCase{"no_code_page_named_reads_gbk", R"({\rtf1 \'c4\'e3})", u"你"},
        RtfCase{"font_charset_decides_the_page",
                R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fnil\fcharset134 \'cb\'ce\'cc\'e5;}})"
                R"(\f0 caf\'e9 {\f1\'c4\'e3}\'e9})",
                u"café 你é"},
        RtfCase{"default_font_by_deff",
                R"({\rtf1\ansi\deff1{\fonttbl{\f0 A;}{\f1\fcharset128 B;}}\'82\'a0\f0\'e9\plain\'82\'a0})",
                u"あéあ"},
        RtfCase{"nested_groups_and_formatting", R"({\rtf1{\b bold {\i both}} plain\b0 .})", u"bold both plain."},
        RtfCase{"ignorable_and_table_destinations",
                R"({\rtf1{\*\generator Texter 2.1;}{\*\unknown {x}y}{\colortbl;\red0\green0\blue0;})"
                R"({\stylesheet{\s0 Normal;}}{\info{\title T}{\author W}}A{\pict\pngblip 89504e47}B)"
                R"({\header H}{\*\bkmkstart k}C})",
                u"ABC"},
        RtfCase{"breaks_tabs_and_escapes", "{\\rtf1 a\\par b\\line c\\tab d \\{\\}\\\\\\\ne}", u"a\nb\nc\td {}\\\ne"},
        RtfCase{"file_line_breaks_are_not_text", "{\\rtf1 ab\r\ncd\n}", u"abcd"},
        RtfCase{"special_characters", R"({\rtf1\emdash\lquote x\rquote\~\bullet})", u"\u2014\u2018x\u2019\u00A0\u2022"},
        RtfCase{"binary_data_skipped", "{\\rtf1 x{\\pict\\bin4 }{}\\}y}", u"xy"},
        RtfCase{"text_after_document_ignored", R"({\rtf1 a}b)", u"a"},
        RtfCase{"unicode_part_of_upr", R"({\rtf1{\upr{\'c4\'e3}{\*\ud{\u20320?}}}.})", u"你."},
        RtfCase{"field_result_kept_instruction_skipped",
                R"({\rtf1{\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt link}}})", u"link"},
        RtfCase{"list_bullets_are_not_text", R"({\rtf1{\pntext\f0 1.\tab}item})", u"item"},
        RtfCase{"unclosed_document_keeps_what_was_read", R"({\rtf1{\b a)", u"a"}),
    [](const testing::TestParamInfo<RtfCase>& info) { return std::string(info.param.name); });

TEST(Rtf, DocumentAsAWordProcessorWritesIt) {
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg936\\deff0\\nouicompat\\deflang1033\\deflangfe2052"
      "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fnil\\fcharset0 Calibri;}}\r\n"
      "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
      "{\\*\\generator Texter 2.1}\\viewkind4\\uc1 \r\n"
      "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang2052\\'c4\\'e3\\'c3\\'c7\\cf1\\'b4\\'f3\\'bc\\'d2\\cf0"
      "\\'ba\\'c3\\'a1\\'a3\\f1 789A\\par\r\n"
      "\\f0\\u-10179?\\u-8704?\\f1\\lang9 B\\par\r\n}\r\n";
  EXPECT_EQ(RtfToText(rtf), u"你们大家好。789A\n😀B\n");
}

TEST(Rtf, HostileInputEndsCleanly) {
  // Deep nesting, cut-off escapes and huge parameters must neither crash nor loop.
  EXPECT_EQ(RtfToText("{\\rtf1" + std::string(100000, '{') + "x" + std::string(100000, '}') + "y}"), u"xy");
  EXPECT_EQ(RtfToText("{\\rtf1 a\\'4"), u"a");
  EXPECT_EQ(RtfToText("{\\rtf1 a\\"), u"a");
  EXPECT_EQ(RtfToText("{\\rtf1\\uc99999999999\\u20320 abc}"), u"你");
  EXPECT_EQ(RtfToText("{\\rtf1\\u99999999999 a\\bin99999999999 b}"), u"a");
  EXPECT_EQ(RtfToText("}}}{\\rtf1 a}"), u"");
}

}  // namespace
}  // namespace mipofc
