// "输出(&O)"'s new items: CA65, C header and PNG banks as the command-line tool writes them.
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextEdit>

#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "tests/ui/window_cli.h"

namespace mipofc::test {
namespace {

QStringList Entries(const QString& folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); }

// 0x00BBGGRR colours as --palette's RRGGBB list.
QString PaletteFlag(const TPalette& palette) {
  QStringList parts;
  for (const TColor c : palette)
    parts << QStringLiteral("%1%2%3")
                 .arg(c & 0xFF, 2, 16, QLatin1Char('0'))
                 .arg((c >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
                 .arg((c >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
  return parts.join(QLatin1Char(','));
}

class OutputMenuTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(Dir.isValid());
    // 16x16 cells in 1K banks: 16 characters a bank, so 40 characters make three banks.
    Pick(Form->ComboBox4, 0);
    SetText(Text);
  }
  void SetText(const std::u16string& text) {
    Form->Memo1->setPlainText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
  }
  QString Path(const QString& name) const { return Dir.filePath(name); }
  // The memo's text as a file the command-line tool reads.
  QString TextFile() {
    const QString path = Path(QStringLiteral("text.txt"));
    EXPECT_TRUE(WriteBytes(path, Form->Memo1->toPlainText().toUtf8()));
    return path;
  }

  const std::u16string Text = u"字模工具点阵图形\n" + TestText(32);
  QTemporaryDir Dir;
};

TEST_F(OutputMenuTest, NewItemsFollowTheExistingOnesInOrder) {
  const QList<QAction*> items = Form->N14->actions();
  const QList<QAction*> expected = {Form->CHR1, Form->ASMS1, Form->CA651, Form->CH1, Form->PNG1};
  EXPECT_EQ(items, expected);
  QStringList names, captions;
  for (QAction* a : items) names << a->objectName(), captions << a->text();
  EXPECT_EQ(names, (QStringList{"CHR1", "ASMS1", "CA651", "CH1", "PNG1"}));
  EXPECT_EQ(captions, (QStringList{"CHR(&C)", "INC(&I)", "CA65(&A)", "C头文件(&H)", "PNG(&P)"}));
}

struct FormatCase {
  const char* name;
  void (TForm1::*command)();
  const char* extension;
  const char* filter;
  const char* messageEnd;
};

const FormatCase Formats[] = {
    {"ca65", &TForm1::CA651Click, "s", "ca65汇编文件(*.s);;所有文件(*)", "个s文件"},
    {"c", &TForm1::CH1Click, "h", "C头文件(*.h);;所有文件(*)", "个h文件"},
    {"png", &TForm1::PNG1Click, "png", "PNG图片(*.png);;所有文件(*)", "个png文件"},
};

class FormatTest : public OutputMenuTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(FormatTest, WritesTheBanksAsTheCommandLineToolDoesWithTheMessageOfItsKind) {
  const FormatCase& c = GetParam();
  const QString ext = QString::fromLatin1(c.extension);
  // A preview colour of its own: the PNG's palette is the preview page's.
  Dialogs->Colours.push_back(QColor(0x12, 0x34, 0x56));
  Form->color2Click();
  ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("out")));
  ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("cli")));
  Dialogs->Files.push_back(Path("out/font." + ext));
  (Form.get()->*c.command)();

  ASSERT_EQ(Dialogs->FileAsks.size(), 1u);
  EXPECT_TRUE(Dialogs->FileAsks[0].Saving);
  EXPECT_EQ(Dialogs->FileAsks[0].Filter, QString::fromUtf8(c.filter));
  EXPECT_EQ(Dialogs->FileAsks[0].Suffix, ext);
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("生成3") + QString::fromUtf8(c.messageEnd));
  const QStringList expected = {"font.00." + ext, "font.01." + ext, "font.02." + ext};
  ASSERT_EQ(Entries(Path("out")), expected);

  Form->ReadPalette();
  EXPECT_EQ(Form->PreviewPalette[2], 0x563412u);
  ASSERT_EQ(RunCli(QStringList{"export", TextFile(), "-q", "-o", Path("cli/font." + ext), "--palette",
                               PaletteFlag(Form->PreviewPalette)} +
                   CliSettings(*Form)),
            0);
  for (const QString& name : expected) {
    EXPECT_FALSE(FileBytes(Path("out/" + name)).isEmpty()) << name.toStdString();
    EXPECT_EQ(FileBytes(Path("out/" + name)), FileBytes(Path("cli/" + name))) << name.toStdString();
  }
  // The dialog offers the name last chosen for this format, not another format's.
  Form->CHR1Click();
  (Form.get()->*c.command)();
  ASSERT_EQ(Dialogs->FileAsks.size(), 3u);
  EXPECT_EQ(Dialogs->FileAsks[1].Folder, QString());
  EXPECT_EQ(Dialogs->FileAsks[2].Folder, Path("out/font." + ext));
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatTest, ::testing::ValuesIn(Formats),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mipofc::test
