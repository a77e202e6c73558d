#include <QApplication>
#include <QIcon>

#include "ui/Unit1.h"
#include "ui/Unit2.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tolvar-MipoFC字模工具"));
  QApplication::setDesktopFileName(QStringLiteral("mipofc"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/mipofc/mipofc.png")));
  // The main window takes the application title with the version as it starts.
  mipofc::TForm1 form;
  form.AboutBox = new mipofc::TAboutBox(&form);
  form.show();
  return app.exec();
}
