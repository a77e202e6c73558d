#include <stdexcept>

#include "base/hex.h"
#include "table/position.h"
#include "table/script.h"

namespace mipofc {
namespace {

// The byte of a "<$XX>" at text[i], or -1.
int ByteEscapeAt(std::u16string_view text, std::size_t i) {
  if (text.size() - i < 5 || text[i + 1] != u'$' || text[i + 4] != u'>') return -1;
  const int high = HexDigit(text[i + 2]), low = HexDigit(text[i + 3]);
  return high < 0 || low < 0 ? -1 : high << 4 | low;
}

constexpr std::size_t MaxListed = 20;

}  // namespace

TEncoded Encode(std::u16string_view text, const TCodeBook& book, const std::optional<std::string>& unknownCode) {
  TEncoded result;
  // No character writes more than three bytes, so the output is written into room made once.
  std::string& out = result.Bytes;
  out.resize(3 * text.size());
  char* p = out.data();
  const auto put = [&p](std::string_view code) {
    for (char b : code) *p++ = b;
  };
  const std::vector<TTableEntry>& entries = book.Entries();
  const std::string newline = book.NewlineCode().value_or("");
  std::vector<std::int32_t> unknownIndex;  // per code unit, into result.Unknown; filled on the first unknown
  for (std::size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    if (c == u'<') {
      const int byte = ByteEscapeAt(text, i);
      if (byte >= 0) {
        *p++ = static_cast<char>(byte);
        i += 5;
        continue;
      }
    } else if (c == u'\r' || c == u'\n') {
      put(newline);
      i += c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
      continue;
    } else if (const std::uint32_t single = book.SingleCode(c)) {
      const unsigned length = single >> 24;
      for (unsigned k = length; k-- > 0;) *p++ = static_cast<char>(single >> (8 * k));
      ++i;
      continue;
    }
    const auto [entry, length] = book.LongestMatch(text, i);
    if (entry >= 0) {
      put(entries[entry].Code);
      i += length;
      continue;
    }
    if (unknownIndex.empty()) unknownIndex.assign(0x10000, -1);
    if (unknownIndex[c] < 0) {
      unknownIndex[c] = static_cast<std::int32_t>(result.Unknown.size());
      result.Unknown.push_back({c, i, 0});
    }
    ++result.Unknown[unknownIndex[c]].Count;
    ++result.UnknownCount;
    if (unknownCode) put(*unknownCode);
    ++i;
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
  return result;
}

std::uint64_t LineBreakCount(std::u16string_view text) {
  std::uint64_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))) ++count;
  return count;
}

TEncoded EncodeScript(const TScript& script, const TCodeBook& book, const std::optional<std::string>& unknownCode) {
  TEncoded out = Encode(script.Text(), book, unknownCode);
  if (unknownCode || out.Unknown.empty()) return out;
  std::string message = std::to_string(out.Unknown.size());
  message.append(out.Unknown.size() == 1 ? " character matches" : " characters match").append(" no table entry:");
  for (std::size_t k = 0; k < out.Unknown.size() && k < MaxListed; ++k)
    message.append("\n").append(script.Where(out.Unknown[k].First)).append(": ").append(CharacterName(out.Unknown[k].Char));
  if (out.Unknown.size() > MaxListed)
    message.append("\nand ").append(std::to_string(out.Unknown.size() - MaxListed)).append(" more");
  throw std::runtime_error(message);
}

}  // namespace mipofc
