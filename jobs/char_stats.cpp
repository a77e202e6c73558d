#include "jobs/char_stats.h"

#include "engine/bank_maker.h"
#include "table/chars.h"

namespace mipofc {

TCharStats CharStats(std::u16string_view text, const TChrSettings& settings) {
  TCharStats stats;
  stats.Characters = text.size();
  stats.Distinct = DistinctCharacters(text, TCharOrder::First).Chars.size();
  stats.PerFile = ExportCapacity(settings);
  stats.Files = ExportFileCount(stats.Characters, stats.PerFile);
  stats.DistinctFiles = ExportFileCount(stats.Distinct, stats.PerFile);
  return stats;
}

}  // namespace mipofc
