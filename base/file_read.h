#pragma once

// Reading a file, or standard input, whole.

#include <string>

namespace mipofc {

/// The whole content of a file. Throws TFileError(path, strerror) when it cannot be read.
std::string ReadFileBytes(const std::string& path);
/// The bytes of a file, or of standard input for "-".
std::string ReadInputBytes(const std::string& input);

}  // namespace mipofc
