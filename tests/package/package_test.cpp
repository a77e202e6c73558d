// The Debian package as CPack built it (the package_build test): its control fields and files,
// then the package unpacked into a folder of its own and its programs run from there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "mipofc_version.h"
#include "tests/cli/cli_runner.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

std::string Trimmed(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

std::string Shell(const std::string& command) {
  test::TempDir dir;
  return Trimmed(test::RunProgram(dir, "/bin/sh", "-c \"" + command + "\"").out);
}

bool Have(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Architecture() { return Shell("dpkg --print-architecture"); }

fs::path Package() {
  return fs::path(MIPOFC_PACKAGE_DIR) / ("mipofc_" + std::string(MIPOFC_VERSION) + "_" + Architecture() + ".deb");
}

std::string Field(const std::string& name) { return Shell("dpkg-deb -f '" + Package().string() + "' " + name); }

TEST(Package, IsNamedAfterTheProjectVersionAndArchitecture) {
  EXPECT_TRUE(fs::is_regular_file(Package())) << Package();
  EXPECT_EQ(Field("Package"), "mipofc");
  EXPECT_EQ(Field("Version"), MIPOFC_VERSION);
  EXPECT_EQ(Field("Architecture"), Architecture());
  EXPECT_NE(Field("Maintainer"), "");
  EXPECT_EQ(Field("Recommends"), "fonts-unifont, cc65");
}

TEST(Package, DependsOnTheSharedLibrariesItLinksAndTheCjkFont) {
  std::set<std::string> depends;
  std::istringstream in(Field("Depends"));
  std::string item;
  while (std::getline(in, item, ',')) {
    item.erase(0, item.find_first_not_of(' '));
    depends.insert(item.substr(0, item.find(' ')));
  }
  std::vector<std::string> expected = {"fonts-wqy-zenhei", "libc6",        "libstdc++6",
                                       "libfreetype6",     "libfontconfig1", "libpng16-16"};
#ifdef MIPOFC_PACKAGE_WINDOW
  expected.insert(expected.end(), {"libqt6core6", "libqt6gui6", "libqt6widgets6", "qt6-translations-l10n"});
#endif
  for (const std::string& name : expected) EXPECT_TRUE(depends.count(name)) << name << " in " << Field("Depends");
  // Versions come from the libraries' shlibs files, not typed by hand.
  EXPECT_NE(Field("Depends").find("libc6 (>= "), std::string::npos) << Field("Depends");
}

TEST(Package, HoldsExactlyTheProgramsAndTheirDesktopFiles) {
  std::map<std::string, std::string> files;  // path -> "mode owner"
  std::istringstream in(Shell("dpkg-deb -c '" + Package().string() + "'"));
  std::string mode, owner, size, date, time, path;
  while (in >> mode >> owner >> size >> date >> time >> path)
    if (mode[0] != 'd') files[path] = mode + " " + owner;
  std::map<std::string, std::string> expected = {
      {"./usr/bin/mipofc-cli", "-rwxr-xr-x root/root"},
      {"./usr/share/mipofc/mipofc-fonts.conf", "-rw-r--r-- root/root"},
      {"./usr/share/man/man1/mipofc-cli.1.gz", "-rw-r--r-- root/root"},
      {"./usr/share/bash-completion/completions/mipofc-cli", "-rw-r--r-- root/root"},
  };
#ifdef MIPOFC_PACKAGE_WINDOW
  for (const char* file : {"./usr/share/applications/mipofc.desktop",
                           "./usr/share/icons/hicolor/64x64/apps/mipofc.png",
                           "./usr/share/icons/hicolor/256x256/apps/mipofc.png",
                           "./usr/share/icons/hicolor/scalable/apps/mipofc.svg",
                           "./usr/share/metainfo/org.tolvar.mipofc.metainfo.xml",
                           "./usr/share/man/man1/mipofc.1.gz"})
    expected[file] = "-rw-r--r-- root/root";
  expected["./usr/bin/mipofc"] = "-rwxr-xr-x root/root";
#endif
  EXPECT_EQ(files, expected);
}

// The package unpacked into a fresh folder, as dpkg would lay it out under /.
class UnpackedPackage : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(std::system(("dpkg -x '" + Package().string() + "' '" + root_.Path().string() + "'").c_str()), 0);
    std::ofstream(work_ / "in.txt") << "中文字模工具测试ABC\n一二三四五六七八九十\n";
  }
  fs::path Usr(const std::string& path) const { return root_.Path() / "usr" / path; }
  test::TRun Cli(const std::string& args) { return test::RunProgram(work_, Usr("bin/mipofc-cli"), args); }
  test::TempDir root_, work_;
};

