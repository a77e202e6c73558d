// "输出(&O)": the bank files of both export commands, the completion message, cancel, an
// empty text, and a file that cannot be written.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "base/errors.h"
#include "tests/ui/scripted_dialogs.h"

namespace mipofc::test {
namespace {

struct ExportCase {
  const char* name;
  void (TForm1::*command)();
  const char* extension;
  const char* filter;
  const char* messageEnd;
  qint64 fileSize;  // of a 1K bank
};

const ExportCase Cases[] = {
    {"chr", &TForm1::CHR1Click, "chr", "CHR字模文件(*.chr);;所有文件(*)", "个chr文件", 1024},
    {"inc", &TForm1::ASMS1Click, "inc", "汇编包含文件(*.inc);;所有文件(*)", "个inc文件", 64 * 88},
};

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int RunCli(const QStringList& args) {
  QProcess cli;
  cli.start(QStringLiteral(MIPOFC_CLI), args);
  if (!cli.waitForFinished(60000)) return -1;
  return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

class ExportTest : public FolderWindowTest, public ::testing::WithParamInterface<ExportCase> {
 protected:
  void SetUp() override {
    FolderWindowTest::SetUp();
    // 32*32 cells in a 1K bank hold 4 characters, so ten characters make three files; the
    // line break in the middle is no character.
    Pick(Form->ComboBox1, 6);
    Pick(Form->ComboBox4, 0);
    Form->Memo1->setPlainText(Text);
  }

  void Run() { (Form.get()->*GetParam().command)(); }
  QString Done(int count) const {
    return QStringLiteral("生成") + QString::number(count) + QString::fromUtf8(GetParam().messageEnd);
  }

  const QString Text = QStringLiteral("字模工具\n点阵图形ＦＣ");
};

TEST_P(ExportTest, WritesOneFilePerBankAsTheCommandLineToolDoes) {
  const ExportCase& c = GetParam();
  const QString ext = QString::fromLatin1(c.extension);
  Dialogs->Files.push_back(Path(QStringLiteral("out/font.") + ext));
  ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("out")));
  Run();

  ASSERT_EQ(Dialogs->FileAsks.size(), 1u);
  EXPECT_TRUE(Dialogs->FileAsks[0].Saving);
  EXPECT_EQ(Dialogs->FileAsks[0].Filter, QString::fromUtf8(c.filter));
  EXPECT_EQ(Dialogs->FileAsks[0].Suffix, ext);
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].first, Form->TitleText);
  EXPECT_EQ(Dialogs->Messages[0].second, Done(3));
  const QStringList expected = {"font.00." + ext, "font.01." + ext, "font.02." + ext};
  EXPECT_EQ(Entries(Path(QStringLiteral("out"))), expected);

  // The same text and options through the command-line tool give the same bytes.
  const QString input = Path(QStringLiteral("text.txt"));
  QFile file(input);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(Text.toUtf8());
  file.close();
  const TOptionValues v = Form->ReadOptions();
  ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("cli")));
  ASSERT_EQ(RunCli({"export", input, "-q", "-o", Path("cli/font." + ext), "--cell", "32x32", "--limit", "1K",
                    "--mode", QString::number(SelectedEncodeMode(v)), "--distribution",
                    SelectedDistribution(v) == 0 ? "continuous" : "block"}),
            0);
  EXPECT_EQ(Entries(Path(QStringLiteral("cli"))), expected);
  for (const QString& name : expected) {
    const QByteArray ours = Bytes(Path("out/" + name));
    EXPECT_EQ(ours.size(), c.fileSize) << name.toStdString();
    EXPECT_EQ(ours, Bytes(Path("cli/" + name))) << name.toStdString();
  }
  // The three banks are not one bank written three times.
  EXPECT_NE(Bytes(Path("out/" + expected[0])), Bytes(Path("out/" + expected[2])));
}

