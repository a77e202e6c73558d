#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "base/hex.h"

namespace mipofc {
namespace {

TEST(Hex, TextIsUpperCaseAndZeroFilled) {
  const struct {
    std::uint64_t value;
    int digits;
    const char* text;
  } cases[] = {{0, 2, "00"}, {0xA, 2, "0A"}, {0x1234, 2, "1234"}, {0xBEEF, 6, "00BEEF"},
               {0, 0, "0"},  {UINT64_MAX, 1, "FFFFFFFFFFFFFFFF"}};
  for (const auto& c : cases) EXPECT_EQ(HexText(c.value, c.digits), c.text) << c.text;
}

TEST(Hex, ParsingTakesDigitsOfEitherCaseUpToTheMaximum) {
  const struct {
    const char* text;
    std::uint64_t maximum;
    std::optional<std::uint64_t> value;
  } cases[] = {
      {"ff", 0xFF, 0xFF},       {"Ff", 0xFE, std::nullopt}, {"0000000000000000001", 1, 1},
      {"", UINT64_MAX, std::nullopt}, {"12g", UINT64_MAX, std::nullopt}, {"0x12", UINT64_MAX, std::nullopt},
      {"FFFFFFFFFFFFFFFF", UINT64_MAX, UINT64_MAX}, {"10000000000000000", UINT64_MAX, std::nullopt},
      {"5", 0, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseHex(c.text, c.maximum), c.value) << c.text;
}

TEST(Hex, OffsetsAreHexWithAPrefixElseDecimal) {
  const struct {
    const char* text;
    std::optional<std::uint64_t> value;
  } cases[] = {{"0x10", 16},         {"0X1f", 31},     {"$18010", 0x18010}, {"100", 100},
               {"1f", std::nullopt}, {"0x", std::nullopt}, {"$", std::nullopt}, {"-1", std::nullopt},
               {"18446744073709551615", UINT64_MAX}, {"18446744073709551616", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(ParseHexOrDecimal(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace mipofc
