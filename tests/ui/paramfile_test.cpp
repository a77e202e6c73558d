// "文件(&F)": new, open, save, save as and close over the current parameter file, the caption
// after each, the missing-folder messages, and the file the command-line tool writes.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "params/param_file.h"
#include "tests/ui/scripted_dialogs.h"

namespace mipofc::test {
namespace {

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ParamFileTest : public FolderWindowTest {
 protected:
  QString Caption(const QString& name) const { return Form->TitleText + "  [" + name + "]"; }
  static TOptionValues Saved(const QString& path) {
    TOptionValues v;
    LoadParamFile(path.toStdString(), v);
    return v;
  }
  int IndexOfMode(int digit) const {
    for (int i = 0; i < Form->ComboBox2->count(); ++i)
      if (Form->ComboBox2->itemText(i).startsWith(QString::number(digit))) return i;
    return -1;
  }
};

TEST_F(ParamFileTest, DefaultFileLivesInTheExecutableFolderAndDialogsStartThere) {
  EXPECT_EQ(Form->DefaultParamFile, Path(QStringLiteral("myDEF.ini")));
  EXPECT_EQ(Form->CurrentParamFile, Form->DefaultParamFile);
  Form->N3Click();
  Form->N5Click();
  ASSERT_EQ(Dialogs->FileAsks.size(), 2u);
  for (const auto& ask : Dialogs->FileAsks) {
    EXPECT_EQ(ask.Filter, QStringLiteral("参数文件(*.ini)"));
    EXPECT_EQ(ask.Folder, Dir.path());
  }
  EXPECT_FALSE(Dialogs->FileAsks[0].Saving);
  EXPECT_TRUE(Dialogs->FileAsks[1].Saving);
  EXPECT_EQ(Dialogs->FileAsks[1].Suffix, QStringLiteral("ini"));
  // Both cancelled: nothing changed, nothing written.
  EXPECT_EQ(Form->windowTitle(), Form->TitleText + "  [NEW]");
  EXPECT_TRUE(QDir(Dir.path()).isEmpty());
}

TEST_F(ParamFileTest, UnwritableExecutableFolderKeepsTheDefaultFileInTheUserConfigFolder) {
  QFile blocker(Path(QStringLiteral("blocker")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const QByteArray before = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", Path(QStringLiteral("config")).toLocal8Bit());
  const QString chosen = TForm1::DefaultParamFileFor(Path(QStringLiteral("blocker/bin/")));
  const QString writable = TForm1::DefaultParamFileFor(Path(QStringLiteral("")));
  if (before.isNull())
    qunsetenv("XDG_CONFIG_HOME");
  else
    qputenv("XDG_CONFIG_HOME", before);
  EXPECT_EQ(chosen, Path(QStringLiteral("config/mipofc/myDEF.ini")));
  EXPECT_TRUE(QFileInfo(Path(QStringLiteral("config/mipofc"))).isDir());
  EXPECT_EQ(writable, Path(QStringLiteral("myDEF.ini")));
}

TEST_F(ParamFileTest, AnInstalledProgramKeepsTheDefaultFileInTheUserConfigFolderEvenWhereItsFolderIsWritable) {
  // The layout of an installation: bin/ beside share/mipofc/ (writable here, as /usr/bin is to root).
  ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("usr/bin"))));
  ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("usr/share/mipofc"))));
  QFile rules(Path(QStringLiteral("usr/share/mipofc/mipofc-fonts.conf")));
  ASSERT_TRUE(rules.open(QIODevice::WriteOnly));
  rules.close();
  const QByteArray before = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", Path(QStringLiteral("config")).toLocal8Bit());
  const QString installed = TForm1::DefaultParamFileFor(Path(QStringLiteral("usr/bin/")));
  if (before.isNull())
    qunsetenv("XDG_CONFIG_HOME");
  else
    qputenv("XDG_CONFIG_HOME", before);
  EXPECT_EQ(installed, Path(QStringLiteral("config/mipofc/myDEF.ini")));
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("usr/bin/myDEF.ini"))));
}

