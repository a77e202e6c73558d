#include "base/file_read.h"
#include "cli/flags.h"

#include <filesystem>
#include <iostream>
#include <iterator>
#include <sstream>

#include "base/errors.h"
#include "base/hex.h"
#include "font/font.h"
#include "engine/formats.h"
#include "params/param_file.h"
#include "text/text.h"

namespace mipofc::cli {

namespace {

const char* const CellFlagTexts[7] = {"8x8", "8x16", "16x8", "16x16", "16x32", "32x16", "32x32"};

std::string ModeList(const TOptionValues& v) {
  std::string list;
  for (const std::string& item : v.EncodingItems) list += (list.empty() ? "" : ", ") + item.substr(0, 1);
  return list;
}

// Selects the list item whose leading digit is digit; false when the list has none.
bool SelectDigit(const std::vector<std::string>& items, int digit, int& index) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (!items[i].empty() && items[i][0] == '0' + digit) {
      index = static_cast<int>(i);
      return true;
    }
  return false;
}

}  // namespace

int ParseColour(const std::string& text, const char* flag) {
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    throw UsageError(std::string(flag) + ": '" + text + "' is not a colour RRGGBB");
  const unsigned long rgb = std::stoul(text, nullptr, 16);
  // The surfaces hold 0x00BBGGRR.
  return static_cast<int>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

TPalette ParsePalette(const std::optional<std::string>& text) {
  if (!text) return DefaultPalette;
  TPalette palette;
  std::istringstream in(*text);
  std::string part;
  int i = 0;
  while (std::getline(in, part, ',')) {
    if (i == 4) throw UsageError("--palette: give exactly four colours RRGGBB,RRGGBB,RRGGBB,RRGGBB");
    palette[i++] = static_cast<TColor>(ParseColour(part, "--palette"));
  }
  if (i != 4) throw UsageError("--palette: give exactly four colours RRGGBB,RRGGBB,RRGGBB,RRGGBB");
  return palette;
}

/// Applies the flags over the values in effect the way the window's controls would take them.
void ApplyFlags(const TOptionFlags& f, TOptionValues& v) {
  if (f.cell) {
    int index = -1;
    for (int i = 0; i < 7; ++i)
      if (*f.cell == CellFlagTexts[i]) index = i;
    if (index < 0)
      throw UsageError("--cell: '" + *f.cell + "' is not one of 8x8 8x16 16x8 16x16 16x32 32x16 32x32");
    const int mode = SelectedEncodeMode(v), distribution = SelectedDistribution(v);
    v.CellSizeIndex = index;
    ApplySizeRules(v);
    // Keep the mode and distribution in effect where the new size offers them.
    SelectDigit(v.EncodingItems, mode, v.EncodingIndex);
    SelectDigit(v.DistributionItems, distribution, v.DistributionIndex);
  }
  const std::string cell = CellFlagTexts[ClampTo(v.CellSizeIndex, 0, 6)];

  if (f.mode) {
    if (!SelectDigit(v.EncodingItems, *f.mode, v.EncodingIndex))
      throw UsageError("--mode " + std::to_string(*f.mode) + ": " + cell + " cells offer encoding modes " +
                       ModeList(v));
  }
  // The colour-overlap modes fold two one-colour tiles into one: background 0 and glyph 1 only.
  ApplyEncodingRule(v);
  if (v.ColoursLocked) {
    if (f.bg && *f.bg != 0)
      throw UsageError("--bg " + std::to_string(*f.bg) + ": encoding modes 3 and 4 use background 0");
    if (f.glyph && *f.glyph != 1)
      throw UsageError("--glyph " + std::to_string(*f.glyph) + ": encoding modes 3 and 4 use glyph 1");
  } else {
    if (f.bg) v.BgIndex = *f.bg;
    if (f.glyph) v.GlyphIndex = *f.glyph;
  }
  if (f.m) v.M = *f.m;

  if (f.distribution) {
    const int digit = *f.distribution == "continuous" ? 0 : 1;
    if (!SelectDigit(v.DistributionItems, digit, v.DistributionIndex))
      throw UsageError("--distribution block: " + cell + " cells offer only continuous distribution");
  }
  if (f.scan) {
    const bool horizontal = *f.scan == "h";
    if (!v.ScanEnabled && horizontal != v.ScanHorizontal)
      throw UsageError("--scan " + *f.scan + ": " + cell + " cells scan " +
                       (v.ScanHorizontal ? "row by row (h)" : "column by column (v)"));
    CheckScan(v, horizontal, true);
  }
  if (f.limit) v.LimitIndex = *f.limit == "1K" ? 0 : *f.limit == "2K" ? 1 : 2;
  if (f.narrowWide) v.NarrowWide = *f.narrowWide;
  if (f.offset) {
    int x = 0, y = 0;
    char comma = 0;
    std::istringstream in(*f.offset);
    if (!(in >> x >> comma >> y) || comma != ',' || !(in >> std::ws).eof())
      throw UsageError("--offset: '" + *f.offset + "' is not X,Y");
    v.PosX = x;
    v.PosY = y;
  }

  if (f.font) {
    if (f.font->empty()) throw UsageError("--font: the family name is empty; give one such as 宋体, or --font-file");
    v.Font.Name = *f.font;
    v.Font.File.clear();
  }
  if (f.fontFile) {
    v.Font.File = *f.fontFile;
    v.Font.FaceIndex = f.faceIndex.value_or(0);
  }
  if (f.bold) v.Font.Bold = true;
  if (f.italic) v.Font.Italic = true;
  if (f.underline) v.Font.Underline = true;
  if (f.strikeout) v.Font.StrikeOut = true;
  if (f.size) SetFontSize(v, *f.size);
  v.DialogFont = v.Font;
}

TOptionValues GatherOptions(const TOptionFlags& f) {
  TOptionValues values;
  if (f.params) LoadNamedParamFile(*f.params, values);
  ApplyFlags(f, values);
  CheckFontFamily(values.Font, f.strictFont);
  return values;
}

void SaveOptions(const TOptionFlags& f, const TOptionValues& values) {
  if (!f.saveParams) return;
  try {
    SaveParamFile(*f.saveParams, values);
  } catch (const TIniWriteError& e) {
    throw TFileError(e.Path(), e.Failure());
  } catch (const TParamFolderError& e) {
    std::error_code ec;
    // The folder is named with its separator ("out/"); what stands there is its parent path.
    const std::filesystem::path folder = std::filesystem::path(e.Folder()).parent_path();
    throw TFileError(*f.saveParams, TFailure{std::filesystem::exists(folder, ec) ? TFailureKind::NotAFolder
                                                                                : TFailureKind::FolderMissing,
                                             {e.Folder()}});
  }
  if (!f.quiet) std::cout << *f.saveParams << "\n";
}

TOptionValues ResolveOptions(const TOptionFlags& f) {
  TOptionValues values = GatherOptions(f);
  SaveOptions(f, values);
  return values;
}

void CheckFontFamily(const TFont& font, bool strict) {
  if (!font.File.empty()) return;
  const TFamilyMatch match = MatchFontFamily(font);
  if (match.Installed) return;
  if (strict) throw std::runtime_error(font.Name + " is not installed (--strict-font): fontconfig offers " + match.Family);
  std::cerr << font.Name << " is not installed: drawing with " << match.Family << "\n";
}

void CheckOutputName(const std::string& name, const std::string& flag) {
  if (name.empty()) throw UsageError(flag + ": the name is empty; give a file name such as font.chr");
  if (name.back() == '/')
    throw UsageError(flag + " " + name + ": the name ends in a path separator; give a file name after it");
  std::error_code ec;
  if (std::filesystem::is_directory(name, ec))
    throw UsageError(flag + " " + name + ": names an existing folder; give a file name in it");
}

void CheckOutputOptions(const CLI::App& cmd, const std::vector<std::string>& options) {
  for (const std::string& flag : options) {
    const CLI::Option* output = cmd.get_option_no_throw(flag);
    if (output && output->count() > 0) CheckOutputName(output->as<std::string>(), flag);
  }
}

std::u16string ReadInput(const std::string& input) { return JoinedText(ReadTextInput(input)); }

void AddQuietFlag(CLI::App& cmd, bool& quiet) { cmd.add_flag("-q,--quiet", quiet, "print nothing on success"); }

void AddOptionFlags(CLI::App& cmd, TOptionFlags& f) {
  // The defaults shown are the window's start state, which a command starts from.
  const TOptionValues start;
  const auto number = [](int n) { return std::to_string(n); };
  cmd.add_option("--cell", f.cell, "glyph cell WxH")
      ->check(CLI::IsMember(std::vector<std::string>(std::begin(CellFlagTexts), std::end(CellFlagTexts))))
      ->default_str(CellFlagTexts[start.CellSizeIndex]);
  cmd.add_option("--font", f.font, "font family")->default_str(start.Font.Name);
  cmd.add_option("--font-file", f.fontFile, "a font file (TTF, OTF, TTC, BDF, PCF) instead of a family");
  cmd.add_option("--face-index", f.faceIndex, "face of a font collection, with --font-file")
      ->check(CLI::NonNegativeNumber)
      ->default_str(number(start.Font.FaceIndex));
  cmd.add_option("--size", f.size, "font size in points, 6..28")
      ->check(CLI::Range(6, 28))
      ->default_str(number(start.FontSize));
  cmd.add_flag("--bold", f.bold, "bold");
  cmd.add_flag("--italic", f.italic, "italic");
  cmd.add_flag("--underline", f.underline, "underline");
  cmd.add_flag("--strikeout", f.strikeout, "strike-out");
  cmd.add_option("--narrow-wide", f.narrowWide, "squeeze: negative narrower, positive flatter, -6..6")
      ->check(CLI::Range(-6, 6))
      ->default_str(number(start.NarrowWide));
  cmd.add_option("--offset", f.offset, "drawing position X,Y in pixels")
      ->default_str(number(start.PosX) + "," + number(start.PosY));
  cmd.add_option("--bg", f.bg, "background colour index 0..3")
      ->check(CLI::Range(0, 3))
      ->default_str(number(start.BgIndex));
  cmd.add_option("--glyph", f.glyph, "glyph colour index 0..3")
      ->check(CLI::Range(0, 3))
      ->default_str(number(start.GlyphIndex));
  cmd.add_option("--scan", f.scan,
                 "tile order in a cell: h (row by row) or v (column by column)")
      ->check(CLI::IsMember({"h", "v"}))
      ->default_str("from the cell size, v for 8x16 and h for the others");
  cmd.add_option("--mode", f.mode,
                 "encoding: 0 normal, 1 shift by M, 2 45-degree, 3 fold rows, 4 fold columns")
      ->check(CLI::Range(0, 4))
      ->default_str(number(SelectedEncodeMode(start)));
  cmd.add_option("--m", f.m, "shift of mode 1, 1..15")->check(CLI::Range(1, 15))->default_str(number(start.M));
  cmd.add_option("--distribution", f.distribution,
                 "continuous or block")
      ->check(CLI::IsMember({"continuous", "block"}))
      ->default_str("block, and continuous for 8x8, which offers only that");
  cmd.add_option("--limit", f.limit, "bank size")
      ->check(CLI::IsMember({"1K", "2K", "4K"}))
      ->default_str(LimitTexts[static_cast<std::size_t>(start.LimitIndex)]);
  AddQuietFlag(cmd, f.quiet);
  cmd.add_flag("--strict-font", f.strictFont, "a font family that is not installed is an error, not a warning");
  cmd.add_option("--params", f.params,
                 "start from a parameter file (.ini), as the window opens it; flags apply on top");
  cmd.add_option("--save-params", f.saveParams, "write the options in effect as a parameter file (.ini)");
  cmd.footer("The defaults are the window's start values; with --params FILE, FILE's values are.");
}

std::string PaletteText(const TPalette& palette) {
  std::string text;
  for (const TColor colour : palette) {
    // The surfaces hold 0x00BBGGRR; the text is RRGGBB.
    const unsigned c = static_cast<unsigned>(colour);
    const unsigned rgb = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    if (!text.empty()) text += ',';
    text += HexText(rgb, 6);
  }
  return text;
}

}  // namespace mipofc::cli
