// Speed of making IPS and BPS patches of a ROM whose CHR-ROM takes new glyph banks, and of the
// BDF font of a text.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "bench/bench_util.h"
#include "engine/bank_maker.h"
#include "engine/bdf.h"
#include "font/font.h"
#include "jobs/bdf_font.h"
#include "rom/bps.h"
#include "rom/ips.h"

namespace mipofc {
namespace {

// The 4K banks of text at 16x16, 12 pt.
std::string GlyphBanks(std::u16string_view text) {
  TFont font;
  font.SetSize(12);
  const TChrSettings s = BenchSettings(&font, 16);
  TBankMaker maker(s, text, ExportCapacity(s), false);
  std::string bytes;
  for (std::int64_t n = 0; n < maker.Count(); ++n) bytes += maker.Take(n).Bytes;
  return bytes;
}

// An iNES ROM of 256 KB PRG-ROM (noise) and 256 KB CHR-ROM (glyph banks of the ideographs),
// and the same ROM with range(0) of its first banks drawn from other ideographs.
void BM_PatchFile(benchmark::State& state) {
  const std::u16string ideographs = Ideographs();
  std::string source = std::string("NES\x1A\x10\x20", 6) + std::string(10, '\0');
  std::mt19937 random(1);
  for (int i = 0; i < 256 * 1024; ++i) source += static_cast<char>(random() & 0xFF);
  source += GlyphBanks(std::u16string_view(ideographs).substr(0, 64 * 64));
  std::string target = source;
  const std::string banks = GlyphBanks(std::u16string_view(ideographs).substr(10000, 64 * state.range(0)));
  target.replace(16 + 256 * 1024, banks.size(), banks);
  std::size_t size = 0;
  for (auto _ : state) {
    const std::string patch = state.range(1) == 0 ? IpsPatch(source, target, "bench.ips") : BpsPatch(source, target);
    size = patch.size();
    benchmark::DoNotOptimize(patch.data());
  }
  state.counters["patch_bytes"] = static_cast<double>(size);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(target.size()));
}
BENCHMARK(BM_PatchFile)
    ->ArgNames({"banks", "bps"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({8, 0})
    ->Args({8, 1})
    ->Unit(benchmark::kMillisecond);

// The BDF font of the 20,902 ideographs at 16x16, 12 pt: drawing the cells and the file's bytes.
void BM_BdfFont(benchmark::State& state) {
  TFont font;
  font.SetSize(12);
  const TChrSettings s = BenchSettings(&font, 16);
  const std::u16string text = Ideographs();
  for (auto _ : state) {
    state.PauseTiming();
    ClearGlyphCaches();
    state.ResumeTiming();
    benchmark::DoNotOptimize(BdfFontBytes(*BdfFontOfText(s, text, {})));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_BdfFont)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mipofc
