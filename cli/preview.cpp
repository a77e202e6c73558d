// mipofc-cli preview: the window's two previews side by side in one PNG.
#include <iostream>
#include <memory>

#include "cli/command.h"
#include "cli/flags.h"
#include "cli/table_io.h"
#include "engine/formats.h"
#include "jobs/preview_sheet.h"

namespace mipofc::cli {

namespace {

struct TPreviewFlags {
  std::string input;
  std::string output;
  TOptionFlags options;
  std::optional<std::string> palette;
  bool grid = false;
  std::string gridColour = "C0C0C0";
  int scale = 1;
};

int RunPreview(const TPreviewFlags& f) {
  const TOptionValues values = ResolveOptions(f.options);
  TFont font = values.Font;
  const TChrSettings settings = GatherSettings(values, &font);
  const std::u16string text = ReadInput(f.input);
  const TSheetLook look{ParsePalette(f.palette), f.grid,
                        static_cast<TColor>(ParseColour(f.gridColour, "--grid-colour"))};
  WriteOutput(f.output, PreviewSheetPng(PreviewSheet(settings, text, look), f.scale), f.options.quiet);
  return 0;
}

}  // namespace

TCommand AddPreviewCommand(CLI::App& app) {
  auto f = std::make_shared<TPreviewFlags>();
  CLI::App* cmd = app.add_subcommand("preview", "write the text and bank previews as one PNG");
  cmd->add_option("INPUT", f->input, "text file (UTF-8, UTF-16, GBK or RTF), or - for standard input")->required();
  AddOptionFlags(*cmd, f->options);
  cmd->add_option("-o,--output", f->output, "the PNG file")->required();
  cmd->add_option("--palette", f->palette, "display colours RRGGBB of indexes 0..3")
      ->default_str(PaletteText(DefaultPalette));
  cmd->add_flag("--grid", f->grid, "draw the grid");
  cmd->add_option("--grid-colour", f->gridColour, "grid and background colour RRGGBB")->capture_default_str();
  cmd->add_option("--scale", f->scale, "pixel scale, 1..16")->check(CLI::Range(1, 16))->capture_default_str();
  return {.app = cmd,
          .run = [f] { return RunPreview(*f); },
          .outputs = {"-o", "--save-params"},
          .inputs = {"INPUT", "--params", "--font-file"},
          .written = {"-o", "--save-params"}};
}

}  // namespace mipofc::cli
