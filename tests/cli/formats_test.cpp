#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/cli_runner.h"
#include "tests/format_readers.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

// 64 characters a 4K bank at 16x16: 70 characters take two banks.
const std::string Text70 = [] {
  const std::string pool[] = {"你", "们", "大", "家", "好", "中", "文", "字", "模", "A"};
  std::string text;
  for (int i = 0; i < 70; ++i) text += pool[(i * 3) % 10];
  return text;
}();

class FormatsCliTest : public testing::Test {
 protected:
  void SetUp() override { test::WriteIn(dir_, "in.txt", Text70); }
  test::TRun Cli(const std::string& args) { return test::RunCli(dir_, args + test::TestFontFlags()); }
  std::string Read(const std::string& name) const { return test::ReadFile(dir_ / name); }
  test::TempDir dir_;
};

TEST_F(FormatsCliTest, TheExtensionOrTheFlagPicksTheFormat) {
  ASSERT_EQ(Cli("export in.txt -o ref.chr -q").status, 0);
  const std::string bank0 = Read("ref.00.chr"), bank1 = Read("ref.01.chr");
  ASSERT_EQ(bank0.size(), 4096u);
  struct Case {
    const char* args;
    const char* file0;
    const char* kind;
  } cases[] = {
      {"-o a.inc", "a.00.inc", "asm"},          {"-o b.S", "b.00.s", "asm"},
      {"-o c.h", "c.00.h", "c"},                {"-o d.PNG", "d.00.png", "png"},
      {"-o e.bin", "e.00.chr", "chr"},          {"-o f.txt --format ca65", "f.00.s", "asm"},
      {"-o g.s --format c", "g.00.h", "c"},     {"-o h --format png", "h.00.png", "png"},
      {"-o i.png --format chr", "i.00.chr", "chr"},
  };
  for (const Case& c : cases) {
    const test::TRun r = Cli(std::string("export in.txt ") + c.args);
    ASSERT_EQ(r.status, 0) << c.args << ": " << r.err;
    EXPECT_NE(r.out.find(c.file0), std::string::npos) << c.args << ": " << r.out;
    EXPECT_NE(r.out.find("wrote 2 "), std::string::npos) << c.args << ": " << r.out;
    std::string file1 = c.file0;
    file1.replace(file1.find(".00."), 4, ".01.");
    for (const auto& [name, bank] : {std::pair{std::string(c.file0), bank0}, std::pair{file1, bank1}}) {
      const std::string file = Read(name);
      const std::string kind = c.kind;
      const std::string bytes = kind == "asm" ? test::BytesOfAsm(file)
                                : kind == "c" ? test::BytesOfC(file)
                                : kind == "png" ? test::TilesOfImage(test::ReadIndexedPng(file))
                                                : file;
      EXPECT_EQ(bytes, bank) << c.args << " " << name;
    }
  }
}

