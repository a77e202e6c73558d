// The table commands through mipofc-cli: chars, encode, decode and export's table flags.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "jobs/export.h"
#include "tests/test_util.h"
#include "text/text.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct Result {
  int status;
  std::string out, err;
};

class TableCli : public testing::Test {
 protected:
  // Runs mipofc-cli with the arguments (a shell fragment) in the test's folder.
  Result Run(const std::string& args, const std::string& stdinText = "") {
    const std::string in = dir_ / "stdin", out = dir_ / "stdout", err = dir_ / "stderr";
    std::ofstream(in, std::ios::binary) << stdinText;
    const std::string command = std::string("cd '") + dir_.Path().string() + "' && '" + MIPOFC_CLI + "' " + args +
                                " <'" + in + "' >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::ReadFile(out), test::ReadFile(err)};
  }
  void Write(const std::string& name, const std::string& bytes) { std::ofstream(dir_ / name, std::ios::binary) << bytes; }
  std::string Read(const std::string& name) const { return test::ReadFile(dir_ / name); }
  bool Exists(const std::string& name) const { return fs::exists(dir_ / name); }
  static std::string FontFlags() {
    return std::string(" --font-file '") + MIPOFC_TEST_DATA + "/mipo-test16.bdf' --size 12";
  }
  // The banks ExportBanks writes for text with the start settings and the test font, by name.
  static std::vector<std::pair<std::string, std::string>> Banks(const std::u16string& text) {
    TFont font = test::TestFont();
    const TChrSettings s = test::StartSettings(&font);
    test::TempDir expected;
    std::vector<std::pair<std::string, std::string>> banks;
    ExportBanks(expected / "font.chr", TBankFormat::Chr, s, text, [&](const std::string& name) {
      banks.emplace_back(fs::path(name).filename().string(), test::ReadFile(name));
    });
    return banks;
  }
  // Expects the banks NAME.00.chr, ... in the folder to be those of text, and no more.
  void ExpectBanksOf(const std::string& base, const std::u16string& text) {
    const auto banks = Banks(text);
    for (const auto& [name, bytes] : banks)
      EXPECT_TRUE(Read(base + name.substr(4)) == bytes) << base << name.substr(4) << " differs";
    EXPECT_FALSE(Exists(base + "." + (banks.size() < 16 ? "0" : "") + std::to_string(banks.size()) + ".chr"));
  }
  test::TempDir dir_;
};

const char* const HaveTable = "# the game's font\r\n00=甲\r\n01=……\r\n*02=乙\r\n";

TEST_F(TableCli, CharsInBothOrdersWithBothKindsOfExclude) {
  Write("a.txt", "\xEF\xBB\xBF丙甲乙\r\n丙丁");
  Write("b.txt", Utf16ToGbk(u"丁戊丁").value());
  Result r = Run("chars a.txt b.txt");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "丙甲乙丁戊\n");
  EXPECT_EQ(r.err, "8 characters, 5 distinct\n");

  r = Run("chars a.txt b.txt --order frequency -o -");
  EXPECT_EQ(r.out, "丁丙甲乙戊\n");

  Write("have.TBL", HaveTable);
  Write("have.txt", "戊\n己");
  r = Run("chars a.txt - --exclude have.TBL --exclude have.txt -o out/c.txt", "丁戊丁");
  EXPECT_EQ(r.status, 1) << "the folder out/ does not exist";
  EXPECT_NE(r.err.find("out/c.txt"), std::string::npos) << r.err;
  r = Run("chars a.txt - --exclude have.TBL --exclude have.txt -o c.txt", "丁戊丁");
  ASSERT_EQ(r.status, 0) << r.err;
  // 甲 from the table, 戊 from the text; 乙 is only a newline entry's text.
  EXPECT_EQ(Read("c.txt"), "丙乙丁\n");
  EXPECT_EQ(r.err, "8 characters, 3 distinct, 2 excluded\n");

  r = Run("chars a.txt b.txt --order frequency --counts -q");
  EXPECT_EQ(r.out, "丁\t3\n丙\t2\n甲\t1\n乙\t1\n戊\t1\n");
  EXPECT_EQ(r.err, "");

  // Nothing left: an empty file.
  r = Run("chars have.txt --exclude have.txt -o empty.txt");
  ASSERT_EQ(r.status, 0);
  EXPECT_TRUE(Exists("empty.txt"));
  EXPECT_EQ(Read("empty.txt"), "");
  EXPECT_EQ(r.err, "2 characters, 0 distinct, 2 excluded\n");
}

