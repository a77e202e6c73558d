// The bank viewer "字库浏览": its menu, every bank of the text as the command-line tool draws it,
// hover texts from the bank build, zoom, bank navigation, following the main window, saving.
#include <QFile>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QWheelEvent>
#include <functional>
#include <tuple>

#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "ui/bank_viewer.h"
#include "ui/widgets.h"

namespace mipofc::test {
namespace {

class ViewerTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(Dir.isValid());
    Form->FontDialog1Font = UiTestFont();
    Form->ApplyChosenFont();
  }

  void SetText(const std::u16string& text) {
    Form->Memo1->setPlainText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
  }
  TViewer* Open() {
    Form->N18->trigger();
    return Form->Viewer;
  }
  // The status text after the pointer moves to (x, y) of a picture as shown, in screen pixels.
  QString HoverShown(QLabel* image, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), image->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(image, &move);
    return Form->Viewer->ViewerStatus->currentMessage();
  }
  static void Key(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
  }
  static void Wheel(QWidget* target, int delta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
  }

  QTemporaryDir Dir;
};

TEST_F(ViewerTest, ViewMenuStandsBeforeHelpAndOpensAWindowBesideTheMainOne) {
  const QList<QAction*> menus = Form->menuBar()->actions();
  const auto at = [&](QMenu* menu) { return menus.indexOf(menu->menuAction()); };
  EXPECT_EQ(Form->N17->title(), QStringLiteral("查看(&V)"));
  EXPECT_EQ(Form->N18->text(), QStringLiteral("字库浏览(&B)"));
  EXPECT_EQ(Form->N17->actions(), QList<QAction*>{Form->N18});
  EXPECT_EQ(at(Form->N17), at(Form->N14) + 1);
  EXPECT_EQ(menus.last(), Form->N15->menuAction());

  TViewer* viewer = Open();
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->objectName(), QStringLiteral("Form3"));
  EXPECT_EQ(viewer->windowTitle(), QStringLiteral("字库浏览"));
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_FALSE(viewer->isModal());
  EXPECT_EQ(viewer->windowModality(), Qt::NonModal);
  EXPECT_TRUE(viewer->isWindow());
  for (const char* name : {"Image3", "Image4", "SpinBank", "ComboZoom", "BSavePicture", "ViewerStatus"})
    EXPECT_NE(viewer->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
  EXPECT_EQ(viewer->BSavePicture->text(), QStringLiteral("保存图片(&S)..."));
  // The user keeps working in the main window: its commands still run.
  Form->Bd->click();
  EXPECT_EQ(Form->PosY, 1);
  // Opening again shows the same window.
  viewer->close();
  EXPECT_EQ(Open(), viewer);
  EXPECT_TRUE(viewer->isVisible());
}

