// Cost of one preview refresh of the main window (both images), which the 500 ms tick runs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QSlider>
#include <QTimer>

#include "ui/Unit1.h"

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
