#pragma once

// Where a character stands in a text file, and the errors that name such a place.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/failure.h"

namespace mipofc {

/// Something in a table or text file that may not stand where it stands. what() reads
/// "FILE:LINE: reason", or "FILE:LINE:COLUMN: reason" when the column is known.
class TTextError : public std::runtime_error {
 public:
  /// column 0 means the whole line.
  TTextError(std::string file, int line, int column, TFailure failure);
  const std::string& File() const { return file_; }
  /// Line in the file, from 1.
  int Line() const { return line_; }
  /// Column in characters, from 1; 0 when the error is about the whole line.
  int Column() const { return column_; }
  /// Why, in English.
  const std::string& Reason() const { return reason_; }
  const TFailure& Failure() const { return failure_; }

 private:
  std::string file_;
  int line_, column_;
  std::string reason_;
  TFailure failure_;
};

/// A place in a text: line and column from 1, lines ending in CR LF, LF or CR, columns counted
/// in characters.
struct TTextPlace {
  int Line = 1;
  int Column = 1;
};

/// The place of text[offset] (or of the end, for offset == text.size()).
TTextPlace PlaceOf(std::u16string_view text, std::size_t offset);

/// Throws TTextError(file, line, column, ...) at the first code unit of text that is no character
/// of the Basic Multilingual Plane: a surrogate pair (named U+XXXXX) or a lone surrogate. The
/// text starts at line, column of its file.
void CheckBmp(std::u16string_view text, const std::string& file, int line = 1, int column = 1);

/// "U+XXXX" (at least four upper-case hex digits) and, when it is printable, the character in
/// parentheses: "U+4E00 (一)".
std::string CharacterName(char32_t codePoint);

}  // namespace mipofc