TEST_F(ViewerTest, DoubleClickOnEitherPreviewOpensTheViewer) {
  for (QLabel* preview : {Form->Image1, Form->Image2}) {
    if (Form->Viewer) Form->Viewer->close();
    QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(10, 10), preview->mapToGlobal(QPointF(10, 10)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(preview, &click);
    ASSERT_NE(Form->Viewer, nullptr) << preview->objectName().toStdString();
    EXPECT_TRUE(Form->Viewer->isVisible()) << preview->objectName().toStdString();
  }
}

// Every bank of a five-bank text against `mipofc-cli preview` of that bank's slice.
TEST_F(ViewerTest, EveryBankIsWhatTheCommandLineToolDrawsOfItsSlice) {
  struct Case {
    const char* name;
    int cell, mode, distribution, limit;  // list indexes of ComboBox1..4 as items
    bool grid;
    TPalette palette;
    TColor gridColour;
    QStringList flags;
  };
  const TPalette start = {0x000000, 0xFFFFFF, 0x000080, 0x808000};
  const Case cases[] = {
      {"16x16 block 4K", 3, 0, 1, 2, false, start, 0xC0C0C0, {"--cell", "16x16"}},
      {"32x32 folded continuous 1K, grid, colours",
       6,
       3,
       0,
       0,
       true,
       {0x102030, 0xF0E0D0, 0x00FF00, 0x0000FF},
       0x404040,
       {"--cell", "32x32", "--mode", "3", "--distribution", "continuous", "--limit", "1K", "--grid",
        "--palette", "302010,D0E0F0,00FF00,FF0000", "--grid-colour", "404040"}},
  };
  for (const Case& c : cases) {
    SetUp();
    Pick(Form->ComboBox1, c.cell);
    Pick(Form->ComboBox2, c.mode);
    Pick(Form->ComboBox3, c.distribution);
    Pick(Form->ComboBox4, c.limit);
    if (c.grid) Form->CheckBox1->click();
    TSwatch* swatches[4] = {Form->color0, Form->color1, Form->color2, Form->color3};
    for (int i = 0; i < 4; ++i) swatches[i]->SetColor(c.palette[i]);
    Form->Shape1->SetColor(c.gridColour);
    const std::int32_t capacity = ExportCapacity(Form->GatherSettings());
    const std::u16string text = TestText(static_cast<std::size_t>(capacity) * 4 + 3);
    SetText(text);
    ASSERT_EQ(Tick(), 1) << c.name;

    TViewer* viewer = Open();
    ASSERT_EQ(viewer->BankCount(), 5) << c.name;
    ASSERT_EQ(viewer->Capacity(), capacity) << c.name;
    EXPECT_EQ(viewer->SpinBank->maximum(), 4) << c.name;
    // Bank 0 is the main window's two previews, pixel for pixel.
    EXPECT_EQ(viewer->TextPicture(), Form->Image1Picture()) << c.name;
    EXPECT_EQ(viewer->BankPicture(), Form->Image2Picture()) << c.name;
    for (int bank = 0; bank < 5; ++bank) {
      viewer->SpinBank->setValue(bank);
      ASSERT_EQ(viewer->Bank(), bank) << c.name;
      const QString input = Dir.filePath(QStringLiteral("slice%1.txt").arg(bank));
      const QString png = Dir.filePath(QStringLiteral("slice%1.png").arg(bank));
      ASSERT_TRUE(WriteUtf8(input, text.substr(static_cast<std::size_t>(bank) * capacity, capacity)));
      QString errors;
      ASSERT_EQ(RunCli(QStringList{"preview", input, "-q", "-o", png, "--font-file", MIPOFC_UI_TEST_FONT,
                                   "--size", "12"} +
                           c.flags,
                       &errors),
                0)
          << errors.toStdString();
      const QImage sheet = QImage(png).convertToFormat(QImage::Format_RGB32);
      ASSERT_EQ(sheet.size(), QSize(264, 128)) << c.name;
      EXPECT_EQ(viewer->TextPicture(), sheet.copy(0, 0, 128, 128)) << c.name << " bank " << bank;
      EXPECT_EQ(viewer->BankPicture(), sheet.copy(136, 0, 128, 128)) << c.name << " bank " << bank;
      // The labels show the pictures at the zoom, 3x to begin with.
      const QImage shown = viewer->Image4->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
      EXPECT_EQ(shown, viewer->BankPicture().scaled(384, 384)) << c.name << " bank " << bank;
    }
    // The banks differ: not one bank shown five times.
    viewer->ShowBank(1);
    const QImage second = viewer->BankPicture();
    viewer->ShowBank(2);
    EXPECT_NE(viewer->BankPicture(), second) << c.name;
  }
}

TEST_F(ViewerTest, HoverTextsNameTheCharacterOfEachTileFromTheBankBuild) {
  // 16x16 cells in blocks: 64 characters a bank, eight to a band of two pattern-table rows.
  std::u16string text = TestText(64 + 64 + 10);
  text[64 + 9] = u'你';
  SetText(text);
  ASSERT_EQ(Tick(), 1);
  TViewer* viewer = Open();
  viewer->ShowBank(1);
  const int z = viewer->Zoom();
  ASSERT_EQ(z, 3);
  // Character 9 of bank 1 sits in band 1, block 1: slots 0x22, 0x23, 0x32, 0x33.
  const QString tile = HoverShown(viewer->Image4, QPoint((3 * 8 + 4) * z, (3 * 8 + 4) * z));
  EXPECT_EQ(tile, QStringLiteral("库 1  槽 33  「你」 U+4F60  位置 73  块 列 1 行 1"));
  // The text cell of that character, in its lower right quarter, names the same tile.
  EXPECT_EQ(HoverShown(viewer->Image3, QPoint((16 + 12) * z, (16 + 12) * z)), tile);
  EXPECT_EQ(HoverShown(viewer->Image3, QPoint((16 + 2) * z, (16 + 2) * z)),
            QStringLiteral("库 1  槽 22  「你」 U+4F60  位置 73  块 列 0 行 0"));
  EXPECT_EQ(viewer->HoverAt(false, 2 * 8, 2 * 8),
            QStringLiteral("库 1  槽 22  「你」 U+4F60  位置 73  块 列 0 行 0"));

  // The last bank holds ten characters: slot 0xFF and the cells after them are blank.
  viewer->ShowBank(2);
  EXPECT_EQ(HoverShown(viewer->Image4, QPoint(127 * z, 127 * z)), QStringLiteral("库 2  槽 FF  空白"));
  EXPECT_EQ(HoverShown(viewer->Image3, QPoint(127 * z, 127 * z)), QStringLiteral("库 2  空白"));
  // Leaving the picture clears the status bar.
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(viewer->Image3, &leave);
  EXPECT_TRUE(viewer->ViewerStatus->currentMessage().isEmpty());
}

TEST_F(ViewerTest, HoverFollowsContinuousFoldedCellsAndCellsNoBankHolds) {
  // 16x16 folded top over bottom, continuous: two tiles a character, slots 2k and 2k + 1.
  Pick(Form->ComboBox2, 3);
  Pick(Form->ComboBox3, 0);
  SetText(u"AB C");
  ASSERT_EQ(Tick(), 1);
  TViewer* viewer = Open();
  EXPECT_EQ(viewer->HoverAt(true, 3 * 16 + 12, 12),
            QStringLiteral("库 0  槽 07  「C」 U+0043  位置 3  块 列 1 行 0"));
  EXPECT_EQ(viewer->HoverAt(true, 2 * 16 + 1, 1),
            QStringLiteral("库 0  槽 04  「 」 U+0020  位置 2  块 列 0 行 0"));
  EXPECT_EQ(viewer->HoverAt(false, 7 * 8, 0),
            QStringLiteral("库 0  槽 07  「C」 U+0043  位置 3  块 列 1 行 0"));
  EXPECT_EQ(viewer->HoverAt(false, 8 * 8, 0), QStringLiteral("库 0  槽 08  空白"));

  // 32x32 cells in a 1K bank hold four characters: the other twelve cells are no cells of a bank.
  Pick(Form->ComboBox1, 6);
  Pick(Form->ComboBox4, 0);
  ASSERT_EQ(Tick(), 1);
  EXPECT_EQ(viewer->Capacity(), 4);
  EXPECT_EQ(viewer->HoverAt(true, 3 * 32 + 5, 5),
            QStringLiteral("库 0  槽 30  「C」 U+0043  位置 3  块 列 0 行 0"));
  EXPECT_EQ(viewer->HoverAt(true, 5, 32 + 5), QString());
  EXPECT_EQ(viewer->HoverAt(true, -1, 0), QString());
  EXPECT_EQ(viewer->HoverAt(false, 128, 0), QString());
}

TEST(HoverTextTest, CodePointsWithoutAGlyphShowOnlyTheirCode) {
  THoverInfo info;
  info.Bank = 10;
  info.Slot = 5;
  info.Char = 0xD83D;
  info.Position = 123456;
  EXPECT_EQ(HoverText(info), QStringLiteral("库 10  槽 05  U+D83D  位置 123456  块 列 0 行 0"));
  info.Char = u'\t';
  info.Slot = -1;
  EXPECT_EQ(HoverText(info), QStringLiteral("库 10  U+0009  位置 123456  块 列 0 行 0"));
}

TEST_F(ViewerTest, ZoomFromTheListAndCtrlWheelKeepsPixelsCrisp) {
  SetText(TestText(40));
  ASSERT_EQ(Tick(), 1);
  TViewer* viewer = Open();
  QStringList items;
  for (int i = 0; i < viewer->ComboZoom->count(); ++i) items << viewer->ComboZoom->itemText(i);
  EXPECT_EQ(items, (QStringList{"1x", "2x", "3x", "4x", "5x", "6x", "7x", "8x"}));
  EXPECT_EQ(viewer->ComboZoom->currentText(), QStringLiteral("3x"));
  for (const int index : {0, 4, 7}) {
    viewer->ComboZoom->setCurrentIndex(index);
    const int z = index + 1;
    ASSERT_EQ(viewer->Zoom(), z);
    for (QLabel* image : {viewer->Image3, viewer->Image4}) {
      EXPECT_EQ(image->size(), QSize(128 * z, 128 * z));
      const QImage shown = image->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
      const QImage& picture = image == viewer->Image3 ? viewer->TextPicture() : viewer->BankPicture();
      ASSERT_EQ(shown.size(), QSize(128 * z, 128 * z));
      int foreign = 0;
      for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) foreign += shown.pixel(x, y) != picture.pixel(x / z, y / z);
      EXPECT_EQ(foreign, 0) << z;
    }
    // The hover reads the picture pixel under the pointer at any zoom.
    EXPECT_EQ(HoverShown(viewer->Image4, QPoint(9 * z, 1)), viewer->HoverAt(false, 9, 0));
  }
  viewer->ComboZoom->setCurrentIndex(2);
  Wheel(viewer->Image3, 120, Qt::ControlModifier);
  EXPECT_EQ(viewer->Zoom(), 4);
  EXPECT_EQ(viewer->ComboZoom->currentText(), QStringLiteral("4x"));
  Wheel(viewer->ScrollBox4->viewport(), -120, Qt::ControlModifier);
  Wheel(viewer->Image4, -120, Qt::ControlModifier);
  EXPECT_EQ(viewer->Zoom(), 2);
  Wheel(viewer->Image4, -120, Qt::NoModifier);  // scrolls, does not zoom
  EXPECT_EQ(viewer->Zoom(), 2);
  for (int i = 0; i < 10; ++i) Wheel(viewer->Image4, 120, Qt::ControlModifier);
  EXPECT_EQ(viewer->Zoom(), 8);
  for (int i = 0; i < 10; ++i) Wheel(viewer->Image4, -120, Qt::ControlModifier);
  EXPECT_EQ(viewer->Zoom(), 1);
  // A smaller window scrolls the pictures.
  viewer->SetZoom(8);
  viewer->resize(400, 300);
  QCoreApplication::processEvents();
  EXPECT_EQ(viewer->ScrollBox3->widget(), viewer->Image3);
  EXPECT_LT(viewer->ScrollBox3->viewport()->width(), viewer->Image3->width());
}

