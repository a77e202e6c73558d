#pragma once

#include <filesystem>
#include <string>

#include "engine/chr.h"

namespace mipofc::test {

/// A tile from 16 hexadecimal bytes separated by blanks, plane 0 first.
TTile TileFromHex(const std::string& hex);
/// The tile's 16 bytes as upper-case hex separated by blanks.
std::string HexOf(const TTile& tile);
/// The test font (a 16-pixel BDF made for the tests) as a font file at 12 points (em 16).
TFont TestFont();
/// Settings with the window's start values (16x16, mode 0, block, 4K) and the given font.
TChrSettings StartSettings(TFont* font);
/// The whole content of a file ("" when it cannot be read).
std::string ReadFile(const std::filesystem::path& path);

/// A fresh folder under the system's temporary folder, removed with its content at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace mipofc::test
