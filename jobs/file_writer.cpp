#include "jobs/file_writer.h"

#include "base/file_write.h"

namespace mipofc {

TFileWriterThread::TFileWriterThread() : thread_([this] { Run(); }) {}

TFileWriterThread::~TFileWriterThread() { Finish(); }

bool TFileWriterThread::Put(std::string name, std::string data) {
  std::unique_lock lock(mutex_);
  // A few files in flight are enough to keep both sides busy without holding the text's worth.
  spaceFree_.wait(lock, [this] { return queue_.size() < 4 || failure_; });
  if (failure_) return false;
  queue_.push_back({std::move(name), std::move(data)});
  work_.notify_one();
  return true;
}

void TFileWriterThread::Abandon() {
  std::lock_guard lock(mutex_);
  queue_.clear();
  spaceFree_.notify_all();
}

std::int64_t TFileWriterThread::Written() {
  std::lock_guard lock(mutex_);
  return static_cast<std::int64_t>(written_.size());
}

std::vector<std::string> TFileWriterThread::Finish() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    work_.notify_one();
  }
  if (thread_.joinable()) thread_.join();
  return written_;
}

void TFileWriterThread::Run() {
  for (;;) {
    Item item;
    {
      std::unique_lock lock(mutex_);
      work_.wait(lock, [this] { return !queue_.empty() || closed_; });
      if (queue_.empty()) return;
      item = std::move(queue_.front());
      queue_.pop_front();
    }
    try {
      WriteFileAtomically(item.name, item.data);
    } catch (...) {
      std::lock_guard lock(mutex_);
      failure_ = std::current_exception();
      queue_.clear();
      spaceFree_.notify_all();
      return;
    }
    std::lock_guard lock(mutex_);
    written_.push_back(std::move(item.name));
    spaceFree_.notify_all();
  }
}

std::int64_t FinishWriting(TFileWriterThread& writer, std::exception_ptr failure,
                           const std::function<void(const std::string&)>& onWritten) {
  const std::vector<std::string> written = writer.Finish();
  if (onWritten)
    for (const std::string& name : written) onWritten(name);
  if (!failure) failure = writer.Failure();
  if (failure) std::rethrow_exception(failure);
  return static_cast<std::int64_t>(written.size());
}

}  // namespace mipofc
