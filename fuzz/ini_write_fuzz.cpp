// Key-by-key updates of any INI text: a written key reads back, and an update changes at most
// the key's own line (or adds its lines), leaving every other byte of the file as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "params/ini.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Lines with their endings, the way the file's bytes fall apart.
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t stop = bytes.find_first_of("\r\n", start);
    if (stop == std::string::npos) stop = bytes.size();
    else if (bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n') stop += 2;
    else stop += 1;
    lines.push_back(bytes.substr(start, stop - start));
    start = stop;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int writes = input.ConsumeIntegralInRange(1, 4);
  std::vector<std::string> updates;
  for (int i = 0; i < writes * 3; ++i) updates.push_back(input.ConsumeRandomLengthString(2100));
  const std::string original = input.ConsumeRemainingBytesAsString();

  mipofc::TIniFile ini(original);
  Check(ini.Bytes() == original);
  for (int i = 0; i < writes; ++i) {
    const std::string& section = updates[3 * i];
    const std::string& key = updates[3 * i + 1];
    const std::string& value = updates[3 * i + 2];
    const std::vector<std::string> before = Lines(ini.Bytes());
    try {
      ini.WriteString(section, key, value);
    } catch (const std::invalid_argument&) {
      Check(Lines(ini.Bytes()) == before);
      continue;
    }
    const auto read = ini.Value(section, key);
    Check(read.has_value() && value.starts_with(*read) && (value.size() <= 2047 ? *read == value : read->size() >= 2046));

    const std::vector<std::string> after = Lines(ini.Bytes());
    size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
    size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
      ++suffix;
    Check(before.size() - prefix - suffix <= 1 && after.size() - prefix - suffix <= 3);
    Check(mipofc::TIniFile(ini.Bytes()).Bytes() == ini.Bytes());
  }
  return 0;
}
