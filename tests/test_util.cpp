#include "tests/test_util.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace mipofc::test {

TTile TileFromHex(const std::string& hex) {
  std::istringstream in(hex);
  TTile tile = {};
  for (int j = 0; j < 16; ++j) {
    unsigned v = 0;
    in >> std::hex >> v;
    tile.Byte(j) = static_cast<std::uint8_t>(v);
  }
  return tile;
}

std::string HexOf(const TTile& tile) {
  std::string out;
  char buf[4];
  for (int j = 0; j < 16; ++j) {
    std::snprintf(buf, sizeof buf, "%02X", tile.Byte(j));
    if (j) out += ' ';
    out += buf;
  }
  return out;
}

TFont TestFont() {
  TFont font;
  font.Name = "Mipo Test";
  font.File = std::string(MIPOFC_TEST_DATA) + "/mipo-test16.bdf";
  font.SetSize(12);
  return font;
}

TChrSettings StartSettings(TFont* font) {
  TChrSettings s;
  s.CellHeight = 16;
  s.CellWidth = 16;
  s.Font = font;
  s.BgIndex = 0;
  s.GlyphIndex = 1;
  s.ScanHorizontal = true;
  s.EncodeMode = 0;
  s.M = 1;
  s.Distribution = 1;
  s.Limit = 4096;
  return s;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "mipofc-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace mipofc::test
