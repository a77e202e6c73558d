#pragma once

// What the table commands (chars, encode, decode, export's table flags) share: reading scripts
// and tables, codes given as flags, and writing a result to a file or standard output.

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "table/chars.h"
#include "table/tbl.h"

namespace mipofc::cli {

/// Adds --table FILE (required, given once or more): the tables used together.
void AddTablesOption(CLI::App& cmd, std::vector<std::string>& tables);

/// The tables of these files, in the order given.
std::vector<TTable> ReadTables(const std::vector<std::string>& paths);

/// A code flag's value: hex digits, "0x" or "$" in front allowed. Throws UsageError naming flag
/// when it is not hex or its value is above maximum.
std::uint32_t ParseCodeValue(const std::string& text, const char* flag, std::uint32_t maximum);
/// A code flag's bytes: 2, 4 or 6 hex digits ("0x" or "$" in front allowed), in ROM order.
/// Throws UsageError naming flag otherwise.
std::string ParseCodeBytes(const std::string& text, const char* flag);

/// Writes bytes to path through a temporary file, or to standard output for "-"; then, unless
/// quiet, names the file written on standard output.
void WriteOutput(const std::string& path, std::string_view bytes, bool quiet);

}  // namespace mipofc::cli
