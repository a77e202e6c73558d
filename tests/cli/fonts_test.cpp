// mipofc-cli names the font it draws with when the family asked for is not installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/cli/cli_runner.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

// What fontconfig's own tool says a family comes to, at the CLI's default em of 13 pixels.
std::string FcMatchFamily(const std::string& family) {
  const std::string command = "fc-match -f '%{family[0]}' '" + family + ":pixelsize=13'";
  std::string answer;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) answer += buf;
    ::pclose(p);
  }
  return answer;
}

class CliFontTest : public testing::Test {
 protected:
  void SetUp() override { std::ofstream(dir_ / "in.txt") << "你们大家好ABC"; }
  test::TRun Run(const std::string& args) { return test::RunProgram(dir_, MIPOFC_CLI, args); }
  test::TempDir dir_;
};

TEST_F(CliFontTest, AFamilyThatIsNotInstalledIsNamedWithTheFaceDrawnWith) {
  const std::string used = FcMatchFamily("NoSuchFamily");
  ASSERT_FALSE(used.empty()) << "fc-match gave nothing";
  const std::string warning = "NoSuchFamily is not installed: drawing with " + used + "\n";
  for (const char* command : {"export in.txt -o a.chr", "preview in.txt -o a.png"}) {
    const test::TRun r = Run(std::string(command) + " -q --font NoSuchFamily");
    EXPECT_EQ(r.status, 0) << command << ": " << r.err;
    EXPECT_EQ(r.err, warning) << command;
    EXPECT_EQ(r.out, "") << command;
  }
  EXPECT_TRUE(fs::is_regular_file(dir_ / "a.00.chr"));
  EXPECT_TRUE(fs::is_regular_file(dir_ / "a.png"));
  // The family may come from a parameter file as well.
  ASSERT_EQ(Run("export in.txt -o b.chr -q --font NoSuchFamily --save-params nosuch.ini").status, 0);
  const test::TRun fromFile = Run("export in.txt -o b.chr -q --params nosuch.ini");
  EXPECT_EQ(fromFile.status, 0);
  EXPECT_EQ(fromFile.err.find("NoSuchFamily is not installed: drawing with "), 0u) << fromFile.err;
}

TEST_F(CliFontTest, StrictFontMakesItAnErrorAndWritesNothing) {
  for (const char* command : {"export in.txt -o a.chr", "preview in.txt -o a.png"}) {
    const test::TRun r = Run(std::string(command) + " --font NoSuchFamily --strict-font --save-params p.ini");
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_EQ(r.err.rfind("mipofc-cli: NoSuchFamily is not installed", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_FALSE(fs::exists(dir_ / "a.00.chr"));
  EXPECT_FALSE(fs::exists(dir_ / "a.png"));
  EXPECT_FALSE(fs::exists(dir_ / "p.ini"));
}

TEST_F(CliFontTest, InstalledAndMappedFamiliesAndFontFilesDrawWithoutAWord) {
  const std::string cases[] = {
      "",  // the default, 宋体
      " --font 宋体",
      " --font SimSun",
      " --font 新宋体",
      " --font NSimSun",
      " --font 黑体",
      " --font 'WenQuanYi Zen Hei'",
      " --font 'wenquanyi zen hei'",  // fontconfig ignores case and blanks
      " --font sans-serif",
      " --font NoSuchFamily --font-file '" + std::string(MIPOFC_TEST_DATA) + "/mipo-test16.bdf'",
      " --font NoSuchFamily --font-file '" + std::string(MIPOFC_TEST_DATA) + "/mipo-test16.bdf' --strict-font",
      " --font 宋体 --strict-font --bold --size 16",
  };
  for (const std::string& flags : cases) {
    const test::TRun r = Run("export in.txt -o a.chr -q" + flags);
    EXPECT_EQ(r.status, 0) << flags << ": " << r.err;
    EXPECT_EQ(r.err, "") << flags;
  }
}

TEST_F(CliFontTest, AnInstalledProgramReadsTheFamilyRulesFromItsShareFolder) {
  // An installation in miniature: bin/mipofc-cli beside share/mipofc/mipofc-fonts.conf, whose
  // rules here know one more name than the copy compiled in.
  test::TempDir root;
  fs::create_directories(root.Path() / "bin");
  fs::create_directories(root.Path() / "share/mipofc");
  fs::copy_file(MIPOFC_CLI, root.Path() / "bin/mipofc-cli");
  std::ofstream(root / "share/mipofc/mipofc-fonts.conf")
      << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n<fontconfig>\n"
         "  <match target=\"pattern\">\n"
         "    <test qual=\"any\" name=\"family\"><string>Mipo Rules Probe</string></test>\n"
         "    <edit name=\"family\" mode=\"prepend\" binding=\"strong\"><string>"
      << FcMatchFamily("sans-serif") << "</string></edit>\n  </match>\n</fontconfig>\n";
  const std::string flags = " in.txt -o a.chr -q --font 'Mipo Rules Probe'";
  EXPECT_EQ(Run("export" + flags).err.find("Mipo Rules Probe is not installed"), 0u);
  const test::TRun installed = test::RunProgram(dir_, root / "bin/mipofc-cli", "export" + flags);
  EXPECT_EQ(installed.status, 0);
  EXPECT_EQ(installed.err, "");
}

}  // namespace
}  // namespace mipofc
