#include <gtest/gtest.h>

#include <filesystem>

#include "rom/bps.h"
#include "rom/ips.h"
#include "tests/cli/cli_runner.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t KB = 1024;

// An iNES image with prg x 16 KB and chr x 8 KB; body bytes follow their offset, so any moved or
// changed byte shows.
std::string Rom(int prg, int chr, std::uint8_t flags6 = 0) {
  std::string image = std::string("NES\x1A", 4) + static_cast<char>(prg) + static_cast<char>(chr) +
                      static_cast<char>(flags6) + std::string(9, '\0');
  const std::size_t body = prg * 16 * KB + chr * 8 * KB + ((flags6 & 4) ? 512 : 0);
  for (std::size_t i = 0; i < body; ++i) image += static_cast<char>((i * 13 + 5) & 0xFF);
  return image;
}

class PatchCliTest : public testing::Test {
 protected:
  void SetUp() override {
    rom_ = Rom(1, 2);
    test::WriteIn(dir_, "game.nes", rom_);
    test::WriteIn(dir_, "a.chr", std::string(4 * KB, '\xA1'));
    test::WriteIn(dir_, "b.chr", std::string(4 * KB, '\xB2'));
  }
  std::string Read(const std::string& name) const { return test::ReadFile(dir_ / name); }
  // The ROM with bytes put at offset.
  std::string RomWith(std::size_t offset, const std::string& bytes) const {
    std::string image = rom_;
    image.replace(offset, bytes.size(), bytes);
    return image;
  }
  static constexpr std::size_t Chr = 16 + 16 * KB;
  std::string rom_;
  test::TempDir dir_;
};

TEST_F(PatchCliTest, BanksGoFromTheChrKilobyteAndTheOutputSaysWhere) {
  const test::TRun r = test::RunCli(dir_, "patch game.nes a.chr b.chr --chr-at 4 -o out.nes");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "a.chr -> CHR 0x1000-0x1FFF\nb.chr -> CHR 0x2000-0x2FFF\nwrote out.nes\n");
  EXPECT_EQ(Read("out.nes"), RomWith(Chr + 4 * KB, Read("a.chr") + Read("b.chr")));
  EXPECT_EQ(Read("game.nes"), rom_);
  EXPECT_EQ(test::RunCli(dir_, "patch game.nes a.chr --chr-at 0 -o q.nes -q").out, "");
  EXPECT_EQ(Read("q.nes"), RomWith(Chr, Read("a.chr")));
}

TEST_F(PatchCliTest, FileOffsetsInHexOrDecimal) {
  for (const char* offset : {"'$4010'", "0x4010", "0X4010", "16400"}) {
    const test::TRun r = test::RunCli(dir_, std::string("patch game.nes a.chr --at ") + offset + " -o out.nes");
    ASSERT_EQ(r.status, 0) << offset << ": " << r.err;
    EXPECT_EQ(r.out, "a.chr -> file 0x4010-0x500F\nwrote out.nes\n") << offset;
    EXPECT_EQ(Read("out.nes"), RomWith(0x4010, Read("a.chr"))) << offset;
  }
}

