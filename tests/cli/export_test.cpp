#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "jobs/export.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status;
  std::string out, err;
};

class CliTest : public testing::Test {
 protected:
  // Runs mipofc-cli with the arguments (a shell fragment) and collects its output.
  Result Run(const std::string& args, const std::string& stdinText = "") {
    const std::string in = dir_ / "stdin", out = dir_ / "stdout", err = dir_ / "stderr";
    std::ofstream(in, std::ios::binary) << stdinText;
    // Under the sanitizers, LeakSanitizer's note on the suppressions it used would end up in err.
    const std::string command = std::string("cd '") + dir_.Path().string() +
                                "' && LSAN_OPTIONS=\"$LSAN_OPTIONS:print_suppressions=0\" '" + MIPOFC_CLI + "' " + args +
                                " <'" + in + "' >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::ReadFile(out), test::ReadFile(err)};
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return dir_ / name;
  }
  static std::string FontFlags() {
    return std::string(" --font-file '") + MIPOFC_TEST_DATA + "/mipo-test16.bdf' --size 12";
  }
  test::TempDir dir_;
};

TEST_F(CliTest, ExportWritesTheSameBanksAsTheEngine) {
  const std::string text = "你们大家好。789A\n你们大家好。789B\r\n";
  Write("in.txt", "\xEF\xBB\xBF" + text);
  const Result r = Run("export in.txt -o out/font.chr" + FontFlags(), "");
  ASSERT_EQ(r.status, 1) << "the folder out/ does not exist yet: " << r.err;
  EXPECT_NE(r.err.find("out/font.00.chr"), std::string::npos) << r.err;
  fs::create_directory(dir_ / "out");
  const Result ok = Run("export in.txt -o out/font.chr" + FontFlags());
  ASSERT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(ok.out.find("out/font.00.chr"), std::string::npos);

  TFont font = test::TestFont();
  const TChrSettings s = test::StartSettings(&font);
  test::TempDir expected;
  ExportBanks(expected / "font.chr", TBankFormat::Chr, s, u"你们大家好。789A你们大家好。789B");
  EXPECT_EQ(test::ReadFile(dir_ / "out/font.00.chr"), test::ReadFile(expected / "font.00.chr"));
  EXPECT_FALSE(fs::exists(dir_ / "out/font.01.chr"));
}

TEST_F(CliTest, OptionsReachTheBanks) {
  Write("in.txt", "中文字模工具测试一二三四五六七八九十ABC");
  const std::string flags = FontFlags() + " --cell 32x16 --mode 4 --distribution continuous --scan v --limit 1K "
                                          "--narrow-wide 2 --offset -1,3 --m 5 --bold";
  ASSERT_EQ(Run("export in.txt -o x.inc" + flags).status, 0);
  TFont font = test::TestFont();
  font.Bold = true;
  TChrSettings s = test::StartSettings(&font);
  s.CellWidth = 32;
  s.CellHeight = 16;
  s.EncodeMode = 4;
  s.Distribution = 0;
  s.ScanHorizontal = false;
  s.Limit = 1024;
  s.NarrowWide = 2;
  s.OffsetX = -1;
  s.OffsetY = 3;
  s.M = 5;
  test::TempDir expected;
  EXPECT_EQ(ExportBanks(expected / "x.inc", TBankFormat::Inc, s, u"中文字模工具测试一二三四五六七八九十ABC"), 2);
  for (const char* name : {"x.00.inc", "x.01.inc"})
    EXPECT_EQ(test::ReadFile(dir_ / name), test::ReadFile(expected / name)) << name;
  // Standard input and an explicit format.
  ASSERT_EQ(Run("export - -o y.bin --format inc -q" + flags, "中文字模工具测试一二三四五六七八九十ABC").status, 0);
  EXPECT_EQ(test::ReadFile(dir_ / "y.00.inc"), test::ReadFile(expected / "x.00.inc"));
}

TEST_F(CliTest, UsageErrorsExitTwoWithTheRule) {
  Write("in.txt", "你");
  const std::pair<std::string, std::string> cases[] = {
      {"export in.txt -o a.chr --cell 9x9", "--cell"},
      {"export in.txt -o a.chr --cell 16x8 --mode 3", "16x8 cells offer encoding modes 0, 1, 2, 4"},
      {"export in.txt -o a.chr --cell 8x16 --scan h", "8x16 cells scan column by column"},
      {"export in.txt -o a.chr --mode 3 --bg 2", "background 0"},
      {"export in.txt -o a.chr --mode 4 --glyph 3", "glyph 1"},
      {"export in.txt -o a.chr --cell 8x8 --distribution block", "only continuous"},
      {"export in.txt -o a.chr --size 40", "--size"},
      {"export in.txt", "--output"},
      {"export in.txt -o a.chr --offset 1", "--offset"},
      {"preview in.txt -o a.png --palette 000000,FFFFFF", "--palette"},
      {"frobnicate", ""},
  };
  for (const auto& [args, message] : cases) {
    const Result r = Run(args);
    EXPECT_EQ(r.status, 2) << args << ": " << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
  }
  EXPECT_FALSE(fs::exists(dir_ / "a.00.chr"));
}