TEST_F(ParamFileTest, SaveAsksOnceThenWritesTheNamedFileAndCloseSavesIt) {
  // A bare name gets the extension.
  Dialogs->Files.push_back(Path(QStringLiteral("mine")));
  Form->N4Click();
  const QString mine = Path(QStringLiteral("mine.ini"));
  ASSERT_TRUE(QFile::exists(mine));
  EXPECT_EQ(Form->CurrentParamFile, mine);
  EXPECT_TRUE(Form->ParamFileNamed);
  EXPECT_EQ(Form->windowTitle(), Caption(QStringLiteral("mine.ini")));

  Form->BdClick();
  Form->N4Click();  // no dialog this time
  EXPECT_EQ(Dialogs->FileAsks.size(), 1u);
  EXPECT_EQ(Saved(mine).PosY, 1);

  Form->BrClick();
  Form->TBp->setValue(-4);
  EXPECT_TRUE(Form->close());
  const TOptionValues atClose = Saved(mine);
  EXPECT_EQ(atClose.PosX, 1);
  EXPECT_EQ(atClose.NarrowWide, -4);
  EXPECT_FALSE(QFile::exists(Form->DefaultParamFile));
  EXPECT_TRUE(Dialogs->Messages.empty());
}

TEST_F(ParamFileTest, NothingIsSavedAtCloseUntilAFileIsNamed) {
  Form->BdClick();
  EXPECT_TRUE(Form->close());
  EXPECT_TRUE(QDir(Dir.path()).isEmpty());
}

TEST_F(ParamFileTest, OpenAppliesTheFileWithTheRuleOfItsEncodingMode) {
  // 16*8 with mode 4 (item 3 of that size's list) and colours the mode does not allow.
  TOptionValues v;
  v.CellSizeIndex = 2;
  ApplySizeRules(v);
  v.EncodingIndex = 3;
  v.BgIndex = 2;
  v.GlyphIndex = 3;
  v.PosX = -5;
  v.LimitIndex = 0;
  const QString file = Path(QStringLiteral("wide.ini"));
  SaveParamFile(file.toStdString(), v);

  Dialogs->Files.push_back(file);
  Form->N3Click();
  EXPECT_EQ(Form->ComboBox1->currentText(), QStringLiteral("16*8(扁)"));
  EXPECT_EQ(Form->ComboBox2->currentText(), QStringLiteral("4  左右色彩重叠压缩"));
  EXPECT_EQ(Form->ComboBox4->currentText(), QStringLiteral("1K"));
  EXPECT_EQ(Form->PosX, -5);
  EXPECT_EQ(Form->Ebg->value(), 0);
  EXPECT_EQ(Form->Ewm->value(), 1);
  EXPECT_FALSE(Form->Ebg->isEnabled());
  EXPECT_TRUE(Form->ParamFileNamed);
  EXPECT_TRUE(Form->OptionsChanged);
  EXPECT_EQ(Form->windowTitle(), Caption(QStringLiteral("wide.ini")));

  // Mode 1 brings its M field back.
  v = TOptionValues();
  v.EncodingIndex = 1;
  v.M = 7;
  SaveParamFile(file.toStdString(), v);
  Dialogs->Files.push_back(file);
  Form->N3Click();
  EXPECT_FALSE(Form->Eout04->isHidden());
  EXPECT_EQ(Form->Eout04->value(), 7);
  EXPECT_TRUE(Form->Ebg->isEnabled());
}

TEST_F(ParamFileTest, NewSavesIntoTheCurrentFileThenTakesTheDefaultFile) {
  TOptionValues v;
  v.PosY = 9;
  SaveParamFile(Form->DefaultParamFile.toStdString(), v);
  const QString opened = Path(QStringLiteral("opened.ini"));
  Dialogs->Files.push_back(opened);  // a name that does not exist yet loads as the defaults
  Form->N3Click();
  ASSERT_TRUE(Form->ParamFileNamed);
  Form->BuClick();

  Form->N2Click();
  EXPECT_EQ(Saved(opened).PosY, -1);  // the opened file took the options in use
  EXPECT_EQ(Form->PosY, 9);
  EXPECT_EQ(Form->CurrentParamFile, Form->DefaultParamFile);
  EXPECT_FALSE(Form->ParamFileNamed);
  EXPECT_EQ(Form->windowTitle(), Caption(QStringLiteral("myDEF.ini")));

  // After "新建", "保存" asks again and closing writes nothing.
  const QByteArray defaultBytes = Bytes(Form->DefaultParamFile);
  Form->N4Click();
  EXPECT_EQ(Dialogs->FileAsks.size(), 2u);
  Form->BdClick();
  EXPECT_TRUE(Form->close());
  EXPECT_EQ(Bytes(Form->DefaultParamFile), defaultBytes);
}

