// The banks in the assembler and linker that homebrew developers use: an NROM program built with
// ca65 and ld65 carries the exported bank as its CHR-ROM, whether it includes the ca65 source or
// the raw .chr, and mipofc-cli patch then changes exactly the range it names.
#include <gtest/gtest.h>

#include "rom/ines.h"
#include "tests/cli/cli_runner.h"

namespace mipofc {
namespace {

// One 16 KB PRG bank, one 8 KB CHR bank, mapper 0, horizontal mirroring.
constexpr const char* LinkerConfig = R"(MEMORY {
  HEADER: start = $0000, size = $0010, type = ro, file = %O, fill = yes;
  PRG:    start = $C000, size = $4000, type = ro, file = %O, fill = yes, fillval = $FF;
  CHR:    start = $0000, size = $2000, type = ro, file = %O, fill = yes, fillval = $00;
}
SEGMENTS {
  HEADER:  load = HEADER, type = ro;
  CODE:    load = PRG, type = ro;
  VECTORS: load = PRG, type = ro, start = $FFFA;
  CHARS:   load = CHR, type = ro;
}
)";

std::string Program(const std::string& chars) {
  return R"(.segment "HEADER"
    .byte "NES", $1A, 1, 1, $00, $00, 0, 0, 0, 0, 0, 0, 0, 0
.segment "CODE"
reset:
    sei
    cld
forever:
    jmp forever
nmi:
irq:
    rti
.segment "VECTORS"
    .word nmi, reset, irq
.segment "CHARS"
)" + chars + "\n";
}

TEST(Toolchain, Ca65AndLd65BuildTheBankIntoTheChrRomAndPatchReplacesIt) {
  if (!test::HaveProgram("ca65") || !test::HaveProgram("ld65"))
    GTEST_SKIP() << "ca65/ld65 are not installed (scripts/setup.sh installs Debian's cc65)";
  test::TempDir dir;
  std::string text;
  for (int i = 0; i < 100; ++i) text += i % 3 ? "字" : "模";  // two 4K banks at 16x16
  text += "你们";
  test::WriteIn(dir, "in.txt", text);
  for (const char* name : {"font.s", "font.chr"}) {
    const test::TRun r = test::RunCli(dir, std::string("export in.txt -q -o ") + name + test::TestFontFlags());
    ASSERT_EQ(r.status, 0) << r.err;
  }
  const std::string bank0 = test::ReadFile(dir / "font.00.chr"), bank1 = test::ReadFile(dir / "font.01.chr");
  ASSERT_EQ(bank0.size(), 4096u);
  ASSERT_NE(bank0, bank1);

  test::WriteIn(dir, "nrom.cfg", LinkerConfig);
  test::WriteIn(dir, "include.s", Program("    .include \"font.00.s\""));
  test::WriteIn(dir, "incbin.s", Program("    .incbin \"font.00.chr\""));
  std::string roms[2];
  const char* sources[] = {"include", "incbin"};
  for (int i = 0; i < 2; ++i) {
    const std::string s = sources[i];
    const test::TRun build =
        test::RunIn(dir, "ca65 -o " + s + ".o " + s + ".s && ld65 -C nrom.cfg -o " + s + ".nes " + s + ".o");
    ASSERT_EQ(build.status, 0) << s << ": " << build.out << build.err;
    roms[i] = test::ReadFile(dir / (s + ".nes"));
    const TRomLayout rom = ReadRomLayout(roms[i], s);
    ASSERT_EQ(rom.ChrSize, 8192u) << s;
    EXPECT_EQ(roms[i].substr(rom.ChrOffset, 4096), bank0) << s;
    EXPECT_EQ(roms[i].substr(rom.ChrOffset + 4096), std::string(4096, '\0')) << s;
  }
  EXPECT_EQ(roms[0], roms[1]);

  const test::TRun patch = test::RunCli(dir, "patch include.nes font.01.chr --chr-at 4 -o patched.nes");
  ASSERT_EQ(patch.status, 0) << patch.err;
  EXPECT_EQ(patch.out, "font.01.chr -> CHR 0x1000-0x1FFF\nwrote patched.nes\n");
  const std::string patched = test::ReadFile(dir / "patched.nes");
  const std::size_t chr = 16 + 16384;
  ASSERT_EQ(patched.size(), roms[0].size());
  EXPECT_EQ(patched.substr(0, chr + 4096), roms[0].substr(0, chr + 4096));
  EXPECT_EQ(patched.substr(chr + 4096), bank1);
}

}  // namespace
}  // namespace mipofc
