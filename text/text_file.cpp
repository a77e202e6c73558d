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

namespace {

// The encoding a text's bytes are read in (by its byte-order mark, else UTF-8 when valid, else
// GBK), the bytes after the mark, and the characters they give: nullopt when they give none.
struct TPlainDecode {
  const char* Encoding;
  std::string_view Body;
  std::optional<std::u16string> Text;
};

TPlainDecode DecodeByMark(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    const std::string_view body = bytes.substr(3);
    return {"utf-8-bom", body, IsValidUtf8(body) ? std::optional(Utf8ToUtf16(body)) : std::nullopt};
  }
  if (bytes.starts_with("\xFF\xFE")) return {"utf-16le-bom", bytes.substr(2), FromUtf16(bytes.substr(2), false)};
  if (bytes.starts_with("\xFE\xFF")) return {"utf-16be-bom", bytes.substr(2), FromUtf16(bytes.substr(2), true)};
  if (IsValidUtf8(bytes)) return {"utf-8", bytes, Utf8ToUtf16(bytes)};
  return {"gbk", bytes, GbkToUtf16(bytes)};
}

}  // namespace

TFailure NotTextFailure(std::string_view bytes) {
  const TPlainDecode d = DecodeByMark(bytes);
  const std::string encoding = d.Encoding;
  if (!d.Text) {
    if (encoding.starts_with("utf-16")) return {TFailureKind::NotTextOddUtf16, {encoding, std::to_string(bytes.size())}};
    const std::size_t line =
        encoding == "gbk" ? FirstUnreadLine(d.Body, [](std::string_view l) { return GbkToUtf16(l).has_value(); })
                          : FirstUnreadLine(d.Body, IsValidUtf8);
    if (line > 0) return {TFailureKind::NotTextUnread, {encoding, std::to_string(line)}};
    return {TFailureKind::NotTextUnknown, {encoding}};
  }
  const std::u16string& text = *d.Text;
  std::size_t line = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\n' || (c == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) ++line;
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
  TPlainDecode d = DecodeByMark(bytes);
  if (!d.Text || HasBinaryControls(*d.Text)) return std::nullopt;
  return std::move(d.Text);
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
