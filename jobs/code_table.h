#pragma once

// The code table of an exported text, and the text an export draws: as it is, its distinct
// characters, or what a table says.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "table/chars.h"
#include "table/codes.h"
#include "table/tbl.h"

namespace mipofc {

/// The codes a table gives line breaks (*HEX) and the ends of strings (/HEX), each in ROM order.
struct TControlCodes {
  std::optional<std::string> Newline;
  std::optional<std::string> End;
};

/// A control code that is also a character's code (or the other control code).
class TCodeConflictError : public std::invalid_argument {
 public:
  TCodeConflictError(bool newline, std::string code, std::u16string character);
  bool Newline;          ///< the newline code; else the end code
  std::string Code;      ///< the code as hex
  std::u16string Char;   ///< the character with that code; empty: it is also the newline code
};

/// Appends the entries *HEX and /HEX of controls to a table's entries; throws
/// TCodeConflictError when a control code is the code of one of the entries (or both are one).
void AddControlEntries(std::vector<TTableEntry>& entries, const TControlCodes& controls);

/// A text's table as a file.
struct TCodeTableFile {
  TCodePlan Plan;
  std::string Bytes;  ///< the .tbl file's bytes
};

/// The .tbl of an exported text: character i gets code start + i, in bytes bytes (0: the fewest
/// that hold every code), the file in encoding, with the entries of controls. Throws
/// TCodeRangeError when the codes do not fit, TCodeConflictError as AddControlEntries,
/// and TFileError naming fileName for a character the encoding cannot hold.
TCodeTableFile CodeTableFile(std::u16string_view text, std::uint32_t start, int bytes, TTableEncoding encoding,
                             const std::string& fileName, const TControlCodes& controls = {});

/// Where an export's characters come from.
struct TExportSource {
  std::string Input;                     ///< a text file, or "-" for standard input
  std::optional<std::string> FromTable;  ///< instead of Input: the characters of a .tbl in code order
  bool Unique = false;                   ///< each distinct character once
  TCharOrder Order = TCharOrder::First;  ///< with Unique
  std::vector<std::string> Excludes;     ///< with Unique: files whose characters are left out
  bool Tabled = false;                   ///< a table is written too: every character must have a cell
};

/// The joined text an export draws; codeStart is the code of a FromTable text's first cell.
/// Throws TFileError for an input that cannot be read, and with Unique or Tabled TTextError at a
/// character outside the Basic Multilingual Plane.
std::u16string ExportTextOf(const TExportSource& source, std::uint32_t codeStart);

}  // namespace mipofc
