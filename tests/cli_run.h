#pragma once

// Runs one of our programs as a user would, from a shell in a folder of its own.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/test_util.h"

namespace mipofc::test {

/// What a run gave: the exit status (-1 when it did not exit) and both outputs.
struct TRun {
  int status = -1;
  std::string out, err;
};

/// Runs program with args (a shell fragment) in folder, standard input from stdinText; the
/// outputs go through files in folder ("stdin", "stdout", "stderr").
inline TRun RunIn(const std::filesystem::path& folder, const std::string& program, const std::string& args,
                  const std::string& stdinText = "") {
  const std::string in = folder / "stdin", out = folder / "stdout", err = folder / "stderr";
  std::ofstream(in, std::ios::binary) << stdinText;
  // Under the sanitizers, LeakSanitizer's note on the suppressions it used would end up in err.
  const std::string command = "cd '" + folder.string() + "' && LSAN_OPTIONS=\"$LSAN_OPTIONS:print_suppressions=0\" '" +
                              program + "' " + args + " <'" + in + "' >'" + out + "' 2>'" + err + "'";
  const int raw = std::system(command.c_str());
  TRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
  std::filesystem::remove(in);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

}  // namespace mipofc::test