TEST_P(ExportTest, CancelWritesNothingAndSaysNothing) {
  Run();
  EXPECT_EQ(Dialogs->FileAsks.size(), 1u);
  EXPECT_TRUE(Dialogs->Messages.empty());
  EXPECT_TRUE(Entries(Dir.path()).isEmpty());
}

TEST_P(ExportTest, EmptyTextWritesNoFileAndReportsZero) {
  Form->Memo1->clear();
  Dialogs->Files.push_back(Path(QStringLiteral("font")));
  Run();
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].second, Done(0));
  EXPECT_TRUE(Entries(Dir.path()).isEmpty());
}

TEST_P(ExportTest, DialogOffersTheNameChosenLastTime) {
  const QString chosen = Path(QStringLiteral("a.b.") + QString::fromLatin1(GetParam().extension));
  Dialogs->Files.push_back(chosen);
  Run();
  Run();  // cancelled
  ASSERT_EQ(Dialogs->FileAsks.size(), 2u);
  EXPECT_EQ(Dialogs->FileAsks[0].Folder, QDir::homePath());  // no export yet, no text file
  EXPECT_EQ(Dialogs->FileAsks[1].Folder, chosen);
  // Two dots: only the last one starts the extension.
  EXPECT_TRUE(QFile::exists(Path(QStringLiteral("a.b.00.") + QString::fromLatin1(GetParam().extension))));
}

TEST_P(ExportTest, UnwritableFileEndsTheCommandKeepsEarlierFilesAndWindowGoesOn) {
  const QString ext = QString::fromLatin1(GetParam().extension);
  // A folder where the second file belongs: the first file is written, the second cannot be.
  ASSERT_TRUE(QDir(Dir.path()).mkdir("font.01." + ext));
  Dialogs->Files.push_back(Path("font." + ext));
  Run();
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].first, Form->TitleText);
  EXPECT_TRUE(Dialogs->Messages[0].second.startsWith(Path("font.01." + ext) + QStringLiteral("：")))
      << Dialogs->Messages[0].second.toStdString();
  EXPECT_EQ(Bytes(Path("font.00." + ext)).size(), GetParam().fileSize);
  EXPECT_FALSE(QFile::exists(Path("font.02." + ext)));

  // A name whose folder is a regular file: nothing can be written, as for any user.
  QFile blocker(Path(QStringLiteral("blocker")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  Dialogs->Files.push_back(Path("blocker/font." + ext));
  Run();
  ASSERT_EQ(Dialogs->Messages.size(), 2u);
  EXPECT_TRUE(Dialogs->Messages[1].second.contains(Path("blocker/font.00." + ext)))
      << Dialogs->Messages[1].second.toStdString();

  // The window goes on: the next export works and reports.
  ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("next")));
  Dialogs->Files.push_back(Path("next/font." + ext));
  Run();
  ASSERT_EQ(Dialogs->Messages.size(), 3u);
  EXPECT_EQ(Dialogs->Messages[2].second, Done(3));
  EXPECT_EQ(Entries(Path(QStringLiteral("next"))).size(), 3);
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportTest, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GeneralErrorHandler, AnyExceptionBecomesAMessageAndTheCommandEnds) {
  auto dialogs = std::make_unique<TScriptedDialogs>();
  TScriptedDialogs* seen = dialogs.get();
  TForm1 form(std::move(dialogs));
  form.Timer1->stop();
  bool after = false;
  form.RunCommand([] { throw TFileError("/x/y.chr", EACCES); });
  form.RunCommand([] { throw 42; });
  form.RunCommand([&] { after = true; });
  EXPECT_TRUE(after);
  ASSERT_EQ(seen->Messages.size(), 2u);
  EXPECT_EQ(seen->Messages[0], std::make_pair(form.TitleText, QStringLiteral("/x/y.chr：没有权限")));
  EXPECT_EQ(seen->Messages[1].first, form.TitleText);
  EXPECT_FALSE(seen->Messages[1].second.isEmpty());
}

}  // namespace
}  // namespace mipofc::test
