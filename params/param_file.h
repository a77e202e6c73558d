#pragma once

#include <stdexcept>
#include <string>

#include "font/font.h"
#include "params/ini.h"
#include "params/options.h"

namespace mipofc {

/// The folder of a parameter file does not exist, so nothing was read or written. what() is
/// "找不到文件路径" + folder on loading and that + "   你的设置将掉失。" on saving.
class TParamFolderError : public std::runtime_error {
 public:
  TParamFolderError(const std::string& folder, bool saving);
  /// The missing folder, with its trailing separator.
  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
};

/// Applies a parameter file to v in the window's order: cell size and its list rules, sliders
/// and fields clamped, the scan buttons as one radio group, list indexes, then the font keys,
/// which decide the font size; "FontFile" and "FontFace" name a font file used instead of the
/// family (GBK text, or a file: URI of the path's bytes, percent-encoded). A missing file in an
/// existing folder gives every key's default; an index outside its list, and any value the
/// window could not hold, reads as the key's default. Throws TParamFolderError, or TFileError(path, strerror) for an unreadable file;
/// v is unchanged then.
void LoadParamFile(const std::string& path, TOptionValues& v);
/// LoadParamFile of a file named on purpose (--params): a missing or unreadable file throws
/// TFileError(path, strerror); a file with none of the parameter sections TFileError(path, "not a
/// parameter file: ..."), and so does a FontFile value that is a file: URI of no path. Values out
/// of range read as LoadParamFile reads them.
void LoadNamedParamFile(const std::string& path, TOptionValues& v);
/// LoadParamFile's steps over a parameter file's text that is already read.
void ApplyParams(const TIniFile& ini, TOptionValues& v);

/// Writes v's keys into a parameter file key by key in the table's order, in GBK, keeping the
/// file's other lines; the font keys carry the font in use (v.Font), "FontFile" and "FontFace"
/// only while it names a font file (a path GBK cannot hold as a file: URI), cleared otherwise.
/// The table keys (section "码表") are written once they differ from the defaults or the file
/// has them. Throws TParamFolderError, TIniWriteError ("Unable to write to <path>"), or
/// TFileError for a font name that GBK cannot hold; the file on disk is unchanged then.
void SaveParamFile(const std::string& path, const TOptionValues& v);

/// The style integer of a font: bold 1 + italic 2 + underline 4 + strike-out 8.
int FontStyleToInt(const TFont& font);
/// Sets a font's four styles from a style integer taken apart from the top: values above 15
/// set all four, negative values none.
void IntToFontStyle(int style, TFont& font);

}  // namespace mipofc
