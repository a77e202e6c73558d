#include "engine/export.h"

#include <memory>
#include <stdexcept>

namespace mipofc {

std::string ExportBaseName(std::string_view chosenName) {
  const std::size_t dot = chosenName.rfind('.');
  const std::size_t boundary = chosenName.find_last_of("/\\:");
  if (dot == std::string_view::npos || (boundary != std::string_view::npos && dot < boundary))
    return std::string(chosenName);
  return std::string(chosenName.substr(0, dot));
}

std::string ExportFileName(std::string_view base, std::int64_t n, std::int32_t capacity, TBankFormat format) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string digits;
  for (std::uint64_t v = static_cast<std::uint64_t>(n); v != 0 || digits.empty(); v >>= 4) digits.insert(digits.begin(), hex[v & 15]);
  const std::size_t width = capacity > 255 ? 4 : 2;
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return std::string(base) + "." + digits + (format == TBankFormat::Chr ? ".chr" : ".inc");
}

std::int32_t ExportCapacity(const TChrSettings& settings) {
  auto engine = std::make_unique<TChr>();
  return engine->ApplySettings(settings);
}

std::int64_t ExportBanks(std::string_view chosenName, TBankFormat format, const TChrSettings& settings,
                         std::u16string_view text, const std::function<void(const std::string&)>& onWritten) {
  const std::int32_t capacity = ExportCapacity(settings);
  // A bank that holds no character would never advance through the text.
  if (capacity <= 0 && !text.empty()) throw std::invalid_argument("these settings give banks of no characters");
  const std::string base = ExportBaseName(chosenName);
  std::int64_t count = 0;
  for (std::size_t p = 0; p < text.size(); p += static_cast<std::size_t>(capacity)) {
    const std::string name = ExportFileName(base, count, capacity, format);
    auto engine = std::make_unique<TChr>();
    if (format == TBankFormat::Chr)
      engine->SaveChrFile(name, settings, text.substr(p, static_cast<std::size_t>(capacity)));
    else
      engine->SaveIncFile(name, settings, text.substr(p, static_cast<std::size_t>(capacity)));
    ++count;
    if (onWritten) onWritten(name);
  }
  return count;
}

}  // namespace mipofc
