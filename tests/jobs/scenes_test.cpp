// Scenes in CHR-ROM banks: the script cut into scenes, the plan that gives each scene the fixed
// banks and one switched bank, and the files written from it, checked on seeded random scripts.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <sstream>

#include "base/hex.h"
#include "jobs/scene_export.h"
#include "table/script.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

TEST(SplitScenes, ModesAndLineEnds) {
  struct Case {
    const char16_t* script;
    const char* mode;
    std::vector<TScene> scenes;
  } cases[] = {
      {u"\n \n甲乙\n丙\n\n\u3000\t\n丁\n\n", "blank", {{3, 4, u"甲乙\n丙"}, {7, 7, u"丁"}}},
      {u"甲\r\n\r\n乙\r\n丙", "blank", {{1, 1, u"甲"}, {3, 4, u"乙\n丙"}}},
      {u"甲\r\r乙\r丙\r", "blank", {{1, 1, u"甲"}, {3, 4, u"乙\n丙"}}},
      {u"甲\n\n \n乙\r\n", "line", {{1, 1, u"甲"}, {3, 3, u" "}, {4, 4, u"乙"}}},
      {u"--\n甲\n\n乙\n--\n--\n丙\n--", "marker:--", {{2, 4, u"甲\n\n乙"}, {7, 7, u"丙"}}},
      {u"\n甲\n-- \n乙\n\n--\n", "marker:--", {{2, 4, u"甲\n-- \n乙"}}},
  };
  for (const Case& c : cases) {
    const std::vector<TScene> got = SplitScenes(c.script, *SceneSplitNamed(c.mode));
    ASSERT_EQ(got.size(), c.scenes.size()) << c.mode;
    for (std::size_t s = 0; s < got.size(); ++s) {
      EXPECT_EQ(got[s].FirstLine, c.scenes[s].FirstLine) << c.mode << " scene " << s;
      EXPECT_EQ(got[s].LastLine, c.scenes[s].LastLine) << c.mode << " scene " << s;
      EXPECT_TRUE(got[s].Text == c.scenes[s].Text) << c.mode << " scene " << s;
    }
  }
  for (const char* bad : {"blanks", "marker:", "", "Line"}) EXPECT_FALSE(SceneSplitNamed(bad)) << bad;
}

// Scenes of 1..maxSize distinct characters drawn from a skewed alphabet.
TSceneSets RandomSets(std::uint32_t seed, std::size_t count, std::int32_t universe, std::int32_t maxSize) {
  std::mt19937 random(seed);
  TSceneSets sets(count);
  for (auto& set : sets) {
    const std::int32_t size = std::uniform_int_distribution<std::int32_t>(1, maxSize)(random);
    while (static_cast<std::int32_t>(set.size()) < size) {
      const double u = std::uniform_real_distribution<double>(0, 1)(random);
      set.push_back(static_cast<std::int32_t>(u * u * universe));
      std::sort(set.begin(), set.end());
      set.erase(std::unique(set.begin(), set.end()), set.end());
    }
  }
  return sets;
}

// Every bank of an assignment holds at most capacity characters; returns the bank count checked.
std::int32_t CheckedBanks(const TSceneSets& sets, const TBankAssignment& a, std::int32_t capacity) {
  std::vector<std::set<std::int32_t>> banks(static_cast<std::size_t>(a.Banks));
  for (std::size_t s = 0; s < sets.size(); ++s) {
    EXPECT_GE(a.SceneBank[s], 0);
    EXPECT_LT(a.SceneBank[s], a.Banks);
    banks[static_cast<std::size_t>(a.SceneBank[s])].insert(sets[s].begin(), sets[s].end());
  }
  for (const auto& bank : banks) {
    EXPECT_LE(static_cast<std::int32_t>(bank.size()), capacity);
    EXPECT_FALSE(bank.empty());
  }
  return a.Banks;
}

TEST(PlanBanks, FitsEveryBankAndNeverUsesMoreThanEitherHeuristic) {
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    const std::int32_t capacity = seed % 3 == 0 ? 16 : 64;
    const TSceneSets sets = RandomSets(seed, 40 + seed * 30, 60 + static_cast<std::int32_t>(seed) * 40, capacity / 2 + 4);
    const std::int32_t universe = 60 + static_cast<std::int32_t>(seed) * 40;
    const std::int32_t first = CheckedBanks(sets, FirstFitBanks(sets, universe, capacity), capacity);
    const std::int32_t fusion = CheckedBanks(sets, BestFusionBanks(sets, universe, capacity), capacity);
    const TBankAssignment plan = PlanBanks(sets, universe, capacity);
    const std::int32_t planned = CheckedBanks(sets, plan, capacity);
    EXPECT_LE(planned, std::min(first, fusion)) << "seed " << seed;
    EXPECT_EQ(plan.SceneBank, PlanBanks(sets, universe, capacity).SceneBank) << "seed " << seed;
    SCOPED_TRACE(seed);
  }
}

