// mipofc-cli patch: bank files written into an iNES ROM, from a CHR-ROM kilobyte or a file offset,
// as the patched ROM, an IPS patch or a BPS patch.
#include <iostream>
#include <memory>

#include "base/hex.h"
#include "cli/command.h"
#include "cli/flags.h"
#include "cli/rom_outputs.h"
#include "jobs/rom_write.h"

namespace mipofc::cli {

namespace {

struct TPatchFlags {
  std::string rom;
  std::vector<std::string> banks;
  std::optional<std::int64_t> chrAt;
  std::optional<std::string> at;
  TRomOutputFlags outputs;
  bool quiet = false;
};

// An offset in hex with "0x" or "$", or in decimal.
std::uint64_t ParseOffset(const std::string& text) {
  if (const std::optional<std::uint64_t> value = ParseHexOrDecimal(text)) return *value;
  throw UsageError("--at: '" + text + "' is not an offset (hex with 0x or $, or decimal)");
}

int RunPatch(const TPatchFlags& f) {
  if (f.chrAt.has_value() == f.at.has_value()) throw UsageError("give exactly one of --chr-at KB and --at OFFSET");
  const TRomOutputs outputs = RomOutputsOf(f.outputs, "-o OUT");
  const TPatchTarget target = f.chrAt ? TPatchTarget{true, static_cast<std::uint64_t>(*f.chrAt)} : TPatchTarget{false, ParseOffset(*f.at)};
  const TRomWritten written = PatchRomFile(f.rom, f.banks, target, outputs);
  if (!f.quiet) PrintRomWritten(written);
  return 0;
}

}  // namespace

TCommand AddPatchCommand(CLI::App& app) {
  auto f = std::make_shared<TPatchFlags>();
  CLI::App* cmd = app.add_subcommand("patch", "write bank files into an iNES or NES 2.0 ROM, or make a patch of them");
  cmd->add_option("ROM", f->rom, "the iNES or NES 2.0 ROM")->required();
  cmd->add_option("BANKFILE", f->banks, "raw .chr bank files, written one after another in this order")->required();
  cmd->add_option("--chr-at", f->chrAt, "the CHR-ROM kilobyte the first bank starts at")
      ->check(CLI::Range(std::int64_t{0}, std::int64_t{1} << 40));
  cmd->add_option("--at", f->at, "the file offset the first bank starts at: hex with 0x or $, or decimal");
  cmd->add_option("-o,--output", f->outputs.rom, "the patched ROM (may be ROM itself; replaced atomically)");
  AddPatchFileFlags(*cmd, f->outputs);
  AddQuietFlag(*cmd, f->quiet);
  return {.app = cmd,
          .run = [f] { return RunPatch(*f); },
          .outputs = {"-o", "--ips", "--bps"},
          .inputs = {"ROM", "BANKFILE"},
          .written = {"-o", "--ips", "--bps"},
          .inPlace = {{"ROM", "-o"}}};
}

}  // namespace mipofc::cli
