#pragma once

// Codes of an exported text: character i of the banks gets code start + i.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "table/tbl.h"

namespace mipofc {

/// The highest code a table holds: three bytes.
inline constexpr std::uint32_t MaxCode = 0xFFFFFF;

/// How the codes of an exported text are laid out.
struct TCodePlan {
  std::uint32_t Start = 0;  ///< code of the first character, 0..MaxCode
  int Bytes = 1;            ///< bytes of every code, 1..3
};

/// The codes of an exported text do not fit the bytes asked for. what() says how many
/// characters from which code need which highest code.
class TCodeRangeError : public std::runtime_error {
 public:
  explicit TCodeRangeError(TFailure failure) : std::runtime_error(EnglishReason(failure)), failure_(std::move(failure)) {}
  const TFailure& Failure() const { return failure_; }

 private:
  TFailure failure_;
};

/// The plan for count characters from code start, each code in bytes bytes (1..3), or in the
/// fewest that hold every code for bytes 0. Throws TCodeRangeError when the highest code,
/// start + count - 1, needs more.
TCodePlan PlanCodes(std::size_t count, std::uint32_t start, int bytes);

/// The table of an exported text: one normal entry for each of its characters, code
/// plan.Start + i for character i, in code order (a character that occurs twice gets both codes).
std::vector<TTableEntry> CodeTableOf(std::u16string_view text, const TCodePlan& plan);

/// The text that draws a table: for each code c from start to the highest code of the table's
/// single-character normal entries, the character of c's entry (the first one in file order, when
/// codes of different lengths have the same value), or U+0020 where c has none. Empty when no
/// such code reaches start.
std::u16string TextOfTable(const TTable& table, std::uint32_t start);

}  // namespace mipofc