TEST_F(TableCli, CharsWritesSixteenToALineThatExportReadsBack) {
  std::u16string text;
  for (char16_t c = u'一'; c < u'一' + 40; ++c) text += c;
  Write("in.txt", Utf16ToUtf8(text + text));
  ASSERT_EQ(Run("chars in.txt -o c.txt -q").status, 0);
  const std::string c = Read("c.txt");
  EXPECT_EQ(c, Utf16ToUtf8(text.substr(0, 16) + u"\n" + text.substr(16, 16) + u"\n" + text.substr(32) + u"\n"));
}

TEST_F(TableCli, ExportUniqueIsTheExportOfCharsOutput) {
  std::u16string text;
  for (int i = 0; i < 300; ++i) text += static_cast<char16_t>(u'一' + (i * 7) % 97);
  Write("in.txt", Utf16ToUtf8(text.substr(0, 150)) + "\r\n" + Utf16ToUtf8(text.substr(150)));
  Write("have.tbl", "00=一\r\n01=丁\r\n");
  const std::string options = " --order frequency --exclude have.tbl" + FontFlags();
  ASSERT_EQ(Run("chars in.txt -q -o c.txt --order frequency --exclude have.tbl").status, 0);
  ASSERT_EQ(Run("export c.txt -q -o a.chr" + FontFlags()).status, 0);
  const Result r = Run("export in.txt -o u.chr --unique" + options);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Read("u.00.chr"), Read("a.00.chr"));
  EXPECT_EQ(Read("u.01.chr"), Read("a.01.chr"));

  // Frequency order with ties by first appearance, 一 and 丁 left out.
  std::vector<int> count(97), first(97, -1);
  for (int i = 0; i < 300; ++i) {
    const int k = (i * 7) % 97;
    if (count[k]++ == 0) first[k] = i;
  }
  std::vector<int> order;
  for (int k = 0; k < 97; ++k)
    if (k != 0 && k != 1) order.push_back(k);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return count[a] != count[b] ? count[a] > count[b] : first[a] < first[b]; });
  std::u16string distinct;
  for (int k : order) distinct += static_cast<char16_t>(u'一' + k);
  ExpectBanksOf("u", distinct);
}

TEST_F(TableCli, ExportTableGivesCharacterIItsCodeAcrossBanks) {
  std::u16string text;
  for (int i = 0; i < 70; ++i) text += static_cast<char16_t>(u'丁' + i % 66);  // the first four twice
  Write("in.txt", Utf16ToUtf8(text.substr(0, 30)) + "\n" + Utf16ToUtf8(text.substr(30)));
  Result r = Run("export in.txt -o t.chr --table t.tbl --code-start 0x80F0" + FontFlags());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("t.01.chr\nwrote 2 chr file(s)\nt.tbl\n"), std::string::npos) << r.out;
  ExpectBanksOf("t", text);
  std::string expected;
  for (int i = 0; i < 70; ++i) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", 0x80F0 + i);
    expected += std::string(hex) + "=" + Utf16ToUtf8(text.substr(i, 1)) + "\r\n";
  }
  EXPECT_EQ(Read("t.tbl"), expected);

  // Three bytes a code, "$" in front, UTF-16 and GBK.
  r = Run("export in.txt -o t.chr -q --table t3.tbl --code-start '$FE' --code-bytes 3 --table-encoding utf-16" +
          FontFlags());
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string t3 = Read("t3.tbl");
  EXPECT_TRUE(t3.starts_with("\xFF\xFE" "0\0" "0\0" "0\0" "0\0" "F\0" "E\0" "=\0"s)) << t3.substr(0, 20);
  ASSERT_EQ(Run("export in.txt -o t.chr -q --table g.tbl --table-encoding gbk" + FontFlags()).status, 0);
  EXPECT_EQ(Read("g.tbl").substr(0, 6), "00=" + Utf16ToGbk(u"丁").value() + "\r");

  // The table reads back as the text of the banks.
  ASSERT_EQ(Run("export -o back.chr --from-table t.tbl --code-start 80F0" + FontFlags()).status, 0);
  ExpectBanksOf("back", text);
}

