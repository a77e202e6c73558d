#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/chr.h"

namespace mipofc {

/// The two bank file formats.
enum class TBankFormat { Chr, Inc };

/// The chosen name without its extension: everything from the last '.' that stands after the
/// last '/', '\' and ':' is dropped; a name without such a dot stays whole.
std::string ExportBaseName(std::string_view chosenName);

/// base + "." + n in upper-case hex (4 digits when capacity > 255, else 2; more if n needs them)
/// + ".chr" or ".inc".
std::string ExportFileName(std::string_view base, std::int64_t n, std::int32_t capacity, TBankFormat format);

/// Characters per bank file for these settings, from a throw-away engine.
std::int32_t ExportCapacity(const TChrSettings& settings);

/// Cuts text into slices of ExportCapacity code units and writes each as a bank file named
/// after chosenName, each with a fresh engine, each through a temporary file. Returns the
/// number of files written; onWritten hears each file's name. A failure throws TFileError
/// (or TFontError) and stops the export; files written before it stay.
std::int64_t ExportBanks(std::string_view chosenName, TBankFormat format, const TChrSettings& settings,
                         std::u16string_view text,
                         const std::function<void(const std::string&)>& onWritten = {});

}  // namespace mipofc
