#include "cli/png.h"

#include <png.h>

#include <stdexcept>
#include <vector>

namespace mipofc {

namespace {
void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}
void NoFlush(png_structp) {}
}  // namespace

std::string EncodePng(const TBitmap& image, int scale) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("cannot start the PNG encoder");
  }
  const int w = image.Width() * scale, h = image.Height() * scale;
  std::vector<png_byte> row(static_cast<std::size_t>(w) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("cannot encode the PNG image");
  }
  png_set_write_fn(png, &out, AppendToString, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // Colours are held as 0x00BBGGRR.
      const TColor c = image.GetPixel(x / scale, y / scale);
      row[3 * x] = static_cast<png_byte>(c & 0xFF);
      row[3 * x + 1] = static_cast<png_byte>((c >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<png_byte>((c >> 16) & 0xFF);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

}  // namespace mipofc