TEST_F(TableCli, CodesThatDoNotFitAreAUsageErrorBeforeAnythingIsWritten) {
  std::u16string text;
  for (int i = 0; i < 300; ++i) text += static_cast<char16_t>(u'一' + i);
  Write("in.txt", Utf16ToUtf8(text));
  const std::pair<std::string, std::string> cases[] = {
      {"--code-bytes 1", "--code-bytes 1: 300 characters from code 00 need codes up to 012B"},
      {"--code-start F0 --code-bytes 1", "300 characters from code F0 need codes up to 021B"},
      {"--code-start FFFF00", "--code-start FFFF00: 300 characters from code FFFF00 need codes up to 0100002B"},
      {"--code-start 1000000", "--code-start: '1000000' is not a code"},
      {"--code-start xyz", "--code-start: 'xyz'"},
      {"--code-bytes 4", "--code-bytes"},
  };
  for (const auto& [flags, message] : cases) {
    const Result r = Run("export in.txt -o a.chr --table a.tbl --save-params p.ini " + flags + FontFlags());
    EXPECT_EQ(r.status, 2) << flags;
    EXPECT_NE(r.err.find(message), std::string::npos) << flags << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_FALSE(Exists("a.00.chr"));
  EXPECT_FALSE(Exists("a.tbl"));
  EXPECT_FALSE(Exists("p.ini"));
  // Two bytes hold them.
  EXPECT_EQ(Run("export in.txt -q -o a.chr --table a.tbl --code-bytes 2" + FontFlags()).status, 0);
  EXPECT_TRUE(Read("a.tbl").starts_with("0000=一\r\n"));
}

TEST_F(TableCli, NoTableWhenABankFails) {
  Write("in.txt", "甲乙");
  const Result r = Run("export in.txt -o missing/a.chr --table a.tbl" + FontFlags());
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(Exists("a.tbl"));
  Write("x.txt", "맑");
  const Result gbk = Run("export x.txt -o b.chr --table b.tbl --table-encoding gbk" + FontFlags());
  EXPECT_EQ(gbk.status, 1);
  EXPECT_NE(gbk.err.find("b.tbl: U+B9D1 (맑) cannot be written in GBK"), std::string::npos) << gbk.err;
  EXPECT_FALSE(Exists("b.00.chr"));
}

TEST_F(TableCli, FromTableDrawsEachCodeInItsCell) {
  Write("game.tbl", "# game\n10=甲\n12=乙\n13=多字\n*20\n/21=丁\n05=戊\n0015=庚\n");
  Result r = Run("export --from-table game.tbl -o g.chr --code-start 10" + FontFlags());
  ASSERT_EQ(r.status, 0) << r.err;
  ExpectBanksOf("g", u"甲 乙  庚");
  ASSERT_EQ(Run("export --from-table game.tbl -o h.chr" + FontFlags()).status, 0);
  ExpectBanksOf("h", u"     戊          甲 乙  庚");
  // The code start from a parameter file.
  ASSERT_EQ(Run("export --from-table game.tbl -o i.chr --code-start 0x12 --save-params p.ini" + FontFlags()).status, 0);
  ASSERT_EQ(Run("export --from-table game.tbl -o j.chr --params p.ini" + FontFlags()).status, 0);
  ExpectBanksOf("j", u"乙  庚");
}

TEST_F(TableCli, TableFlagsThatDoNotGoTogetherAreUsageErrors) {
  Write("in.txt", "甲");
  Write("t.tbl", "00=甲\n");
  const std::pair<std::string, std::string> cases[] = {
      {"export -o a.chr", "give INPUT, or --from-table"},
      {"export in.txt -o a.chr --from-table t.tbl", "give no INPUT with it"},
      {"export -o a.chr --from-table t.tbl --table u.tbl", "--table cannot be used with --from-table"},
      {"export -o a.chr --from-table t.tbl --unique", "--unique cannot be used with --from-table"},
      {"export in.txt -o a.chr --order first", "--order needs --unique"},
      {"export in.txt -o a.chr --exclude t.tbl", "--exclude needs --unique"},
      {"export in.txt -o a.chr --unique --order sideways", "--order"},
      {"export in.txt -o a.chr --table t.tbl --table-encoding latin1", "--table-encoding"},
      {"chars", "INPUT"},
      {"encode in.txt -o a.bin", "--table"},
      {"encode in.txt --table t.tbl", "--output"},
      {"encode in.txt --table t.tbl -o a.bin --unknown 123", "--unknown: '123' is not a code of 2, 4 or 6 hex digits"},
      {"decode in.txt -o a.txt", "--table"},
  };
  for (const auto& [args, message] : cases) {
    const Result r = Run(args);
    EXPECT_EQ(r.status, 2) << args << ": " << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
  }
  EXPECT_FALSE(Exists("a.00.chr"));
  EXPECT_FALSE(Exists("a.bin"));
}

TEST_F(TableCli, ParameterFileCarriesTheCodeStartAndBytes) {
  Write("in.txt", "甲乙");
  ASSERT_EQ(Run("export in.txt -q -o a.chr --code-start 8140 --code-bytes 3 --save-params p.ini" + FontFlags()).status, 0);
  const std::string ini = Read("p.ini");
  EXPECT_NE(ini.find(Utf8ToGbk("[码表]\r\n起始编码=33088\r\n编码字节=3\r\n").value()), std::string::npos) << ini;
  ASSERT_EQ(Run("export in.txt -q -o b.chr --table b.tbl --params p.ini" + FontFlags()).status, 0);
  EXPECT_EQ(Read("b.tbl"), "008140=甲\r\n008141=乙\r\n");
}

TEST_F(TableCli, EncodeWithMergedTablesEscapesAndLineBreaks) {
  Write("game.tbl", "00=A\n01=AB\n*FF\n/FE=<END>\n");
  Write("new.tbl", "8000=甲\n800001=乙\n");
  Write("a.txt", "AB甲<$7f><$Aa>\r\nA<END>\n乙");
  Write("b.txt", "\xEF\xBB\xBF" "A\r");
  Result r = Run("encode a.txt b.txt --table game.tbl --table new.tbl -o s.bin");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "s.bin\n");
  const std::string bytes = "\x01\x80\x00\x7F\xAA\xFF\x00\xFE\xFF\x80\x00\x01\x00\xFF"s;
  EXPECT_EQ(Read("s.bin"), bytes);
  r = Run("encode - --table game.tbl --table new.tbl -o -", "AB甲<$7f><$Aa>\r\nA<END>\n乙A\r");
  EXPECT_EQ(r.out, bytes);

  // A code in both tables.
  Write("clash.tbl", "# x\n\n*FF\n");
  r = Run("encode a.txt --table game.tbl --table clash.tbl -o c.bin");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("clash.tbl:3: code FF is also in game.tbl:3"), std::string::npos) << r.err;
  EXPECT_FALSE(Exists("c.bin"));
}

