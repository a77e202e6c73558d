#include "base/file_read.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <memory>

#include "base/errors.h"

namespace mipofc {

std::string ReadFileBytes(const std::string& path) {
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw TFileError(path, errno);
  std::string bytes;
  char buffer[65536];
  while (true) {
    const size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    bytes.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(file.get())) throw TFileError(path, errno);
  return bytes;
}

std::string ReadInputBytes(const std::string& input) {
  if (input != "-") return ReadFileBytes(input);
  return std::string((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
}

}  // namespace mipofc
