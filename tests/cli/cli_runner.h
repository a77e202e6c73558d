#pragma once

// Running mipofc-cli and other programs from a test, in a temporary folder.

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/test_util.h"

namespace mipofc::test {

/// A finished program: its exit status (-1 when it did not exit) and its output.
struct TRun {
  int status = -1;
  std::string out, err;
};

/// Runs a shell command line in dir, standard input from stdinText, and collects its output.
inline TRun RunIn(const TempDir& dir, const std::string& command, const std::string& stdinText = "") {
  const std::string in = dir / ".stdin", out = dir / ".stdout", err = dir / ".stderr";
  std::ofstream(in, std::ios::binary) << stdinText;
  // Under the sanitizers, LeakSanitizer's note on the suppressions it used would end up in err.
  const std::string line = "cd '" + dir.Path().string() + "' && export LSAN_OPTIONS=\"$LSAN_OPTIONS:print_suppressions=0\" && " +
                           command + " <'" + in + "' >'" + out + "' 2>'" + err + "'";
  const int raw = std::system(line.c_str());
  TRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
  std::filesystem::remove(in);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

/// Runs mipofc-cli with args (a shell fragment) in dir.
inline TRun RunCli(const TempDir& dir, const std::string& args, const std::string& stdinText = "") {
  return RunIn(dir, std::string("'") + MIPOFC_CLI + "' " + args, stdinText);
}

/// Runs program (a path, quoted here) with args (a shell fragment) in dir.
inline TRun RunProgram(const TempDir& dir, const std::string& program, const std::string& args,
                       const std::string& stdinText = "") {
  return RunIn(dir, "'" + program + "' " + args, stdinText);
}

/// True when a program of this name is on the PATH.
inline bool HaveProgram(const std::string& name) {
  return std::system(("command -v '" + name + "' >/dev/null 2>&1").c_str()) == 0;
}

/// Writes bytes to dir/name and returns the path.
inline std::string WriteIn(const TempDir& dir, const std::string& name, const std::string& bytes) {
  std::ofstream(dir / name, std::ios::binary) << bytes;
  return dir / name;
}

/// The flags that draw with the test font.
inline std::string TestFontFlags() {
  return std::string(" --font-file '") + MIPOFC_TEST_DATA + "/mipo-test16.bdf' --size 12";
}

}  // namespace mipofc::test
