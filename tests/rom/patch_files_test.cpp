// IPS and BPS patches, applied by appliers written here from the formats' descriptions (not by
// the code under test): the patched bytes must be the target exactly.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>

#include "base/errors.h"
#include "rom/bps.h"
#include "rom/ips.h"

namespace mipofc {
namespace {

std::uint64_t Big(std::string_view p, std::size_t at, int bytes) {
  std::uint64_t v = 0;
  for (int k = 0; k < bytes; ++k) v = v << 8 | static_cast<std::uint8_t>(p.at(at + k));
  return v;
}

// An IPS applier: "PATCH", then records (3-byte offset, 2-byte size, bytes; size 0: 2-byte count
// and one byte) until "EOF". Keeps what a well-made patch must be: the longest run of equal
// bytes in a record of bytes, and the smallest RLE count.
struct TIpsApplied {
  std::string Out;
  int Records = 0, Runs = 0;
  std::size_t LongestLiteralRun = 0, ShortestRunRecord = SIZE_MAX;
};
TIpsApplied ApplyIps(std::string_view patch, std::string source) {
  TIpsApplied a;
  EXPECT_EQ(patch.substr(0, 5), "PATCH");
  std::size_t at = 5;
  for (;;) {
    if (patch.substr(at, 3) == "EOF") break;
    const std::size_t offset = Big(patch, at, 3), size = Big(patch, at + 3, 2);
    at += 5;
    ++a.Records;
    if (size == 0) {
      const std::size_t count = Big(patch, at, 2);
      if (source.size() < offset + count) source.resize(offset + count);
      source.replace(offset, count, std::string(count, patch.at(at + 2)));
      at += 3;
      ++a.Runs;
      a.ShortestRunRecord = std::min(a.ShortestRunRecord, count);
    } else {
      if (source.size() < offset + size) source.resize(offset + size);
      const std::string_view bytes = patch.substr(at, size);
      source.replace(offset, size, bytes);
      for (std::size_t i = 0, run = 0; i < size; ++i) {
        run = i > 0 && bytes[i] == bytes[i - 1] ? run + 1 : 1;
        a.LongestLiteralRun = std::max(a.LongestLiteralRun, run);
      }
      at += size;
    }
  }
  EXPECT_EQ(at + 3, patch.size()) << "bytes after EOF";
  a.Out = std::move(source);
  return a;
}

// CRC-32 bit by bit, as the description gives it.
std::uint32_t BitCrc(std::string_view bytes) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (const char b : bytes) {
    c ^= static_cast<std::uint8_t>(b);
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ ((c & 1) ? 0xEDB88320u : 0);
  }
  return ~c;
}

// A BPS applier: "BPS1", source size, target size, metadata; actions of ((length - 1) << 2 |
// kind) up to the last 12 bytes; then the CRC-32 of source, target and patch, little-endian.
// nullopt when a CRC refuses. Counts the actions of each kind.
struct TBpsApplied {
  std::optional<std::string> Out;
  std::map<int, int> Actions;
};
TBpsApplied ApplyBps(std::string_view patch, std::string_view source) {
  TBpsApplied a;
  std::size_t at = 0;
  const auto number = [&] {
    std::uint64_t data = 0, shift = 1;
    for (;;) {
      const std::uint8_t x = static_cast<std::uint8_t>(patch.at(at++));
      data += (x & 0x7F) * shift;
      if (x & 0x80) return data;
      shift <<= 7;
      data += shift;
    }
  };
  const auto little = [&](std::size_t from) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = v << 8 | static_cast<std::uint8_t>(patch.at(from + k));
    return v;
  };
  EXPECT_EQ(patch.substr(0, 4), "BPS1");
  at = 4;
  const std::uint64_t sourceSize = number(), targetSize = number(), metadata = number();
  at += metadata;
  const std::size_t end = patch.size() - 12;
  if (sourceSize != source.size() || little(end) != BitCrc(source)) return a;
  std::string out;
  std::int64_t sourceRel = 0, targetRel = 0;
  const auto offset = [&] {
    const std::uint64_t v = number();
    return (v & 1) ? -static_cast<std::int64_t>(v >> 1) : static_cast<std::int64_t>(v >> 1);
  };
  while (at < end) {
    const std::uint64_t word = number();
    const int kind = static_cast<int>(word & 3);
    const std::size_t length = (word >> 2) + 1;
    ++a.Actions[kind];
    if (kind == 0) {
      out += source.substr(out.size(), length);
    } else if (kind == 1) {
      out += patch.substr(at, length);
      at += length;
    } else if (kind == 2) {
      sourceRel += offset();
      out += source.substr(static_cast<std::size_t>(sourceRel), length);
      sourceRel += static_cast<std::int64_t>(length);
    } else {
      targetRel += offset();
      for (std::size_t k = 0; k < length; ++k) out += out.at(static_cast<std::size_t>(targetRel++));
    }
  }
  EXPECT_EQ(at, end);
  EXPECT_EQ(out.size(), targetSize);
  EXPECT_EQ(little(end + 4), BitCrc(out));
  EXPECT_EQ(little(end + 8), BitCrc(patch.substr(0, end + 8)));
  a.Out = std::move(out);
  return a;
}

