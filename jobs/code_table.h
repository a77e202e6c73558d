#pragma once

// The code table of an exported text, and the text an export draws: as it is, its distinct
// characters, or what a table says.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "table/chars.h"
#include "table/codes.h"
#include "table/tbl.h"

namespace mipofc {

/// A text's table as a file.
struct TCodeTableFile {
  TCodePlan Plan;
  std::string Bytes;  ///< the .tbl file's bytes
};

/// The .tbl of an exported text: character i gets code start + i, in bytes bytes (0: the fewest
/// that hold every code), the file in encoding. Throws TCodeRangeError when the codes do not fit,
/// and TFileError naming fileName for a character the encoding cannot hold.
TCodeTableFile CodeTableFile(std::u16string_view text, std::uint32_t start, int bytes, TTableEncoding encoding,
                             const std::string& fileName);

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
