#pragma once

// Files written whole or not at all.

#include <string>
#include <string_view>

namespace mipofc {

/// What an atomic write does beyond putting the bytes in place; none of it by default.
struct TWriteOptions {
  bool KeepMode = false;  ///< a file replaced passes its permissions (and, best effort, owner) on
  bool Sync = false;      ///< the bytes reach the disk before the file gets its name
};

/// Writes data to path so that path is never half-written and no temporary file outlives even a
/// killed process: through an unnamed file linked into place (O_TMPFILE), or where the file
/// system has none, through WriteFileThroughTemporaryName. Throws TFileError.
void WriteFileAtomically(const std::string& path, std::string_view data, const TWriteOptions& options);
/// WriteFileAtomically with the default options.
void WriteFileAtomically(const std::string& path, std::string_view data);
/// Writes data to path through a named temporary file beside it, renamed into place; a process
/// killed in between leaves the temporary behind. Throws TFileError.
void WriteFileThroughTemporaryName(const std::string& path, std::string_view data, const TWriteOptions& options);
/// WriteFileThroughTemporaryName with the default options.
void WriteFileThroughTemporaryName(const std::string& path, std::string_view data);

}  // namespace mipofc
