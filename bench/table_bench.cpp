// Speed of the table library on a translator's script: distinct characters and encoding of
// 10 MB of UTF-8, the text decoding included.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "table/chars.h"
#include "table/codes.h"
#include "table/script.h"
#include "text/text.h"

namespace mipofc {
namespace {

// 10 MB of UTF-8: lines of 20 to 60 characters ending in CR LF, drawn from 3,500
// ideographs with a few much more frequent than the rest, full-width punctuation, some ASCII
// and now and then a control code "<$0F>".
const std::string& Script() {
  static const std::string script = [] {
    std::mt19937 random(2024);
    std::u16string text;
    const std::u16string punctuation = u"，。！？“”……";
    std::size_t utf8Bytes = 0;
    while (utf8Bytes < 10'000'000) {
      const std::size_t lineStart = text.size();
      const int length = 20 + static_cast<int>(random() % 41);
      for (int i = 0; i < length; ++i) {
        const unsigned r = random() % 1000;
        if (r < 60) {
          text += punctuation[random() % punctuation.size()];
        } else if (r < 80) {
          text += static_cast<char16_t>(u'A' + random() % 26);
        } else if (r < 82) {
          text += u"<$0F>";
        } else {
          // Squaring skews the draw towards the first ideographs, as real scripts are skewed.
          const double u = static_cast<double>(random()) / random.max();
          text += static_cast<char16_t>(0x4E00 + static_cast<unsigned>(u * u * 3500));
        }
      }
      text += u"\r\n";
      for (std::size_t i = lineStart; i < text.size(); ++i) utf8Bytes += text[i] < 0x80 ? 1 : 3;
    }
    return Utf16ToUtf8(text);
  }();
  return script;
}

// The table a script's own export would give: each distinct character once, and a newline code.
TCodeBook BookFor(const std::string& script) {
  const std::u16string chars = DistinctCharacters(JoinedText(*DecodeText(script)), TCharOrder::First).Chars;
  TTable table;
  table.File = "script.tbl";
  table.Entries = CodeTableOf(chars, PlanCodes(chars.size(), 0, 0));
  table.Entries.push_back({TEntryKind::Newline, "\xFF\xFF", u"", 0});
  return TCodeBook({table});
}

void BM_TableChars(benchmark::State& state) {
  const std::string& script = Script();
  const TCharOrder order = state.range(0) ? TCharOrder::Frequency : TCharOrder::First;
  for (auto _ : state) {
    TScript s;
    s.Add("script.txt", *DecodeText(script));
    const TDistinctChars chars = DistinctCharacters(JoinedText(s.Text()), order);
    benchmark::DoNotOptimize(CharsFileBytes(chars, false));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(script.size()));
}
BENCHMARK(BM_TableChars)->ArgName("frequency")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TableEncode(benchmark::State& state) {
  const std::string& script = Script();
  const TCodeBook book = BookFor(script);
  for (auto _ : state) {
    TScript s;
    s.Add("script.txt", *DecodeText(script));
    benchmark::DoNotOptimize(EncodeScript(s, book, std::nullopt).Bytes);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(script.size()));
}
BENCHMARK(BM_TableEncode)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TableDecode(benchmark::State& state) {
  const std::string& script = Script();
  const TCodeBook book = BookFor(script);
  TScript s;
  s.Add("script.txt", *DecodeText(script));
  const std::string bytes = EncodeScript(s, book, std::nullopt).Bytes;
  for (auto _ : state) benchmark::DoNotOptimize(Utf8TextFileBytes(Decode(bytes, book)));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_TableDecode)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace mipofc
