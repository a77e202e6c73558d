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
/// A PNG of any colour type as 8-bit RGB.
struct TRgbImage {
  bool ok = false;
  int width = 0, height = 0;
  std::string rgb;  ///< three bytes a pixel, row by row

  /// The pixel at (x, y) as 0xRRGGBB.
  std::uint32_t At(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
    return static_cast<std::uint32_t>(static_cast<unsigned char>(rgb[i])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(rgb[i + 1])) << 8 |
           static_cast<unsigned char>(rgb[i + 2]);
  }
};
/// Reads PNG bytes as RGB.
TRgbImage ReadRgbPng(std::string_view png);
/// The 2bpp tiles of a 128-pixel-wide pattern table image (16 tiles a band of 8 rows).
std::string TilesOfImage(const TIndexedImage& image);

/// The values of every "$XX" of .DB/.byte lines (".res N, $XX" as N of them), ignoring what
/// follows ';' on a line.
std::string BytesOfAsm(std::string_view text);
/// The values of every "0xXX" between the first '{' and the next '}'.
std::string BytesOfC(std::string_view text);

}  // namespace mipofc::test
