#pragma once

// What every job shares: how it reports progress and how its caller stops it.

#include <atomic>
#include <cstdint>
#include <functional>

namespace mipofc {

/// How a caller follows and stops a job.
struct TJobControl {
  /// Hears the steps done and the steps in all, after each step.
  std::function<void(std::int64_t done, std::int64_t total)> OnProgress;
  /// Once set (by a signal handler, another thread or OnProgress itself), the job stops after
  /// the step it is in.
  const std::atomic<bool>* Cancel = nullptr;

  /// Tells OnProgress of a step done; true while the job may go on.
  bool Step(std::int64_t done, std::int64_t total) const {
    if (OnProgress) OnProgress(done, total);
    return !Cancelled();
  }
  /// True once Cancel is set.
  bool Cancelled() const { return Cancel != nullptr && Cancel->load(); }
};

}  // namespace mipofc
