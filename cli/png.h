#pragma once

#include <string>

#include "engine/surface.h"

namespace mipofc {

/// Encodes the surface as an 8-bit RGB PNG, each pixel scale x scale (nearest neighbour).
std::string EncodePng(const TBitmap& image, int scale);

}  // namespace mipofc
