// What a font file holds: its faces, their names, and the bitmap strikes they carry.
#include <algorithm>

#include "font/font_impl.h"

namespace mipofc {

namespace {

std::string BaseName(const std::string& file) {
  const std::size_t slash = file.find_last_of('/');
  return slash == std::string::npos ? file : file.substr(slash + 1);
}

TFontFileFace Describe(const fontdetail::FtFace& opened, int index) {
  const FT_Face f = opened.face;
  TFontFileFace face;
  face.Index = index;
  face.Family = f->family_name && *f->family_name ? f->family_name : BaseName(opened.file);
  face.Style = f->style_name ? f->style_name : "";
  face.Outline = FT_IS_SCALABLE(f);
  for (int i = 0; i < f->num_fixed_sizes; ++i) {
    // y_ppem is the strike's em in 26.6 pixels.
    const int pixels = static_cast<int>((f->available_sizes[i].y_ppem + 32) >> 6);
    if (pixels > 0) face.StrikePixels.push_back(pixels);
  }
  std::sort(face.StrikePixels.begin(), face.StrikePixels.end());
  face.StrikePixels.erase(std::unique(face.StrikePixels.begin(), face.StrikePixels.end()),
                          face.StrikePixels.end());
  return face;
}

}  // namespace

std::vector<TFontFileFace> FontFileFaces(const std::string& file) {
  const auto first = fontdetail::OpenFace(file, 0);
  std::vector<TFontFileFace> faces{Describe(*first, 0)};
  for (long i = 1; i < first->face->num_faces; ++i)
    faces.push_back(Describe(*fontdetail::OpenFace(file, i), static_cast<int>(i)));
  return faces;
}

TFontFileFace FontFileFace(const std::string& file, int index) {
  return Describe(*fontdetail::OpenFace(file, index), index);
}

int PointsForEmPixels(int pixels, int lo, int hi) {
  const std::vector<int> sizes = PointSizesForEmPixels(pixels, lo, hi);
  return sizes.empty() ? 0 : sizes.front();
}

std::vector<int> PointSizesForEmPixels(int pixels, int lo, int hi) {
  std::vector<int> sizes;
  for (int pt = lo; pt <= hi; ++pt)
    if (MulDivRound(pt, 96, 72) == pixels) sizes.push_back(pt);
  return sizes;
}

}  // namespace mipofc
