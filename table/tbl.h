#pragma once

// Table files (.tbl): the text tables that map a game's codes to characters.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mipofc {

/// What a table line says about its code.
enum class TEntryKind {
  Normal,   ///< HEX=TEXT: the code stands for TEXT
  Newline,  ///< *HEX or *HEX=TEXT: the code of a line break
  End,      ///< /HEX or /HEX=TEXT: an end-of-string code; its TEXT, if any, encodes to it
};

/// One entry of a table.
struct TTableEntry {
  TEntryKind Kind = TEntryKind::Normal;
  std::string Code;     ///< 1 to 3 bytes, in ROM order
  std::u16string Text;  ///< never empty for a normal entry; empty for a newline or end entry without TEXT
  int Line = 0;         ///< line of its file (from 1); 0 for an entry not read from a file

  bool operator==(const TTableEntry&) const = default;
};

/// A table file's entries in file order.
struct TTable {
  std::string File;  ///< the name its errors are given under
  std::vector<TTableEntry> Entries;
};

/// The table in a file's bytes, decoded as text files are (UTF-8 with or without BOM, UTF-16
/// with BOM, else GBK; never RTF); lines end in CR LF, LF or CR; blank lines and lines starting
/// with '#' are skipped. Throws TTextError(file, line, ...) for a line that is no entry, a code
/// that is not 2, 4 or 6 hex digits, an empty TEXT of a normal entry, a code given twice (naming
/// both lines) or a TEXT character outside the Basic Multilingual Plane; TFileError(file,
/// NotTextFailure) when the bytes are not text.
TTable ParseTable(std::string_view bytes, const std::string& file);
/// ParseTable of a file's content; TFileError(path, strerror) when it cannot be read.
TTable ReadTable(const std::string& path);

/// The value of a code: its bytes big-endian.
std::uint32_t CodeValue(std::string_view code);
/// The code of value in bytes bytes (1..3), big-endian.
std::string CodeOf(std::uint32_t value, int bytes);
/// A code as upper-case hex, two digits a byte: "8140".
std::string CodeHex(std::string_view code);

/// The text encodings a table is written in.
enum class TTableEncoding {
  Utf8,   ///< UTF-8 without BOM
  Utf16,  ///< UTF-16 little-endian with BOM
  Gbk,    ///< code page 936
};

/// The bytes of a table file of these entries: one line each in code order (by value, then
/// shorter first), "HEX=TEXT", "*HEX[=TEXT]" or "/HEX[=TEXT]", upper-case hex, CR LF after every
/// line. Throws TFileError(file, ...) naming a character that GBK cannot hold, and
/// std::invalid_argument for an entry no table line can hold.
std::string TableFileBytes(std::vector<TTableEntry> entries, TTableEncoding encoding, const std::string& file);

}  // namespace mipofc
