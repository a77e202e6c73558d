// Files dropped on the window or the memo: texts (several in order), parameter files, font files,
// and what cannot be read.
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QUrl>

#include "params/param_file.h"
#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "text/text.h"
#include "ui/widgets.h"

namespace mipofc::test {
namespace {

class DropTest : public FolderWindowTest {
 protected:
  // Drags data over target and drops it there as a user would; whether the drop was taken.
  static bool DropData(QWidget* target, QMimeData& data) {
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
  }
  static bool Drop(QWidget* target, const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files) urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    // File managers offer the paths as text too, which the memo and the spin fields would take.
    data.setText(files.join(QLatin1Char('\n')));
    return DropData(target, data);
  }
  QWidget* Memo() const { return Form->Memo1->viewport(); }
  std::u16string MemoText() const { return Form->JoinedText(); }
};

TEST_F(DropTest, SeveralTextFilesLoadAsOneTextInTheOrderGiven) {
  const QString a = Path(QStringLiteral("a.txt")), b = Path(QStringLiteral("b.txt")),
                c = Path(QStringLiteral("c.rtf"));
  ASSERT_TRUE(WriteBytes(a, QByteArray("\xEF\xBB\xBF") + QStringLiteral("第一行\r\n第二").toUtf8()));
  ASSERT_TRUE(WriteBytes(b, QByteArray::fromStdString(Utf8ToGbk("国标码\n").value())));
  ASSERT_TRUE(WriteBytes(c, "{\\rtf1\\ansi Rich\\par text}"));
  // The window, the memo, and a spin field that would take dropped text itself.
  QWidget* spinField = Form->Ebg->findChild<QLineEdit*>();
  ASSERT_NE(spinField, nullptr);
  for (QWidget* target : {static_cast<QWidget*>(Form.get()), Memo(), spinField}) {
    Form->Timer1Timer();
    ASSERT_TRUE(Drop(target, {a, b, c}));
    EXPECT_EQ(MemoText(), u"第一行第二国标码Richtext");
    // Each file starts on a line of its own.
    EXPECT_EQ(Form->Memo1->toPlainText(), QStringLiteral("第一行\n第二\n国标码\nRich\ntext"));
    EXPECT_TRUE(Form->OptionsChanged);
    ASSERT_TRUE(Drop(target, {c, a}));
    EXPECT_EQ(MemoText(), u"Richtext第一行第二");
    EXPECT_EQ(Form->Ebg->value(), 0);
  }
  EXPECT_TRUE(Dialogs->Messages.empty());
  // One file is what 加载... makes of it.
  ASSERT_TRUE(Drop(Form.get(), {a}));
  const QString dropped = Form->Memo1->toPlainText();
  Form->Memo1->clear();
  Dialogs->Files.push_back(a);
  Form->N9->trigger();
  EXPECT_EQ(Form->Memo1->toPlainText(), dropped);
}

TEST_F(DropTest, AParameterFileOpensWithItsRules) {
  const QString ini = Path(QStringLiteral("folded.ini"));
  TOptionValues v;
  v.CellSizeIndex = 6;
  ApplySizeRules(v);
  v.EncodingIndex = 3;  // mode 3 on 32*32: colours 0 and 1, locked
  v.BgIndex = 2;
  v.GlyphIndex = 3;
  SaveParamFile(ini.toStdString(), v);
  ASSERT_TRUE(Drop(Memo(), {ini}));
  EXPECT_TRUE(Dialogs->Messages.empty());
  EXPECT_EQ(Form->ComboBox1->currentIndex(), 6);
  EXPECT_TRUE(Form->ComboBox2->currentText().startsWith(QLatin1Char('3')));
  EXPECT_EQ(Form->Ebg->value(), 0);
  EXPECT_EQ(Form->Ewm->value(), 1);
  EXPECT_FALSE(Form->Ebg->isEnabled());
  EXPECT_EQ(Form->CurrentParamFile, ini);
  EXPECT_TRUE(Form->ParamFileNamed);
  EXPECT_EQ(Form->windowTitle(), Form->TitleText + QStringLiteral("  [folded.ini]"));
  // The memo kept its text: a parameter file is no text.
  EXPECT_EQ(MemoText().substr(0, 6), u"你们大家好。");
}

TEST_F(DropTest, AFontFileIsTakenAsByTheFontMenu) {
  ASSERT_TRUE(Drop(Form.get(), {QStringLiteral(MIPOFC_UI_TEST_FONT)}));
  EXPECT_TRUE(Dialogs->Messages.empty());
  EXPECT_EQ(Form->BfFontFont.File, std::string(MIPOFC_UI_TEST_FONT));
  EXPECT_EQ(Form->BfFont->text(), QStringLiteral("Mipo Test"));
  EXPECT_EQ(MemoText().substr(0, 6), u"你们大家好。");
}

TEST_F(DropTest, WhatCannotBeReadGetsTheMenuCommandsMessageAndChangesNothing) {
  const QString good = Path(QStringLiteral("good.txt")), binary = Path(QStringLiteral("binary.txt"));
  const QString badFont = Path(QStringLiteral("bad.otf")), lostIni = Path(QStringLiteral("no/folder/x.ini"));
  ASSERT_TRUE(WriteBytes(good, "fine"));
  ASSERT_TRUE(WriteBytes(binary, QByteArray("\x00\x01\x02\x03text", 8)));
  ASSERT_TRUE(WriteBytes(badFont, "not a font"));
  struct Case {
    const char* name;
    QStringList dropped;
    QString menuFile;
    QAction* menu;
  };
  const Case cases[] = {
      {"a text among good ones", {good, binary}, binary, Form->N9},
      {"a missing text", {Path(QStringLiteral("gone.txt"))}, Path(QStringLiteral("gone.txt")), Form->N9},
      {"a font file", {badFont}, badFont, Form->N21},
      {"a parameter file in a missing folder", {lostIni}, lostIni, Form->N3},
  };
  for (const Case& c : cases) {
    Dialogs->Messages.clear();
    const std::u16string text = MemoText();
    const QString caption = Form->windowTitle(), paramFile = Form->CurrentParamFile;
    const bool named = Form->ParamFileNamed;
    const TFont font = Form->BfFontFont;
    ASSERT_TRUE(Drop(Memo(), c.dropped)) << c.name;
    ASSERT_EQ(Dialogs->Messages.size(), 1u) << c.name;
    EXPECT_EQ(Form->windowTitle(), caption) << c.name;
    EXPECT_EQ(MemoText(), text) << c.name;
    EXPECT_EQ(Form->CurrentParamFile, paramFile) << c.name;
    EXPECT_EQ(Form->ParamFileNamed, named) << c.name;
    EXPECT_TRUE(Form->BfFontFont.SameFace(font)) << c.name;

    Dialogs->Files.push_back(c.menuFile);
    c.menu->trigger();
    ASSERT_EQ(Dialogs->Messages.size(), 2u) << c.name;
    EXPECT_EQ(Dialogs->Messages[0], std::make_pair(Form->TitleText, Dialogs->Messages[1].second)) << c.name;
  }
}

TEST_F(DropTest, OnlyLocalFilesAreTheWindowsTheMemoTakesDroppedTextItself) {
  QMimeData remote;
  remote.setUrls({QUrl(QStringLiteral("https://example.com/a.txt"))});
  EXPECT_FALSE(DropData(Form.get(), remote));
  QMimeData mixed;
  mixed.setUrls(
      {QUrl::fromLocalFile(Path(QStringLiteral("a.txt"))), QUrl(QStringLiteral("https://example.com/b"))});
  EXPECT_FALSE(DropData(Form.get(), mixed));
  EXPECT_TRUE(Dialogs->Messages.empty());

  Form->Memo1->setPlainText(QStringLiteral("AB"));
  QMimeData words;
  words.setText(QStringLiteral("拖入"));
  EXPECT_TRUE(DropData(Memo(), words));
  EXPECT_NE(Form->Memo1->toPlainText().indexOf(QStringLiteral("拖入")), -1);
  EXPECT_TRUE(Dialogs->Messages.empty());
}

}  // namespace
}  // namespace mipofc::test
