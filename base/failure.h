#pragma once

// What went wrong, as a kind and its values, so that each front end words it in its own
// language: the command-line tool in English (EnglishReason), the window in Chinese.

#include <string>
#include <vector>

namespace mipofc {

/// The kinds of failure the libraries report. Each lists its values, in order, as TFailure holds
/// them (numbers in decimal, codes in hex, characters as U+XXXX).
enum class TFailureKind {
  System,              ///< {errno}: what the system said about a file
  NotTextUnread,       ///< {encoding, line}: encoding "utf-8-bom" or "gbk" does not read that line
  NotTextOddUtf16,     ///< {encoding, bytes}: "UTF-16LE"/"UTF-16BE" with an odd number of bytes
  NotTextControl,      ///< {line, character, encoding}: a control character no text has
  NotTextUnknown,      ///< {encoding}: the encoding does not read it
  NotParamFile,        ///< {}: none of the parameter file's sections
  FontFileUriEscape,   ///< {value, escape}: a file: URI with an escape that is not %XX
  FontFileUriEmpty,    ///< {value}: a file: URI of no path
  FontFileUriNul,      ///< {value}: a file: URI that decodes to a NUL byte
  FontNameNotGbk,      ///< {name}: a font name code page 936 cannot hold
  TableCharNotGbk,     ///< {character}: a table's character GBK cannot hold
  TableNotGbk,         ///< {}: a table GBK cannot hold
  TableNotEntry,       ///< {}: a line that is no table entry
  TableMissingCode,    ///< {}: an entry without its code
  TableCodeNotHex,     ///< {code}: a code that is not hexadecimal
  TableCodeOddDigits,  ///< {code}: a code of an odd number of hex digits
  TableCodeTooLong,    ///< {code}: a code of more than 6 hex digits
  TableEmptyText,      ///< {code}: an entry with an empty text
  TableCodeTwice,      ///< {code, line}: a code already on an earlier line
  TableCodeElsewhere,  ///< {code, file, line}: a code another table holds too
  OutsideBmp,          ///< {character}: a character outside the Basic Multilingual Plane
  LoneSurrogate,       ///< {character}: half of a surrogate pair
  CodeRange,           ///< {count, start, highest, bytes held, room}: codes that do not fit
  IpsTooLarge,         ///< {ROM size}: an IPS patch reaches only the first 16 MiB
  IpsShortens,         ///< {from, to}: an IPS patch cannot shorten a file
  NoChrRom,            ///< {}: a ROM without CHR-ROM (CHR-RAM)
  BankNoTiles,         ///< {}: a bank file of 0 bytes
  BankNotTiles,        ///< {bytes}: a bank file that is not whole 16-byte tiles
  PastChrRom,          ///< {over, CHR-ROM KB, bank bytes, start KB}; over "" for more than any file holds
  PastEndOfFile,       ///< {over, file bytes, bank bytes, start offset}; over "" as above
  HeaderTooShort,      ///< {bytes}: shorter than the 16 bytes of an iNES header
  NotInes,             ///< {}: no "NES" 0x1A at the start
  RomShorterThanHeader,  ///< {bytes, trainer "1"/"0", PRG size, CHR size, needed}; sizes "" past 2^64, needed "" past any file
  PatchIsRom,          ///< {output}: a patch named as the ROM it is made from ("ips", "bps")
  OutputTwice,         ///< {first output, second output}: one file named as two ("rom", "ips", "bps")
  FontNoFace,          ///< {index}: a collection without that face
  FontUnreadable,      ///< {FreeType's reason, its error code}: FreeType cannot open the file ("unknown file format")
  FontNoOutlines,      ///< {}: a face of neither outlines nor bitmap sizes
  FontCannotSize,      ///< {pixels, FreeType's reason, its error code}
  FontNoMatch,         ///< {}: no installed face matches the family
  FontConfigMissing,   ///< {}: fontconfig has no configuration
  OutOfMemory,         ///< {}
  Unwritable,          ///< {}: a stream that cannot be written (standard output)
  FolderMissing,       ///< {folder}: the folder of a file to write does not exist
  NotAFolder,          ///< {folder}: what should be the folder of a file is none
};

/// The number of kinds, for tables that cover each.
inline constexpr int FailureKindCount = static_cast<int>(TFailureKind::NotAFolder) + 1;

/// A failure: its kind and its values.
struct TFailure {
  TFailureKind Kind = TFailureKind::System;
  std::vector<std::string> Values;

  /// Value i, or "" when the failure has fewer.
  const std::string& At(std::size_t i) const;
};

/// The reason as the command-line tool words it, without the file ("No such file or directory").
std::string EnglishReason(const TFailure& failure);
/// A failure of the system's errno.
TFailure SystemFailure(int error);

}  // namespace mipofc
