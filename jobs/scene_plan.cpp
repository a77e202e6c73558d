#include "jobs/scene_plan.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace mipofc {

namespace {

// The improvement stops after this many passes even while it still finds something: a bound on
// the time, the same on every machine.
constexpr int MaxPasses = 64;
// Nor does it start a pass once it has looked at this many characters.
constexpr std::uint64_t WorkBudget = 120'000'000;

// Banks of scenes, each a set of character indices as bits.
class TBanks {
 public:
  TBanks(const TSceneSets& scenes, std::int32_t universe, std::int32_t capacity)
      : scenes_(scenes),
        words_((static_cast<std::size_t>(std::max(universe, 0)) + 63) / 64),
        capacity_(capacity),
        sceneBank_(scenes.size(), -1) {}

  TBanks(const TSceneSets& scenes, std::int32_t universe, std::int32_t capacity, const TBankAssignment& from)
      : TBanks(scenes, universe, capacity) {
    for (std::int32_t b = 0; b < from.Banks; ++b) NewBank();
    for (std::size_t s = 0; s < scenes.size(); ++s) Put(s, from.SceneBank[s]);
  }

  // The first bank in index order that s still fits in, or -1.
  std::int32_t FirstFitting(std::size_t s) const {
    for (std::int32_t b = 0; b < static_cast<std::int32_t>(banks_.size()); ++b) {
      const std::int32_t room = capacity_ - banks_[static_cast<std::size_t>(b)].size;
      if (banks_[static_cast<std::size_t>(b)].alive && room >= 0 && Gain(b, s, room) <= room) return b;
    }
    return -1;
  }

  // The bank other than skip that s fits in gaining the fewest new characters, fewer than
  // below; ties go to the lowest bank. -1 for none.
  std::int32_t BestFitting(std::size_t s, std::int32_t skip, std::int32_t below) const {
    std::int32_t best = -1;
    for (std::int32_t b = 0; b < static_cast<std::int32_t>(banks_.size()) && below > 0; ++b) {
      const TBank& bank = banks_[static_cast<std::size_t>(b)];
      if (!bank.alive || b == skip) continue;
      const std::int32_t cutoff = std::min(capacity_ - bank.size, below - 1);
      if (cutoff < 0) continue;
      const std::int32_t gain = Gain(b, s, cutoff);
      if (gain <= cutoff) {
        best = b;
        below = gain;
      }
    }
    return best;
  }

  std::int32_t NewBank() {
    banks_.push_back({std::vector<std::uint64_t>(words_), 0, {}, true});
    return static_cast<std::int32_t>(banks_.size() - 1);
  }

  void Put(std::size_t s, std::int32_t b) {
    TBank& bank = banks_[static_cast<std::size_t>(b)];
    for (std::int32_t c : scenes_[s]) {
      std::uint64_t& word = bank.bits[static_cast<std::size_t>(c) >> 6];
      const std::uint64_t bit = std::uint64_t{1} << (c & 63);
      if ((word & bit) == 0) {
        word |= bit;
        ++bank.size;
      }
    }
    bank.scenes.push_back(s);
    sceneBank_[s] = b;
  }

  // Takes s out of its bank; the bank keeps the characters its other scenes use.
  void Remove(std::size_t s) {
    TBank& bank = banks_[static_cast<std::size_t>(sceneBank_[s])];
    bank.scenes.erase(std::find(bank.scenes.begin(), bank.scenes.end(), s));
    std::fill(bank.bits.begin(), bank.bits.end(), 0);
    bank.size = 0;
    std::vector<std::size_t> rest;
    rest.swap(bank.scenes);
    for (std::size_t other : rest) Put(other, sceneBank_[s]);
    sceneBank_[s] = -1;
  }

  // The characters of s that no other scene of its bank uses.
  std::int32_t OwnCharacters(std::size_t s) const {
    const TBank& bank = banks_[static_cast<std::size_t>(sceneBank_[s])];
    std::vector<std::uint64_t> others(words_);
    for (std::size_t other : bank.scenes)
      if (other != s)
        for (std::int32_t c : scenes_[other]) others[static_cast<std::size_t>(c) >> 6] |= std::uint64_t{1} << (c & 63);
    std::int32_t own = 0;
    for (std::int32_t c : scenes_[s]) own += (others[static_cast<std::size_t>(c) >> 6] >> (c & 63) & 1) == 0;
    return own;
  }

