// Any bytes as a table file: reading either refuses them with a place or yields entries that
// the writer puts back into a table that reads as the same entries; merged, the table decodes
// the same bytes and encodes the result without failing.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>

#include "base/errors.h"
#include "table/position.h"
#include "table/script.h"
#include "table/tbl.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace mipofc;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TTable table;
  try {
    table = ParseTable(bytes, "fuzz.tbl");
  } catch (const TTextError& e) {
    Check(e.Line() >= 1 && e.File() == "fuzz.tbl");
    return 0;
  } catch (const TFileError&) {
    return 0;
  }
  std::set<std::string> codes;
  for (const TTableEntry& e : table.Entries) {
    Check(e.Code.size() >= 1 && e.Code.size() <= 3 && e.Line >= 1);
    Check(e.Kind != TEntryKind::Normal || !e.Text.empty());
    Check(codes.insert(e.Code).second);
    for (char16_t c : e.Text) Check((c & 0xF800) != 0xD800 && c != u'\r' && c != u'\n');
  }
  for (TTableEncoding encoding : {TTableEncoding::Utf8, TTableEncoding::Utf16}) {
    const TTable back = ParseTable(TableFileBytes(table.Entries, encoding, "fuzz.tbl"), "fuzz.tbl");
    Check(back.Entries.size() == table.Entries.size());
    for (const TTableEntry& e : back.Entries) {
      const auto same = std::find_if(table.Entries.begin(), table.Entries.end(),
                                     [&](const TTableEntry& o) { return o.Code == e.Code; });
      Check(same != table.Entries.end() && same->Kind == e.Kind && same->Text == e.Text);
    }
  }
  const TCodeBook book({table});
  const std::u16string text = Decode(bytes, book);
  Encode(text, book, std::string("\xFF"));
  return 0;
}
