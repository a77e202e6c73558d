#pragma once

// Where a code's tiles are: the code map of an export, as a CSV table or as ca65 or C arrays that
// a text engine indexes by code.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cell_places.h"
#include "engine/chr.h"
#include "jobs/glyph_export.h"
#include "table/codes.h"

namespace mipofc {

/// The code map formats: a CSV table, ca65 arrays, C arrays.
enum class TMapFormat { Csv, Ca65, C };
/// The format a map file's name asks for (".csv", ".s", ".h" in any case); nullopt for another.
std::optional<TMapFormat> MapFormatOfName(std::string_view name);

/// Where an export puts its characters.
struct TCodeMapLayout {
  TChrSettings Settings;          ///< the settings drawn with (cell size, scan order, blank slot)
  bool Glyphs = false;            ///< glyph data (byte offsets) rather than banks (slots)
  std::int64_t PerFile = 0;       ///< characters a file: a bank's capacity, or the glyphs of a file
  int FileDigits = 2;             ///< digits of a file number, as the file names write it
  std::vector<TCellPlace> Places; ///< banks: the places of a bank's cells
  std::int32_t GlyphBytes = 0;    ///< glyphs: bytes a glyph
  int BitsPerPixel = 2;           ///< glyphs: bits a pixel
  TCodePlan Codes;                ///< character i has code Codes.Start + i
};
/// The layout of a bank export with these settings.
TCodeMapLayout BankMapLayout(const TChrSettings& settings, const TCodePlan& codes);
/// The layout of a glyph export with these settings and files.
TCodeMapLayout GlyphMapLayout(const TChrSettings& settings, const TGlyphFiles& files, int bitsPerPixel,
                              const TCodePlan& codes);

/// One array of a map file, perLine values a line, each element bytes bytes (1, 2 or 4; 0: the
/// fewest that hold the largest value). Ca65: "NAME:" and ".byte", ".word" or ".dword" lines;
/// C: "const unsigned char|short|long NAME[N] = { ... };" after an empty line, nothing for no
/// values; Csv: nothing.
std::string MapArrayText(TMapFormat format, const std::string& name, const std::vector<std::uint64_t>& values,
                         std::size_t perLine, int bytes);

/// The map file of text's characters in code order. Csv: the header
/// "code,char,codepoint,file,cell,slots,offset" and a row a character (the code as a table
/// writes it, the character, U+XXXX, the file number as its name writes it, the cell in that
/// file, for banks the slots of the cell's tiles in tile order, for glyphs the byte offset), LF.
/// Ca65 and C: arrays NAME_file and NAME_slot (banks) or NAME_offset (glyphs), NAME from
/// fileName, with a comment giving the other tiles' slot offsets from the first. Throws
/// std::invalid_argument for a layout that holds no character.
std::string CodeMapFileBytes(TMapFormat format, std::u16string_view text, const TCodeMapLayout& layout,
                             std::string_view fileName);

}  // namespace mipofc
