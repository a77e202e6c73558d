#include "params/param_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string_view>

#include "base/errors.h"
#include "base/file_read.h"
#include "base/hex.h"
#include "params/ini.h"
#include "text/text.h"

namespace mipofc {
namespace {

// Section and key names as the file holds them, in GBK.
struct TNames {
  std::string CellSize, Font, Position, Colours, Scan, Encoding, Distribution, Limit;
  std::string NarrowWide, SizeSlider, Background, Glyph, Horizontal, Vertical;
};

const TNames& Names() {
  static const TNames names = [] {
    const auto gbk = [](const char* utf8) { return Utf8ToGbk(utf8).value(); };
    return TNames{gbk("字模尺寸"), gbk("字体属性"), gbk("位置"),   gbk("选色"),   gbk("扫描次序"),
                  gbk("编码方式"), gbk("输出分布"), gbk("限定输出量"), gbk("窄扁"),   gbk("字号"),
                  gbk("背景色"),   gbk("字模色"),   gbk("横"),     gbk("竖")};
  }();
  return names;
}

// Defaults of the keys the window does not read from its start state.
constexpr int DefaultCellSize = 3;  // 16*16
constexpr int DefaultLimit = 2;     // 4K
constexpr int DefaultCharSet = 134;
constexpr std::int32_t DefaultFontColor = static_cast<std::int32_t>(0x80000008u);  // window text
constexpr int DefaultFontSize = 9;
constexpr int DefaultFontHeight = -12;
// Far beyond any 32-pixel cell, and small enough that the size arithmetic cannot overflow.
constexpr int MaxFontPixels = 1000;
constexpr int MaxFontPoints = MaxFontPixels * 72 / 96;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void CheckFolder(const std::string& path, bool saving) {
  const std::string folder = FolderOf(path);
  struct stat st {};
  if (!folder.empty() && (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)))
    throw TParamFolderError(folder, saving);
}

// A list index the list does not have reads as the key's default, so the selection always
// names an item whose digit the settings can take.
int IndexIn(int index, size_t count, int fallback) {
  return index >= 0 && static_cast<size_t>(index) < count ? index : fallback;
}

int WithinOr(int value, int limit, int fallback) {
  return value != 0 && value >= -limit && value <= limit ? value : fallback;
}

std::string SelectedText(const std::vector<std::string>& items, int index) {
  return index >= 0 && static_cast<size_t>(index) < items.size() ? items[index] : std::string();
}

bool StartsWithFileScheme(std::string_view value) {
  if (value.size() < 5 || value[4] != ':') return false;
  for (int i = 0; i < 4; ++i)
    if ((value[i] | 0x20) != "file"[i]) return false;
  return true;
}

// The FontFile value of a path: its GBK bytes when GBK holds the path and gives it back unchanged,
// else a file: URI of the path's bytes, every byte but letters, digits and -._~/ as %XX.
std::string FontFileValue(const std::string& path) {
  // A line break or another control character cannot stand in an INI line as it is.
  const bool plain = std::none_of(path.begin(), path.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
  if (plain && !StartsWithFileScheme(path)) {
    const auto gbk = Utf8ToGbk(path);
    const auto back = gbk ? GbkToUtf16(*gbk) : std::nullopt;
    if (back && Utf16ToUtf8(*back) == path) return *gbk;
  }
  std::string uri = path.starts_with('/') ? "file://" : "file:";
  for (const unsigned char c : path) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
        std::string_view("-._~/").find(static_cast<char>(c)) != std::string_view::npos) {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += HexDigitChar(c >> 4);
      uri += HexDigitChar(c & 15);
    }
  }
  return uri;
}

// The path of a FontFile value, the inverse of FontFileValue; a value typed in some other
// encoding than GBK is taken as the bytes it is.
std::string FontFilePath(const std::string& value) {
  if (!StartsWithFileScheme(value)) {
    const auto text = GbkToUtf16(value);
    return text ? Utf16ToUtf8(*text) : value;
  }
  std::string_view rest = std::string_view(value).substr(5);
  if (rest.starts_with("//")) rest.remove_prefix(2);
  std::string path;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    const int hi = rest[i] == '%' && i + 2 < rest.size() ? HexDigit(static_cast<unsigned char>(rest[i + 1])) : -1;
    const int lo = hi >= 0 ? HexDigit(static_cast<unsigned char>(rest[i + 2])) : -1;
    if (lo >= 0) {
      path += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      path += rest[i];
    }
  }
  return path;
}

