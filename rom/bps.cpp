#include "rom/bps.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "rom/crc32.h"

namespace mipofc {

namespace {

enum TAction : std::uint64_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// Matches are looked up by their first four bytes; a chain holds every earlier position with
// the same hash, and only the nearest ones are compared.
constexpr std::size_t KeyBytes = 4;
constexpr int HashBits = 16;
constexpr int ChainDepth = 48;
// An unchanged run this long is read from the source without looking for anything better.
constexpr std::size_t PlainRun = 16;
constexpr std::uint32_t None = 0xFFFFFFFFu;

std::uint32_t Hash(const char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return (v * 2654435761u) >> (32 - HashBits);
}

// The earlier positions of a text by the hash of their first four bytes.
class TChains {
 public:
  explicit TChains(std::string_view text) : text_(text), head_(std::size_t{1} << HashBits, None), next_(text.size(), None) {}
  void Add(std::size_t pos) {
    // Positions are kept in 32 bits; a file past 4 GiB is only found up to there.
    if (pos + KeyBytes > text_.size() || pos >= None) return;
    std::uint32_t& head = head_[Hash(text_.data() + pos)];
    next_[pos] = head;
    head = static_cast<std::uint32_t>(pos);
  }
  std::uint32_t First(const char* key) const { return head_[Hash(key)]; }
  std::uint32_t Next(std::uint32_t pos) const { return next_[pos]; }

 private:
  std::string_view text_;
  std::vector<std::uint32_t> head_, next_;
};

std::size_t NumberSize(std::uint64_t n) {
  std::size_t size = 1;
  while ((n >>= 7) != 0) {
    --n;
    ++size;
  }
  return size;
}

std::uint64_t SignedNumber(std::int64_t delta) {
  return delta < 0 ? (static_cast<std::uint64_t>(-delta) << 1) | 1 : static_cast<std::uint64_t>(delta) << 1;
}

struct TMatch {
  TAction Action = TargetRead;
  std::size_t Length = 0;
  std::int64_t From = 0;  // where a copy reads from
  std::size_t Cost = 0;   // bytes of its action
  std::int64_t Gain() const { return static_cast<std::int64_t>(Length) - static_cast<std::int64_t>(Cost); }
};

class TBpsWriter {
 public:
  TBpsWriter(std::string_view source, std::string_view target)
      : source_(source), target_(target), targetChains_(target) {
    out_ = "BPS1";
    Number(source.size());
    Number(target.size());
    Number(0);
  }

  std::string Run() {
    std::size_t pos = 0, pending = 0;  // pending: the start of changed bytes not yet written
    while (pos < target_.size()) {
      const TMatch match = Best(pos);
      // A copy pays off when it saves more than the header that the bytes after it would need.
      if (match.Gain() < 2) {
        targetChains_.Add(pos);
        ++pos;
        continue;
      }
      Literal(pending, pos);
      Action(match.Action, match.Length);
      if (match.Action == SourceCopy) {
        Number(SignedNumber(match.From - sourceRel_));
        sourceRel_ = match.From + static_cast<std::int64_t>(match.Length);
      } else if (match.Action == TargetCopy) {
        Number(SignedNumber(match.From - targetRel_));
        targetRel_ = match.From + static_cast<std::int64_t>(match.Length);
      }
      // Unchanged runs are found in the source; only the target's new bytes are worth finding again.
      if (match.Action != SourceRead)
        for (std::size_t k = 0; k < match.Length; ++k) targetChains_.Add(pos + k);
      pos += match.Length;
      pending = pos;
    }
    Literal(pending, pos);
    const std::uint32_t sourceCrc = Crc32(source_), targetCrc = Crc32(target_);
    Crc(sourceCrc);
    Crc(targetCrc);
    Crc(Crc32(out_));
    return std::move(out_);
  }

 private:
  TMatch Best(std::size_t pos) {
    TMatch best;
    std::size_t same = 0;
    while (pos + same < target_.size() && pos + same < source_.size() && source_[pos + same] == target_[pos + same]) ++same;
    if (same > 0) best = {SourceRead, same, 0, NumberSize((same - 1) << 2)};
    if (same >= PlainRun || pos + KeyBytes > target_.size()) return best;
    const char* key = target_.data() + pos;
    const auto consider = [&](TAction action, std::string_view from, std::int64_t at, std::int64_t rel) {
      std::size_t length = 0;
      const std::size_t start = static_cast<std::size_t>(at);
      // A target copy may overlap the bytes it makes: the decoder copies them one at a time.
      while (pos + length < target_.size() && start + length < from.size() && from[start + length] == target_[pos + length])
        ++length;
      if (length < KeyBytes) return;
      const TMatch match{action, length, at, NumberSize(((length - 1) << 2) | action) + NumberSize(SignedNumber(at - rel))};
      if (match.Gain() > best.Gain()) best = match;
    };
    if (!sourceChains_) {
      // Made at the first change: a patch of a file with none needs no index of it.
      sourceChains_ = std::make_unique<TChains>(source_);
      for (std::size_t k = 0; k < source_.size(); ++k) sourceChains_->Add(k);
    }
    int depth = 0;
    for (std::uint32_t at = sourceChains_->First(key); at != None && depth < ChainDepth; at = sourceChains_->Next(at), ++depth)
      consider(SourceCopy, source_, at, sourceRel_);
    depth = 0;
    for (std::uint32_t at = targetChains_.First(key); at != None && depth < ChainDepth; at = targetChains_.Next(at), ++depth)
      consider(TargetCopy, target_, at, targetRel_);
    return best;
  }

  void Number(std::uint64_t n) {
    for (;;) {
      const std::uint8_t low = n & 0x7F;
      n >>= 7;
      if (n == 0) {
        out_ += static_cast<char>(0x80 | low);
        return;
      }
      out_ += static_cast<char>(low);
      --n;
    }
  }
  void Action(TAction action, std::size_t length) { Number(((length - 1) << 2) | action); }
  void Literal(std::size_t from, std::size_t to) {
    if (to <= from) return;
    Action(TargetRead, to - from);
    out_.append(target_.substr(from, to - from));
  }
  void Crc(std::uint32_t crc) {
    for (int k = 0; k < 4; ++k) out_ += static_cast<char>((crc >> (8 * k)) & 0xFF);
  }

  std::string_view source_, target_;
  TChains targetChains_;
  std::unique_ptr<TChains> sourceChains_;
  std::int64_t sourceRel_ = 0, targetRel_ = 0;
  std::string out_;
};

}  // namespace

std::string BpsPatch(std::string_view source, std::string_view target) { return TBpsWriter(source, target).Run(); }

}  // namespace mipofc
