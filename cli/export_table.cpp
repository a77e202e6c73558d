#include "cli/export_table.h"

#include <iostream>

#include "cli/flags.h"
#include "cli/table_io.h"
#include "engine/formats.h"
#include "jobs/code_table.h"

namespace mipofc::cli {

UsageError CodeRangeUsage(const TCodeRangeError& e, const TOptionValues& v) {
  const auto start = static_cast<std::uint32_t>(v.CodeStart);
  const int startBytes = start > 0xFFFF ? 3 : start > 0xFF ? 2 : 1;
  const std::string flag = v.CodeBytes != 0 ? "--code-bytes " + std::to_string(v.CodeBytes)
                                            : "--code-start " + CodeHex(CodeOf(start, startBytes));
  return UsageError(flag + ": " + e.what());
}

UsageError CodeConflictUsage(const TCodeConflictError& e) {
  const std::string flag = e.Newline ? "--newline-code " : "--end-code ";
  if (e.Char.empty()) return UsageError(flag + e.Code + " is also --newline-code " + e.Code);
  return UsageError(flag + e.Code + " is also the code of " + CharLabel(e.Char[0]));
}

TControlCodes ControlCodesOf(const TTableFlags& f) {
  TControlCodes codes;
  if (f.newlineCode) codes.Newline = ParseCodeBytes(*f.newlineCode, "--newline-code");
  if (f.endCode) codes.End = ParseCodeBytes(*f.endCode, "--end-code");
  return codes;
}

TTableEncoding TableEncodingOf(const TTableFlags& f) {
  return f.tableEncoding == "utf-16" ? TTableEncoding::Utf16
         : f.tableEncoding == "gbk"  ? TTableEncoding::Gbk
                                     : TTableEncoding::Utf8;
}

void AddTableFlags(CLI::App& cmd, TTableFlags& f) {
  cmd.add_flag("--unique", f.unique, "draw each distinct character once");
  cmd.add_option("--order", f.order,
                 "with --unique: first (order of first appearance) or frequency (most frequent first)")
      ->check(CLI::IsMember({"first", "frequency"}))
      ->default_str("first");
  cmd.add_option("--exclude", f.excludes, "with --unique: characters to leave out (a .tbl's, or a text's)")
      ->allow_extra_args(false);
  cmd.add_option("--table", f.table, "also write the code table (.tbl) of what was exported");
  cmd.add_option("--table-encoding", f.tableEncoding, "the text encoding of the --table file")
      ->check(CLI::IsMember({"utf-8", "utf-16", "gbk"}))
      ->capture_default_str();
  cmd.add_option("--code-start", f.codeStart, "HEX: the code of the first character")->default_str("00");
  cmd.add_option("--code-bytes", f.codeBytes, "1, 2 or 3 bytes a code")
      ->check(CLI::IsMember({1, 2, 3}))
      ->default_str("the fewest that hold every code");
  cmd.add_option("--from-table", f.fromTable, "instead of INPUT: draw the characters of a .tbl in code order");
  cmd.add_option("--newline-code", f.newlineCode, "HEX: the tables get the newline entry *HEX (with --table or --scenes)");
  cmd.add_option("--end-code", f.endCode, "HEX: the tables get the end entry /HEX (with --table or --scenes)");
}

void CheckTableFlags(const TTableFlags& f) {
  const bool input = f.input != nullptr && f.input->count() > 0;
  if (f.fromTable) {
    if (input) throw UsageError("--from-table draws the table's characters: give no INPUT with it");
    if (f.table) throw UsageError("--table cannot be used with --from-table");
    if (f.unique) throw UsageError("--unique cannot be used with --from-table");
  } else if (!input) {
    throw UsageError("give INPUT, or --from-table FILE.tbl");
  }
  if (!f.unique && f.order) throw UsageError("--order needs --unique");
  if (!f.unique && !f.excludes.empty()) throw UsageError("--exclude needs --unique");
}

void ApplyTableFlags(const TTableFlags& f, TOptionValues& v) {
  if (f.codeStart) v.CodeStart = static_cast<int>(ParseCodeValue(*f.codeStart, "--code-start", MaxCode));
  if (f.codeBytes) v.CodeBytes = *f.codeBytes;
}

TTableExport PrepareTableExport(const TTableFlags& f, const std::string& input, const TOptionValues& v) {
  TTableExport exported;
  const auto start = static_cast<std::uint32_t>(v.CodeStart);
  TExportSource source;
  source.Input = input;
  source.FromTable = f.fromTable;
  source.Unique = f.unique;
  source.Order = f.order == "frequency" ? TCharOrder::Frequency : TCharOrder::First;
  source.Excludes = f.excludes;
  source.Tabled = f.table.has_value();
  exported.Text = ExportTextOf(source, start);
  if (!f.table) return exported;
  try {
    exported.TableBytes =
        CodeTableFile(exported.Text, start, v.CodeBytes, TableEncodingOf(f), *f.table, ControlCodesOf(f)).Bytes;
  } catch (const TCodeRangeError& e) {
    throw CodeRangeUsage(e, v);
  } catch (const TCodeConflictError& e) {
    throw CodeConflictUsage(e);
  }
  return exported;
}

TCodePlan PlanExportCodes(std::size_t count, const TOptionValues& v) {
  try {
    return PlanCodes(count, static_cast<std::uint32_t>(v.CodeStart), v.CodeBytes);
  } catch (const TCodeRangeError& e) {
    throw CodeRangeUsage(e, v);
  }
}

void WriteExportTable(const TTableFlags& f, const TTableExport& exported, bool quiet) {
  if (!f.table || !exported.TableBytes) return;
  WriteOutput(*f.table, *exported.TableBytes, quiet);
}

}  // namespace mipofc::cli
