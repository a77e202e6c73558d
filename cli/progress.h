#pragma once

#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "jobs/export.h"
#include "jobs/job.h"

namespace mipofc::cli {

/// Exit status of an export stopped by Ctrl-C (128 + SIGINT).
inline constexpr int InterruptedStatus = 130;

/// What a running export tells its user: once it runs past 0.5 s, one line on standard error,
/// rewritten in place (files written / total, percent, characters per second), only when standard
/// error is a terminal and not quiet; and Ctrl-C (SIGINT) as a request to stop after the file being
/// written. The previous SIGINT handling comes back when it goes.
class TExportProgress {
 public:
  /// characters: the text's length; capacity: characters a bank holds.
  TExportProgress(bool quiet, std::size_t characters, std::int32_t capacity);
  ~TExportProgress();
  TExportProgress(const TExportProgress&) = delete;
  TExportProgress& operator=(const TExportProgress&) = delete;

  /// A job's control: its progress shows the line when due, and Ctrl-C cancels it.
  TJobControl Control();
  /// Shows the final count and ends the line, if one was shown.
  void Finish(std::int64_t written, std::int64_t total);

 private:
  void Step(std::int64_t written, std::int64_t total);
  void Show(std::int64_t written, std::int64_t total);

  bool enabled_;
  std::size_t characters_;
  std::int32_t capacity_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point shownAt_{};
  bool shown_ = false;
  bool ended_ = false;
  struct sigaction previous_ {};
};

/// What a writing job hears from its caller: its control and who is told each file's name.
using TWritingJob = std::function<TExportResult(const TJobControl& control,
                                                const std::function<void(const std::string&)>& onWritten)>;
/// Runs job with the progress line of TExportProgress(quiet, characters, capacity) out of total
/// files, and Ctrl-C; the names it wrote are listed on standard output unless quiet, once the line
/// is done, and also when it fails (the files written before a failure stay).
TExportResult RunWithProgress(bool quiet, std::size_t characters, std::int32_t capacity, std::int64_t total,
                              const TWritingJob& job);

}  // namespace mipofc::cli