// Why a FontFile value names no file: a file: URI with an escape that is not %XX, or one that
// decodes to nothing or to a NUL byte; nullopt when it names one.
std::optional<TFailure> FontFileFault(const std::string& value) {
  if (!StartsWithFileScheme(value)) return std::nullopt;
  for (std::size_t i = value.find('%'); i != std::string::npos; i = value.find('%', i + 1)) {
    if (i + 2 >= value.size() || HexDigit(static_cast<unsigned char>(value[i + 1])) < 0 ||
        HexDigit(static_cast<unsigned char>(value[i + 2])) < 0)
      return TFailure{TFailureKind::FontFileUriEscape, {value, value.substr(i, 3)}};
  }
  const std::string path = FontFilePath(value);
  if (path.empty()) return TFailure{TFailureKind::FontFileUriEmpty, {value}};
  if (path.find('\0') != std::string::npos) return TFailure{TFailureKind::FontFileUriNul, {value}};
  return std::nullopt;
}

void ReadFontSection(const TIniFile& ini, const std::string& section, TFont& font) {
  // A name that is empty or not GBK is no font name the window could hold.
  const auto raw = ini.Value(section, "FontName");
  const auto name = raw && !raw->empty() ? GbkToUtf16(*raw) : std::nullopt;
  font.Name = name ? Utf16ToUtf8(*name) : "宋体";
  // A font file is used only when the file names one; a font file chosen before does not carry over.
  const auto file = ini.Value(section, "FontFile");
  font.File = file && !file->empty() ? FontFilePath(*file) : std::string();
  font.FaceIndex = font.File.empty() ? 0 : std::max(ini.ReadInteger(section, "FontFace", 0), 0);
  IntToFontStyle(ini.ReadInteger(section, "FontStyle", 0), font);
  const int charSet = ini.ReadInteger(section, "FontCharSet", DefaultCharSet);
  font.CharSet = charSet >= 0 && charSet <= 255 ? charSet : DefaultCharSet;
  font.Color = ini.ReadInteger(section, "FontColor", DefaultFontColor);
  font.SetSize(WithinOr(ini.ReadInteger(section, "FontSize", DefaultFontSize), MaxFontPoints, DefaultFontSize));
  font.SetHeight(
      WithinOr(ini.ReadInteger(section, "FontHeight", DefaultFontHeight), MaxFontPixels, DefaultFontHeight));
}

void WriteFontSection(TIniFile& ini, const std::string& section, const std::string& gbkName, const TFont& font) {
  ini.WriteString(section, "FontName", gbkName);
  ini.WriteInteger(section, "FontStyle", FontStyleToInt(font));
  ini.WriteInteger(section, "FontCharSet", font.CharSet);
  ini.WriteInteger(section, "FontColor", font.Color);
  ini.WriteInteger(section, "FontSize", font.Size);
  ini.WriteInteger(section, "FontHeight", font.Height);
}

// Section "码表": the code start (decimal) and code bytes of an exported text's table.
struct TTableKeys {
  std::string Section, Start, Bytes;
};

const TTableKeys& TableKeys() {
  static const TTableKeys keys{Utf8ToGbk("码表").value(), Utf8ToGbk("起始编码").value(), Utf8ToGbk("编码字节").value()};
  return keys;
}

void ReadTableKeys(const TIniFile& ini, TOptionValues& v) {
  const TTableKeys& k = TableKeys();
  const int start = ini.ReadInteger(k.Section, k.Start, 0);
  v.CodeStart = start >= 0 && start <= 0xFFFFFF ? start : 0;
  const int bytes = ini.ReadInteger(k.Section, k.Bytes, 0);
  v.CodeBytes = bytes >= 0 && bytes <= 3 ? bytes : 0;
}

void WriteTableKeys(TIniFile& ini, const TOptionValues& v) {
  const TTableKeys& k = TableKeys();
  // The keys join a file once they differ from the defaults, so a file of the other options
  // keeps its bytes; once there, they follow every save.
  if (v.CodeStart == 0 && v.CodeBytes == 0 && !ini.Value(k.Section, k.Start) && !ini.Value(k.Section, k.Bytes))
    return;
  ini.WriteInteger(k.Section, k.Start, v.CodeStart);
  ini.WriteInteger(k.Section, k.Bytes, v.CodeBytes);
}