TEST_F(ViewerTest, StatusFollowsANewBankOrZoomUnderAStillPointer) {
  SetText(TestText(64 * 2 + 1));  // three banks
  ASSERT_EQ(Tick(), 1);
  TViewer* viewer = Open();
  const QPoint at(8 * 3 * 3 + 4, 8 * 3 + 4);  // slot 13 at 3x
  QCursor::setPos(viewer->Image4->mapToGlobal(at));
  ASSERT_TRUE(HoverShown(viewer->Image4, at).startsWith(QStringLiteral("库 0  槽 13")));
  const std::tuple<std::function<void()>, int, int> steps[] = {  // what is done, the bank and zoom after
      {[&] { Key(viewer->Image4, Qt::Key_PageDown); }, 1, 3},
      {[&] { viewer->BNextBank->click(); }, 2, 3},
      {[&] { viewer->ComboZoom->setCurrentIndex(1); }, 2, 2}};
  for (const auto& [act, bank, zoom] : steps) {
    act();
    ASSERT_EQ(viewer->Bank() * 10 + viewer->Zoom(), bank * 10 + zoom);
    const QString expected = viewer->HoverAt(false, at.x() / zoom, at.y() / zoom);
    EXPECT_TRUE(expected.startsWith(QStringLiteral("库 %1 ").arg(bank))) << expected.toStdString();
    EXPECT_EQ(viewer->ViewerStatus->currentMessage(), expected);
    EXPECT_EQ(viewer->LCode->text(), viewer->CodeAt(false, at.x() / zoom, at.y() / zoom));
  }
  // Away from the pictures a new bank leaves the status empty.
  QCursor::setPos(viewer->BSavePicture->mapToGlobal(QPoint(2, 2)));
  Key(viewer, Qt::Key_PageUp);
  EXPECT_EQ(viewer->ViewerStatus->currentMessage(), QString());
}

