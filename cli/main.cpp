// mipofc-cli: the window's jobs without a window, for build scripts. One file per command.
#include <CLI/CLI.hpp>
#include <fcntl.h>

#include <iostream>
#include <vector>

#include "cli/command.h"
#include "cli/describe.h"
#include "cli/file_check.h"
#include "cli/flags.h"
#include "base/errors.h"
#include "mipofc_version.h"

namespace mipofc::cli {
namespace {

int Run(int argc, char** argv) {
  CLI::App app{"MipoFC: Unicode text to NES/Famicom pattern-table banks", "mipofc-cli"};
  app.require_subcommand(1);
  // Set before the commands are added, which take it over.
  app.formatter(std::make_shared<TDefaultsFormatter>());
  app.set_version_flag("--version", std::string("mipofc-cli ") + MIPOFC_VERSION, "print the version and exit");
  const std::vector<TCommand> commands = {AddExportCommand(app), AddPreviewCommand(app), AddPatchCommand(app),
                                          AddCharsCommand(app),  AddEncodeCommand(app),  AddDecodeCommand(app),
                                          AddFontsCommand(app)};
  if (const std::optional<int> status = RunDescribeMode(app, argc, argv)) return *status;

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << "mipofc-cli: " << e.what() << "\n";
    return 2;
  }

  try {
    for (const TCommand& command : commands)
      if (command.app->parsed()) {
        CheckOutputOptions(*command.app, command.outputs);
        CheckFileUses(FileUsesOf(*command.app, command.inputs, command.written), command.inPlace);
        const int status = command.run();
        // What a command printed must have reached standard output, as its files reached disk.
        if (!std::cout.flush() && status == 0) throw TFileError("standard output", TFailure{TFailureKind::Unwritable, {}});
        return status;
      }
    return 2;
  } catch (const UsageError& e) {
    std::cerr << "mipofc-cli: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "mipofc-cli: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace
}  // namespace mipofc::cli

int main(int argc, char** argv) {
  // A standard stream closed by the caller (>&-) would be taken by the first file opened, and
  // what is printed would land in it: each closed one holds /dev/null, read-only, so that
  // printing to it fails instead.
  for (int fd = 0; fd <= 2; ++fd)
    if (::fcntl(fd, F_GETFD) < 0 && ::open("/dev/null", O_RDONLY | O_CLOEXEC) < 0) return 1;
  return mipofc::cli::Run(argc, argv);
}
