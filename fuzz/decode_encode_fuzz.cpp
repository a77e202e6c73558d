// Any bytes decoded with a table that round-trips, written as the decode command writes its
// text, read back as the encode command reads a script and encoded: the same bytes come back.
// The first byte picks the table.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "table/chars.h"
#include "table/script.h"
#include "table/tbl.h"
#include "text/text.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::string Hex(unsigned value, int digits) {
  static constexpr char d[] = "0123456789ABCDEF";
  std::string hex;
  for (int i = digits - 1; i >= 0; --i) hex += d[value >> (4 * i) & 15];
  return hex;
}

std::vector<mipofc::TCodeBook> Books() {
  using mipofc::ParseTable;
  // Printable ASCII in one byte but '<', LF as the newline code: the other bytes are "<$XX>".
  std::string ascii = "*0A\n";
  for (unsigned c = 0x20; c < 0x7F; ++c)
    if (c != '<') ascii += Hex(c, 2) + "=" + static_cast<char>(c) + "\n";
  // Codes of one, two and three bytes sharing their first bytes; end codes with texts and no
  // newline code; '<' but no '$'.
  std::string mixed = "/FF=【完】\n/FE=▲\n80=<\n";
  for (unsigned i = 0; i < 0x40; ++i) mixed += Hex(i, 2) + "=" + mipofc::Utf16ToUtf8(std::u16string(1, char16_t(0x4E00 + i))) + "\n";
  for (unsigned i = 0; i < 0x100; i += 3)
    mixed += Hex(0x0100 + i, 4) + "=" + mipofc::Utf16ToUtf8(std::u16string(1, char16_t(0x5000 + i))) + "\n";
  for (unsigned i = 0; i < 0x100; i += 5)
    mixed += Hex(0x010100 + i, 6) + "=" + mipofc::Utf16ToUtf8(std::u16string(1, char16_t(0x6000 + i))) + "\n";
  // Every two-byte code below 8000 a character of its own, from U+4E00 on.
  std::string wide;
  for (unsigned i = 0; i < 0x8000; ++i)
    wide += Hex(i, 4) + "=" + mipofc::Utf16ToUtf8(std::u16string(1, char16_t(0x4E00 + i))) + "\n";
  std::vector<mipofc::TCodeBook> books;
  books.emplace_back(std::vector<mipofc::TTable>{ParseTable(ascii, "ascii.tbl")});
  books.emplace_back(std::vector<mipofc::TTable>{ParseTable(mixed, "mixed.tbl"), ParseTable("C0=A\nC1=B\n", "b.tbl")});
  books.emplace_back(std::vector<mipofc::TTable>{ParseTable(wide, "wide.tbl")});
  return books;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static const std::vector<mipofc::TCodeBook> books = Books();
  if (size == 0) return 0;
  const mipofc::TCodeBook& book = books[data[0] % books.size()];
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string file = mipofc::Utf8TextFileBytes(mipofc::Decode(bytes, book));
  const auto text = mipofc::DecodeText(file);
  Check(text.has_value());
  mipofc::TScript script;
  script.Add("decoded.txt", *text);
  const mipofc::TEncoded encoded = mipofc::EncodeScript(script, book, std::nullopt);
  Check(encoded.Bytes == bytes);
  return 0;
}
