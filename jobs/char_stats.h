#pragma once

// What a text's characters come to with some settings: how many, how many distinct, and the
// bank files they take.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/chr.h"

namespace mipofc {

/// The counts "字符统计" shows.
struct TCharStats {
  std::size_t Characters = 0;        ///< characters of the text (line breaks are none)
  std::size_t Distinct = 0;          ///< distinct characters
  std::int32_t PerFile = 0;          ///< characters one bank file holds
  std::int64_t Files = 0;            ///< bank files of the text as it is
  std::int64_t DistinctFiles = 0;    ///< bank files of its distinct characters
};

/// The counts of a joined text with these settings.
TCharStats CharStats(std::u16string_view text, const TChrSettings& settings);

}  // namespace mipofc
