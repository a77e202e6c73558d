// The rules the controls follow when the user works them: sizes, encodings, nudges, fonts,
// colours, clamping, and the settings gathered from the controls.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include "tests/ui/scripted_dialogs.h"
#include "ui/widgets.h"

namespace mipofc::test {
namespace {

using SizeRulesTest = WindowTest;
using EncodingRuleTest = WindowTest;
using NudgeTest = WindowTest;
using FontChoiceTest = WindowTest;
using ColourTest = WindowTest;
using ClampTest = WindowTest;
using GatherTest = WindowTest;

QStringList ItemsOf(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

const QStringList kModes = {"0  正常NES输出", "1  M循环移位加密", "2  45度加密", "3  上下色彩重叠压缩",
                            "4  左右色彩重叠压缩"};
const QStringList kDistributions = {"0  一字连续分布", "1  按字形方块分布"};

// The rules of every size are the option rules' own (and tested there); the window shows
// what they say in its lists and buttons.
TEST_F(SizeRulesTest, ASizeSetsListsAndScanButtons) {
  Form->RWay01->click();
  Pick(Form->ComboBox2, 2);
  Form->Timer1Timer();
  Pick(Form->ComboBox1, 1);  // 8*16: modes 0-3, scanned column by column
  EXPECT_EQ(ItemsOf(Form->ComboBox2), kModes.mid(0, 4));
  EXPECT_EQ(Form->ComboBox2->currentIndex(), 0);
  EXPECT_EQ(ItemsOf(Form->ComboBox3), kDistributions);
  EXPECT_EQ(Form->ComboBox3->currentIndex(), 0);
  EXPECT_FALSE(Form->RWay01->isEnabled());
  EXPECT_FALSE(Form->RWay02->isEnabled());
  EXPECT_FALSE(Form->RWay01->isChecked());
  EXPECT_TRUE(Form->RWay02->isChecked());
  EXPECT_TRUE(Form->OptionsChanged);
  // The scan-order box follows the continuous distribution, but only on a tick.
  EXPECT_TRUE(Form->GroupBox5->isHidden());
  EXPECT_EQ(Tick(), 1);
  EXPECT_FALSE(Form->GroupBox5->isHidden());
}

TEST_F(SizeRulesTest, BackFromEightByEightRestoresEverythingButTheCheckedButton) {
  Pick(Form->ComboBox1, 0);
  Pick(Form->ComboBox1, 3);
  EXPECT_TRUE(Form->RWay01->isEnabled() && Form->RWay02->isEnabled());
  EXPECT_TRUE(Form->RWay01->isChecked());
  EXPECT_EQ(ItemsOf(Form->ComboBox2), kModes);
  EXPECT_EQ(ItemsOf(Form->ComboBox3), kDistributions);
  EXPECT_EQ(Form->ComboBox3->currentIndex(), 0);
}

TEST_F(SizeRulesTest, SelectingFromCodeRunsNoRule) {
  Form->Timer1Timer();
  Form->ComboBox1->setCurrentIndex(0);
  Form->ComboBox2->setCurrentIndex(3);
  EXPECT_EQ(Form->ComboBox2->count(), 5);
  EXPECT_TRUE(Form->Ebg->isEnabled());
  EXPECT_FALSE(Form->OptionsChanged);
}

TEST_F(EncodingRuleTest, EachModeShowsMOrLocksColours) {
  struct Case {
    int item;
    bool mVisible;
    bool locked;
  };
  for (const Case& c : {Case{0, false, false}, Case{1, true, false}, Case{2, false, false}, Case{3, false, true},
                        Case{4, false, true}}) {
    SetUp();
    Form->Ebg->setValue(2);
    Form->Ewm->setValue(3);
    Form->Timer1Timer();
    Pick(Form->ComboBox2, c.item);
    EXPECT_EQ(!Form->Label5->isHidden(), c.mVisible) << c.item;
    EXPECT_EQ(!Form->Eout04->isHidden(), c.mVisible) << c.item;
    EXPECT_EQ(Form->Ebg->isEnabled(), !c.locked) << c.item;
    EXPECT_EQ(Form->Ewm->isEnabled(), !c.locked) << c.item;
    EXPECT_EQ(Form->Ebg->value(), c.locked ? 0 : 2) << c.item;
    EXPECT_EQ(Form->Ewm->value(), c.locked ? 1 : 3) << c.item;
    EXPECT_TRUE(Form->OptionsChanged) << c.item;
  }
}

TEST_F(EncodingRuleTest, FlatCellFoldsByTheDigitNotThePosition) {
  Pick(Form->ComboBox1, 2);
  Form->Ebg->setValue(3);
  Pick(Form->ComboBox2, 3);
  EXPECT_EQ(Form->ComboBox2->currentText(), kModes[4]);
  EXPECT_EQ(Form->Ebg->value(), 0);
  EXPECT_EQ(Form->Ewm->value(), 1);
  EXPECT_FALSE(Form->Ebg->isEnabled());
  EXPECT_EQ(Form->GatherSettings().EncodeMode, 4);
  // Unlocking keeps the values the lock left.
  Pick(Form->ComboBox2, 0);
  EXPECT_TRUE(Form->Ebg->isEnabled() && Form->Ewm->isEnabled());
  EXPECT_EQ(Form->Ebg->value(), 0);
}

TEST_F(EncodingRuleTest, SizeChangeLeavesNoStaleLockOrMField) {
  Pick(Form->ComboBox2, 4);
  ASSERT_FALSE(Form->Ebg->isEnabled());
  Pick(Form->ComboBox1, 6);
  EXPECT_EQ(Form->ComboBox2->currentIndex(), 0);
  EXPECT_TRUE(Form->Ebg->isEnabled() && Form->Ewm->isEnabled());
  Pick(Form->ComboBox2, 1);
  ASSERT_FALSE(Form->Eout04->isHidden());
  Pick(Form->ComboBox1, 3);
  EXPECT_TRUE(Form->Eout04->isHidden());
  EXPECT_TRUE(Form->Label5->isHidden());
}

TEST_F(NudgeTest, EachButtonMovesTheCounters) {
  struct Case {
    QPushButton* TForm1::*button;
    int dx, dy;
  };
  const Case cases[] = {{&TForm1::Blu, -1, -1}, {&TForm1::Bu, 0, -1}, {&TForm1::Bru, 1, -1}, {&TForm1::Bl, -1, 0},
                        {&TForm1::Br, 1, 0},    {&TForm1::Bld, -1, 1}, {&TForm1::Bd, 0, 1},  {&TForm1::Brd, 1, 1}};
  for (const auto& c : cases) {
    SetUp();
    Form->Timer1Timer();
    (Form.get()->*c.button)->click();
    (Form.get()->*c.button)->click();
    (Form.get()->*c.button)->click();
    EXPECT_EQ(Form->PosX, 3 * c.dx);
    EXPECT_EQ(Form->PosY, 3 * c.dy);
    EXPECT_EQ(Form->Lsite->text(), QStringLiteral("(%1, %2)").arg(3 * c.dx).arg(3 * c.dy));
    EXPECT_TRUE(Form->OptionsChanged);
    const TChrSettings s = Form->GatherSettings();
    EXPECT_EQ(s.OffsetX, 3 * c.dx);
    EXPECT_EQ(s.OffsetY, 3 * c.dy);
  }
}

TEST_F(NudgeTest, UpperLeftTwiceAndCentreDoesNothing) {
  Form->Timer1Timer();
  Form->Bc->click();
  EXPECT_EQ(Form->Lsite->text(), QStringLiteral("(0,0)"));
  EXPECT_FALSE(Form->OptionsChanged);
  Form->Blu->click();
  Form->Blu->click();
  EXPECT_EQ(Form->Lsite->text(), QStringLiteral("(-2, -2)"));
  Form->Bc->click();
  EXPECT_EQ(Form->Lsite->text(), QStringLiteral("(-2, -2)"));
  EXPECT_EQ(Form->PosX, -2);
}

TEST_F(FontChoiceTest, DialogOpensOnTheFontInUse) {
  Form->TBs->setValue(14);
  Form->BfFont->click();
  ASSERT_EQ(Dialogs->FontsOffered.size(), 1u);
  EXPECT_EQ(Dialogs->FontsOffered[0].family(), QStringLiteral("宋体"));
  EXPECT_EQ(Dialogs->FontsOffered[0].pointSize(), 14);
  EXPECT_EQ(Form->FontDialog1Font.Size, 14);
}

TEST_F(FontChoiceTest, ChosenFontIsTakenWithItsStyle) {
  QFont chosen(QStringLiteral("WenQuanYi Zen Hei"));
  chosen.setPointSize(16);
  chosen.setBold(true);
  chosen.setUnderline(true);
  Dialogs->Fonts.push_back(chosen);
  Form->Timer1Timer();
  Form->BfFont->click();
  EXPECT_EQ(Form->BfFontFont.Name, "WenQuanYi Zen Hei");
  EXPECT_EQ(Form->BfFontFont.Size, 16);
  EXPECT_EQ(Form->BfFontFont.Height, -21);
  EXPECT_TRUE(Form->BfFontFont.Bold);
  EXPECT_TRUE(Form->BfFontFont.Underline);
  EXPECT_FALSE(Form->BfFontFont.Italic);
  EXPECT_EQ(Form->BfFont->text(), QStringLiteral("WenQuanYi Zen Hei"));
  EXPECT_EQ(Form->TBs->value(), 16);
  EXPECT_EQ(Form->Label9->text(), QStringLiteral("16"));
  EXPECT_TRUE(Form->OptionsChanged);
  EXPECT_EQ(Form->GatherSettings().Font, &Form->BfFontFont);
}

TEST_F(FontChoiceTest, ThirtySixPointsEndAtTwentyEight) {
  QFont chosen(QStringLiteral("WenQuanYi Zen Hei"));
  chosen.setPointSize(36);
  Dialogs->Fonts.push_back(chosen);
  Form->BfFont->click();
  EXPECT_EQ(Form->TBs->value(), 28);
  EXPECT_EQ(Form->BfFontFont.Size, 28);
  EXPECT_EQ(Form->BfFontFont.Height, -37);
  EXPECT_EQ(Form->FontDialog1Font.Size, 36);
}

TEST_F(FontChoiceTest, CancelChangesNothingButStillRedraws) {
  Form->Timer1Timer();
  const TFont before = Form->BfFontFont;
  Form->BfFont->click();
  EXPECT_EQ(Dialogs->FontsOffered.size(), 1u);
  EXPECT_TRUE(Form->BfFontFont.SameFace(before));
  EXPECT_EQ(Form->BfFont->text(), QStringLiteral("宋体"));
  EXPECT_EQ(Form->TBs->value(), 10);
  EXPECT_EQ(Tick(), 1);
}

TEST_F(ColourTest, SwatchesAndShapeTakeTheChosenColour) {
  struct Case {
    TSwatch* TForm1::*swatch;
    TColor before;
  };
  const Case cases[] = {{&TForm1::color0, 0x000000}, {&TForm1::color1, 0xFFFFFF}, {&TForm1::color2, 0x000080},
                        {&TForm1::color3, 0x808000}};
  for (int i = 0; i < 4; ++i) {
    SetUp();
    TSwatch* swatch = Form.get()->*cases[i].swatch;
    Dialogs->Colours.push_back(QColor(0x12, 0x34, 0x56));
    QTest::mouseClick(swatch, Qt::LeftButton);
    ASSERT_EQ(Dialogs->ColoursOffered.size(), 1u) << i;
    EXPECT_EQ(FromQColor(Dialogs->ColoursOffered[0]), cases[i].before) << i;
    EXPECT_EQ(swatch->Color(), 0x563412u) << i;
    Form->ReadPalette();
    EXPECT_EQ(Form->PreviewPalette[i], 0x563412u) << i;
  }
  SetUp();
  Dialogs->Colours.push_back(QColor(0xFF, 0x00, 0x80));
  QTest::mouseClick(Form->Shape1, Qt::RightButton);  // any button
  EXPECT_EQ(FromQColor(Dialogs->ColoursOffered.at(0)), 0xC0C0C0u);
  EXPECT_EQ(Form->Shape1->Color(), 0x8000FFu);
}

TEST_F(ColourTest, CancelKeepsColourAndDefaultRestoresPalette) {
  Form->Timer1Timer();
  QTest::mouseClick(Form->color1, Qt::LeftButton);
  EXPECT_EQ(Form->color1->Color(), 0xFFFFFFu);
  EXPECT_TRUE(Form->OptionsChanged);

  for (TSwatch* s : {Form->color0, Form->color1, Form->color2, Form->color3}) s->SetColor(0x123456);
  Form->Timer1Timer();
  Form->BmyColor->click();
  Form->ReadPalette();
  EXPECT_EQ(Form->PreviewPalette, (TPalette{0x000000, 0xFFFFFF, 0x000080, 0x808000}));
  EXPECT_EQ(Tick(), 1);
}

TEST_F(ColourTest, AutoSetsIndexesEvenWhileLocked) {
  Form->Ebg->setValue(3);
  Form->Ewm->setValue(2);
  Form->BautoColor->click();
  EXPECT_EQ(Form->Ebg->value(), 0);
  EXPECT_EQ(Form->Ewm->value(), 1);
  Form->Ebg->setEnabled(false);
  Form->Ewm->setEnabled(false);
  Form->Ebg->setValue(2);  // from code, as a loaded file would
  Form->BautoColor->click();
  EXPECT_EQ(Form->Ebg->value(), 0);
}

TEST_F(ClampTest, SlidersClampAndReportTheirPosition) {
  struct Case {
    QSlider* TForm1::*slider;
    QLabel* TForm1::*label;
    int set, expect;
  };
  const Case cases[] = {{&TForm1::TBs, &TForm1::Label9, 40, 28}, {&TForm1::TBs, &TForm1::Label9, 2, 6},
                        {&TForm1::TBs, &TForm1::Label9, 17, 17}, {&TForm1::TBp, &TForm1::Label11, -9, -6},
                        {&TForm1::TBp, &TForm1::Label11, 9, 6},  {&TForm1::TBp, &TForm1::Label11, -3, -3}};
  for (const auto& c : cases) {
    SetUp();
    Form->Timer1Timer();
    (Form.get()->*c.slider)->setValue(c.set);
    EXPECT_EQ((Form.get()->*c.slider)->value(), c.expect);
    EXPECT_EQ((Form.get()->*c.label)->text(), QString::number(c.expect));
    EXPECT_TRUE(Form->OptionsChanged);
  }
  Form->TBs->setValue(22);
  EXPECT_EQ(Form->BfFontFont.Size, 22);
  EXPECT_EQ(Form->BfFontFont.Height, -29);
}

TEST_F(ClampTest, SpinFieldsRefuseValuesOutsideTheirRange) {
  struct Case {
    QSpinBox* TForm1::*spin;
    int set, expect;
    const char* typed;
  };
  const Case cases[] = {{&TForm1::Ebg, 7, 3, "9"}, {&TForm1::Ewm, -2, 0, "-1"}, {&TForm1::Eout04, 0, 1, "16"},
                        {&TForm1::Eout04, 99, 15, "0"}};
  for (const auto& c : cases) {
    SetUp();
    QSpinBox* spin = Form.get()->*c.spin;
    spin->setValue(c.set);
    EXPECT_EQ(spin->value(), c.expect);
    // What the user types outside the range is not taken, not even after leaving the field.
    spin->show();
    spin->setFocus();
    spin->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(spin, QString::fromLatin1(c.typed));
    QTest::keyClick(spin, Qt::Key_Return);
    emit spin->editingFinished();
    EXPECT_GE(spin->value(), spin->minimum()) << c.typed;
    EXPECT_LE(spin->value(), spin->maximum()) << c.typed;
    const TChrSettings s = Form->GatherSettings();
    EXPECT_TRUE(s.BgIndex >= 0 && s.BgIndex <= 3 && s.GlyphIndex >= 0 && s.GlyphIndex <= 3);
    EXPECT_TRUE(s.M >= 1 && s.M <= 15);
  }
}

TEST_F(GatherTest, SettingsFollowTheControls) {
  EXPECT_EQ(Form->GatherSettings().CellWidth, 16);
  struct Size {
    int index, width, height;
  };
  for (const Size& c : {Size{0, 8, 8}, Size{1, 8, 16}, Size{2, 16, 8}, Size{3, 16, 16}, Size{4, 16, 32},
                        Size{5, 32, 16}, Size{6, 32, 32}}) {
    Pick(Form->ComboBox1, c.index);
    const TChrSettings s = Form->GatherSettings();
    EXPECT_EQ(std::pair(s.CellWidth, s.CellHeight), std::pair(c.width, c.height)) << c.index;
    EXPECT_EQ(s.Distribution, 0) << c.index;  // the rule selects the first distribution
  }
  for (const auto& [index, limit] : {std::pair(0, 1024), std::pair(1, 2048), std::pair(2, 4096)}) {
    Pick(Form->ComboBox4, index);
    EXPECT_EQ(Form->GatherSettings().Limit, limit);
  }

  Pick(Form->ComboBox1, 5);
  Pick(Form->ComboBox2, 1);
  Form->Eout04->setValue(9);
  Pick(Form->ComboBox3, 1);
  Form->RWay02->click();
  Form->TBp->setValue(-4);
  Form->Ebg->setValue(2);
  Form->Ewm->setValue(3);
  Form->Brd->click();
  Form->Bd->click();
  TChrSettings s;
  Form->GatherSettings(s);
  EXPECT_EQ(s.CellWidth, 32);
  EXPECT_EQ(s.CellHeight, 16);
  EXPECT_EQ(s.Font, &Form->BfFontFont);
  EXPECT_EQ(s.NarrowWide, -4);
  EXPECT_EQ(s.OffsetX, 1);
  EXPECT_EQ(s.OffsetY, 2);
  EXPECT_EQ(s.BgIndex, 2);
  EXPECT_EQ(s.GlyphIndex, 3);
  EXPECT_FALSE(s.ScanHorizontal);
  EXPECT_EQ(s.EncodeMode, 1);
  EXPECT_EQ(s.M, 9);
  EXPECT_EQ(s.Distribution, 1);
  EXPECT_EQ(s.Limit, 4096);
}

}  // namespace
}  // namespace mipofc::test