  // Empties bank b by moving each of its scenes (largest first) into the best other bank, or
  // changes nothing when one of them fits in none.
  bool Dissolve(std::int32_t b) {
    std::vector<std::size_t> order = banks_[static_cast<std::size_t>(b)].scenes;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return scenes_[x].size() > scenes_[y].size(); });
    std::vector<std::pair<std::int32_t, TBank>> saved;
    const auto save = [&](std::int32_t t) {
      for (const auto& [bank, state] : saved)
        if (bank == t) return;
      saved.emplace_back(t, banks_[static_cast<std::size_t>(t)]);
    };
    std::size_t moved = 0;
    for (; moved < order.size(); ++moved) {
      const std::int32_t t = BestFitting(order[moved], b, capacity_ + 1);
      if (t < 0) break;
      save(t);
      Put(order[moved], t);
    }
    if (moved < order.size()) {
      for (auto& [bank, state] : saved) banks_[static_cast<std::size_t>(bank)] = std::move(state);
      for (std::size_t k = 0; k < moved; ++k) sceneBank_[order[k]] = b;
      return false;
    }
    TBank& gone = banks_[static_cast<std::size_t>(b)];
    gone = {{}, 0, {}, false};
    return true;
  }

  // Tries to empty the banks, emptiest first; true when one went.
  bool DissolvePass() {
    std::vector<std::int32_t> order;
    for (std::int32_t b = 0; b < static_cast<std::int32_t>(banks_.size()); ++b)
      if (banks_[static_cast<std::size_t>(b)].alive) order.push_back(b);
    std::stable_sort(order.begin(), order.end(), [&](std::int32_t x, std::int32_t y) {
      return banks_[static_cast<std::size_t>(x)].size < banks_[static_cast<std::size_t>(y)].size;
    });
    bool any = false;
    for (std::int32_t b : order)
      if (banks_[static_cast<std::size_t>(b)].alive && Dissolve(b)) any = true;
    return any;
  }

  // Moves each scene, in script order, to the bank where it gains fewer characters than its own
  // bank loses by its leaving, or as many into a bank at least as full (fuller banks get fuller,
  // emptier ones emptier, until they can go); true when one moved. Each move shrinks the banks'
  // total or raises the sum of their squared sizes, so the passes end.
  bool TightenPass() {
    bool any = false;
    for (std::size_t s = 0; s < scenes_.size(); ++s) {
      const std::int32_t own = OwnCharacters(s);
      if (own == 0) continue;
      const std::int32_t from = sceneBank_[s];
      std::int32_t t = BestFitting(s, from, own);
      if (t < 0) t = EqualFitting(s, from, own);
      if (t < 0) continue;
      Remove(s);
      if (banks_[static_cast<std::size_t>(from)].scenes.empty()) banks_[static_cast<std::size_t>(from)].alive = false;
      Put(s, t);
      any = true;
    }
    return any;
  }

  // The fullest bank other than from (at least as full as from) that takes s for exactly gain
  // new characters; ties go to the lowest bank. -1 for none.
  std::int32_t EqualFitting(std::size_t s, std::int32_t from, std::int32_t gain) const {
    const std::int32_t fromSize = banks_[static_cast<std::size_t>(from)].size;
    std::int32_t best = -1, bestSize = fromSize - 1;
    for (std::int32_t b = 0; b < static_cast<std::int32_t>(banks_.size()); ++b) {
      const TBank& bank = banks_[static_cast<std::size_t>(b)];
      if (!bank.alive || b == from || bank.size <= bestSize || bank.size + gain > capacity_) continue;
      if (Gain(b, s, gain) == gain) {
        best = b;
        bestSize = bank.size;
      }
    }
    return best;
  }

  // Characters looked at so far: the improvement's bound, the same on every machine.
  std::uint64_t Work() const { return work_; }

  // The alive banks numbered by their first scene.
  TBankAssignment Assignment() const {
    TBankAssignment out;
    out.SceneBank.assign(scenes_.size(), -1);
    std::vector<std::int32_t> number(banks_.size(), -1);
    for (std::size_t s = 0; s < scenes_.size(); ++s) {
      std::int32_t& n = number[static_cast<std::size_t>(sceneBank_[s])];
      if (n < 0) n = out.Banks++;
      out.SceneBank[s] = n;
    }
    return out;
  }

 private:
  struct TBank {
    std::vector<std::uint64_t> bits;
    std::int32_t size = 0;
    std::vector<std::size_t> scenes;
    bool alive = true;
  };

  // How many characters of s bank b lacks, counted until the count passes cutoff.
  std::int32_t Gain(std::int32_t b, std::size_t s, std::int32_t cutoff) const {
    const std::vector<std::uint64_t>& bits = banks_[static_cast<std::size_t>(b)].bits;
    // The rarer characters come later in first appearance, so misses come sooner from the end.
    const std::vector<std::int32_t>& chars = scenes_[s];
    std::int32_t gain = 0;
    std::size_t k = chars.size();
    while (k > 0) {
      const std::int32_t c = chars[--k];
      if ((bits[static_cast<std::size_t>(c) >> 6] >> (c & 63) & 1) == 0 && ++gain > cutoff) break;
    }
    work_ += chars.size() - k;
    return gain;
  }

  const TSceneSets& scenes_;
  std::size_t words_;
  std::int32_t capacity_;
  std::vector<TBank> banks_;
  std::vector<std::int32_t> sceneBank_;
  mutable std::uint64_t work_ = 0;
};

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return b <= 0 ? 0 : (a + b - 1) / b; }

}  // namespace