TEST_F(TableCli, UnknownCharactersWithAndWithoutTheUnknownCode) {
  Write("t.tbl", "41=A\n");
  Write("s.txt", "A甲\nA乙甲");
  Result r = Run("encode s.txt --table t.tbl -o s.bin");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "mipofc-cli: 2 characters match no table entry:\ns.txt:1:2: U+7532 (甲)\ns.txt:2:2: U+4E59 (乙)\n");
  EXPECT_FALSE(Exists("s.bin"));
  r = Run("encode s.txt --table t.tbl -o s.bin --unknown 0xFFFE");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Read("s.bin"), "A\xFF\xFE" "A\xFF\xFE\xFF\xFE");
  EXPECT_NE(r.err.find("3 characters"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("FFFE"), std::string::npos) << r.err;
}

TEST_F(TableCli, DecodeAndRoundTrips) {
  Write("game.tbl", "00=A\n01=AB\n8000=甲\n800001=乙\n/FE=<END>\n");
  Write("s.bin", "\x01\x80\x00\x01\x80\x00\xFE\x7F\x80"s);
  Result r = Run("decode s.bin --table game.tbl -o s.txt");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Read("s.txt"), "AB乙甲<END>\n<$7F><$80>");
  r = Run("decode - --table game.tbl -o -", "\x00\x0a"s);
  EXPECT_EQ(r.out, "A<$0A>");
  // Bytes come back through decode then encode.
  ASSERT_EQ(Run("encode s.txt --table game.tbl -o back.bin").status, 0);
  EXPECT_EQ(Read("back.bin"), Read("s.bin"));

  std::string ascii = "*0A\n";
  for (int c = 0x20; c < 0x7F; ++c)
    if (c != '<') ascii += std::string(1, "0123456789ABCDEF"[c >> 4]) + "0123456789ABCDEF"[c & 15] + "=" + char(c) + "\n";
  Write("ascii.tbl", ascii);
  std::mt19937 random(7);
  for (int run = 0; run < 5; ++run) {
    std::string bytes(500, '\0');
    for (char& b : bytes) b = static_cast<char>(random() % 256);
    Write("r.bin", bytes);
    ASSERT_EQ(Run("decode r.bin --table ascii.tbl -o r.txt").status, 0);
    ASSERT_EQ(Run("encode r.txt --table ascii.tbl -o r2.bin").status, 0);
    ASSERT_EQ(Read("r2.bin"), bytes) << run;
  }
}

