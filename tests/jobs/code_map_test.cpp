// The code map says where each code's tiles are: the slots it names hold that character's tiles
// in the bank files, the offsets its glyph in the glyph files, in every layout.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "base/hex.h"
#include "jobs/code_map.h"
#include "jobs/export.h"
#include "tests/format_readers.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

std::vector<std::vector<std::string>> CsvRows(const std::string& csv) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(csv);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = !quoted;
      } else if (c == ',' && !quoted) {
        fields.emplace_back();
      } else {
        fields.back() += c;
      }
    }
    rows.push_back(fields);
  }
  return rows;
}

class CodeMapTest : public testing::Test {
 protected:
  static std::u16string Text(std::size_t n) {
    std::u16string text;
    for (std::size_t i = 0; i < n; ++i) text += static_cast<char16_t>(0x4E00 + (i * 97) % 0x5000);
    return text;
  }
  std::string GlyphOf(const TChrSettings& s, char16_t c) {
    std::string out;
    std::make_unique<TChr>()->AppendGlyphs(s, std::u16string(1, c), 2, out);
    return out;
  }
  TFont font_ = test::TestFont();
  test::TempDir dir_;
};

// For every layout (with a blank slot or not), the slots a row names hold, in the bank file it
// names, the character's tiles in tile order.
TEST_F(CodeMapTest, BankSlotsHoldEachCodesTilesInTheBankFiles) {
  struct Case {
    int width, height, mode, distribution, limit, blank;
    bool horizontal;
  } cases[] = {{16, 16, 0, 1, 4096, -1, true}, {16, 16, 0, 1, 1024, 0, true}, {16, 16, 0, 0, 2048, 5, false},
               {8, 16, 0, 1, 1024, 0x11, false}, {32, 32, 3, 1, 4096, 0x27, true}, {16, 32, 4, 0, 4096, 0, true},
               {8, 8, 0, 0, 1024, 63, true}};
  for (const Case& c : cases) {
    TChrSettings s = test::StartSettings(&font_);
    s.CellWidth = c.width;
    s.CellHeight = c.height;
    s.EncodeMode = c.mode;
    s.Distribution = c.distribution;
    s.Limit = c.limit;
    s.BlankSlot = c.blank;
    s.ScanHorizontal = c.horizontal;
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " mode " << c.mode << " limit " << c.limit
                                    << " blank " << c.blank);
    const std::u16string text = Text(static_cast<std::size_t>(ExportCapacity(s)) * 2 + 3);
    const std::string chosen = dir_ / ("b" + std::to_string(c.width) + "-" + std::to_string(c.limit) + ".chr");
    ExportBanks(chosen, TBankFormat::Chr, s, text);
    const auto rows = CsvRows(CodeMapFileBytes(TMapFormat::Csv, text, BankMapLayout(s, {0x100, 2}), "m.csv"));
    ASSERT_EQ(rows.size(), text.size() + 1);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"code", "char", "codepoint", "file", "cell", "slots", "offset"}));
    for (std::size_t i = 0; i < text.size(); ++i) {
      const std::vector<std::string>& row = rows[i + 1];
      ASSERT_EQ(row.size(), 7u);
      EXPECT_EQ(std::stoul(row[0], nullptr, 16), 0x100 + i);
      EXPECT_EQ(row[2], "U+" + HexText(text[i], 4));
      const std::string bank = test::ReadFile(ExportBaseName(chosen) + "." + row[3] + ".chr");
      ASSERT_EQ(bank.size(), static_cast<std::size_t>(c.limit)) << row[3];
      std::string tiles;
      std::istringstream slots(row[5]);
      for (std::string slot; slots >> slot;) tiles += bank.substr(std::stoul(slot, nullptr, 16) * 16, 16);
      ASSERT_EQ(tiles, GlyphOf(s, text[i])) << "code " << row[0];
      EXPECT_EQ(std::stoul(row[4]), i % static_cast<std::size_t>(ExportCapacity(s)));
      EXPECT_EQ(row[6], "");
    }
  }
}

