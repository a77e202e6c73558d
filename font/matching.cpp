// fontconfig: the family rules we ship, matching a family, and per-character fallback faces.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <mutex>

#include "base/file_read.h"
#include "font/fonts_conf.h"
#include "font/font_impl.h"

namespace mipofc {

namespace {

// The folder of the running program, from the kernel's link to it; "" when unknown.
std::string ProgramFolder() {
  std::string path(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return "";
  path.resize(static_cast<std::size_t>(n));
  return std::filesystem::path(path).parent_path().string();
}

// The family names of the <test name="family"> elements of a fontconfig file's text, in order.
std::vector<std::string> TestedFamilies(const std::string& conf) {
  std::vector<std::string> names;
  for (std::size_t at = conf.find("<test"); at != std::string::npos; at = conf.find("<test", at + 1)) {
    const std::size_t end = conf.find("</test>", at);
    if (end == std::string::npos) break;
    const std::string test = conf.substr(at, end - at);
    const std::size_t open = test.find("<string>");
    const std::size_t close = test.find("</string>");
    if (test.find("name=\"family\"") == std::string::npos || open == std::string::npos || close < open) continue;
    std::string name = test.substr(open + 8, close - open - 8);
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
  }
  return names;
}

}  // namespace

std::vector<std::string> RuleFamilyNames() {
  const std::string file = FamilyRulesFile();
  if (!file.empty()) {
    try {
      return TestedFamilies(ReadFileBytes(file));
    } catch (const TFileError&) {
      // Unreadable now: the rules in effect are the copy compiled in, as for matching.
    }
  }
  return TestedFamilies(FontsConf);
}

std::string FamilyRulesFile() {
  static const std::string file = [] {
    const std::string folder = ProgramFolder();
    if (folder.empty()) return std::string();
    const std::filesystem::path installed =
        (std::filesystem::path(folder) / "../share/mipofc/mipofc-fonts.conf").lexically_normal();
    return ::access(installed.c_str(), R_OK) == 0 ? installed.string() : std::string();
  }();
  return file;
}

}  // namespace mipofc

namespace mipofc::fontdetail {

// The configuration to match in, with our family rules loaded into it once.
FcConfig* Config() {
  // The configuration is the process's, shared by every thread's registry: the rules go in once.
  static std::mutex mutex;
  static FcConfig* configured = nullptr;  // the configuration our rules were loaded into
  std::lock_guard lock(mutex);
  FcConfig* config = FcConfigGetCurrent();
  if (!config) throw TFontError("fontconfig", TFailure{TFailureKind::FontConfigMissing, {}});
  // The current configuration is replaced when fontconfig reloads; the rules go into each.
  if (config != configured) {
    // An installed program reads the installed file, so that its rules can be changed there;
    // a build, or an installation without the file, uses the copy compiled in.
    const std::string rules = FamilyRulesFile();
    if (rules.empty() || !FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(rules.c_str()), FcTrue))
      FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(FontsConf), FcTrue);
    // Held so that its address is not reused by a later configuration.
    FcConfigReference(config);
    configured = config;
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
  if (!pat) throw TFontError(font.Name, TFailure{TFailureKind::OutOfMemory, {}});
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


double MatchPixels(const TFont& font) {
  // A positive height is a cell height, known as an em only once the face is known.
  return font.Height > 0 ? font.Height : EmFor(font, nullptr);
}

namespace {

using PatternPtr = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;

// fontconfig's best face for the font's family at pixels, and the substituted pattern it was
// chosen for. Throws TFontError when nothing matches.
std::pair<PatternPtr, PatternPtr> BestMatch(FcConfig* config, const TFont& font, double pixels) {
  PatternPtr pattern(FamilyPattern(config, font, pixels), FcPatternDestroy);
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(config, pattern.get(), &result), FcPatternDestroy);
  FcChar8* file = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch)
    throw TFontError(font.Name, TFailure{TFailureKind::FontNoMatch, {}});
  return {std::move(pattern), std::move(match)};
}

// Family names compare as fontconfig compares them: ignoring case and blanks.
bool SameFamily(const char* a, const char* b) {
  for (;;) {
    while (*a == ' ') ++a;
    while (*b == ' ') ++b;
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
    if (*a == '\0') return true;
    ++a;
    ++b;
  }
}

const char* StringOf(const FcPattern* pattern, const char* object, int n) {
  FcChar8* value = nullptr;
  return FcPatternGetString(pattern, object, n, &value) == FcResultMatch ? reinterpret_cast<const char*>(value)
                                                                          : nullptr;
}

}  // namespace

std::pair<std::string, int> MatchFamily(FcConfig* config, const TFont& font, double pixels) {
  const auto [pattern, match] = BestMatch(config, font, pixels);
  int index = 0;
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
  return {StringOf(match.get(), FC_FILE, 0), index};
}

}  // namespace mipofc::fontdetail

namespace mipofc {

TFamilyMatch MatchFontFamily(const TFont& font) {
  using namespace fontdetail;
  const auto [pattern, match] = BestMatch(Config(), font, MatchPixels(font));
  TFamilyMatch found;
  found.File = StringOf(match.get(), FC_FILE, 0);
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &found.FaceIndex);
  if (const char* family = StringOf(match.get(), FC_FAMILY, 0)) found.Family = family;
  // The substituted pattern lists the families to try, best first: the name itself, what rules
  // put before it (our Windows names, fontconfig's aliases), and after it the defaults. The
  // name is there when the face drawn with is one of the name or of a family before it.
  int requested = -1, matched = -1;
  for (int i = 0; const char* wanted = StringOf(pattern.get(), FC_FAMILY, i); ++i) {
    if (requested < 0 && SameFamily(wanted, font.Name.c_str())) requested = i;
    for (int j = 0; matched < 0 && StringOf(match.get(), FC_FAMILY, j); ++j)
      if (SameFamily(wanted, StringOf(match.get(), FC_FAMILY, j))) matched = i;
  }
  // A rule that replaced the name leaves only its place: the first family.
  found.Installed = matched >= 0 && matched <= (requested >= 0 ? requested : 0);
  bool named = false;
  for (int j = 0; !named && StringOf(match.get(), FC_FAMILY, j); ++j)
    named = SameFamily(StringOf(match.get(), FC_FAMILY, j), font.Name.c_str());
  found.Mapped = found.Installed && !named;
  return found;
}

}  // namespace mipofc
