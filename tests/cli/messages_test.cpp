// Each failure names the file and why, with the exit status of its kind: 1 for a file that
// cannot be read or written, 2 for a command line no user means.
#include <gtest/gtest.h>

#include "tests/cli/cli_runner.h"

namespace mipofc {
namespace {

struct TMessage {
  const char* args;
  int status;
  const char* message;
};

TEST(CliMessages, EachFailureSaysWhichFileAndWhy) {
  const std::string gbkFont = "[\xD7\xD6\xCC\xE5\xCA\xF4\xD0\xD4]\n";  // [字体属性] in GBK
  const TMessage cases[] = {
      {"export a.txt -o a.chr --params missing.ini", 1, "missing.ini: No such file or directory"},
      {"export a.txt -o a.chr --params empty.ini", 1,
       "empty.ini: not a parameter file: none of its sections is one a parameter file has"},
      {"export a.txt -o a.chr --params a.txt", 1,
       "a.txt: not a parameter file: none of its sections is one a parameter file has"},
      {"export a.txt -o a.chr --params uri.ini", 1,
       "uri.ini: FontFile=file:///%ZZ%00%2 is a file: URI that does not decode to a path: its escape \"%ZZ\" is "
       "not % and two hex digits"},
      {"export a.txt -o a.chr --params nul.ini", 1,
       "nul.ini: FontFile=file:///a%00b is a file: URI that does not decode to a path: it decodes to a NUL byte, "
       "which no path holds"},
      {"export a.txt -o a.chr --params nofont.ini", 1, "/no/such.ttf: No such file or directory"},
      {"export a.txt -o a.chr --font-file /no/such.ttf", 1, "/no/such.ttf: No such file or directory"},
      {"export a.txt -o a.chr --font ''", 2, "--font: the family name is empty; give one such as 宋体, or --font-file"},
      {"export a.txt -o a.chr --save-params nowhere/x.ini", 1, "nowhere/x.ini: its folder nowhere/ does not exist"},
      {"export a.txt -o a.chr --save-params a.txt/x.ini", 1, "a.txt/x.ini: a.txt/ is not a folder"},
      {"export a.txt -o a.chr >&-", 1, "standard output: cannot be written"},
      {"export a.txt -o a.chr >/dev/full", 1, "standard output: cannot be written"},
      {"patch rom.nes bank.chr --chr-at 0 -o b.nes >/dev/full", 1, "standard output: cannot be written"},
      {"encode a.txt --table binary.tbl -o a.bin", 1,
       "binary.tbl: not text: neither UTF-8 nor GBK (code page 936) reads line 2"},
      {"encode a.txt --table utf16.tbl -o a.bin", 1,
       "utf16.tbl: not text: line 1 holds the control character U+0000, which no text has (read as UTF-8; UTF-16 "
       "needs a byte-order mark)"},
      {"encode a.txt --table odd.tbl -o a.bin", 1,
       "odd.tbl: not text: UTF-16LE (its byte-order mark says so) takes an even number of bytes; it has 5"},
  };
  for (const TMessage& c : cases) {
    test::TempDir dir;
    test::WriteIn(dir, "a.txt", "你好");
    test::WriteIn(dir, "empty.ini", "");
    test::WriteIn(dir, "uri.ini", gbkFont + "FontFile=file:///%ZZ%00%2\n");
    test::WriteIn(dir, "nul.ini", gbkFont + "FontFile=file:///a%00b\n");
    test::WriteIn(dir, "nofont.ini", gbkFont + "FontFile=/no/such.ttf\n");
    test::WriteIn(dir, "binary.tbl", "8000=a\n\xFF\xFF\xFF\n");
    test::WriteIn(dir, "utf16.tbl", std::string("8\0000\0000\0000\0=\0a\0", 12));
    test::WriteIn(dir, "odd.tbl", std::string("\xFF\xFE" "8\0000", 5));
    test::WriteIn(dir, "bank.chr", std::string(1024, '\0'));
    std::string rom("NES\x1A\x01\x01", 6);
    rom.resize(16 + 16384 + 8192, '\0');
    test::WriteIn(dir, "rom.nes", rom);
    // Exports draw with the test font, unless the row is about the font or the parameter file's font.
    const std::string args = c.args;
    const bool ownFont = args.find("--font") != std::string::npos || args.find("--params") != std::string::npos;
    // In a subshell, so that a row's own redirection of standard output holds.
    const test::TRun r = test::RunIn(dir, std::string("('") + MIPOFC_CLI + "' " + args +
                                              (args.starts_with("export") && !ownFont ? test::TestFontFlags() : "") + ")");
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    EXPECT_EQ(r.err, std::string("mipofc-cli: ") + c.message + "\n") << c.args;
  }
}

}  // namespace
}  // namespace mipofc