TEST_F(PatchCliTest, TheRomItselfIsReplacedWhole) {
  ASSERT_EQ(test::RunCli(dir_, "patch game.nes b.chr --chr-at 12 -o game.nes").status, 0);
  EXPECT_EQ(Read("game.nes"), RomWith(Chr + 12 * KB, Read("b.chr")));
  for (const auto& entry : fs::directory_iterator(dir_.Path()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(PatchCliTest, ErrorsExitOneNameTheFileAndWriteNothing) {
  test::WriteIn(dir_, "text.nes", "not a rom at all, just text");
  test::WriteIn(dir_, "short.nes", Rom(1, 2).substr(0, 16 + 16 * KB + 8 * KB));
  test::WriteIn(dir_, "ram.nes", Rom(2, 0));
  test::WriteIn(dir_, "odd.chr", std::string(4 * KB + 8, '\x01'));
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"patch text.nes a.chr --chr-at 0 -o out.nes", "text.nes", "not an iNES ROM"},
      {"patch short.nes a.chr --chr-at 0 -o out.nes", "short.nes", "shorter than its header says"},
      {"patch ram.nes a.chr --chr-at 0 -o out.nes", "ram.nes", "CHR-RAM"},
      {"patch ram.nes a.chr --chr-at 0 -o out.nes", "ram.nes", "--at"},
      {"patch game.nes a.chr b.chr --chr-at 12 -o out.nes", "game.nes", "run 4096 bytes past the CHR-ROM"},
      {"patch game.nes a.chr b.chr b.chr b.chr b.chr --chr-at 0 -o out.nes", "game.nes", "run 4096 bytes past"},
      {"patch game.nes a.chr --at 0x7020 -o out.nes", "game.nes", "run 16 bytes past the end of the file"},
      {"patch game.nes a.chr odd.chr --chr-at 0 -o out.nes", "odd.chr", "not a whole number of 16-byte tiles"},
      {"patch game.nes a.chr nowhere.chr --chr-at 0 -o out.nes", "nowhere.chr", "No such file"},
      {"patch missing.nes a.chr --chr-at 0 -o out.nes", "missing.nes", "No such file"},
      {"patch game.nes a.chr b.chr b.chr b.chr b.chr --chr-at 0 -o game.nes", "game.nes", "past the CHR-ROM"},
  };
  for (const auto& [args, file, message] : cases) {
    const test::TRun r = test::RunCli(dir_, args);
    EXPECT_EQ(r.status, 1) << args << ": " << r.err;
    EXPECT_NE(r.err.find(file + ": "), std::string::npos) << args << ": " << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
    EXPECT_EQ(r.out, "") << args;
  }
  EXPECT_FALSE(fs::exists(dir_ / "out.nes"));
  EXPECT_EQ(Read("game.nes"), rom_);
  // CHR-RAM games take their tiles anywhere --at says.
  EXPECT_EQ(test::RunCli(dir_, "patch ram.nes a.chr --at 0x10 -o out.nes").status, 0);
}

TEST_F(PatchCliTest, UsageErrorsExitTwo) {
  const std::pair<std::string, std::string> cases[] = {
      {"patch game.nes a.chr -o out.nes", "exactly one of --chr-at KB and --at OFFSET"},
      {"patch game.nes a.chr --chr-at 0 --at 16 -o out.nes", "exactly one of --chr-at KB and --at OFFSET"},
      {"patch game.nes a.chr --at 0xG0 -o out.nes", "--at"},
      {"patch game.nes a.chr --at '$' -o out.nes", "--at"},
      {"patch game.nes a.chr --at -16 -o out.nes", "--at"},
      {"patch game.nes a.chr --at 99999999999999999999999 -o out.nes", "--at"},
      {"patch game.nes a.chr --chr-at -4 -o out.nes", "--chr-at"},
      {"patch game.nes --chr-at 0 -o out.nes", "BANKFILE"},
      {"patch game.nes a.chr --chr-at 0", "give at least one of -o OUT, --ips FILE and --bps FILE"},
  };
  for (const auto& [args, message] : cases) {
    const test::TRun r = test::RunCli(dir_, args);
    EXPECT_EQ(r.status, 2) << args << ": " << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
  }
  EXPECT_FALSE(fs::exists(dir_ / "out.nes"));
}

TEST_F(PatchCliTest, PatchFilesWithOrWithoutThePatchedRom) {
  const std::string patched = RomWith(Chr + 4 * KB, Read("a.chr"));
  test::TRun r = test::RunCli(dir_, "patch game.nes a.chr --chr-at 4 --ips p.ips --bps p.bps");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string ips = IpsPatch(rom_, patched, "p.ips"), bps = BpsPatch(rom_, patched);
  EXPECT_EQ(r.out, "a.chr -> CHR 0x1000-0x1FFF\nwrote p.ips (IPS patch, " + std::to_string(ips.size()) +
                       " bytes)\nwrote p.bps (BPS patch, " + std::to_string(bps.size()) + " bytes)\n");
  EXPECT_EQ(Read("p.ips"), ips);
  EXPECT_EQ(Read("p.bps"), bps);
  EXPECT_FALSE(fs::exists(dir_ / "out.nes"));
  ASSERT_EQ(test::RunCli(dir_, "patch game.nes a.chr --at 0x5010 -o out.nes --ips q.ips -q").status, 0);
  EXPECT_EQ(Read("q.ips"), IpsPatch(rom_, Read("out.nes"), "q.ips"));
}

class ExportRomCliTest : public PatchCliTest {
 protected:
  void SetUp() override {
    PatchCliTest::SetUp();
    std::string text;
    for (int i = 0; i < 70; ++i) text += i % 2 ? "字" : "模";  // two 4K banks at 16x16
    test::WriteIn(dir_, "in.txt", text);
  }
  test::TRun Cli(const std::string& args) { return test::RunCli(dir_, args + test::TestFontFlags()); }
};

TEST_F(ExportRomCliTest, ExportWritesTheBanksIntoACopyOfTheRom) {
  const test::TRun r = Cli("export in.txt -o font.chr --rom game.nes --chr-at 8 --rom-out out.nes");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("font.00.chr -> CHR 0x2000-0x2FFF\nfont.01.chr -> CHR 0x3000-0x3FFF\nwrote out.nes\n"),
            std::string::npos)
      << r.out;
  const std::string banks = Read("font.00.chr") + Read("font.01.chr");
  ASSERT_EQ(banks.size(), 8 * KB);
  EXPECT_EQ(Read("out.nes"), RomWith(Chr + 8 * KB, banks));
  // The same in one piece, and from a text format: the ROM takes the raw bank bytes.
  ASSERT_EQ(Cli("export in.txt -o whole.bin --concat --rom game.nes --chr-at 0 --rom-out one.nes -q").status, 0);
  EXPECT_EQ(Read("one.nes"), RomWith(Chr, banks));
  ASSERT_EQ(Cli("export in.txt -o font.s --rom game.nes --chr-at 0 --rom-out s.nes -q").status, 0);
  EXPECT_EQ(Read("s.nes"), RomWith(Chr, banks));
  // And exactly what patch writes.
  ASSERT_EQ(test::RunCli(dir_, "patch game.nes font.00.chr font.01.chr --chr-at 8 -o patched.nes -q").status, 0);
  EXPECT_EQ(Read("patched.nes"), Read("out.nes"));
}