TEST_F(FormatsCliTest, ConcatWritesOneFileUnderExactlyTheName) {
  ASSERT_EQ(Cli("export in.txt -o n.chr -q").status, 0);
  ASSERT_EQ(Cli("export in.txt -o n.s -q").status, 0);
  const test::TRun r = Cli("export in.txt -o out.chr --concat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "out.chr\nwrote 1 chr file(s)\n");
  EXPECT_EQ(Read("out.chr"), Read("n.00.chr") + Read("n.01.chr"));
  EXPECT_FALSE(fs::exists(dir_ / "out.00.chr"));
  ASSERT_EQ(Cli("export in.txt -o out.s --concat -q").status, 0);
  EXPECT_EQ(Read("out.s"), Read("n.00.s") + Read("n.01.s"));
  ASSERT_EQ(Cli("export in.txt -o rom.bin --concat --format png -q").status, 0);
  const test::TIndexedImage image = test::ReadIndexedPng(Read("rom.bin"));
  EXPECT_EQ(image.height, 256);
  EXPECT_EQ(test::TilesOfImage(image), Read("out.chr"));
  ASSERT_EQ(Cli("export in.txt -o all.h --concat -q").status, 0);
  EXPECT_NE(Read("all.h").find("const unsigned char all[8192] = {"), std::string::npos);
  EXPECT_EQ(test::BytesOfC(Read("all.h")), Read("out.chr"));
}

TEST_F(FormatsCliTest, ThePaletteColoursThePng) {
  ASSERT_EQ(Cli("export in.txt -o p.png -q --palette 102030,405060,708090,A0B0C0").status, 0);
  const test::TIndexedImage image = test::ReadIndexedPng(Read("p.00.png"));
  ASSERT_EQ(image.palette.size(), 4u);
  EXPECT_EQ(image.palette[0], (std::array<std::uint8_t, 3>{0x10, 0x20, 0x30}));
  EXPECT_EQ(image.palette[3], (std::array<std::uint8_t, 3>{0xA0, 0xB0, 0xC0}));
  ASSERT_EQ(Cli("export in.txt -o q.png -q").status, 0);
  EXPECT_EQ(test::ReadIndexedPng(Read("q.00.png")).palette[2], (std::array<std::uint8_t, 3>{0x80, 0, 0}));
}

TEST_F(FormatsCliTest, UsageErrorsWriteNothing) {
  const std::pair<std::string, std::string> cases[] = {
      {"export in.txt -o a.chr --format bin", "--format"},
      {"export in.txt -o a.png --palette 000000,FFFFFF,800000", "--palette"},
      {"export in.txt -o a.png --palette 000000,FFFFFF,800000,GGGGGG", "--palette"},
  };
  for (const auto& [args, message] : cases) {
    const test::TRun r = Cli(args);
    EXPECT_EQ(r.status, 2) << args << ": " << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
  }
  EXPECT_FALSE(fs::exists(dir_ / "a.00.chr"));
  EXPECT_FALSE(fs::exists(dir_ / "a.00.png"));
}

// A C program that writes the arrays of the headers it includes into files.
std::string DumpProgram(const std::vector<std::pair<std::string, std::string>>& headers) {
  std::string program = "#include <stdio.h>\n";
  for (const auto& [file, name] : headers) program += "#include \"" + file + "\"\n";
  program += "int main(void) {\n  FILE* f;\n";
  for (const auto& [file, name] : headers)
    program += "  f = fopen(\"" + name + ".bin\", \"wb\");\n  if (!f || fwrite(" + name + ", 1, sizeof " + name +
               ", f) != sizeof " + name + ") return 1;\n  fclose(f);\n";
  return program + "  return 0;\n}\n";
}

TEST_F(FormatsCliTest, TheCHeaderCompilesAndHoldsTheBank) {
  if (!test::HaveProgram("gcc")) GTEST_SKIP() << "gcc is not installed";
  ASSERT_EQ(Cli("export in.txt -o 2font.chr -q").status, 0);
  ASSERT_EQ(Cli("export in.txt -o 2font.h -q").status, 0);
  ASSERT_EQ(Cli("export in.txt -o all.h -q --concat").status, 0);
  // Both numbered headers and the whole one in one program: guards and names do not collide.
  test::WriteIn(dir_, "dump.c", DumpProgram({{"2font.00.h", "_2font_00"}, {"2font.01.h", "_2font_01"}, {"all.h", "all"}}));
  const test::TRun cc = test::RunIn(dir_, "gcc -std=c99 -Wall -Wextra -Werror -pedantic -o dump dump.c && ./dump");
  ASSERT_EQ(cc.status, 0) << cc.err;
  EXPECT_EQ(Read("_2font_00.bin"), Read("2font.00.chr"));
  EXPECT_EQ(Read("_2font_01.bin"), Read("2font.01.chr"));
  EXPECT_EQ(Read("all.bin"), Read("2font.00.chr") + Read("2font.01.chr"));
}

TEST_F(FormatsCliTest, TheCHeaderCompilesWithCc65) {
  if (!test::HaveProgram("cc65") || !test::HaveProgram("ca65"))
    GTEST_SKIP() << "cc65 is not installed (scripts/setup.sh installs Debian's cc65)";
  ASSERT_EQ(Cli("export in.txt -o font.chr -q --limit 1K").status, 0);
  ASSERT_EQ(Cli("export in.txt -o font.h -q --limit 1K").status, 0);
  test::WriteIn(dir_, "use.c", "#include \"font.00.h\"\nunsigned char first(void) { return font_00[0]; }\n");
  const test::TRun cc = test::RunIn(dir_, "cc65 -t nes -O -o use.s use.c && ca65 -t nes -o use.o use.s");
  ASSERT_EQ(cc.status, 0) << cc.out << cc.err;
  // The compiler's data for the array is the bank.
  const std::string source = Read("use.s");
  const std::size_t label = source.find("_font_00:");
  ASSERT_NE(label, std::string::npos) << source;
  const std::size_t end = source.find("\n\n", label);
  EXPECT_EQ(test::BytesOfAsm(std::string_view(source).substr(label, end - label)), Read("font.00.chr"));
}

}  // namespace
}  // namespace mipofc
