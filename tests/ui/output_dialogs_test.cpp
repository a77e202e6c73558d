// The output menu's own dialogs as the platform shows them: the code table's fields, and the
// CHR-ROM start dialog's sizes, range and refusal.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/ui/ui_test_util.h"
#include "ui/output_dialogs.h"

namespace mipofc::test {
namespace {

bool OkEnabled(QDialogButtonBox* buttons) { return buttons->button(QDialogButtonBox::Ok)->isEnabled(); }

TEST(CodeTableDialogTest, ShowsTheValuesItStartsFromAndReadsHexBack) {
  TCodeTableDialog dialog(nullptr, {0x8140, 2});
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("码表"));
  EXPECT_EQ(dialog.ECodeStart->text(), QStringLiteral("8140"));
  EXPECT_EQ(dialog.ComboCodeBytes->currentIndex(), 2);
  EXPECT_EQ(dialog.ComboCodeBytes->itemText(0), QStringLiteral("最少"));
  EXPECT_EQ(dialog.Choice(), (TCodeTableChoice{0x8140, 2}));

  dialog.ECodeStart->clear();
  EXPECT_FALSE(OkEnabled(dialog.Buttons));
  // Typed as a user types: hex digits only, six at most.
  QTest::keyClicks(dialog.ECodeStart, QStringLiteral("1fxz23456789"));
  EXPECT_EQ(dialog.ECodeStart->text(), QStringLiteral("1f2345"));
  EXPECT_TRUE(OkEnabled(dialog.Buttons));
  dialog.ComboCodeBytes->setCurrentIndex(0);
  EXPECT_EQ(dialog.Choice(), (TCodeTableChoice{0x1F2345, 0}));

  TCodeTableDialog small(nullptr, {0x7, 1});
  EXPECT_EQ(small.ECodeStart->text(), QStringLiteral("07"));
}

TEST(ChrStartDialogTest, ShowsTheSizesAndTheRangeAndAcceptsOnlyWhatFits) {
  TChrStartAsk ask;
  ask.RomName = QStringLiteral("game.nes");
  ask.PrgSize = 32 * 1024;
  ask.ChrSize = 16 * 1024;
  ask.BanksSize = 8 * 1024;
  ask.BankCount = 2;
  ask.Initial = 4;
  ask.Refusal = [](std::int64_t kb) { return kb > 8 ? QStringLiteral("太远 %1").arg(kb) : QString(); };
  TChrStartDialog dialog(nullptr, ask);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("写入ROM"));
  EXPECT_EQ(dialog.LRomSizes->text(), QStringLiteral("PRG-ROM 32 KB    CHR-ROM 16 KB"));
  EXPECT_EQ(dialog.LBanksSize->text(), QStringLiteral("本文本的库：2 个，共 8 KB"));
  EXPECT_EQ(dialog.Start(), 4);
  EXPECT_EQ(dialog.LChrRange->text(), QStringLiteral("写入 CHR 0x1000-0x2FFF"));
  EXPECT_TRUE(OkEnabled(dialog.Buttons));
  EXPECT_EQ(dialog.SpinChrStart->maximum(), 16);

  dialog.SpinChrStart->setValue(9);
  EXPECT_EQ(dialog.LChrRange->text(), QStringLiteral("太远 9"));
  EXPECT_FALSE(OkEnabled(dialog.Buttons));
  dialog.SpinChrStart->setValue(8);
  EXPECT_EQ(dialog.LChrRange->text(), QStringLiteral("写入 CHR 0x2000-0x3FFF"));
  EXPECT_TRUE(OkEnabled(dialog.Buttons));
}

TEST(SizeTextTest, WholeKilobytesOrBytes) {
  EXPECT_EQ(SizeText(0), QStringLiteral("0 KB"));
  EXPECT_EQ(SizeText(8 * 1024), QStringLiteral("8 KB"));
  EXPECT_EQ(SizeText(80), QStringLiteral("80 字节"));
  EXPECT_EQ(ChrRangeText(0, 0x1FFF), QStringLiteral("CHR 0x0000-0x1FFF"));
  EXPECT_EQ(ChrRangeText(0x10000, 0x1FFFF), QStringLiteral("CHR 0x10000-0x1FFFF"));
}

}  // namespace
}  // namespace mipofc::test
