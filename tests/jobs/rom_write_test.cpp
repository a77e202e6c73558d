#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/errors.h"
#include "jobs/rom_write.h"
#include "rom/bps.h"
#include "rom/ips.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

constexpr std::uint64_t KB = 1024;

// An iNES image of prg x 16 KB and chr x 8 KB; body bytes follow their offset.
std::string Rom(std::uint8_t prg, std::uint8_t chr) {
  std::string image = std::string("NES\x1A", 4) + static_cast<char>(prg) + static_cast<char>(chr) + std::string(10, '\0');
  for (std::uint64_t i = 0; i < prg * 16 * KB + chr * 8 * KB; ++i) image += static_cast<char>((i * 7 + 3) & 0xFF);
  return image;
}

TEST(PatchRomFile, WritesTheOutputOnlyWhenEverythingFits) {
  test::TempDir dir;
  const std::string original = Rom(1, 1);
  std::ofstream(dir / "game.nes", std::ios::binary) << original;
  std::ofstream(dir / "a.chr", std::ios::binary) << std::string(4 * KB, '\x11');
  std::ofstream(dir / "odd.chr", std::ios::binary) << std::string(17, '\x11');
  EXPECT_THROW(PatchRomFile(dir / "game.nes", {dir / "a.chr", dir / "odd.chr"}, {true, 0}, {dir / "out.nes", "", ""}),
               TFileError);
  EXPECT_THROW(PatchRomFile(dir / "game.nes", {dir / "missing.chr"}, {true, 0}, {dir / "out.nes", "", ""}), TFileError);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.nes"));
  // The ROM itself may be the output; it is replaced whole.
  const std::vector<TPlacement> placed =
      PatchRomFile(dir / "game.nes", {dir / "a.chr"}, {true, 4}, {dir / "game.nes", "", ""}).Placed;
  ASSERT_EQ(placed.size(), 1u);
  EXPECT_EQ(placed[0].First, 4 * KB);
  const std::string patched = test::ReadFile(dir / "game.nes");
  EXPECT_EQ(patched, original.substr(0, 16 + 20 * KB) + std::string(4 * KB, '\x11'));
}

TEST(WriteRomOutputs, AnyOfTheRomAndItsTwoPatches) {
  test::TempDir dir;
  const std::string source = Rom(1, 1);
  std::string image = source;
  image.replace(16 + 16 * KB + 100, 3, "abc");
  const std::string rom = dir / "game.nes", out = dir / "out.nes", ips = dir / "p.ips", bps = dir / "p.bps";
  const struct {
    TRomOutputs outputs;
    std::vector<TRomFileKind> kinds;
  } cases[] = {
      {{out, "", ""}, {TRomFileKind::Rom}},
      {{"", ips, ""}, {TRomFileKind::Ips}},
      {{"", "", bps}, {TRomFileKind::Bps}},
      {{out, ips, bps}, {TRomFileKind::Rom, TRomFileKind::Ips, TRomFileKind::Bps}},
  };
  for (const auto& c : cases) {
    for (const std::string& name : {out, ips, bps}) std::filesystem::remove(name);
    const std::vector<TRomFile> files = WriteRomOutputs(rom, source, image, c.outputs);
    ASSERT_EQ(files.size(), c.kinds.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
      EXPECT_EQ(files[i].Kind, c.kinds[i]);
      const std::string bytes = test::ReadFile(files[i].Name);
      EXPECT_EQ(files[i].Bytes, bytes.size());
      EXPECT_EQ(bytes, c.kinds[i] == TRomFileKind::Rom   ? image
                       : c.kinds[i] == TRomFileKind::Ips ? IpsPatch(source, image, ips)
                                                         : BpsPatch(source, image));
    }
    EXPECT_EQ(std::filesystem::exists(out), !c.outputs.Rom.empty());
  }
}

TEST(WriteRomOutputs, RefusesBeforeWritingAnything) {
  test::TempDir dir;
  const std::string source = Rom(1, 1);
  std::ofstream(dir / "game.nes", std::ios::binary) << source;
  const std::string rom = dir / "game.nes", out = dir / "out.nes";
  const std::string huge(IpsMaxFileSize + 16, '\0');
  const struct {
    TRomOutputs outputs;
    std::string_view source;
    std::string file, reason;
  } cases[] = {
      {{out, rom, ""}, source, rom, "is the ROM the IPS patch is made from"},
      {{out, "", dir / "./game.nes"}, source, dir / "./game.nes", "is the ROM the BPS patch is made from"},
      {{out, dir / "p", dir / "p"}, source, dir / "p", "is named as the IPS patch and as the BPS patch"},
      {{out, out, ""}, source, out, "is named as the patched ROM and as the IPS patch"},
      {{out, dir / "big.ips", dir / "big.bps"}, huge, dir / "big.ips", "16 MiB"},
  };
  for (const auto& c : cases) {
    try {
      WriteRomOutputs(rom, c.source, std::string(c.source), c.outputs);
      ADD_FAILURE() << c.reason;
    } catch (const TFileError& e) {
      EXPECT_EQ(e.FileName(), c.file);
      EXPECT_NE(e.Reason().find(c.reason), std::string::npos) << e.Reason();
    }
    EXPECT_FALSE(std::filesystem::exists(out)) << c.reason;
    EXPECT_EQ(test::ReadFile(rom), source) << c.reason;
  }
  // The ROM itself may be replaced by the patched ROM.
  EXPECT_EQ(WriteRomOutputs(rom, source, source + "x", {rom, "", ""}).size(), 1u);
  EXPECT_EQ(test::ReadFile(rom), source + "x");
}

// Source and pictures of tiles are refused by their names before anything is read or written.
TEST(PatchRomFile, RefusesFilesNamedAsTextOrPictures) {
  test::TempDir dir;
  // 16 KB of PRG-ROM and 8 KB of CHR-ROM.
  const std::string original = std::string("NES\x1A\x01\x01", 6) + std::string(10, '\0') + std::string(24 * KB, '\x55');
  std::ofstream(dir / "game.nes", std::ios::binary) << original;
  std::ofstream(dir / "a.chr", std::ios::binary) << std::string(4 * KB, '\x11');
  std::ofstream(dir / "font.00.s", std::ios::binary) << std::string(4 * KB, '\x22');
  try {
    PatchRomFile(dir / "game.nes", {dir / "a.chr", dir / "font.00.s"}, {true, 0}, {dir / "game.nes", "", ""});
    ADD_FAILURE() << "no refusal";
  } catch (const TNotRawTilesError& e) {
    EXPECT_EQ(std::string(e.what()), dir / "font.00.s" + " is ca65 source, not raw tiles: export with --format chr");
  }
  EXPECT_EQ(test::ReadFile(dir / "game.nes"), original);
}


}  // namespace
}  // namespace mipofc
