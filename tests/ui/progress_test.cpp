// Long exports: the progress dialog after 0.5 s, 取消 keeping the files written, and no dialog for
// a short export.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include "jobs/export.h"
#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"

namespace mipofc::test {
namespace {

class ProgressTest : public FolderWindowTest {
 protected:
  void SetText(const std::u16string& text) {
    Form->Memo1->setPlainText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
  }
  QStringList Written(const QString& folder) const {
    return QDir(Path(folder)).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  }
  // The first count file names of an export to folder/font.<ext>.
  static QStringList Names(std::int64_t count, std::int32_t capacity, TBankFormat format) {
    QStringList names;
    for (std::int64_t n = 0; n < count; ++n)
      names << QString::fromStdString(ExportFileName("font", n, capacity, format));
    return names;
  }
};

TEST_F(ProgressTest, AShortExportShowsNoDialogAndItsMessageIsUnchanged) {
  SetText(TestText(64 * 3));
  Dialogs->Files.push_back(Path(QStringLiteral("font.chr")));
  Form->CHR1Click();
  EXPECT_TRUE(Dialogs->ProgressOpened.empty());
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("生成3个chr文件"));
}

// Cancel in every format, the dialog opening on the first bank so that the test does not wait.
TEST_F(ProgressTest, CancelKeepsTheFilesWrittenAndWritesNoLaterOne) {
  struct Case {
    const char* name;
    void (TForm1::*command)();
    TBankFormat format;
    const char* extension;
    const char* messageEnd;
  };
  const Case cases[] = {{"chr", &TForm1::CHR1Click, TBankFormat::Chr, "chr", "个chr文件"},
                        {"inc", &TForm1::ASMS1Click, TBankFormat::Inc, "inc", "个inc文件"},
                        {"ca65", &TForm1::CA651Click, TBankFormat::Ca65, "s", "个s文件"},
                        {"c", &TForm1::CH1Click, TBankFormat::C, "h", "个h文件"},
                        {"png", &TForm1::PNG1Click, TBankFormat::Png, "png", "个png文件"}};
  Form->FontDialog1Font = UiTestFont();
  Form->ApplyChosenFont();
  const std::u16string text = TestText(64 * 40 + 5);  // 41 banks
  SetText(text);
  for (const Case& c : cases) {
    Dialogs->Messages.clear();
    Dialogs->ProgressOpened.clear();
    Dialogs->ProgressUpdates.clear();
    Form->ProgressDelayMs = 0;
    Dialogs->CancelAtUpdate = 12;
    const QString ext = QString::fromLatin1(c.extension);
    ASSERT_TRUE(QDir(Dir.path()).mkpath(ext));
    Dialogs->Files.push_back(Path(ext + "/font." + ext));
    (Form.get()->*c.command)();

    EXPECT_EQ(Dialogs->ProgressOpened, std::vector<std::int64_t>{41}) << c.name;
    ASSERT_EQ(Dialogs->ProgressUpdates.size(), 12u) << c.name;
    for (std::size_t i = 1; i < Dialogs->ProgressUpdates.size(); ++i) {
      EXPECT_LE(Dialogs->ProgressUpdates[i - 1].first, Dialogs->ProgressUpdates[i].first) << c.name;
      EXPECT_EQ(Dialogs->ProgressUpdates[i].second, 41) << c.name;
    }
    // Stopped after the file being written: at most the twelve banks drawn, each one whole.
    const QStringList written = Written(ext);
    ASSERT_EQ(Dialogs->Messages.size(), 1u) << c.name;
    EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("已取消：生成") + QString::number(written.size()) +
                                               QString::fromUtf8(c.messageEnd))
        << c.name;
    EXPECT_GE(written.size(), Dialogs->ProgressUpdates.back().first) << c.name;
    EXPECT_LE(written.size(), 12) << c.name;
    EXPECT_EQ(written, Names(written.size(), 64, c.format)) << c.name;  // the first ones, no temporary file

    // Each file is the bank the whole export writes under its name.
    const std::string full = Path(QStringLiteral("full/font.") + ext).toStdString();
    QDir().mkpath(Path(QStringLiteral("full")));
    TFont font = Form->BfFontFont;
    TChrSettings settings = Form->GatherSettings();
    settings.Font = &font;
    ASSERT_EQ(ExportBanks(full, c.format, settings, text), 41);
    for (const QString& name : written)
      EXPECT_EQ(FileBytes(Path(ext + "/" + name)), FileBytes(Path("full/" + name))) << name.toStdString();

    // The window goes on: the same export without 取消 writes every file.
    Dialogs->CancelAtUpdate = 0;
    Dialogs->Files.push_back(Path(ext + "/font." + ext));
    (Form.get()->*c.command)();
    ASSERT_EQ(Dialogs->Messages.size(), 2u) << c.name;
    EXPECT_EQ(Dialogs->Messages[1].second, QStringLiteral("生成41") + QString::fromUtf8(c.messageEnd))
        << c.name;
    EXPECT_EQ(Written(ext).size(), 41) << c.name;
  }
}

