#include "jobs/code_table.h"

#include "engine/formats.h"
#include "text/text.h"

namespace mipofc {

namespace {

std::string ConflictText(bool newline, const std::string& code, const std::u16string& character) {
  std::string text = std::string(newline ? "the newline code " : "the end code ") + code + " is also ";
  if (character.empty()) return text + "the newline code";
  return text + "the code of " + CharLabel(character[0]);
}

}  // namespace

TCodeConflictError::TCodeConflictError(bool newline, std::string code, std::u16string character)
    : std::invalid_argument(ConflictText(newline, code, character)),
      Newline(newline),
      Code(std::move(code)),
      Char(std::move(character)) {}

void AddControlEntries(std::vector<TTableEntry>& entries, const TControlCodes& controls) {
  const auto check = [&](const std::optional<std::string>& code, bool newline) {
    if (!code) return;
    for (const TTableEntry& entry : entries)
      if (entry.Kind == TEntryKind::Normal && entry.Code == *code) throw TCodeConflictError(newline, CodeHex(*code), entry.Text);
  };
  check(controls.Newline, true);
  check(controls.End, false);
  if (controls.Newline && controls.End && *controls.Newline == *controls.End)
    throw TCodeConflictError(false, CodeHex(*controls.End), {});
  if (controls.Newline) entries.push_back({TEntryKind::Newline, *controls.Newline, {}, 0});
  if (controls.End) entries.push_back({TEntryKind::End, *controls.End, {}, 0});
}

TCodeTableFile CodeTableFile(std::u16string_view text, std::uint32_t start, int bytes, TTableEncoding encoding,
                             const std::string& fileName, const TControlCodes& controls) {
  TCodeTableFile file;
  file.Plan = PlanCodes(text.size(), start, bytes);
  std::vector<TTableEntry> entries = CodeTableOf(text, file.Plan);
  AddControlEntries(entries, controls);
  file.Bytes = TableFileBytes(std::move(entries), encoding, fileName);
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
