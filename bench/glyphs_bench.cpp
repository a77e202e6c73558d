// Glyph data against the one-piece bank export it replaces for a CHR-RAM game: the 20,902
// ideographs U+4E00..U+9FA5 at 16x16, 12 pt, as one file each, no glyph cached at the start.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/bench_util.h"
#include "font/font.h"
#include "jobs/export.h"
#include "jobs/glyph_export.h"

namespace mipofc {
namespace {

// layout 0: ExportText with Concat (the banks back to back, .chr); layout 1: ExportGlyphs of two
// bits a pixel, layout 2 of one bit a pixel, each as one raw file.
void BM_OneFileOfAllGlyphs(benchmark::State& state) {
  TFont font;
  font.SetSize(12);
  const TChrSettings s = BenchSettings(&font, 16);
  const std::u16string text = Ideographs();
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "mipofc-glyphs-bench";
  const std::string file = (dir / "all.bin").string();
  TExportOptions banks;
  banks.Concat = true;
  TGlyphOptions glyphs;
  glyphs.BitsPerPixel = state.range(0) == 2 ? 1 : 2;
  for (auto _ : state) {
    state.PauseTiming();
    ClearGlyphCaches();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    state.ResumeTiming();
    if (state.range(0) == 0)
      benchmark::DoNotOptimize(ExportText(file, s, text, banks));
    else
      benchmark::DoNotOptimize(ExportGlyphs(file, s, text, glyphs));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_OneFileOfAllGlyphs)->ArgName("layout")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace mipofc
