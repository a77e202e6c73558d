#include "jobs/bdf_font.h"

#include <memory>
#include <stdexcept>

#include "base/file_write.h"
#include "font/font.h"
#include "table/chars.h"

namespace mipofc {

namespace {

constexpr std::size_t StepGlyphs = 256;
constexpr char16_t Replacement = 0xFFFD;
// A lone surrogate half: the faces draw their missing glyph for it.
constexpr char16_t LoneHalf = 0xD800;

bool Surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

std::string SourceFamily(const TFont* font) {
  if (font == nullptr) return "MipoFC";
  if (!font->File.empty()) return FontFileFace(font->File, font->FaceIndex).Family;
  return MatchFontFamily(*font).Family;
}

}  // namespace

std::optional<TBdfFont> BdfFontOfText(const TChrSettings& settings, std::u16string_view text,
                                      const TJobControl& control) {
  auto engine = std::make_unique<TChr>();
  engine->ApplySettings(settings);
  if (!engine->InkRowsSuffice()) throw std::invalid_argument("a BDF font takes cells of 1..32 pixels a side");
  engine->PrepareCell();
  TBdfFont font;
  font.Family = SourceFamily(settings.Font) + " MipoFC";
  if (settings.Font != nullptr) {
    font.Bold = settings.Font->Bold;
    font.Italic = settings.Font->Italic;
  }
  font.CellWidth = settings.CellWidth;
  font.CellHeight = settings.CellHeight;
  font.Ascent = CellAscent(*engine);

  const std::u16string chars = DistinctCharacters(text, TCharOrder::First).Chars;
  bool halves = false, replacement = false;
  for (const char16_t c : chars) {
    halves = halves || Surrogate(c);
    replacement = replacement || c == Replacement;
  }
  std::u16string drawn;
  for (const char16_t c : chars)
    if (!Surrogate(c)) drawn += c;
  const std::int64_t steps = static_cast<std::int64_t>((drawn.size() + StepGlyphs - 1) / StepGlyphs) + (halves ? 1 : 0);
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    TBdfGlyph glyph{drawn[i], {}};
    engine->CellInk(drawn[i], glyph.Ink);
    font.Glyphs.push_back(glyph);
    if ((i + 1) % StepGlyphs == 0 || i + 1 == drawn.size())
      if (!control.Step(static_cast<std::int64_t>((i + StepGlyphs) / StepGlyphs), steps)) return std::nullopt;
  }
  if (halves) {
    // The edited font draws the glyph it lacks as its default one, as the source drew the halves.
    if (!replacement) {
      TBdfGlyph glyph{Replacement, {}};
      engine->CellInk(LoneHalf, glyph.Ink);
      font.Glyphs.push_back(glyph);
    }
    font.DefaultChar = Replacement;
    if (!control.Step(steps, steps)) return std::nullopt;
  }
  return font;
}

TBdfFontResult WriteBdfFont(const std::string& path, const TChrSettings& settings, std::u16string_view text,
                            const TJobControl& control) {
  TBdfFontResult result;
  const std::optional<TBdfFont> font = BdfFontOfText(settings, text, control);
  if (!font) {
    result.Cancelled = true;
    return result;
  }
  if (font->Glyphs.empty()) return result;
  WriteFileAtomically(path, BdfFontBytes(*font));
  result.Characters = static_cast<std::int64_t>(font->Glyphs.size());
  return result;
}

}  // namespace mipofc
