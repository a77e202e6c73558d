#pragma once

// The banks of a text made in order for an export, a fresh engine each; on a machine with more
// than one core a helper thread makes every other bank ahead of the caller.

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/chr.h"

namespace mipofc {

/// Characters per bank file for these settings, from a throw-away engine.
std::int32_t ExportCapacity(const TChrSettings& settings);

/// The number of bank files a text of length characters takes at capacity characters a bank.
std::int64_t ExportFileCount(std::size_t length, std::int32_t capacity);

/// One bank as an export hands it on.
struct TMadeBank {
  std::string Bytes;                   ///< the bank's Limit bytes
  std::vector<std::string> TileNames;  ///< its tiles' names, when asked for (ca65 comments)
};

class TBankMaker {
 public:
  /// The banks of text at capacity characters a bank (> 0), with tile names when tileNames.
  /// With starts, bank n is text[starts[n] .. starts[n + 1]) instead (the last to the end of the
  /// text); the starts rise and no slice is longer than capacity.
  TBankMaker(const TChrSettings& settings, std::u16string_view text, std::int32_t capacity, bool tileNames,
             std::vector<std::size_t> starts = {});
  /// Stops the helper after the bank it is making.
  ~TBankMaker();
  TBankMaker(const TBankMaker&) = delete;
  TBankMaker& operator=(const TBankMaker&) = delete;

  /// Bank n; n goes 0, 1, 2, ... Throws what making that bank threw.
  TMadeBank Take(std::int64_t n);
  /// How many banks the text gives.
  std::int64_t Count() const { return count_; }

 private:
  TMadeBank Make(const TChrSettings& settings, std::int64_t n) const;
  void Run();

  const TChrSettings settings_;
  const std::u16string_view text_;
  const std::size_t capacity_;
  const bool tileNames_;
  const std::vector<std::size_t> starts_;
  const std::int64_t count_;

  // The helper's own font object: making a bank writes to the font it is given.
  TFont helperFont_;
  TChrSettings helperSettings_;
  std::mutex mutex_;
  std::condition_variable made_, taken_;
  std::map<std::int64_t, TMadeBank> ready_;  // the helper's banks not yet taken
  std::int64_t failedAt_ = -1;               // the bank the helper failed on
  std::exception_ptr failure_;
  std::int64_t next_ = 0;  // the bank the caller takes next
  bool stop_ = false;
  std::thread helper_;  // last: it starts once everything above exists
};

}  // namespace mipofc