// The real clock and the platform's dialog: a cold export of every ideograph at 32 x 32 into 1K
// banks (5,226 files) runs well past 0.5 s; 取消 is clicked on the dialog as a user would.
TEST_F(ProgressTest, TheDialogComesAfterHalfASecondKeepsTheWindowPaintingAndCancels) {
  Form->ComboBox1->setCurrentIndex(6);
  Form->ComboBox1Change();
  Form->TBs->setValue(28);
  Pick(Form->ComboBox4, 0);
  // Long enough (20,902 files) that even a fast machine is still writing when the dialog has
  // come and been cancelled.
  std::u16string text;
  for (int round = 0; round < 4; ++round)
    for (char16_t c = 0x4E00; c <= 0x9FA5; ++c) text += c;
  SetText(text);
  const std::int64_t total = ExportFileCount(text.size(), 4);
  Form->show();
  ClearGlyphCaches();

  int paints = 0;
  struct PaintCounter : QObject {
    int* count;
    explicit PaintCounter(int* c) : count(c) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) ++*count;
      return false;
    }
  } counter(&paints);
  Form->Image1->installEventFilter(&counter);

  QElapsedTimer clock;
  qint64 openedAt = -1;
  int paintsWhileOpen = -1;
  QString label, modality;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    if (openedAt < 0) {
      openedAt = clock.elapsed();
      paints = 0;
      Form->Image1->update();  // a repaint the window owes while the export runs
      return;
    }
    paintsWhileOpen = paints;
    label = dialog->labelText();
    modality = dialog->windowModality() == Qt::ApplicationModal ? QStringLiteral("application") : QString();
    for (auto* button : dialog->findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("取消")) button->click();
    poll.stop();
  });
  poll.start();
  clock.start();
  Dialogs->Files.push_back(Path(QStringLiteral("font.chr")));
  Form->CHR1Click();
  const qint64 took = clock.elapsed();

  ASSERT_EQ(Dialogs->ProgressOpened, std::vector<std::int64_t>{total});
  EXPECT_GE(openedAt, 500);
  EXPECT_GT(paintsWhileOpen, 0);
  EXPECT_EQ(modality, QStringLiteral("application"));
  EXPECT_TRUE(label.startsWith(QStringLiteral("已生成 "))) << label.toStdString();
  EXPECT_TRUE(label.endsWith(QStringLiteral(" / %1 个文件").arg(total))) << label.toStdString();
  QStringList written = Written(QString());
  written.sort();
  QStringList expected = Names(written.size(), 4, TBankFormat::Chr);
  expected.sort();
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("已取消：生成%1个chr文件").arg(written.size()));
  EXPECT_LT(written.size(), total) << "took " << took << " ms";
  EXPECT_EQ(written, expected);
  for (const QString& name : written) EXPECT_EQ(QFileInfo(Path(name)).size(), 1024) << name.toStdString();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace mipofc::test
