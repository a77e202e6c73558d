#pragma once

// Which characters go into the fixed banks and which scenes share a switched bank: every scene
// sees the fixed banks and one switched bank, and the plan uses as few switched banks as it can.

#include <cstdint>
#include <string>
#include <vector>

#include "jobs/scenes.h"
#include "table/chars.h"

namespace mipofc {

/// Scenes as the planner sees them: each scene's distinct characters as indices 0 .. universe-1,
/// rising.
using TSceneSets = std::vector<std::vector<std::int32_t>>;

/// Scenes placed into banks: SceneBank[s] is scene s's bank, 0 .. Banks-1.
struct TBankAssignment {
  std::vector<std::int32_t> SceneBank;
  std::int32_t Banks = 0;
};

/// First fit in script order: each scene into the first bank its characters still fit in (at
/// most capacity characters a bank), a new bank when none. No scene may hold more than capacity.
TBankAssignment FirstFitBanks(const TSceneSets& scenes, std::int32_t universe, std::int32_t capacity);
/// Best fusion: the scenes largest first (ties in script order), each into the bank that gains
/// the fewest new characters (ties: the lowest bank), a new bank when none fits.
TBankAssignment BestFusionBanks(const TSceneSets& scenes, std::int32_t universe, std::int32_t capacity);
/// The plan: the better of the two heuristics, then improved by moving scenes out of the
/// emptiest banks and between banks while that frees characters. Never more banks than either
/// heuristic; the same input gives the same plan. Banks are numbered by their first scene.
TBankAssignment PlanBanks(const TSceneSets& scenes, std::int32_t universe, std::int32_t capacity);

/// PlanBanks with the two heuristics' assignments already made.
TBankAssignment PlanBanksBeside(const TSceneSets& scenes, std::int32_t universe, std::int32_t capacity,
                                const TBankAssignment& firstFit, const TBankAssignment& bestFusion);

/// A scene that holds more characters besides the fixed banks than a bank holds.
struct TOversizedScene {
  std::size_t Scene = 0;
  std::int64_t Characters = 0;  ///< its characters outside the fixed banks
};

/// The plan of a script's scenes.
struct TScenePlan {
  std::int32_t Capacity = 0;       ///< characters a bank holds
  std::int32_t FixedBanks = 0;     ///< fixed banks asked for
  std::u16string Distinct;         ///< every distinct character of the scenes, first appearance first
  std::u16string Fixed;            ///< the fixed banks' characters, cell by cell
  std::vector<std::u16string> Banks;      ///< each switched bank's characters, cell by cell
  std::vector<std::int32_t> SceneBank;    ///< each scene's switched bank (index into Banks; 0 without any)
  std::vector<TOversizedScene> Oversized; ///< scenes that cannot fit; when any, nothing else is planned
  std::int64_t FirstFit = 0;       ///< switched banks of first fit in script order, same fixed banks
  std::int64_t BestFusion = 0;     ///< switched banks of best fusion
  std::int64_t LowerBound = 0;     ///< ceil(characters outside the fixed banks / capacity)
  std::int64_t MultiCoded = 0;     ///< characters that stand in more than one cell (so more than one code)
};

/// Plans scenes for banks of capacity characters with fixedBanks (0..4) fixed banks: the fixed
/// banks hold the fixedBanks * capacity characters found in most scenes (ties: first
/// appearance), and the rest is planned by PlanBanks. Characters in exclude are left out; line
/// breaks are no characters. Within a bank the characters stand in order of first appearance.
TScenePlan PlanScenes(const std::vector<TScene>& scenes, std::int32_t capacity, int fixedBanks,
                      const TCharSet& exclude = {});

/// True for what a scene's text holds that is no character of a bank: line breaks.
inline bool SceneBreak(char16_t c) { return c == u'\n' || c == u'\r' || c == u'\u2028' || c == u'\u2029'; }

}  // namespace mipofc
