#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "base/errors.h"
#include "rom/ines.h"
#include "rom/patch.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

constexpr std::uint64_t KB = 1024;

// A ROM image: the 16 header bytes given, then body bytes (each byte its offset's low bits, so a
// moved or changed byte shows).
std::string Image(std::array<std::uint8_t, 16> header, std::uint64_t bodySize) {
  std::string image(reinterpret_cast<const char*>(header.data()), 16);
  for (std::uint64_t i = 0; i < bodySize; ++i) image += static_cast<char>((i * 7 + 3) & 0xFF);
  return image;
}
std::array<std::uint8_t, 16> Header(std::uint8_t prg, std::uint8_t chr, std::uint8_t b6 = 0, std::uint8_t b7 = 0,
                                    std::uint8_t b9 = 0) {
  return {'N', 'E', 'S', 0x1A, prg, chr, b6, b7, 0, b9, 0, 0, 0, 0, 0, 0};
}

std::string ErrorOf(std::string_view image) {
  try {
    ReadRomLayout(image, "game.nes");
  } catch (const TFileError& e) {
    EXPECT_EQ(e.FileName(), "game.nes");
    return e.Reason();
  }
  return "";
}

TEST(RomLayout, SizesAndOffsetsFromTheHeader) {
  struct Case {
    const char* name;
    std::array<std::uint8_t, 16> header;
    std::uint64_t body;
    bool nes2, trainer;
    std::uint64_t prg, chr, prgOffset;
  } cases[] = {
      {"iNES NROM", Header(2, 1), 40 * KB, false, false, 32 * KB, 8 * KB, 16},
      {"iNES with trainer", Header(1, 2, 0x04), 512 + 32 * KB, false, true, 16 * KB, 16 * KB, 528},
      {"iNES with CHR-RAM", Header(8, 0, 0x01), 128 * KB, false, false, 128 * KB, 0, 16},
      // Archaic headers leave bytes 7..15 to chance; only the NES 2.0 mark counts.
      {"iNES, byte 9 ignored", Header(1, 1, 0, 0x04, 0xFF), 24 * KB, false, false, 16 * KB, 8 * KB, 16},
      {"NES 2.0 plain", Header(1, 1, 0, 0x08), 24 * KB, true, false, 16 * KB, 8 * KB, 16},
      {"NES 2.0 high nibbles", Header(0x00, 0x02, 0, 0x08, 0x21), 4096 * KB + 4112 * KB, true, false, 4096 * KB,
       4112 * KB, 16},
      // 0xF nibble: byte = EEEEEEMM, size 2^E x (2 MM + 1).
      {"NES 2.0 exponent form", Header(0x39, 0x36, 0x04, 0x08, 0xFF), 512 + 48 * KB + 40 * KB, true, true, 48 * KB,
       40 * KB, 528},
      {"NES 2.0 exponent, tiny", Header(0x10, 0x12, 0, 0x08, 0xFF), 16 + 80, true, false, 16, 80, 16},
  };
  for (const Case& c : cases) {
    const std::string image = Image(c.header, c.body);
    const TRomLayout rom = ReadRomLayout(image, "game.nes");
    EXPECT_EQ(rom.Nes2, c.nes2) << c.name;
    EXPECT_EQ(rom.Trainer, c.trainer) << c.name;
    EXPECT_EQ(rom.PrgSize, c.prg) << c.name;
    EXPECT_EQ(rom.ChrSize, c.chr) << c.name;
    EXPECT_EQ(rom.PrgOffset, c.prgOffset) << c.name;
    EXPECT_EQ(rom.ChrOffset, c.prgOffset + c.prg) << c.name;
    EXPECT_EQ(rom.FileSize, image.size()) << c.name;
  }
}

TEST(RomLayout, Nes2SizeForms) {
  EXPECT_EQ(Nes2RomSize(0x02, 0x1, 16 * KB), 0x102 * 16 * KB);
  EXPECT_EQ(Nes2RomSize(0x00, 0xE, 8 * KB), 0xE00 * 8 * KB);
  EXPECT_EQ(Nes2RomSize(0x00, 0xF, 16 * KB), 1u);           // 2^0 x 1
  EXPECT_EQ(Nes2RomSize(0x07, 0xF, 16 * KB), 2u * 7);  // 2^1 x 7
  EXPECT_EQ(Nes2RomSize(0x55, 0xF, 8 * KB), (1u << 21) * 3);  // 2^21 x 3
  EXPECT_EQ(Nes2RomSize(0xF3, 0xF, 8 * KB), (std::uint64_t{1} << 60) * 7);
  EXPECT_EQ(Nes2RomSize(0xFC, 0xF, 8 * KB), std::uint64_t{1} << 63);  // the largest that fits
  EXPECT_EQ(Nes2RomSize(0xFF, 0xF, 8 * KB), UINT64_MAX);  // 2^63 x 7 does not fit
}

