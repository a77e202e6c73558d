#include "engine/formats.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "base/hex.h"
#include "engine/png.h"

namespace mipofc {

std::string ExportBaseName(std::string_view chosenName) {
  const std::size_t dot = chosenName.rfind('.');
  const std::size_t boundary = chosenName.find_last_of("/\\:");
  if (dot == std::string_view::npos || (boundary != std::string_view::npos && dot < boundary))
    return std::string(chosenName);
  return std::string(chosenName.substr(0, dot));
}

std::string FileNumberText(std::int64_t n, std::int64_t perFile) {
  return HexText(static_cast<std::uint64_t>(n), FileNumberDigits(perFile));
}

std::string ExportFileName(std::string_view base, std::int64_t n, std::int32_t capacity, TBankFormat format) {
  return std::string(base) + "." + FileNumberText(n, capacity) + "." + std::string(FormatExtension(format));
}

namespace {

void AppendHex(std::string& out, std::uint64_t v, int width) { out += HexText(v, width); }

// A character is shown in a comment only when it is printable on one line: controls would end
// or garble the line, and a lone surrogate has no UTF-8 form.
bool Showable(char16_t c) {
  return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) && !(c >= 0xD800 && c < 0xE000) && c != 0x2028 &&
         c != 0x2029 && c != 0xFEFF;
}

void AppendUtf8(std::string& out, char16_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IdentifierChar(unsigned char c, bool first) {
  return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (!first && c >= '0' && c <= '9');
}

// C99's keywords and the ones cc65 adds without underscores: an array cannot take these names.
bool Keyword(std::string_view name) {
  static constexpr std::string_view keywords[] = {
      "auto",     "break",  "case",     "char",   "const",    "continue", "default",  "do",
      "double",   "else",   "enum",     "extern", "float",    "for",      "goto",     "if",
      "inline",   "int",    "long",     "register", "restrict", "return", "short",    "signed",
      "sizeof",   "static", "struct",   "switch", "typedef",  "union",    "unsigned", "void",
      "volatile", "while",  "_Bool",    "_Complex", "_Imaginary", "asm", "fastcall", "cdecl"};
  return std::find(std::begin(keywords), std::end(keywords), name) != std::end(keywords);
}

}  // namespace

std::string_view FormatExtension(TBankFormat format) {
  for (const TFormatNames& names : BankFormats)
    if (names.Format == format) return names.Extension;
  return "chr";
}

std::string_view FormatName(TBankFormat format) {
  for (const TFormatNames& names : BankFormats)
    if (names.Format == format) return names.Name;
  return "chr";
}

std::optional<TBankFormat> FormatNamed(std::string_view name) {
  for (const TFormatNames& names : BankFormats)
    if (names.Name == name) return names.Format;
  return std::nullopt;
}

TBankFormat FormatOfName(std::string_view chosenName) {
  std::string ext(chosenName.substr(ExportBaseName(chosenName).size()));
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  for (TBankFormat format : {TBankFormat::Inc, TBankFormat::Ca65, TBankFormat::C, TBankFormat::Png})
    if (ext.size() > 1 && std::string_view(ext).substr(1) == FormatExtension(format)) return format;
  return TBankFormat::Chr;
}

std::vector<std::string> TileNames(const TChr& engine, std::int64_t bank) {
  const std::size_t tiles = engine.BankBytes().size() / 16;
  const bool manyTiles = engine.TileCols * engine.TileRows > 1;
  std::vector<std::string> names(tiles);
  for (std::size_t t = 0; t < tiles && t < engine.Owners.size(); ++t) {
    std::string& name = names[t];
    name = "bank $";
    AppendHex(name, static_cast<std::uint64_t>(bank), 2);
    name += " slot $";
    AppendHex(name, t, 2);
    name += ": ";
    const TSlotOwner& owner = engine.Owners[t];
    if (owner.Char < 0 || static_cast<std::size_t>(owner.Char) >= engine.Text.size()) {
      name += "blank";
      continue;
    }
    name += CharLabel(engine.Text[static_cast<std::size_t>(owner.Char)]);
    if (manyTiles) name += " tile " + std::to_string(owner.Col) + "," + std::to_string(owner.Row);
  }
  return names;
}

std::string CharText(char16_t c) {
  std::string text;
  if (Showable(c)) AppendUtf8(text, c);
  return text;
}

std::string CharLabel(char16_t c) {
  std::string label = "U+";
  AppendHex(label, c, 4);
  if (Showable(c)) {
    label += ' ';
    AppendUtf8(label, c);
  }
  return label;
}

std::string Ca65Lines(std::string_view bytes, std::size_t perLine, std::span<const std::string> names) {
  if (perLine == 0) perLine = 16;
  std::string out;
  out.reserve(bytes.size() / perLine * (perLine * 5 + 40));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % perLine == 0) out += "    .byte";
    const auto b = static_cast<unsigned char>(bytes[i]);
    out += i % perLine == 0 ? " $" : ", $";
    out += HexDigitChar(b >> 4);
    out += HexDigitChar(b & 15);
    if (i % perLine == perLine - 1 || i + 1 == bytes.size()) {
      if (i / perLine < names.size()) out += "  ; " + names[i / perLine];
      out += '\n';
    }
  }
  return out;
}

