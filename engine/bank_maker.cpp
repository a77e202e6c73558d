#include "engine/bank_maker.h"

#include <memory>
#include <utility>

#include "engine/formats.h"

namespace mipofc {

namespace {

// How far the helper may run ahead of the caller, in banks: enough to keep both busy, without
// holding a large text's worth of banks.
constexpr std::int64_t Ahead = 8;

// Fewer banks than this are not worth a thread (and the font it would resolve again).
constexpr std::int64_t HelperFrom = 4;

}  // namespace

std::int32_t ExportCapacity(const TChrSettings& settings) {
  auto engine = std::make_unique<TChr>();
  return engine->ApplySettings(settings);
}

std::int64_t ExportFileCount(std::size_t length, std::int32_t capacity) {
  if (capacity <= 0) return 0;
  return static_cast<std::int64_t>((length + static_cast<std::size_t>(capacity) - 1) / static_cast<std::size_t>(capacity));
}

TBankMaker::TBankMaker(const TChrSettings& settings, std::u16string_view text, std::int32_t capacity,
                       bool tileNames, std::vector<std::size_t> starts)
    : settings_(settings),
      text_(text),
      capacity_(static_cast<std::size_t>(capacity)),
      tileNames_(tileNames),
      starts_(std::move(starts)),
      count_(!starts_.empty() ? static_cast<std::int64_t>(starts_.size())
             : capacity > 0   ? static_cast<std::int64_t>((text.size() + capacity_ - 1) / capacity_)
                              : 0),
      helperSettings_(settings) {
  if (count_ < HelperFrom || std::thread::hardware_concurrency() < 2) return;
  if (settings.Font != nullptr) {
    helperFont_ = *settings.Font;
    helperSettings_.Font = &helperFont_;
  }
  helper_ = std::thread([this] { Run(); });
}

TBankMaker::~TBankMaker() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  taken_.notify_all();
  if (helper_.joinable()) helper_.join();
}

TMadeBank TBankMaker::Make(const TChrSettings& settings, std::int64_t n) const {
  auto engine = std::make_unique<TChr>();
  const auto k = static_cast<std::size_t>(n);
  if (starts_.empty()) {
    engine->BuildFor(settings, text_.substr(k * capacity_, capacity_));
  } else {
    const std::size_t end = k + 1 < starts_.size() ? starts_[k + 1] : text_.size();
    engine->BuildFor(settings, text_.substr(starts_[k], end - starts_[k]));
  }
  TMadeBank bank{std::string(engine->BankBytes()), {}};
  if (tileNames_) bank.TileNames = TileNames(*engine, n);
  return bank;
}

void TBankMaker::Run() {
  // The helper makes the odd banks, the caller the even ones.
  for (std::int64_t n = 1; n < count_; n += 2) {
    {
      std::unique_lock lock(mutex_);
      taken_.wait(lock, [&] { return stop_ || n < next_ + Ahead; });
      if (stop_) return;
    }
    try {
      TMadeBank bank = Make(helperSettings_, n);
      std::lock_guard lock(mutex_);
      ready_.emplace(n, std::move(bank));
    } catch (...) {
      std::lock_guard lock(mutex_);
      failedAt_ = n;
      failure_ = std::current_exception();
      made_.notify_all();
      return;
    }
    made_.notify_all();
  }
}

TMadeBank TBankMaker::Take(std::int64_t n) {
  if (!helper_.joinable() || n % 2 == 0) {
    {
      std::lock_guard lock(mutex_);
      next_ = n + 1;
    }
    taken_.notify_all();
    return Make(settings_, n);
  }
  std::unique_lock lock(mutex_);
  made_.wait(lock, [&] { return ready_.count(n) != 0 || failedAt_ == n; });
  if (failedAt_ == n) std::rethrow_exception(failure_);
  TMadeBank bank = std::move(ready_.at(n));
  ready_.erase(n);
  next_ = n + 1;
  lock.unlock();
  taken_.notify_all();
  return bank;
}

}  // namespace mipofc