class SceneExportTest : public testing::Test {
 protected:
  // A script of count scenes of up to maxChars characters each, skewed towards the first
  // characters, lines of up to 5 characters, scenes apart by one or two blank lines.
  static std::u16string RandomScript(std::uint32_t seed, int count, int maxChars, int alphabet) {
    std::mt19937 random(seed);
    std::u16string script;
    for (int s = 0; s < count; ++s) {
      const int length = std::uniform_int_distribution<int>(1, maxChars)(random);
      for (int k = 0; k < length; ++k) {
        const double u = std::uniform_real_distribution<double>(0, 1)(random);
        script += static_cast<char16_t>(0x4E00 + static_cast<int>(u * u * alphabet));
        if (k % 5 == 4 && k + 1 < length) script += u'\n';
      }
      script += s % 3 == 0 ? u"\n\n\n" : u"\n\n";
    }
    return script;
  }
  struct TRow {
    std::size_t bank, offset, length;
  };
  static std::vector<TRow> MapRows(const std::string& csv) {
    std::vector<TRow> rows;
    std::istringstream in(csv);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "scene,first_line,last_line,bank,characters,offset,length");
    while (std::getline(in, line)) {
      std::vector<std::string> f;
      std::istringstream fields(line);
      for (std::string field; std::getline(fields, field, ',');) f.push_back(field);
      rows.push_back({std::stoul(f.at(3), nullptr, 16), std::stoul(f.at(5)), std::stoul(f.at(6))});
    }
    return rows;
  }
  TFont font_ = test::TestFont();
  test::TempDir dir_;
};

// The invariants of a scene export on random scripts: every scene sees its characters, decoding
// its bytes through its bank's table gives it back, each bank file is what exporting its table
// draws, and the map agrees with the encoded file.
TEST_F(SceneExportTest, RandomScriptsRoundTripThroughTheirBanksAndTables) {
  for (std::uint32_t seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE(seed);
    TChrSettings settings = test::StartSettings(&font_);
    settings.Limit = 1024;  // 16 characters a bank: many banks from a small script
    const int fixedBanks = static_cast<int>(seed % 3);
    TSceneSource source{RandomScript(seed, 30, 14, 60), *SceneSplitNamed("blank"), fixedBanks, {}};
    TSceneOutputs outputs;
    outputs.CodeStart = 0x20 * seed;
    outputs.Table = dir_ / ("s" + std::to_string(seed) + ".tbl");
    outputs.Encoded = dir_ / ("s" + std::to_string(seed) + ".bin");
    outputs.Map = dir_ / ("s" + std::to_string(seed) + ".csv");
    if (seed % 2 == 0) outputs.Controls = {std::string(1, '\xFE'), std::string(1, '\xFF')};
    const TScenePrepared p = PrepareSceneExport(source, settings, outputs);
    const std::int32_t capacity = p.Plan.Capacity;
    ASSERT_EQ(capacity, 16);
    EXPECT_LE(static_cast<std::int64_t>(p.Plan.Banks.size()), std::min(p.Plan.FirstFit, p.Plan.BestFusion));
    EXPECT_GE(static_cast<std::int64_t>(p.Plan.Banks.size()), p.Plan.LowerBound);
    EXPECT_EQ(p.FixedFiles, fixedBanks);
    const std::string chosen = dir_ / ("s" + std::to_string(seed) + ".chr");
    ASSERT_FALSE(WriteSceneExport(p, chosen, settings, {}).Cancelled);

    const std::vector<TRow> rows = MapRows(test::ReadFile(*outputs.Map));
    const std::string encoded = test::ReadFile(*outputs.Encoded);
    ASSERT_EQ(rows.size(), p.Scenes.size());
    std::size_t next = 0;
    for (std::size_t s = 0; s < rows.size(); ++s) {
      EXPECT_EQ(rows[s].offset, next) << "scene " << s;
      next += rows[s].length;
      const std::size_t bank = static_cast<std::size_t>(p.Plan.SceneBank[s]);
      EXPECT_EQ(rows[s].bank, bank + static_cast<std::size_t>(fixedBanks));
      for (char16_t c : p.Scenes[s].Text) {
        if (c == u'\n') continue;
        EXPECT_TRUE(p.Plan.Fixed.find(c) != std::u16string::npos || p.Plan.Banks[bank].find(c) != std::u16string::npos);
      }
      const std::string table = dir_ / ("s" + std::to_string(seed) + "." + (rows[s].bank < 16 ? "0" : "") +
                                        HexText(rows[s].bank, 1) + ".tbl");
      const TCodeBook book({ReadTable(table)});
      std::u16string want = p.Scenes[s].Text;
      if (outputs.Controls.End) want += u'\n';
      if (!outputs.Controls.Newline) std::erase(want, u'\n');
      EXPECT_TRUE(Decode(std::string_view(encoded).substr(rows[s].offset, rows[s].length), book) == want) << "scene " << s;
    }
    EXPECT_EQ(next, encoded.size());

    // Exporting a switched bank's table draws the fixed banks, then that bank.
    for (std::size_t b = 0; b < p.Plan.Banks.size(); ++b) {
      const std::size_t file = b + static_cast<std::size_t>(fixedBanks);
      const std::string number = (file < 16 ? "0" : "") + HexText(file, 1);
      test::TempDir again;
      const std::u16string drawn = TextOfTable(ReadTable(dir_ / ("s" + std::to_string(seed) + "." + number + ".tbl")),
                                               outputs.CodeStart);
      ASSERT_EQ(ExportBanks(again / "t.chr", TBankFormat::Chr, settings, drawn), fixedBanks + 1);
      for (std::size_t k = 0; k <= static_cast<std::size_t>(fixedBanks); ++k) {
        const std::size_t ours = k < static_cast<std::size_t>(fixedBanks) ? k : file;
        const std::string n = "0" + HexText(k, 1), m = (ours < 16 ? "0" : "") + HexText(ours, 1);
        EXPECT_TRUE(test::ReadFile(again / ("t." + n + ".chr")) ==
                    test::ReadFile(dir_ / ("s" + std::to_string(seed) + "." + m + ".chr")))
            << "bank " << m << " and its table's export " << n;
      }
    }
  }
}

