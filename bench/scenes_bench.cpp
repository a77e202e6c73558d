// Scenes planned into CHR-ROM banks: a generated script of 5,000 scenes of 10-60 distinct
// characters each, drawn from 4,000 characters with Zipf frequencies (s = 1), at 64 characters a
// bank (16x16 cells) with no or one fixed bank and at 256 (8x8 cells). The counters give the
// plan's switched banks beside first fit, best fusion and the lower bound.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "bench/bench_util.h"
#include "jobs/scene_export.h"

namespace mipofc {
namespace {

std::u16string ZipfScript(std::uint32_t seed, int scenes, int alphabet) {
  std::vector<double> weights(static_cast<std::size_t>(alphabet));
  for (int k = 0; k < alphabet; ++k) weights[static_cast<std::size_t>(k)] = 1.0 / (k + 1);
  std::discrete_distribution<int> draw(weights.begin(), weights.end());
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> size(10, 60);
  std::u16string script;
  for (int s = 0; s < scenes; ++s) {
    std::vector<bool> seen(static_cast<std::size_t>(alphabet));
    const int want = size(random);
    int distinct = 0, column = 0;
    while (distinct < want) {
      const int c = draw(random);
      if (!seen[static_cast<std::size_t>(c)]) {
        seen[static_cast<std::size_t>(c)] = true;
        ++distinct;
      }
      script += static_cast<char16_t>(0x4E00 + c);
      if (++column == 16) {
        script += u'\n';
        column = 0;
      }
    }
    script += u"\n\n";
  }
  return script;
}

const std::u16string& BenchScript() {
  static const std::u16string script = ZipfScript(2024, 5000, 4000);
  return script;
}

// The cases of each scene benchmark: 16x16 cells (64 a bank) without and with a fixed bank,
// and 8x8 cells (256 a bank).
void SceneCases(benchmark::internal::Benchmark* b) {
  b->ArgNames({"cell", "fixed"})->Args({16, 0})->Args({16, 1})->Args({8, 0})->Unit(benchmark::kMillisecond)->UseRealTime();
}

// cell 16 or 8 (64 or 256 characters a bank), fixed banks 0 or 1.
void BM_ScenePlan(benchmark::State& state) {
  TFont font;
  const TChrSettings s = BenchSettings(&font, static_cast<int>(state.range(0)));
  const std::int32_t capacity = ExportCapacity(s);
  const std::vector<TScene> scenes = SplitScenes(BenchScript(), *SceneSplitNamed("blank"));
  TScenePlan plan;
  for (auto _ : state) plan = PlanScenes(scenes, capacity, static_cast<int>(state.range(1)));
  state.counters["scenes"] = static_cast<double>(scenes.size());
  state.counters["plan"] = static_cast<double>(plan.Banks.size());
  state.counters["first_fit"] = static_cast<double>(plan.FirstFit);
  state.counters["best_fusion"] = static_cast<double>(plan.BestFusion);
  state.counters["lower_bound"] = static_cast<double>(plan.LowerBound);
  state.counters["multi_coded"] = static_cast<double>(plan.MultiCoded);
}
BENCHMARK(BM_ScenePlan)->Apply(SceneCases);

// The whole export: the plan, the bank files, a table a bank, the encoded script and the map.
void BM_SceneExport(benchmark::State& state) {
  TFont font;
  font.SetSize(12);
  const TChrSettings s = BenchSettings(&font, static_cast<int>(state.range(0)));
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "mipofc-scenes-bench";
  TSceneSource source{BenchScript(), *SceneSplitNamed("blank"), static_cast<int>(state.range(1)), {}};
  TSceneOutputs outputs;
  outputs.Controls.Newline = "\xFE";
  outputs.Controls.End = "\xFF";
  outputs.CodeBytes = 2;
  outputs.Table = (dir / "s.tbl").string();
  outputs.Encoded = (dir / "s.bin").string();
  outputs.Map = (dir / "s.csv").string();
  std::int64_t files = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    state.ResumeTiming();
    const TScenePrepared prepared = PrepareSceneExport(source, s, outputs);
    files = WriteSceneExport(prepared, (dir / "s.chr").string(), s, {}).Files;
  }
  state.counters["bank_files"] = static_cast<double>(files);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SceneExport)->Apply(SceneCases);

}  // namespace
}  // namespace mipofc
