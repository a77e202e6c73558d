#pragma once

// export's table flags: distinct characters (--unique), the code table of what was exported
// (--table) and the text a table draws (--from-table).

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/flags.h"
#include "jobs/code_table.h"
#include "params/options.h"
#include "table/codes.h"

namespace mipofc::cli {

/// The table flags of export.
struct TTableFlags {
  CLI::Option* input = nullptr;  ///< export's INPUT, to tell whether it was given
  bool unique = false;
  std::optional<std::string> order;
  std::vector<std::string> excludes;
  std::optional<std::string> table;
  std::string tableEncoding = "utf-8";
  std::optional<std::string> codeStart;
  std::optional<int> codeBytes;
  std::optional<std::string> fromTable;
  std::optional<std::string> newlineCode;
  std::optional<std::string> endCode;
};

/// The text an export draws and, with --table, the table's file bytes.
struct TTableExport {
  std::u16string Text;
  std::optional<std::string> TableBytes;
};

/// Adds --unique, --order, --exclude, --table, --table-encoding, --code-start, --code-bytes,
/// --from-table, --newline-code and --end-code; f.input must be set to the INPUT option.
void AddTableFlags(CLI::App& cmd, TTableFlags& f);
/// Throws UsageError for flags that do not go together, and for INPUT missing (or given with
/// --from-table).
void CheckTableFlags(const TTableFlags& f);
/// Sets the code start and code bytes of the values from their flags.
void ApplyTableFlags(const TTableFlags& f, TOptionValues& v);
/// Reads what the export draws: the table's characters for --from-table, the distinct
/// characters for --unique, else INPUT's text. With --table also makes the table, so that
/// nothing is written when it cannot be: UsageError when the codes do not fit, TFileError for a
/// character the table's encoding cannot hold.
TTableExport PrepareTableExport(const TTableFlags& f, const std::string& input, const TOptionValues& v);
/// The codes of count exported characters from the values' code start, in their code bytes;
/// UsageError, worded as for --table, when they do not fit.
TCodePlan PlanExportCodes(std::size_t count, const TOptionValues& v);
/// The codes of --newline-code and --end-code.
TControlCodes ControlCodesOf(const TTableFlags& f);
/// The --table-encoding asked for.
TTableEncoding TableEncodingOf(const TTableFlags& f);
/// Codes that do not fit, said of the flag that set them.
UsageError CodeRangeUsage(const TCodeRangeError& e, const TOptionValues& v);
/// A control code that is also another code, said of its flag.
UsageError CodeConflictUsage(const TCodeConflictError& e);
/// Writes the table of --table (after the banks), and names it unless quiet.
void WriteExportTable(const TTableFlags& f, const TTableExport& exported, bool quiet);

}  // namespace mipofc::cli
