// export's flags for a CHR-RAM game reach the glyph job and the code map; what glyph data cannot
// be is a usage error before anything is written; ca65 and a C compiler read what is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "tests/cli/cli_runner.h"
#include "tests/format_readers.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

class GlyphsCliTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string text;
    for (int i = 0; i < 150; ++i) text += i % 3 ? "字" : "模";
    test::WriteIn(dir_, "in.txt", text + "你们");  // 152 characters
  }
  test::TRun Cli(const std::string& args) { return test::RunCli(dir_, args + test::TestFontFlags()); }
  std::string Read(const std::string& name) const { return test::ReadFile(dir_ / name); }
  std::size_t Lines(const std::string& name) const {
    const std::string text = Read(name);
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  }
  test::TempDir dir_;
};

// --layout, --bpp, --prg-bank and --map each reach the job: one-bit glyphs of 32 bytes in 8K
// banks of 256, numbered files listed, and a map of a row a character.
TEST_F(GlyphsCliTest, TheFlagsReachTheGlyphJob) {
  test::TRun r = Cli("export in.txt --layout glyphs -o all.bin --map all.csv");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "all.bin\nwrote 1 glyph file(s)\nall.csv\n");
  EXPECT_EQ(Read("all.bin").size(), 152u * 64);
  EXPECT_EQ(Lines("all.csv"), 153u);

  ASSERT_EQ(Cli("export in.txt --layout glyphs --bpp 1 -o one.bin -q").status, 0);
  EXPECT_EQ(Read("one.bin").size(), 152u * 32);
  r = Cli("export in.txt --layout glyphs --bpp 1 --prg-bank 8K -o part.bin");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "part.0000.bin\nwrote 1 glyph file(s)\n");
  EXPECT_EQ(Read("part.0000.bin"), Read("one.bin") + std::string(8192 - 152 * 32, '\0'));

  r = Cli("export in.txt --layout glyphs --prg-bank 8K -o part.s -q");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::BytesOfAsm(Read("part.01.s")).size(), 8192u);
  EXPECT_FALSE(fs::exists(dir_ / "part.02.s"));
}

// --blank-slot reaches the banks: slot 00 holds the --bg colour and the map starts at slot 02.
TEST_F(GlyphsCliTest, TheBlankSlotReachesTheBanksAndTheMap) {
  const test::TRun r = Cli("export in.txt -o font.chr --blank-slot 0 --bg 2 --map font.csv -q");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string bank = Read("font.00.chr");
  EXPECT_EQ(bank.substr(0, 16), std::string(8, '\0') + std::string(8, '\xFF'));
  EXPECT_NE(Read("font.csv").find("\n00,模,U+6A21,00,0,02 03 12 13,\n"), std::string::npos) << Read("font.csv");
  // 63 characters a bank now: 152 take three banks.
  EXPECT_TRUE(fs::exists(dir_ / "font.02.chr"));
}

TEST_F(GlyphsCliTest, WhatGlyphDataCannotBeIsAUsageError) {
  fs::create_directory(dir_ / "folder");
  const std::pair<const char*, const char*> cases[] = {
      {"-o a.chr --bpp 1", "--bpp needs --layout glyphs"},
      {"-o a.chr --prg-bank 8K", "--prg-bank needs --layout glyphs"},
      {"-o a.bin --layout glyphs --blank-slot 0", "--blank-slot is a slot of a bank: it needs --layout banks"},
      {"-o a.bin --layout glyphs --concat", "--concat: --layout glyphs writes one file already"},
      {"-o a.bin --layout glyphs --rom g.nes --chr-at 0 --rom-out o.nes", "--rom: glyph data goes into PRG-ROM"},
      {"-o a.png --layout glyphs", "format png: --layout glyphs writes chr, ca65 or c"},
      {"-o a.bin --layout glyphs --format inc", "format inc: --layout glyphs writes chr, ca65 or c"},
      {"-o a.bin --layout glyphs --bpp 1 --mode 3", "--bpp 1: one bit a pixel keeps only the glyph colour, which "
                                                    "encoding mode 3 does not leave in place"},
      {"-o a.chr --limit 1K --blank-slot 40", "--blank-slot 40: a 1K bank has slots 00 to 3F"},
      {"-o a.chr --blank-slot x1", "--blank-slot x1: a 4K bank has slots 00 to FF"},
      {"-o a.chr --map a.txt", "--map a.txt: give a .csv, .s or .h name"},
      {"-o a.chr --map folder", "--map folder: names an existing folder"},
  };
  for (const auto& [args, message] : cases) {
    const test::TRun r = Cli(std::string("export in.txt ") + args);
    EXPECT_EQ(r.status, 2) << args << ": " << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
  }
  for (const auto& entry : fs::directory_iterator(dir_.Path()))
    EXPECT_TRUE(entry.path().filename() == "in.txt" || entry.path().filename() == "folder") << entry.path();
}

