// The text page: what the rest of the program reads from the memo, typing through an input
// method, pasting and loading files.
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>

#include "tests/ui/scripted_dialogs.h"

namespace mipofc::test {
namespace {

using JoinedTextTest = WindowTest;
using TextLoadTest = WindowTest;

std::u16string U16(const QString& s) { return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), s.size()); }

TEST_F(JoinedTextTest, StartTextIsNineLinesEndToEnd) {
  std::u16string expected;
  for (char16_t last : std::u16string(u"ABCDEFHIJ")) expected += std::u16string(u"你们大家好。789") + last;
  EXPECT_EQ(Form->Memo1->document()->blockCount(), 9);
  EXPECT_EQ(Form->JoinedText(), expected);
  EXPECT_EQ(Form->JoinedText().size(), 90u);
}

TEST_F(JoinedTextTest, LineBreaksContributeNothing) {
  const std::pair<QString, std::u16string> cases[] = {
      {QStringLiteral("AB\nCD"), u"ABCD"},
      {QString(), u""},
      {QStringLiteral("\n\n"), u""},
      {QStringLiteral("一\r\n二\u2029三"), u"一二三"},
      {QString::fromUtf16(u"A\U00020000B"), u"A\xD840\xDC00" u"B"},  // two code units for one character
  };
  for (const auto& [memo, joined] : cases) {
    Form->Memo1->setPlainText(memo);
    EXPECT_EQ(Form->JoinedText(), joined) << memo.toStdString();
  }
}

TEST_F(JoinedTextTest, WrappingChangesNothing) {
  const QString line = QString(QStringLiteral("你们大家好。")).repeated(30);
  Form->Memo1->setPlainText(line);
  Form->Memo1->resize(120, 300);
  Form->show();
  EXPECT_EQ(Form->JoinedText(), U16(line));
}

TEST_F(JoinedTextTest, ChineseTypedThroughAnInputMethodArrives) {
  Form->Memo1->clear();
  Form->Timer1Timer();
  // A composition is under way first: nothing is in the text until it is committed.
  QInputMethodEvent preedit(QStringLiteral("nihao"), {});
  QCoreApplication::sendEvent(Form->Memo1, &preedit);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("你好"));
  QCoreApplication::sendEvent(Form->Memo1, &commit);
  QInputMethodEvent more;
  more.setCommitString(QStringLiteral("世界"));
  QCoreApplication::sendEvent(Form->Memo1, &more);
  EXPECT_EQ(Form->JoinedText(), u"你好世界");
  EXPECT_TRUE(Form->OptionsChanged);
  EXPECT_EQ(Tick(), 1);
}

TEST_F(JoinedTextTest, PasteGoesToTheCaretReplacingTheSelection) {
  Form->Memo1->setPlainText(QStringLiteral("ABCD"));
  QTextCursor cursor = Form->Memo1->textCursor();
  cursor.setPosition(1);
  cursor.setPosition(3, QTextCursor::KeepAnchor);
  Form->Memo1->setTextCursor(cursor);
  QGuiApplication::clipboard()->setText(QStringLiteral("粘贴"));
  Form->Timer1Timer();
  Form->N10->trigger();
  EXPECT_EQ(Form->JoinedText(), u"A粘贴D");
  EXPECT_TRUE(Form->OptionsChanged);
}

class TempFiles {
 public:
  QString Write(const char* name, const QByteArray& bytes) {
    const QString path = dir_.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) ADD_FAILURE() << "cannot write " << name;
    return path;
  }
  QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

 private:
  QTemporaryDir dir_;
};

TEST_F(TextLoadTest, LoadsEveryTextKindIntoTheMemo) {
  TempFiles files;
  const struct {
    const char* name;
    QByteArray bytes;
    std::u16string joined;
  } cases[] = {
      {"utf8.txt", QByteArray("\xE4\xBD\xA0\xE5\xA5\xBD\r\nAB\r\n"), u"你好AB"},
      {"bom.txt", QByteArray("\xEF\xBB\xBF\xE4\xB8\xAD\xE6\x96\x87"), u"中文"},
      {"utf16.txt", QByteArray("\xFF\xFE\x60\x4F\x0D\x00\x0A\x00\x7D\x59", 10), u"你好"},
      {"gbk.txt", QByteArray("\xC4\xE3\xBA\xC3\r\nGB"), u"你好GB"},
      {"doc.rtf", QByteArray("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0 SimSun;}}\\f0 \\'c4\\'e3\\par X\\u22909?}"),
       u"你X好"},
  };
  for (const auto& c : cases) {
    Dialogs->Files.push_back(files.Write(c.name, c.bytes));
    Form->Timer1Timer();
    Form->N9->trigger();
    EXPECT_EQ(Form->JoinedText(), c.joined) << c.name;
    EXPECT_TRUE(Form->OptionsChanged) << c.name;
    EXPECT_TRUE(Dialogs->Messages.empty()) << c.name;
  }
  EXPECT_TRUE(Dialogs->FileFilters.at(0).contains(QStringLiteral("*.txt")));
}

TEST_F(TextLoadTest, FailedLoadReportsAndKeepsTheMemo) {
  TempFiles files;
  const struct {
    QString path;
    QString reason;
  } cases[] = {
      {files.Write("binary.bin", QByteArray("\x00\x01\x02\x03\xFF\xFE\x00\x00\x10", 9)),
       QStringLiteral("binary.bin：不是文本：UTF-8和GBK都读不出第1行")},
      {files.Path("missing.txt"), QStringLiteral("missing.txt：文件或文件夹不存在")},
  };
  for (const auto& c : cases) {
    Dialogs->Messages.clear();
    const std::u16string before = Form->JoinedText();
    Form->Timer1Timer();
    Dialogs->Files.push_back(c.path);
    Form->N9->trigger();
    EXPECT_EQ(Form->JoinedText(), before);
    EXPECT_FALSE(Form->OptionsChanged);
    ASSERT_EQ(Dialogs->Messages.size(), 1u);
    EXPECT_EQ(Dialogs->Messages[0].first, Form->TitleText);
    EXPECT_TRUE(Dialogs->Messages[0].second.contains(c.reason)) << Dialogs->Messages[0].second.toStdString();
  }
}

TEST_F(TextLoadTest, CancelledDialogChangesNothing) {
  const std::u16string before = Form->JoinedText();
  Form->Timer1Timer();
  Form->N9->trigger();
  EXPECT_EQ(Dialogs->FileFilters.size(), 1u);
  EXPECT_EQ(Form->JoinedText(), before);
  EXPECT_FALSE(Form->OptionsChanged);
}

}  // namespace
}  // namespace mipofc::test