std::string Ca65Text(std::string_view bankBytes, std::span<const std::string> tileNames) {
  return Ca65Lines(bankBytes, 16, tileNames);
}

std::string CIdentifier(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of("/\\:");
  const std::string base = ExportBaseName(slash == std::string_view::npos ? fileName : fileName.substr(slash + 1));
  std::string name;
  for (std::size_t i = 0; i < base.size(); ++i) {
    const auto c = static_cast<unsigned char>(base[i]);
    if (c >= 0x80) {
      // One '_' for each character, not for each of its UTF-8 bytes.
      if ((c & 0xC0) != 0x80) name += '_';
      continue;
    }
    name += IdentifierChar(c, false) ? static_cast<char>(c) : '_';
  }
  if (name.empty() || !IdentifierChar(static_cast<unsigned char>(name[0]), true) || Keyword(name))
    name.insert(name.begin(), '_');
  return name;
}

std::string CHeaderText(std::string_view bankBytes, std::string_view name) {
  const std::string guard = std::string(name) + "_H";
  std::string out = "#ifndef " + guard + "\n#define " + guard + "\n\nconst unsigned char " + std::string(name) + "[" +
                    std::to_string(bankBytes.size()) + "] = {\n";
  out.reserve(out.size() + bankBytes.size() * 6 + 32);
  for (std::size_t i = 0; i < bankBytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bankBytes[i]);
    out += i % 16 == 0 ? "  0x" : " 0x";
    out += HexDigitChar(b >> 4);
    out += HexDigitChar(b & 15);
    if (i + 1 < bankBytes.size()) out += ',';
    if (i % 16 == 15 || i + 1 == bankBytes.size()) out += '\n';
  }
  out += "};\n\n#endif\n";
  return out;
}

std::string BankPng(std::string_view bankBytes, const TPalette& palette) {
  // 16 tiles of 16 bytes make one 8-pixel band of the 128-pixel-wide pattern table.
  if (bankBytes.empty() || bankBytes.size() % 256 != 0)
    throw std::invalid_argument("a bank PNG needs whole rows of 16 tiles");
  const int height = static_cast<int>(bankBytes.size() / 32);
  std::string pixels(static_cast<std::size_t>(128) * static_cast<std::size_t>(height), '\0');
  for (std::size_t t = 0; t < bankBytes.size() / 16; ++t) {
    const auto* tile = reinterpret_cast<const unsigned char*>(bankBytes.data()) + 16 * t;
    const std::size_t x0 = (t % 16) * 8, y0 = (t / 16) * 8;
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) {
        const int p0 = (tile[r] & BitWeight[c]) ? 1 : 0, p1 = (tile[8 + r] & BitWeight[c]) ? 1 : 0;
        pixels[(y0 + static_cast<std::size_t>(r)) * 128 + x0 + static_cast<std::size_t>(c)] =
            static_cast<char>(p0 + 2 * p1);
      }
  }
  return EncodeIndexedPng(128, height, pixels, palette);
}

std::string BankFileBytes(TBankFormat format, std::string_view bankBytes, std::span<const std::string> tileNames,
                          std::string_view fileName, const TPalette& palette) {
  switch (format) {
    case TBankFormat::Chr: return std::string(bankBytes);
    case TBankFormat::Inc: return IncText(bankBytes);
    case TBankFormat::Ca65: return Ca65Text(bankBytes, tileNames);
    case TBankFormat::C: return CHeaderText(bankBytes, CIdentifier(fileName));
    case TBankFormat::Png: return BankPng(bankBytes, palette);
  }
  return std::string(bankBytes);
}

}  // namespace mipofc
