#pragma once

// Files written whole or not at all.

#include <string>
#include <string_view>

namespace mipofc {

/// What every writer's temporary names start with: the writer's own files, short and fixed in
/// length ("." + this + 8 hex digits of the process id + 8 of a serial number), so that any file
/// that can exist can be replaced, and a temporary left by a killed writer can be told from the
/// user's files.
inline constexpr std::string_view TemporaryPrefix = ".mipofc-";
inline constexpr std::size_t TemporaryNameLength = TemporaryPrefix.size() + 16;

/// The file path names: path itself, or where its chain of symbolic links ends. Replacing a
/// link's file keeps the link.
std::string LinkTarget(const std::string& path);

/// Writes data to path so that path is never half-written and no temporary file outlives even a
/// killed process: through an unnamed file linked into place (O_TMPFILE), or where the file
/// system has none, through WriteFileThroughTemporaryName. A path that is a symbolic link
/// writes the file the link names. A file replaced keeps its permissions (and, where the process
/// may, its owner and group), and its new data reaches the disk before the rename, and the
/// rename before the call returns; a new file is not flushed. A file with other hard links is
/// replaced under this name only. Throws TFileError naming path.
void WriteFileAtomically(const std::string& path, std::string_view data);
/// Writes data to path through a named temporary file beside it, renamed into place; a process
/// killed in between leaves the temporary behind, which the next write into that folder removes.
/// Throws TFileError.
void WriteFileThroughTemporaryName(const std::string& path, std::string_view data);

}  // namespace mipofc
