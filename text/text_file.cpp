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

}  // namespace

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
  std::optional<std::u16string> text = DecodeText(ReadFileBytes(path));
  if (!text) throw TFileError(path, "Failed to Load Stream");
  return std::move(*text);
}

std::u16string ReadTextInput(const std::string& input) {
  if (input != "-") return LoadTextFile(input);
  std::optional<std::u16string> text = DecodeText(ReadInputBytes(input));
  if (!text) throw TFileError("standard input", "Failed to Load Stream");
  return std::move(*text);
}

}  // namespace mipofc
