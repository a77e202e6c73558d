#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/errors.h"
#include "jobs/rom_write.h"
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
  EXPECT_THROW(PatchRomFile(dir / "game.nes", {dir / "a.chr", dir / "odd.chr"}, {true, 0}, dir / "out.nes"),
               TFileError);
  EXPECT_THROW(PatchRomFile(dir / "game.nes", {dir / "missing.chr"}, {true, 0}, dir / "out.nes"), TFileError);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.nes"));
  // The ROM itself may be the output; it is replaced whole.
  const std::vector<TPlacement> placed = PatchRomFile(dir / "game.nes", {dir / "a.chr"}, {true, 4}, dir / "game.nes");
  ASSERT_EQ(placed.size(), 1u);
  EXPECT_EQ(placed[0].First, 4 * KB);
  const std::string patched = test::ReadFile(dir / "game.nes");
  EXPECT_EQ(patched, original.substr(0, 16 + 20 * KB) + std::string(4 * KB, '\x11'));
}

}  // namespace
}  // namespace mipofc
