// "输出(&O)"'s new items: CA65, C header and PNG banks as the command-line tool writes them, the
// code table of the text ("码表(&T)...") with its settings in the parameter file, and the codes the
// bank viewer shows.
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QStatusBar>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextEdit>

#include "params/param_file.h"
#include "table/codes.h"
#include "table/tbl.h"
#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "tests/ui/window_cli.h"
#include "ui/bank_viewer.h"

namespace mipofc::test {
namespace {


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

class OutputMenuTest : public FolderWindowTest {
 protected:
  void SetUp() override {
    FolderWindowTest::SetUp();
    // 16x16 cells in 1K banks: 16 characters a bank, so 40 characters make three banks.
    Pick(Form->ComboBox4, 0);
    SetText(Text);
  }
  void SetText(const std::u16string& text) {
    Form->Memo1->setPlainText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
  }
  // The memo's text as a file the command-line tool reads.

  const std::u16string Text = u"字模工具点阵图形\n" + TestText(32);
};

TEST_F(OutputMenuTest, NewItemsFollowTheExistingOnesInOrder) {
  const QList<QAction*> items = Form->N14->actions();
  const QList<QAction*> expected = {Form->CHR1, Form->ASMS1, Form->CA651, Form->CH1,
                                    Form->PNG1, Form->GLY1, Form->SCN1, Form->BDF1, Form->TBL1, Form->ROM1};
  EXPECT_EQ(items, expected);
  QStringList names, captions;
  for (QAction* a : items) names << a->objectName(), captions << a->text();
  EXPECT_EQ(names, (QStringList{"CHR1", "ASMS1", "CA651", "CH1", "PNG1", "GLY1", "SCN1", "BDF1", "TBL1", "ROM1"}));
  EXPECT_EQ(captions, (QStringList{"CHR(&C)", "INC(&I)", "CA65(&A)", "C头文件(&H)", "PNG(&P)", "CHR-RAM字模(&G)...", "按场景分库(&S)...", "BDF字体(&D)...",
                                   "码表(&T)...", "写入ROM(&R)..."}));
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
  ASSERT_EQ(FileNames(Path("out")), expected);

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
  // The dialog offers the name last chosen for this format, not another format's; the folder
  // is the last export's.
  Form->CHR1Click();
  (Form.get()->*c.command)();
  ASSERT_EQ(Dialogs->FileAsks.size(), 3u);
  EXPECT_EQ(Dialogs->FileAsks[1].Folder, Path("out"));
  EXPECT_EQ(Dialogs->FileAsks[2].Folder, Path("out/font." + ext));
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatTest, ::testing::ValuesIn(Formats),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutputMenuTest, CodeTableEqualsTheCommandLineToolsAndTheTableLibrarysForEachSetting) {
  struct Case {
    int start, bytes;
    const char* startFlag;
  };
  const Case cases[] = {{0, 0, "00"}, {0x8140, 0, "8140"}, {0xF0, 2, "F0"}, {0x10, 3, "$10"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.startFlag);
    const QString ours = Path(QStringLiteral("ours-%1.tbl").arg(c.startFlag));
    const QString theirs = Path(QStringLiteral("cli-%1.tbl").arg(QString::fromLatin1(c.startFlag).remove('$')));
    Dialogs->CodeTables.push_back(TCodeTableChoice{c.start, c.bytes});
    Dialogs->Files.push_back(ours);
    Form->TBL1Click();
    ASSERT_FALSE(Dialogs->Messages.empty());
    EXPECT_TRUE(Dialogs->Messages.back().second.startsWith(QStringLiteral("生成码表："))) << Dialogs->Messages.back().second.toStdString();
    // The text's line breaks have no code in the table, and the message says how many.
    const qsizetype breaks = Form->Memo1->toPlainText().count(QLatin1Char('\n'));
    ASSERT_GT(breaks, 0);
    EXPECT_TRUE(Dialogs->Messages.back().second.endsWith(QStringLiteral("\n%1个换行没有编码：码表中没有换行项（*编码）").arg(breaks)))
        << Dialogs->Messages.back().second.toStdString();
    EXPECT_EQ(Dialogs->FileAsks.back().Filter, QStringLiteral("码表文件(*.tbl);;所有文件(*)"));
    EXPECT_EQ(Dialogs->FileAsks.back().Suffix, QStringLiteral("tbl"));
    EXPECT_EQ(Form->CodeStart, c.start);
    EXPECT_EQ(Form->CodeBytes, c.bytes);

    QStringList args{"export", TextFile(), "-q", "-o", Path("cli.chr"), "--table", theirs, "--code-start",
                     QString::fromLatin1(c.startFlag)};
    if (c.bytes) args << "--code-bytes" << QString::number(c.bytes);
    ASSERT_EQ(RunCli(args + CliSettings(*Form)), 0);
    const QByteArray bytes = FileBytes(ours);
    EXPECT_EQ(bytes, FileBytes(theirs));
    const std::u16string joined = Form->JoinedText();
    const std::string library = TableFileBytes(
        CodeTableOf(joined, PlanCodes(joined.size(), static_cast<std::uint32_t>(c.start), c.bytes)),
        TTableEncoding::Utf8, "t.tbl");
    EXPECT_EQ(bytes.toStdString(), library);
  }
  // Each dialog opened on the values chosen the time before.
  ASSERT_EQ(Dialogs->CodeTablesOffered.size(), 4u);
  EXPECT_EQ(Dialogs->CodeTablesOffered[0], (TCodeTableChoice{0, 0}));
  EXPECT_EQ(Dialogs->CodeTablesOffered[2], (TCodeTableChoice{0x8140, 0}));
  EXPECT_EQ(Dialogs->CodeTablesOffered[3], (TCodeTableChoice{0xF0, 2}));
  // The second file starts "8140=字" and goes on by one a character.
  const QString second = QString::fromUtf8(FileBytes(Path("ours-8140.tbl")));
  EXPECT_TRUE(second.startsWith(QStringLiteral("8140=字\r\n8141=模\r\n"))) << second.toStdString();
}

TEST_F(OutputMenuTest, CodesThatDoNotFitAndCharactersOutsideThePlaneWriteNoTable) {
  Dialogs->CodeTables.push_back(TCodeTableChoice{0xF0, 1});
  Dialogs->Files.push_back(Path("a.tbl"));
  Form->TBL1Click();
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_TRUE(Dialogs->Messages[0].second.startsWith(QStringLiteral("码表放不下："))) << Dialogs->Messages[0].second.toStdString();
  EXPECT_TRUE(Dialogs->FileAsks.empty());
  // Still remembered: the user corrects the bytes next time.
  EXPECT_EQ(Form->CodeStart, 0xF0);

  Form->Memo1->setPlainText(QStringLiteral("字\n模😀"));
  Dialogs->CodeTables.push_back(TCodeTableChoice{0, 0});
  Form->TBL1Click();
  ASSERT_EQ(Dialogs->Messages.size(), 2u);
  EXPECT_TRUE(Dialogs->Messages[1].second.contains(QStringLiteral("文本第2行第2列"))) << Dialogs->Messages[1].second.toStdString();
  EXPECT_TRUE(Dialogs->Messages[1].second.contains(QStringLiteral("U+1F600"))) << Dialogs->Messages[1].second.toStdString();
  EXPECT_TRUE(FileNames(Dir.path()).isEmpty());

  // A cancelled dialog changes nothing and asks no more.
  Form->TBL1Click();
  EXPECT_EQ(Dialogs->Messages.size(), 2u);
  EXPECT_EQ(Form->CodeStart, 0);
}

// An output over the loaded text file, the font file or another output: a message names both,
// and nothing is written.
TEST_F(OutputMenuTest, OutputsOverTheFilesInUseWriteNothing) {
  const QString text = Path(QStringLiteral("script.00.chr"));
  ASSERT_TRUE(WriteBytes(text, "字模"));
  Form->LoadTextFiles({text});
  Dialogs->CodeTables.push_back(TCodeTableChoice{0, 0});
  Dialogs->Files.push_back(text);
  Form->TBL1Click();
  Dialogs->Files.push_back(Path(QStringLiteral("script.chr")));
  Form->CHR1Click();
  ASSERT_EQ(Dialogs->Messages.size(), 2u);
  const QString expected = QStringLiteral("文本文件和%1是同一个文件：") + QFile::encodeName(text) + QStringLiteral("\n没有写入任何文件。");
  EXPECT_EQ(Dialogs->Messages[0].second, expected.arg(QStringLiteral("码表文件"))) << Dialogs->Messages[0].second.toStdString();
  EXPECT_EQ(Dialogs->Messages[1].second, expected.arg(QStringLiteral("字模文件"))) << Dialogs->Messages[1].second.toStdString();
  EXPECT_EQ(FileBytes(text), "字模");
  EXPECT_EQ(FileNames(Dir.path()), QStringList{QStringLiteral("script.00.chr")});
}

TEST_F(OutputMenuTest, CodeSettingsGoIntoTheParameterFileAndComeBack) {
  Dialogs->CodeTables.push_back(TCodeTableChoice{0x8140, 2});
  Form->TBL1Click();  // the save dialog is cancelled; the settings stay
  const QString ini = Path(QStringLiteral("p.ini"));
  Dialogs->Files.push_back(ini);
  Form->N5Click();
  TOptionValues stored;
  LoadParamFile(QFile::encodeName(ini).toStdString(), stored);
  EXPECT_EQ(stored.CodeStart, 0x8140);
  EXPECT_EQ(stored.CodeBytes, 2);

  // A fresh window that opens the file offers them in its dialog.
  auto dialogs = std::make_unique<TScriptedDialogs>();
  TScriptedDialogs* seen = dialogs.get();
  TForm1 other(std::move(dialogs));
  other.Timer1->stop();
  seen->Files.push_back(ini);
  other.N3Click();
  EXPECT_EQ(other.CodeStart, 0x8140);
  EXPECT_EQ(other.CodeBytes, 2);
  other.TBL1Click();
  ASSERT_EQ(seen->CodeTablesOffered.size(), 1u);
  EXPECT_EQ(seen->CodeTablesOffered[0], (TCodeTableChoice{0x8140, 2}));
}

TEST_F(OutputMenuTest, ViewerShowsEachCharactersCodeAsTheTableGivesIt) {
  Dialogs->CodeTables.push_back(TCodeTableChoice{0x8140, 0});
  Form->TBL1Click();
  ASSERT_EQ(Tick(), 1);
  Form->N18->trigger();
  TViewer* viewer = Form->Viewer;
  ASSERT_NE(viewer, nullptr);
  ASSERT_EQ(viewer->Capacity(), 16);
  // Bank 1, slot 0x00 holds the first tile of character 16 of the text (blocks of 2x2 tiles).
  viewer->ShowBank(1);
  EXPECT_EQ(viewer->CodeAt(false, 0, 0), QStringLiteral("编码 8150"));
  EXPECT_EQ(viewer->CodeAt(true, 17, 1), QStringLiteral("编码 8151"));
  // What the viewer says is the code the table file gives that character.
  const std::u16string joined = Form->JoinedText();
  const auto table = CodeTableOf(joined, PlanCodes(joined.size(), 0x8140, 0));
  EXPECT_EQ(QStringLiteral("编码 ") + QString::fromStdString(CodeHex(table[17].Code)), viewer->CodeAt(true, 17, 1));
  // Hovering shows it at the right of the status bar, beside the unchanged hover text.
  QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), viewer->Image4->mapToGlobal(QPointF(1, 1)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewer->Image4, &move);
  EXPECT_EQ(viewer->LCode->text(), QStringLiteral("编码 8150"));
  EXPECT_TRUE(viewer->ViewerStatus->currentMessage().startsWith(QStringLiteral("库 1  槽 00")));
  // A blank slot has no code; codes that do not fit say so.
  viewer->ShowBank(2);
  EXPECT_EQ(viewer->CodeAt(false, 127, 127), QString());
  Dialogs->CodeTables.push_back(TCodeTableChoice{0xFF, 1});
  Form->TBL1Click();
  ASSERT_EQ(Tick(), 1);
  EXPECT_EQ(viewer->CodeAt(false, 0, 0), QStringLiteral("编码 超出范围"));
  Dialogs->CodeTables.push_back(TCodeTableChoice{0x10, 2});
  Form->TBL1Click();
  ASSERT_EQ(Tick(), 1);
  EXPECT_EQ(viewer->CodeAt(false, 0, 0), QStringLiteral("编码 0030"));
}

}  // namespace
}  // namespace mipofc::test
