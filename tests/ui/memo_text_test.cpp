// The memo keeps every character: what the window tabulates and counts is the text loaded or
// typed, also where a rich-text document rewrites characters (U+00A0, U+2028, U+2029, U+FEFF,
// U+FDD0 ...), as `mipofc-cli` reads the same file.
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "tests/ui/window_cli.h"
#include "ui/memo_text.h"

namespace mipofc::test {
namespace {

// Every character a text document holds otherwise than given, among ideographs, with line breaks.
const std::u16string Special = u"你\u00A0好 大\u2028家\u2029们\uFEFF中\uFDD0文\uFDD1字\uFFFC模\u00AD工\u200B具\n"
                               u"测\u0085试\u00A0\u00A0一\uFDEF二 三";

QString Qs(const std::u16string& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

using MemoTextTest = FolderWindowTest;

TEST_F(MemoTextTest, TableAndStatisticsOfALoadedFileAreTheCommandLineToolsByteForByte) {
  const QString file = Path(QStringLiteral("special.txt"));
  ASSERT_TRUE(WriteUtf8(file, Special));
  Form->LoadTextFiles({file});
  EXPECT_EQ(MemoText(*Form->Memo1), Qs(Special));

  Dialogs->CodeTables.push_back(TCodeTableChoice{0x8000, 0});
  Dialogs->Files.push_back(Path(QStringLiteral("ours.tbl")));
  Form->TBL1Click();
  ASSERT_EQ(RunCli(QStringList{"export", file, "-q", "-o", Path("cli.chr"), "--table", Path("cli.tbl"),
                               "--code-start", "8000"} +
                   CliSettings(*Form)),
            0);
  const QByteArray ours = FileBytes(Path(QStringLiteral("ours.tbl")));
  EXPECT_FALSE(ours.isEmpty());
  EXPECT_EQ(ours, FileBytes(Path(QStringLiteral("cli.tbl"))));
  EXPECT_TRUE(ours.contains(QStringLiteral("8001=\u00A0").toUtf8()));

  // 字符统计 counts what `chars --counts` counts: one line per distinct character.
  ASSERT_EQ(RunCli({"chars", file, "--counts", "-q", "-o", Path("counts.txt")}), 0);
  const QStringList lines = QString::fromUtf8(FileBytes(Path("counts.txt"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  qsizetype characters = 0;
  for (const QString& line : lines) characters += line.section(QLatin1Char('\t'), -1).toLongLong();
  EXPECT_TRUE(Form->CharStatsText().startsWith(
      QStringLiteral("字符：%1\n不同字符：%2\n").arg(characters).arg(lines.size())))
      << Form->CharStatsText().toStdString();
}

TEST_F(MemoTextTest, EditsKeepTheCharactersTheyDoNotTouch) {
  SetMemoText(*Form->Memo1, Qs(Special));
  QTextEdit& memo = *Form->Memo1;
  struct Case {
    const char* what;
    std::function<void(QTextCursor&)> edit;
    std::function<void(std::u16string&)> expected;
  };
  const Case cases[] = {
      {"typed at the start", [](QTextCursor& c) { c.insertText(QStringLiteral("新")); },
       [](std::u16string& t) { t.insert(0, u"新"); }},
      {"a character deleted after U+00A0", [](QTextCursor& c) { c.setPosition(2); c.deleteChar(); },
       [](std::u16string& t) { t.erase(2, 1); }},
      {"Enter typed before U+FDD0",
       [](QTextCursor& c) { c.setPosition(10); c.insertText(QStringLiteral("\n")); },
       [](std::u16string& t) { t.insert(10, u"\n"); }},
      {"bold over U+2028 and U+2029",
       [](QTextCursor& c) {
         c.setPosition(3);
         c.setPosition(8, QTextCursor::KeepAnchor);
         QTextCharFormat bold;
         bold.setFontWeight(QFont::Bold);
         c.mergeCharFormat(bold);
       },
       [](std::u16string&) {}},
      {"U+00A0 pasted at the end",
       [](QTextCursor& c) { c.movePosition(QTextCursor::End); c.insertText(QStringLiteral("\u00A0末")); },
       [](std::u16string& t) { t += u"\u00A0末"; }},
  };
  std::u16string expected = Special;
  for (const Case& c : cases) {
    QTextCursor cursor(memo.document());
    c.edit(cursor);
    c.expected(expected);
    EXPECT_EQ(MemoText(memo), Qs(expected)) << c.what;
  }
  // One edit of the whole text, as 去除重复字 makes, is taken back by Ctrl+Z.
  const QString before = MemoText(memo);
  Form->ReplaceMemoText(QStringLiteral("你\u00A0好"));
  EXPECT_EQ(MemoText(memo), QStringLiteral("你\u00A0好"));
  EXPECT_EQ(Form->JoinedText(), u"你\u00A0好");
  memo.undo();
  // Every character comes back, except that the document gives back its block separators (the
  // frame marks U+FDD0 / U+FDD1 among them) as line breaks.
  const auto withoutBreaks = [](QString t) {
    for (const char16_t c : {u'\n', u'\u2029', u'\uFDD0', u'\uFDD1'}) t.remove(QChar(c));
    return t;
  };
  EXPECT_EQ(withoutBreaks(MemoText(memo)), withoutBreaks(before));
  EXPECT_EQ(MemoText(memo).size(), before.size());
}

}  // namespace
}  // namespace mipofc::test
