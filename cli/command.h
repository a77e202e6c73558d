#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

namespace mipofc::cli {

/// One subcommand of mipofc-cli: its parser, and what runs once it was the one parsed. run
/// returns the exit status; it throws UsageError (exit 2) or any other exception (exit 1).
struct TCommand {
  CLI::App* app = nullptr;
  std::function<int()> run;
  /// The options that name a file the command writes, checked with CheckOutputName first.
  std::vector<std::string> outputs = {"-o"};
  /// The options that name a file the command reads ("-" is standard input).
  std::vector<std::string> inputs = {"INPUT"};
  /// Of outputs, those that name the very file written; the rest (export's -o) name files the
  /// command works out, and it checks them itself.
  std::vector<std::string> written = {"-o"};
  /// Pairs (input, output) that may be one file: replaced in place on purpose.
  std::vector<std::pair<std::string, std::string>> inPlace = {};
};

/// export: the banks of a text.
TCommand AddExportCommand(CLI::App& app);
/// preview: the text and bank previews as one PNG.
TCommand AddPreviewCommand(CLI::App& app);
/// chars: the distinct characters of a script.
TCommand AddCharsCommand(CLI::App& app);
/// encode: a script as the bytes of the game's tables.
TCommand AddEncodeCommand(CLI::App& app);
/// decode: script bytes back into text.
TCommand AddDecodeCommand(CLI::App& app);
/// patch: bank files written into an iNES ROM.
TCommand AddPatchCommand(CLI::App& app);
/// fonts: the faces fontconfig offers, or what a family name comes to.
TCommand AddFontsCommand(CLI::App& app);

}  // namespace mipofc::cli