// A worked example, byte for byte: 16x16 block cells in 1K banks with slot 00 blank, and the
// same characters as glyph data in 8K PRG banks; a quote and a comma are quoted as CSV quotes them.
TEST_F(CodeMapTest, WorkedExamplesInEveryFormat) {
  TChrSettings s = test::StartSettings(&font_);
  s.Limit = 1024;
  s.BlankSlot = 0;
  const std::u16string text = u"你\",好";
  const TCodeMapLayout banks = BankMapLayout(s, {0x8000, 2});
  EXPECT_EQ(CodeMapFileBytes(TMapFormat::Csv, text, banks, "m.csv"),
            "code,char,codepoint,file,cell,slots,offset\n"
            "8000,你,U+4F60,00,0,02 03 12 13,\n"
            "8001,\"\"\"\",U+0022,00,1,04 05 14 15,\n"
            "8002,\",\",U+002C,00,2,06 07 16 17,\n"
            "8003,好,U+597D,00,3,08 09 18 19,\n");
  EXPECT_EQ(CodeMapFileBytes(TMapFormat::Ca65, text, banks, "font-map.s"),
            "; 4 characters in code order from code $8000: the index is the code less $8000\n"
            "; 16x16 cells in 1K banks, block layout, 15 characters a bank\n"
            "; file: the bank's number; slot: the cell's first tile, the others at +1 +16 +17 (row by row)\n"
            "; slot $00 of every bank is blank (colour 0)\n"
            "font_map_count = 4\n"
            "font_map_file:\n"
            "    .byte $00, $00, $00, $00\n"
            "font_map_slot:\n"
            "    .byte $02, $04, $06, $08\n");
  const TCodeMapLayout glyphs = GlyphMapLayout(s, GlyphFilesOf(s, 1, 8192, 300), 1, {0, 1});
  const std::u16string many = Text(300);
  const std::string c = CodeMapFileBytes(TMapFormat::C, many, glyphs, "map.h");
  EXPECT_NE(c.find("/* 16x16 cells, 1 bit a pixel: a glyph is 32 bytes, its tiles row by row, one after another */\n"),
            std::string::npos);
  EXPECT_NE(c.find("const unsigned char map_file[300] = {\n  0x00, 0x00,"), std::string::npos) << c;
  EXPECT_NE(c.find("const unsigned short map_offset[300] = {\n  0x0000, 0x0020, 0x0040,"), std::string::npos);
  // Glyph 256 opens the second PRG bank; 256 glyphs a file number the files with four digits.
  const auto rows = CsvRows(CodeMapFileBytes(TMapFormat::Csv, many, glyphs, "m.csv"));
  EXPECT_EQ(rows[256][3] + " " + rows[256][4] + " " + rows[256][6], "0000 255 8160");
  EXPECT_EQ(rows[257][3] + " " + rows[257][4] + " " + rows[257][6], "0001 0 0");
  EXPECT_EQ(test::BytesOfC(c.substr(c.find("map_file"))).substr(255, 2), std::string("\0\1", 2));
}

TEST_F(CodeMapTest, ALayoutOfNoCellsHoldsNoCharacter) {
  const TCodeMapLayout none;
  for (TMapFormat format : {TMapFormat::Csv, TMapFormat::Ca65, TMapFormat::C})
    EXPECT_THROW(CodeMapFileBytes(format, u"你", none, "m.s"), std::invalid_argument);
  EXPECT_EQ(CodeMapFileBytes(TMapFormat::Csv, u"", none, "m.csv"), "code,char,codepoint,file,cell,slots,offset\n");
}

TEST_F(CodeMapTest, FormatsByTheNamesExtension) {
  const std::pair<const char*, std::optional<TMapFormat>> cases[] = {
      {"m.csv", TMapFormat::Csv}, {"M.CSV", TMapFormat::Csv}, {"dir.x/m.s", TMapFormat::Ca65},
      {"m.H", TMapFormat::C},     {"m.txt", std::nullopt},    {"m", std::nullopt},
      {"m.s.txt", std::nullopt}};
  for (const auto& [name, format] : cases) EXPECT_EQ(MapFormatOfName(name), format) << name;
}

}  // namespace
}  // namespace mipofc
