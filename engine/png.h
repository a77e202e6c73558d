#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/chr.h"
#include "font/surface.h"

namespace mipofc {

/// Encodes the surface as an 8-bit RGB PNG, each pixel scale x scale (nearest neighbour).
std::string EncodePng(const TBitmap& image, int scale);

/// Encodes width x height palette indexes 0..3 (row by row, one byte a pixel) as an 8-bit
/// indexed PNG whose four palette entries are the palette's colours.
std::string EncodeIndexedPng(int width, int height, std::string_view indexes, const TPalette& palette);

}  // namespace mipofc
