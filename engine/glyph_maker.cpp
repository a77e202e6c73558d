#include "engine/glyph_maker.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/cell_places.h"

namespace mipofc {

namespace {
// Fewer pieces than this are not worth a thread (and the font it would resolve again).
constexpr std::int64_t HelperFrom = 4;
}  // namespace

// Runs the tasks handed to it one after another on a thread of its own.
class TGlyphMaker::THelper {
 public:
  THelper() : thread_([this] { Run(); }) {}
  ~THelper() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    work_.notify_one();
    thread_.join();
  }
  std::future<std::string> Post(std::function<std::string()> make) {
    std::packaged_task<std::string()> task(std::move(make));
    std::future<std::string> made = task.get_future();
    {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    work_.notify_one();
    return made;
  }

 private:
  void Run() {
    for (;;) {
      std::packaged_task<std::string()> task;
      {
        std::unique_lock lock(mutex_);
        work_.wait(lock, [this] { return stop_ || !tasks_.empty(); });
        if (tasks_.empty()) return;
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
      task();
    }
  }

  std::mutex mutex_;
  std::condition_variable work_;
  std::deque<std::packaged_task<std::string()>> tasks_;
  bool stop_ = false;
  std::thread thread_;  // last: it starts once everything above exists
};

std::int32_t GlyphSize(const TChrSettings& settings, int bitsPerPixel) {
  const TPlacedShape shape = PlacedShape(settings);
  return shape.Cols * shape.Rows * (bitsPerPixel == 1 ? 8 : 16);
}

TGlyphMaker::TGlyphMaker(const TChrSettings& settings, std::u16string_view text, std::int64_t perPiece,
                         int bitsPerPixel)
    : settings_(settings),
      text_(text),
      perPiece_(static_cast<std::size_t>(perPiece > 0 ? perPiece : 1)),
      bitsPerPixel_(bitsPerPixel),
      count_(static_cast<std::int64_t>((text.size() + perPiece_ - 1) / perPiece_)),
      helperSettings_(settings) {
  if (count_ < HelperFrom || std::thread::hardware_concurrency() < 2) return;
  if (settings.Font != nullptr) {
    helperFont_ = *settings.Font;
    helperSettings_.Font = &helperFont_;
  }
  helper_ = std::make_unique<THelper>();
}

TGlyphMaker::~TGlyphMaker() {
  if (ahead_.valid()) ahead_.wait();
  helper_.reset();
}

std::string TGlyphMaker::Make(const TChrSettings& settings, std::int64_t n) const {
  auto engine = std::make_unique<TChr>();
  std::string bytes;
  engine->AppendGlyphs(settings, text_.substr(static_cast<std::size_t>(n) * perPiece_, perPiece_), bitsPerPixel_, bytes);
  return bytes;
}

std::string TGlyphMaker::Take(std::int64_t n) {
  if (ahead_.valid() && aheadOf_ == n) return ahead_.get();
  if (ahead_.valid()) ahead_.wait();  // a piece skipped over: its result is not wanted
  // The helper makes the next piece while this thread makes piece n.
  if (helper_ && n + 1 < count_) {
    ahead_ = helper_->Post([this, n] { return Make(helperSettings_, n + 1); });
    aheadOf_ = n + 1;
  }
  return Make(settings_, n);
}

}  // namespace mipofc
