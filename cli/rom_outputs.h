#pragma once

// The outputs of a command that writes banks into a ROM: the patched ROM, an IPS patch, a BPS
// patch, any of them.

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "jobs/rom_write.h"

namespace mipofc::cli {

/// The output flags of a ROM command; unset ones are not written.
struct TRomOutputFlags {
  std::optional<std::string> rom;  ///< -o of patch, --rom-out of export
  std::optional<std::string> ips;
  std::optional<std::string> bps;
};

/// Adds --ips FILE and --bps FILE.
void AddPatchFileFlags(CLI::App& cmd, TRomOutputFlags& f);
/// True when any of the three is given.
bool AnyRomOutput(const TRomOutputFlags& f);
/// The outputs of the flags; UsageError when none is given (romFlag names the ROM's option).
TRomOutputs RomOutputsOf(const TRomOutputFlags& f, const std::string& romFlag);
/// Prints where each bank went and each file written, with a patch's size.
void PrintRomWritten(const TRomWritten& written);

}  // namespace mipofc::cli
