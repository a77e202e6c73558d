#include <algorithm>
#include <map>
#include <utility>

#include "table/position.h"
#include "table/script.h"

namespace mipofc {

TCodeBook::TCodeBook(const std::vector<TTable>& tables) : root_(0x10000, -1), one_(256, -1) {
  // The file and line of each code, to name both places of a code two tables hold.
  std::map<std::string, std::pair<const std::string*, int>> placeOf;
  for (const TTable& table : tables)
    for (const TTableEntry& entry : table.Entries) {
      const auto [it, added] = placeOf.try_emplace(entry.Code, &table.File, entry.Line);
      if (!added)
        throw TTextError(table.File, entry.Line, 0,
                         TFailure{TFailureKind::TableCodeElsewhere,
                                  {CodeHex(entry.Code), *it->second.first, std::to_string(it->second.second)}});
      entries_.push_back(entry);
    }

  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const TTableEntry& e = entries_[i];
    const auto index = static_cast<std::int32_t>(i);
    if (e.Kind == TEntryKind::Newline && !newline_) newline_ = e.Code;
    if (e.Kind != TEntryKind::Newline && !e.Text.empty()) Index(e.Text, index);
    const std::uint32_t value = CodeValue(e.Code);
    longestCode_ = std::max(longestCode_, e.Code.size());
    if (e.Code.size() == 1) {
      one_[value] = index;
    } else if (e.Code.size() == 2) {
      if (two_.empty()) two_.assign(0x10000, -1);
      two_[value] = index;
    } else {
      three_.emplace(value, index);
    }
  }
  Flatten();
}

void TCodeBook::Index(const std::u16string& text, std::int32_t entry) {
  std::int32_t& first = root_[text[0]];
  if (first < 0) {
    first = static_cast<std::int32_t>(nodes_.size());
    nodes_.emplace_back();
    building_.emplace_back();
  }
  std::int32_t node = first;
  for (std::size_t i = 1; i < text.size(); ++i) {
    std::vector<TEdge>& edges = building_[node];
    auto it = std::lower_bound(edges.begin(), edges.end(), text[i],
                               [](const TEdge& e, char16_t c) { return e.Char < c; });
    if (it == edges.end() || it->Char != text[i]) {
      const auto child = static_cast<std::int32_t>(nodes_.size());
      edges.insert(it, TEdge{text[i], child});
      nodes_.emplace_back();
      building_.emplace_back();
      node = child;
    } else {
      node = it->Node;
    }
  }
  // Equal texts: the first in merged order keeps its place.
  if (nodes_[node].Entry < 0) nodes_[node].Entry = entry;
}

void TCodeBook::Flatten() {
  single_.assign(0x10000, 0);
  for (std::size_t c = 0; c < root_.size(); ++c) {
    const std::int32_t node = root_[c];
    if (node < 0 || nodes_[node].Entry < 0 || !building_[node].empty()) continue;
    const std::string& code = entries_[nodes_[node].Entry].Code;
    single_[c] = static_cast<std::uint32_t>(code.size()) << 24 | CodeValue(code);
  }
  for (std::size_t n = 0; n < nodes_.size(); ++n) {
    nodes_[n].FirstEdge = static_cast<std::uint32_t>(edges_.size());
    nodes_[n].Edges = static_cast<std::uint32_t>(building_[n].size());
    edges_.insert(edges_.end(), building_[n].begin(), building_[n].end());
  }
  building_.clear();
  building_.shrink_to_fit();
}

std::pair<std::int32_t, std::size_t> TCodeBook::LongestMatch(std::u16string_view text, std::size_t from) const {
  if (from >= text.size()) return {-1, 0};
  std::int32_t node = root_[text[from]];
  if (node < 0) return {-1, 0};
  std::pair<std::int32_t, std::size_t> best{nodes_[node].Entry, nodes_[node].Entry < 0 ? 0 : 1};
  for (std::size_t i = from + 1; i < text.size() && nodes_[node].Edges != 0; ++i) {
    const TEdge* begin = edges_.data() + nodes_[node].FirstEdge;
    const TEdge* end = begin + nodes_[node].Edges;
    const TEdge* it = std::lower_bound(begin, end, text[i], [](const TEdge& e, char16_t c) { return e.Char < c; });
    if (it == end || it->Char != text[i]) break;
    node = it->Node;
    if (nodes_[node].Entry >= 0) best = {nodes_[node].Entry, i + 1 - from};
  }
  return best;
}

std::int32_t TCodeBook::CodeAt(std::string_view bytes, std::size_t from, std::size_t length) const {
  if (from + length > bytes.size()) return -1;
  const std::uint32_t value = CodeValue(bytes.substr(from, length));
  switch (length) {
    case 1:
      return one_[value];
    case 2:
      return two_.empty() ? -1 : two_[value];
    case 3: {
      const auto it = three_.find(value);
      return it == three_.end() ? -1 : it->second;
    }
    default:
      return -1;
  }
}

}  // namespace mipofc
