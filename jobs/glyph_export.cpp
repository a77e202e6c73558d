#include "jobs/glyph_export.h"

#include <exception>
#include <stdexcept>
#include <vector>

#include "engine/cell_places.h"
#include "engine/glyph_maker.h"
#include "jobs/file_writer.h"
#include "table/tbl.h"

namespace mipofc {

namespace {

// What the ca65 comment of each tile of glyphs first .. first + count - 1 says: "code $0012:
// U+4F60 你 tile 1,0".
std::vector<std::string> GlyphTileNames(const TChrSettings& settings, std::u16string_view text, std::int64_t first,
                                        std::int64_t count, const TCodePlan& codes) {
  const TPlacedShape shape = PlacedShape(settings);
  TCellTiles cell;
  cell.ColsMinus1 = shape.Cols - 1;
  cell.RowsMinus1 = shape.Rows - 1;
  std::array<std::array<std::int8_t, 2>, 16> order;
  const int tiles = TChr::ScanOrder(cell, settings.ScanHorizontal, order);
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(count * tiles));
  for (std::int64_t g = first; g < first + count; ++g) {
    const std::string head = "code $" + CodeHex(CodeOf(codes.Start + static_cast<std::uint32_t>(g), codes.Bytes)) +
                             ": " + CharLabel(text[static_cast<std::size_t>(g)]);
    for (int i = 0; i < tiles; ++i)
      names.push_back(tiles == 1 ? head
                                 : head + " tile " + std::to_string(order[static_cast<std::size_t>(i)][0]) + "," +
                                       std::to_string(order[static_cast<std::size_t>(i)][1]));
  }
  return names;
}

}  // namespace

TGlyphFiles GlyphFilesOf(const TChrSettings& settings, int bitsPerPixel, std::int32_t prgBank, std::size_t length) {
  TGlyphFiles files;
  files.GlyphBytes = GlyphSize(settings, bitsPerPixel);
  if (files.GlyphBytes <= 0) throw std::invalid_argument("these settings give glyphs of no tiles");
  if (prgBank <= 0) {
    files.PerFile = static_cast<std::int64_t>(length);
    files.Count = length > 0 ? 1 : 0;
    return files;
  }
  files.PerFile = prgBank / files.GlyphBytes;
  if (files.PerFile <= 0) throw std::invalid_argument("a glyph is larger than the PRG bank");
  files.Count = static_cast<std::int64_t>((length + static_cast<std::size_t>(files.PerFile) - 1) /
                                          static_cast<std::size_t>(files.PerFile));
  return files;
}

std::string GlyphFileName(std::string_view chosenName, std::int64_t n, const TGlyphFiles& files,
                          const TGlyphOptions& options) {
  if (options.PrgBank <= 0) return std::string(chosenName);
  const std::string base = ExportBaseName(chosenName);
  std::string extension = std::string(chosenName.substr(base.size()));
  if (options.Format != TBankFormat::Chr)
    extension = "." + std::string(FormatExtension(options.Format));
  else if (extension.size() < 2)
    extension = ".bin";
  return base + "." + FileNumberText(n, files.PerFile) + extension;
}

TExportResult ExportGlyphs(std::string_view chosenName, const TChrSettings& settings, std::u16string_view text,
                           const TGlyphOptions& options) {
  if (options.Format != TBankFormat::Chr && options.Format != TBankFormat::Ca65 && options.Format != TBankFormat::C)
    throw std::invalid_argument("glyph data is written as chr, ca65 or c");
  const TGlyphFiles files = GlyphFilesOf(settings, options.BitsPerPixel, options.PrgBank, text.size());
  const bool numbered = options.PrgBank > 0;
  const std::int64_t perPiece = numbered ? files.PerFile : GlyphsAPiece;
  const std::size_t tileBytes = options.BitsPerPixel == 1 ? 8 : 16;
  const bool named = options.Format == TBankFormat::Ca65;
  TExportResult result;
  TFileWriterThread writer;
  std::exception_ptr failure;
  try {
    TGlyphMaker maker(settings, text, perPiece, options.BitsPerPixel);
    const std::int64_t pieces = maker.Count();
    std::string whole;
    std::vector<std::string> wholeNames;
    if (!numbered) whole.reserve(text.size() * static_cast<std::size_t>(files.GlyphBytes));
    for (std::int64_t n = 0; n < pieces; ++n) {
      std::string bytes = maker.Take(n);
      const std::int64_t first = n * perPiece;
      const std::int64_t count = static_cast<std::int64_t>(bytes.size()) / files.GlyphBytes;
      std::vector<std::string> names;
      if (named) names = GlyphTileNames(settings, text, first, count, options.Codes);
      if (!numbered) {
        whole += bytes;
        for (std::string& name : names) wholeNames.push_back(std::move(name));
        if (!options.Control.Step(n + 1, pieces)) {
          result.Cancelled = true;
          break;
        }
        continue;
      }
      const std::string name = GlyphFileName(chosenName, n, files, options);
      const std::size_t fill = static_cast<std::size_t>(options.PrgBank) - bytes.size();
      if (!writer.Put(name, GlyphFileBytes(options.Format, bytes, tileBytes, names, fill, name))) break;
      if (!options.Control.Step(writer.Written(), files.Count)) {
        writer.Abandon();
        result.Cancelled = true;
        break;
      }
    }
    // One file, written once the last glyph is in: a stopped or failed export leaves none.
    if (!numbered && !result.Cancelled && pieces > 0) {
      const std::string name(chosenName);
      writer.Put(name, options.Format == TBankFormat::Chr
                           ? std::move(whole)
                           : GlyphFileBytes(options.Format, whole, tileBytes, wholeNames, 0, name));
    }
  } catch (...) {
    failure = std::current_exception();
  }
  result.Files = FinishWriting(writer, failure, options.OnWritten);
  return result;
}

}  // namespace mipofc
