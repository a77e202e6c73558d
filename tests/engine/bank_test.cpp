#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "engine/chr.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

TCellTiles Grid(int cols, int rows) {
  TCellTiles cell;
  cell.ColsMinus1 = cols - 1;
  cell.RowsMinus1 = rows - 1;
  for (int c = 0; c < cols; ++c)
    for (int r = 0; r < rows; ++r) {
      cell.Tiles[c][r] = {};
      cell.Tiles[c][r].Plane0[0] = static_cast<std::uint8_t>(16 * c + r + 1);  // names the position
    }
  return cell;
}

TEST(PlaceBlock, StartSlotsOfTheWorkedExamples) {
  struct Case {
    int cols, rows;
    std::vector<int> starts;  // the first start slots, in order
    int last;                 // start slot of the last character of a full 4K bank
    std::vector<int> slotsOfFirst;
  } cases[] = {
      {1, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}, 255, {0}},
      {2, 2, {0, 2, 4, 6, 8, 10, 12, 14, 32, 34}, 238, {0, 1, 16, 17}},
      {4, 4, {0, 4, 8, 12, 64, 68, 72, 76, 128}, 204, {0, 1, 2, 3, 16, 17, 18, 19, 32, 33, 34, 35, 48, 49, 50, 51}},
      {1, 2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 32, 33}, 239, {0, 16}},
      {4, 2, {0, 4, 8, 12, 32, 36}, 236, {0, 1, 2, 3, 16, 17, 18, 19}},
  };
  for (const Case& c : cases) {
    const int capacity = 256 / (c.cols * c.rows);
    TChr engine;
    std::vector<int> starts;
    int s = 0;
    for (int k = 0; k < capacity; ++k) {
      starts.push_back(s);
      s = engine.PlaceBlock(Grid(c.cols, c.rows), s);
    }
    SCOPED_TRACE(testing::Message() << c.cols << " x " << c.rows);
    EXPECT_EQ(std::vector<int>(starts.begin(), starts.begin() + c.starts.size()), c.starts);
    EXPECT_EQ(starts.back(), c.last);
    EXPECT_EQ(s, 256);
    TChr one;
    std::fill_n(one.Bank.Slots, 512, BlankTile);
    one.PlaceBlock(Grid(c.cols, c.rows), 0);
    std::vector<int> filled;
    for (int t = 0; t < 512; ++t)
      if (!(one.Bank.Slots[t] == BlankTile)) filled.push_back(t);
    EXPECT_EQ(filled, c.slotsOfFirst);
  }
}

TEST(PlaceBlock, TheNinthSixteenBySixteenCharacterStartsTheSecondBand) {
  TChr engine;
  EXPECT_EQ(engine.PlaceBlock(Grid(2, 2), 14), 32);
  EXPECT_EQ(engine.Bank.Slots[31].Plane0[0], 16 * 1 + 1 + 1);  // bottom-right of the eighth
  EXPECT_EQ(engine.PlaceBlock(Grid(4, 4), 204), 256);
  EXPECT_EQ(engine.Bank.Slots[255].Plane0[0], 16 * 3 + 3 + 1);
}

