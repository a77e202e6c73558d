#include "base/hex.h"

#include <limits>

namespace mipofc {

std::string HexText(std::uint64_t value, int minDigits) {
  std::string digits;
  for (std::uint64_t v = value; v != 0 || digits.empty(); v >>= 4) digits.insert(digits.begin(), HexDigitChar(v & 15));
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
  return digits;
}

std::string_view WithoutHexPrefix(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) return text.substr(2);
  if (text.starts_with("$")) return text.substr(1);
  return text;
}

namespace {

std::optional<std::uint64_t> ParseDigits(std::string_view digits, unsigned base, std::uint64_t maximum) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int d = base == 16 ? HexDigit(static_cast<unsigned char>(c)) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (d < 0) return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(d);
    if (digit > maximum) return std::nullopt;
    if (value > (maximum - digit) / base) return std::nullopt;
    value = value * base + digit;
  }
  return value;
}

}  // namespace

std::optional<std::uint64_t> ParseHex(std::string_view digits, std::uint64_t maximum) {
  return ParseDigits(digits, 16, maximum);
}

std::optional<std::uint64_t> ParseHexOrDecimal(std::string_view text) {
  const std::string_view digits = WithoutHexPrefix(text);
  return ParseDigits(digits, digits.size() == text.size() ? 10 : 16, std::numeric_limits<std::uint64_t>::max());
}

}  // namespace mipofc
