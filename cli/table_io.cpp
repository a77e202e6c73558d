#include "base/file_write.h"
#include "cli/table_io.h"

#include <iostream>

#include "cli/flags.h"
#include "engine/chr.h"
#include "base/errors.h"
#include "text/text.h"

namespace mipofc::cli {
namespace {

std::string_view WithoutPrefix(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) return text.substr(2);
  if (text.starts_with("$")) return text.substr(1);
  return text;
}

bool AllHex(std::string_view digits) {
  return !digits.empty() && digits.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

}  // namespace

std::vector<TTable> ReadTables(const std::vector<std::string>& paths) {
  std::vector<TTable> tables;
  for (const std::string& path : paths) tables.push_back(ReadTable(path));
  return tables;
}

std::uint32_t ParseCodeValue(const std::string& text, const char* flag, std::uint32_t maximum) {
  std::string_view digits = WithoutPrefix(text);
  while (digits.size() > 1 && digits[0] == '0') digits.remove_prefix(1);
  std::uint32_t value = 0;
  if (AllHex(digits) && digits.size() <= 8) value = static_cast<std::uint32_t>(std::stoul(std::string(digits), nullptr, 16));
  if (!AllHex(digits) || digits.size() > 8 || value > maximum)
    throw UsageError(std::string(flag) + ": '" + text + "' is not a code in hex from 0 to " +
                     CodeHex(CodeOf(maximum, maximum > 0xFFFF ? 3 : maximum > 0xFF ? 2 : 1)));
  return value;
}

std::string ParseCodeBytes(const std::string& text, const char* flag) {
  const std::string_view digits = WithoutPrefix(text);
  if (!AllHex(digits) || digits.size() % 2 != 0 || digits.size() > 6)
    throw UsageError(std::string(flag) + ": '" + text + "' is not a code of 2, 4 or 6 hex digits");
  return CodeOf(static_cast<std::uint32_t>(std::stoul(std::string(digits), nullptr, 16)),
                static_cast<int>(digits.size() / 2));
}

void WriteOutput(const std::string& path, std::string_view bytes) {
  if (path != "-") {
    WriteFileAtomically(path, bytes);
    return;
  }
  std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  std::cout.flush();
  if (!std::cout) throw TFileError("standard output", "cannot be written");
}

}  // namespace mipofc::cli
