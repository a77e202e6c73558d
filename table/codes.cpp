#include "table/codes.h"

#include <algorithm>
#include <unordered_map>

namespace mipofc {
namespace {

int FewestBytes(std::uint64_t code) { return code <= 0xFF ? 1 : code <= 0xFFFF ? 2 : 3; }

std::string HexOf(std::uint64_t code) {
  const int bytes = code <= MaxCode ? FewestBytes(code) : 4;
  return CodeHex(CodeOf(static_cast<std::uint32_t>(code), 4).substr(4 - bytes));
}

}  // namespace

TCodePlan PlanCodes(std::size_t count, std::uint32_t start, int bytes) {
  TCodePlan plan{start, bytes};
  const std::uint64_t highest = count == 0 ? start : static_cast<std::uint64_t>(start) + count - 1;
  const std::uint64_t room = bytes == 0 ? MaxCode : (std::uint64_t{1} << (8 * bytes)) - 1;
  // Without characters there is no code to hold, only a start to keep.
  if (start > MaxCode || (count > 0 && highest > room)) {
    const int held = bytes == 0 ? 3 : bytes;
    throw TCodeRangeError(TFailure{TFailureKind::CodeRange, {std::to_string(count), HexOf(start), HexOf(highest),
                                                             std::to_string(held), HexOf(room)}});
  }
  if (bytes == 0) plan.Bytes = FewestBytes(std::min<std::uint64_t>(highest, MaxCode));
  return plan;
}

std::vector<TTableEntry> CodeTableOf(std::u16string_view text, const TCodePlan& plan) {
  std::vector<TTableEntry> entries(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    entries[i].Code = CodeOf(plan.Start + static_cast<std::uint32_t>(i), plan.Bytes);
    entries[i].Text.assign(1, text[i]);
  }
  return entries;
}

std::u16string TextOfTable(const TTable& table, std::uint32_t start) {
  std::unordered_map<std::uint32_t, char16_t> charOf;
  std::uint64_t end = start;  // one past the highest code at or above start
  for (const TTableEntry& e : table.Entries) {
    if (e.Kind != TEntryKind::Normal || e.Text.size() != 1) continue;
    const std::uint32_t code = CodeValue(e.Code);
    if (code < start) continue;
    charOf.try_emplace(code, e.Text[0]);
    end = std::max<std::uint64_t>(end, code + std::uint64_t{1});
  }
  std::u16string text(static_cast<std::size_t>(end - start), u' ');
  for (const auto& [code, c] : charOf) text[code - start] = c;
  return text;
}

}  // namespace mipofc
