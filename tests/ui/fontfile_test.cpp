// "字体(&Z)": the font dialog, font files and the faces of a collection, back to the family, and
// the font file through the parameter file and the command-line tool's --params.
#include <QDir>
#include <QMenuBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextEdit>
#include <filesystem>

#include "params/param_file.h"
#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "ui/widgets.h"

namespace mipofc::test {
namespace {

const QString TestFontPath = QStringLiteral(MIPOFC_UI_TEST_FONT);
const QString ZenHei = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc");
const QString FontFileFilter = QStringLiteral("字体文件(*.ttf *.otf *.ttc *.otc *.bdf *.pcf *.pcf.gz)");

class FontFileTest : public FolderWindowTest {
 protected:
  void ChooseFontFile(const QString& path) {
    Dialogs->Files.push_back(path);
    Form->N21->trigger();
  }
  // Exports the memo's text through CHR(&C) into folder/font.chr; the files written, by name.
  QStringList ExportChr(const QString& folder) {
    QDir().mkpath(Path(folder));
    Dialogs->Files.push_back(Path(folder + "/font.chr"));
    Form->CHR1Click();
    return QDir(Path(folder)).entryList(QDir::Files, QDir::Name);
  }
};

TEST_F(FontFileTest, FontMenuHoldsItsThreeItemsBeforeHelp) {
  EXPECT_EQ(Form->N19->title(), QStringLiteral("字体(&Z)"));
  EXPECT_EQ(Form->N19->actions(), (QList<QAction*>{Form->N20, Form->N21, Form->N22}));
  EXPECT_EQ(Form->N20->text(), QStringLiteral("选择字体(&F)..."));
  EXPECT_EQ(Form->N21->text(), QStringLiteral("字体文件(&L)..."));
  EXPECT_EQ(Form->N22->text(), QStringLiteral("系统字体(&S)"));
  const QList<QAction*> menus = Form->menuBar()->actions();
  EXPECT_GT(menus.indexOf(Form->N19->menuAction()), menus.indexOf(Form->N14->menuAction()));
  EXPECT_EQ(menus.indexOf(Form->N19->menuAction()) + 1, menus.indexOf(Form->N15->menuAction()));
}

TEST_F(FontFileTest, ChooseFontIsWhatTheFontButtonDoes) {
  QFont chosen(QStringLiteral("黑体"));
  chosen.setPointSize(14);
  chosen.setBold(true);
  Dialogs->Fonts.push_back(chosen);
  Form->N20->trigger();
  ASSERT_EQ(Dialogs->FontsOffered.size(), 1u);
  EXPECT_EQ(Dialogs->FontsOffered[0].family(), QStringLiteral("宋体"));
  EXPECT_EQ(Form->BfFontFont.Name, "黑体");
  EXPECT_TRUE(Form->BfFontFont.Bold);
  EXPECT_EQ(Form->TBs->value(), 14);
  EXPECT_EQ(Form->BfFont->text(), QStringLiteral("黑体"));
  EXPECT_TRUE(Form->OptionsChanged);
}

TEST_F(FontFileTest, BitmapFontFileIsUsedAsTheCommandLineToolUsesIt) {
  Form->TBs->setValue(12);
  ChooseFontFile(TestFontPath);
  ASSERT_EQ(Dialogs->FileAsks.size(), 1u);
  EXPECT_FALSE(Dialogs->FileAsks[0].Saving);
  EXPECT_EQ(Dialogs->FileAsks[0].Filter, FontFileFilter);
  ASSERT_TRUE(Dialogs->Messages.empty()) << Dialogs->Messages[0].second.toStdString();
  EXPECT_TRUE(Dialogs->ChoicesOffered.empty());  // one face: nothing to choose
  EXPECT_EQ(Form->BfFontFont.File, TestFontPath.toStdString());
  EXPECT_EQ(Form->BfFontFont.FaceIndex, 0);
  EXPECT_EQ(Form->BfFontFont.Name, "宋体");  // the family stays for 系统字体
  EXPECT_EQ(Form->BfFontFont.Size, 12);
  EXPECT_EQ(Form->BfFont->text(), QStringLiteral("Mipo Test"));
  EXPECT_EQ(Form->BfFont->toolTip(), QStringLiteral("Mipo Test\n") + TestFontPath + QStringLiteral("\n点阵: 16 像素 (12 磅)"));
  EXPECT_TRUE(Form->OptionsChanged);

  // The size still follows the slider, and the file stays in use.
  Form->TBs->setValue(13);
  EXPECT_EQ(Form->BfFontFont.Size, 13);
  EXPECT_EQ(Form->BfFontFont.File, TestFontPath.toStdString());
  Form->TBs->setValue(12);

  // The banks are the command-line tool's with --font-file, a character the font lacks included:
  // it draws the font's own default glyph, never another face's.
  const std::u16string text = TestText(150) + u"龍";
  Form->Memo1->setPlainText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
  const QStringList files = ExportChr(QStringLiteral("window"));
  ASSERT_EQ(files.size(), 3);
  ASSERT_TRUE(WriteUtf8(Path(QStringLiteral("text.txt")), text));
  QDir().mkpath(Path(QStringLiteral("cli")));
  ASSERT_EQ(RunCli({"export", Path("text.txt"), "-q", "-o", Path("cli/font.chr"), "--font-file", TestFontPath,
                    "--size", "12"}),
            0);
  for (const QString& name : files)
    EXPECT_EQ(FileBytes(Path("window/" + name)), FileBytes(Path("cli/" + name))) << name.toStdString();
}

TEST_F(FontFileTest, CollectionAsksForItsFaceByName) {
  if (!QFile::exists(ZenHei)) GTEST_SKIP() << "needs fonts-wqy-zenhei";
  const TFont before = Form->BfFontFont;
  Dialogs->Choices.push_back(std::nullopt);  // cancelled: nothing changes
  ChooseFontFile(ZenHei);
  ASSERT_EQ(Dialogs->ChoicesOffered.size(), 1u);
  EXPECT_EQ(Dialogs->ChoicesOffered[0],
            (QStringList{"WenQuanYi Zen Hei Regular", "WenQuanYi Zen Hei Mono Regular",
                         "WenQuanYi Zen Hei Sharp Regular"}));
  EXPECT_TRUE(Form->BfFontFont.SameFace(before));

  Dialogs->Choices.push_back(2);
  ChooseFontFile(ZenHei);
  EXPECT_EQ(Form->BfFontFont.File, ZenHei.toStdString());
  EXPECT_EQ(Form->BfFontFont.FaceIndex, 2);
  EXPECT_EQ(Form->BfFont->text(), QStringLiteral("WenQuanYi Zen Hei Sharp"));
  EXPECT_EQ(Form->BfFont->toolTip(),
            QStringLiteral("WenQuanYi Zen Hei Sharp\n") + ZenHei + QStringLiteral(
                         "\n点阵: 12 像素 (9 磅), 13 像素 (10 磅), 14 像素 (无对应字号), 15 像素 (11 磅), "
                         "16 像素 (12 磅)"));
  // The dialog opens in the folder of the font file in use.
  Dialogs->Files.push_back(std::nullopt);
  Form->N21->trigger();
  EXPECT_EQ(Dialogs->FileAsks.back().Folder, QStringLiteral("/usr/share/fonts/truetype/wqy"));

  // An outline face without strikes: the tooltip is the name and the file.
  Dialogs->Choices.push_back(0);
  ChooseFontFile(ZenHei);
  EXPECT_EQ(Form->BfFont->text(), QStringLiteral("WenQuanYi Zen Hei"));
  EXPECT_EQ(Form->BfFont->toolTip(), QStringLiteral("WenQuanYi Zen Hei\n") + ZenHei);
}

TEST_F(FontFileTest, AFileThatHoldsNoFontIsReportedAndChangesNothing) {
  const QString notAFont = Path(QStringLiteral("notes.ttf"));
  ASSERT_TRUE(WriteBytes(notAFont, "not a font at all"));
  for (const QString& file : {notAFont, Path(QStringLiteral("missing.bdf"))}) {
    Dialogs->Messages.clear();
    Form->Timer1Timer();
    ChooseFontFile(file);
    ASSERT_EQ(Dialogs->Messages.size(), 1u) << file.toStdString();
    EXPECT_EQ(Dialogs->Messages[0].first, Form->TitleText);
    EXPECT_TRUE(Dialogs->Messages[0].second.startsWith(file + QStringLiteral("：")))
        << Dialogs->Messages[0].second.toStdString();
    EXPECT_EQ(Form->BfFontFont.File, "");
    EXPECT_EQ(Form->BfFont->text(), QStringLiteral("宋体"));
    EXPECT_FALSE(Form->OptionsChanged);
  }
}

TEST_F(FontFileTest, SystemFontGoesBackToTheFamilyOfTheFontDialog) {
  QFont chosen(QStringLiteral("黑体"));
  chosen.setPointSize(11);
  Dialogs->Fonts.push_back(chosen);
  Form->N20->trigger();
  ChooseFontFile(TestFontPath);
  ASSERT_EQ(Form->BfFont->text(), QStringLiteral("Mipo Test"));
  Form->Timer1Timer();
  Form->N22->trigger();
  EXPECT_EQ(Form->BfFontFont.File, "");
  EXPECT_EQ(Form->BfFontFont.FaceIndex, 0);
  EXPECT_EQ(Form->BfFontFont.Name, "黑体");
  EXPECT_EQ(Form->BfFontFont.Size, 11);
  EXPECT_EQ(Form->BfFont->text(), QStringLiteral("黑体"));
  EXPECT_EQ(Form->BfFont->toolTip(), QStringLiteral("黑体"));
  EXPECT_TRUE(Form->OptionsChanged);
  // Choosing a family in the font dialog also ends the font file.
  ChooseFontFile(TestFontPath);
  Dialogs->Fonts.push_back(chosen);
  Form->BfFont->click();
  EXPECT_EQ(Form->BfFontFont.File, "");
}

TEST_F(FontFileTest, TheParameterFileKeepsTheFontFileForTheWindowAndTheCommandLineTool) {
  ChooseFontFile(TestFontPath);
  Form->TBs->setValue(12);
  const QString ini = Path(QStringLiteral("font.ini"));
  Dialogs->Files.push_back(ini);
  Form->N5->trigger();
  ASSERT_TRUE(Dialogs->Messages.empty());
  TOptionValues saved;
  LoadParamFile(ini.toStdString(), saved);
  EXPECT_EQ(saved.Font.File, TestFontPath.toStdString());
  EXPECT_EQ(saved.Font.FaceIndex, 0);

  // A fresh window opens the file with the font file in use.
  SetUp();
  Dialogs->Files.push_back(ini);
  Form->N3->trigger();
  ASSERT_TRUE(Dialogs->Messages.empty());
  EXPECT_EQ(Form->BfFontFont.File, TestFontPath.toStdString());
  EXPECT_EQ(Form->BfFont->text(), QStringLiteral("Mipo Test"));

  // The command-line tool's --params draws the same banks.
  const std::u16string text = TestText(100);
  Form->Memo1->setPlainText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
  const QStringList files = ExportChr(QStringLiteral("window"));
  ASSERT_EQ(files.size(), 2);
  ASSERT_TRUE(WriteUtf8(Path(QStringLiteral("text.txt")), text));
  QDir().mkpath(Path(QStringLiteral("cli")));
  QString errors;
  ASSERT_EQ(RunCli({"export", Path("text.txt"), "-q", "-o", Path("cli/font.chr"), "--params", ini}, &errors),
            0)
      << errors.toStdString();
  for (const QString& name : files)
    EXPECT_EQ(FileBytes(Path("window/" + name)), FileBytes(Path("cli/" + name))) << name.toStdString();
  // ... and not the family's.
  ASSERT_EQ(RunCli({"export", Path("text.txt"), "-q", "-o", Path("cli/family.chr")}), 0);
  EXPECT_NE(FileBytes(Path("window/" + files[0])), FileBytes(Path("cli/family.00.chr")));

  // 系统字体 then a save clears the keys: the file reopens with the family.
  Form->N22->trigger();
  Form->N4->trigger();
  TOptionValues cleared;
  LoadParamFile(ini.toStdString(), cleared);
  EXPECT_EQ(cleared.Font.File, "");
}

TEST_F(FontFileTest, AMissingFontFileIsNamedAndTheFamilyStaysInUse) {
  const QString ini = Path(QStringLiteral("gone.ini"));
  const QString gone = Path(QStringLiteral("fonts/gone.bdf"));
  TOptionValues written;
  written.Font.Name = "黑体";
  written.Font.File = gone.toStdString();
  SaveParamFile(ini.toStdString(), written);
  ChooseFontFile(TestFontPath);
  Dialogs->Files.push_back(ini);
  Form->N3->trigger();
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].first, Form->TitleText);
  EXPECT_TRUE(Dialogs->Messages[0].second.contains(gone)) << Dialogs->Messages[0].second.toStdString();
  EXPECT_TRUE(Dialogs->Messages[0].second.contains(QStringLiteral("黑体")));
  EXPECT_EQ(Form->BfFontFont.File, "");
  EXPECT_EQ(Form->BfFontFont.Name, "黑体");
  EXPECT_EQ(Form->BfFont->text(), QStringLiteral("黑体"));
  // The rest of the file is taken: it is the current parameter file now.
  EXPECT_EQ(Form->CurrentParamFile, ini);
  EXPECT_EQ(Tick(), 1);

  // A build script is told instead: the command-line tool stops, naming the font file.
  ASSERT_TRUE(WriteBytes(Path(QStringLiteral("t.txt")), "abc"));
  QString errors;
  EXPECT_EQ(RunCli({"export", Path("t.txt"), "-o", Path("t.chr"), "--params", ini}, &errors), 1);
  EXPECT_TRUE(errors.contains(gone + QStringLiteral(": "))) << errors.toStdString();
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("t.00.chr"))));
}

}  // namespace
}  // namespace mipofc::test