TEST_F(ViewerTest, BanksStepWithTheButtonsAndPageKeysWithinTheText) {
  SetText(TestText(64 * 3 + 1));  // four banks
  ASSERT_EQ(Tick(), 1);
  TViewer* viewer = Open();
  EXPECT_EQ(viewer->BankCount(), 4);
  EXPECT_FALSE(viewer->BPrevBank->isEnabled());
  viewer->BNextBank->click();
  EXPECT_EQ(viewer->Bank(), 1);
  Key(viewer->SpinBank, Qt::Key_PageDown);
  EXPECT_EQ(viewer->Bank(), 2);
  EXPECT_EQ(viewer->SpinBank->value(), 2);
  Key(viewer->Image4, Qt::Key_PageDown);
  Key(viewer, Qt::Key_PageDown);
  EXPECT_EQ(viewer->Bank(), 3);
  EXPECT_FALSE(viewer->BNextBank->isEnabled());
  Key(viewer->ComboZoom, Qt::Key_PageUp);
  EXPECT_EQ(viewer->Bank(), 2);
  viewer->BPrevBank->click();
  EXPECT_EQ(viewer->Bank(), 1);
  // The same keys in the main window are not the viewer's.
  Key(Form->Memo1, Qt::Key_PageDown);
  EXPECT_EQ(viewer->Bank(), 1);

  // The file name the export would give the shown bank, once an export was named.
  EXPECT_EQ(viewer->LFileName->text(), QStringLiteral("未命名"));
  Dialogs->Files.push_back(Dir.filePath(QStringLiteral("game.inc")));
  Form->ASMS1Click();
  EXPECT_EQ(viewer->LFileName->text(), Dir.filePath(QStringLiteral("game.01.inc")));
  viewer->ShowBank(3);
  EXPECT_EQ(viewer->LFileName->text(), Dir.filePath(QStringLiteral("game.03.inc")));

  // A shorter text keeps the viewer within the banks it has; an empty one shows bank 0 empty.
  SetText(TestText(70));
  ASSERT_EQ(Tick(), 1);
  EXPECT_EQ(viewer->Bank(), 1);
  EXPECT_EQ(viewer->SpinBank->maximum(), 1);
  Form->Memo1->clear();
  ASSERT_EQ(Tick(), 1);
  EXPECT_EQ(viewer->Bank(), 0);
  EXPECT_EQ(viewer->BankCount(), 0);
  EXPECT_EQ(viewer->HoverAt(false, 0, 0), QStringLiteral("库 0  槽 00  空白"));
}

