#pragma once

// What the font library's files share: FreeType faces and their cache (faces.cpp), fontconfig
// matching and per-character fallback (matching.cpp), bitmap-font specifics (bitmap_strikes.cpp),
// glyph rendering (render.cpp), drawing cached glyphs (draw.cpp) and the listing of installed
// faces (installed_faces.cpp). Nothing outside font/ includes it.

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "font/font.h"

namespace mipofc::fontdetail {

// Em heights beyond this are no use for tiles of at most 32 x 32 and only cost memory.
constexpr int MaxEm = 1024;
// Resolved fonts kept for reuse before unused ones are dropped.
constexpr std::size_t MaxCachedFonts = 64;

// num / den rounded half away from zero; den > 0.
inline std::int64_t RoundDiv(std::int64_t num, std::int64_t den) {
  return num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
}

// Floor division; den > 0.
inline int FloorDiv(int num, int den) {
  return num >= 0 ? num / den : -((-num + den - 1) / den);
}

// Font units scaled to em pixels, rounded.
inline int Scale(int units, int em, int unitsPerEm) {
  return static_cast<int>(RoundDiv(std::int64_t{units} * em, unitsPerEm));
}

// ---- FreeType faces and their cache (font_faces.cpp) ----

// FreeType's own wording of an error code.
const char* FtReason(FT_Error err);

struct FtLibrary {
  FT_Library lib = nullptr;
  FtLibrary() {
    if (FT_Error err = FT_Init_FreeType(&lib)) throw TFontError("FreeType", TFailure{TFailureKind::FontUnreadable, {FtReason(err), std::to_string(err)}});
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


// The face's OS/2 table when it has a usable one.
const TT_OS2* UsableOs2(FT_Face face);

// The face of a file, opened once per process while the file stays as it is. Throws TFontError
// naming the file.
std::shared_ptr<FtFace> OpenFace(const std::string& file, long index);
// What tells one state of a file from another (device, inode, size, modification time); "" when
// it cannot be read. A font file edited while the program runs is opened anew.
std::string FileStamp(const std::string& file);

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
  FT_Error SetEm(int em);
};

// ---- bitmap-font specifics (font_bitmap.cpp) ----

// An integer property of a BDF or PCF face.
bool BdfInt(FT_Face face, const char* name, int& value);
// The em height the font asks for, given the face that will draw it (which may be null
// unless the height is a cell height).
int EmFor(const TFont& font, FT_Face face);

// True when an outline face draws em pixels from an embedded bitmap strike, which it
// does for a strike of exactly that size.
bool OnStrike(FT_Face face, int em);

// ---- fontconfig matching (font_match.cpp) ----

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


// The configuration to match in, with our family rules loaded into it once.
FcConfig* Config();
// The fontconfig language of a Windows character set, or nullptr.
const char* LanguageOf(int charSet);
// A substituted fontconfig pattern for the font's family, language and style.
FcPattern* FamilyPattern(FcConfig* config, const TFont& font, double pixels);
// The fallback faces of the font's family and style, shared by all its sizes.
std::shared_ptr<FallbackList> FallbackFor(FcConfig* config, const TFont& font);
// The pixel size a family is matched at: the em height, or the cell height when positive.
double MatchPixels(const TFont& font);
// The file and face index fontconfig matches for the font's family at pixels (em or cell height).
// Throws TFontError when nothing matches.
std::pair<std::string, int> MatchFamily(FcConfig* config, const TFont& font, double pixels);

// ---- glyph rendering (font_render.cpp) ----

// A glyph as drawn: packed rows, most significant bit leftmost, (width + 7) / 8 bytes each;
// the bits past the width are whatever FreeType left there, so readers cut them off.
struct Glyph {
  std::int32_t left = 0;  // from the origin to the bitmap's left column
  std::int32_t top = 0;   // from the baseline up to the bitmap's top row
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t advance = 0;  // pixels to the next origin
  std::int32_t face = -1;    // index of the face that drew it; -1 = the missing-glyph shape
  std::uint32_t offset = 0;  // of the first row in the font's bit store
};


class ResolvedFont final : public TFontFace {
 public:
  explicit ResolvedFont(const TFont& font);

  void Draw(TBitmap& surface, int x, int y, char16_t ch, std::uint32_t colour) const override;
  void InkRows(int x, int y, char16_t ch, int width, int height, std::uint32_t* ink) const override;
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


// ---- the process-wide cache (font_faces.cpp) ----

// Everything opened or resolved once per thread that draws.
struct Registry {
  std::shared_ptr<FtLibrary> lib = std::make_shared<FtLibrary>();
  std::map<std::pair<std::string, long>, std::shared_ptr<FtFace>> faces;
  std::unordered_map<std::string, std::shared_ptr<const ResolvedFont>> fonts;
  std::map<std::string, std::shared_ptr<FallbackList>> fallbacks;
};


Registry& Reg();

}  // namespace mipofc::fontdetail
