// export --format bdf: the glyphs as a BDF font, and the banks drawn back from it.
#include <gtest/gtest.h>

#include "tests/cli/cli_runner.h"

namespace mipofc {
namespace {

TEST(ExportBdfCli, TheFontDrawsTheBanksItWasDrawnFrom) {
  test::TempDir dir;
  test::WriteIn(dir, "in.txt", "字模你好，字模 ABC");
  const std::string source = " --cell 16x32 --offset 1,2 --narrow-wide -2 --bold" + test::TestFontFlags();
  test::TRun r = test::RunCli(dir, "export in.txt -o glyphs.bdf" + source);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "wrote glyphs.bdf (BDF font, 9 characters)\n");
  ASSERT_EQ(test::RunCli(dir, "export in.txt -o a.chr -q" + source).status, 0);
  r = test::RunCli(dir, "export in.txt -o b.chr -q --cell 16x32 --font-file glyphs.bdf");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::ReadFile(dir / "b.00.chr"), test::ReadFile(dir / "a.00.chr"));
  // --format names it whatever the extension.
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
