#pragma once

// The bank file formats: each is one function from bank bytes (plus names) to file bytes.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/chr.h"

namespace mipofc {

/// The bank file formats: raw bytes, .DB lines, ca65 source, a C header, an indexed PNG.
enum class TBankFormat { Chr, Inc, Ca65, C, Png };

/// What a format is called: the name --format takes, and its files' extension without the dot.
struct TFormatNames {
  TBankFormat Format;
  std::string_view Name;
  std::string_view Extension;
};
/// Every bank format, in menu order.
inline constexpr TFormatNames BankFormats[] = {
    {TBankFormat::Chr, "chr", "chr"}, {TBankFormat::Inc, "inc", "inc"}, {TBankFormat::Ca65, "ca65", "s"},
    {TBankFormat::C, "c", "h"},       {TBankFormat::Png, "png", "png"},
};

/// The extension of a format's files, without the dot: "chr", "inc", "s", "h", "png".
std::string_view FormatExtension(TBankFormat format);
/// The name --format gives a format: "chr", "inc", "ca65", "c", "png".
std::string_view FormatName(TBankFormat format);
/// The format of a --format name; nullopt for none.
std::optional<TBankFormat> FormatNamed(std::string_view name);
/// The format a chosen name's extension asks for (".inc", ".s", ".h", ".png" in any case); else Chr.
TBankFormat FormatOfName(std::string_view chosenName);

/// The display colours the previews start with: 000000, FFFFFF, 800000, 008080 (as 0x00BBGGRR).
inline constexpr TPalette DefaultPalette = {0x000000, 0xFFFFFF, 0x000080, 0x808000};

/// The chosen name without its extension: everything from the last '.' that stands after the
/// last '/', '\' and ':' is dropped; a name without such a dot stays whole.
std::string ExportBaseName(std::string_view chosenName);

/// The hex digits a file number is written with: 4 when a file holds more than 255 characters
/// (perFile), else 2.
inline int FileNumberDigits(std::int64_t perFile) { return perFile > 255 ? 4 : 2; }
/// File number n in upper-case hex of FileNumberDigits (more if n needs them).
std::string FileNumberText(std::int64_t n, std::int64_t perFile);

/// base + "." + FileNumberText(n, capacity) + "." + the format's extension (FormatExtension).
std::string ExportFileName(std::string_view base, std::int64_t n, std::int32_t capacity, TBankFormat format);

/// What a comment says of each tile of the engine's bank (Limit / 16 of them): "bank $01 slot $2A:
/// U+4F60 你 tile 1,0", or "bank $01 slot $2B: blank"; bank is the bank file's number.
std::vector<std::string> TileNames(const TChr& engine, std::int64_t bank);

/// A character as comments and code maps name it: "U+4F60 你", without the character when it
/// cannot be shown on one line (a control, a lone surrogate half).
std::string CharLabel(char16_t c);
/// The character as UTF-8 when it can be shown on one line, else empty.
std::string CharText(char16_t c);

/// ca65 source of bytes: one "    .byte $XX, ..." line of perLine values, LF, each with "  ; "
/// and the name of its line when names has one.
std::string Ca65Lines(std::string_view bytes, std::size_t perLine, std::span<const std::string> names);

/// ca65 source of bank bytes: one "    .byte $XX, ..." line of 16 values per tile, LF, each with
/// "  ; " and the tile's name when tileNames has one.
std::string Ca65Text(std::string_view bankBytes, std::span<const std::string> tileNames);

/// A C identifier from a file name: the name without its folder and last extension, every
/// character that cannot stand in an identifier as '_', '_' before a leading digit or a keyword.
std::string CIdentifier(std::string_view fileName);
/// A C header: include guard, then "const unsigned char NAME[size] = { ... };" with 16 values
/// (0xXX) a line.
std::string CHeaderText(std::string_view bankBytes, std::string_view name);

/// The pattern table of bank bytes as an indexed PNG, 128 pixels (16 tiles) wide and
/// bytes / 32 high, each pixel's palette index its NES colour index.
std::string BankPng(std::string_view bankBytes, const TPalette& palette);

/// The file bytes of glyph data and fill zero bytes after it, in format: chr the bytes; ca65 one
/// ".byte" line of tileBytes values a tile, named by tileNames, and the fill as ".res FILL, $00";
/// c one array (CHeaderText) named after fileName. Throws std::invalid_argument for inc and png.
std::string GlyphFileBytes(TBankFormat format, std::string_view glyphBytes, std::size_t tileBytes,
                           std::span<const std::string> tileNames, std::size_t fill, std::string_view fileName);

/// The file bytes of bank bytes in format; fileName names the C array, tileNames the ca65
/// comments, palette the PNG's colours.
std::string BankFileBytes(TBankFormat format, std::string_view bankBytes, std::span<const std::string> tileNames,
                          std::string_view fileName, const TPalette& palette);

}  // namespace mipofc
