// Cost of one preview refresh of the main window (both images), which the 500 ms tick runs, and of
// the bank viewer: drawing one bank, and opening it on a long text.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QSlider>
#include <QTextEdit>
#include <QTimer>

#include "font/font.h"
#include "ui/main_window.h"
#include "ui/bank_viewer.h"

namespace {

void Refresh(benchmark::State& state, mipofc::TForm1& form) {
  form.Timer1->stop();
  form.RefreshPreviews();  // faces are opened once per process; do not count that
  for (auto _ : state) form.RefreshPreviews();
}

void BM_RefreshStartState(benchmark::State& state) {
  mipofc::TForm1 form;
  Refresh(state, form);
}

void BM_Refresh32x32At28ptMode3(benchmark::State& state) {
  mipofc::TForm1 form;
  form.ComboBox1->setCurrentIndex(6);
  form.ComboBox1Change();
  form.TBs->setValue(28);
  form.ComboBox2->setCurrentIndex(3);
  form.ComboBox2Change();
  if (form.GatherSettings().EncodeMode != 3 || form.BfFontFont.Size != 28) state.SkipWithError("wrong settings");
  Refresh(state, form);
}

BENCHMARK(BM_RefreshStartState)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Refresh32x32At28ptMode3)->Unit(benchmark::kMillisecond);

// n distinct ideographs, over and over.
QString Ideographs(int n) {
  QString text;
  text.reserve(n);
  for (int i = 0; i < n; ++i) text += QChar(static_cast<char16_t>(0x4E00 + i % 20902));
  return text;
}

// One bank of the viewer at 32x32 cells and 28 pt (16 characters, both pictures at 3x): the banks
// alternate so that each iteration draws. Arg 1: no glyph cached, as on a first look at a bank.
void BM_ViewerDrawBank32x32(benchmark::State& state) {
  mipofc::TForm1 form;
  form.Timer1->stop();
  form.ComboBox1->setCurrentIndex(6);
  form.ComboBox1Change();
  form.TBs->setValue(28);
  form.Memo1->setPlainText(Ideographs(20902));
  form.N18Click();
  mipofc::TViewer& viewer = *form.Viewer;
  const bool cold = state.range(0) != 0;
  int bank = 0;
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      mipofc::ClearGlyphCaches();
      state.ResumeTiming();
    }
    bank = bank == 1 ? 2 : 1;
    viewer.ShowBank(bank);
  }
  if (viewer.Bank() != bank || viewer.Capacity() != 16) state.SkipWithError("not the bank asked for");
}

// Opening the viewer (made, drawn, shown) on a text of 1,000,000 characters: only the shown bank
// is drawn, whatever the length.
void BM_ViewerOpen1M(benchmark::State& state) {
  mipofc::TForm1 form;
  form.Timer1->stop();
  form.Memo1->setPlainText(Ideographs(1000000));
  form.RefreshPreviews();
  for (auto _ : state) {
    form.N18Click();
    state.PauseTiming();
    if (form.Viewer->BankCount() != 15625) state.SkipWithError("not the whole text");
    delete form.Viewer;
    form.Viewer = nullptr;
    state.ResumeTiming();
  }
}

BENCHMARK(BM_ViewerDrawBank32x32)->ArgName("cold")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewerOpen1M)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
