#pragma once

// Readers that take each bank file format back to the bank bytes it describes, so tests compare
// every format with the raw .chr.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mipofc::test {

/// An indexed PNG as read with libpng, without transforms.
struct TIndexedImage {
  bool ok = false;       ///< read, and palette type with 8 bits a pixel
  int width = 0, height = 0;
  std::string indexes;   ///< one byte a pixel, row by row
  std::vector<std::array<std::uint8_t, 3>> palette;  ///< RGB entries
};
/// Reads PNG bytes.
TIndexedImage ReadIndexedPng(std::string_view png);
/// The 2bpp tiles of a 128-pixel-wide pattern table image (16 tiles a band of 8 rows).
std::string TilesOfImage(const TIndexedImage& image);

/// The values of every "$XX" of .DB/.byte lines, ignoring what follows ';' on a line.
std::string BytesOfAsm(std::string_view text);
/// The values of every "0xXX" between the first '{' and the next '}'.
std::string BytesOfC(std::string_view text);

}  // namespace mipofc::test
