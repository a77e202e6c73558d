#include "engine/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BDF_H
#include FT_BITMAP_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <array>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/errors.h"
#include "engine/fonts_conf.h"
#include "engine/surface.h"

namespace mipofc {

int MulDivRound(int a, int b, int c) {
  // Division by zero and results outside int give -1, the customary error value of MulDiv.
  if (c == 0) return -1;
  const std::int64_t num = static_cast<std::int64_t>(a) * b;
  const std::int64_t den = c;
  std::int64_t q = num / den;
  const std::int64_t r = num % den;
  if (2 * (r < 0 ? -r : r) >= (den < 0 ? -den : den)) q += ((num < 0) != (den < 0)) ? -1 : 1;
  if (q < INT_MIN || q > INT_MAX) return -1;
  return static_cast<int>(q);
}

namespace {

int Negate(int v) {
  return v == INT_MIN ? INT_MAX : -v;
}

}  // namespace

void TFont::SetSize(int points) {
  Size = points;
  Height = Negate(MulDivRound(points, 96, 72));
}

void TFont::SetHeight(int pixels) {
  Height = pixels;
  Size = Negate(MulDivRound(pixels, 72, 96));
}

bool TFont::SameFace(const TFont& other) const {
  return Name == other.Name && Size == other.Size && Height == other.Height && Bold == other.Bold &&
         Italic == other.Italic && Underline == other.Underline && StrikeOut == other.StrikeOut &&
         CharSet == other.CharSet && File == other.File && FaceIndex == other.FaceIndex;
}

namespace {

// Em heights beyond this are no use for tiles of at most 32 x 32 and only cost memory.
constexpr int MaxEm = 1024;
// Resolved fonts kept for reuse before unused ones are dropped.
constexpr std::size_t MaxCachedFonts = 64;

// num / den rounded half away from zero; den > 0.
std::int64_t RoundDiv(std::int64_t num, std::int64_t den) {
  return num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
}

// Floor division; den > 0.
int FloorDiv(int num, int den) {
  return num >= 0 ? num / den : -((-num + den - 1) / den);
}

// FreeType's own wording of its error codes.
// clang-format off
#undef FTERRORS_H_
#define FT_ERRORDEF(e, v, s) {v, s},
#define FT_ERROR_START_LIST {
#define FT_ERROR_END_LIST {0, nullptr}};
const struct {
  int code;
  const char* text;
} FtErrors[] =
#include FT_ERRORS_H

const char* FtReason(FT_Error err) {
  for (const auto& e : FtErrors)
    if (e.text && e.code == err) return e.text;
  return "unknown FreeType error";
}
// clang-format on

struct FtLibrary {
  FT_Library lib = nullptr;
  FtLibrary() {
    if (FT_Error err = FT_Init_FreeType(&lib)) throw TFontError(std::string("FreeType: ") + FtReason(err));
  }
  ~FtLibrary() { FT_Done_FreeType(lib); }
  FtLibrary(const FtLibrary&) = delete;
  FtLibrary& operator=(const FtLibrary&) = delete;
};

// One opened face, shared by every resolved font that draws with it.
struct FtFace {
  std::shared_ptr<FtLibrary> lib;  // outlives the face
  FT_Face face = nullptr;
  std::string file;
  bool bold = false;    // the face itself is bold, so bold needs no synthesis
  bool italic = false;  // the face itself is italic or oblique

  ~FtFace() {
    if (face) FT_Done_Face(face);
  }
};

const TT_OS2* UsableOs2(FT_Face face) {
  auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (!os2 || os2->version == 0xFFFF || face->units_per_EM == 0) return nullptr;
  if (os2->usWinAscent + os2->usWinDescent == 0) return nullptr;
  return os2;
}

// An integer property of a BDF or PCF face.
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

// The face a style of a family is drawn with at one em height, with its own size object
// so that fonts of different sizes can share the face.
struct SizedFace {
  std::shared_ptr<FtFace> face;
  FT_Size size = nullptr;
  bool synthBold = false;
  bool synthItalic = false;

  SizedFace() = default;
  SizedFace(const SizedFace&) = delete;
  SizedFace& operator=(const SizedFace&) = delete;
  ~SizedFace() {
    if (size) FT_Done_Size(size);
  }

