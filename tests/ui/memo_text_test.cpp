// The memo keeps every character, also those a text document rewrites (U+00A0, U+2028, U+2029,
// U+FEFF, U+FDD0 ...): the window's table and counts are the command-line tool's of the same file.
#include <QTextCursor>
#include <QTextEdit>

#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "tests/ui/window_cli.h"
#include "ui/memo_text.h"

namespace mipofc::test {
namespace {

const QString Special = QStringLiteral("你\u00A0好 大\u2028家\u2029们\uFEFF中\uFDD0文\uFDD1字\uFFFC模\u00AD工\u200B具\n"
                                       "测\u0085试\u00A0\u00A0一\uFDEF二");

using MemoTextTest = FolderWindowTest;

TEST_F(MemoTextTest, TableAndCountsOfALoadedFileAreTheCommandLineToolsByteForByte) {
  const QString file = Path(QStringLiteral("special.txt"));
  ASSERT_TRUE(WriteUtf8(file, Special.toStdU16String()));
  Form->LoadTextFiles({file});
  EXPECT_EQ(MemoText(*Form->Memo1), Special);
  Dialogs->CodeTables.push_back(TCodeTableChoice{0x8000, 0});
  Dialogs->Files.push_back(Path(QStringLiteral("ours.tbl")));
  Form->TBL1Click();
  ASSERT_EQ(RunCli(QStringList{"export", file, "-q", "-o", Path("cli.chr"), "--table", Path("cli.tbl"),
                               "--code-start", "8000"} + CliSettings(*Form)), 0);
  const QByteArray ours = FileBytes(Path(QStringLiteral("ours.tbl")));
  EXPECT_TRUE(ours.contains(QStringLiteral("8001=\u00A0").toUtf8()));
  EXPECT_EQ(ours, FileBytes(Path(QStringLiteral("cli.tbl"))));

  // 字符统计 counts what `chars --counts` lists: a line per distinct character and its count.
  ASSERT_EQ(RunCli({"chars", file, "--counts", "-q", "-o", Path("counts.txt")}), 0);
  const QStringList lines = QString::fromUtf8(FileBytes(Path("counts.txt"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  qsizetype characters = 0;
  for (const QString& line : lines) characters += line.section(QLatin1Char('\t'), -1).toLongLong();
  EXPECT_TRUE(Form->CharStatsText().startsWith(QStringLiteral("字符：%1\n不同字符：%2\n").arg(characters).arg(lines.size())))
      << Form->CharStatsText().toStdString();
}

TEST_F(MemoTextTest, EditsKeepTheCharactersTheyDoNotTouch) {
  SetMemoText(*Form->Memo1, Special);
  QString expected = Special;
  QTextCursor cursor(Form->Memo1->document());
  cursor.insertText(QStringLiteral("新"));  // typed at the start
  expected.prepend(QStringLiteral("新"));
  cursor.setPosition(12);
  cursor.insertText(QStringLiteral("\n"));  // Enter before U+FDD0
  expected.insert(12, QLatin1Char('\n'));
  cursor.setPosition(3);
  cursor.setPosition(9, QTextCursor::KeepAnchor);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  cursor.mergeCharFormat(bold);  // a change of format over U+2028 and U+2029 changes no character
  cursor.setPosition(3);
  cursor.deleteChar();  // the U+00A0's neighbour
  expected.remove(3, 1);
  EXPECT_EQ(MemoText(*Form->Memo1), expected);
}

}  // namespace
}  // namespace mipofc::test