TEST(FlattenCell, ScanOrders) {
  const TCellTiles cell = Grid(2, 2);
  const TTileSequence h = TChr::FlattenCell(cell, true), v = TChr::FlattenCell(cell, false);
  ASSERT_EQ(h.CountMinus1, 3);
  ASSERT_EQ(v.CountMinus1, 3);
  const int hOrder[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, vOrder[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(h.Items[i], cell.Tiles[hOrder[i][0]][hOrder[i][1]]) << i;
    EXPECT_EQ(v.Items[i], cell.Tiles[vOrder[i][0]][vOrder[i][1]]) << i;
  }
  for (auto [cols, rows] : {std::pair{1, 4}, std::pair{4, 1}, std::pair{1, 1}}) {
    const TTileSequence a = TChr::FlattenCell(Grid(cols, rows), true), b = TChr::FlattenCell(Grid(cols, rows), false);
    ASSERT_EQ(a.CountMinus1, cols * rows - 1);
    for (int i = 0; i <= a.CountMinus1; ++i) EXPECT_EQ(a.Items[i], b.Items[i]);
  }
}

// Every cell size with every mode the window offers for it, both distributions, all limits:
// a full bank fills exactly slots 0 .. Limit/16 - 1, each once.
TEST(Placement, FullBanksFillTheirSlotsExactlyOnce) {
  struct Size {
    int width, height;
    std::vector<int> modes;
  } sizes[] = {{8, 8, {0, 1, 2}},        {8, 16, {0, 1, 2, 3}},     {16, 8, {0, 1, 2, 4}},
               {16, 16, {0, 1, 2, 3, 4}}, {16, 32, {0, 1, 2, 3, 4}}, {32, 16, {0, 1, 2, 3, 4}},
               {32, 32, {0, 1, 2, 3, 4}}};
  for (const Size& size : sizes)
    for (int mode : size.modes)
      for (int limit : {1024, 2048, 4096})
        for (int distribution : {0, 1}) {
          TChrSettings s = test::StartSettings(nullptr);
          s.CellWidth = size.width;
          s.CellHeight = size.height;
          s.EncodeMode = mode;
          s.Limit = limit;
          s.Distribution = distribution;
          TChr engine;
          const int capacity = engine.ApplySettings(s);
          std::vector<int> writes(512, 0);
          int next = 0;
          for (int k = 0; k < capacity; ++k) {
            TCellTiles cell = Grid(engine.TileCols, engine.TileRows);
            engine.TransformCell(cell);
            std::fill_n(engine.Bank.Slots, 512, BlankTile);
            next = distribution == 0 ? engine.PlaceContinuous(TChr::FlattenCell(cell, true), next)
                                     : engine.PlaceBlock(cell, next);
            for (int t = 0; t < 512; ++t) writes[t] += engine.Bank.Slots[t] == BlankTile ? 0 : 1;
          }
          SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " mode " << mode << " limit "
                                          << limit << " distribution " << distribution);
          EXPECT_EQ(next, limit / 16);
          for (int t = 0; t < 512; ++t) ASSERT_EQ(writes[t], t < limit / 16 ? 1 : 0) << "slot " << t;
        }
}

class BuildBankTest : public testing::Test {
 protected:
  TChr& Build(std::u16string text, int distribution = 1, bool scanHorizontal = true, int limit = 4096) {
    engine_ = std::make_unique<TChr>();
    engine_->Settings = test::StartSettings(&font_);
    engine_->Settings.Distribution = distribution;
    engine_->Settings.ScanHorizontal = scanHorizontal;
    engine_->Settings.Limit = limit;
    engine_->Text = std::move(text);
    engine_->PrepareCell();
    engine_->BuildBank();
    return *engine_;
  }
  std::vector<int> Placed() const {
    std::vector<int> slots;
    for (int t = 0; t < 512; ++t)
      if (!(engine_->Bank.Slots[t] == BlankTile) && !(t >= 256 && engine_->Bank.Slots[t] == TTile{}))
        slots.push_back(t);
    return slots;
  }
  TFont font_ = test::TestFont();
  std::unique_ptr<TChr> engine_;
};

TEST_F(BuildBankTest, EmptyTextLeavesEveryBlankTile) {
  Build(u"");
  for (int t = 0; t < 256; ++t) EXPECT_EQ(engine_->Bank.Slots[t], BlankTile);
  for (int t = 256; t < 512; ++t) EXPECT_EQ(engine_->Bank.Slots[t], TTile{});
}

TEST_F(BuildBankTest, APartBandStaysBlank) {
  Build(u"你们大");
  std::vector<int> expected = {0, 1, 2, 3, 4, 5, 16, 17, 18, 19, 20, 21};
  EXPECT_EQ(Placed(), expected);
}

TEST_F(BuildBankTest, OnlyTheFirstCapacityCharactersAreUsed) {
  std::u16string text;
  for (int i = 0; i < 64; ++i) text += u'你';
  TChr& full = Build(text + u"好好好");
  std::vector<TTile> a(full.Bank.Slots, full.Bank.Slots + 256);
  TChr& exact = Build(text);
  std::vector<TTile> b(exact.Bank.Slots, exact.Bank.Slots + 256);
  EXPECT_EQ(a, b);
  EXPECT_EQ(Placed().size(), 256u);
}