  // Sets the face to em pixels: an outline face scales (and uses an embedded strike
  // of exactly that size), a bitmap-only face takes its strike nearest to em.
  FT_Error SetEm(int em) {
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
};

// A glyph as drawn: packed rows, most significant bit leftmost, (width + 7) / 8 bytes each.
struct Glyph {
  std::int32_t left = 0;  // from the origin to the bitmap's left column
  std::int32_t top = 0;   // from the baseline up to the bitmap's top row
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t advance = 0;  // pixels to the next origin
  std::int32_t face = -1;    // index of the face that drew it; -1 = the missing-glyph shape
  std::uint32_t offset = 0;  // of the first row in the font's bit store
};

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

// The faces fontconfig offers for one family and style, best first, and which of them
// draws each code unit the matched face lacks. Shared by every size of the family.
class FallbackList {
 public:
  explicit FallbackList(FcFontSet* fonts) : fonts_(fonts), answer_(0x10000, Unknown) {}
  ~FallbackList() {
    if (fonts_) FcFontSetDestroy(fonts_);
  }
  FallbackList(const FallbackList&) = delete;
  FallbackList& operator=(const FallbackList&) = delete;

  // The first face in fontconfig's order that has ch, or nullptr.
  std::shared_ptr<FtFace> FaceFor(char16_t ch);