TEST_F(SceneExportTest, ASceneThatCannotFitIsNamedAndNothingIsWritten) {
  TChrSettings settings = test::StartSettings(&font_);
  settings.Limit = 1024;
  std::u16string big;
  for (int k = 0; k < 20; ++k) big += static_cast<char16_t>(0x4E00 + k);
  const std::u16string script = u"甲\n\n乙\n" + big.substr(0, 10) + u"\n" + big.substr(10) + u"\n\n丙";
  TSceneOutputs outputs;
  outputs.Table = dir_ / "x.tbl";
  try {
    PrepareSceneExport({script, *SceneSplitNamed("blank"), 0, {}}, settings, outputs);
    FAIL() << "no error";
  } catch (const TSceneFitError& e) {
    EXPECT_STREQ(e.what(), "scene 1 (lines 3-5): 21 characters besides the fixed banks; a bank holds 16");
  }
  // With a fixed bank of the characters found in most scenes, it fits.
  const TScenePrepared p = PrepareSceneExport({script + u"\n\n" + big, *SceneSplitNamed("blank"), 1, {}}, settings, outputs);
  EXPECT_EQ(p.Plan.Fixed.size(), 16u);
  EXPECT_TRUE(fs::is_empty(dir_.Path()));
}

TEST_F(SceneExportTest, AControlCodeThatIsACharactersCodeIsRefused) {
  TChrSettings settings = test::StartSettings(&font_);
  TSceneOutputs outputs;
  outputs.CodeStart = 0x40;
  outputs.Controls.Newline = std::string(1, '\x41');
  try {
    PrepareSceneExport({u"甲乙\n\n丙", *SceneSplitNamed("blank"), 0, {}}, settings, outputs);
    FAIL() << "no error";
  } catch (const TCodeConflictError& e) {
    EXPECT_STREQ(e.what(), "the newline code 41 is also the code of U+4E59 乙");
  }
  outputs.Controls = {std::string(1, '\xF0'), std::string(1, '\xF0')};
  EXPECT_THROW(PrepareSceneExport({u"甲", *SceneSplitNamed("line"), 0, {}}, settings, outputs), TCodeConflictError);
}

}  // namespace
}  // namespace mipofc