TEST_F(BuildBankTest, ContinuousScanOrders) {
  TChr& h = Build(u"好", 0, true);
  const TTile tl = h.Bank.Slots[0], tr = h.Bank.Slots[1], bl = h.Bank.Slots[2], br = h.Bank.Slots[3];
  // The same character by block: top row at 0,1 and bottom row at 16,17.
  TChr& block = Build(u"好", 1);
  EXPECT_EQ(block.Bank.Slots[0], tl);
  EXPECT_EQ(block.Bank.Slots[1], tr);
  EXPECT_EQ(block.Bank.Slots[16], bl);
  EXPECT_EQ(block.Bank.Slots[17], br);
  TChr& v = Build(u"好", 0, false);
  EXPECT_EQ(v.Bank.Slots[0], tl);
  EXPECT_EQ(v.Bank.Slots[1], bl);
  EXPECT_EQ(v.Bank.Slots[2], tr);
  EXPECT_EQ(v.Bank.Slots[3], br);
}

TEST_F(BuildBankTest, SurrogateHalvesAreTwoCharacters) {
  Build(u"\U00020000", 0);
  std::vector<int> expected = {0, 1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(Placed(), expected);
}

TEST_F(BuildBankTest, AnyNonZeroDistributionIsBlock) {
  TChr& a = Build(u"你们", 1);
  std::vector<TTile> one(a.Bank.Slots, a.Bank.Slots + 256);
  TChr& b = Build(u"你们", 7);
  EXPECT_EQ(std::vector<TTile>(b.Bank.Slots, b.Bank.Slots + 256), one);
}

// The build says whose tile each slot holds: the character and the tile of its placed cell.
TEST_F(BuildBankTest, OwnersNameTheCharacterAndTileOfEverySlot) {
  struct Case {
    int distribution;
    bool scanHorizontal;
    std::vector<std::pair<int, TSlotOwner>> owners;  // slot, owner
  } cases[] = {
      {1, true, {{0, {0, 0, 0}}, {1, {0, 1, 0}}, {16, {0, 0, 1}}, {17, {0, 1, 1}}, {2, {1, 0, 0}}, {19, {1, 1, 1}},
                 {4, {2, 0, 0}}, {6, {}}, {32, {}}}},
      {0, true, {{0, {0, 0, 0}}, {1, {0, 1, 0}}, {2, {0, 0, 1}}, {3, {0, 1, 1}}, {4, {1, 0, 0}}, {12, {}}}},
      {0, false, {{0, {0, 0, 0}}, {1, {0, 0, 1}}, {2, {0, 1, 0}}, {3, {0, 1, 1}}, {11, {2, 1, 1}}, {16, {}}}},
  };
  for (const Case& c : cases) {
    TChr& engine = Build(u"你们大", c.distribution, c.scanHorizontal);
    for (const auto& [slot, owner] : c.owners)
      EXPECT_EQ(engine.Owners[slot], owner) << "slot " << slot << " distribution " << c.distribution;
  }
}

// In every offered combination a full bank's slots are each owned once, by a character's tile
// that no other slot claims, and a rebuild forgets the owners of a longer text.
TEST_F(BuildBankTest, OwnersCoverAFullBankOnce) {
  for (auto [width, height, mode] : {std::tuple{16, 16, 3}, std::tuple{16, 16, 4}, std::tuple{32, 32, 0},
                                     std::tuple{8, 16, 3}, std::tuple{32, 16, 4}})
    for (int distribution : {0, 1}) {
      TChr engine;
      engine.Settings = test::StartSettings(&font_);
      engine.Settings.CellWidth = width;
      engine.Settings.CellHeight = height;
      engine.Settings.EncodeMode = mode;
      engine.Settings.Distribution = distribution;
      engine.PrepareCell();
      engine.Text = std::u16string(static_cast<std::size_t>(engine.Bank.Capacity), u'字');
      engine.BuildBank();
      std::set<std::tuple<int, int, int>> seen;
      for (int t = 0; t < 256; ++t) {
        const TSlotOwner& o = engine.Owners[t];
        ASSERT_GE(o.Char, 0) << t;
        ASSERT_LT(o.Char, engine.Bank.Capacity) << t;
        EXPECT_TRUE(seen.insert({o.Char, o.Col, o.Row}).second) << "slot " << t;
      }
      engine.Text.resize(1);
      engine.BuildBank();
      int owned = 0;
      for (int t = 0; t < 256; ++t) owned += engine.Owners[t].Char >= 0;
      EXPECT_EQ(owned, 256 / engine.Bank.Capacity) << width << "x" << height << " mode " << mode;
    }
}

}  // namespace
}  // namespace mipofc
