#pragma once

// The files a command reads and writes, checked before anything is written: no output may be
// another output or an input.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mipofc {

/// One file a command reads or writes, and what names it (an option such as "--table", or in
/// the window the role of the file).
struct TFileUse {
  std::string Name;  ///< the option or role
  std::string Path;  ///< the file; "-" is standard input (read) or standard output (written)
  bool Written = false;
};

/// Two uses of one file that cannot both happen.
struct TFileClash {
  enum TKind {
    SameOutput,        ///< two outputs are one file
    OutputIsInput,     ///< an output would replace an input
    StandardInputTwice,
    StandardOutputTwice,
  };
  TKind Kind = SameOutput;
  TFileUse First;   ///< the use named first (with OutputIsInput: the input)
  TFileUse Second;  ///< the use named later (with OutputIsInput: the output)
};

/// What names the same file: device and inode where it exists (so links and other spellings of
/// a path meet), else the normalised absolute path (of where a symbolic link points).
std::string FileIdentity(const std::string& path);

/// The first clash among uses, or nullopt. allowed lists pairs of names (input, output) whose
/// sameness is meant: a file replaced in place on purpose.
std::optional<TFileClash> FindFileClash(const std::vector<TFileUse>& uses,
                                        const std::vector<std::pair<std::string, std::string>>& allowed = {});

}  // namespace mipofc
