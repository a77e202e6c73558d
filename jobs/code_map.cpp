#include "jobs/code_map.h"

#include <algorithm>
#include <stdexcept>

#include "base/hex.h"
#include "engine/bank_maker.h"
#include "engine/formats.h"
#include "table/tbl.h"

namespace mipofc {

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return out;
}

// A CSV field: quoted when it holds a quote or a comma, quotes doubled.
std::string CsvField(const std::string& text) {
  if (text.find_first_of("\",\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string CodeText(const TCodePlan& codes, std::size_t i) {
  return CodeHex(CodeOf(codes.Start + static_cast<std::uint32_t>(i), codes.Bytes));
}

struct TPosition {
  std::int64_t file, cell;
};
TPosition PositionOf(const TCodeMapLayout& layout, std::size_t i) {
  const auto k = static_cast<std::int64_t>(i);
  if (layout.PerFile <= 0) return {0, k};
  return {k / layout.PerFile, k % layout.PerFile};
}

// The slot offsets of a cell's other tiles from its first: "+1 +16 +17".
std::string TileOffsets(const TCodeMapLayout& layout) {
  if (layout.Places.empty() || layout.Places.front().Count < 2) return "";
  const TCellPlace& place = layout.Places.front();
  std::string text;
  for (int i = 1; i < place.Count; ++i)
    text += (i > 1 ? " +" : "+") + std::to_string(place.Slots[static_cast<std::size_t>(i)] - place.Slots[0]);
  return text;
}

std::string CsvText(std::u16string_view text, const TCodeMapLayout& layout) {
  std::string out = "code,char,codepoint,file,cell,slots,offset\n";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const TPosition at = PositionOf(layout, i);
    out += CodeText(layout.Codes, i) + "," + CsvField(CharText(text[i])) + ",U+" + HexText(text[i], 4) + "," +
           HexText(static_cast<std::uint64_t>(at.file), layout.FileDigits) + "," + std::to_string(at.cell) + ",";
    if (layout.Glyphs) {
      out += "," + std::to_string(at.cell * layout.GlyphBytes);
    } else {
      const TCellPlace& place = layout.Places[static_cast<std::size_t>(at.cell)];
      for (int t = 0; t < place.Count; ++t)
        out += (t > 0 ? " " : "") + HexText(static_cast<std::uint64_t>(place.Slots[static_cast<std::size_t>(t)]), 2);
      out += ",";
    }
    out += "\n";
  }
  return out;
}

// An array's element size: the fewest of 1, 2 and 4 bytes that hold its largest value.
int ElementBytes(std::uint64_t largest) { return largest <= 0xFF ? 1 : largest <= 0xFFFF ? 2 : 4; }

struct TArray {
  std::string name, what;
  std::vector<std::uint64_t> values;
};

// What the map's comment says of the layout, one line each.
std::vector<std::string> Summary(std::u16string_view text, const TCodeMapLayout& layout, const std::string& hex) {
  const TChrSettings& s = layout.Settings;
  const std::string cell = std::to_string(s.CellWidth) + "x" + std::to_string(s.CellHeight) + " cells";
  const std::string scan = s.ScanHorizontal ? "row by row" : "column by column";
  std::vector<std::string> lines;
  lines.push_back(std::to_string(text.size()) + " characters in code order from code " + hex +
                  CodeText(layout.Codes, 0) + ": the index is the code less " + hex + CodeText(layout.Codes, 0));
  if (layout.Glyphs) {
    lines.push_back(cell + ", " + std::to_string(layout.BitsPerPixel) + " bit" + (layout.BitsPerPixel == 1 ? "" : "s") +
                    " a pixel: a glyph is " + std::to_string(layout.GlyphBytes) + " bytes, its tiles " + scan +
                    ", one after another");
    lines.push_back("file: the glyph file's number; offset: the glyph's first byte in that file");
  } else {
    lines.push_back(cell + " in " + std::to_string(s.Limit / 1024) + "K banks, " +
                    (s.Distribution != 0 ? "block" : "continuous") + " layout, " + std::to_string(layout.PerFile) +
                    " characters a bank");
    const std::string offsets = TileOffsets(layout);
    lines.push_back("file: the bank's number; slot: the cell's first tile" +
                    (offsets.empty() ? std::string() : ", the others at " + offsets + " (" + scan + ")"));
    if (HasBlankSlot(s))
      lines.push_back("slot " + hex + HexText(static_cast<std::uint64_t>(s.BlankSlot), 2) +
                      " of every bank is blank (colour " + std::to_string(s.BgIndex & 3) + ")");
  }
  return lines;
}

std::vector<TArray> Arrays(std::u16string_view text, const TCodeMapLayout& layout, const std::string& prefix) {
  std::vector<TArray> arrays(2);
  arrays[0].name = prefix + "_file";
  arrays[1].name = prefix + (layout.Glyphs ? "_offset" : "_slot");
  for (std::size_t i = 0; i < text.size(); ++i) {
    const TPosition at = PositionOf(layout, i);
    arrays[0].values.push_back(static_cast<std::uint64_t>(at.file));
    arrays[1].values.push_back(layout.Glyphs ? static_cast<std::uint64_t>(at.cell * layout.GlyphBytes)
                                             : static_cast<std::uint64_t>(
                                                   layout.Places[static_cast<std::size_t>(at.cell)].Slots[0]));
  }
  return arrays;
}

std::string Values(const std::vector<std::uint64_t>& values, std::size_t perLine, const char* line, const char* prefix,
                   int digits, bool commaAtEnd) {
  std::string out;
  for (std::size_t i = 0; i < values.size(); ++i) {
    out += i % perLine == 0 ? line : ", ";
    out += prefix + HexText(values[i], digits);
    if (i % perLine == perLine - 1 || i + 1 == values.size()) out += commaAtEnd && i + 1 < values.size() ? ",\n" : "\n";
  }
  return out;
}

std::string Ca65Map(std::u16string_view text, const TCodeMapLayout& layout, const std::string& prefix) {
  std::string out;
  for (const std::string& line : Summary(text, layout, "$")) out += "; " + line + "\n";
  out += prefix + "_count = " + std::to_string(text.size()) + "\n";
  for (const TArray& array : Arrays(text, layout, prefix))
    out += MapArrayText(TMapFormat::Ca65, array.name, array.values, 16, 0);
  return out;
}

std::string CMap(std::u16string_view text, const TCodeMapLayout& layout, const std::string& prefix) {
  const std::string guard = prefix + "_H";
  std::string out = "#ifndef " + guard + "\n#define " + guard + "\n\n";
  for (const std::string& line : Summary(text, layout, "0x")) out += "/* " + line + " */\n";
  out += "#define " + prefix + "_count " + std::to_string(text.size()) + "\n";
  for (const TArray& array : Arrays(text, layout, prefix))
    out += MapArrayText(TMapFormat::C, array.name, array.values, 16, 0);
  return out + "\n#endif\n";
}

}  // namespace

