#include "engine/png.h"

#include <png.h>
#include <zlib.h>

#include <stdexcept>
#include <vector>

namespace mipofc {

namespace {
void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}
void NoFlush(png_structp) {}

// Owns libpng's write structures for one image; libpng reports failures by longjmp, so the
// callers keep no object with a destructor alive across its calls.
struct TPngWriter {
  png_structp png = nullptr;
  png_infop info = nullptr;
  TPngWriter() {
    png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    info = png ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr) {
      png_destroy_write_struct(&png, &info);
      throw std::runtime_error("cannot start the PNG encoder");
    }
  }
  ~TPngWriter() { png_destroy_write_struct(&png, &info); }
  TPngWriter(const TPngWriter&) = delete;
  TPngWriter& operator=(const TPngWriter&) = delete;
};

// Writes the rows of an 8-bit indexed image; false when libpng failed.
bool WriteIndexed(TPngWriter& w, std::string& out, int width, int height, const png_color* colours,
                  const unsigned char* pixels) {
  if (setjmp(png_jmpbuf(w.png))) return false;
  png_set_write_fn(w.png, &out, AppendToString, NoFlush);
  png_set_IHDR(w.png, w.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_PLTE(w.png, w.info, colours, 4);
  // Run-length deflate: seven times faster than the default on pattern tables, files a fifth larger.
  png_set_compression_strategy(w.png, Z_RLE);
  png_write_info(w.png, w.info);
  for (int y = 0; y < height; ++y)
    png_write_row(w.png, pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width));
  png_write_end(w.png, nullptr);
  return true;
}

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

namespace mipofc {

std::string EncodeIndexedPng(int width, int height, std::string_view indexes, const TPalette& palette) {
  if (width <= 0 || height <= 0 || indexes.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    throw std::invalid_argument("an indexed PNG needs width x height pixels");
  png_color colours[4];
  for (int i = 0; i < 4; ++i) {
    // Colours are held as 0x00BBGGRR.
    colours[i] = {static_cast<png_byte>(palette[i] & 0xFF), static_cast<png_byte>((palette[i] >> 8) & 0xFF),
                  static_cast<png_byte>((palette[i] >> 16) & 0xFF)};
  }
  std::string out;
  TPngWriter writer;
  if (!WriteIndexed(writer, out, width, height, colours, reinterpret_cast<const unsigned char*>(indexes.data())))
    throw std::runtime_error("cannot encode the PNG image");
  return out;
}

}  // namespace mipofc
