// Any bytes as a loaded text file: decoding either refuses them or yields text that matches
// the encoding it chose.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/text.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto text = mipofc::DecodeText(bytes);
  if (!text || bytes.starts_with("{\\rtf")) return 0;
  const bool bom = bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
  if (!bom && mipofc::IsValidUtf8(bytes)) {
    Check(*text == mipofc::Utf8ToUtf16(bytes));
    Check(mipofc::Utf16ToUtf8(*text) == bytes);
  } else if (!bom) {
    Check(mipofc::Utf16ToGbk(*text) == bytes);  // GBK text goes back to its bytes
  }
  const std::u16string joined = mipofc::JoinedText(*text);
  Check(joined.size() <= text->size() && joined.find_first_of(u"\r\n\u2028\u2029") == std::u16string::npos);
  return 0;
}
