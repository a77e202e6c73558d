#include "table/position.h"

#include <cstdio>

#include "text/text.h"

namespace mipofc {
namespace {

std::string PlaceMessage(const std::string& file, int line, int column, const std::string& reason) {
  std::string message = file;
  message.append(":").append(std::to_string(line));
  if (column > 0) message.append(":").append(std::to_string(column));
  return message.append(": ").append(reason);
}

}  // namespace

TTextError::TTextError(std::string file, int line, int column, TFailure failure)
    : std::runtime_error(PlaceMessage(file, line, column, EnglishReason(failure))),
      file_(std::move(file)),
      line_(line),
      column_(column),
      reason_(EnglishReason(failure)),
      failure_(std::move(failure)) {}

TTextPlace PlaceOf(std::u16string_view text, std::size_t offset) {
  TTextPlace place;
  if (offset > text.size()) offset = text.size();
  for (std::size_t i = 0; i < offset; ++i) {
    const char16_t c = text[i];
    if (c == u'\n' || (c == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) {
      ++place.Line;
      place.Column = 1;
    } else if (c != u'\r') {
      ++place.Column;
    }
  }
  return place;
}

void CheckBmp(std::u16string_view text, const std::string& file, int line, int column) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] & 0xF800) != 0xD800) ++i;
  if (i == text.size()) return;
  const TTextPlace place = PlaceOf(text, i);
  const int at = place.Line == 1 ? column + place.Column - 1 : place.Column;
  const char16_t c = text[i];
  if (c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
    const char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    throw TTextError(file, line + place.Line - 1, at, TFailure{TFailureKind::OutsideBmp, {CharacterName(cp)}});
  }
  throw TTextError(file, line + place.Line - 1, at, TFailure{TFailureKind::LoneSurrogate, {CharacterName(c)}});
}

std::string CharacterName(char32_t codePoint) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(codePoint));
  std::string name = hex;
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint >= 0x20 && codePoint != 0x7F && !surrogate && codePoint <= 0x10FFFF) {
    std::u16string unit;
    if (codePoint >= 0x10000) {
      unit += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
      unit += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    } else {
      unit += static_cast<char16_t>(codePoint);
    }
    name += " (" + Utf16ToUtf8(unit) + ")";
  }
  return name;
}

}  // namespace mipofc
