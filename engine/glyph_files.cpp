// Glyph data as files: the same bytes as raw data, ca65 source or a C array.
#include <stdexcept>

#include "engine/formats.h"

namespace mipofc {

std::string GlyphFileBytes(TBankFormat format, std::string_view glyphBytes, std::size_t tileBytes,
                           std::span<const std::string> tileNames, std::size_t fill, std::string_view fileName) {
  switch (format) {
    case TBankFormat::Chr: {
      std::string out;
      out.reserve(glyphBytes.size() + fill);
      out.append(glyphBytes);
      out.append(fill, '\0');
      return out;
    }
    case TBankFormat::Ca65: {
      std::string out = Ca65Lines(glyphBytes, tileBytes, tileNames);
      if (fill > 0) out += "    .res " + std::to_string(fill) + ", $00  ; the rest of the bank\n";
      return out;
    }
    case TBankFormat::C: {
      std::string bytes(glyphBytes);
      bytes.append(fill, '\0');
      return CHeaderText(bytes, CIdentifier(fileName));
    }
    case TBankFormat::Inc:
    case TBankFormat::Png: break;
  }
  throw std::invalid_argument("glyph data is written as chr, ca65 or c");
}

}  // namespace mipofc