TEST(RomLayout, ErrorsNameTheFileAndTheReason) {
  EXPECT_NE(ErrorOf("").find("not an iNES ROM"), std::string::npos);
  EXPECT_EQ(ErrorOf("NES\x1A\x01\x01"), "shorter than an iNES header: 6 bytes of the 16 it takes");
  EXPECT_NE(ErrorOf(Image({'N', 'E', 'S', 0x1B, 1, 1}, 24 * KB)).find("not an iNES ROM"), std::string::npos);
  EXPECT_NE(ErrorOf(std::string(24 * KB, 'x')).find("not an iNES ROM"), std::string::npos);

  const std::string shortRom = ErrorOf(Image(Header(2, 1), 40 * KB - 1));
  EXPECT_NE(shortRom.find("shorter than its header says"), std::string::npos) << shortRom;
  EXPECT_NE(shortRom.find(std::to_string(16 + 40 * KB - 1) + " bytes"), std::string::npos) << shortRom;
  EXPECT_NE(shortRom.find(std::to_string(16 + 40 * KB) + " bytes"), std::string::npos) << shortRom;
  // The trainer counts; so do sizes no file can reach.
  EXPECT_NE(ErrorOf(Image(Header(1, 1, 0x04), 24 * KB)).find("trainer"), std::string::npos);
  const std::string huge = ErrorOf(Image(Header(0xFF, 0xFF, 0, 0x08, 0xFF), 100));
  EXPECT_NE(huge.find("shorter than its header says: 116 bytes, but the header, larger than 2^64 bytes of PRG-ROM and "
                      "larger than 2^64 bytes of CHR-ROM take more than any file holds"),
            std::string::npos)
      << huge;
  // A longer file is fine: the rest is not ours to judge.
  EXPECT_EQ(ErrorOf(Image(Header(1, 1), 24 * KB + 100)), "");
}

// Sizes of bank files named a.chr, b.chr, ...
std::vector<std::pair<std::string, std::uint64_t>> Banks(std::initializer_list<std::uint64_t> sizes) {
  std::vector<std::pair<std::string, std::uint64_t>> banks;
  for (std::uint64_t size : sizes) banks.emplace_back(std::string(1, static_cast<char>('a' + banks.size())) + ".chr", size);
  return banks;
}

std::string PlanError(const TRomLayout& rom, const std::vector<std::pair<std::string, std::uint64_t>>& banks,
                      TPatchTarget target, std::string* file = nullptr) {
  try {
    PlanPatch(rom, "game.nes", banks, target);
  } catch (const TFileError& e) {
    if (file) *file = e.FileName();
    return e.Reason();
  }
  return "";
}

TEST(PlanPatch, BanksGoOneAfterAnother) {
  const std::string image = Image(Header(2, 2), 48 * KB);
  const TRomLayout rom = ReadRomLayout(image, "game.nes");
  const std::vector<TPlacement> chr = PlanPatch(rom, "game.nes", Banks({4 * KB, 2 * KB, 16}), {true, 8});
  ASSERT_EQ(chr.size(), 3u);
  EXPECT_EQ(PlacementText(chr[0]), "a.chr -> CHR 0x2000-0x2FFF");
  EXPECT_EQ(PlacementText(chr[1]), "b.chr -> CHR 0x3000-0x37FF");
  EXPECT_EQ(PlacementText(chr[2]), "c.chr -> CHR 0x3800-0x380F");
  const std::vector<TPlacement> file = PlanPatch(rom, "game.nes", Banks({4 * KB}), {false, 0x8010});
  EXPECT_EQ(PlacementText(file[0]), "a.chr -> file 0x8010-0x900F");
  // Exactly to the end of CHR-ROM, and exactly to the end of the file, fit.
  EXPECT_EQ(PlanError(rom, Banks({16 * KB}), {true, 0}), "");
  EXPECT_EQ(PlanError(rom, Banks({4 * KB}), {true, 12}), "");
  EXPECT_EQ(PlanError(rom, Banks({16}), {false, image.size() - 16}), "");
}