std::string Noise(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
  return bytes;
}
std::string With(std::string image, std::size_t at, std::string_view bytes) {
  if (image.size() < at + bytes.size()) image.resize(at + bytes.size());
  image.replace(at, bytes.size(), bytes);
  return image;
}
// A 4 KB bank as glyph tiles give it: blank tiles (plane 0 clear, plane 1 set) and some ink.
std::string Bank(unsigned seed) {
  std::string bank;
  std::mt19937 random(seed);
  for (int t = 0; t < 256; ++t) {
    const bool blank = random() % 4 == 0;
    for (int r = 0; r < 8; ++r) bank += blank ? '\0' : static_cast<char>(random() & 0xFF);
    for (int r = 0; r < 8; ++r) bank += blank ? '\xFF' : static_cast<char>(random() & 0xFF);
  }
  return bank;
}

struct TPatchCase {
  const char* name;
  std::string source, target;
};
std::vector<TPatchCase> Cases() {
  const std::string rom = Noise(40 * 1024, 1);
  std::string banks8;
  for (unsigned b = 0; b < 8; ++b) banks8 += Bank(b + 10);
  return {
      {"nothing changed", rom, rom},
      {"one byte", rom, With(rom, 777, "\x5A")},
      {"one bank", rom, With(rom, 8192, Bank(3))},
      {"eight banks", Noise(160 * 1024, 2), With(Noise(160 * 1024, 2), 16 + 32768, banks8)},
      {"a run of nine", rom, With(rom, 100, std::string(9, '\x11'))},
      {"a run of eight", rom, With(rom, 100, std::string(8, '\x11'))},
      {"a long run in the middle", rom, With(rom, 100, "abcdefgh" + std::string(40, '\x11') + "ijklmnop")},
      {"changes four bytes apart", rom, With(With(rom, 100, "\x01\x02\x03"), 107, "\x04\x05\x06")},
      {"changes twenty bytes apart", rom, With(With(rom, 100, "\x01\x02\x03"), 123, "\x04\x05\x06")},
      {"more than a record holds", rom, With(rom, 10, Noise(30000, 7) + Noise(40000, 8))},
      {"the first and the last byte", rom, With(With(rom, 0, "\x01"), rom.size() - 1, "\x02")},
      {"the target grows", rom, rom + Noise(3000, 9) + std::string(20, '\0')},
  };
}

TEST(IpsPatch, AppliedItGivesTheTargetWithWellMadeRecords) {
  for (const TPatchCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    const std::string patch = IpsPatch(c.source, c.target, "out.ips");
    const TIpsApplied a = ApplyIps(patch, c.source);
    EXPECT_EQ(a.Out, c.target);
    EXPECT_LT(a.LongestLiteralRun, IpsRunMin);
    if (a.Runs > 0) {
      EXPECT_GE(a.ShortestRunRecord, IpsRunMin);
    }
  }
}

TEST(IpsPatch, RecordsAreTheSmallestChoice) {
  struct Expect {
    const char* name;
    std::size_t bytes;
    int records, runs;
  } expects[] = {
      {"nothing changed", 8, 0, 0},
      {"one byte", 8 + 6, 1, 0},
      {"a run of nine", 8 + 8, 1, 1},
      {"a run of eight", 8 + 13, 1, 0},
      // 8 + 40 + 8 as one record would be 61; bytes, run, bytes are 13 + 8 + 13.
      {"a long run in the middle", 8 + 34, 3, 1},
      // One record over the four unchanged bytes (15) is smaller than two (16).
      {"changes four bytes apart", 8 + 15, 1, 0},
      {"changes twenty bytes apart", 8 + 16, 2, 0},
      // 70000 bytes need two records.
      {"more than a record holds", 8 + 70000 + 10, 2, 0},
  };
  const std::vector<TPatchCase> cases = Cases();
  for (const Expect& e : expects) {
    SCOPED_TRACE(e.name);
    const TPatchCase& c = *std::find_if(cases.begin(), cases.end(), [&](const TPatchCase& k) { return k.name == std::string(e.name); });
    const std::string patch = IpsPatch(c.source, c.target, "out.ips");
    const TIpsApplied a = ApplyIps(patch, c.source);
    EXPECT_EQ(patch.size(), e.bytes);
    EXPECT_EQ(a.Records, e.records);
    EXPECT_EQ(a.Runs, e.runs);
  }
  // A bank's patch is at most its bytes, 5 a record and the 8 of "PATCH" and "EOF".
  const TPatchCase& bank = cases[2];
  const std::string patch = IpsPatch(bank.source, bank.target, "out.ips");
  EXPECT_LE(patch.size(), 4096 + 5 * static_cast<std::size_t>(ApplyIps(patch, bank.source).Records) + 8);
}