 private:
  static constexpr std::int32_t Unknown = -2, None = -1;
  FcFontSet* fonts_;
  std::vector<std::int32_t> answer_;               // per code unit: index into fonts_
  std::map<int, std::shared_ptr<FtFace>> opened_;  // candidates opened so far (null: unusable)
};

class ResolvedFont;

// Everything opened or resolved once per process.
struct Registry {
  std::shared_ptr<FtLibrary> lib = std::make_shared<FtLibrary>();
  std::map<std::pair<std::string, long>, std::shared_ptr<FtFace>> faces;
  std::unordered_map<std::string, std::shared_ptr<const ResolvedFont>> fonts;
  std::map<std::string, std::shared_ptr<FallbackList>> fallbacks;
  FcConfig* configured = nullptr;  // the fontconfig configuration our rules were loaded into
};

Registry& Reg() {
  static Registry registry;
  return registry;
}

std::shared_ptr<FtFace> OpenFace(const std::string& file, long index) {
  Registry& reg = Reg();
  const auto key = std::make_pair(file, index);
  if (auto it = reg.faces.find(key); it != reg.faces.end()) return it->second;

  if (index < 0) throw TFontError(file + ": no face " + std::to_string(index) + " in this file");
  if (std::FILE* probe = std::fopen(file.c_str(), "rb")) {
    std::fclose(probe);
  } else {
    throw TFontError(file + ": " + std::strerror(errno));
  }
  auto face = std::make_shared<FtFace>();
  face->lib = reg.lib;
  face->file = file;
  if (FT_Error err = FT_New_Face(reg.lib->lib, file.c_str(), index, &face->face)) {
    face->face = nullptr;
    if (err == FT_Err_Invalid_Argument && index > 0)
      throw TFontError(file + ": no face " + std::to_string(index) + " in this file");
    throw TFontError(file + ": " + FtReason(err));
  }
  FT_Face f = face->face;
  if (!FT_IS_SCALABLE(f) && f->num_fixed_sizes <= 0)
    throw TFontError(file + ": the face has neither outlines nor bitmap sizes");
  if (FT_Select_Charmap(f, FT_ENCODING_UNICODE) != 0 && f->num_charmaps > 0)
    FT_Set_Charmap(f, f->charmaps[0]);
  const TT_OS2* os2 = UsableOs2(f);
  face->bold = (f->style_flags & FT_STYLE_FLAG_BOLD) || (os2 && os2->usWeightClass >= 600);
  face->italic = (f->style_flags & FT_STYLE_FLAG_ITALIC) || (os2 && (os2->fsSelection & 0x201));
  reg.faces.emplace(key, face);
  return face;
}

// The configuration to match in, with our family rules loaded into it once.
FcConfig* Config() {
  Registry& reg = Reg();
  FcConfig* config = FcConfigGetCurrent();
  if (!config) throw TFontError("fontconfig: no configuration could be loaded");
  // The current configuration is replaced when fontconfig reloads; the rules go into each.
  if (config != reg.configured) {
    FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(FontsConf), FcTrue);
    // Held so that its address is not reused by a later configuration.
    FcConfigReference(config);
    reg.configured = config;
  }
  return config;
}

const char* LanguageOf(int charSet) {
  switch (charSet) {
    case 134:
      return "zh-cn";
    case 136:
      return "zh-tw";
    case 128:
      return "ja";
    case 129:
      return "ko";
    default:
      return nullptr;
  }
}

// A substituted fontconfig pattern for the font's family, language and style.
FcPattern* FamilyPattern(FcConfig* config, const TFont& font, double pixels) {
  FcPattern* pat = FcPatternCreate();
  if (!pat) throw TFontError(font.Name + ": out of memory");
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(font.Name.c_str()));
  if (const char* lang = LanguageOf(font.CharSet))
    FcPatternAddString(pat, FC_LANG, reinterpret_cast<const FcChar8*>(lang));
  FcPatternAddInteger(pat, FC_WEIGHT, font.Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pat, FC_SLANT, font.Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  if (pixels > 0) FcPatternAddDouble(pat, FC_PIXEL_SIZE, pixels);
  FcConfigSubstitute(config, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  return pat;
}

std::shared_ptr<FallbackList> FallbackFor(FcConfig* config, const TFont& font) {
  Registry& reg = Reg();
  const char* lang = LanguageOf(font.CharSet);
  std::string key = font.Name;
  key += '\n';
  key += lang ? lang : "";
  key += font.Bold ? "\nb" : "\n";
  key += font.Italic ? "i" : "";
  if (auto it = reg.fallbacks.find(key); it != reg.fallbacks.end()) return it->second;
  FcPattern* pat = FamilyPattern(config, font, 0);
  FcResult result = FcResultNoMatch;
  // One untrimmed sort per family serves every code unit: the faces that have a character
  // come in the order a match for that character would rank them.
  FcFontSet* sorted = FcFontSort(config, pat, FcFalse, nullptr, &result);
  FcPatternDestroy(pat);
  auto list = std::make_shared<FallbackList>(sorted);
  reg.fallbacks.emplace(std::move(key), list);
  return list;
}

std::shared_ptr<FtFace> FallbackList::FaceFor(char16_t ch) {
  std::int32_t& answer = answer_[ch];
  if (answer == Unknown) {
    answer = None;
    for (int i = 0; fonts_ && i < fonts_->nfont; ++i) {
      FcCharSet* cs = nullptr;
      if (FcPatternGetCharSet(fonts_->fonts[i], FC_CHARSET, 0, &cs) != FcResultMatch ||
          !FcCharSetHasChar(cs, ch))
        continue;
      auto [it, fresh] = opened_.try_emplace(i);
      if (fresh) {
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(fonts_->fonts[i], FC_FILE, 0, &file) == FcResultMatch) {
          FcPatternGetInteger(fonts_->fonts[i], FC_INDEX, 0, &index);
          try {
            it->second = OpenFace(reinterpret_cast<const char*>(file), index);
          } catch (const TFontError&) {
            // An unreadable candidate is passed over like one without the character.
          }
        }
      }
      if (it->second && FT_Get_Char_Index(it->second->face, ch) != 0) {
        answer = i;
        break;
      }
    }
  }
  return answer >= 0 ? opened_[answer] : nullptr;
}

// The em height the font asks for, given the face that will draw it (which may be null
// unless the height is a cell height).
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

// True when an outline face draws em pixels from an embedded bitmap strike, which it
// does for a strike of exactly that size.
bool OnStrike(FT_Face face, int em) {
  for (int i = 0; i < face->num_fixed_sizes; ++i)
    if (face->available_sizes[i].y_ppem == FT_Pos{em} << 6) return true;
  return false;
}

int Scale(int units, int em, int unitsPerEm) {
  return static_cast<int>(RoundDiv(std::int64_t{units} * em, unitsPerEm));
}

// The eight pixel masks of each glyph byte, bit 7 first.
const auto kByteMasks = [] {
  std::array<std::array<std::uint32_t, 8>, 256> masks{};
  for (int v = 0; v < 256; ++v)
    for (int j = 0; j < 8; ++j) masks[v][j] = (v >> (7 - j)) & 1 ? 0xFFFFFFFFu : 0u;
  return masks;
}();

// Paints colour into the eight pixels at out where the glyph byte has ink.
inline void BlendByte(std::uint32_t* out, std::uint8_t bits, std::uint32_t colour) {
  if (bits == 0) return;
  const std::uint32_t* mask = kByteMasks[bits].data();
#if defined(__SSE2__)
  const __m128i ink = _mm_set1_epi32(static_cast<int>(colour));
  for (int half = 0; half < 8; half += 4) {
    const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + half));
    __m128i* at = reinterpret_cast<__m128i*>(out + half);
    _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(m, ink), _mm_andnot_si128(m, _mm_loadu_si128(at))));
  }
