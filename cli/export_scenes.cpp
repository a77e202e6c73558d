#include "cli/export_scenes.h"
#include "cli/file_check.h"

#include <iostream>
#include <vector>

#include "cli/progress.h"
#include "cli/table_io.h"
#include "engine/bank_maker.h"
#include "jobs/scene_export.h"
#include "table/script.h"

namespace mipofc::cli {

namespace {

std::string Counted(std::int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void AddSceneFlags(CLI::App& cmd, TSceneFlags& f) {
  cmd.add_option("--scenes", f.mode,
                 "MODE: plan the script's scenes into CHR-ROM banks; blank (blank lines part scenes), line (a scene a "
                 "line) or marker:TEXT (a line that is TEXT parts scenes)");
  cmd.add_option("--fixed-banks", f.fixedBanks, "with --scenes: banks every scene sees besides its switched bank")
      ->check(CLI::IsMember({0, 1, 2, 3, 4}))
      ->default_str("0");
  cmd.add_option("--encode", f.encode, "with --scenes: also write the script's bytes, scene after scene");
  cmd.add_option("--scene-map", f.sceneMap, "with --scenes: also write each scene's bank and bytes (.csv, .s or .h)");
}

bool CheckSceneFlags(const TSceneFlags& f, const TTableFlags& table, const TSceneShape& shape) {
  if (!f.mode) {
    if (f.fixedBanks) throw UsageError("--fixed-banks needs --scenes");
    if (f.encode) throw UsageError("--encode needs --scenes");
    if (f.sceneMap) throw UsageError("--scene-map needs --scenes");
    if (!table.table && table.newlineCode) throw UsageError("--newline-code needs --table or --scenes");
    if (!table.table && table.endCode) throw UsageError("--end-code needs --table or --scenes");
    return false;
  }
  if (!SceneSplitNamed(*f.mode))
    throw UsageError("--scenes " + *f.mode + ": give blank, line or marker:TEXT");
  if (table.fromTable) throw UsageError("--scenes cannot be used with --from-table");
  if (table.order) throw UsageError("--scenes cannot be used with --order: a bank's characters stand in order of first appearance");
  if (shape.Bdf) throw UsageError("--scenes writes banks: --format bdf cannot be used with it");
  if (shape.Glyphs) throw UsageError("--scenes writes banks: --layout glyphs cannot be used with it");
  if (shape.Rom) throw UsageError("--scenes cannot be used with --rom");
  if (shape.Map) throw UsageError("--map cannot be used with --scenes: the scene map is --scene-map");
  if (f.sceneMap && !MapFormatOfName(*f.sceneMap))
    throw UsageError("--scene-map " + *f.sceneMap + ": give a .csv, .s or .h name (the map's format)");
  return true;
}

int RunSceneExport(const TSceneRun& run) {
  TSceneSource source;
  source.Script = ReadScript({run.Input}).Text();
  source.Split = *SceneSplitNamed(*run.Scenes.mode);
  source.FixedBanks = run.Scenes.fixedBanks.value_or(0);
  for (const std::string& path : run.Table.excludes) source.Exclude |= ExcludedCharacters(path);
  TSceneOutputs outputs;
  outputs.CodeStart = static_cast<std::uint32_t>(run.Values.CodeStart);
  outputs.CodeBytes = run.Values.CodeBytes;
  outputs.Controls = ControlCodesOf(run.Table);
  outputs.Table = run.Table.table;
  outputs.TableEncoding = TableEncodingOf(run.Table);
  outputs.Encoded = run.Scenes.encode;
  outputs.Map = run.Scenes.sceneMap;
  TScenePrepared prepared;
  try {
    prepared = PrepareSceneExport(source, run.Settings, outputs);
  } catch (const TCodeRangeError& e) {
    throw CodeRangeUsage(e, run.Values);
  } catch (const TCodeConflictError& e) {
    throw CodeConflictUsage(e);
  }
  // Before anything is written: the banks, tables, script and map may be no other output or input.
  std::vector<TFileUse> uses = run.Uses;
  TExportOptions naming = run.Files;
  naming.BankStarts = prepared.BankStarts;
  for (std::string& name : ExportFileNames(run.Output, run.Settings, prepared.BankText.size(), naming))
    uses.push_back({"-o", std::move(name), true});
  for (const auto& [name, bytes] : prepared.Files)  // the options name the script and the map already
    if (name != outputs.Encoded && name != outputs.Map) uses.push_back({"--table", name, true});
  CheckFileUses(uses);
  SaveOptions(run.Options, run.Values);
  const bool quiet = run.Options.quiet;
  const TScenePlan& plan = prepared.Plan;
  if (!quiet) {
    std::cerr << Counted(static_cast<std::int64_t>(prepared.Scenes.size()), "scene", "scenes") << ", "
              << Counted(static_cast<std::int64_t>(plan.Distinct.size()), "distinct character", "distinct characters")
              << ": " << prepared.FixedFiles << " fixed + " << plan.Banks.size() << " switched banks (first fit in script order: "
              << plan.FirstFit << "; at least " << plan.LowerBound << ")\n";
    if (plan.MultiCoded > 0)
      std::cerr << Counted(plan.MultiCoded, "character has", "characters have") << " more than one code\n";
    if (run.Scenes.encode && !outputs.Controls.Newline && prepared.LineBreaks > 0)
      std::cerr << Counted(static_cast<std::int64_t>(prepared.LineBreaks), "line break has", "line breaks have")
                << " no code: no table has a newline entry (*HEX)\n";
  }
  const std::int32_t capacity = plan.Capacity;
  TExportOptions options = run.Files;
  const TExportResult result =
      RunWithProgress(quiet, prepared.BankText.size(), capacity, static_cast<std::int64_t>(prepared.BankStarts.size()),
                      [&](const TJobControl& control, const std::function<void(const std::string&)>& onWritten) {
                        options.Control = control;
                        options.OnWritten = onWritten;
                        return WriteSceneExport(prepared, run.Output, run.Settings, options);
                      });
  if (result.Cancelled) {
    std::cerr << "mipofc-cli: interrupted; wrote " << result.Files << " file(s)\n";
    return InterruptedStatus;
  }
  if (!quiet) std::cout << "wrote " << result.Files << " " << FormatName(options.Format) << " file(s)\n";
  return 0;
}

}  // namespace mipofc::cli