TBankAssignment FirstFitBanks(const TSceneSets& scenes, std::int32_t universe, std::int32_t capacity) {
  TBanks banks(scenes, universe, capacity);
  for (std::size_t s = 0; s < scenes.size(); ++s) {
    std::int32_t b = banks.FirstFitting(s);
    if (b < 0) b = banks.NewBank();
    banks.Put(s, b);
  }
  return banks.Assignment();
}

TBankAssignment BestFusionBanks(const TSceneSets& scenes, std::int32_t universe, std::int32_t capacity) {
  std::vector<std::size_t> order(scenes.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t x, std::size_t y) { return scenes[x].size() > scenes[y].size(); });
  TBanks banks(scenes, universe, capacity);
  for (std::size_t s : order) {
    std::int32_t b = banks.BestFitting(s, -1, capacity + 1);
    if (b < 0) b = banks.NewBank();
    banks.Put(s, b);
  }
  return banks.Assignment();
}

TBankAssignment PlanBanks(const TSceneSets& scenes, std::int32_t universe, std::int32_t capacity) {
  return PlanBanksBeside(scenes, universe, capacity, FirstFitBanks(scenes, universe, capacity),
                         BestFusionBanks(scenes, universe, capacity));
}

TBankAssignment PlanBanksBeside(const TSceneSets& scenes, std::int32_t universe, std::int32_t capacity,
                                const TBankAssignment& firstFit, const TBankAssignment& bestFusion) {
  TBanks banks(scenes, universe, capacity, bestFusion.Banks <= firstFit.Banks ? bestFusion : firstFit);
  for (int pass = 0; pass < MaxPasses && banks.Work() < WorkBudget; ++pass) {
    if (banks.DissolvePass()) continue;
    if (!banks.TightenPass()) break;
  }
  return banks.Assignment();
}