TEST(PlanPatch, ErrorsSayWhatDoesNotFit) {
  const TRomLayout rom = ReadRomLayout(Image(Header(2, 1), 40 * KB), "game.nes");
  std::string file;
  std::string e = PlanError(rom, Banks({4 * KB, 4 * KB + 16}), {true, 0}, &file);
  EXPECT_EQ(file, "game.nes");
  EXPECT_NE(e.find("run 16 bytes past the CHR-ROM"), std::string::npos) << e;
  e = PlanError(rom, Banks({4 * KB}), {true, 8});
  EXPECT_NE(e.find("run 4096 bytes past the CHR-ROM"), std::string::npos) << e;
  e = PlanError(rom, Banks({4 * KB}), {true, UINT64_MAX / 2});
  EXPECT_NE(e.find("past the CHR-ROM"), std::string::npos) << e;
  e = PlanError(rom, Banks({32}), {false, 16 + 40 * KB - 16});
  EXPECT_NE(e.find("run 16 bytes past the end of the file"), std::string::npos) << e;
  e = PlanError(rom, Banks({32}), {false, UINT64_MAX - 8});
  EXPECT_NE(e.find("past the end of the file"), std::string::npos) << e;

  e = PlanError(rom, Banks({4 * KB, 4 * KB + 1}), {true, 0}, &file);
  EXPECT_EQ(file, "b.chr");
  EXPECT_NE(e.find("4097 bytes is not a whole number of 16-byte tiles"), std::string::npos) << e;
  e = PlanError(rom, Banks({0}), {false, 16}, &file);
  EXPECT_EQ(file, "a.chr");
  EXPECT_NE(e.find("no tiles"), std::string::npos) << e;

  const TRomLayout chrRam = ReadRomLayout(Image(Header(2, 0), 32 * KB), "game.nes");
  e = PlanError(chrRam, Banks({16}), {true, 0}, &file);
  EXPECT_EQ(file, "game.nes");
  EXPECT_NE(e.find("no CHR-ROM"), std::string::npos) << e;
  EXPECT_NE(e.find("CHR-RAM"), std::string::npos) << e;
  EXPECT_NE(e.find("--at"), std::string::npos) << e;
  EXPECT_EQ(PlanError(chrRam, Banks({16}), {false, 0x4010}), "");
}

TEST(PatchImage, ChangesExactlyTheBanksRange) {
  const std::string original = Image(Header(1, 1, 0x04), 512 + 24 * KB);
  const std::string a(2 * KB, '\xA5'), b(32, '\x5A');
  std::string image = original;
  PatchImage(image, "game.nes", {{"a.chr", a}, {"b.chr", b}}, {true, 2});
  ASSERT_EQ(image.size(), original.size());
  const std::size_t chr = 16 + 512 + 16 * KB, first = chr + 2 * KB, end = first + a.size() + b.size();
  EXPECT_EQ(image.substr(0, first), original.substr(0, first));
  EXPECT_EQ(image.substr(first, a.size()), a);
  EXPECT_EQ(image.substr(first + a.size(), b.size()), b);
  EXPECT_EQ(image.substr(end), original.substr(end));

  image = original;
  PatchImage(image, "game.nes", {{"b.chr", b}}, {false, 0x20});
  EXPECT_EQ(image.substr(0, 0x20) + b + image.substr(0x40), image);
  EXPECT_EQ(image.substr(0, 0x20) + image.substr(0x40), original.substr(0, 0x20) + original.substr(0x40));

  // A failure leaves the image as it was.
  image = original;
  EXPECT_THROW(PatchImage(image, "game.nes", {{"a.chr", a}, {"c.chr", std::string(8 * KB, 'c')}}, {true, 0}),
               TFileError);
  EXPECT_EQ(image, original);
}

// Source and pictures of tiles are known by their names, in any case; a raw file of any other
// name is taken as tiles.
TEST(NotRawTiles, KindsByTheName) {
  const std::pair<const char*, const char*> kinds[] = {
      {"font.00.s", "ca65 source"},   {"font.00.INC", "an assembler include file"}, {"font.00.h", "a C header"},
      {"font.00.Png", "a PNG picture"}, {"font.tbl", "a code table"},             {"notes.txt", "a text file"},
      {"my.ini", "a parameter file"}, {"font.00.chr", ""},  {"font.bin", ""}, {"dir.s/font", ""}, {"font", ""}};
  for (const auto& [name, kind] : kinds) EXPECT_EQ(NotRawTilesKind(name), kind) << name;

}

}  // namespace
}  // namespace mipofc