TEST_F(ParamFileTest, NewRightAfterStartWritesTheDefaultFileAndReadsItBack) {
  Form->TBs->setValue(14);
  Form->N2Click();
  ASSERT_TRUE(QFile::exists(Form->DefaultParamFile));
  EXPECT_EQ(Saved(Form->DefaultParamFile).FontSize, 14);
  EXPECT_EQ(Form->TBs->value(), 14);
  EXPECT_EQ(Form->windowTitle(), Caption(QStringLiteral("myDEF.ini")));
  EXPECT_FALSE(Form->ParamFileNamed);
}

TEST_F(ParamFileTest, MissingFolderIsReportedAndNothingIsReadOrWritten) {
  const QString missing = Path(QStringLiteral("gone")) + "/";
  Form->BdClick();
  Dialogs->Files.push_back(missing + "a.ini");
  Form->N5Click();
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0],
            std::make_pair(Form->TitleText, QStringLiteral("找不到文件路径") + missing + "   你的设置将掉失。"));
  EXPECT_EQ(Form->windowTitle(), Form->TitleText + "  [NEW]");
  // The file counts as named all the same, so closing tries again, reports again and closes.
  EXPECT_TRUE(Form->ParamFileNamed);
  EXPECT_TRUE(Form->close());
  EXPECT_EQ(Dialogs->Messages.size(), 2u);

  Dialogs->Files.push_back(missing + "b.ini");
  Form->N3Click();
  ASSERT_EQ(Dialogs->Messages.size(), 3u);
  EXPECT_EQ(Dialogs->Messages[2].second, QStringLiteral("找不到文件路径") + missing);
  EXPECT_EQ(Form->PosY, 1);
  EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(ParamFileTest, WriteErrorAtCloseKeepsTheWindowOpen) {
  Form->show();
  const QString file = Path(QStringLiteral("kept.ini"));
  Dialogs->Files.push_back(file);
  Form->N5Click();
  ASSERT_TRUE(QFile::remove(file));
  // A folder in the file's place cannot be written, even by root.
  ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("kept.ini")));

  EXPECT_FALSE(Form->close());
  EXPECT_TRUE(Form->isVisible());
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0], std::make_pair(Form->TitleText, "无法写入" + file + "：这是一个文件夹"));

  // Saved elsewhere, the window closes and that file has the options.
  const QString other = Path(QStringLiteral("other.ini"));
  Dialogs->Files.push_back(other);
  Form->N5Click();
  Form->BldClick();
  Form->N6Click();
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(Saved(other).PosX, -1);
}

TEST_F(ParamFileTest, FailedSaveAsKeepsTheFileBefore) {
  const QString first = Path(QStringLiteral("first.ini"));
  Dialogs->Files.push_back(first);
  Form->N5Click();
  ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("dir.ini")));
  Dialogs->Files.push_back(Path(QStringLiteral("dir.ini")));
  Form->N5Click();
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Form->CurrentParamFile, first);
  EXPECT_EQ(Form->windowTitle(), Caption(QStringLiteral("first.ini")));
  Form->BuClick();
  EXPECT_TRUE(Form->close());
  EXPECT_EQ(Saved(first).PosY, -1);
}

TEST_F(ParamFileTest, WindowWritesTheFileTheCommandLineToolWritesForTheSameOptions) {
  Pick(Form->ComboBox1, 2);  // 16*8
  Pick(Form->ComboBox2, IndexOfMode(4));
  Pick(Form->ComboBox4, 0);
  Form->TBp->setValue(3);
  Form->TBs->setValue(12);
  Form->BrClick();
  Form->BdClick();
  Form->BdClick();
  ASSERT_EQ(Tick(), 1);  // a preview run leaves the options as they were
  const QString window = Path(QStringLiteral("window.ini"));
  Dialogs->Files.push_back(window);
  Form->N5Click();
  ASSERT_TRUE(Dialogs->Messages.empty());

  const QString input = Path(QStringLiteral("empty.txt"));
  QFile(input).open(QIODevice::WriteOnly);
  const TOptionValues v = Form->ReadOptions();
  QProcess cli;
  cli.start(QStringLiteral(MIPOFC_CLI),
            {"preview", input, "-q", "-o", Path("p.png"), "--cell", "16x8", "--mode", "4", "--limit", "1K",
             "--narrow-wide", "3", "--size", "12", "--offset", "1,2", "--distribution",
             SelectedDistribution(v) == 0 ? "continuous" : "block", "--save-params", Path("cli.ini")});
  ASSERT_TRUE(cli.waitForFinished(60000));
  ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  const QByteArray ours = Bytes(window);
  EXPECT_FALSE(ours.isEmpty());
  EXPECT_EQ(ours, Bytes(Path(QStringLiteral("cli.ini"))));
}

}  // namespace
}  // namespace mipofc::test
