// Speed of the engine against the floor of FreeType alone.
#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/file_write.h"
#include "bench/bench_util.h"
#include "jobs/export.h"
#include "font/font.h"
#include "text/text.h"

namespace mipofc {
namespace {

// The file and face index that the default family resolves to.
std::pair<std::string, int> DefaultFaceFile() {
  TFont font;
  const std::string drawn = ResolveFont(font)->FaceFileFor(u'你');
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("WenQuanYi Zen Hei Sharp"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  int index = 0;
  FcChar8* file = nullptr;
  std::string path;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) path = reinterpret_cast<char*>(file);
  if (match) FcPatternGetInteger(match, FC_INDEX, 0, &index);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  if (path.empty() || path != drawn) throw std::runtime_error("the default family does not draw with " + path);
  return {path, index};
}

// The floor: FreeType alone loading and rendering every ideograph in monochrome.
void BM_FreeTypeFloor(benchmark::State& state) {
  const auto [file, index] = DefaultFaceFile();
  FT_Library library;
  FT_Face face;
  if (FT_Init_FreeType(&library) || FT_New_Face(library, file.c_str(), index, &face)) {
    state.SkipWithError("cannot open the default face");
    return;
  }
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(state.range(0)));
  const std::u16string text = Ideographs();
  for (auto _ : state) {
    for (char16_t c : text) {
      FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
      benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}
BENCHMARK(BM_FreeTypeFloor)->Arg(16)->Arg(37)->Unit(benchmark::kMillisecond)->UseRealTime();

// One full 4K bank of 16x16 cells (64 characters) with the default font.
void BM_BuildBank(benchmark::State& state) {
  TFont font;
  const TChrSettings s = BenchSettings(&font, 16);
  const std::u16string text = Ideographs().substr(0, 64);
  for (auto _ : state) {
    auto engine = std::make_unique<TChr>();
    engine->Settings = s;
    engine->Text = text;
    engine->PrepareCell();
    engine->BuildBank();
    benchmark::DoNotOptimize(engine->Bank.Slots[0]);
  }
}
BENCHMARK(BM_BuildBank)->Unit(benchmark::kMicrosecond);

// The whole export of the 20,902 ideographs into 4K .chr files, mode 0. Each iteration starts
// with no glyph cached, so FreeType renders every character as in the floor, and with an empty
// folder (replacing files costs the file system more: see BM_ExportOverExisting).
void BM_Export(benchmark::State& state) {
  const int cell = static_cast<int>(state.range(0)), points = static_cast<int>(state.range(1));
  TFont font;
  font.SetSize(points);
  const TChrSettings s = BenchSettings(&font, cell);
  const std::u16string text = Ideographs();
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "mipofc-bench";
  std::filesystem::create_directories(dir);
  const bool replace = state.range(2) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    ClearGlyphCaches();
    if (!replace) {
      std::filesystem::remove_all(dir);
      std::filesystem::create_directories(dir);
    }
    state.ResumeTiming();
    benchmark::DoNotOptimize(ExportBanks((dir / "bank.chr").string(), TBankFormat::Chr, s, text));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Export)
    ->ArgNames({"cell", "pt", "replace"})
    ->Args({16, 12, 0})
    ->Args({32, 28, 0})
    ->Args({16, 12, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The export's drawing and encoding without the files: every bank of the 20,902 ideographs on a
// fresh engine, no glyph cached at the start.
void BM_AllBanksNoFiles(benchmark::State& state) {
  TFont font;
  font.SetSize(static_cast<int>(state.range(1)));
  const TChrSettings s = BenchSettings(&font, static_cast<int>(state.range(0)));
  const std::u16string text = Ideographs();
  const std::size_t capacity = static_cast<std::size_t>(ExportCapacity(s));
  for (auto _ : state) {
    state.PauseTiming();
    ClearGlyphCaches();
    state.ResumeTiming();
    for (std::size_t p = 0; p < text.size(); p += capacity) {
      auto engine = std::make_unique<TChr>();
      engine->BuildFor(s, text.substr(p, capacity));
      benchmark::DoNotOptimize(engine->Bank.Slots[0]);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_AllBanksNoFiles)->ArgNames({"cell", "pt"})->Args({16, 12})->Args({32, 28})->Unit(benchmark::kMillisecond)->UseRealTime();

// The same banks with every glyph already cached: the engine's own work, without FreeType.
void BM_AllBanksWarm(benchmark::State& state) {
  TFont font;
  font.SetSize(static_cast<int>(state.range(1)));
  const TChrSettings s = BenchSettings(&font, static_cast<int>(state.range(0)));
  const std::u16string text = Ideographs();
  const std::size_t capacity = static_cast<std::size_t>(ExportCapacity(s));
  const auto buildAll = [&] {
    for (std::size_t p = 0; p < text.size(); p += capacity) {
      auto engine = std::make_unique<TChr>();
      engine->BuildFor(s, text.substr(p, capacity));
      benchmark::DoNotOptimize(engine->Bank.Slots[0]);
    }
  };
  buildAll();  // fills the glyph cache
  for (auto _ : state) buildAll();
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_AllBanksWarm)->ArgNames({"cell", "pt"})->Args({16, 12})->Unit(benchmark::kMillisecond)->UseRealTime();

// Every bank of the 20,902 ideographs back to back in one piece, as the export builds them (a
// fresh engine per bank, no glyph cached at the start); with file:1 the piece is then written
// as one file, through a temporary name.
void BM_ConcatBanks(benchmark::State& state) {
  TFont font;
  font.SetSize(static_cast<int>(state.range(1)));
  const TChrSettings s = BenchSettings(&font, static_cast<int>(state.range(0)));
  const std::u16string text = Ideographs();
  const std::size_t capacity = static_cast<std::size_t>(ExportCapacity(s));
  const bool toFile = state.range(2) != 0;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "mipofc-bench-concat";
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "all.chr").string();
  for (auto _ : state) {
    state.PauseTiming();
    ClearGlyphCaches();
    std::filesystem::remove(file);
    state.ResumeTiming();
    std::string all;
    all.reserve((text.size() + capacity - 1) / capacity * static_cast<std::size_t>(s.Limit));
    for (std::size_t p = 0; p < text.size(); p += capacity) {
      auto engine = std::make_unique<TChr>();
      engine->BuildFor(s, text.substr(p, capacity));
      all += engine->BankBytes();
    }
    if (toFile) WriteFileAtomically(file, all);
    benchmark::DoNotOptimize(all.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ConcatBanks)
    ->ArgNames({"cell", "pt", "file"})
    ->Args({16, 12, 0})
    ->Args({16, 12, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

#if defined(MIPOFC_CLI)
// The whole command as a user runs it, process start-up included: `mipofc-cli export` at
// 16x16, 12 pt, 4K of one character (chars:1, the program's own start-up and one bank) or
// of the 20,902 ideographs (chars:20902), as 327 numbered files (concat:0) or as one --concat
// file (concat:1), into an empty folder.
void BM_Command(benchmark::State& state) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "mipofc-bench-cli";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "out");
  const std::string input = (dir / "text.txt").string(), output = (dir / "out" / "bank.chr").string();
  std::ofstream(input, std::ios::binary) << Utf16ToUtf8(Ideographs().substr(0, static_cast<std::size_t>(state.range(0))));
  std::vector<std::string> args = {MIPOFC_CLI, "export", input, "-o", output, "--size", "12", "-q"};
  if (state.range(1) != 0) args.push_back("--concat");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(dir / "out");
    std::filesystem::create_directories(dir / "out");
    state.ResumeTiming();
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, MIPOFC_CLI, nullptr, nullptr, argv.data(), environ) != 0 || waitpid(pid, &status, 0) != pid ||
        !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("mipofc-cli export failed");
      break;
    }
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Command)
    ->ArgNames({"chars", "concat"})
    ->Args({1, 0})
    ->Args({20902, 0})
    ->Args({1, 1})
    ->Args({20902, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
#endif

}  // namespace
}  // namespace mipofc

BENCHMARK_MAIN();
