#include "jobs/code_table.h"

#include "text/text.h"

namespace mipofc {

TCodeTableFile CodeTableFile(std::u16string_view text, std::uint32_t start, int bytes, TTableEncoding encoding,
                             const std::string& fileName) {
  TCodeTableFile file;
  file.Plan = PlanCodes(text.size(), start, bytes);
  file.Bytes = TableFileBytes(CodeTableOf(text, file.Plan), encoding, fileName);
  return file;
}

std::u16string ExportTextOf(const TExportSource& source, std::uint32_t codeStart) {
  if (source.FromTable) return TextOfTable(ReadTable(*source.FromTable), codeStart);
  if (!source.Unique && !source.Tabled) return JoinedText(ReadTextInput(source.Input));
  // Characters outside the plane have no cell of their own, so they are refused with their place.
  const TScript script = ReadScript({source.Input});
  if (!source.Unique) return JoinedText(script.Text());
  TCharSet exclude;
  for (const std::string& path : source.Excludes) exclude |= ExcludedCharacters(path);
  return DistinctCharacters(JoinedText(script.Text()), source.Order, exclude).Chars;
}

}  // namespace mipofc
