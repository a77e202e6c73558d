// The faces fontconfig offers, for a listing of the fonts a user can name.
#include <algorithm>
#include <tuple>

#include "font/font_impl.h"

namespace mipofc {

namespace {

const char* StringOf(const FcPattern* pattern, const char* object) {
  FcChar8* value = nullptr;
  return FcPatternGetString(pattern, object, 0, &value) == FcResultMatch ? reinterpret_cast<const char*>(value)
                                                                          : nullptr;
}

bool HasCommonIdeographs(const FcPattern* pattern) {
  FcCharSet* chars = nullptr;
  if (FcPatternGetCharSet(pattern, FC_CHARSET, 0, &chars) != FcResultMatch) return false;
  return std::all_of(CommonIdeographs.begin(), CommonIdeographs.end(),
                     [&](char16_t ch) { return FcCharSetHasChar(chars, ch) == FcTrue; });
}

}  // namespace

std::vector<TInstalledFace> InstalledFaces(bool commonIdeographs) {
  FcConfig* config = fontdetail::Config();
  using PatternPtr = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;
  using ObjectsPtr = std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)>;
  using FontSetPtr = std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)>;
  PatternPtr everything(FcPatternCreate(), FcPatternDestroy);
  ObjectsPtr objects(FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_CHARSET, nullptr), FcObjectSetDestroy);
  if (!everything || !objects) throw TFontError("fontconfig", TFailure{TFailureKind::OutOfMemory, {}});
  FontSetPtr fonts(FcFontList(config, everything.get(), objects.get()), FcFontSetDestroy);

  std::vector<TInstalledFace> faces;
  for (int i = 0; fonts && i < fonts->nfont; ++i) {
    const FcPattern* font = fonts->fonts[i];
    const char* file = StringOf(font, FC_FILE);
    if (!file || (commonIdeographs && !HasCommonIdeographs(font))) continue;
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    TInstalledFace face{file, {}};
    try {
      face.Face = FontFileFace(face.File, index);
    } catch (const TFontError&) {
      // What FreeType cannot open cannot be drawn with either.
      continue;
    }
    if (const char* family = StringOf(font, FC_FAMILY)) face.Face.Family = family;
    faces.push_back(std::move(face));
  }
  std::sort(faces.begin(), faces.end(), [](const TInstalledFace& a, const TInstalledFace& b) {
    return std::tie(a.Face.Family, a.Face.Style, a.File, a.Face.Index) <
           std::tie(b.Face.Family, b.Face.Style, b.File, b.Face.Index);
  });
  return faces;
}

}  // namespace mipofc
