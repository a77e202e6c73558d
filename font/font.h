#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mipofc {

class TBitmap;

/// A font as the window holds it: face name, size, style, character set and colour.
/// A font file may be named instead of a family (File, FaceIndex).
struct TFont {
  std::string Name = "宋体";  ///< family name, UTF-8
  int Size = 10;              ///< points; kept in step with Height at 96 pixels per inch
  int Height = -13;           ///< pixels; negative = em height, positive = cell height
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int CharSet = 0;            ///< 0 ANSI, 134 GB2312 (a language hint for matching), ...
  std::int32_t Color = 0;     ///< 0x00BBGGRR, or a system colour such as 0x80000008
  std::string File;           ///< a font file (TTF, OTF, TTC, BDF, PCF) instead of Name; "" = match Name
  int FaceIndex = 0;          ///< face of a collection file

  /// Sets the size in points and the height to -round(pt x 96 / 72).
  void SetSize(int points);
  /// Sets the height in pixels and the size to -round(height x 72 / 96).
  void SetHeight(int pixels);
  /// True when both fonts draw the same glyphs (every field but Color).
  bool SameFace(const TFont& other) const;
};

/// MulDiv as the window's font arithmetic uses it: a x b / c rounded half away from zero.
int MulDivRound(int a, int b, int c);

/// A font resolved to its faces at one pixel size, ready to draw characters. Shared and
/// immutable once made; faces and glyph bitmaps are cached per thread.
class TFontFace {
 public:
  virtual ~TFontFace() = default;
  /// Draws ch in colour with the top-left corner of its text box at (x, y): the baseline
  /// lies at y + Ascent(), the glyph bitmap at (x + left, y + Ascent() - top). Clipped.
  virtual void Draw(TBitmap& surface, int x, int y, char16_t ch, std::uint32_t colour) const = 0;
  /// ORs the pixels Draw would paint on a width x height surface (each clamped to 0..32) into
  /// ink[0..height): bit 31 - c of ink[r] is column c of row r.
  virtual void InkRows(int x, int y, char16_t ch, int width, int height, std::uint32_t* ink) const = 0;
  /// Baseline below the top of the text box, in pixels.
  virtual int Ascent() const = 0;
  /// The em height in pixels the faces are set to.
  virtual int EmPixels() const = 0;
  /// The file of the face that draws ch (after per-character fallback); "" if none has it.
  virtual std::string FaceFileFor(char16_t ch) const = 0;
};

/// The drawable form of a font; faces are opened once per process and cached.
/// Throws TFontError naming the font or file and the reason when nothing can be opened.
std::shared_ptr<const TFontFace> ResolveFont(const TFont& font);

/// One face of a font file, as a face choice or a font listing shows it.
struct TFontFileFace {
  int Index = 0;                  ///< the face's index in its file (TFont::FaceIndex)
  std::string Family;             ///< family name, UTF-8 (the file's name when the face has none)
  std::string Style;              ///< style name, UTF-8 ("Regular", "Bold", ...); may be empty
  bool Outline = false;           ///< scalable outlines; false = bitmap strikes only
  std::vector<int> StrikePixels;  ///< em heights in pixels of its bitmap strikes, ascending, distinct
};

/// The faces of a font file in index order: one for a TTF, OTF, BDF or PCF, every face of a
/// collection (TTC, OTC). Throws TFontError naming the file and the reason.
std::vector<TFontFileFace> FontFileFaces(const std::string& file);

/// One face of a font file as FontFileFaces describes it (index may name a collection's face).
/// Throws TFontError naming the file and the reason.
TFontFileFace FontFileFace(const std::string& file, int index);

/// One face that fontconfig offers: its file, and the face as FontFileFace describes it but
/// with Family the first family name fontconfig gives it (the name --font takes).
struct TInstalledFace {
  std::string File;
  TFontFileFace Face;
};

/// The characters a face must all have to count as covering the common ideographs: the 100
/// most frequent characters of modern Chinese text, most frequent first.
inline constexpr std::u16string_view CommonIdeographs =
    u"的一是不了在人有我他这个们中来上大为和国地到以说时要就出会可也你对生能而子那得于着下自之年过发后作里用"
    u"道行所然家种事成方多经么去法学如都同现当没动面起看定天分还进好小部其些主样理心她本前开但因只从想实";

/// The faces fontconfig offers, ordered by family, style, file and index; with
/// commonIdeographs only those that have every character of CommonIdeographs. A face FreeType
/// cannot open is left out. Throws TFontError when fontconfig has no configuration.
std::vector<TInstalledFace> InstalledFaces(bool commonIdeographs);

/// The size in points lo..hi whose em height round(pt x 96 / 72) is pixels; 0 when none is.
int PointsForEmPixels(int pixels, int lo = 6, int hi = 28);
/// Every size in points lo..hi whose em height round(pt x 96 / 72) is pixels, smallest first.
std::vector<int> PointSizesForEmPixels(int pixels, int lo = 6, int hi = 28);

/// Forgets the rendered glyphs of every font this thread has cached (faces stay open); for
/// measuring cold runs.
void ClearGlyphCaches();

/// What a family name comes to in fontconfig: the face a font of that family is drawn with,
/// and whether the name is really there.
struct TFamilyMatch {
  /// A face of the family is installed, or a rule (ours or fontconfig's) sends the name to a
  /// face that is; false when fontconfig fell back to its defaults.
  bool Installed = false;
  /// Installed through a rule or alias: the face drawn with carries another family's name
  /// (宋体 drawn with WenQuanYi Zen Hei Sharp, sans-serif with DejaVu Sans).
  bool Mapped = false;
  std::string Family;  ///< the first family name of the face drawn with
  std::string File;    ///< that face's file
  int FaceIndex = 0;   ///< that face's index in its file
};

/// The face that ResolveFont draws font.Name with (its style, language and em height taken
/// into account). Throws TFontError when fontconfig matches nothing.
TFamilyMatch MatchFontFamily(const TFont& font);

/// The family names our family rules send to other faces (宋体, SimSun, 黑体 ...), in the order
/// of the rules in effect, each once.
std::vector<std::string> RuleFamilyNames();

/// The fontconfig file whose family rules are in effect: share/mipofc/mipofc-fonts.conf beside
/// the program's bin folder when it is installed, "" for the copy built into the program.
std::string FamilyRulesFile();

}  // namespace mipofc
