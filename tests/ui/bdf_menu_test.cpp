// "BDF字体(&D)...": the text's glyphs as a BDF font, as `mipofc-cli export --format bdf` writes it,
// and the banks drawn back from it through 字体文件(&L)....
#include <QDir>
#include <QSet>
#include <QTextEdit>

#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "tests/ui/window_cli.h"

namespace mipofc::test {
namespace {

class BdfMenuTest : public FolderWindowTest {};

TEST_F(BdfMenuTest, WritesTheFontAndTheFontDrawsTheSameBanks) {
  Pick(Form->ComboBox4, 0);  // 1K banks
  Form->Memo1->setPlainText(QStringLiteral("字模字模工具\n") + QString::fromStdU16String(TestText(20)));
  ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("a")));
  ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("b")));
  Dialogs->Files.push_back(Path(QStringLiteral("glyphs.bdf")));
  Form->BDF1->trigger();
  ASSERT_EQ(Dialogs->FileAsks.size(), 1u);
  EXPECT_EQ(Dialogs->FileAsks[0].Filter, QStringLiteral("BDF字体(*.bdf);;所有文件(*)"));
  EXPECT_EQ(Dialogs->FileAsks[0].Suffix, QStringLiteral("bdf"));
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  const QString joined = Form->Memo1->toPlainText().remove(QLatin1Char('\n'));
  const auto distinct = QSet<QChar>(joined.begin(), joined.end()).size();
  EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("生成BDF字体：%1个字符").arg(distinct));

  const QString text = Path(QStringLiteral("text.txt"));
  ASSERT_TRUE(WriteBytes(text, Form->Memo1->toPlainText().toUtf8()));
  ASSERT_EQ(RunCli(QStringList{"export", text, "-q", "--format", "bdf", "-o", Path("cli.bdf")} + CliSettings(*Form)), 0);
  EXPECT_EQ(FileBytes(Path(QStringLiteral("glyphs.bdf"))), FileBytes(Path(QStringLiteral("cli.bdf"))));

  Dialogs->Files.push_back(Path(QStringLiteral("a/font.chr")));
  Form->CHR1Click();
  Dialogs->Files.push_back(Path(QStringLiteral("glyphs.bdf")));
  Form->N21->trigger();
  Dialogs->Files.push_back(Path(QStringLiteral("b/font.chr")));
  Form->CHR1Click();
  const QStringList banks = QDir(Path(QStringLiteral("a"))).entryList(QDir::Files, QDir::Name);
  ASSERT_EQ(banks.size(), 2);
  for (const QString& bank : banks)
    EXPECT_EQ(FileBytes(Path("b/" + bank)), FileBytes(Path("a/" + bank))) << bank.toStdString();
}

TEST_F(BdfMenuTest, AnEmptyTextWritesNothing) {
  Form->Memo1->clear();
  Form->BDF1->trigger();
  EXPECT_TRUE(Dialogs->FileAsks.empty());
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("文本为空：没有要写入BDF字体的字符"));
}

}  // namespace
}  // namespace mipofc::test
