#include "tests/format_readers.h"

#include <png.h>

#include <cstring>

namespace mipofc::test {

namespace {

struct TSource {
  std::string_view bytes;
  std::size_t at = 0;
};

void ReadFromSource(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<TSource*>(png_get_io_ptr(png));
  if (source->bytes.size() - source->at < length) png_error(png, "truncated");
  std::memcpy(out, source->bytes.data() + source->at, length);
  source->at += length;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Appends the byte of two hex digits at text[i]; false when they are not two hex digits.
bool AppendHexByte(std::string& out, std::string_view text, std::size_t i) {
  if (i + 1 >= text.size() || HexDigit(text[i]) < 0 || HexDigit(text[i + 1]) < 0) return false;
  out += static_cast<char>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1]));
  return true;
}

}  // namespace

TIndexedImage ReadIndexedPng(std::string_view bytes) {
  TIndexedImage image;
  TSource source{bytes};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    png_destroy_read_struct(&png, &info, nullptr);
    return image;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return TIndexedImage{};
  }
  png_set_read_fn(png, &source, ReadFromSource);
  png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  image.width = static_cast<int>(png_get_image_width(png, info));
  image.height = static_cast<int>(png_get_image_height(png, info));
  png_colorp colours = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &colours, &count) != 0)
    for (int i = 0; i < count; ++i) image.palette.push_back({colours[i].red, colours[i].green, colours[i].blue});
  const bool indexed = png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE && png_get_bit_depth(png, info) == 8;
  png_bytepp rows = png_get_rows(png, info);
  for (int y = 0; indexed && y < image.height; ++y)
    image.indexes.append(reinterpret_cast<const char*>(rows[y]), static_cast<std::size_t>(image.width));
  png_destroy_read_struct(&png, &info, nullptr);
  image.ok = indexed;
  return image;
}

TRgbImage ReadRgbPng(std::string_view png) {
  TRgbImage image;
  TSource source{png};
  png_structp reader = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = reader ? png_create_info_struct(reader) : nullptr;
  if (reader == nullptr || info == nullptr) {
    png_destroy_read_struct(&reader, &info, nullptr);
    return image;
  }
  if (setjmp(png_jmpbuf(reader))) {
    png_destroy_read_struct(&reader, &info, nullptr);
    return TRgbImage{};
  }
  png_set_read_fn(reader, &source, ReadFromSource);
  // Palettes and greys to RGB, 16 bits to 8, alpha dropped: three bytes a pixel.
  png_read_png(reader, info,
               PNG_TRANSFORM_EXPAND | PNG_TRANSFORM_STRIP_16 | PNG_TRANSFORM_STRIP_ALPHA | PNG_TRANSFORM_GRAY_TO_RGB,
               nullptr);
  image.width = static_cast<int>(png_get_image_width(reader, info));
  image.height = static_cast<int>(png_get_image_height(reader, info));
  const bool rgb = png_get_channels(reader, info) == 3;
  png_bytepp rows = png_get_rows(reader, info);
  for (int y = 0; rgb && y < image.height; ++y)
    image.rgb.append(reinterpret_cast<const char*>(rows[y]), static_cast<std::size_t>(image.width) * 3);
  png_destroy_read_struct(&reader, &info, nullptr);
  image.ok = rgb;
  return image;
}

std::string TilesOfImage(const TIndexedImage& image) {
  std::string tiles;
  if (image.width != 128) return tiles;
  for (int band = 0; band < image.height / 8; ++band)
    for (int t = 0; t < 16; ++t) {
      char tile[16] = {};
      for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
          const int index = image.indexes[static_cast<std::size_t>((band * 8 + r) * 128 + t * 8 + c)];
          if (index & 1) tile[r] = static_cast<char>(tile[r] | (0x80 >> c));
          if (index & 2) tile[8 + r] = static_cast<char>(tile[8 + r] | (0x80 >> c));
        }
      tiles.append(tile, 16);
    }
  return tiles;
}

std::string BytesOfAsm(std::string_view text) {
  std::string out;
  bool comment = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') comment = false;
    if (text[i] == ';') comment = true;
    // ".res N, $XX": N bytes of XX.
    if (!comment && text.substr(i, 5) == ".res ") {
      std::size_t end = i + 5;
      const unsigned long count = std::stoul(std::string(text.substr(end, 12)), &end);
      std::string value;
      const std::size_t dollar = text.find('$', i);
      if (dollar == std::string_view::npos || !AppendHexByte(value, text, dollar + 1)) return out;
      out.append(count, value[0]);
      i = dollar + 2;
      continue;
    }
    if (!comment && text[i] == '$' && AppendHexByte(out, text, i + 1)) i += 2;
  }
  return out;
}

std::string BytesOfC(std::string_view text) {
  std::string out;
  const std::size_t open = text.find('{'), close = text.find('}', open);
  if (open == std::string_view::npos || close == std::string_view::npos) return out;
  for (std::size_t i = open; i + 1 < close; ++i)
    if (text[i] == '0' && text[i + 1] == 'x' && AppendHexByte(out, text, i + 2)) i += 3;
  return out;
}

}  // namespace mipofc::test
