// Any bytes as an RTF document: the reader ends, and every character it yields comes from at
// least one byte of the input.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string_view rtf(reinterpret_cast<const char*>(data), size);
  const std::u16string text = mipofc::RtfToText(rtf);
  if (text.size() > size) std::abort();
  return 0;
}