// ca65 assembles the glyph source and the map arrays to the raw bytes and the map's numbers; gcc
// compiles the C arrays to the same numbers.
TEST_F(GlyphsCliTest, Ca65AndGccReadTheGlyphsAndTheMaps) {
  if (!test::HaveProgram("ca65") || !test::HaveProgram("ld65") || !test::HaveProgram("gcc"))
    GTEST_SKIP() << "ca65/ld65 or gcc are not installed (scripts/setup.sh installs them)";
  for (const char* name : {"g.bin", "g.s"})
    ASSERT_EQ(Cli(std::string("export in.txt --layout glyphs --prg-bank 8K -q --map m.csv -o ") + name).status, 0);
  ASSERT_EQ(Cli("export in.txt --layout glyphs --prg-bank 8K -q -o g.bin --map m.s").status, 0);
  ASSERT_EQ(Cli("export in.txt --layout glyphs --prg-bank 8K -q -o g.bin --map m.h").status, 0);
  const test::TRun build = test::RunIn(
      dir_, "for f in g.00 g.01 m; do ca65 -o $f.o $f.s && ld65 -t none -o $f.out $f.o || exit 1; done");
  ASSERT_EQ(build.status, 0) << build.out << build.err;
  EXPECT_EQ(Read("g.00.out"), Read("g.00.bin"));
  EXPECT_EQ(Read("g.01.out"), Read("g.01.bin"));

  test::WriteIn(dir_, "dump.c",
                "#include <stdio.h>\n#include \"m.h\"\nint main(void) {\n  for (int i = 0; i < m_count; ++i)\n"
                "    printf(\"%02X %u\\n\", (unsigned)m_file[i], (unsigned)m_offset[i]);\n  return 0;\n}\n");
  const test::TRun cc = test::RunIn(dir_, "gcc -std=c99 -Wall -Wextra -Werror -pedantic -o dump dump.c && ./dump");
  ASSERT_EQ(cc.status, 0) << cc.err;
  // The map's rows, the C arrays and the ca65 arrays (bytes of files, then words of offsets).
  std::istringstream csv(Read("m.csv")), c(cc.out);
  std::string row, line;
  std::getline(csv, row);
  const std::string s = Read("m.out");
  ASSERT_EQ(s.size(), 152u * 3);
  for (std::size_t i = 0; std::getline(csv, row); ++i) {
    ASSERT_TRUE(std::getline(c, line));
    std::vector<std::string> f;
    std::istringstream fields(row);
    for (std::string field; std::getline(fields, field, ',');) f.push_back(field);
    EXPECT_EQ(line, f[3] + " " + f[6]) << i;
    EXPECT_EQ(static_cast<unsigned char>(s[i]), std::stoul(f[3], nullptr, 16)) << i;
    const unsigned offset = static_cast<unsigned char>(s[152 + 2 * i]) | static_cast<unsigned char>(s[153 + 2 * i]) << 8;
    EXPECT_EQ(offset, std::stoul(f[6])) << i;
  }
}

}  // namespace
}  // namespace mipofc
