#pragma once

// export's flags for a CHR-ROM game's script: scenes (--scenes), fixed banks (--fixed-banks), the
// encoded script (--encode) and the scene map (--scene-map).

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "cli/export_table.h"
#include "cli/flags.h"
#include "engine/chr.h"
#include "jobs/export.h"
#include "jobs/file_uses.h"
#include "params/options.h"

namespace mipofc::cli {

/// The scene flags of export.
struct TSceneFlags {
  std::optional<std::string> mode;
  std::optional<int> fixedBanks;
  std::optional<std::string> encode;
  std::optional<std::string> sceneMap;
};

/// Adds --scenes, --fixed-banks, --encode and --scene-map.
void AddSceneFlags(CLI::App& cmd, TSceneFlags& f);

/// What the rest of the export asks of the scene flags.
struct TSceneShape {
  bool Bdf = false;     ///< --format bdf
  bool Rom = false;     ///< --rom and its outputs
  bool Glyphs = false;  ///< --layout glyphs
  bool Map = false;     ///< --map
};
/// True for --scenes. Throws UsageError for scene flags without --scenes, --newline-code and
/// --end-code without --table or --scenes, a mode of no name, a --scene-map of no map format, and
/// what --scenes cannot go with.
bool CheckSceneFlags(const TSceneFlags& f, const TTableFlags& table, const TSceneShape& shape);

/// What a scene export is given.
struct TSceneRun {
  const TSceneFlags& Scenes;
  const TTableFlags& Table;
  const TOptionFlags& Options;
  const TOptionValues& Values;
  const TChrSettings& Settings;
  std::string Input, Output;
  TExportOptions Files;
  std::vector<TFileUse> Uses;  ///< the files the options name, read and written
};
/// Plans the scenes, says the plan on standard error unless quiet, and writes the banks, tables,
/// encoded script and scene map; nothing when the plan fails (TSceneFitError, exit 1).
int RunSceneExport(const TSceneRun& run);

}  // namespace mipofc::cli
