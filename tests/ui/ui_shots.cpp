// Takes screenshots for the documentation: the main window's pages at start and after choosing
// "32*32", the About box, and the message after an export. Run under xvfb-run.
// Usage: mipofc-ui-shots <folder>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "ui/Unit1.h"
#include "ui/Unit2.h"

namespace {

void SavePicture(QWidget* widget, const QString& path) {
  if (!widget->grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void Save(mipofc::TForm1& form, int upper, int lower, const QString& path) {
  form.PageControl1->setCurrentIndex(upper);
  form.PageControl2->setCurrentIndex(lower);
  QTest::qWait(100);
  SavePicture(&form, path);
}

// Once the next modal box is up, photographs it and presses its default button.
void ShootNextModal(const QString& path) {
  QTimer::singleShot(300, [path] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) {
      std::fprintf(stderr, "no box for %s\n", qPrintable(path));
      return;
    }
    SavePicture(box, path);
    QTest::keyClick(box, Qt::Key_Return);
  });
}

// The platform's dialogs, except that the save dialog answers with a fixed name.
class TShotDialogs : public mipofc::TQtDialogs {
 public:
  explicit TShotDialogs(QString name) : name_(std::move(name)) {}
  std::optional<QString> SaveFile(QWidget*, const QString&, const QString&, const QString&) override { return name_; }

 private:
  QString name_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(folder);
  QTemporaryDir scratch;
  mipofc::TForm1 form(std::make_unique<TShotDialogs>(scratch.filePath(QStringLiteral("font.chr"))));
  form.UseExeFolder(scratch.path());
  form.AboutBox = new mipofc::TAboutBox(&form);
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

  ShootNextModal(folder + "/about.png");
  form.N16Click();
  ShootNextModal(folder + "/export-done.png");
  form.CHR1Click();
  return 0;
}
