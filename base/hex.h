#pragma once

// Hexadecimal digits and numbers, as the tables, the parameter files and the command line write
// and read them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mipofc {

/// The value of a hexadecimal digit (either case), or -1.
inline int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

/// The upper-case hexadecimal digit of 0..15.
inline char HexDigitChar(unsigned value) { return "0123456789ABCDEF"[value & 15]; }

/// value in upper-case hex, zero-filled to at least minDigits digits.
std::string HexText(std::uint64_t value, int minDigits);

/// text without a leading "0x", "0X" or "$".
std::string_view WithoutHexPrefix(std::string_view text);

/// The value of hex digits (either case, at least one, no prefix); nullopt for anything else or
/// a value above maximum.
std::optional<std::uint64_t> ParseHex(std::string_view digits, std::uint64_t maximum = UINT64_MAX);

/// A number in hex with "0x" or "$" in front, or in decimal; nullopt for anything else or a value
/// that does not fit 64 bits.
std::optional<std::uint64_t> ParseHexOrDecimal(std::string_view text);

}  // namespace mipofc