#else
  for (int j = 0; j < 8; ++j) out[j] = (colour & mask[j]) | (out[j] & ~mask[j]);
#endif
}

class ResolvedFont final : public TFontFace {
 public:
  explicit ResolvedFont(const TFont& font);

  void Draw(TBitmap& surface, int x, int y, char16_t ch, std::uint32_t colour) const override;
  int Ascent() const override { return ascent_; }
  int EmPixels() const override { return em_; }
  // Forgets every rendered glyph; they are made again when next drawn.
  void ClearGlyphs() const {
    std::fill(table_.begin(), table_.end(), -1);
    glyphs_.clear();
    bits_.clear();
    missing_ = -1;
  }
  std::string FaceFileFor(char16_t ch) const override {
    const Glyph& g = GlyphFor(ch);
    return g.face >= 0 ? faces_[static_cast<std::size_t>(g.face)]->face->file : std::string();
  }

 private:
  const Glyph& GlyphFor(char16_t ch) const {
    std::int32_t& slot = table_[ch];
    if (slot < 0) slot = MakeGlyph(ch);
    return glyphs_[static_cast<std::size_t>(slot)];
  }
  std::int32_t MakeGlyph(char16_t ch) const;
  std::int32_t MissingGlyph() const;
  std::int32_t Render(int faceIndex, FT_UInt glyphIndex, int owner) const;
  int FallbackFaceIndex(char16_t ch) const;
  std::unique_ptr<SizedFace> Sized(std::shared_ptr<FtFace> face) const;
  void MeasureLines(FT_Face face);

  bool bold_, italic_;
  bool underline_, strikeOut_;
  int em_ = 0;
  int ascent_ = 0;
  int underTop_ = 1, underThick_ = 1;       // rows below the baseline
  int strikeTop_ = 1, strikeThick_ = 1;     // rows above the baseline
  std::shared_ptr<FallbackList> fallback_;  // null for a named font file

  // Caches: they only ever remember what would be made again.
  mutable std::vector<std::unique_ptr<SizedFace>> faces_;  // [0] is the matched face
  mutable std::map<const FtFace*, int> faceIndex_;
  mutable std::vector<std::int32_t> table_;  // per code unit: index into glyphs_, -1 = not yet
  mutable std::vector<Glyph> glyphs_;
  mutable std::vector<std::uint8_t> bits_;
  mutable std::int32_t missing_ = -1;
};