// Section "场景": the scene dialog's settings; the marker in GBK like every text of the file.
struct TSceneKeys {
  std::string Section, Mode, Marker, Fixed, Newline, End;
};

const TSceneKeys& SceneKeys() {
  static const TSceneKeys keys{Utf8ToGbk("场景").value(),   Utf8ToGbk("分隔").value(),     Utf8ToGbk("标记").value(),
                               Utf8ToGbk("固定库").value(), Utf8ToGbk("换行编码").value(), Utf8ToGbk("结束编码").value()};
  return keys;
}

// A code as the dialog takes it: up to six hex digits, else nothing.
std::string HexOrEmpty(const std::string& text) {
  if (text.size() > 6) return "";
  for (char c : text)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return "";
  return text;
}

void ReadSceneKeys(const TIniFile& ini, TOptionValues& v) {
  const TSceneKeys& k = SceneKeys();
  TSceneValues scenes;
  const int mode = ini.ReadInteger(k.Section, k.Mode, 0);
  scenes.Mode = mode >= 0 && mode <= 2 ? mode : 0;
  if (const auto marker = GbkToUtf16(ini.ReadString(k.Section, k.Marker, ""))) scenes.Marker = Utf16ToUtf8(*marker);
  const int fixed = ini.ReadInteger(k.Section, k.Fixed, 0);
  scenes.FixedBanks = fixed >= 0 && fixed <= 4 ? fixed : 0;
  scenes.NewlineCode = HexOrEmpty(ini.ReadString(k.Section, k.Newline, ""));
  scenes.EndCode = HexOrEmpty(ini.ReadString(k.Section, k.End, ""));
  v.Scenes = scenes;
}

void WriteSceneKeys(TIniFile& ini, const TOptionValues& v) {
  const TSceneKeys& k = SceneKeys();
  // As the table keys: in the file once they differ from the defaults.
  if (v.Scenes == TSceneValues{} && !ini.Value(k.Section, k.Mode)) return;
  ini.WriteInteger(k.Section, k.Mode, v.Scenes.Mode);
  ini.WriteString(k.Section, k.Marker, Utf8ToGbk(v.Scenes.Marker).value_or(""));
  ini.WriteInteger(k.Section, k.Fixed, v.Scenes.FixedBanks);
  ini.WriteString(k.Section, k.Newline, v.Scenes.NewlineCode);
  ini.WriteString(k.Section, k.End, v.Scenes.EndCode);
}

}  // namespace

TParamFolderError::TParamFolderError(const std::string& folder, bool saving)
    : std::runtime_error("找不到文件路径" + folder + (saving ? "   你的设置将掉失。" : "")), folder_(folder) {}

int FontStyleToInt(const TFont& font) {
  return (font.Bold ? 1 : 0) + (font.Italic ? 2 : 0) + (font.Underline ? 4 : 0) + (font.StrikeOut ? 8 : 0);
}

void IntToFontStyle(int style, TFont& font) {
  font.StrikeOut = style >= 8;
  if (font.StrikeOut) style -= 8;
  font.Underline = style >= 4;
  if (font.Underline) style -= 4;
  font.Italic = style >= 2;
  if (font.Italic) style -= 2;
  font.Bold = style >= 1;
}

void LoadParamFile(const std::string& path, TOptionValues& v) {
  CheckFolder(path, false);
  ApplyParams(TIniFile::Load(path), v);
}

void LoadNamedParamFile(const std::string& path, TOptionValues& v) {
  const TIniFile ini(ReadFileBytes(path));
  const TNames& n = Names();
  const std::string sections[] = {n.CellSize, n.Font,     n.Position,     n.Colours,
                                  n.Scan,     n.Encoding, n.Distribution, n.Limit};
  if (std::none_of(std::begin(sections), std::end(sections), [&](const std::string& s) { return ini.HasSection(s); }))
    throw TFileError(path, TFailure{TFailureKind::NotParamFile, {}});
  if (const auto file = ini.Value(n.Font, "FontFile"))
    if (const std::optional<TFailure> fault = FontFileFault(*file)) throw TFileError(path, *fault);
  ApplyParams(ini, v);
}

