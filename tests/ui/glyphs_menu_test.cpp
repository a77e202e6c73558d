// "CHR-RAM字模(&G)...": its dialog, then the glyph data as the command-line tool writes it, with
// progress and 取消, and the refusal of one bit a pixel outside encoding mode 0.
#include <QComboBox>
#include <QDir>
#include <QTextEdit>

#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "tests/ui/window_cli.h"
#include "ui/glyph_dialog.h"

namespace mipofc::test {
namespace {


class GlyphsMenuTest : public FolderWindowTest {
 protected:
  void SetUp() override {
    FolderWindowTest::SetUp();
    const std::u16string text = TestText(300);
    Form->Memo1->setPlainText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("out")));
    ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("cli")));
  }
};

TEST(GlyphDialog, ListsAndTheChoiceTheyMake) {
  TGlyphDialog dialog(nullptr, {});
  EXPECT_EQ(dialog.objectName(), QStringLiteral("FormGlyphs"));
  ASSERT_EQ(dialog.ComboBpp->count(), 2);
  ASSERT_EQ(dialog.ComboPrgBank->count(), 4);
  QStringList bpp, banks;
  for (int i = 0; i < 2; ++i) bpp << dialog.ComboBpp->itemText(i);
  for (int i = 0; i < 4; ++i) banks << dialog.ComboPrgBank->itemText(i);
  EXPECT_EQ(bpp, (QStringList{"1", "2"}));
  EXPECT_EQ(banks, (QStringList{"不分", "8K", "16K", "32K"}));
  EXPECT_EQ(dialog.Choice(), (TGlyphChoice{2, 0}));
  const std::pair<int, int> picks[] = {{0, 1}, {1, 2}, {0, 3}, {1, 0}};
  const TGlyphChoice choices[] = {{1, 8192}, {2, 16384}, {1, 32768}, {2, 0}};
  for (int i = 0; i < 4; ++i) {
    dialog.ComboBpp->setCurrentIndex(picks[i].first);
    dialog.ComboPrgBank->setCurrentIndex(picks[i].second);
    EXPECT_EQ(dialog.Choice(), choices[i]) << i;
    // A dialog opened on a choice shows it.
    EXPECT_EQ(TGlyphDialog(nullptr, choices[i]).Choice(), choices[i]) << i;
  }
}

// The choice reaches the job: the files are the command-line tool's, the message counts them,
// and the next use offers the choice and the name of the last.
TEST_F(GlyphsMenuTest, WritesTheGlyphFilesAsTheCommandLineToolDoes) {
  Dialogs->GlyphChoices.push_back(TGlyphChoice{1, 8192});
  Dialogs->Files.push_back(Path("out/font.bin"));
  Form->GLY1Click();
  ASSERT_EQ(Dialogs->FileAsks.size(), 1u);
  EXPECT_EQ(Dialogs->FileAsks[0].Filter,
            QStringLiteral("CHR-RAM字模(*.bin);;ca65汇编文件(*.s);;C头文件(*.h);;所有文件(*)"));
  EXPECT_EQ(Dialogs->FileAsks[0].Suffix, QStringLiteral("bin"));
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("生成2个字模文件"));
  ASSERT_EQ(FileNames(Path("out")), (QStringList{"font.0000.bin", "font.0001.bin"}));
  ASSERT_EQ(RunCli(QStringList{"export", TextFile(), "-q", "-o", Path("cli/font.bin"), "--layout", "glyphs", "--bpp",
                               "1", "--prg-bank", "8K"} +
                   CliSettings(*Form)),
            0);
  for (const QString& name : FileNames(Path("out")))
    EXPECT_EQ(FileBytes(Path("out/" + name)), FileBytes(Path("cli/" + name))) << name.toStdString();

  Dialogs->GlyphChoices.push_back(TGlyphChoice{2, 0});
  Dialogs->Files.push_back(Path("out/all.s"));
  Form->GLY1Click();
  ASSERT_EQ(Dialogs->GlyphChoicesOffered.size(), 2u);
  EXPECT_EQ(Dialogs->GlyphChoicesOffered[1], (TGlyphChoice{1, 8192}));
  EXPECT_EQ(Dialogs->FileAsks[1].Folder, Path("out/font.bin"));
  EXPECT_EQ(Dialogs->Messages.back().second, QStringLiteral("生成1个字模文件"));
  ASSERT_EQ(RunCli(QStringList{"export", TextFile(), "-q", "-o", Path("cli/all.s"), "--layout", "glyphs"} +
                   CliSettings(*Form)),
            0);
  EXPECT_EQ(FileBytes(Path("out/all.s")), FileBytes(Path("cli/all.s")));
}

TEST_F(GlyphsMenuTest, CancelStopsAfterTheFileBeingWritten) {
  Form->ProgressDelayMs = 0;
  Dialogs->CancelAtUpdate = 1;
  Dialogs->GlyphChoices.push_back(TGlyphChoice{2, 8192});  // 128 glyphs a file: 3 files
  Dialogs->Files.push_back(Path("out/font.bin"));
  Form->GLY1Click();
  ASSERT_EQ(Dialogs->ProgressOpened, (std::vector<std::int64_t>{3}));
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  const int written = static_cast<int>(FileNames(Path("out")).size());
  EXPECT_LE(written, 1);
  EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("已取消：生成%1个字模文件").arg(written));
}

TEST_F(GlyphsMenuTest, OneBitOutsideModeZeroIsRefusedBeforeTheSaveDialog) {
  Pick(Form->ComboBox2, 3);
  Dialogs->GlyphChoices.push_back(TGlyphChoice{1, 0});
  Form->GLY1Click();
  EXPECT_TRUE(Dialogs->FileAsks.empty());
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_TRUE(Dialogs->Messages[0].second.startsWith(QStringLiteral("1 位字模只用于编码方式 0"))) << Dialogs->Messages[0].second.toStdString();
  EXPECT_TRUE(FileNames(Path("out")).isEmpty());
}

}  // namespace
}  // namespace mipofc::test
