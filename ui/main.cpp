#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstring>

#include "mipofc_version.h"
#include "ui/main_window.h"
#include "ui/about_box.h"
#include "ui/translation.h"

namespace {

// --version and --help are answered before Qt starts, so that they work without a display.
bool AnsweredWithoutWindow(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("mipofc %s\n", MIPOFC_VERSION);
      return true;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf("Usage: mipofc [--help] [--version] [Qt options]\n"
                  "The MipoFC window: Unicode text to NES/Famicom pattern-table banks.\n"
                  "  -h, --help   print this help and exit\n"
                  "  --version    print the version and exit\n"
                  "The same jobs without a window: mipofc-cli --help\n");
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AnsweredWithoutWindow(argc, argv)) return 0;
  QApplication app(argc, argv);
  // The window is a Chinese program: Qt's own dialogs and buttons speak Chinese too.
  mipofc::InstallQtChinese(app);
  QApplication::setApplicationName(QStringLiteral("Tolvar-MipoFC字模工具"));
  QApplication::setDesktopFileName(QStringLiteral("mipofc"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/mipofc/mipofc.png")));
  // The main window takes the application title with the version as it starts.
  mipofc::TForm1 form;
  form.AboutBox = new mipofc::TAboutBox(&form);
  form.show();
  return app.exec();
}
