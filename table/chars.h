#pragma once

// The characters of a script: one text from several inputs, its distinct characters, and the
// characters a game already has.

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mipofc {

/// A script read from one or more inputs: one text in the order given, and where each of its
/// characters came from.
class TScript {
 public:
  /// Appends an input's text (line breaks included). Throws TTextError(file, line, column) at a
  /// character outside the Basic Multilingual Plane; nothing is appended then.
  void Add(const std::string& file, std::u16string text);
  /// The texts of every input, one after another.
  const std::u16string& Text() const { return text_; }
  /// "FILE:LINE:COLUMN" of Text()[offset], counted in its own input.
  std::string Where(std::size_t offset) const;

 private:
  struct TPart {
    std::string File;
    std::size_t Start;
  };
  std::vector<TPart> parts_;
  std::u16string text_;
};

/// The inputs as one script, line breaks kept: each a text file (RTF, UTF-8, UTF-16 or GBK) or
/// "-" for standard input. Throws TFileError, and TTextError at a character outside the Basic
/// Multilingual Plane.
TScript ReadScript(const std::vector<std::string>& inputs);

/// A set of characters of the Basic Multilingual Plane, indexed by code unit.
using TCharSet = std::bitset<0x10000>;

/// The characters a file says the game already has: for a name ending in ".tbl" (any case), the
/// TEXT of the table's single-character normal entries; for any other, every character of the
/// file's text (RTF, UTF-8, UTF-16 or GBK; line breaks are not characters). Throws what
/// ReadTable and LoadTextFile throw, and TTextError at a character outside the plane.
TCharSet ExcludedCharacters(const std::string& path);

/// The orders of distinct characters.
enum class TCharOrder {
  First,      ///< in order of first appearance
  Frequency,  ///< most frequent first, ties in order of first appearance
};

/// The distinct characters of a text and how often each occurs.
struct TDistinctChars {
  std::u16string Chars;               ///< each distinct character once, in the order asked
  std::vector<std::uint64_t> Counts;  ///< occurrences of Chars[i] in the text
  std::uint64_t Total = 0;            ///< characters of the text, excluded ones included
  std::uint64_t Excluded = 0;         ///< distinct characters of the text that were left out
};

/// The distinct characters of text (each code unit one character) in order, without those in
/// exclude.
TDistinctChars DistinctCharacters(std::u16string_view text, TCharOrder order, const TCharSet& exclude = {});

/// The characters 16 to a line, every line ending in LF: short lines keep a long list workable,
/// and line breaks are no characters, so the text is the same.
std::u16string CharLines(std::u16string_view chars);

/// The characters as a text file: 16 to a line, every line ending in LF, UTF-8 that the text
/// reader reads back as exactly these characters. With counts: one line "CHARACTER TAB COUNT LF"
/// each, the count in decimal. Empty for no characters.
std::string CharsFileBytes(const TDistinctChars& chars, bool counts);

/// text as UTF-8 without a byte-order mark, unless that would read back as something else (a
/// text starting with U+FEFF or "{\rtf"): then with one, which the text reader drops.
std::string Utf8TextFileBytes(std::u16string_view text);

}  // namespace mipofc
