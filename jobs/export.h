#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bank_maker.h"
#include "engine/chr.h"
#include "engine/formats.h"
#include "jobs/job.h"

namespace mipofc {

/// How one export writes its files and whom it tells as it goes.
struct TExportOptions {
  TBankFormat Format = TBankFormat::Chr;
  /// One file under exactly the chosen name with every bank back to back, instead of numbered files.
  bool Concat = false;
  /// The colours of the PNG format's palette entries 0..3.
  TPalette Palette = DefaultPalette;
  /// Where each bank's characters start in the text, when the banks are not even slices of the
  /// text (each at most ExportCapacity characters, rising): bank n is text[BankStarts[n] ..
  /// BankStarts[n + 1]), the last one to the end. Empty: slices of ExportCapacity characters.
  std::vector<std::size_t> BankStarts;
  /// Hears each bank's number and raw bytes (Limit of them) as it is built, before it is written.
  std::function<void(std::int64_t bank, std::string_view bytes)> OnBank;
  /// Hears each file's name once it is written, in order.
  std::function<void(const std::string&)> OnWritten;
  /// Hears, after each bank is drawn, the files written so far and the files the text takes
  /// (with Concat: the banks drawn and the banks the text takes). Cancel stops the export once
  /// the file being written is done (later ones are not written; with Concat nothing is).
  TJobControl Control;
};

/// What an export did.
struct TExportResult {
  std::int64_t Files = 0;  ///< files written
  bool Cancelled = false;  ///< Control.Cancel stopped it
};

/// Cuts text into slices of ExportCapacity code units and writes each as a bank file named
/// after chosenName (or, with Concat, all of them as one file named chosenName), each with a
/// fresh engine, each through a temporary file. A failure throws TFileError (or TFontError) and
/// stops the export; files written before it stay. An empty text writes no file.
TExportResult ExportText(std::string_view chosenName, const TChrSettings& settings, std::u16string_view text,
                         const TExportOptions& options);
/// The names ExportText writes for a text of textLength code units, in order.
std::vector<std::string> ExportFileNames(std::string_view chosenName, const TChrSettings& settings,
                                         std::size_t textLength, const TExportOptions& options);

/// ExportText in format, telling onWritten each file's name; returns the number of files written.
std::int64_t ExportBanks(std::string_view chosenName, TBankFormat format, const TChrSettings& settings,
                         std::u16string_view text,
                         const std::function<void(const std::string&)>& onWritten = {});

}  // namespace mipofc
