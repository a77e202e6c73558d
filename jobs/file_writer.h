#pragma once

// Files written one after another on a thread of their own, so that the file system's work
// overlaps the making of the next file.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mipofc {

/// Writes files atomically in the order they are handed over. The first failure stops it:
/// nothing after that file is written.
class TFileWriterThread {
 public:
  TFileWriterThread();
  /// Waits for the files queued (Finish).
  ~TFileWriterThread();
  TFileWriterThread(const TFileWriterThread&) = delete;
  TFileWriterThread& operator=(const TFileWriterThread&) = delete;

  /// Queues a file, waiting while a few are in flight; false once a write has failed.
  bool Put(std::string name, std::string data);
  /// Drops the files not yet started; the one being written is finished.
  void Abandon();
  /// Files written so far.
  std::int64_t Written();
  /// Waits for every queued file; returns the names written, in order.
  std::vector<std::string> Finish();
  /// The failure that stopped the writing, if any.
  std::exception_ptr Failure() const { return failure_; }

 private:
  struct Item {
    std::string name, data;
  };
  void Run();

  std::mutex mutex_;
  std::condition_variable work_, spaceFree_;
  std::deque<Item> queue_;
  std::vector<std::string> written_;
  std::exception_ptr failure_;
  bool closed_ = false;
  std::thread thread_;  // last: it starts once everything above exists
};

/// Waits for writer's files, tells onWritten each name written, in order, and rethrows the
/// job's failure, else the writer's; returns the number of files written.
std::int64_t FinishWriting(TFileWriterThread& writer, std::exception_ptr failure,
                           const std::function<void(const std::string&)>& onWritten);

}  // namespace mipofc
