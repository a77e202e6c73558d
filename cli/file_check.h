#pragma once

// The files a command reads and writes, checked before it writes anything.

#include <CLI/CLI.hpp>
#include <string>
#include <utility>
#include <vector>

#include "jobs/file_uses.h"

namespace mipofc::cli {

/// Pairs of options (input, output) that may name one file: a file replaced in place on purpose.
using TAllowedPairs = std::vector<std::pair<std::string, std::string>>;

/// The files the parsed cmd was given in the options inputs (read) and outputs (written), each
/// value once, in the order of the lists.
std::vector<TFileUse> FileUsesOf(const CLI::App& cmd, const std::vector<std::string>& inputs,
                                 const std::vector<std::string>& outputs);
/// A UsageError (exit 2) naming both options and the file when two outputs are one file, an
/// output is an input (but for the allowed pairs), or standard input or output is named twice.
void CheckFileUses(const std::vector<TFileUse>& uses, const TAllowedPairs& allowed = {});

}  // namespace mipofc::cli
