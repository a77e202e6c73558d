// Takes screenshots for the documentation: the main window's pages at start and after choosing
// "32*32", the About box, the message after an export, the bank viewer at 3x on a Chinese text,
// the font menu with a font file in use, the font dialog, the cell-size list open, the text and output menus with their new items, the
// character statistics, the code-table, glyph-data and CHR-ROM start dialogs, and the progress dialog of a
// long export. Run under xvfb-run.
// Usage: mipofc-ui-shots <folder>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QFileDialog>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "ui/main_window.h"
#include "ui/about_box.h"
#include "ui/bank_viewer.h"
#include "ui/translation.h"

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

// The menu open over the window, as the screen shows it.
void SaveMenu(mipofc::TForm1& form, QMenu* menu, const QString& path) {
  form.activateWindow();
  form.menuBar()->setActiveAction(menu->menuAction());
  QTest::qWait(400);
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
  const QRect area = form.frameGeometry().united(menu->geometry());
  if (!shot.copy(area).save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  menu->hide();
  form.menuBar()->setActiveAction(nullptr);
}

// What the screen shows of a rectangle in global coordinates, menus and tooltips included.
void SaveScreen(const QRect& area, const QString& path) {
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  if (!shot.save(path))
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// The platform's dialogs, except that the file dialogs answer with fixed names and a collection's
// last face is chosen.
class TShotDialogs : public mipofc::TQtDialogs {
 public:
  explicit TShotDialogs(QString name) : name_(std::move(name)) {}
  std::optional<QString> SaveFile(QWidget*, const QString&, const QString&, const QString&) override { return name_; }
  std::optional<QString> SaveFileUnconfirmed(QWidget*, const QString&, const QString&, const QString&) override {
    return name_ + QStringLiteral(".nes");
  }
  // The platform's dialog of kinds, photographed once the IPS filter is chosen (which changes the
  // name's extension).
  std::optional<mipofc::TSaveChoice> SaveFileOfKind(QWidget* parent, const QString& filter, const QStringList& suffixes,
                                                    const QString& folder) override {
    QTimer::singleShot(300, [this] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      auto* kinds = dialog ? dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")) : nullptr;
      if (!kinds) {
        std::fprintf(stderr, "no save dialog of kinds\n");
        if (dialog) dialog->reject();
        return;
      }
      kinds->setCurrentIndex(1);
      emit kinds->activated(1);
      QTest::qWait(200);
      SavePicture(dialog, KindsShot);
      ShootNextModal(DoneShot);
      QMetaObject::invokeMethod(dialog, "accept");
    });
    return TQtDialogs::SaveFileOfKind(parent, filter, suffixes, folder);
  }
  QString KindsShot, DoneShot;
  std::optional<QString> OpenFile(QWidget*, const QString&, const QString&) override { return Open; }
  QString Open;
  std::optional<int> ChooseItem(QWidget*, const QString&, const QString&, const QStringList& items) override {
    return static_cast<int>(items.size()) - 1;
  }

 private:
  QString name_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  mipofc::InstallQtChinese(app);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(folder);
  QTemporaryDir scratch;
  auto dialogs = std::make_unique<TShotDialogs>(scratch.filePath(QStringLiteral("font.chr")));
  TShotDialogs* shotDialogs = dialogs.get();
  mipofc::TForm1 form(std::move(dialogs));
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

  // The font dialog on 宋体 at 12 points: the face the rules send it to is selected; and the
  // cell-size list open.
  form.N22Click();
  form.TBs->setValue(12);
  ShootNextModal(folder + "/font-dialog.png");
  form.BfFontClick();
  form.ComboBox1->showPopup();
  QTest::qWait(300);
  SaveScreen(form.frameGeometry(), folder + "/cell-sizes.png");
  form.ComboBox1->hidePopup();

  // The text and output menus, the statistics of 桃花源记, the code-table dialog, and a ROM's
  // CHR-ROM start dialog with the message after writing.
  form.N22Click();
  form.ComboBox1->setCurrentIndex(3);
  form.ComboBox1Change();
  form.LoadTextFiles({QStringLiteral(MIPOFC_SOURCE_DIR "/docs/taohuayuanji.txt")});
  form.Timer1Timer();
  form.PageControl2->setCurrentIndex(1);
  SaveMenu(form, form.N8, folder + "/text-menu.png");
  SaveMenu(form, form.N14, folder + "/output-menu.png");
  ShootNextModal(folder + "/char-stats.png");
  form.N12Click();
  form.CodeStart = 0x8140;
  QTimer::singleShot(300, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    SavePicture(box, folder + "/code-table-dialog.png");
    QTest::keyClick(box, Qt::Key_Escape);
  });
  form.TBL1Click();
  // "CHR-RAM字模": its dialog set to one bit a pixel in 8K PRG banks, and the message after.
  QTimer::singleShot(300, [&] {
    QWidget* box = QApplication::activeModalWidget();
    auto* bpp = box ? box->findChild<QComboBox*>(QStringLiteral("ComboBpp")) : nullptr;
    auto* bank = box ? box->findChild<QComboBox*>(QStringLiteral("ComboPrgBank")) : nullptr;
    if (!bpp || !bank) {
      std::fprintf(stderr, "no glyph dialog\n");
      return;
    }
    bpp->setCurrentIndex(0);
    bank->setCurrentIndex(1);
    QTest::qWait(100);
    SavePicture(box, folder + "/glyphs-dialog.png");
    ShootNextModal(folder + "/glyphs-done.png");
    QTest::keyClick(box, Qt::Key_Return);
  });
  form.GLY1Click();
  // "按场景分库": its dialog with one fixed bank and the newline and end codes; cancelled.
  QTimer::singleShot(300, [&] {
    QWidget* box = QApplication::activeModalWidget();
    auto* fixed = box ? box->findChild<QSpinBox*>(QStringLiteral("SpinFixedBanks")) : nullptr;
    auto* newline = box ? box->findChild<QLineEdit*>(QStringLiteral("EditNewlineCode")) : nullptr;
    auto* end = box ? box->findChild<QLineEdit*>(QStringLiteral("EditEndCode")) : nullptr;
    if (!fixed || !newline || !end) {
      std::fprintf(stderr, "no scene dialog\n");
      return;
    }
    fixed->setValue(1);
    newline->setText(QStringLiteral("FE"));
    end->setText(QStringLiteral("FF"));
    QTest::qWait(100);
    SavePicture(box, folder + "/scenes-dialog.png");
    QTest::keyClick(box, Qt::Key_Escape);
  });
  form.SCN1Click();
  {
    QByteArray rom("NES\x1A\x02\x01", 6);
    rom += QByteArray(10, '\0');
    rom += QByteArray(32768 + 8192, '\x55');
    QFile file(scratch.filePath(QStringLiteral("game.nes")));
    if (!file.open(QIODevice::WriteOnly) || file.write(rom) != rom.size()) std::fprintf(stderr, "cannot write a ROM\n");
  }
  // 1K banks of 16 characters: 40 characters take 3 KB of the ROM's 8 KB.
  form.ComboBox4->setCurrentIndex(0);
  form.ComboBox4Change();
  form.Memo1->setPlainText(QString::fromStdU16String(form.JoinedText().substr(0, 40)));
  shotDialogs->Open = scratch.filePath(QStringLiteral("game.nes"));
  shotDialogs->KindsShot = folder + "/rom-save-kinds.png";
  shotDialogs->DoneShot = folder + "/rom-done.png";
  QTimer::singleShot(300, [&] {
    auto* box = QApplication::activeModalWidget();
    auto* spin = box ? box->findChild<QSpinBox*>(QStringLiteral("SpinChrStart")) : nullptr;
    if (!spin) {
      std::fprintf(stderr, "no CHR-ROM start dialog\n");
      return;
    }
    spin->setValue(6);
    QTest::qWait(100);
    SavePicture(box, folder + "/rom-refused.png");
    spin->setValue(4);
    QTest::qWait(100);
    SavePicture(box, folder + "/rom-start.png");
    QTest::keyClick(box, Qt::Key_Return);
  });
  form.ROM1Click();
  ShootNextModal(folder + "/bdf-done.png");
  form.BDF1Click();

  // Three failures, worded in Chinese: a text file taken for a ROM, a broken font file, a
  // ROM in a folder that is not there.
  const QString notRom = scratch.filePath(QStringLiteral("说明.nes"));
  const QString broken = scratch.filePath(QStringLiteral("broken.ttf"));
  for (const QString& path : {notRom, broken}) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write("hello, world\n");
  }
  ShootNextModal(folder + "/message-not-ines.png");
  form.RunCommand([&] { form.WriteIntoRom(notRom); });
  ShootNextModal(folder + "/message-font-format.png");
  form.RunCommand([&] { form.UseFontFile(broken); });
  ShootNextModal(folder + "/message-missing-folder.png");
  form.RunCommand([&] { form.WriteIntoRom(scratch.filePath(QStringLiteral("旧版/game.nes"))); });

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