TScenePlan PlanScenes(const std::vector<TScene>& scenes, std::int32_t capacity, int fixedBanks,
                      const TCharSet& exclude) {
  TScenePlan plan;
  plan.Capacity = capacity;
  plan.FixedBanks = fixedBanks;
  // Every distinct character in order of first appearance, and in how many scenes each stands.
  std::vector<std::int32_t> index(0x10000, -1);
  std::vector<std::int64_t> sceneCount;
  TSceneSets sets(scenes.size());
  for (std::size_t s = 0; s < scenes.size(); ++s) {
    for (char16_t c : scenes[s].Text) {
      if (SceneBreak(c) || exclude[c]) continue;
      if (index[c] < 0) {
        index[c] = static_cast<std::int32_t>(plan.Distinct.size());
        plan.Distinct += c;
        sceneCount.push_back(0);
      }
      sets[s].push_back(index[c]);
    }
    std::sort(sets[s].begin(), sets[s].end());
    sets[s].erase(std::unique(sets[s].begin(), sets[s].end()), sets[s].end());
    for (std::int32_t c : sets[s]) ++sceneCount[static_cast<std::size_t>(c)];
  }
  // The fixed banks: the characters found in most scenes.
  const auto distinct = static_cast<std::int64_t>(plan.Distinct.size());
  const std::int64_t fixedRoom = std::int64_t{fixedBanks} * std::max(capacity, 0);
  std::vector<bool> fixed(plan.Distinct.size(), fixedRoom >= distinct);
  if (fixedRoom < distinct) {
    std::vector<std::int32_t> byCount(plan.Distinct.size());
    std::iota(byCount.begin(), byCount.end(), 0);
    std::stable_sort(byCount.begin(), byCount.end(), [&](std::int32_t x, std::int32_t y) {
      return sceneCount[static_cast<std::size_t>(x)] > sceneCount[static_cast<std::size_t>(y)];
    });
    for (std::int64_t k = 0; k < fixedRoom; ++k) fixed[static_cast<std::size_t>(byCount[static_cast<std::size_t>(k)])] = true;
  }
  // The rest renumbered, still in order of first appearance.
  std::vector<std::int32_t> switched(plan.Distinct.size(), -1);
  std::u16string rest;
  for (std::size_t c = 0; c < plan.Distinct.size(); ++c) {
    if (fixed[c]) {
      plan.Fixed += plan.Distinct[c];
    } else {
      switched[c] = static_cast<std::int32_t>(rest.size());
      rest += plan.Distinct[c];
    }
  }
  for (std::size_t s = 0; s < sets.size(); ++s) {
    std::vector<std::int32_t> own;
    for (std::int32_t c : sets[s])
      if (switched[static_cast<std::size_t>(c)] >= 0) own.push_back(switched[static_cast<std::size_t>(c)]);
    if (static_cast<std::int64_t>(own.size()) > capacity) plan.Oversized.push_back({s, static_cast<std::int64_t>(own.size())});
    sets[s] = std::move(own);
  }
  plan.SceneBank.assign(scenes.size(), 0);
  plan.LowerBound = CeilDiv(static_cast<std::int64_t>(rest.size()), capacity);
  if (!plan.Oversized.empty() || rest.empty()) return plan;

  const auto universe = static_cast<std::int32_t>(rest.size());
  const TBankAssignment first = FirstFitBanks(sets, universe, capacity);
  const TBankAssignment fusion = BestFusionBanks(sets, universe, capacity);
  plan.FirstFit = first.Banks;
  plan.BestFusion = fusion.Banks;
  const TBankAssignment assigned = PlanBanksBeside(sets, universe, capacity, first, fusion);
  plan.SceneBank = assigned.SceneBank;
  std::vector<std::vector<bool>> members(static_cast<std::size_t>(assigned.Banks), std::vector<bool>(rest.size()));
  for (std::size_t s = 0; s < sets.size(); ++s)
    for (std::int32_t c : sets[s]) members[static_cast<std::size_t>(plan.SceneBank[s])][static_cast<std::size_t>(c)] = true;
  // A character's cell in the first bank that holds it; a different cell elsewhere is a second code.
  std::vector<std::int32_t> firstCell(rest.size(), -1);
  std::vector<bool> multi(rest.size());
  plan.Banks.resize(members.size());
  for (std::size_t b = 0; b < members.size(); ++b) {
    for (std::size_t c = 0; c < rest.size(); ++c) {
      if (!members[b][c]) continue;
      const auto cell = static_cast<std::int32_t>(plan.Banks[b].size());
      if (firstCell[c] < 0) firstCell[c] = cell;
      else if (firstCell[c] != cell) multi[c] = true;
      plan.Banks[b] += rest[c];
    }
  }
  plan.MultiCoded = std::count(multi.begin(), multi.end(), true);
  return plan;
}

}  // namespace mipofc
