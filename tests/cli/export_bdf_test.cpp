// export --format bdf: the glyphs as a BDF font instead of banks.
#include <gtest/gtest.h>

#include "tests/cli/cli_runner.h"

namespace mipofc {
namespace {

TEST(ExportBdfCli, TheExtensionOrTheFormatAsksForTheFont) {
  test::TempDir dir;
  test::WriteIn(dir, "in.txt", "字模你好，字模 ABC");
  const test::TRun r = test::RunCli(dir, "export in.txt -o glyphs.bdf --cell 16x32" + test::TestFontFlags());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "wrote glyphs.bdf (BDF font, 9 characters)\n");
  EXPECT_NE(test::ReadFile(dir / "glyphs.bdf").find("\nFONTBOUNDINGBOX 16 32 "), std::string::npos);
  ASSERT_EQ(test::RunCli(dir, "export in.txt --format bdf -o glyphs.txt -q" + test::TestFontFlags()).status, 0);
  EXPECT_EQ(test::ReadFile(dir / "glyphs.txt").rfind("STARTFONT 2.1\n", 0), 0u);
}

TEST(ExportBdfCli, FlagsOfBanksAreUsageErrors) {
  test::TempDir dir;
  test::WriteIn(dir, "in.txt", "字模");
  test::WriteIn(dir, "game.nes", "NES");
  for (const char* flags : {"--concat", "--palette 000000,111111,222222,333333", "--rom game.nes --chr-at 0 --ips p.ips"}) {
    const test::TRun r = test::RunCli(dir, std::string("export in.txt -o font.bdf ") + flags);
    EXPECT_EQ(r.status, 2) << flags;
    EXPECT_NE(r.err.find("does not go with a BDF font"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "font.bdf"));
}

}  // namespace
}  // namespace mipofc
