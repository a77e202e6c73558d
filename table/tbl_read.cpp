#include <optional>
#include <unordered_map>

#include "base/file_read.h"
#include "base/errors.h"
#include "base/hex.h"
#include "table/position.h"
#include "table/tbl.h"
#include "text/text.h"

namespace mipofc {
namespace {

bool IsBlank(std::u16string_view line) {
  for (char16_t c : line)
    if (c != u' ' && c != u'\t') return false;
  return true;
}

// The bytes a HEX field stands for; failure says why when it stands for none.
std::optional<std::string> ParseCode(std::u16string_view hex, TFailure& failure) {
  const std::string shown = Utf16ToUtf8(hex);
  const auto fail = [&](TFailureKind kind) {
    failure = {kind, {shown}};
    return std::nullopt;
  };
  if (hex.empty()) return fail(TFailureKind::TableMissingCode);
  for (char16_t c : hex)
    if (HexDigit(c) < 0) return fail(TFailureKind::TableCodeNotHex);
  if (hex.size() % 2 != 0) return fail(TFailureKind::TableCodeOddDigits);
  if (hex.size() > 6) return fail(TFailureKind::TableCodeTooLong);
  std::string code;
  for (std::size_t i = 0; i < hex.size(); i += 2)
    code += static_cast<char>(HexDigit(hex[i]) << 4 | HexDigit(hex[i + 1]));
  return code;
}

class TTableParser {
 public:
  explicit TTableParser(const std::string& file) { table_.File = file; }

  void Line(std::u16string_view line, int number) {
    if (IsBlank(line) || line[0] == u'#') return;
    TTableEntry entry;
    entry.Line = number;
    std::size_t start = 0;
    if (line[0] == u'*' || line[0] == u'/') {
      entry.Kind = line[0] == u'*' ? TEntryKind::Newline : TEntryKind::End;
      start = 1;
    }
    const std::size_t eq = line.find(u'=', start);
    if (entry.Kind == TEntryKind::Normal && eq == std::u16string_view::npos)
      Fail(number, {TFailureKind::TableNotEntry, {}});
    TFailure failure;
    const auto code = ParseCode(line.substr(start, eq == std::u16string_view::npos ? line.npos : eq - start), failure);
    if (!code) Fail(number, failure);
    entry.Code = *code;
    if (eq != std::u16string_view::npos) {
      entry.Text = line.substr(eq + 1);
      CheckBmp(entry.Text, table_.File, number, static_cast<int>(eq) + 2);
    }
    if (entry.Kind == TEntryKind::Normal && entry.Text.empty())
      Fail(number, {TFailureKind::TableEmptyText, {CodeHex(entry.Code)}});
    const auto [it, added] = lineOf_.try_emplace(entry.Code, number);
    if (!added)
      Fail(number, {TFailureKind::TableCodeTwice, {CodeHex(entry.Code), std::to_string(it->second)}});
    table_.Entries.push_back(std::move(entry));
  }

  TTable Take() { return std::move(table_); }

 private:
  [[noreturn]] void Fail(int line, TFailure failure) const { throw TTextError(table_.File, line, 0, std::move(failure)); }

  TTable table_;
  std::unordered_map<std::string, int> lineOf_;
};

}  // namespace

std::uint32_t CodeValue(std::string_view code) {
  std::uint32_t value = 0;
  for (char b : code) value = value << 8 | static_cast<unsigned char>(b);
  return value;
}

std::string CodeOf(std::uint32_t value, int bytes) {
  std::string code;
  for (int i = bytes - 1; i >= 0; --i) code += static_cast<char>(value >> (8 * i) & 0xFF);
  return code;
}

std::string CodeHex(std::string_view code) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (char b : code) {
    hex += digits[static_cast<unsigned char>(b) >> 4];
    hex += digits[static_cast<unsigned char>(b) & 15];
  }
  return hex;
}

TTable ParseTable(std::string_view bytes, const std::string& file) {
  const std::optional<std::u16string> text = DecodePlainText(bytes);
  if (!text) throw TFileError(file, NotTextFailure(bytes));
  TTableParser parser(file);
  std::size_t p = 0;
  for (int number = 1;; ++number) {
    std::size_t end = text->find_first_of(u"\r\n", p);
    if (end == std::u16string::npos) end = text->size();
    parser.Line(std::u16string_view(*text).substr(p, end - p), number);
    if (end == text->size()) break;
    p = end + ((*text)[end] == u'\r' && end + 1 < text->size() && (*text)[end + 1] == u'\n' ? 2 : 1);
  }
  return parser.Take();
}

TTable ReadTable(const std::string& path) { return ParseTable(ReadFileBytes(path), path); }

}  // namespace mipofc
