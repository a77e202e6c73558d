#include "jobs/scenes.h"

#include "text/text.h"

namespace mipofc {

namespace {

bool BlankLine(std::u16string_view line) {
  for (char16_t c : line)
    if (c != u' ' && c != u'\u3000' && c != u'\t') return false;
  return true;
}

bool Separates(std::u16string_view line, const TSceneSplit& split) {
  switch (split.Mode) {
    case TSceneMode::Blank: return BlankLine(line);
    case TSceneMode::Line: return true;
    case TSceneMode::Marker: return line == split.Marker;
  }
  return false;
}

// Gathers the lines of one scene; lines without a character wait until a later line has one.
class TSceneBuilder {
 public:
  explicit TSceneBuilder(std::vector<TScene>& scenes) : scenes_(scenes) {}

  void Add(std::u16string_view line, std::int64_t number) {
    if (line.empty()) {
      if (open_) pending_.push_back(number);
      return;
    }
    if (!open_) {
      scenes_.push_back({number, number, {}});
      open_ = true;
    } else {
      scenes_.back().Text.append(pending_.size() + 1, u'\n');
    }
    pending_.clear();
    scenes_.back().Text.append(line);
    scenes_.back().LastLine = number;
  }
  void End() {
    open_ = false;
    pending_.clear();
  }

 private:
  std::vector<TScene>& scenes_;
  std::vector<std::int64_t> pending_;
  bool open_ = false;
};

}  // namespace

std::optional<TSceneSplit> SceneSplitNamed(std::string_view name) {
  if (name == "blank") return TSceneSplit{TSceneMode::Blank, {}};
  if (name == "line") return TSceneSplit{TSceneMode::Line, {}};
  constexpr std::string_view marker = "marker:";
  if (name.substr(0, marker.size()) != marker || name.size() == marker.size()) return std::nullopt;
  const std::string_view text = name.substr(marker.size());
  if (!IsValidUtf8(text)) return std::nullopt;
  return TSceneSplit{TSceneMode::Marker, Utf8ToUtf16(text)};
}

std::vector<TScene> SplitScenes(std::u16string_view script, const TSceneSplit& split) {
  std::vector<TScene> scenes;
  TSceneBuilder builder(scenes);
  std::int64_t number = 0;
  for (std::size_t i = 0; i < script.size();) {
    std::size_t end = i;
    while (end < script.size() && script[end] != u'\r' && script[end] != u'\n') ++end;
    const std::u16string_view line = script.substr(i, end - i);
    ++number;
    if (split.Mode == TSceneMode::Line) {
      builder.Add(line, number);
      builder.End();
    } else if (Separates(line, split)) {
      builder.End();
    } else {
      builder.Add(line, number);
    }
    i = end;
    if (i < script.size()) i += script[i] == u'\r' && i + 1 < script.size() && script[i + 1] == u'\n' ? 2 : 1;
  }
  return scenes;
}

}  // namespace mipofc
