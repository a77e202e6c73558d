#include "cli/rom_outputs.h"

#include <iostream>

#include "cli/flags.h"

namespace mipofc::cli {

void AddPatchFileFlags(CLI::App& cmd, TRomOutputFlags& f) {
  cmd.add_option("--ips", f.ips, "an IPS patch that turns the ROM into the patched ROM (ROMs up to 16 MiB)");
  cmd.add_option("--bps", f.bps, "a BPS patch that turns the ROM into the patched ROM");
}

bool AnyRomOutput(const TRomOutputFlags& f) { return f.rom || f.ips || f.bps; }

TRomOutputs RomOutputsOf(const TRomOutputFlags& f, const std::string& romFlag) {
  if (!AnyRomOutput(f)) throw UsageError("give at least one of " + romFlag + ", --ips FILE and --bps FILE");
  return {f.rom.value_or(""), f.ips.value_or(""), f.bps.value_or("")};
}

void PrintRomWritten(const TRomWritten& written) {
  for (const TPlacement& placement : written.Placed) std::cout << PlacementText(placement) << "\n";
  for (const TRomFile& file : written.Files) {
    std::cout << "wrote " << file.Name;
    if (file.Kind == TRomFileKind::Ips) std::cout << " (IPS patch, " << file.Bytes << " bytes)";
    if (file.Kind == TRomFileKind::Bps) std::cout << " (BPS patch, " << file.Bytes << " bytes)";
    std::cout << "\n";
  }
}

}  // namespace mipofc::cli
