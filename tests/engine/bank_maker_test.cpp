// The banks an export takes in order, made partly on a helper thread, are the banks a fresh
// engine makes of each slice alone.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/bank_maker.h"
#include "engine/formats.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

std::u16string Text(std::size_t length) {
  // Letters the test font draws, with blanks between: banks of ink and of empty slots.
  std::u16string text;
  for (std::size_t i = 0; i < length; ++i) text += i % 7 == 6 ? u' ' : static_cast<char16_t>(u'A' + i % 26);
  return text;
}

TEST(BankMaker, EveryBankEqualsAFreshEngineOfItsSliceWhateverTheCount) {
  TFont font = test::TestFont();
  const TChrSettings settings = test::StartSettings(&font);
  const std::int32_t capacity = 16;
  // Below, at and above the count from which a helper makes every other bank, odd and even.
  for (const std::size_t banks : {0u, 1u, 3u, 4u, 5u, 40u}) {
    const std::u16string text = Text(banks * capacity - (banks > 2 ? 5 : 0));
    TBankMaker maker(settings, text, capacity, true);
    ASSERT_EQ(maker.Count(), static_cast<std::int64_t>(banks));
    for (std::int64_t n = 0; n < maker.Count(); ++n) {
      auto engine = std::make_unique<TChr>();
      TFont own = font;
      TChrSettings alone = settings;
      alone.Font = &own;
      engine->BuildFor(alone, std::u16string_view(text).substr(static_cast<std::size_t>(n) * capacity, capacity));
      const TMadeBank bank = maker.Take(n);
      EXPECT_EQ(bank.Bytes, engine->BankBytes()) << banks << " banks, bank " << n;
      EXPECT_NE(bank.Bytes.find_first_not_of('\0'), std::string::npos) << "bank " << n << " holds no ink";
      EXPECT_EQ(bank.TileNames, TileNames(*engine, n)) << banks << " banks, bank " << n;
    }
  }
}

TEST(BankMaker, NamesOnlyWhenAskedAndStopsWhenLeftEarly) {
  TFont font = test::TestFont();
  const TChrSettings settings = test::StartSettings(&font);
  const std::u16string text = Text(16 * 500);
  {
    TBankMaker maker(settings, text, 16, false);
    EXPECT_TRUE(maker.Take(0).TileNames.empty());
    EXPECT_TRUE(maker.Take(1).TileNames.empty());
    EXPECT_EQ(maker.Take(2).Bytes.size(), static_cast<std::size_t>(settings.Limit));
    // Leaving after three of 500 banks must neither wait for the rest nor leave a thread running
    // (a hang here, or a sanitizer report).
  }
}

}  // namespace
}  // namespace mipofc
