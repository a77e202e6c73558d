#include "engine/bdf.h"

#include <algorithm>

#include "base/hex.h"

namespace mipofc {

namespace {

constexpr int Dpi = 96;

// A value of the FONT line's fields, which '-' separates and which hold no wildcards or quotes.
std::string XlfdField(const std::string& text) {
  std::string field;
  for (const char c : text) field += (c == '-' || c == '*' || c == '?' || c == '"' || c == ',' || static_cast<unsigned char>(c) < 0x20) ? ' ' : c;
  return field;
}

// A BDF string property: in double quotes, a quote inside written twice, no line breaks.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
  }
  return out + "\"";
}

std::string GlyphName(std::uint32_t code) {
  return (code <= 0xFFFF ? "uni" : "u") + HexText(code, 4);
}

}  // namespace

std::string BdfFontBytes(const TBdfFont& font) {
  const int w = std::clamp(font.CellWidth, 1, 32), h = std::clamp(font.CellHeight, 1, 32);
  const int ascent = std::clamp(font.Ascent, 0, h), descent = h - ascent;
  // The cell height is the pixel size: at 96 dots an inch, that many points x 96 / 72.
  const int decipoints = (h * 720 + Dpi / 2) / Dpi;
  const int swidth = (w * 1000 + h / 2) / h;
  const std::string weight = font.Bold ? "Bold" : "Medium", slant = font.Italic ? "I" : "R";
  const std::string n = std::to_string(h), box = std::to_string(w) + " " + n + " 0 " + std::to_string(-descent);
  std::string out;
  out += "STARTFONT 2.1\n";
  out += "FONT -MipoFC-" + XlfdField(font.Family) + "-" + weight + "-" + slant + "-Normal--" + n + "-" +
         std::to_string(decipoints) + "-96-96-C-" + std::to_string(w * 10) + "-ISO10646-1\n";
  out += "SIZE " + std::to_string((decipoints + 5) / 10) + " 96 96\n";
  out += "FONTBOUNDINGBOX " + box + "\n";
  std::vector<std::string> properties = {
      "FOUNDRY \"MipoFC\"",
      "FAMILY_NAME " + Quoted(font.Family),
      "WEIGHT_NAME \"" + weight + "\"",
      "SLANT \"" + slant + "\"",
      "SETWIDTH_NAME \"Normal\"",
      "ADD_STYLE_NAME \"\"",
      "PIXEL_SIZE " + n,
      "POINT_SIZE " + std::to_string(decipoints),
      "RESOLUTION_X 96",
      "RESOLUTION_Y 96",
      "SPACING \"C\"",
      "AVERAGE_WIDTH " + std::to_string(w * 10),
      "CHARSET_REGISTRY \"ISO10646\"",
      "CHARSET_ENCODING \"1\"",
      "FONT_ASCENT " + std::to_string(ascent),
      "FONT_DESCENT " + std::to_string(descent),
  };
  if (font.DefaultChar) properties.push_back("DEFAULT_CHAR " + std::to_string(*font.DefaultChar));
  out += "STARTPROPERTIES " + std::to_string(properties.size()) + "\n";
  for (const std::string& property : properties) out += property + "\n";
  out += "ENDPROPERTIES\n";
  out += "CHARS " + std::to_string(font.Glyphs.size()) + "\n";
  const int bytes = (w + 7) / 8;
  for (const TBdfGlyph& glyph : font.Glyphs) {
    out += "STARTCHAR " + GlyphName(glyph.Code) + "\n";
    out += "ENCODING " + std::to_string(glyph.Code) + "\n";
    out += "SWIDTH " + std::to_string(swidth) + " 0\n";
    out += "DWIDTH " + std::to_string(w) + " 0\n";
    out += "BBX " + box + "\n";
    out += "BITMAP\n";
    for (int y = 0; y < h; ++y) out += HexText(glyph.Ink[static_cast<std::size_t>(y)] >> (32 - 8 * bytes), 2 * bytes) + "\n";
    out += "ENDCHAR\n";
  }
  out += "ENDFONT\n";
  return out;
}

int CellAscent(TChr& engine) {
  const TChrSettings& s = engine.Settings;
  const int height = std::max(s.CellHeight, 0);
  // Offsets may be any int: reckoned wide, then kept to the cell.
  int baseline = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{s.OffsetY} + engine.CanvasFace().Ascent(), 0, height));
  // A vertical squeeze moves row y to NarrowWideDestination(y); the baseline goes with its row.
  if (s.NarrowWide > 0) baseline = NarrowWideDestination(baseline, s.NarrowWide);
  return std::clamp(baseline, 0, height);
}

}  // namespace mipofc
