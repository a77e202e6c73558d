#include "base/file_write.h"
#include "engine/export.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "engine/bank_maker.h"

namespace mipofc {

std::string ExportBaseName(std::string_view chosenName) {
  const std::size_t dot = chosenName.rfind('.');
  const std::size_t boundary = chosenName.find_last_of("/\\:");
  if (dot == std::string_view::npos || (boundary != std::string_view::npos && dot < boundary))
    return std::string(chosenName);
  return std::string(chosenName.substr(0, dot));
}

std::string ExportFileName(std::string_view base, std::int64_t n, std::int32_t capacity, TBankFormat format) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string digits;
  for (std::uint64_t v = static_cast<std::uint64_t>(n); v != 0 || digits.empty(); v >>= 4)
    digits.insert(digits.begin(), hex[v & 15]);
  const std::size_t width = capacity > 255 ? 4 : 2;
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return std::string(base) + "." + digits + "." + std::string(FormatExtension(format));
}

std::int32_t ExportCapacity(const TChrSettings& settings) {
  auto engine = std::make_unique<TChr>();
  return engine->ApplySettings(settings);
}

namespace {

// Writes the banks in the order they are handed over, on a thread of its own, so that the file
// system's work overlaps the drawing of the next bank. The first failure stops it: nothing after
// that file is written.
class TBankWriter {
 public:
  TBankWriter() : thread_([this] { Run(); }) {}
  ~TBankWriter() { Finish(); }
  TBankWriter(const TBankWriter&) = delete;
  TBankWriter& operator=(const TBankWriter&) = delete;

  /// Queues a file; false once a write has failed (the export stops there).
  bool Put(std::string name, std::string data) {
    std::unique_lock lock(mutex_);
    // A few banks in flight are enough to keep both sides busy without holding the text's worth.
    spaceFree_.wait(lock, [this] { return queue_.size() < 4 || failure_; });
    if (failure_) return false;
    queue_.push_back({std::move(name), std::move(data)});
    work_.notify_one();
    return true;
  }
  /// Drops the files not yet started; the one being written is finished.
  void Abandon() {
    std::lock_guard lock(mutex_);
    queue_.clear();
    spaceFree_.notify_all();
  }
  /// Files written so far.
  std::int64_t Written() {
    std::lock_guard lock(mutex_);
    return static_cast<std::int64_t>(written_.size());
  }
  /// Waits for every queued file; returns the names written, in order, and the failure if any.
  std::vector<std::string> Finish() {
    {
      std::lock_guard lock(mutex_);
      closed_ = true;
      work_.notify_one();
    }
    if (thread_.joinable()) thread_.join();
    return written_;
  }
  std::exception_ptr Failure() const { return failure_; }

 private:
  struct Item {
    std::string name, data;
  };
  void Run() {
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

  std::mutex mutex_;
  std::condition_variable work_, spaceFree_;
  std::deque<Item> queue_;
  std::vector<std::string> written_;
  std::exception_ptr failure_;
  bool closed_ = false;
  std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace

std::int64_t ExportFileCount(std::size_t length, std::int32_t capacity) {
  if (capacity <= 0) return 0;
  return static_cast<std::int64_t>((length + static_cast<std::size_t>(capacity) - 1) / static_cast<std::size_t>(capacity));
}

namespace {

// The banks of a concatenated file, gathered until the last one is drawn.
struct TConcatPiece {
  std::string bytes;
  std::vector<std::string> tileNames;

  void Add(TMadeBank& bank) {
    bytes += bank.Bytes;
    for (std::string& name : bank.TileNames) tileNames.push_back(std::move(name));
  }
};

}  // namespace

TExportResult ExportText(std::string_view chosenName, const TChrSettings& settings, std::u16string_view text,
                         const TExportOptions& options) {
  const std::int32_t capacity = ExportCapacity(settings);
  // A bank that holds no character would never advance through the text.
  if (capacity <= 0 && !text.empty()) throw std::invalid_argument("these settings give banks of no characters");
  const std::string base = ExportBaseName(chosenName);
  const std::int64_t total = ExportFileCount(text.size(), capacity);
  TExportResult result;
  TBankWriter writer;
  std::exception_ptr failure;
  TConcatPiece piece;
  if (options.Concat) piece.bytes.reserve(static_cast<std::size_t>(total) * static_cast<std::size_t>(std::clamp(settings.Limit, 0, 4096)));
  try {
    // A fresh engine per file: nothing of one bank reaches the next. Only ca65 comments name
    // the tiles; the other formats need no names.
    TBankMaker maker(settings, text, capacity, options.Format == TBankFormat::Ca65);
    for (std::int64_t n = 0; n < total; ++n) {
      TMadeBank bank = maker.Take(n);
      if (options.OnBank) options.OnBank(n, bank.Bytes);
      if (options.Concat) {
        piece.Add(bank);
        if (options.OnProgress && !options.OnProgress(n + 1, total)) {
          result.Cancelled = true;
          break;
        }
        continue;
      }
      const std::string name = ExportFileName(base, n, capacity, options.Format);
      std::string data = BankFileBytes(options.Format, bank.Bytes, bank.TileNames, name, options.Palette);
      if (!writer.Put(name, std::move(data))) break;
      if (options.OnProgress && !options.OnProgress(writer.Written(), total)) {
        writer.Abandon();
        result.Cancelled = true;
        break;
      }
    }
    // One file, written once the last bank is in: a stopped or failed export leaves none.
    if (options.Concat && !result.Cancelled && total > 0) {
      const std::string name(chosenName);
      // Raw banks are the file itself: handed over, not copied (a megabyte of fresh pages).
      writer.Put(name, options.Format == TBankFormat::Chr
                           ? std::move(piece.bytes)
                           : BankFileBytes(options.Format, piece.bytes, piece.tileNames, name, options.Palette));
    }
  } catch (...) {
    failure = std::current_exception();
  }
  const std::vector<std::string> written = writer.Finish();
  if (options.OnWritten)
    for (const std::string& name : written) options.OnWritten(name);
  if (!failure) failure = writer.Failure();
  if (failure) std::rethrow_exception(failure);
  result.Files = static_cast<std::int64_t>(written.size());
  return result;
}

std::int64_t ExportBanks(std::string_view chosenName, TBankFormat format, const TChrSettings& settings,
                         std::u16string_view text, const std::function<void(const std::string&)>& onWritten) {
  TExportOptions options;
  options.Format = format;
  options.OnWritten = onWritten;
  return ExportText(chosenName, settings, text, options).Files;
}

}  // namespace mipofc
