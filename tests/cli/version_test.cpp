// mipofc-cli and mipofc: --version.
#include <gtest/gtest.h>

#include <string>

#include "mipofc_version.h"
#include "tests/cli/cli_runner.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

TEST(CliVersion, BothProgramsPrintTheProjectVersion) {
  test::TempDir dir;
  test::TRun r = test::RunProgram(dir, MIPOFC_CLI, "--version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, std::string("mipofc-cli ") + MIPOFC_VERSION + "\n");
  // Numbers joined by dots, as project() takes them.
  const std::string version = MIPOFC_VERSION;
  EXPECT_EQ(version.find_first_not_of("0123456789."), std::string::npos) << version;
  EXPECT_NE(version.find('.'), std::string::npos) << version;
  EXPECT_TRUE(version.front() != '.' && version.back() != '.' && version.find("..") == std::string::npos) << version;
#ifdef MIPOFC_WINDOW
  // Without a display: the answer comes before any window system is reached.
  r = test::RunProgram(dir, "/usr/bin/env", std::string("-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '") +
                                                  MIPOFC_WINDOW + "' --version");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, std::string("mipofc ") + MIPOFC_VERSION + "\n");
  EXPECT_EQ(r.err, "");
#endif
}

}  // namespace
}  // namespace mipofc
