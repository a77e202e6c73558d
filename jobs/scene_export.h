#pragma once

// A script's scenes in CHR-ROM banks: the plan, then the fixed and switched bank files, a table
// for each switched bank, the script encoded scene by scene and the scene map.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/chr.h"
#include "jobs/code_map.h"
#include "jobs/code_table.h"
#include "jobs/export.h"
#include "jobs/scene_plan.h"
#include "jobs/scenes.h"
#include "table/chars.h"
#include "table/codes.h"
#include "table/tbl.h"

namespace mipofc {

/// What a scene export plans.
struct TSceneSource {
  std::u16string Script;  ///< the script with its line breaks
  TSceneSplit Split;
  int FixedBanks = 0;     ///< 0..4
  TCharSet Exclude;       ///< characters the game already has: no cell, no code
};

/// What a scene export writes besides the banks.
struct TSceneOutputs {
  std::uint32_t CodeStart = 0;
  int CodeBytes = 0;  ///< 1..3; 0: the fewest that hold every code
  TControlCodes Controls;
  std::optional<std::string> Table;  ///< BASE.tbl: BASE.NN.tbl a switched bank
  TTableEncoding TableEncoding = TTableEncoding::Utf8;
  std::optional<std::string> Encoded;  ///< the script's bytes, scene after scene
  std::optional<std::string> Map;      ///< the scene map: .csv, .s or .h
};

/// Scenes that hold more characters besides the fixed banks than a bank holds. what() lists the
/// first 20 ("scene 12 (lines 40-47): 81 characters besides the fixed banks; a bank holds 64"),
/// then how many more.
class TSceneFitError : public std::runtime_error {
 public:
  TSceneFitError(const std::vector<TScene>& scenes, const TScenePlan& plan);
  struct TItem {
    std::size_t Scene;
    std::int64_t FirstLine, LastLine, Characters;
  };
  std::vector<TItem> Items;  ///< every scene that cannot fit
  std::int32_t Capacity;
};

/// A planned scene export: everything but the bank files is made, nothing is written.
struct TScenePrepared {
  std::vector<TScene> Scenes;
  TScenePlan Plan;
  TCodePlan Codes;
  std::int64_t FixedFiles = 0;           ///< bank files of the fixed banks (file numbers 0 ..)
  std::u16string BankText;               ///< the characters of every bank file, file after file
  std::vector<std::size_t> BankStarts;   ///< where each bank file's characters start in BankText
  std::vector<std::pair<std::string, std::string>> Files;  ///< tables, encoded script, map: name, bytes
  std::uint64_t LineBreaks = 0;          ///< line breaks inside scenes
};

/// Cuts the script into scenes and plans them for banks of these settings; makes the tables,
/// the encoded script and the map. Throws TSceneFitError, TCodeRangeError when the codes do not
/// fit their bytes, TCodeConflictError, TFileError for a character the table encoding cannot
/// hold, std::invalid_argument for settings whose banks hold no character.
TScenePrepared PrepareSceneExport(const TSceneSource& source, const TChrSettings& settings,
                                  const TSceneOutputs& outputs);

/// Writes the prepared banks under chosenName as ExportText writes banks (options' format,
/// Concat, palette, progress and cancel; its BankStarts are set here), then, unless cancelled,
/// every other file, each through a temporary file, each told to options.OnWritten.
TExportResult WriteSceneExport(const TScenePrepared& prepared, std::string_view chosenName,
                               const TChrSettings& settings, TExportOptions options);

}  // namespace mipofc
