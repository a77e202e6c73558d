#include "rom/ips.h"

#include <algorithm>
#include <array>
#include <deque>
#include <limits>
#include <vector>

#include "base/errors.h"

namespace mipofc {

namespace {

constexpr std::uint64_t MaxRecordSize = 0xFFFF;
constexpr std::int64_t LiteralHeader = 5;  // offset and size
constexpr std::int64_t RleRecordSize = 8;  // offset, size 0, count and the byte
constexpr std::int64_t Infinite = std::numeric_limits<std::int64_t>::max() / 4;

// How the plan reached a position: the kind in the top two bits, the start of the record (or
// the position skipped) below them, counted from the first change.
enum : std::uint32_t { Skip = 0, Literal = 1, Rle = 2 };
constexpr int KindShift = 30;
constexpr std::uint32_t StartMask = (1u << KindShift) - 1;

struct TRecord {
  std::size_t Start, End;  // [Start, End) of the target
  bool Run;
};

// The cheapest records that write every changed byte, by dynamic programming over the positions
// from the first change to the last: C(i + 1) is the least of C(i) (byte i unchanged, skipped),
// C(j) + 5 + (i + 1 - j) (bytes j..i as one record, holding no IpsRunMin equal bytes in a row)
// and C(j) + 8 (j..i one run of at least IpsRunMin equal bytes). The running minima make it
// linear.
std::vector<TRecord> PlanRecords(std::string_view source, std::string_view target) {
  const auto changed = [&](std::size_t i) { return i >= source.size() || source[i] != target[i]; };
  std::size_t first = 0;
  while (first < target.size() && !changed(first)) ++first;
  if (first == target.size()) return {};
  std::size_t last = target.size() - 1;
  while (!changed(last)) --last;

  std::vector<std::uint32_t> how(last + 2 - first);
  std::deque<std::pair<std::size_t, std::int64_t>> literal;  // starts j with C(j) - j, rising
  std::array<std::int64_t, IpsRunMin> recent{};              // C(j) of the last IpsRunMin positions
  std::size_t literalFrom = first;  // the first start a record of bytes ending here may have
  std::size_t runStart = first;     // where the run of equal bytes holding i begins
  std::int64_t runBest = Infinite;
  std::size_t runFrom = first;
  std::int64_t cost = 0;  // C(i)
  for (std::size_t i = first; i <= last; ++i) {
    recent[i % IpsRunMin] = cost;
    const std::int64_t key = cost - static_cast<std::int64_t>(i);
    while (!literal.empty() && literal.back().second >= key) literal.pop_back();
    literal.emplace_back(i, key);
    if (i > first && target[i] != target[i - 1]) {
      runStart = i;
      runBest = Infinite;
    }
    if (i + 1 >= runStart + IpsRunMin) {
      // A record of bytes may not hold this run's last IpsRunMin bytes.
      literalFrom = std::max(literalFrom, i + 2 - IpsRunMin);
      const std::size_t j = i + 1 - IpsRunMin;
      if (recent[j % IpsRunMin] < runBest) {
        runBest = recent[j % IpsRunMin];
        runFrom = j;
      }
    }
    while (literal.front().first < literalFrom) literal.pop_front();

    std::int64_t best = Infinite;
    std::uint32_t way = 0;
    if (!changed(i)) {
      best = cost;
      way = Skip << KindShift | static_cast<std::uint32_t>(i - first);
    }
    const std::int64_t bytes = literal.front().second + static_cast<std::int64_t>(i + 1) + LiteralHeader;
    if (bytes < best) {
      best = bytes;
      way = Literal << KindShift | static_cast<std::uint32_t>(literal.front().first - first);
    }
    if (runBest + RleRecordSize < best) {
      best = runBest + RleRecordSize;
      way = Rle << KindShift | static_cast<std::uint32_t>(runFrom - first);
    }
    how[i + 1 - first] = way;
    cost = best;
  }

  std::vector<TRecord> records;
  for (std::size_t end = last + 1; end > first;) {
    const std::uint32_t way = how[end - first];
    const std::size_t start = (way & StartMask) + first;
    const std::uint32_t kind = way >> KindShift;
    if (kind == Skip) {
      end = start;
      continue;
    }
    records.push_back({start, end, kind == Rle});
    end = start;
  }
  std::reverse(records.begin(), records.end());
  return records;
}

class TIpsWriter {
 public:
  explicit TIpsWriter(std::string_view target) : target_(target) { out_ = "PATCH"; }

  void Bytes(std::size_t start, std::size_t end) {
    // A record at the end mark's offset starts one byte earlier, rewriting that byte.
    if (start == IpsEofOffset) --start;
    while (start < end) {
      const std::size_t size = Piece(start, end);
      Header(start, size);
      out_.append(target_.substr(start, size));
      start += size;
    }
  }

  void Run(std::size_t start, std::size_t end) {
    const char byte = target_[start];
    if (start == IpsEofOffset) {
      if (target_[start - 1] == byte) {
        --start;
      } else {
        Bytes(start - 1, start + 1);
        ++start;
      }
    }
    while (start < end) {
      const std::size_t count = Piece(start, end);
      Header(start, 0);
      Put(count, 2);
      out_ += byte;
      start += count;
    }
  }

  std::string Finish() { return std::move(out_) + "EOF"; }

 private:
  // The bytes of the next record from start: at most MaxRecordSize, and never leaving the next
  // one to start at the end mark's offset.
  static std::size_t Piece(std::size_t start, std::size_t end) {
    std::size_t size = std::min<std::size_t>(end - start, MaxRecordSize);
    if (start + size < end && start + size == IpsEofOffset) --size;
    return size;
  }
  void Put(std::uint64_t value, int bytes) {
    for (int k = bytes - 1; k >= 0; --k) out_ += static_cast<char>((value >> (8 * k)) & 0xFF);
  }
  void Header(std::size_t offset, std::size_t size) {
    Put(offset, 3);
    Put(size, 2);
  }

  std::string_view target_;
  std::string out_;
};

}  // namespace

void RequireIpsSize(std::uint64_t size, const std::string& patchName) {
  if (size > IpsMaxFileSize) throw TFileError(patchName, TFailure{TFailureKind::IpsTooLarge, {std::to_string(size)}});
}

std::string IpsPatch(std::string_view source, std::string_view target, const std::string& patchName) {
  RequireIpsSize(std::max(source.size(), target.size()), patchName);
  if (target.size() < source.size())
    throw TFileError(patchName,
                     TFailure{TFailureKind::IpsShortens, {std::to_string(source.size()), std::to_string(target.size())}});
  TIpsWriter writer(target);
  for (const TRecord& record : PlanRecords(source, target)) {
    if (record.Run)
      writer.Run(record.Start, record.End);
    else
      writer.Bytes(record.Start, record.End);
  }
  return writer.Finish();
}

}  // namespace mipofc
