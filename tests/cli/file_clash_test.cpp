// No command writes over another of its outputs or over an input: each clash is a usage error that
// names both options and the file, and leaves the folder exactly as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "tests/cli/cli_runner.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

// Every file of a folder with its bytes and its modification time.
std::map<std::string, std::pair<std::string, std::int64_t>> Snapshot(const test::TempDir& dir) {
  std::map<std::string, std::pair<std::string, std::int64_t>> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
    struct stat st {};
    ::lstat(entry.path().c_str(), &st);
    const std::int64_t mtime = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    files[entry.path().lexically_relative(dir.Path()).string()] = {
        entry.is_regular_file() && !entry.is_symlink() ? test::ReadFile(entry.path()) : std::string(), mtime};
  }
  return files;
}

// A ROM of one 16K PRG bank and one 8K CHR bank.
std::string Rom() {
  std::string rom("NES\x1A\x01\x01", 6);
  rom.resize(16 + 16384 + 8192, '\0');
  return rom;
}

struct TClash {
  const char* args;
  const char* message;
};

TEST(FileClash, EveryCommandRefusesOutputsOverOutputsAndInputs) {
  const TClash clashes[] = {
      // export: the bank files, the table, the ROM outputs, the parameter file and the map.
      {"export a.txt -o a.tbl --concat --table a.tbl",
       "--table a.tbl and -o a.tbl are the same file: give each output a name of its own"},
      {"export a.txt -o x.chr --table x.00.chr",
       "--table x.00.chr and -o x.00.chr are the same file: give each output a name of its own"},
      {"export a.txt -o z.chr --rom rom.nes --chr-at 0 --rom-out z.00.chr",
       "--rom-out z.00.chr and -o z.00.chr are the same file: give each output a name of its own"},
      {"export a.txt -o y.chr --save-params y.00.chr",
       "--save-params y.00.chr and -o y.00.chr are the same file: give each output a name of its own"},
      {"export a.txt -o p.chr --rom rom.nes --chr-at 0 --ips p.ips --bps p.ips",
       "--ips p.ips and --bps p.ips are the same file: give each output a name of its own"},
      {"export a.txt -o g.csv --layout glyphs --map g.csv",
       "--map g.csv and -o g.csv are the same file: give each output a name of its own"},
      {"export a.txt -o f.bdf --table f.bdf", "--table f.bdf and -o f.bdf are the same file: give each output a name of its own"},
      {"export a.txt --unique --exclude game.tbl --table game.tbl -o n.chr",
       "--table game.tbl is the file --exclude game.tbl reads: an output may not replace an input"},
      {"export a.txt -o a.txt --concat", "-o a.txt is the file INPUT a.txt reads: an output may not replace an input"},
      {"export a.txt -o q.chr --rom rom.nes --chr-at 0 --ips rom.nes",
       "--ips rom.nes is the file --rom rom.nes reads: an output may not replace an input"},
      {"export a.txt -o q.chr --params opts.ini --save-params opts.ini",
       "--save-params opts.ini is the file --params opts.ini reads: an output may not replace an input"},
      {"export a.txt -o font.bdf --font-file font.bdf",
       "-o font.bdf is the file --font-file font.bdf reads: an output may not replace an input"},
      {"export --from-table game.tbl -o game.tbl --concat",
       "-o game.tbl is the file --from-table game.tbl reads: an output may not replace an input"},
      {"export a.txt --scenes line -o s.chr --encode a.txt",
       "--encode a.txt is the file INPUT a.txt reads: an output may not replace an input"},
      // preview, patch, chars, encode and decode.
      {"preview a.txt -o a.txt", "-o a.txt is the file INPUT a.txt reads: an output may not replace an input"},
      {"preview a.txt -o s.png --save-params s.png",
       "-o s.png and --save-params s.png are the same file: give each output a name of its own"},
      {"patch rom.nes bank.chr --chr-at 0 -o bank.chr",
       "-o bank.chr is the file BANKFILE bank.chr reads: an output may not replace an input"},
      {"patch rom.nes bank.chr --chr-at 0 --ips rom.nes",
       "--ips rom.nes is the file ROM rom.nes reads: an output may not replace an input"},
      {"patch rom.nes bank.chr --chr-at 0 -o out.nes --bps out.nes",
       "-o out.nes and --bps out.nes are the same file: give each output a name of its own"},
      {"chars a.txt -o a.txt", "-o a.txt is the file INPUT a.txt reads: an output may not replace an input"},
      {"chars a.txt -o ./sub/../link.txt",
       "-o ./sub/../link.txt is the file INPUT a.txt reads: an output may not replace an input"},
      {"chars a.txt --exclude game.tbl -o game.tbl",
       "-o game.tbl is the file --exclude game.tbl reads: an output may not replace an input"},
      {"chars - -", "INPUT and INPUT both read standard input: name it once"},
      {"encode a.txt --table game.tbl -o game.tbl",
       "-o game.tbl is the file --table game.tbl reads: an output may not replace an input"},
      {"encode a.txt --table game.tbl -o a.txt", "-o a.txt is the file INPUT a.txt reads: an output may not replace an input"},
      {"decode s.bin --table game.tbl -o s.bin", "-o s.bin is the file INPUT s.bin reads: an output may not replace an input"},
      {"decode - --table - -o t.txt", "INPUT and --table both read standard input: name it once"},
  };
  for (const TClash& c : clashes) {
    test::TempDir dir;
    test::WriteIn(dir, "a.txt", "你好");
    test::WriteIn(dir, "game.tbl", "8000=你\n");
    test::WriteIn(dir, "rom.nes", Rom());
    test::WriteIn(dir, "bank.chr", std::string(1024, '\x55'));
    test::WriteIn(dir, "s.bin", "\x80\x00");
    test::WriteIn(dir, "opts.ini", "[字模尺寸]\nDEF=3\n");
    test::WriteIn(dir, "font.bdf", test::ReadFile(MIPOFC_TEST_DATA "/mipo-test16.bdf"));
    fs::create_directory(dir / "sub");
    fs::create_symlink("a.txt", dir / "link.txt");
    const auto before = Snapshot(dir);
    const test::TRun r = test::RunCli(dir, c.args);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_EQ(r.err, std::string("mipofc-cli: ") + c.message + "\n") << c.args;
    EXPECT_EQ(Snapshot(dir), before) << c.args;
  }
}

// The two files replaced in place on purpose: the ROM a patch or an export writes into.
TEST(FileClash, TheRomMayBeReplacedInPlace) {
  for (const std::string& args : {std::string("patch rom.nes bank.chr --chr-at 0 -o rom.nes"),
                                 "export a.txt -o w.chr -q --rom rom.nes --chr-at 0 --rom-out ./rom.nes" +
                                     test::TestFontFlags()}) {
    test::TempDir dir;
    test::WriteIn(dir, "a.txt", "你好");
    test::WriteIn(dir, "rom.nes", Rom());
    test::WriteIn(dir, "bank.chr", std::string(1024, '\x55'));
    const test::TRun r = test::RunCli(dir, args);
    EXPECT_EQ(r.status, 0) << args << r.err;
    EXPECT_NE(test::ReadFile(dir / "rom.nes"), Rom()) << args;
  }
}

}  // namespace
}  // namespace mipofc
