#include <algorithm>
#include <stdexcept>

#include "base/errors.h"
#include "table/position.h"
#include "table/tbl.h"
#include "text/text.h"

namespace mipofc {
namespace {

std::u16string LineOf(const TTableEntry& entry) {
  if (entry.Code.empty() || entry.Code.size() > 3)
    throw std::invalid_argument("a table code has 1 to 3 bytes, not " + std::to_string(entry.Code.size()));
  if (entry.Kind == TEntryKind::Normal && entry.Text.empty())
    throw std::invalid_argument("code " + CodeHex(entry.Code) + " has an empty text");
  if (entry.Text.find_first_of(u"\r\n") != std::u16string::npos)
    throw std::invalid_argument("the text of code " + CodeHex(entry.Code) + " holds a line break");
  std::u16string line;
  if (entry.Kind == TEntryKind::Newline) line += u'*';
  if (entry.Kind == TEntryKind::End) line += u'/';
  for (char c : CodeHex(entry.Code)) line += static_cast<char16_t>(c);
  if (!entry.Text.empty()) line += u'=' + entry.Text;
  return line + u"\r\n";
}

std::string GbkOrFail(std::u16string_view text, const std::string& file) {
  if (auto gbk = Utf16ToGbk(text)) return std::move(*gbk);
  for (char16_t c : text)
    if (!Utf16ToGbk(std::u16string_view(&c, 1))) throw TFileError(file, TFailure{TFailureKind::TableCharNotGbk, {CharacterName(c)}});
  throw TFileError(file, TFailure{TFailureKind::TableNotGbk, {}});
}

}  // namespace

std::string TableFileBytes(std::vector<TTableEntry> entries, TTableEncoding encoding, const std::string& file) {
  std::stable_sort(entries.begin(), entries.end(), [](const TTableEntry& a, const TTableEntry& b) {
    const std::uint32_t va = CodeValue(a.Code), vb = CodeValue(b.Code);
    return va != vb ? va < vb : a.Code.size() < b.Code.size();
  });
  std::u16string text;
  for (const TTableEntry& entry : entries) text += LineOf(entry);
  switch (encoding) {
    case TTableEncoding::Utf8:
      return Utf16ToUtf8(text);
    case TTableEncoding::Utf16: {
      std::string bytes = "\xFF\xFE";
      bytes.reserve(2 + 2 * text.size());
      for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
      }
      return bytes;
    }
    case TTableEncoding::Gbk:
      return GbkOrFail(text, file);
  }
  return {};
}

}  // namespace mipofc
