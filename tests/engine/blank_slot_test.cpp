// A blank slot at a known place in every bank: the cell that would cover it holds no character,
// the slot holds the background colour, and the places a code map gives are the ones filled.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/bank_maker.h"
#include "engine/cell_places.h"
#include "engine/chr.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

struct TSize {
  int width, height;
  std::vector<int> modes;
};
const TSize Sizes[] = {{8, 8, {0, 2}},       {8, 16, {0, 3}},     {16, 8, {0, 4}},    {16, 16, {0, 3, 4}},
                       {16, 32, {0, 3, 4}}, {32, 16, {0, 3, 4}}, {32, 32, {0, 3, 4}}};

// Every offered size, fold and distribution, each bank size, the blank slot first, inside and
// last: one character fewer, and the places cover every slot but the skipped cell's, once each.
TEST(BlankSlot, TheCellOverTheBlankSlotIsPassedOverInEveryLayout) {
  for (const TSize& size : Sizes)
    for (int mode : size.modes)
      for (int limit : {1024, 4096})
        for (int distribution : {0, 1})
          for (bool horizontal : {true, false})
            for (int blank : {0, 37, limit / 16 - 1}) {
              TChrSettings s = test::StartSettings(nullptr);
              s.CellWidth = size.width;
              s.CellHeight = size.height;
              s.EncodeMode = mode;
              s.Limit = limit;
              s.Distribution = size.width == 8 && size.height == 8 ? 0 : distribution;
              s.ScanHorizontal = horizontal;
              const std::int32_t full = ExportCapacity(s);
              s.BlankSlot = blank;
              SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " mode " << mode << " limit "
                                              << limit << " distribution " << s.Distribution << " h " << horizontal
                                              << " blank " << blank);
              ASSERT_EQ(ExportCapacity(s), full - 1);
              const std::vector<TCellPlace> places = BankCellPlaces(s);
              ASSERT_EQ(places.size(), static_cast<std::size_t>(full - 1));
              std::vector<int> covered(static_cast<std::size_t>(limit / 16), 0);
              for (const TCellPlace& place : places)
                for (int i = 0; i < place.Count; ++i) {
                  const int slot = place.Slots[static_cast<std::size_t>(i)];
                  ASSERT_GE(slot, 0);
                  ASSERT_LT(slot, limit / 16);
                  ++covered[static_cast<std::size_t>(slot)];
                }
              EXPECT_EQ(covered[static_cast<std::size_t>(blank)], 0);
              int uncovered = 0;
              for (int c : covered) {
                EXPECT_LE(c, 1);
                uncovered += c == 0;
              }
              EXPECT_EQ(uncovered, places.front().Count);
            }
}

TEST(BlankSlot, ASlotOutsideTheBankChangesNothing) {
  TChrSettings s = test::StartSettings(nullptr);
  s.Limit = 1024;
  const std::int32_t full = ExportCapacity(s);
  for (int blank : {-1, 64, 255}) {
    s.BlankSlot = blank;
    EXPECT_EQ(ExportCapacity(s), full) << blank;
  }
}

class BlankSlotBankTest : public testing::Test {
 protected:
  std::unique_ptr<TChr> Build(std::u16string_view text, int blank, int bg, int distribution) {
    TChrSettings s = test::StartSettings(&font_);
    s.BlankSlot = blank;
    s.BgIndex = bg;
    s.GlyphIndex = bg == 1 ? 3 : 1;
    s.Distribution = distribution;
    auto engine = std::make_unique<TChr>();
    engine->BuildFor(s, text);
    return engine;
  }
  TFont font_ = test::TestFont();
};

// The characters keep their tiles and move to the next places; the blank slot holds the
// background colour, even where no character reached, and is owned by none.
TEST_F(BlankSlotBankTest, TheBankHoldsTheSameTilesAroundASolidBackgroundSlot) {
  const std::u16string text = u"你们大家好";
  for (int distribution : {0, 1})
    for (int bg : {0, 2})
      for (int blank : {0, 3, 200}) {
        SCOPED_TRACE(testing::Message() << "distribution " << distribution << " bg " << bg << " blank " << blank);
        const auto plain = Build(text, -1, bg, distribution);
        const auto blanked = Build(text, blank, bg, distribution);
        TChrSettings s = blanked->Settings;
        const std::vector<TCellPlace> was = BankCellPlaces(plain->Settings), now = BankCellPlaces(s);
        for (std::size_t k = 0; k < text.size(); ++k)
          for (int i = 0; i < now[k].Count; ++i) {
            const auto from = static_cast<std::size_t>(was[k].Slots[static_cast<std::size_t>(i)]);
            const auto to = static_cast<std::size_t>(now[k].Slots[static_cast<std::size_t>(i)]);
            EXPECT_EQ(blanked->Bank.Slots[to], plain->Bank.Slots[from]) << k << " tile " << i;
            EXPECT_EQ(blanked->Owners[to].Char, static_cast<int>(k));
          }
        EXPECT_EQ(blanked->Bank.Slots[blank], SolidTile(bg));
        EXPECT_EQ(blanked->Owners[static_cast<std::size_t>(blank)], TSlotOwner{});
        for (int t = 0; t < 8; ++t) {
          EXPECT_EQ(SolidTile(bg).Plane0[t], bg & 1 ? 0xFF : 0x00);
          EXPECT_EQ(SolidTile(bg).Plane1[t], bg & 2 ? 0xFF : 0x00);
        }
      }
}

}  // namespace
}  // namespace mipofc
