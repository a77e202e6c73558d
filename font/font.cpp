#include "font/font.h"

#include <climits>
#include <string>

#include "font/font_impl.h"

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

std::string KeyOf(const TFont& f) {
  std::string key = f.Name;
  for (int v : {f.Size, f.Height, int{f.Bold}, int{f.Italic}, int{f.Underline}, int{f.StrikeOut}, f.CharSet,
                f.FaceIndex}) {
    key += '\n';
    key += std::to_string(v);
  }
  key += '\n';
  key += f.File;
  if (!f.File.empty()) key += '\n' + fontdetail::FileStamp(f.File);
  return key;
}

}  // namespace

std::shared_ptr<const TFontFace> ResolveFont(const TFont& font) {
  using namespace fontdetail;
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
  for (const auto& entry : fontdetail::Reg().fonts) entry.second->ClearGlyphs();
}

}  // namespace mipofc
