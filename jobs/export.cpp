#include "jobs/export.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <vector>

#include "engine/bank_maker.h"
#include "jobs/file_writer.h"

namespace mipofc {


namespace {

// The banks of a concatenated file, gathered until the last one is drawn.
struct TConcatPiece {
  std::string bytes;
  std::vector<std::string> tileNames;

  void Add(TMadeBank& bank) {
    bytes += bank.Bytes;
    for (std::string& name : bank.TileNames) tileNames.push_back(std::move(name));
  }
};

}  // namespace

std::vector<std::string> ExportFileNames(std::string_view chosenName, const TChrSettings& settings,
                                         std::size_t textLength, const TExportOptions& options) {
  const std::int32_t capacity = ExportCapacity(settings);
  if (textLength == 0 || capacity <= 0) return {};
  if (options.Concat) return {std::string(chosenName)};
  const std::string base = ExportBaseName(chosenName);
  std::vector<std::string> names;
  const std::int64_t total = options.BankStarts.empty() ? ExportFileCount(textLength, capacity)
                                                        : static_cast<std::int64_t>(options.BankStarts.size());
  for (std::int64_t n = 0; n < total; ++n) names.push_back(ExportFileName(base, n, capacity, options.Format));
  return names;
}

TExportResult ExportText(std::string_view chosenName, const TChrSettings& settings, std::u16string_view text,
                         const TExportOptions& options) {
  const std::int32_t capacity = ExportCapacity(settings);
  // A bank that holds no character would never advance through the text.
  if (capacity <= 0 && !text.empty()) throw std::invalid_argument("these settings give banks of no characters");
  const std::string base = ExportBaseName(chosenName);
  const std::int64_t total = options.BankStarts.empty() ? ExportFileCount(text.size(), capacity)
                                                        : static_cast<std::int64_t>(options.BankStarts.size());
  TExportResult result;
  TFileWriterThread writer;
  std::exception_ptr failure;
  TConcatPiece piece;
  if (options.Concat) piece.bytes.reserve(static_cast<std::size_t>(total) * static_cast<std::size_t>(std::clamp(settings.Limit, 0, 4096)));
  try {
    // A fresh engine per file: nothing of one bank reaches the next. Only ca65 comments name
    // the tiles; the other formats need no names.
    TBankMaker maker(settings, text, capacity, options.Format == TBankFormat::Ca65, options.BankStarts);
    for (std::int64_t n = 0; n < total; ++n) {
      TMadeBank bank = maker.Take(n);
      if (options.OnBank) options.OnBank(n, bank.Bytes);
      if (options.Concat) {
        piece.Add(bank);
        if (!options.Control.Step(n + 1, total)) {
          result.Cancelled = true;
          break;
        }
        continue;
      }
      const std::string name = ExportFileName(base, n, capacity, options.Format);
      std::string data = BankFileBytes(options.Format, bank.Bytes, bank.TileNames, name, options.Palette);
      if (!writer.Put(name, std::move(data))) break;
      if (!options.Control.Step(writer.Written(), total)) {
        writer.Abandon();
        result.Cancelled = true;
        break;
      }
    }
    // One file, written once the last bank is in: a stopped or failed export leaves none.
    if (options.Concat && !result.Cancelled && total > 0) {
      const std::string name(chosenName);
      // Raw banks are the file itself: handed over, not copied (a megabyte of fresh pages).
      writer.Put(name, options.Format == TBankFormat::Chr
                           ? std::move(piece.bytes)
                           : BankFileBytes(options.Format, piece.bytes, piece.tileNames, name, options.Palette));
    }
  } catch (...) {
    failure = std::current_exception();
  }
  result.Files = FinishWriting(writer, failure, options.OnWritten);
  return result;
}

std::int64_t ExportBanks(std::string_view chosenName, TBankFormat format, const TChrSettings& settings,
                         std::u16string_view text, const std::function<void(const std::string&)>& onWritten) {
  TExportOptions options;
  options.Format = format;
  options.OnWritten = onWritten;
  return ExportText(chosenName, settings, text, options).Files;
}

}  // namespace mipofc