TEST_F(ExportRomCliTest, ExportWritesPatchesBesideOrInsteadOfTheRom) {
  ASSERT_EQ(Cli("export in.txt -o font.chr --rom game.nes --chr-at 8 --rom-out out.nes --ips p.ips -q").status, 0);
  EXPECT_EQ(Read("p.ips"), IpsPatch(rom_, Read("out.nes"), "p.ips"));
  ASSERT_EQ(Cli("export in.txt -o font.chr --rom game.nes --chr-at 8 --bps p.bps -q").status, 0);
  EXPECT_EQ(Read("p.bps"), BpsPatch(rom_, Read("out.nes")));

  // A NES 2.0 ROM with 16 MiB of CHR-ROM cannot be an IPS patch: not even a bank file is written.
  test::WriteIn(dir_, "big.nes", std::string("NES\x1A\x01\x00\x00\x08\x00\x80", 10) + std::string(6, '\0') +
                                     std::string(16 * KB + 16 * KB * KB, '\0'));
  const test::TRun r = Cli("export in.txt -o big.chr --rom big.nes --chr-at 0 --ips big.ips");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("big.ips: an IPS patch reaches only the first 16 MiB"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "big.00.chr"));
  EXPECT_FALSE(fs::exists(dir_ / "big.ips"));
}

TEST_F(ExportRomCliTest, ARomThatCannotTakeTheBanksStopsTheExportBeforeAnyFile) {
  test::TRun r = Cli("export in.txt -o font.chr --rom game.nes --chr-at 12 --rom-out out.nes");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("game.nes: the banks run 4096 bytes past the CHR-ROM"), std::string::npos) << r.err;
  r = Cli("export in.txt -o font.chr --rom in.txt --chr-at 0 --rom-out out.nes");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("in.txt: not an iNES ROM"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "font.00.chr"));
  EXPECT_FALSE(fs::exists(dir_ / "out.nes"));

  const std::string partial[] = {"--rom game.nes", "--chr-at 0 --rom-out out.nes", "--rom game.nes --rom-out o.nes"};
  for (const std::string& flags : partial) {
    r = Cli("export in.txt -o font.chr " + flags);
    EXPECT_EQ(r.status, 2) << flags;
    EXPECT_NE(r.err.find("--rom and --chr-at go together, with at least one of --rom-out, --ips and --bps"),
              std::string::npos)
        << r.err;
  }
  EXPECT_FALSE(fs::exists(dir_ / "font.00.chr"));
}

TEST_F(PatchCliTest, ABankFileNamedAsCa65SourceIsRefused) {
  test::WriteIn(dir_, "font.00.s", "    .byte $00\n");
  const test::TRun r = test::RunCli(dir_, "patch game.nes a.chr font.00.s --chr-at 0 -o out.nes");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "mipofc-cli: font.00.s is ca65 source, not raw tiles: export with --format chr\n");
  EXPECT_FALSE(fs::exists(dir_ / "out.nes"));
}

}  // namespace
}  // namespace mipofc