TEST_F(UnpackedPackage, TheCliExportsWithTheInstalledFontRules) {
  EXPECT_EQ(Cli("--version").out, std::string("mipofc-cli ") + MIPOFC_VERSION + "\n");
  const test::TRun r = Cli("export in.txt -o font.chr");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "") << "the default family maps to an installed face";
  EXPECT_EQ(test::ReadFile(work_ / "font.00.chr").size(), 4096u);
  // The rules in effect are the installed file's: a name only it knows is found.
  const fs::path rules = Usr("share/mipofc/mipofc-fonts.conf");
  std::string conf = test::ReadFile(rules);
  conf.insert(conf.rfind("</fontconfig>"),
              "<match target=\"pattern\"><test qual=\"any\" name=\"family\"><string>Mipo Package Probe</string>"
              "</test><edit name=\"family\" mode=\"prepend\" binding=\"strong\"><string>WenQuanYi Zen Hei</string>"
              "</edit></match>\n");
  std::ofstream(rules, std::ios::trunc) << conf;
  const test::TRun probe = Cli("export in.txt -o probe.chr --font 'Mipo Package Probe' --strict-font");
  EXPECT_EQ(probe.status, 0) << probe.err;
}

TEST_F(UnpackedPackage, ManPagesRenderAndCompletionCompletes) {
  if (!Have("man")) GTEST_SKIP() << "needs man-db";
  std::vector<std::string> pages = {"share/man/man1/mipofc-cli.1.gz"};
#ifdef MIPOFC_PACKAGE_WINDOW
  pages.push_back("share/man/man1/mipofc.1.gz");
#endif
  for (const std::string& page : pages) {
    // In a UTF-8 locale whatever the tests run in: the pages hold Chinese.
    const test::TRun r = test::RunProgram(work_, "/usr/bin/env",
                                          "LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -l '" + Usr(page).string() + "'");
    EXPECT_EQ(r.status, 0) << page;
    EXPECT_EQ(r.err, "") << page;
    EXPECT_NE(r.out.find("NAME"), std::string::npos) << page;
  }
  std::ofstream(work_ / "complete.sh") << "source '" << Usr("share/bash-completion/completions/mipofc-cli").string()
                                       << "'; COMP_WORDS=(mipofc-cli export --limit ''); COMP_CWORD=3; _mipofc_cli;"
                                          " echo \"${COMPREPLY[*]}\"; complete -p mipofc-cli\n";
  const test::TRun r = test::RunProgram(work_, "/bin/bash", "complete.sh");
  EXPECT_EQ(r.out, "1K 2K 4K\ncomplete -F _mipofc_cli mipofc-cli\n") << r.err;
}

#ifdef MIPOFC_PACKAGE_WINDOW
// Width and height from a PNG's header.
std::pair<int, int> PngSize(const fs::path& path) {
  const std::string bytes = test::ReadFile(path);
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  auto be32 = [&](std::size_t at) {
    int v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  return {be32(16), be32(20)};
}

TEST_F(UnpackedPackage, TheWindowsFilesAreValid) {
  const test::TRun version = test::RunProgram(work_, "/usr/bin/env",
                                         "-u DISPLAY -u WAYLAND_DISPLAY '" + Usr("bin/mipofc").string() + "' --version");
  EXPECT_EQ(version.out, std::string("mipofc ") + MIPOFC_VERSION + "\n");
  EXPECT_EQ(PngSize(Usr("share/icons/hicolor/64x64/apps/mipofc.png")), std::make_pair(64, 64));
  EXPECT_EQ(PngSize(Usr("share/icons/hicolor/256x256/apps/mipofc.png")), std::make_pair(256, 256));
  const std::string svg = test::ReadFile(Usr("share/icons/hicolor/scalable/apps/mipofc.svg"));
  EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
  const std::string desktop = test::ReadFile(Usr("share/applications/mipofc.desktop"));
  EXPECT_NE(desktop.find("\nExec=mipofc\n"), std::string::npos);
  EXPECT_NE(desktop.find("\nIcon=mipofc\n"), std::string::npos);
  // A validator that is missing makes the test a skip, never a quiet pass.
  std::string missing;
  if (Have("desktop-file-validate")) {
    const test::TRun r =
        test::RunProgram(work_, "desktop-file-validate", "'" + Usr("share/applications/mipofc.desktop").string() + "'");
    EXPECT_EQ(r.status, 0) << r.out << r.err;
  } else {
    missing += " desktop-file-validate (the desktop file)";
  }
  if (Have("appstreamcli")) {
    const test::TRun r = test::RunProgram(
        work_, "appstreamcli", "validate --no-net '" + Usr("share/metainfo/org.tolvar.mipofc.metainfo.xml").string() + "'");
    EXPECT_EQ(r.status, 0) << r.out << r.err;
  } else {
    missing += " appstreamcli (the metainfo file)";
  }
  if (!missing.empty()) GTEST_SKIP() << "not installed, so not validated:" << missing;
}
#endif

}  // namespace
}  // namespace mipofc
