// export --scenes through mipofc-cli: the plan's line on standard error, a scene too big (exit 1,
// nothing written) and every usage error of the scene flags (exit 2, nothing written).
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/cli_runner.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

TEST(ScenesCli, SaysThePlanAndRefusesWhatCannotBe) {
  test::TempDir dir;
  test::WriteIn(dir, "s.txt", "甲乙\n丙\n\n甲丁\n\n\n戊\n");
  const std::string flags = test::TestFontFlags() + " --limit 1K";
  const test::TRun ok = test::RunCli(dir, "export s.txt --scenes blank -o a.chr --encode a.bin" + flags);
  ASSERT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(ok.err,
            "3 scenes, 5 distinct characters: 0 fixed + 1 switched banks (first fit in script order: 1; at least 1)\n"
            "1 line break has no code: no table has a newline entry (*HEX)\n");
  EXPECT_TRUE(fs::exists(dir / "a.00.chr"));

  test::WriteIn(dir, "big.txt", "甲\n一二三四五六七八九十百千万亿兆京垓\n");
  const test::TRun big = test::RunCli(dir, "export big.txt --scenes line -o b.chr --table b.tbl" + flags);
  EXPECT_EQ(big.status, 1);
  EXPECT_EQ(big.err, "mipofc-cli: scene 1 (lines 2-2): 17 characters besides the fixed banks; a bank holds 16\n");
  EXPECT_FALSE(fs::exists(dir / "b.00.chr"));

  const struct {
    const char* args;
    const char* message;
  } usage[] = {
      {"--scenes blanks", "--scenes blanks: give blank, line or marker:TEXT"},
      {"--scenes marker:", "--scenes marker:: give blank, line or marker:TEXT"},
      {"--scenes line --order first", "--scenes cannot be used with --order"},
      {"--scenes line --format bdf", "--scenes writes banks: --format bdf cannot be used with it"},
      {"--scenes line --layout glyphs", "--scenes writes banks: --layout glyphs cannot be used with it"},
      {"--scenes line --map m.csv", "--map cannot be used with --scenes: the scene map is --scene-map"},
      {"--scenes line --scene-map m.txt", "--scene-map m.txt: give a .csv, .s or .h name (the map's format)"},
      {"--scenes line --rom r.nes --chr-at 0 --rom-out o.nes", "--scenes cannot be used with --rom"},
      {"--fixed-banks 1", "--fixed-banks needs --scenes"},
      {"--encode e.bin", "--encode needs --scenes"},
      {"--scene-map m.csv", "--scene-map needs --scenes"},
      {"--newline-code FE", "--newline-code needs --table or --scenes"},
      {"--end-code FF", "--end-code needs --table or --scenes"},
      {"--scenes line --newline-code 01 --code-start 00", "--newline-code 01 is also the code of U+4E59 乙"},
      {"--scenes line --newline-code FE --end-code FE", "--end-code FE is also --newline-code FE"},
      {"--table t.tbl --end-code 00", "--end-code 00 is also the code of U+7532 甲"},
      {"--scenes line --code-bytes 1 --code-start FF", "--code-bytes 1: "},
  };
  for (const auto& u : usage) {
    const test::TRun r = test::RunCli(dir, std::string("export s.txt -o u.chr ") + u.args + flags);
    EXPECT_EQ(r.status, 2) << u.args;
    EXPECT_EQ(r.err.rfind(std::string("mipofc-cli: ") + u.message, 0), 0u) << u.args << ": " << r.err;
    EXPECT_FALSE(fs::exists(dir / "u.00.chr")) << u.args;
  }
  const test::TRun fromTable = test::RunCli(dir, "export --from-table t.tbl --scenes line -o u.chr" + flags);
  EXPECT_EQ(fromTable.err, "mipofc-cli: --scenes cannot be used with --from-table\n");
}

}  // namespace
}  // namespace mipofc
