// fontconfig: the family rules we ship, matching a family, and per-character fallback faces.
#include "engine/fonts_conf.h"
#include "engine/font_impl.h"

namespace mipofc::fontdetail {

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


std::pair<std::string, int> MatchFamily(FcConfig* config, const TFont& font, double pixels) {
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
  std::pair<std::string, int> found(reinterpret_cast<const char*>(file), index);
  FcPatternDestroy(match);
  return found;
}

}  // namespace mipofc::fontdetail
