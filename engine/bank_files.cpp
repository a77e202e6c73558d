// A bank's bytes as the engine holds them, and the two bank files an engine writes itself.
#include <algorithm>

#include "base/file_write.h"
#include "base/hex.h"
#include "engine/chr.h"

namespace mipofc {

std::string_view TChr::BankBytes() const {
  const std::size_t limit = static_cast<std::size_t>(std::clamp(Settings.Limit, 0, 4096));
  return {reinterpret_cast<const char*>(Bank.Slots), limit};
}

std::string IncText(std::string_view bankBytes) {
  std::string out;
  out.reserve(bankBytes.size() / 16 * 88);
  for (std::size_t i = 0; i < bankBytes.size(); ++i) {
    if (i % 16 == 0) out += "    .DB";
    const auto b = static_cast<unsigned char>(bankBytes[i]);
    out += " $";
    out += HexDigitChar(b >> 4);
    out += HexDigitChar(b & 15);
    out += i % 16 == 15 ? "\r\n" : ",";
  }
  return out;
}

void TChr::BuildFor(const TChrSettings& settings, std::u16string_view text) {
  Settings = settings;
  Text = text;
  PrepareCell();
  BuildBank();
}

void TChr::SaveChrFile(const std::string& fileName, const TChrSettings& settings, std::u16string_view text) {
  BuildFor(settings, text);
  WriteFileAtomically(fileName, BankBytes());
}

void TChr::SaveIncFile(const std::string& fileName, const TChrSettings& settings, std::u16string_view text) {
  BuildFor(settings, text);
  WriteFileAtomically(fileName, IncText(BankBytes()));
}

}  // namespace mipofc