TEST_F(TableCli, CharactersOutsideThePlaneAreErrorsWithTheirPlace) {
  Write("in.txt", "甲乙\r\n丙\xF0\x9F\x98\x80丁");
  Write("t.tbl", "00=甲\n");
  Write("bad.tbl", "00=甲\n01=\xF0\xA0\x80\x80\n");
  const std::pair<std::string, std::string> cases[] = {
      {"chars in.txt -o out.txt", "in.txt:2:2: U+1F600"},
      {"encode in.txt --table t.tbl -o out.bin", "in.txt:2:2: U+1F600"},
      {"export in.txt -o out.chr --unique" + FontFlags(), "in.txt:2:2: U+1F600"},
      {"export in.txt -o out.chr --table out.tbl" + FontFlags(), "in.txt:2:2: U+1F600"},
      {"chars t.tbl --exclude in.txt -o out.txt", "in.txt:2:2: U+1F600"},
      {"encode t.tbl --table bad.tbl -o out.bin", "bad.tbl:2:4: U+20000"},
      {"export -o out.chr --from-table bad.tbl" + FontFlags(), "bad.tbl:2:4: U+20000"},
  };
  for (const auto& [args, message] : cases) {
    const Result r = Run(args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
  }
  for (const char* name : {"out.txt", "out.bin", "out.00.chr", "out.tbl"}) EXPECT_FALSE(Exists(name)) << name;
}

TEST_F(TableCli, TableReaderErrorsNameFileAndLine) {
  Write("in.txt", "甲");
  Write("bad.tbl", "00=甲\n\n# ok\n41\n");
  const Result r = Run("encode in.txt --table bad.tbl -o out.bin");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "mipofc-cli: bad.tbl:4: not a table entry (HEX=TEXT, *HEX or /HEX)\n");
  Write("dup.tbl", "00=甲\n01=乙\n00=丙\n");
  EXPECT_NE(Run("chars in.txt --exclude dup.tbl").err.find("dup.tbl:3: code 00 is already on line 1"),
            std::string::npos);
}

}  // namespace
}  // namespace mipofc
