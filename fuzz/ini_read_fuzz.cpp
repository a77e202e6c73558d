// Any bytes as a parameter file: reading never fails, and what it applies is a state the
// window can hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "params/ini.h"
#include "params/param_file.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(32);
  const std::string key = input.ConsumeRandomLengthString(32);
  const mipofc::TIniFile ini(input.ConsumeRemainingBytesAsString());

  if (const auto value = ini.Value(section, key)) Check(value->size() <= 2047);
  ini.ReadInteger(section, key, 0);
  ini.ReadBool(section, key, false);

  mipofc::TOptionValues v;
  mipofc::ApplyParams(ini, v);
  Check(v.CellSizeIndex >= 0 && v.CellSizeIndex <= 6);
  Check(v.EncodingIndex >= 0 && static_cast<size_t>(v.EncodingIndex) < v.EncodingItems.size());
  Check(v.DistributionIndex >= 0 && static_cast<size_t>(v.DistributionIndex) < v.DistributionItems.size());
  Check(v.LimitIndex >= 0 && v.LimitIndex <= 2);
  Check(v.NarrowWide >= -6 && v.NarrowWide <= 6 && v.FontSize >= 6 && v.FontSize <= 28);
  Check(v.BgIndex >= 0 && v.BgIndex <= 3 && v.GlyphIndex >= 0 && v.GlyphIndex <= 3);
  Check(v.M >= 1 && v.M <= 15);
  Check(v.Font.Height != 0 && v.Font.CharSet >= 0 && v.Font.CharSet <= 255 && !v.Font.Name.empty());
  return 0;
}
