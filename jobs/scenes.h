#pragma once

// A script cut into scenes: the stretches of text a game shows while one set of banks is in.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mipofc {

/// How a script is cut into scenes.
enum class TSceneMode {
  Blank,   ///< scenes are separated by lines that are empty or hold only spaces
  Line,    ///< each line that holds a character is a scene
  Marker,  ///< a line that is exactly the marker separates scenes and belongs to none
};

/// A scene mode and, for Marker, its marker line.
struct TSceneSplit {
  TSceneMode Mode = TSceneMode::Blank;
  std::u16string Marker;
};

/// The split a mode's name asks for: "blank", "line" or "marker:TEXT" (TEXT in UTF-8, not
/// empty); nullopt for another name.
std::optional<TSceneSplit> SceneSplitNamed(std::string_view name);

/// One scene of a script.
struct TScene {
  std::int64_t FirstLine = 0;  ///< its first line, counted from 1 as in the file
  std::int64_t LastLine = 0;   ///< its last line
  std::u16string Text;         ///< its lines joined by LF (no line break at the end)
};

/// The scenes of a script in order. Lines end in CR LF, LF or CR; a line break at the very end
/// starts no line. A scene never starts or ends with a line that holds no character, so
/// separators at the ends of the script (or several in a row) make no empty scene.
std::vector<TScene> SplitScenes(std::u16string_view script, const TSceneSplit& split);

}  // namespace mipofc