TEST(IpsPatch, NoRecordStartsWhereItWouldReadAsTheEndMark) {
  const std::string rom = Noise(IpsEofOffset + 4096, 4);
  const std::string targets[] = {
      With(rom, IpsEofOffset, "\x01\x02\x03"),                          // bytes
      With(rom, IpsEofOffset, std::string(12, '\x07')),                 // a run
      With(rom, IpsEofOffset - 1, std::string(13, rom[IpsEofOffset - 1])),  // a run one byte earlier
      With(rom, IpsEofOffset - 65535, Noise(65535 + 40, 5)),           // a long record reaching it
  };
  for (const std::string& target : targets) {
    // A record there would end the patch early: the applier would stop short of the target.
    EXPECT_EQ(ApplyIps(IpsPatch(rom, target, "out.ips"), rom).Out, target);
  }
}

TEST(IpsPatch, FilesPastSixteenMebibytesAreRefused) {
  const std::string big(IpsMaxFileSize + 1, '\0');
  const std::string exact(IpsMaxFileSize, '\0');
  for (const auto& [source, target] : {std::pair{big, big}, std::pair{exact, big}}) {
    try {
      IpsPatch(source, target, "out.ips");
      ADD_FAILURE() << "no refusal";
    } catch (const TFileError& e) {
      EXPECT_EQ(e.FileName(), "out.ips");
      EXPECT_NE(e.Reason().find("16 MiB"), std::string::npos) << e.Reason();
    }
  }
  EXPECT_EQ(ApplyIps(IpsPatch(exact, With(exact, IpsMaxFileSize - 1, "\x01"), "out.ips"), exact).Out,
            With(exact, IpsMaxFileSize - 1, "\x01"));
  EXPECT_THROW(IpsPatch("abcd", "abc", "out.ips"), TFileError);
}

TEST(BpsPatch, AppliedItGivesTheTargetAndTheCrcsHold) {
  for (const TPatchCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    const std::string patch = BpsPatch(c.source, c.target);
    const TBpsApplied a = ApplyBps(patch, c.source);
    ASSERT_TRUE(a.Out.has_value());
    EXPECT_EQ(*a.Out, c.target);
    // Another ROM of the same size is refused by the source's CRC.
    std::string wrong = c.source;
    wrong[wrong.size() / 2] ^= 1;
    EXPECT_FALSE(ApplyBps(patch, wrong).Out.has_value());
  }
}

TEST(BpsPatch, CopiesWhereTheyAreSmaller) {
  const std::string rom = Noise(64 * 1024, 6);
  std::string blanks;
  for (int t = 0; t < 256; ++t) blanks += std::string(8, '\0') + std::string(8, '\xFF');
  const struct {
    const char* name;
    std::string target;
    int action;  // that must be used
    std::size_t most;
  } cases[] = {
      // Header 11, SourceRead 3, TargetRead 2, SourceRead 3, CRCs 12.
      {"one byte", With(rom, 5000, "\x01"), 0, 31},
      // A bank of repeated tiles copies its first tile from the target over and over.
      {"repeated tiles", With(rom, 8192, blanks), 3, 60},
      // Bytes that are elsewhere in the source are copied from there.
      {"moved bytes", With(rom, 8192, rom.substr(30000, 4096)), 2, 50},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string patch = BpsPatch(rom, c.target);
    const TBpsApplied a = ApplyBps(patch, rom);
    ASSERT_TRUE(a.Out.has_value());
    EXPECT_EQ(*a.Out, c.target);
    EXPECT_GT(a.Actions.count(c.action), 0u);
    EXPECT_LE(patch.size(), c.most);
  }
}

}  // namespace
}  // namespace mipofc