TEST_F(CliTest, ForcedValuesAreTakenWithoutTheirFlags) {
  Write("in.txt", "中文字模工具测试");
  // 8x16 forces column order; mode 3 forces colours 0 and 1.
  ASSERT_EQ(Run("export in.txt -o a.chr --cell 8x16 --mode 3 --bg 0" + FontFlags()).status, 0);
  TFont font = test::TestFont();
  TChrSettings s = test::StartSettings(&font);
  s.CellWidth = 8;
  s.ScanHorizontal = false;
  s.EncodeMode = 3;
  test::TempDir expected;
  ExportBanks(expected / "a.chr", TBankFormat::Chr, s, u"中文字模工具测试");
  EXPECT_EQ(test::ReadFile(dir_ / "a.00.chr"), test::ReadFile(expected / "a.00.chr"));
}

TEST_F(CliTest, FileAndFontFailuresExitOneNamingTheFile) {
  Result r = Run("export missing.txt -o a.chr");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("missing.txt"), std::string::npos) << r.err;
  Write("in.txt", "你");
  r = Run("export in.txt -o a.chr --font-file nofont.bdf");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("nofont.bdf"), std::string::npos) << r.err;
  Write("binary.txt", std::string("\x00\x01\x02\xFF\xFE\x00\x10", 7));
  r = Run("export binary.txt -o a.chr");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("binary.txt: not text:"), std::string::npos) << r.err;
}

// Reads an RGB PNG into rows of 0x00BBGGRR colours.
std::vector<std::vector<std::uint32_t>> ReadPng(const std::string& path) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  std::vector<std::vector<std::uint32_t>> rows;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return rows;
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> buffer(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) return rows;
  for (png_uint_32 y = 0; y < image.height; ++y) {
    rows.emplace_back();
    for (png_uint_32 x = 0; x < image.width; ++x) {
      const png_byte* p = &buffer[(y * image.width + x) * 3];
      rows.back().push_back(p[0] | (p[1] << 8) | (p[2] << 16));
    }
  }
  return rows;
}

TEST_F(CliTest, PreviewPngHoldsBothPreviewsInThePaletteColours) {
  Write("in.txt", "你们大家好");
  const Result r = Run("preview in.txt -o p.png --scale 2 --grid --grid-colour 102030 "
                       "--palette 010203,F0F0F0,800000,008080" + FontFlags());
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = ReadPng(dir_ / "p.png");
  ASSERT_EQ(rows.size(), 256u);
  ASSERT_EQ(rows[0].size(), 2u * (128 + 8 + 128));
  const std::uint32_t grid = 0x302010, bg = 0x030201, blank = 0x000080;
  EXPECT_EQ(rows[0][0], bg);
  EXPECT_EQ(rows[0][2 * 15], grid);  // the grid line right of the first cell
  EXPECT_EQ(rows[0][2 * 130], grid);  // the gap between the previews
  EXPECT_EQ(rows[255][2 * 136 + 2 * 100], grid);
  EXPECT_EQ(rows[2 * 100][2 * 136 + 2 * 100], blank);  // an unfilled slot
  for (const auto& row : rows)
    for (std::uint32_t c : row) ASSERT_TRUE(c == grid || c == bg || c == 0xF0F0F0 || c == blank) << std::hex << c;
}

}  // namespace
}  // namespace mipofc

namespace mipofc {
namespace {

TEST_F(CliTest, ParameterFilesCarryTheOptionsBothWays) {
  Write("in.txt", "中文字模工具测试一二三四五六七八九十");
  const std::string flags = " --cell 16x8 --mode 4 --narrow-wide -3 --offset 2,-1 --limit 2K --distribution continuous";
  ASSERT_EQ(Run("export in.txt -o a.chr --save-params opts.ini" + flags).status, 0);
  // The file holds list positions: "16*8(扁)" offers mode 4 as its fourth item.
  const std::string ini = test::ReadFile(dir_ / "opts.ini");
  EXPECT_NE(ini.find("DEF=2"), std::string::npos) << ini;
  EXPECT_NE(ini.find("DEF=3"), std::string::npos) << ini;
  ASSERT_EQ(Run("export in.txt -o b.chr --params opts.ini").status, 0);
  EXPECT_EQ(test::ReadFile(dir_ / "b.00.chr"), test::ReadFile(dir_ / "a.00.chr"));
  EXPECT_EQ(test::ReadFile(dir_ / "b.00.chr").size(), 2048u);
  // Flags apply on top of the file.
  ASSERT_EQ(Run("export in.txt -o c.chr --params opts.ini --limit 1K").status, 0);
  EXPECT_EQ(test::ReadFile(dir_ / "c.00.chr").size(), 1024u);
}

}  // namespace
}  // namespace mipofc
