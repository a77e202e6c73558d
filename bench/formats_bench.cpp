// Speed of the bank file formats and of one-piece exports, against the numbered .chr export.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/bench_util.h"
#include "jobs/export.h"
#include "font/font.h"

namespace mipofc {
namespace {

// The whole export of the 20,902 ideographs U+4E00..U+9FA5 at 16x16, 12 pt, 4K, block, mode 0,
// in format (TBankFormat's order) as numbered files or one piece; no glyph cached at the start.
void BM_ExportFormat(benchmark::State& state) {
  TFont font;
  font.SetSize(12);
  const TChrSettings s = BenchSettings(&font, 16);
  const std::u16string text = Ideographs();
  TExportOptions options;
  options.Format = static_cast<TBankFormat>(state.range(0));
  options.Concat = state.range(1) != 0;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "mipofc-formats-bench";
  for (auto _ : state) {
    state.PauseTiming();
    ClearGlyphCaches();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    state.ResumeTiming();
    benchmark::DoNotOptimize(ExportText((dir / "bank.x").string(), s, text, options));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ExportFormat)
    ->ArgNames({"format", "concat"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({2, 0})
    ->Args({2, 1})
    ->Args({3, 1})
    ->Args({4, 0})
    ->Args({4, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace mipofc