void ApplyParams(const TIniFile& ini, TOptionValues& v) {
  const TNames& n = Names();

  // The cell size first: its rules rebuild the lists that the later indexes select in.
  v.CellSizeIndex = IndexIn(ini.ReadInteger(n.CellSize, "DEF", DefaultCellSize), CellSizeTexts.size(), DefaultCellSize);
  ApplySizeRules(v);
  v.NarrowWide = ClampTo(ini.ReadInteger(n.Font, n.NarrowWide, 0), -6, 6);
  SetFontSize(v, ini.ReadInteger(n.Font, n.SizeSlider, 10));
  v.PosX = ini.ReadInteger(n.Position, "X", 0);
  v.PosY = ini.ReadInteger(n.Position, "Y", 0);
  v.BgIndex = ClampTo(ini.ReadInteger(n.Colours, n.Background, 0), 0, 3);
  v.GlyphIndex = ClampTo(ini.ReadInteger(n.Colours, n.Glyph, 1), 0, 3);
  CheckScan(v, true, ini.ReadBool(n.Scan, n.Horizontal, true));
  CheckScan(v, false, ini.ReadBool(n.Scan, n.Vertical, false));
  v.EncodingIndex = IndexIn(ini.ReadInteger(n.Encoding, "DEF", 0), v.EncodingItems.size(), 0);
  v.M = ClampTo(ini.ReadInteger(n.Encoding, "M", 1), 1, 15);
  v.DistributionIndex = IndexIn(ini.ReadInteger(n.Distribution, "DEF", 0), v.DistributionItems.size(), 0);
  v.LimitIndex = IndexIn(ini.ReadInteger(n.Limit, "DEF", DefaultLimit), LimitTexts.size(), DefaultLimit);
  // The font keys come last and decide the size: the height, applied after the size, wins.
  ReadFontSection(ini, n.Font, v.Font);
  v.DialogFont = v.Font;
  ApplyChosenFont(v);
  ReadTableKeys(ini, v);
  ReadSceneKeys(ini, v);
}

void SaveParamFile(const std::string& path, const TOptionValues& v) {
  CheckFolder(path, true);
  const auto fontName = Utf8ToGbk(v.Font.Name);
  if (!fontName || fontName->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
    throw TFileError(path, TFailure{TFailureKind::FontNameNotGbk, {v.Font.Name}});
  TIniFile ini;
  try {
    ini = TIniFile::Load(path);
  } catch (const TFileError& e) {
    throw TIniWriteError(path, e.Failure());
  }
  const TNames& n = Names();
  const auto gbk = [](const std::string& utf8) { return Utf8ToGbk(utf8).value_or(std::string()); };

  ini.WriteInteger(n.CellSize, "DEF", v.CellSizeIndex);
  ini.WriteInteger(n.Font, n.NarrowWide, v.NarrowWide);
  ini.WriteInteger(n.Font, n.SizeSlider, v.FontSize);
  ini.WriteInteger(n.Position, "X", v.PosX);
  ini.WriteInteger(n.Position, "Y", v.PosY);
  ini.WriteInteger(n.Colours, n.Background, v.BgIndex);
  ini.WriteInteger(n.Colours, n.Glyph, v.GlyphIndex);
  ini.WriteBool(n.Scan, n.Horizontal, v.ScanHorizontal);
  ini.WriteBool(n.Scan, n.Vertical, v.ScanVertical);
  ini.WriteInteger(n.Encoding, "DEF", v.EncodingIndex);
  ini.WriteInteger(n.Encoding, "M", v.M);
  ini.WriteString(n.Encoding, "DEFString", gbk(SelectedText(v.EncodingItems, v.EncodingIndex)));
  ini.WriteInteger(n.Distribution, "DEF", v.DistributionIndex);
  ini.WriteString(n.Distribution, "DEFString", gbk(SelectedText(v.DistributionItems, v.DistributionIndex)));
  ini.WriteInteger(n.Limit, "DEF", v.LimitIndex);
  // The font in use, so that the file reopens with the size the slider shows.
  WriteFontSection(ini, n.Font, *fontName, v.Font);
  // The font file's keys are there only while one is in use; a file that named one is cleared.
  if (!v.Font.File.empty()) {
    ini.WriteString(n.Font, "FontFile", FontFileValue(v.Font.File));
    ini.WriteInteger(n.Font, "FontFace", v.Font.FaceIndex);
  } else if (ini.Value(n.Font, "FontFile") || ini.Value(n.Font, "FontFace")) {
    ini.WriteString(n.Font, "FontFile", "");
    ini.WriteString(n.Font, "FontFace", "");
  }
  WriteTableKeys(ini, v);
  WriteSceneKeys(ini, v);
  ini.Save(path);
}

}  // namespace mipofc