TEST_F(ViewerTest, FollowsTheMainWindowOnTheTickAndCatchesUpWhenReopened) {
  SetText(TestText(100));
  ASSERT_EQ(Tick(), 1);
  TViewer* viewer = Open();
  const QImage before = viewer->BankPicture();
  const std::function<void()> changes[] = {
      [&] { Pick(Form->ComboBox1, 6); },
      [&] { Form->Br->click(); },
      [&] { Form->CheckBox1->click(); },
      [&] {
        Form->color1->SetColor(0x00FFFF);
        Form->BautoColor->click();
      },
      [&] {
        Form->Shape1->SetColor(0x123456);
        Form->CheckBox1->click();
      },
      [&] { Form->Memo1->insertPlainText(QStringLiteral("大家")); },
  };
  for (const auto& change : changes) {
    const QImage text = viewer->TextPicture(), bank = viewer->BankPicture();
    change();
    // Nothing until the tick, then the same pictures as the main window.
    EXPECT_EQ(viewer->TextPicture(), text);
    EXPECT_EQ(viewer->BankPicture(), bank);
    ASSERT_EQ(Tick(), 1);
    EXPECT_EQ(viewer->TextPicture(), Form->Image1Picture());
    EXPECT_EQ(viewer->BankPicture(), Form->Image2Picture());
  }
  EXPECT_NE(viewer->BankPicture(), before);

  // Closed, it does not draw; opened again, it shows the text as it is now.
  viewer->close();
  Pick(Form->ComboBox1, 3);
  ASSERT_EQ(Tick(), 1);
  EXPECT_NE(viewer->BankPicture(), Form->Image2Picture());
  Open();
  EXPECT_EQ(viewer->BankPicture(), Form->Image2Picture());
}

