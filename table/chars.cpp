#include "table/chars.h"

#include <algorithm>
#include <cctype>

#include "table/position.h"
#include "table/tbl.h"
#include "text/text.h"

namespace mipofc {

void TScript::Add(const std::string& file, std::u16string text) {
  CheckBmp(text, file);
  parts_.push_back({file, text_.size()});
  // The first input, usually the only one, is taken over rather than copied.
  if (text_.empty())
    text_ = std::move(text);
  else
    text_ += text;
}

std::string TScript::Where(std::size_t offset) const {
  auto part = std::upper_bound(parts_.begin(), parts_.end(), offset,
                               [](std::size_t o, const TPart& p) { return o < p.Start; });
  if (part == parts_.begin()) return "?";
  --part;
  const TTextPlace place = PlaceOf(std::u16string_view(text_).substr(part->Start), offset - part->Start);
  return part->File + ":" + std::to_string(place.Line) + ":" + std::to_string(place.Column);
}

TScript ReadScript(const std::vector<std::string>& inputs) {
  TScript script;
  for (const std::string& input : inputs) script.Add(input == "-" ? "standard input" : input, ReadTextInput(input));
  return script;
}

TCharSet ExcludedCharacters(const std::string& path) {
  TCharSet set;
  std::string ext = path.size() >= 4 ? path.substr(path.size() - 4) : "";
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".tbl") {
    for (const TTableEntry& e : ReadTable(path).Entries)
      if (e.Kind == TEntryKind::Normal && e.Text.size() == 1) set.set(e.Text[0]);
    return set;
  }
  const std::u16string text = ReadTextInput(path);
  CheckBmp(text, path);
  for (char16_t c : JoinedText(text)) set.set(c);
  return set;
}

TDistinctChars DistinctCharacters(std::u16string_view text, TCharOrder order, const TCharSet& exclude) {
  // One counter per code unit: a script of megabytes is counted in one pass without hashing.
  std::vector<std::uint64_t> counts(0x10000, 0);
  std::u16string first;
  for (char16_t c : text)
    if (counts[c]++ == 0) first += c;
  TDistinctChars result;
  result.Total = text.size();
  for (char16_t c : first) {
    if (exclude.test(c)) {
      ++result.Excluded;
      continue;
    }
    result.Chars += c;
  }
  if (order == TCharOrder::Frequency)
    std::stable_sort(result.Chars.begin(), result.Chars.end(),
                     [&](char16_t a, char16_t b) { return counts[a] > counts[b]; });
  result.Counts.reserve(result.Chars.size());
  for (char16_t c : result.Chars) result.Counts.push_back(counts[c]);
  return result;
}

std::string CharsFileBytes(const TDistinctChars& chars, bool counts) {
  if (counts) {
    std::string out;
    for (std::size_t i = 0; i < chars.Chars.size(); ++i)
      out += Utf16ToUtf8(std::u16string_view(&chars.Chars[i], 1)) + '\t' + std::to_string(chars.Counts[i]) + '\n';
    return out;
  }
  return Utf8TextFileBytes(CharLines(chars.Chars));
}

std::u16string CharLines(std::u16string_view chars) {
  std::u16string lines;
  lines.reserve(chars.size() + chars.size() / 16 + 1);
  for (std::size_t i = 0; i < chars.size(); i += 16) {
    lines += chars.substr(i, 16);
    lines += u'\n';
  }
  return lines;
}

std::string Utf8TextFileBytes(std::u16string_view text) {
  const bool misread = text.starts_with(u'\uFEFF') || text.starts_with(u"{\\rtf");
  return (misread ? "\xEF\xBB\xBF" : "") + Utf16ToUtf8(text);
}

}  // namespace mipofc
