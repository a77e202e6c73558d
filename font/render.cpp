// Glyph rendering: monochrome bitmaps from outlines and strikes, synthetic bold and italic,
// the glyph cache of a resolved font, and the metrics of underline and strike-out.
#include "font/font_impl.h"

#include FT_BITMAP_H
#include FT_OUTLINE_H
#include FT_SIZES_H

#include <algorithm>
#include <cstring>

namespace mipofc::fontdetail {

namespace {

// A glyph being made, one byte per pixel.
struct Raster {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint8_t> px;
  std::uint8_t& at(int x, int y) { return px[static_cast<std::size_t>(y) * width + x]; }
};

// Row y of a FreeType bitmap, counted from the top whichever way the rows are stored.
const unsigned char* BitmapRow(const FT_Bitmap& b, int y) {
  const unsigned char* base = b.buffer;
  if (b.pitch < 0) base -= static_cast<std::ptrdiff_t>(b.pitch) * (static_cast<int>(b.rows) - 1);
  return base + static_cast<std::ptrdiff_t>(b.pitch) * y;
}

// Copies a rendered FreeType bitmap; shades of grey count as ink from half intensity up.
bool ToRaster(FT_Library lib, const FT_Bitmap& bm, Raster& out) {
  out.width = static_cast<int>(bm.width);
  out.height = static_cast<int>(bm.rows);
  out.px.assign(static_cast<std::size_t>(out.width) * out.height, 0);
  if (out.px.empty()) return true;
  switch (bm.pixel_mode) {
    case FT_PIXEL_MODE_MONO:
      for (int y = 0; y < out.height; ++y) {
        const unsigned char* row = BitmapRow(bm, y);
        for (int x = 0; x < out.width; ++x) out.at(x, y) = (row[x >> 3] >> (7 - (x & 7))) & 1;
      }
      return true;
    case FT_PIXEL_MODE_BGRA:
      for (int y = 0; y < out.height; ++y) {
        const unsigned char* row = BitmapRow(bm, y);
        for (int x = 0; x < out.width; ++x) out.at(x, y) = row[4 * x + 3] >= 128;
      }
      return true;
    case FT_PIXEL_MODE_GRAY:
    case FT_PIXEL_MODE_GRAY2:
    case FT_PIXEL_MODE_GRAY4: {
      FT_Bitmap grey;
      FT_Bitmap_Init(&grey);
      if (FT_Bitmap_Convert(lib, &bm, &grey, 1) != 0) {
        FT_Bitmap_Done(lib, &grey);
        return false;
      }
      const int levels = std::max(2, static_cast<int>(grey.num_grays));
      for (int y = 0; y < out.height; ++y) {
        const unsigned char* row = BitmapRow(grey, y);
        for (int x = 0; x < out.width; ++x) out.at(x, y) = 2 * row[x] >= levels - 1;
      }
      FT_Bitmap_Done(lib, &grey);
      return true;
    }
    default:
      return false;
  }
}

// Slants a bitmap glyph: each row moves right by a fifth of its height above the baseline.
void ShearRows(Raster& r) {
  if (r.px.empty()) return;
  // The row's centre lies top - y - 0.5 above the baseline; its shift is a fifth of that, rounded.
  const auto shift = [&](int y) { return FloorDiv(2 * (r.top - 1 - y) + 6, 10); };
  const int lo = std::min(shift(0), shift(r.height - 1));
  const int hi = std::max(shift(0), shift(r.height - 1));
  Raster out;
  out.left = r.left + lo;
  out.top = r.top;
  out.width = r.width + hi - lo;
  out.height = r.height;
  out.px.assign(static_cast<std::size_t>(out.width) * out.height, 0);
  for (int y = 0; y < r.height; ++y) {
    const int s = shift(y) - lo;
    for (int x = 0; x < r.width; ++x) out.at(x + s, y) = r.at(x, y);
  }
  r = std::move(out);
}

// Emboldens by striking the glyph a second time one pixel to the right.
void Overstrike(Raster& r) {
  if (r.px.empty()) return;
  Raster out;
  out.left = r.left;
  out.top = r.top;
  out.width = r.width + 1;
  out.height = r.height;
  out.px.assign(static_cast<std::size_t>(out.width) * out.height, 0);
  for (int y = 0; y < r.height; ++y)
    for (int x = 0; x < r.width; ++x)
      if (r.at(x, y)) out.at(x, y) = out.at(x + 1, y) = 1;
  r = std::move(out);
}


}  // namespace

std::unique_ptr<SizedFace> ResolvedFont::Sized(std::shared_ptr<FtFace> face) const {
  auto sized = std::make_unique<SizedFace>();
  sized->face = std::move(face);
  if (FT_Error err = sized->SetEm(em_))
    throw TFontError(sized->face->file,
                     TFailure{TFailureKind::FontCannotSize, {std::to_string(em_), FtReason(err), std::to_string(err)}});
  sized->synthBold = bold_ && !sized->face->bold;
  sized->synthItalic = italic_ && !sized->face->italic;
  return sized;
}

ResolvedFont::ResolvedFont(const TFont& font)
    : bold_(font.Bold),
      italic_(font.Italic),
      underline_(font.Underline),
      strikeOut_(font.StrikeOut),
      table_(0x10000, -1) {
  std::shared_ptr<FtFace> primary;
  if (!font.File.empty()) {
    primary = OpenFace(font.File, font.FaceIndex);
    em_ = EmFor(font, primary->face);
    // A named file is drawn as it is; every style is made from it.
    auto sized = Sized(primary);
    sized->synthBold = bold_;
    sized->synthItalic = italic_;
    faces_.push_back(std::move(sized));
  } else {
    FcConfig* config = Config();
    const auto [path, index] = MatchFamily(config, font, MatchPixels(font));
    try {
      primary = OpenFace(path, index);
      em_ = EmFor(font, primary->face);
      faces_.push_back(Sized(primary));
    } catch (const TFontError& e) {
      throw TFontError(font.Name + ": " + e.Subject(), e.Failure());
    }
    fallback_ = FallbackFor(config, font);
  }
  // Room for a glyph of every code unit, reserved (not touched) at once: a store grown by copies
  // would write most of its pages twice, and a fresh process pays for every first touch.
  glyphs_.reserve(0x10000);
  const std::size_t glyphBytes = static_cast<std::size_t>((em_ + 7) / 8) * static_cast<std::size_t>(em_);
  bits_.reserve(std::min<std::size_t>(0x10000 * glyphBytes, std::size_t{16} << 20));
  faceIndex_[primary.get()] = 0;
  MeasureLines(primary->face);
}

void ResolvedFont::MeasureLines(FT_Face face) {
  FT_Activate_Size(faces_[0]->size);
  const TT_OS2* os2 = UsableOs2(face);
  const int upem = face->units_per_EM;
  // A bitmap strike carries pixel metrics of its own (BDF and PCF properties, or the BDF
  // table of a bitmap sfnt); they describe only the strike they came with.
  const bool strike = !FT_IS_SCALABLE(face) || OnStrike(face, em_);
  int value = 0;
  if (os2)
    ascent_ = Scale(os2->usWinAscent, em_, upem);
  else if (strike && BdfInt(face, "FONT_ASCENT", value))
    ascent_ = value;
  else
    ascent_ = static_cast<int>((face->size->metrics.ascender + 32) >> 6);
  // Properties are whatever the file says; keep the arithmetic on them in range.
  ascent_ = std::clamp(ascent_, -MaxEm, MaxEm);

  // Underline: rows from its top, counted down from the first row below the baseline.
  int pos = 0, thick = 0;
  const bool bdfPos = strike && BdfInt(face, "UNDERLINE_POSITION", pos);
  const bool bdfThick = strike && BdfInt(face, "UNDERLINE_THICKNESS", thick);
  if (bdfPos || bdfThick) {
    // Fonts write the offset down as positive (y grows downwards) or as negative (y grows
    // upwards); either way the underline lies below the baseline.
    underTop_ = bdfPos ? std::abs(std::clamp(pos, -MaxEm, MaxEm)) : 1;
    underThick_ = bdfThick ? std::min(thick, MaxEm) : 1;
  } else if (FT_IS_SCALABLE(face) && upem > 0 && face->underline_thickness > 0) {
    // FreeType gives the centre of the stroke, negative below the baseline.
    underThick_ = std::max(1, Scale(face->underline_thickness, em_, upem));
    underTop_ = static_cast<int>(
        RoundDiv(-std::int64_t{face->underline_position} * em_ * 2 - std::int64_t{underThick_} * upem,
                 std::int64_t{upem} * 2));
  }
  underThick_ = std::max(underThick_, 1);

  // Strike-out: its top row counted up from the baseline.
  if (os2 && os2->yStrikeoutSize > 0) {
    strikeTop_ = Scale(os2->yStrikeoutPosition, em_, upem);
    strikeThick_ = std::max(1, Scale(os2->yStrikeoutSize, em_, upem));
  } else {
    int xHeight = 0;
    if (os2 && os2->version >= 2 && os2->sxHeight > 0)
      xHeight = Scale(os2->sxHeight, em_, upem);
    else if (!strike || !BdfInt(face, "X_HEIGHT", xHeight) || xHeight <= 0 || xHeight > MaxEm)
      xHeight = std::max(ascent_, 0);
    // Centred on half the x-height (or of the ascent where the face has none).
    strikeThick_ = underThick_;
    strikeTop_ = (xHeight + strikeThick_ + 1) / 2;
  }
  strikeTop_ = std::max(strikeTop_, strikeThick_);
}

std::int32_t ResolvedFont::MissingGlyph() const {
  if (missing_ < 0) missing_ = Render(0, 0, -1);
  return missing_;
}

int ResolvedFont::FallbackFaceIndex(char16_t ch) const {
  std::shared_ptr<FtFace> face = fallback_->FaceFor(ch);
  if (!face) return -1;
  auto [it, fresh] = faceIndex_.try_emplace(face.get(), -1);
  if (fresh) {
    try {
      faces_.push_back(Sized(face));
      it->second = static_cast<int>(faces_.size()) - 1;
    } catch (const TFontError&) {
      // A face that cannot take this size draws nothing for this font.
    }
  }
  return it->second;
}

std::int32_t ResolvedFont::MakeGlyph(char16_t ch) const {
  // Lone surrogate halves are not characters.
  if (ch >= 0xD800 && ch <= 0xDFFF) return MissingGlyph();
  if (FT_UInt gi = FT_Get_Char_Index(faces_[0]->face->face, ch)) return Render(0, gi, 0);
  if (fallback_) {
    const int fi = FallbackFaceIndex(ch);
    if (fi >= 0) {
      if (FT_UInt gi = FT_Get_Char_Index(faces_[static_cast<std::size_t>(fi)]->face->face, ch))
        return Render(fi, gi, fi);
    }
  }
  return MissingGlyph();
}

std::int32_t ResolvedFont::Render(int faceIndex, FT_UInt glyphIndex, int owner) const {
  SizedFace& sf = *faces_[static_cast<std::size_t>(faceIndex)];
  FT_Face face = sf.face->face;
  FT_Library lib = sf.face->lib->lib;
  Glyph g;
  g.face = owner;
  Raster r;
  // Fonts of other sizes may share the face; its size object is switched only when needed.
  bool ok = face->size == sf.size || FT_Activate_Size(sf.size) == 0;
  // Synthetic italic slants the outline before it is rendered, so it is loaded unrendered.
  const FT_Int32 flags = FT_LOAD_TARGET_MONO | (sf.synthItalic ? 0 : FT_LOAD_RENDER);
  ok = ok && FT_Load_Glyph(face, glyphIndex, flags) == 0;
  FT_GlyphSlot slot = face->glyph;
  bool sheared = false;
  if (ok && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (sf.synthItalic) {
      FT_Matrix slant{0x10000, 0x3333, 0, 0x10000};  // x += 0.2 y
      FT_Outline_Transform(&slot->outline, &slant);
      sheared = true;
    }
    ok = FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0;
  }
  if (ok) g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  if (ok && slot->format == FT_GLYPH_FORMAT_BITMAP) {
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode == FT_PIXEL_MODE_MONO && !sf.synthBold && (sheared || !sf.synthItalic)) {
      // The usual case: FreeType's rows are already packed as the cache keeps them.
      g.left = slot->bitmap_left;
      g.top = slot->bitmap_top;
      g.width = static_cast<int>(bm.width);
      g.height = bm.width > 0 ? static_cast<int>(bm.rows) : 0;
      const int stride = (g.width + 7) / 8;
      g.offset = static_cast<std::uint32_t>(bits_.size());
      const std::size_t bytes = static_cast<std::size_t>(stride) * g.height;
      if (bytes > 0 && bm.pitch == stride) {
        // Rows stored top down without padding: the whole glyph in one go.
        bits_.insert(bits_.end(), bm.buffer, bm.buffer + bytes);
      } else {
        bits_.resize(bits_.size() + bytes);
        std::uint8_t* out = bits_.data() + g.offset;
        for (int y = 0; y < g.height; ++y)
          std::memcpy(out + static_cast<std::size_t>(y) * stride, BitmapRow(bm, y), static_cast<std::size_t>(stride));
      }
    } else if (ToRaster(lib, bm, r)) {
      r.left = slot->bitmap_left;
      r.top = slot->bitmap_top;
      if (sf.synthItalic && !sheared) ShearRows(r);
      if (sf.synthBold) {
        Overstrike(r);
        ++g.advance;
      }
      g.left = r.left;
      g.top = r.top;
      g.width = r.width;
      g.height = r.height;
      const int stride = (g.width + 7) / 8;
      g.offset = static_cast<std::uint32_t>(bits_.size());
      bits_.resize(bits_.size() + static_cast<std::size_t>(stride) * g.height, 0);
      std::uint8_t* out = bits_.data() + g.offset;
      for (int y = 0; y < g.height; ++y, out += stride)
        for (int x = 0; x < g.width; ++x)
          out[x >> 3] |= static_cast<std::uint8_t>((r.at(x, y) != 0) << (7 - (x & 7)));
    }
  } else if (ok && sf.synthBold) {
    ++g.advance;
  }
  glyphs_.push_back(g);
  return static_cast<std::int32_t>(glyphs_.size()) - 1;
}

}  // namespace mipofc::fontdetail
