#pragma once

// What the output- and text-menu tests share: the CLI flags that give the window's settings.

#include <QString>
#include <QStringList>

#include "params/options.h"
#include "ui/main_window.h"

namespace mipofc::test {

/// The export flags of mipofc-cli that give the settings the window's controls hold (cell size,
/// limit, mode and distribution; the font is the window's start font, the tool's default too).
inline QStringList CliSettings(const TForm1& form) {
  const TOptionValues v = form.ReadOptions();
  static const char* const Cells[] = {"8x8", "8x16", "16x8", "16x16", "16x32", "32x16", "32x32"};
  static const char* const Limits[] = {"1K", "2K", "4K"};
  return {"--cell",  QString::fromLatin1(Cells[v.CellSizeIndex]),
          "--limit", QString::fromLatin1(Limits[v.LimitIndex]),
          "--mode",  QString::number(SelectedEncodeMode(v)),
          "--distribution", SelectedDistribution(v) == 0 ? QStringLiteral("continuous") : QStringLiteral("block")};
}

}  // namespace mipofc::test
