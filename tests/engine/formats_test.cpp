#include <atomic>
#include <gtest/gtest.h>

#include <filesystem>

#include "jobs/export.h"
#include "engine/formats.h"
#include "engine/png.h"
#include "tests/format_readers.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

constexpr TBankFormat AllFormats[] = {TBankFormat::Chr, TBankFormat::Inc, TBankFormat::Ca65, TBankFormat::C,
                                      TBankFormat::Png};

TEST(FormatNames, ExtensionsAndTheExtensionRule) {
  const std::pair<const char*, TBankFormat> cases[] = {
      {"font.chr", TBankFormat::Chr}, {"font.inc", TBankFormat::Inc}, {"font.INC", TBankFormat::Inc},
      {"font.s", TBankFormat::Ca65},  {"font.S", TBankFormat::Ca65},  {"font.h", TBankFormat::C},
      {"font.H", TBankFormat::C},     {"font.png", TBankFormat::Png}, {"font.PnG", TBankFormat::Png},
      {"font", TBankFormat::Chr},     {"font.bin", TBankFormat::Chr}, {"font.ss", TBankFormat::Chr},
      {"out.s/font", TBankFormat::Chr}, {"font.", TBankFormat::Chr},  {"a.png.bak", TBankFormat::Chr},
  };
  for (const auto& [name, format] : cases) EXPECT_EQ(FormatOfName(name), format) << name;
  const char* names[] = {"f.0A.chr", "f.0A.inc", "f.0A.s", "f.0A.h", "f.0A.png"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(ExportFileName("f", 10, 64, AllFormats[i]), names[i]);
    // A numbered file's name asks for its own format again.
    EXPECT_EQ(FormatOfName(names[i]), AllFormats[i]);
  }
}

TEST(FormatNames, CIdentifiersFromFileNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"font.00.h", "font_00"},       {"out/font.0A.h", "font_0A"}, {"C:\\x\\my font.h", "my_font"},
      {"3d-font.h", "_3d_font"},      {"字模.01.h", "___01"},        {"int.h", "_int"},
      {".h", "_"},                    {"a$b.h", "a_b"},              {"_ok.h", "_ok"},
  };
  for (const auto& [file, name] : cases) EXPECT_EQ(CIdentifier(file), name) << file;
}

TEST(Formats, Ca65AndCTextsHaveTheirExactForm) {
  std::string bytes;
  for (int i = 0; i < 32; ++i) bytes += static_cast<char>(i * 9);
  const std::vector<std::string> names = {"bank $00 slot $00: U+4F60 你", "bank $00 slot $01: blank"};
  EXPECT_EQ(Ca65Text(bytes, names),
            "    .byte $00, $09, $12, $1B, $24, $2D, $36, $3F, $48, $51, $5A, $63, $6C, $75, $7E, $87"
            "  ; bank $00 slot $00: U+4F60 你\n"
            "    .byte $90, $99, $A2, $AB, $B4, $BD, $C6, $CF, $D8, $E1, $EA, $F3, $FC, $05, $0E, $17"
            "  ; bank $00 slot $01: blank\n");
  EXPECT_EQ(CHeaderText(bytes.substr(0, 17), "f_00"),
            "#ifndef f_00_H\n#define f_00_H\n\nconst unsigned char f_00[17] = {\n"
            "  0x00, 0x09, 0x12, 0x1B, 0x24, 0x2D, 0x36, 0x3F, 0x48, 0x51, 0x5A, 0x63, 0x6C, 0x75, 0x7E, 0x87,\n"
            "  0x90\n};\n\n#endif\n");
}

TEST(Formats, TileNamesNameTheSlotTheCharacterAndItsTile) {
  TFont font = test::TestFont();
  TChr engine;
  // 16x16 blocks: each character takes slots s, s+1, s+16, s+17.
  engine.BuildFor(test::StartSettings(&font), std::u16string(u"你\t") + char16_t(0xD83D));
  const std::vector<std::string> names = TileNames(engine, 0x1B);
  ASSERT_EQ(names.size(), 256u);
  EXPECT_EQ(names[0x00], "bank $1B slot $00: U+4F60 你 tile 0,0");
  EXPECT_EQ(names[0x11], "bank $1B slot $11: U+4F60 你 tile 1,1");
  // Controls and lone surrogates are named by code point only: they cannot stand in a comment.
  EXPECT_EQ(names[0x12], "bank $1B slot $12: U+0009 tile 0,1");
  EXPECT_EQ(names[0x04], "bank $1B slot $04: U+D83D tile 0,0");
  EXPECT_EQ(names[0xFF], "bank $1B slot $FF: blank");

  TChrSettings small = test::StartSettings(&font);
  small.CellWidth = small.CellHeight = 8;
  small.Distribution = 0;
  small.Limit = 1024;
  engine.BuildFor(small, u"A");
  const std::vector<std::string> one = TileNames(engine, 0);
  ASSERT_EQ(one.size(), 64u);
  EXPECT_EQ(one[0], "bank $00 slot $00: U+0041 A");  // one tile a cell: no tile position
}

TEST(Formats, APngHoldsTheTilesAsPaletteIndexes) {
  TPalette palette = {0x030201, 0x060504, 0x090807, 0x0C0B0A};
  std::string bank(1024, '\0');
  for (std::size_t i = 0; i < bank.size(); ++i) bank[i] = static_cast<char>((i * 37 + i / 16) & 0xFF);
  const test::TIndexedImage image = test::ReadIndexedPng(BankPng(bank, palette));
  ASSERT_TRUE(image.ok);
  EXPECT_EQ(image.width, 128);
  EXPECT_EQ(image.height, 32);
  ASSERT_EQ(image.palette.size(), 4u);
  EXPECT_EQ(image.palette[0], (std::array<std::uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(image.palette[3], (std::array<std::uint8_t, 3>{0x0A, 0x0B, 0x0C}));
  EXPECT_EQ(test::TilesOfImage(image), bank);
  // Tile 17 (second band, second column), row 0: plane bytes give each pixel's colour index.
  const auto p0 = static_cast<unsigned char>(bank[17 * 16]), p1 = static_cast<unsigned char>(bank[17 * 16 + 8]);
  for (int c = 0; c < 8; ++c)
    EXPECT_EQ(image.indexes[8 * 128 + 8 + c], ((p0 >> (7 - c)) & 1) + 2 * ((p1 >> (7 - c)) & 1)) << c;
  EXPECT_THROW(BankPng(bank.substr(0, 100), palette), std::invalid_argument);
}

}  // namespace
}  // namespace mipofc
