#pragma once

// Script bytes: a script encoded with the game's tables, and bytes decoded back into text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "table/chars.h"
#include "table/tbl.h"

namespace mipofc {

/// Several tables used together: every code of each, and the longest-match index of their texts.
class TCodeBook {
 public:
  /// Merges tables in the order given; entries keep that order (table by table, line by line).
  /// Throws TTextError naming the later file and line, and the earlier file and line, of a code
  /// that two tables hold.
  explicit TCodeBook(const std::vector<TTable>& tables);

  /// Every entry in merged order.
  const std::vector<TTableEntry>& Entries() const { return entries_; }
  /// The code a line break writes: the first newline entry's; nullopt when there is none.
  const std::optional<std::string>& NewlineCode() const { return newline_; }

  /// The entry index of the longest normal or end TEXT that text[from..] starts with (the
  /// first in merged order among equal TEXTs) and its length; {-1, 0} when none matches.
  std::pair<std::int32_t, std::size_t> LongestMatch(std::u16string_view text, std::size_t from) const;
  /// The entry index of a code of length bytes (1..3) at bytes[from..]; -1 when no table has it.
  std::int32_t CodeAt(std::string_view bytes, std::size_t from, std::size_t length) const;
  /// The longest code length the tables have (0 for none).
  std::size_t LongestCode() const { return longestCode_; }
  /// The code of c when c alone is a TEXT and no longer TEXT starts with it, packed as its
  /// length times 2^24 plus its bytes big-endian; 0 otherwise. Most characters of a script
  /// are encoded by this one lookup.
  std::uint32_t SingleCode(char16_t c) const { return single_[c]; }

 private:
  struct TNode {
    std::int32_t Entry = -1;  // of the text that ends here
    std::uint32_t FirstEdge = 0, Edges = 0;
  };
  struct TEdge {
    char16_t Char;
    std::int32_t Node;
  };
  void Index(const std::u16string& text, std::int32_t entry);
  void Flatten();

  std::vector<TTableEntry> entries_;
  std::optional<std::string> newline_;
  // The trie: root_ holds the node of each first character, so a one-character text costs one
  // lookup; deeper nodes keep their edges sorted by character.
  std::vector<std::int32_t> root_;
  std::vector<TNode> nodes_;
  std::vector<TEdge> edges_;
  std::vector<std::uint32_t> single_;
  std::vector<std::vector<TEdge>> building_;  // edges per node until Flatten
  // Codes by length: direct tables for one and two bytes, a map for three.
  std::vector<std::int32_t> one_, two_;
  std::unordered_map<std::uint32_t, std::int32_t> three_;
  std::size_t longestCode_ = 0;
};

/// A character that no entry matched.
struct TUnknownCharacter {
  char16_t Char = 0;
  std::size_t First = 0;    ///< offset of its first occurrence in the text
  std::uint64_t Count = 0;  ///< occurrences
};

/// What encoding a script gave.
struct TEncoded {
  std::string Bytes;
  std::vector<TUnknownCharacter> Unknown;  ///< in order of first occurrence
  std::uint64_t UnknownCount = 0;          ///< occurrences of all of them
};

/// Encodes text: "<$XX>" (either case of hex) writes byte XX; a line break (CR LF, LF or CR)
/// writes the newline code, or nothing without one; else the longest normal or end TEXT the
/// text continues with writes its code. A character nothing matches is listed in Unknown and
/// written as unknownCode, or skipped without one.
TEncoded Encode(std::u16string_view text, const TCodeBook& book, const std::optional<std::string>& unknownCode);

/// Encode of a script; without unknownCode, a character nothing matches throws
/// std::runtime_error listing each such character (U+XXXX and itself) with the place of its
/// first occurrence, at most 20, then how many more.
TEncoded EncodeScript(const TScript& script, const TCodeBook& book, const std::optional<std::string>& unknownCode);

/// The line breaks of text: CR LF, LF and CR, each one.
std::uint64_t LineBreakCount(std::u16string_view text);

/// Decodes script bytes: at each position the longest code the book has (3, then 2, then 1
/// byte); a newline code gives LF, an end code its TEXT and LF, a normal code its TEXT, and a
/// byte no code covers "<$XX>" (upper-case hex).
std::u16string Decode(std::string_view bytes, const TCodeBook& book);

}  // namespace mipofc
