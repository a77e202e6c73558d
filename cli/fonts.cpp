// mipofc-cli fonts: the faces fontconfig offers and their bitmap strikes, or what one family
// name comes to when export draws with it.
#include <iostream>
#include <memory>

#include "cli/command.h"
#include "cli/flags.h"
#include "font/font.h"

namespace mipofc::cli {

namespace {

struct TFontsFlags {
  std::optional<std::string> family;
  bool cjk = false;
  std::optional<int> size;
  bool bold = false, italic = false;
};

// "12 px (9 pt), 13 px (10 pt), 14 px (no point size)": each strike and the sizes that give it.
std::string StrikesText(const std::vector<int>& pixels) {
  if (pixels.empty()) return "no strikes";
  std::string text;
  for (const int px : pixels) {
    std::string points;
    for (const int pt : PointSizesForEmPixels(px)) points += (points.empty() ? "" : ", ") + std::to_string(pt);
    text += (text.empty() ? "" : ", ") + std::to_string(px) + " px (" +
            (points.empty() ? std::string("no point size") : points + " pt") + ")";
  }
  return text;
}

// One face a line, its fields separated by tabs: family, style, file, index, kind, strikes.
std::string FaceLine(const std::string& file, const TFontFileFace& face) {
  return face.Family + "\t" + face.Style + "\t" + file + "\t" + std::to_string(face.Index) + "\t" +
         (face.Outline ? "outline" : "bitmap") + "\t" + StrikesText(face.StrikePixels);
}

int ListFaces(bool cjk) {
  const std::vector<TInstalledFace> faces = InstalledFaces(cjk);
  for (const TInstalledFace& face : faces) std::cout << FaceLine(face.File, face.Face) << "\n";
  if (faces.empty())
    std::cerr << (cjk ? "fontconfig offers no face with the common ideographs\n" : "fontconfig offers no face\n");
  return 0;
}

int ShowFamily(const TFontsFlags& f) {
  // The font export would draw with: the start state and the same flags.
  TOptionFlags flags;
  flags.font = f.family;
  flags.size = f.size;
  flags.bold = f.bold;
  flags.italic = f.italic;
  TOptionValues values;
  ApplyFlags(flags, values);
  const TFamilyMatch match = MatchFontFamily(values.Font);
  const std::string& name = *f.family;
  if (!match.Installed)
    std::cout << name << " is not installed: substituted by " << match.Family << "\n";
  else if (match.Mapped)
    std::cout << name << " is mapped to " << match.Family << "\n";
  else
    std::cout << name << " is installed\n";
  TFontFileFace face = FontFileFace(match.File, match.FaceIndex);
  face.Family = match.Family;
  std::cout << FaceLine(match.File, face) << "\n";
  return 0;
}

int RunFonts(const TFontsFlags& f) {
  if (!f.family) {
    if (f.size || f.bold || f.italic) throw UsageError("--size, --bold and --italic need a FAMILY to match");
    return ListFaces(f.cjk);
  }
  if (f.cjk) throw UsageError("--cjk filters the listing: give no FAMILY with it");
  return ShowFamily(f);
}

}  // namespace

TCommand AddFontsCommand(CLI::App& app) {
  auto f = std::make_shared<TFontsFlags>();
  CLI::App* cmd = app.add_subcommand("fonts", "list the faces fontconfig offers, or what FAMILY comes to");
  cmd->add_option("FAMILY", f->family, "a family name, matched as export --font matches it");
  cmd->add_flag("--cjk", f->cjk,
                "only the faces that have all of the 100 most frequent characters of modern Chinese");
  const TOptionValues start;
  cmd->add_option("--size", f->size, "with FAMILY: the size in points to match at, 6..28")
      ->check(CLI::Range(6, 28))
      ->default_str(std::to_string(start.FontSize));
  cmd->add_flag("--bold", f->bold, "with FAMILY: match the bold style");
  cmd->add_flag("--italic", f->italic, "with FAMILY: match the italic style");
  cmd->footer(
      "One face a line, fields separated by tabs: family, style, file, face index, outline or bitmap,\n"
      "and its bitmap strikes as \"12 px (9 pt), 14 px (no point size)\": the em height in pixels and\n"
      "the size in points 6..28 that gives it (em = round(pt x 96 / 72)), or \"no strikes\".\n"
      "With FAMILY, a first line says whether the name is installed, mapped to another family by a\n"
      "rule or alias, or substituted, and the face line of the face export draws with follows.");
  return {cmd, [f] { return RunFonts(*f); }};
}

}  // namespace mipofc::cli
