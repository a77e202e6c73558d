#include "cli/export_bdf.h"

#include <iostream>

#include "cli/flags.h"
#include "cli/progress.h"
#include "jobs/bdf_font.h"

namespace mipofc::cli {

bool BdfWanted(const std::optional<std::string>& format, const std::string& output) {
  if (format) return *format == BdfFormatName;
  if (output.size() < 4) return false;
  std::string ext = output.substr(output.size() - 4);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == ".bdf";
}

void CheckBdfFlags(bool concat, bool palette, bool rom) {
  const char* flag = concat ? "--concat" : palette ? "--palette" : rom ? "--rom" : nullptr;
  if (flag != nullptr)
    throw UsageError(std::string(flag) + " does not go with a BDF font: the font holds glyphs, not banks");
}

int ExportBdf(const std::string& output, const TChrSettings& settings, std::u16string_view text, bool quiet) {
  // The font takes a moment even for thousands of characters: no progress line, only Ctrl-C.
  TExportProgress progress(true, text.size(), 1);
  const TBdfFontResult result = WriteBdfFont(output, settings, text, progress.Control());
  if (result.Cancelled) {
    std::cerr << "mipofc-cli: interrupted; wrote nothing\n";
    return InterruptedStatus;
  }
  if (quiet) return 0;
  if (result.Characters == 0)
    std::cout << "wrote nothing: the text has no characters\n";
  else
    std::cout << "wrote " << output << " (BDF font, " << result.Characters << " characters)\n";
  return 0;
}

}  // namespace mipofc::cli
