// Bitmap fonts and embedded strikes: BDF/PCF properties, strike choice and the em height of a
// cell height.
#include "font/font_impl.h"

#include FT_BDF_H

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace mipofc::fontdetail {

bool BdfInt(FT_Face face, const char* name, int& value) {
  BDF_PropertyRec prop;
  if (FT_Get_BDF_Property(face, name, &prop) != 0) return false;
  if (prop.type == BDF_PROPERTY_TYPE_INTEGER) {
    value = prop.u.integer;
    return true;
  }
  if (prop.type == BDF_PROPERTY_TYPE_CARDINAL && prop.u.cardinal <= INT_MAX) {
    value = static_cast<int>(prop.u.cardinal);
    return true;
  }
  return false;
}

FT_Error SizedFace::SetEm(int em) {
  FT_Face f = face->face;
  if (FT_Error err = FT_New_Size(f, &size)) return err;
  if (FT_Error err = FT_Activate_Size(size)) return err;
  if (FT_IS_SCALABLE(f)) return FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(em));
  if (f->num_fixed_sizes <= 0) return FT_Err_Invalid_Pixel_Size;
  int best = 0;
  for (int i = 1; i < f->num_fixed_sizes; ++i) {
    const auto d = [&](int k) { return std::abs(f->available_sizes[k].y_ppem - (FT_Pos{em} << 6)); };
    if (d(i) < d(best)) best = i;
  }
  return FT_Select_Size(f, best);
}

int EmFor(const TFont& font, FT_Face face) {
  std::int64_t em;
  if (font.Height < 0) {
    em = -static_cast<std::int64_t>(font.Height);
  } else if (font.Height == 0) {
    em = RoundDiv(std::abs(static_cast<std::int64_t>(font.Size)) * 96, 72);
  } else if (const TT_OS2* os2 = UsableOs2(face)) {
    em = RoundDiv(std::int64_t{font.Height} * face->units_per_EM, os2->usWinAscent + os2->usWinDescent);
  } else if (FT_IS_SCALABLE(face) && face->units_per_EM > 0 && face->ascender - face->descender > 0) {
    em = RoundDiv(std::int64_t{font.Height} * face->units_per_EM, face->ascender - face->descender);
  } else if (face->num_fixed_sizes > 0 && face->available_sizes[0].height > 0) {
    // A strike's height is its cell (ascent + descent); its ppem is the em.
    const FT_Bitmap_Size& s = face->available_sizes[0];
    em = RoundDiv(std::int64_t{font.Height} * s.y_ppem, std::int64_t{s.height} << 6);
  } else {
    em = font.Height;
  }
  return static_cast<int>(std::clamp<std::int64_t>(em, 1, MaxEm));
}

bool OnStrike(FT_Face face, int em) {
  for (int i = 0; i < face->num_fixed_sizes; ++i)
    if (face->available_sizes[i].y_ppem == FT_Pos{em} << 6) return true;
  return false;
}

}  // namespace mipofc::fontdetail
