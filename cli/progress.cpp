#include "cli/progress.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>
#include <iostream>

namespace mipofc::cli {

namespace {

// Lock-free, so the handler may set it.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) {
  interrupted.store(true);
}

constexpr auto Delay = std::chrono::milliseconds(500);
// Often enough to look alive, seldom enough to cost nothing.
constexpr auto Interval = std::chrono::milliseconds(100);

}  // namespace

TExportProgress::TExportProgress(bool quiet, std::size_t characters, std::int32_t capacity)
    : enabled_(!quiet && ::isatty(STDERR_FILENO) == 1),
      characters_(characters),
      capacity_(capacity),
      start_(std::chrono::steady_clock::now()) {
  interrupted.store(false);
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // Writes and reads in progress go on; the export looks at the flag between banks.
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, &previous_);
}

TExportProgress::~TExportProgress() {
  if (shown_ && !ended_) std::fputs("\n", stderr);
  ::sigaction(SIGINT, &previous_, nullptr);
}

TJobControl TExportProgress::Control() {
  TJobControl control;
  control.OnProgress = [this](std::int64_t written, std::int64_t total) { Step(written, total); };
  control.Cancel = &interrupted;
  return control;
}

void TExportProgress::Step(std::int64_t written, std::int64_t total) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - start_ >= Delay && (!shown_ || now - shownAt_ >= Interval)) {
    Show(written, total);
    shownAt_ = now;
  }
}

void TExportProgress::Finish(std::int64_t written, std::int64_t total) {
  if (!shown_ || ended_) return;
  Show(written, total);
  std::fputs("\n", stderr);
  ended_ = true;
}

void TExportProgress::Show(std::int64_t written, std::int64_t total) {
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double done =
      std::min(static_cast<double>(written) * std::max(capacity_, 0), static_cast<double>(characters_));
  const int percent = total > 0 ? static_cast<int>(written * 100 / total) : 100;
  // "\r" starts the line again and "\033[K" clears what a longer line before left.
  std::fprintf(stderr, "\r%lld/%lld files  %3d%%  %.0f chars/s\033[K", static_cast<long long>(written),
               static_cast<long long>(total), percent, seconds > 0 ? done / seconds : 0.0);
  std::fflush(stderr);
  shown_ = true;
}

TExportResult RunWithProgress(bool quiet, std::size_t characters, std::int32_t capacity, std::int64_t total,
                              const TWritingJob& job) {
  TExportProgress progress(quiet, characters, capacity);
  std::vector<std::string> names;
  const auto list = [&] {
    progress.Finish(static_cast<std::int64_t>(names.size()), total);
    if (!quiet)
      for (const std::string& name : names) std::cout << name << "\n";
  };
  try {
    const TExportResult result = job(progress.Control(), [&](const std::string& name) { names.push_back(name); });
    list();
    return result;
  } catch (...) {
    list();
    throw;
  }
}

}  // namespace mipofc::cli
