// Takes screenshots of the main window's pages: at start and after choosing "32*32".
// Usage: mipofc-ui-shots <folder>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

#include "ui/Unit1.h"

namespace {

void Save(mipofc::TForm1& form, int upper, int lower, const QString& path) {
  form.PageControl1->setCurrentIndex(upper);
  form.PageControl2->setCurrentIndex(lower);
  QTest::qWait(100);
  if (!form.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(folder);
  mipofc::TForm1 form;
  form.show();
  QTest::qWait(200);
  form.Timer1Timer();
  Save(form, 0, 0, folder + "/window-general.png");
  Save(form, 1, 1, folder + "/window-text.png");
  form.ComboBox1->setCurrentIndex(6);
  form.ComboBox1Change();
  form.Timer1Timer();
  Save(form, 0, 0, folder + "/window-preview.png");
  Save(form, 1, 0, folder + "/window-advanced.png");
  return 0;
}
