#include "base/errors.h"
#include "base/file_read.h"
#include "text/text.h"

namespace mipofc {
namespace {

// Text holds tabs, line and page breaks, and now and then a DOS end-of-file mark or an escape
// of a coloured log; any other C0 control means the bytes are not text.
bool HasBinaryControls(std::u16string_view text) {
  for (char16_t c : text)
    if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\v' && c != u'\f' && c != u'\r' && c != 0x1A &&
        c != 0x1B)
      return true;
  return false;
}

std::optional<std::u16string> FromUtf16(std::string_view bytes, bool bigEndian) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i < bytes.size(); i += 2) {
    const unsigned first = static_cast<unsigned char>(bytes[i]);
    const unsigned second = static_cast<unsigned char>(bytes[i + 1]);
    text += static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
  }
  return text;
}

// The first line of bytes (split at LF) that decode does not read, or 0 when every line reads.
template <typename Decode>
std::size_t FirstUnreadLine(std::string_view bytes, Decode decode) {
  std::size_t line = 1;
  for (std::size_t start = 0; start <= bytes.size();) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    if (!decode(bytes.substr(start, end - start))) return line;
    start = end + 1;
    ++line;
  }
  return 0;
}

std::string UnicodeName(char16_t c) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string name = "U+";
  for (int shift = 12; shift >= 0; shift -= 4) name += digits[(c >> shift) & 15];
  return name;
}

}  // namespace

TFailure NotTextFailure(std::string_view bytes) {
  std::string encoding;
  std::optional<std::u16string> text;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    encoding = "utf-8-bom";
    const std::string_view body = bytes.substr(3);
    if (const std::size_t line = FirstUnreadLine(body, IsValidUtf8))
      return {TFailureKind::NotTextUnread, {encoding, std::to_string(line)}};
    text = Utf8ToUtf16(body);
  } else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    const bool big = bytes[0] == '\xFE';
    encoding = big ? "utf-16be-bom" : "utf-16le-bom";
    text = FromUtf16(bytes.substr(2), big);
    if (!text) return {TFailureKind::NotTextOddUtf16, {encoding, std::to_string(bytes.size())}};
  } else if (IsValidUtf8(bytes)) {
    encoding = "utf-8";
    text = Utf8ToUtf16(bytes);
  } else {
    encoding = "gbk";
    if (const std::size_t line = FirstUnreadLine(bytes, [](std::string_view l) { return GbkToUtf16(l).has_value(); }))
      return {TFailureKind::NotTextUnread, {encoding, std::to_string(line)}};
    text = GbkToUtf16(bytes);
  }
  if (!text) return {TFailureKind::NotTextUnknown, {encoding}};
  std::size_t line = 1;
  for (std::size_t i = 0; i < text->size(); ++i) {
    const char16_t c = (*text)[i];
    if (c == u'\n' || (c == u'\r' && (i + 1 >= text->size() || (*text)[i + 1] != u'\n'))) ++line;
    if (HasBinaryControls(std::u16string_view(&c, 1)))
      return {TFailureKind::NotTextControl, {std::to_string(line), UnicodeName(c), encoding}};
  }
  return {TFailureKind::NotTextUnknown, {encoding}};
}

std::optional<std::u16string> DecodeText(std::string_view bytes) {
  if (bytes.starts_with("{\\rtf")) return RtfToText(bytes);
  return DecodePlainText(bytes);
}

std::optional<std::u16string> DecodePlainText(std::string_view bytes) {
  std::optional<std::u16string> text;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
    if (IsValidUtf8(bytes)) text = Utf8ToUtf16(bytes);
  } else if (bytes.starts_with("\xFF\xFE")) {
    text = FromUtf16(bytes.substr(2), false);
  } else if (bytes.starts_with("\xFE\xFF")) {
    text = FromUtf16(bytes.substr(2), true);
  } else if (IsValidUtf8(bytes)) {
    text = Utf8ToUtf16(bytes);
  } else {
    text = GbkToUtf16(bytes);
  }
  if (!text || HasBinaryControls(*text)) return std::nullopt;
  return text;
}

std::u16string LoadTextFile(const std::string& path) {
  const std::string bytes = ReadFileBytes(path);
  std::optional<std::u16string> text = DecodeText(bytes);
  if (!text) throw TFileError(path, NotTextFailure(bytes));
  return std::move(*text);
}

std::u16string ReadTextInput(const std::string& input) {
  const std::string bytes = ReadInputBytes(input);
  std::optional<std::u16string> text = DecodeText(bytes);
  if (!text) throw TFileError(input == "-" ? "standard input" : input, NotTextFailure(bytes));
  return std::move(*text);
}

}  // namespace mipofc
