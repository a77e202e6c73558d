#include "base/file_write.h"
#include "cli/table_io.h"

#include <iostream>

#include "base/hex.h"
#include "cli/flags.h"
#include "base/errors.h"
#include "text/text.h"

namespace mipofc::cli {

void AddTablesOption(CLI::App& cmd, std::vector<std::string>& tables) {
  cmd.add_option("--table", tables, "a .tbl file; several are used together")->required()->allow_extra_args(false);
}

std::vector<TTable> ReadTables(const std::vector<std::string>& paths) {
  std::vector<TTable> tables;
  for (const std::string& path : paths) tables.push_back(ReadTable(path));
  return tables;
}

std::uint32_t ParseCodeValue(const std::string& text, const char* flag, std::uint32_t maximum) {
  if (const std::optional<std::uint64_t> value = ParseHex(WithoutHexPrefix(text), maximum))
    return static_cast<std::uint32_t>(*value);
  throw UsageError(std::string(flag) + ": '" + text + "' is not a code in hex from 0 to " +
                   CodeHex(CodeOf(maximum, maximum > 0xFFFF ? 3 : maximum > 0xFF ? 2 : 1)));
}

std::string ParseCodeBytes(const std::string& text, const char* flag) {
  const std::string_view digits = WithoutHexPrefix(text);
  const std::optional<std::uint64_t> value = ParseHex(digits);
  if (!value || digits.size() % 2 != 0 || digits.size() > 6)
    throw UsageError(std::string(flag) + ": '" + text + "' is not a code of 2, 4 or 6 hex digits");
  return CodeOf(static_cast<std::uint32_t>(*value), static_cast<int>(digits.size() / 2));
}

void WriteOutput(const std::string& path, std::string_view bytes, bool quiet) {
  if (path != "-") {
    WriteFileAtomically(path, bytes);
    if (!quiet) std::cout << path << "\n";
    return;
  }
  std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  std::cout.flush();
  if (!std::cout) throw TFileError("standard output", TFailure{TFailureKind::Unwritable, {}});
}

}  // namespace mipofc::cli
