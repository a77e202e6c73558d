// Takes screenshots for the documentation: the main window's pages at start and after choosing
// "32*32", the About box, the message after an export, the bank viewer at 3x on a Chinese text,
// the font menu with a font file in use, and the progress dialog of a long export. Run under
// xvfb-run.
// Usage: mipofc-ui-shots <folder>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"

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

// What the screen shows of a rectangle in global coordinates, menus and tooltips included.
void SaveScreen(const QRect& area, const QString& path) {
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  if (!shot.save(path))
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// The platform's dialogs, except that the save dialog answers with a fixed name and a collection's
// last face is chosen.
class TShotDialogs : public mipofc::TQtDialogs {
 public:
  explicit TShotDialogs(QString name) : name_(std::move(name)) {}
  std::optional<QString> SaveFile(QWidget*, const QString&, const QString&, const QString&) override { return name_; }
  std::optional<int> ChooseItem(QWidget*, const QString&, const QString&, const QStringList& items) override {
    return static_cast<int>(items.size()) - 1;
  }

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

  // The viewer at 3x on a real text, its second bank, a tile of the pattern table hovered.
  form.ComboBox1->setCurrentIndex(3);
  form.ComboBox1Change();
  form.ComboBox3->setCurrentIndex(1);
  form.ComboBox3Change();
  form.LoadTextFiles({QStringLiteral(MIPOFC_SOURCE_DIR "/docs/taohuayuanji.txt")});
  form.Timer1Timer();
  form.N18Click();
  mipofc::TViewer& viewer = *form.Viewer;
  viewer.ShowBank(1);
  QTest::qWait(200);
  const QPoint tile(8 * 5 * 3 + 10, 8 * 2 * 3 + 10);
  QMouseEvent hover(QEvent::MouseMove, QPointF(tile), viewer.Image4->mapToGlobal(QPointF(tile)), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewer.Image4, &hover);
  QTest::qWait(100);
  SavePicture(&viewer, folder + "/viewer.png");
  viewer.close();

  // The font menu open over the window, a font file's face in use.
  form.UseFontFile(QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"));
  form.Timer1Timer();
  form.PageControl1->setCurrentIndex(0);
  form.PageControl2->setCurrentIndex(0);
  form.activateWindow();
  form.menuBar()->setActiveAction(form.N19->menuAction());
  QTest::qWait(400);
  SaveScreen(form.frameGeometry().united(form.N19->geometry()), folder + "/font-menu.png");
  form.N19->hide();
  form.menuBar()->setActiveAction(nullptr);

  // A long export: every ideograph three times in 32x32 cells, 1K banks; 取消 once it shows.
  form.N22Click();
  form.ComboBox1->setCurrentIndex(6);
  form.ComboBox1Change();
  form.ComboBox4->setCurrentIndex(0);
  form.TBs->setValue(20);
  QString ideographs;
  for (int round = 0; round < 3; ++round)
    for (char16_t c = 0x4E00; c <= 0x9FA5; ++c) ideographs += QChar(c);
  form.Memo1->setPlainText(ideographs);
  form.Timer1Timer();
  QTest::qWait(100);
  QTimer::singleShot(1500, [&] {
    auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      std::fprintf(stderr, "no progress dialog\n");
      return;
    }
    SaveScreen(form.frameGeometry(), folder + "/progress.png");
    ShootNextModal(folder + "/export-cancelled.png");
    for (auto* button : dialog->findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("取消")) button->click();
  });
  form.CHR1Click();
  return 0;
}