std::string MapArrayText(TMapFormat format, const std::string& name, const std::vector<std::uint64_t>& values,
                         std::size_t perLine, int bytes) {
  if (bytes == 0) bytes = ElementBytes(values.empty() ? 0 : *std::max_element(values.begin(), values.end()));
  if (format == TMapFormat::Ca65) {
    const char* directive = bytes == 1 ? "    .byte " : bytes == 2 ? "    .word " : "    .dword ";
    return name + ":\n" + Values(values, perLine, directive, "$", 2 * bytes, false);
  }
  if (format != TMapFormat::C || values.empty()) return "";  // C has no arrays of no elements
  const char* type = bytes == 1 ? "unsigned char" : bytes == 2 ? "unsigned short" : "unsigned long";
  return "\nconst " + std::string(type) + " " + name + "[" + std::to_string(values.size()) + "] = {\n" +
         Values(values, perLine, "  ", "0x", 2 * bytes, true) + "};\n";
}

std::optional<TMapFormat> MapFormatOfName(std::string_view name) {
  const std::string ext = Lower(name.substr(ExportBaseName(name).size()));
  if (ext == ".csv") return TMapFormat::Csv;
  if (ext == ".s") return TMapFormat::Ca65;
  if (ext == ".h") return TMapFormat::C;
  return std::nullopt;
}

TCodeMapLayout BankMapLayout(const TChrSettings& settings, const TCodePlan& codes) {
  TCodeMapLayout layout;
  layout.Settings = settings;
  layout.Places = BankCellPlaces(settings);
  layout.PerFile = static_cast<std::int64_t>(layout.Places.size());
  layout.FileDigits = FileNumberDigits(layout.PerFile);
  layout.Codes = codes;
  return layout;
}

TCodeMapLayout GlyphMapLayout(const TChrSettings& settings, const TGlyphFiles& files, int bitsPerPixel,
                              const TCodePlan& codes) {
  TCodeMapLayout layout;
  layout.Settings = settings;
  layout.Glyphs = true;
  layout.PerFile = files.PerFile;
  layout.FileDigits = FileNumberDigits(files.PerFile);
  layout.GlyphBytes = files.GlyphBytes;
  layout.BitsPerPixel = bitsPerPixel;
  layout.Codes = codes;
  return layout;
}

std::string CodeMapFileBytes(TMapFormat format, std::u16string_view text, const TCodeMapLayout& layout,
                             std::string_view fileName) {
  // Every character needs a cell of a bank, or a place in a glyph file.
  if (!text.empty() && (layout.PerFile <= 0 || (!layout.Glyphs && layout.Places.size() < static_cast<std::size_t>(layout.PerFile))))
    throw std::invalid_argument("these settings give files of no characters");
  switch (format) {
    case TMapFormat::Csv: return CsvText(text, layout);
    case TMapFormat::Ca65: return Ca65Map(text, layout, CIdentifier(fileName));
    case TMapFormat::C: return CMap(text, layout, CIdentifier(fileName));
  }
  return CsvText(text, layout);
}

}  // namespace mipofc
