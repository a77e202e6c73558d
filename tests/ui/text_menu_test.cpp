// "文本(&T)"'s new items: distinct characters with undo, the character statistics, and the text of
// a code table as `mipofc-cli export --from-table` draws it.
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <set>

#include "table/codes.h"
#include "table/tbl.h"
#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "tests/ui/window_cli.h"

namespace mipofc::test {
namespace {

class TextMenuTest : public FolderWindowTest {
 protected:
  void SetText(const QString& text) { Form->Memo1->setPlainText(text); }
  QString Memo() const { return Form->Memo1->toPlainText(); }
};

TEST_F(TextMenuTest, NewItemsFollowLoadAndPaste) {
  const QList<QAction*> expected = {Form->N9, Form->N10, Form->N11, Form->N12, Form->N13};
  EXPECT_EQ(Form->N8->actions(), expected);
  EXPECT_EQ(Form->N11->objectName(), QStringLiteral("N11"));
  EXPECT_EQ(Form->N11->text(), QStringLiteral("去除重复字(&U)"));
  EXPECT_EQ(Form->N12->objectName(), QStringLiteral("N12"));
  EXPECT_EQ(Form->N12->text(), QStringLiteral("字符统计(&S)..."));
  EXPECT_EQ(Form->N13->objectName(), QStringLiteral("N13"));
  EXPECT_EQ(Form->N13->text(), QStringLiteral("从码表载入(&B)..."));
}

TEST_F(TextMenuTest, DistinctCharactersInOrderOfFirstAppearanceAndCtrlZBringsTheTextBack) {
  struct Case {
    QString text, distinct;
  };
  const Case cases[] = {
      {QStringLiteral("你们大家好。\n你们好，大家。"), QStringLiteral("你们大家好。，")},
      // Blanks are characters; line breaks are not.
      {QStringLiteral("a b\r\nb  a\n\n"), QStringLiteral("a b")},
      {QStringLiteral("字字字"), QStringLiteral("字")},
      {QString(), QString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    SetText(c.text);
    const QString before = Memo();
    Form->N11->trigger();
    EXPECT_EQ(QString::fromStdU16String(Form->JoinedText()), c.distinct);
    EXPECT_TRUE(Dialogs->Messages.empty());
    QTest::keyClick(Form->Memo1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Memo(), before);
  }
  // A long text comes out 16 characters a line, as `mipofc-cli chars` writes them.
  std::u16string long_text = TestText(100);
  SetText(QString::fromStdU16String(long_text + long_text));
  Form->N11->trigger();
  const QStringList lines = Memo().split(QLatin1Char('\n'));
  std::set<char16_t> seen(long_text.begin(), long_text.end());
  EXPECT_EQ(Form->JoinedText().size(), seen.size());
  EXPECT_EQ(lines.size(), static_cast<qsizetype>((seen.size() + 15) / 16));
  EXPECT_EQ(lines.front().size(), 16);
}

TEST_F(TextMenuTest, DistinctCharactersRefuseACharacterOutsideThePlaneAndKeepTheText) {
  SetText(QStringLiteral("字模\n工😀具"));
  Form->N11->trigger();
  EXPECT_EQ(Memo(), QStringLiteral("字模\n工😀具"));
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_TRUE(Dialogs->Messages[0].second.contains(QStringLiteral("文本第2行第2列"))) << Dialogs->Messages[0].second.toStdString();
  EXPECT_TRUE(Dialogs->Messages[0].second.contains(QStringLiteral("U+1F600"))) << Dialogs->Messages[0].second.toStdString();
}

TEST_F(TextMenuTest, StatisticsCountCharactersDistinctOnesAndTheFilesOfTheSettings) {
  struct Case {
    int cell, limit;
    std::u16string text;
    int perFile;
  };
  const Case cases[] = {
      {3, 2, TestText(300), 64},        // 16x16 in 4K
      {3, 0, TestText(300) + u"\n字", 16},  // 16x16 in 1K
      {6, 0, TestText(9), 4},           // 32x32 in 1K
      {0, 2, std::u16string(), 256},    // 8x8 in 4K, nothing to export
  };
  for (const Case& c : cases) {
    Form->ComboBox1->setCurrentIndex(c.cell);
    Form->ComboBox1Change();
    Pick(Form->ComboBox4, c.limit);
    SetText(QString::fromStdU16String(c.text));
    Dialogs->Messages.clear();
    Form->N12->trigger();
    ASSERT_EQ(Dialogs->Messages.size(), 1u);
    std::size_t length = 0;
    std::set<char16_t> distinct;
    for (const char16_t ch : c.text)
      if (ch != u'\n') ++length, distinct.insert(ch);
    const auto files = [&](std::size_t n) { return (n + c.perFile - 1) / c.perFile; };
    const QString expected = QStringLiteral("字符：%1\n不同字符：%2\n每个文件：%3个字\n文件：%4个（去除重复字后%5个）")
                                 .arg(length)
                                 .arg(distinct.size())
                                 .arg(c.perFile)
                                 .arg(files(length))
                                 .arg(files(distinct.size()));
    // Then the plan of the scene settings (tested with the scene dialog).
    EXPECT_TRUE(Dialogs->Messages[0].second.startsWith(expected + QStringLiteral("\n场景：")))
        << Dialogs->Messages[0].second.toStdString();
    EXPECT_EQ(Dialogs->Messages[0].first, Form->TitleText);
  }
}

TEST_F(TextMenuTest, ATableLoadsAsItsCharactersInCodeOrderAndExportsAsFromTableDoes) {
  const QString table = Path(QStringLiteral("game.tbl"));
  // A blank code, a multi-character, a newline and an end entry, a code below the start.
  ASSERT_TRUE(WriteBytes(table, QStringLiteral("8140=字\r\n8142=模\r\n813F=前\r\n8143=……\r\n*FF\r\n/FE=<END>\r\n"
                                               "8144=A\r\n8146=工\r\n")
                                    .toUtf8()));
  Form->CodeStart = 0x8140;
  SetText(QStringLiteral("before"));
  Dialogs->Files.push_back(table);
  Form->N13->trigger();
  ASSERT_EQ(Dialogs->FileAsks.size(), 1u);
  EXPECT_FALSE(Dialogs->FileAsks[0].Saving);
  EXPECT_EQ(Dialogs->FileAsks[0].Filter, QStringLiteral("码表文件(*.tbl);;所有文件(*)"));
  EXPECT_EQ(QString::fromStdU16String(Form->JoinedText()), QStringLiteral("字 模 A 工"));
  EXPECT_EQ(Form->JoinedText(), TextOfTable(ReadTable(table.toStdString()), 0x8140));
  // Undone as the distinct characters are.
  Form->Memo1->undo();
  EXPECT_EQ(Memo(), QStringLiteral("before"));
  Form->Memo1->redo();

  // The banks of the loaded text are those `export --from-table` draws with the same code start.
  Pick(Form->ComboBox4, 0);
  Dialogs->Files.push_back(Path(QStringLiteral("ours.chr")));
  Form->CHR1Click();
  ASSERT_EQ(RunCli(QStringList{"export", "--from-table", table, "--code-start", "8140", "-q", "-o",
                               Path(QStringLiteral("cli.chr"))} +
                   CliSettings(*Form)),
            0);
  EXPECT_EQ(FileBytes(Path(QStringLiteral("ours.00.chr"))).size(), 1024);
  EXPECT_EQ(FileBytes(Path(QStringLiteral("ours.00.chr"))), FileBytes(Path(QStringLiteral("cli.00.chr"))));

  // Another start moves the characters.
  Form->CodeStart = 0x8142;
  Dialogs->Files.push_back(table);
  Form->N13->trigger();
  EXPECT_EQ(QString::fromStdU16String(Form->JoinedText()), QStringLiteral("模 A 工"));
}

TEST_F(TextMenuTest, ABadTableNamesItsLineAndKeepsTheText) {
  const QString table = Path(QStringLiteral("bad.tbl"));
  ASSERT_TRUE(WriteBytes(table, QByteArray("8140=A\n81=B\n8140=C\n")));
  SetText(QStringLiteral("keep"));
  Dialogs->Files.push_back(table);
  Form->N13->trigger();
  EXPECT_EQ(Memo(), QStringLiteral("keep"));
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_TRUE(Dialogs->Messages[0].second.startsWith(table + QStringLiteral("第3行："))) << Dialogs->Messages[0].second.toStdString();
  // A cancelled dialog does nothing.
  Form->N13->trigger();
  EXPECT_EQ(Memo(), QStringLiteral("keep"));
  EXPECT_EQ(Dialogs->Messages.size(), 1u);
}

}  // namespace
}  // namespace mipofc::test