TEST_F(ViewerTest, SavesWhatItShowsAtItsZoomAsTheCommandLineToolWouldScaleIt) {
  const std::u16string text = TestText(64 + 20);
  SetText(text);
  ASSERT_EQ(Tick(), 1);
  TViewer* viewer = Open();
  viewer->ShowBank(1);
  viewer->SetZoom(2);
  const QString png = Dir.filePath(QStringLiteral("bank1.png"));
  Dialogs->Files.push_back(png);
  viewer->BSavePicture->click();
  ASSERT_EQ(Dialogs->FileAsks.size(), 1u);
  EXPECT_TRUE(Dialogs->FileAsks[0].Saving);
  EXPECT_EQ(Dialogs->FileAsks[0].Filter, QStringLiteral("PNG图片(*.png)"));
  EXPECT_EQ(Dialogs->FileAsks[0].Suffix, QStringLiteral("png"));
  EXPECT_TRUE(Dialogs->Messages.empty());
  const QImage saved = QImage(png).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(saved.size(), QSize(2 * 256 + 16, 256));
  EXPECT_EQ(saved, viewer->SavedPicture());

  const QString input = Dir.filePath(QStringLiteral("slice.txt"));
  const QString cli = Dir.filePath(QStringLiteral("cli.png"));
  ASSERT_TRUE(WriteUtf8(input, text.substr(64)));
  ASSERT_EQ(RunCli({"preview", input, "-q", "-o", cli, "--font-file", MIPOFC_UI_TEST_FONT, "--size", "12",
                    "--scale", "2"}),
            0);
  EXPECT_EQ(saved, QImage(cli).convertToFormat(QImage::Format_RGB32));
  // The same job made both files: they are the same bytes.
  QFile savedFile(png), cliFile(cli);
  ASSERT_TRUE(savedFile.open(QIODevice::ReadOnly) && cliFile.open(QIODevice::ReadOnly));
  EXPECT_EQ(savedFile.readAll(), cliFile.readAll());

  // A file that cannot be written: the message names it, and nothing is left behind.
  const QString bad = Dir.filePath(QStringLiteral("no/such/folder/x.png"));
  Dialogs->Files.push_back(bad);
  viewer->BSavePicture->click();
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].first, Form->TitleText);
  EXPECT_TRUE(Dialogs->Messages[0].second.contains(bad)) << Dialogs->Messages[0].second.toStdString();
  // The next dialog offers the name chosen last.
  viewer->BSavePicture->click();
  EXPECT_EQ(Dialogs->FileAsks.back().Folder, bad);
}

}  // namespace
}  // namespace mipofc::test
