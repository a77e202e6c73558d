#pragma once

// What every generating command shares: the flags of the window's options, how they apply over
// a parameter file, reading the input text, and the usage error.

#include <CLI/CLI.hpp>
#include <optional>
#include <stdexcept>
#include <string>

#include "engine/chr.h"
#include "params/options.h"

namespace mipofc::cli {

/// A command line the window could not have produced; exits 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

/// The window's options as flags; an unset optional keeps the value in effect.
struct TOptionFlags {
  std::optional<std::string> cell;
  std::optional<std::string> font;
  std::optional<std::string> fontFile;
  std::optional<int> faceIndex;
  std::optional<int> size;
  bool bold = false, italic = false, underline = false, strikeout = false;
  std::optional<int> narrowWide;
  std::optional<std::string> offset;
  std::optional<int> bg, glyph;
  std::optional<std::string> scan;
  std::optional<int> mode;
  std::optional<int> m;
  std::optional<std::string> distribution;
  std::optional<std::string> limit;
  bool quiet = false;
  bool strictFont = false;
  std::optional<std::string> params;
  std::optional<std::string> saveParams;
};

/// Adds -q, --quiet: print nothing on success.
void AddQuietFlag(CLI::App& cmd, bool& quiet);

/// Adds the option flags (and -q, --params, --save-params) to a command.
void AddOptionFlags(CLI::App& cmd, TOptionFlags& f);
/// Applies the flags over the values in effect the way the window's controls would take them.
/// Throws UsageError for what the window does not offer.
void ApplyFlags(const TOptionFlags& f, TOptionValues& v);
/// The option values of a command: the start state, then --params, then the flags; checks the
/// font family (CheckFontFamily); writes --save-params when given (and names it on standard
/// output unless quiet).
TOptionValues ResolveOptions(const TOptionFlags& f);
/// ResolveOptions in two steps, for a command that checks more before it writes anything: the
/// values of the start state, --params and the flags (the font family checked) ...
TOptionValues GatherOptions(const TOptionFlags& f);
/// ... then --save-params of the values.
void SaveOptions(const TOptionFlags& f, const TOptionValues& values);

/// A family that fontconfig does not have: a warning naming the face drawn with instead on
/// standard error, or with strict a TFontError (exit 1). A font file is not checked.
void CheckFontFamily(const TFont& font, bool strict);

/// Throws UsageError when name cannot be an output file: empty, ending in '/', or an existing
/// folder; flag names the option in the message.
void CheckOutputName(const std::string& name, const std::string& flag);
/// CheckOutputName for each of the options (names such as "-o", "--rom-out") that the parsed
/// command has and was given.
void CheckOutputOptions(const CLI::App& cmd, const std::vector<std::string>& options);

/// The joined text of a text file (UTF-8, UTF-16, GBK or RTF), or of standard input for "-".
std::u16string ReadInput(const std::string& input);

/// A colour "RRGGBB" as 0x00BBGGRR; flag names the option in the usage error.
int ParseColour(const std::string& text, const char* flag);

/// A palette as --palette takes it: "RRGGBB,RRGGBB,RRGGBB,RRGGBB".
std::string PaletteText(const TPalette& palette);

/// --palette: four colours "RRGGBB,RRGGBB,RRGGBB,RRGGBB" for indexes 0..3; the previews' start
/// colours (000000,FFFFFF,800000,008080) when unset.
TPalette ParsePalette(const std::optional<std::string>& text);

}  // namespace mipofc::cli
