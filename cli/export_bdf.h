#pragma once

// export --format bdf: the text's glyphs as a BDF font instead of banks.

#include <optional>
#include <string>
#include <string_view>

#include "engine/chr.h"

namespace mipofc::cli {

/// The --format name of a BDF font.
inline constexpr const char* BdfFormatName = "bdf";

/// True when export writes a BDF font: --format bdf, or no --format and an -o name ending in
/// ".bdf" (any case).
bool BdfWanted(const std::optional<std::string>& format, const std::string& output);
/// Throws UsageError when a flag that only banks take is given with a BDF font.
void CheckBdfFlags(bool concat, bool palette, bool rom);
/// Writes the BDF font of text to output (Ctrl-C stops it with nothing written) and names it
/// with its number of characters unless quiet; returns the exit status.
int ExportBdf(const std::string& output, const TChrSettings& settings, std::u16string_view text, bool quiet);

}  // namespace mipofc::cli