std::unique_ptr<SizedFace> ResolvedFont::Sized(std::shared_ptr<FtFace> face) const {
  auto sized = std::make_unique<SizedFace>();
  sized->face = std::move(face);
  if (FT_Error err = sized->SetEm(em_))
    throw TFontError(sized->face->file + ": cannot set " + std::to_string(em_) + " pixels: " + FtReason(err));
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
    // A positive height is a cell height, known as an em only once the face is known.
    const double pixels = font.Height > 0 ? font.Height : EmFor(font, nullptr);
    FcPattern* pat = FamilyPattern(config, font, pixels);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pat, &result);
    FcPatternDestroy(pat);
    FcChar8* file = nullptr;
    int index = 0;
    if (!match || FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) {
      if (match) FcPatternDestroy(match);
      throw TFontError(font.Name + ": no font matches this family");
    }
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    const std::string path = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);
    try {
      primary = OpenFace(path, index);
      em_ = EmFor(font, primary->face);
      faces_.push_back(Sized(primary));
    } catch (const TFontError& e) {
      throw TFontError(font.Name + ": " + e.what());
    }
    fallback_ = FallbackFor(config, font);
  }
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
  bool ok = FT_Activate_Size(sf.size) == 0;
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
      bits_.resize(bits_.size() + static_cast<std::size_t>(stride) * g.height);
      std::uint8_t* out = bits_.data() + g.offset;
      const std::uint8_t tailMask = static_cast<std::uint8_t>(0xFF << (stride * 8 - g.width));
      for (int y = 0; y < g.height; ++y, out += stride) {
        std::memcpy(out, BitmapRow(bm, y), static_cast<std::size_t>(stride));
        out[stride - 1] &= tailMask;
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

void ResolvedFont::Draw(TBitmap& surface, int x, int y, char16_t ch, std::uint32_t colour) const {
  const Glyph& g = GlyphFor(ch);
  const int baseline = y + ascent_;
  const int stride = (g.width + 7) / 8;
  const std::uint8_t* row = bits_.data() + g.offset;
  const int gx = x + g.left;
  const int width = surface.Width();
  colour &= 0xFFFFFF;
  // Columns of the glyph that land on the surface.
  const int c0 = std::max(0, -gx), c1 = std::min(g.width, width - gx);
  for (int r = 0, gy = baseline - g.top; r < g.height; ++r, ++gy, row += stride) {
    if (gy < 0 || gy >= surface.Height() || c0 >= c1) continue;
    TColor* line = surface.Pixels().data() + static_cast<std::size_t>(gy) * width;
    // Whole bytes of the row that land on the surface go eight pixels at a time; the bits
    // past the glyph's width are clear, so they leave their pixels alone.
    int c = c0;
    if ((c0 & 7) == 0) {
      const int bytesEnd = std::min(8 * stride, width - gx);
      for (; c + 8 <= bytesEnd; c += 8) BlendByte(line + gx + c, row[c >> 3], colour);
    }
    // A select per pixel rather than a jump per ink pixel: glyph rows give the branch
    // predictor nothing to learn.
    for (; c < c1; ++c) {
      const TColor ink = 0u - static_cast<TColor>((row[c >> 3] >> (7 - (c & 7))) & 1);
      line[gx + c] = (colour & ink) | (line[gx + c] & ~ink);
    }
  }
  const auto bar = [&](int top, int thickness) {
    for (int r = 0; r < thickness; ++r)
      for (int c = 0; c < g.advance; ++c) surface.SetPixel(x + c, top + r, colour);
  };
  if (underline_) bar(baseline + underTop_, underThick_);
  if (strikeOut_) bar(baseline - strikeTop_, strikeThick_);
}

std::string KeyOf(const TFont& f) {
  std::string key = f.Name;
  for (int v : {f.Size, f.Height, int{f.Bold}, int{f.Italic}, int{f.Underline}, int{f.StrikeOut}, f.CharSet,
                f.FaceIndex}) {
    key += '\n';
    key += std::to_string(v);
  }
  key += '\n';
  key += f.File;
  return key;
}

}  // namespace

std::shared_ptr<const TFontFace> ResolveFont(const TFont& font) {
  Registry& reg = Reg();
  std::string key = KeyOf(font);
  if (auto it = reg.fonts.find(key); it != reg.fonts.end()) return it->second;
  // Fonts nobody holds any more are let go once many sizes and styles have been tried, so
  // that browsing through fonts does not keep every glyph cache alive.
  if (reg.fonts.size() >= MaxCachedFonts)
    std::erase_if(reg.fonts, [](const auto& entry) { return entry.second.use_count() == 1; });
  auto resolved = std::make_shared<const ResolvedFont>(font);
  reg.fonts.emplace(std::move(key), resolved);
  return resolved;
}

void ClearGlyphCaches() {
  for (const auto& entry : Reg().fonts) entry.second->ClearGlyphs();
}

}  // namespace mipofc
