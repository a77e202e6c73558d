#include <algorithm>

#include "base/hex.h"
#include "table/script.h"

namespace mipofc {

std::u16string Decode(std::string_view bytes, const TCodeBook& book) {
  const std::vector<TTableEntry>& entries = book.Entries();
  std::u16string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    std::int32_t entry = -1;
    std::size_t length = std::min(book.LongestCode(), bytes.size() - i);
    while (length > 0 && (entry = book.CodeAt(bytes, i, length)) < 0) --length;
    if (entry < 0) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      text += u"<$";
      text += static_cast<char16_t>(HexDigitChar(b >> 4));
      text += static_cast<char16_t>(HexDigitChar(b & 15));
      text += u'>';
      ++i;
      continue;
    }
    const TTableEntry& e = entries[entry];
    if (e.Kind != TEntryKind::Newline) text += e.Text;
    if (e.Kind != TEntryKind::Normal) text += u'\n';
    i += length;
  }
  return text;
}

}  // namespace mipofc
