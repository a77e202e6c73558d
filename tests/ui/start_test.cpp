// The window as the user first sees it: names, captions, items, ranges and initial values.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>

#include "tests/ui/scripted_dialogs.h"
#include "ui/widgets.h"

namespace mipofc::test {
namespace {

using StartTest = WindowTest;

QStringList ItemsOf(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

TEST_F(StartTest, CaptionIsTitleWithNewMarkAndWindowHasFixedSize) {
  EXPECT_EQ(Form->TitleText, QStringLiteral("Tolvar-MipoFC字模工具 V3.2 UNICODE"));
  EXPECT_EQ(Form->windowTitle(), Form->TitleText + QStringLiteral("  [NEW]"));
  Form->show();
  EXPECT_EQ(Form->minimumSize(), Form->maximumSize());
  EXPECT_GE(Form->width(), 570);
  EXPECT_TRUE(Form->DefaultParamFile.endsWith(QStringLiteral("/myDEF.ini")));
  EXPECT_EQ(Form->CurrentParamFile, Form->DefaultParamFile);
  EXPECT_FALSE(Form->ParamFileNamed);
}

TEST_F(StartTest, CaptionedControlsAreFoundByName) {
  const std::pair<const char*, const char*> captions[] = {
      {"Label1", "字号"},  {"Label2", "窄扁"},   {"Label3", "颜色"},  {"Label4", "色"},     {"Label5", "M:"},
      {"Label6", "背景色"}, {"Label7", "字模色"}, {"Label8", "CHR"},   {"Label10", "NES"},   {"Label9", "10"},
      {"Label11", "0"},    {"Lsite", "(0,0)"},  {"Blu", "┏"},       {"Bu", "↑"},          {"Bru", "┓"},
      {"Bl", "←"},         {"Bc", "◎"},         {"Br", "→"},         {"Bld", "┗"},         {"Bd", "↓"},
      {"Brd", "┛"},        {"BautoColor", "自动"}, {"BmyColor", "默认"}, {"CheckBox1", "网格"}, {"Button1", "预览"},
      {"RWay01", "横向"},   {"RWay02", "竖向"},   {"BfFont", "宋体"},  {"color0", "0"},      {"color1", "1"},
      {"color2", "2"},     {"color3", "3"}};
  for (const auto& [name, caption] : captions) {
    QObject* control = Form->findChild<QObject*>(QString::fromLatin1(name));
    ASSERT_NE(control, nullptr) << name;
    QString text;
    if (auto* label = qobject_cast<QLabel*>(control)) text = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control)) text = button->text();
    EXPECT_EQ(text, QString::fromUtf8(caption)) << name;
  }
  const std::pair<const char*, const char*> groups[] = {{"GroupBox1", "字模尺寸"}, {"GroupBox2", "位置"},
                                                        {"GroupBox3", "字体属性"}, {"GroupBox4", "选色"},
                                                        {"GroupBox5", "扫描次序"}, {"GroupBox6", "输出分布"},
                                                        {"GroupBox7", "编码方式"}, {"GroupBox8", "限定输出量"}};
  for (const auto& [name, caption] : groups) {
    auto* box = Form->findChild<QGroupBox*>(QString::fromLatin1(name));
    ASSERT_NE(box, nullptr) << name;
    EXPECT_EQ(box->title(), QString::fromUtf8(caption)) << name;
  }
  for (const char* name : {"Image1", "Image2", "ScrollBox1", "ScrollBox2", "Memo1", "Timer1", "Shape1", "Panel1",
                           "StatusBar", "PageControl1", "PageControl2"})
    EXPECT_NE(Form->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(StartTest, ListsHoldTheirItemsAndStartSelections) {
  struct Case {
    const char* name;
    QStringList items;
    int index;
  };
  const Case cases[] = {
      {"ComboBox1", {"8*8", "8*16(窄)", "16*8(扁)", "16*16", "16*32(窄)", "32*16(扁)", "32*32"}, 3},
      {"ComboBox2", {"0  正常NES输出", "1  M循环移位加密", "2  45度加密", "3  上下色彩重叠压缩", "4  左右色彩重叠压缩"}, 0},
      {"ComboBox3", {"0  一字连续分布", "1  按字形方块分布"}, 1},
      {"ComboBox4", {"1K", "2K", "4K"}, 2}};
  for (const auto& c : cases) {
    auto* list = Form->findChild<QComboBox*>(QString::fromLatin1(c.name));
    ASSERT_NE(list, nullptr) << c.name;
    EXPECT_FALSE(list->isEditable()) << c.name;
    EXPECT_EQ(ItemsOf(list), c.items) << c.name;
    EXPECT_EQ(list->currentIndex(), c.index) << c.name;
  }
  EXPECT_EQ(Form->EncodingOptionTexts, ItemsOf(Form->ComboBox2));
  EXPECT_EQ(Form->DistributionOptionTexts, ItemsOf(Form->ComboBox3));
}

TEST_F(StartTest, SlidersAndSpinFieldsHaveRangesAndStartValues) {
  struct Case {
    const char* name;
    int lo, hi, value;
  };
  for (const Case& c : {Case{"TBs", 6, 28, 10}, Case{"TBp", -6, 6, 0}}) {
    auto* slider = Form->findChild<QSlider*>(QString::fromLatin1(c.name));
    ASSERT_NE(slider, nullptr) << c.name;
    EXPECT_EQ(slider->orientation(), Qt::Horizontal) << c.name;
    EXPECT_EQ(slider->pageStep(), 1) << c.name;
    EXPECT_EQ(std::tuple(slider->minimum(), slider->maximum(), slider->value()), std::tuple(c.lo, c.hi, c.value))
        << c.name;
  }
  for (const Case& c : {Case{"Ebg", 0, 3, 0}, Case{"Ewm", 0, 3, 1}, Case{"Eout04", 1, 15, 1}}) {
    auto* spin = Form->findChild<QSpinBox*>(QString::fromLatin1(c.name));
    ASSERT_NE(spin, nullptr) << c.name;
    EXPECT_EQ(std::tuple(spin->minimum(), spin->maximum(), spin->value()), std::tuple(c.lo, c.hi, c.value)) << c.name;
  }
}

TEST_F(StartTest, HiddenAndCheckedStates) {
  EXPECT_TRUE(Form->GroupBox5->isHidden());
  EXPECT_TRUE(Form->Label5->isHidden());
  EXPECT_TRUE(Form->Eout04->isHidden());
  EXPECT_TRUE(Form->Button1->isHidden());
  EXPECT_TRUE(Form->RWay01->isChecked());
  EXPECT_FALSE(Form->RWay02->isChecked());
  EXPECT_TRUE(Form->RWay01->isEnabled() && Form->RWay02->isEnabled());
  EXPECT_TRUE(Form->Ebg->isEnabled() && Form->Ewm->isEnabled());
  EXPECT_FALSE(Form->CheckBox1->isChecked());
  EXPECT_EQ(Form->PosX, 0);
  EXPECT_EQ(Form->PosY, 0);
}

TEST_F(StartTest, PagesMenusAndStatusBar) {
  EXPECT_EQ(Form->PageControl1->currentIndex(), 0);
  EXPECT_EQ(Form->PageControl2->currentIndex(), 0);
  EXPECT_EQ(Form->PageControl1->tabText(0), QStringLiteral("通用"));
  EXPECT_EQ(Form->PageControl1->tabText(1), QStringLiteral("高级"));
  EXPECT_EQ(Form->PageControl2->tabText(0), QStringLiteral("预览"));
  EXPECT_EQ(Form->PageControl2->tabText(1), QStringLiteral("文本"));

  const std::pair<const char*, const char*> menus[] = {
      {"N1", "文件(&F)"}, {"N8", "文本(&T)"}, {"N14", "输出(&O)"}, {"N15", "帮助(&H)"}};
  for (const auto& [name, caption] : menus) {
    auto* menu = Form->findChild<QMenu*>(QString::fromLatin1(name));
    ASSERT_NE(menu, nullptr) << name;
    EXPECT_EQ(menu->title(), QString::fromUtf8(caption)) << name;
  }
  const std::tuple<const char*, const char*, QMenu*> items[] = {
      {"N2", "新建(&N)", Form->N1},   {"N3", "打开(&O)", Form->N1},     {"N4", "保存(&S)", Form->N1},
      {"N5", "另存为(&A)", Form->N1}, {"N6", "退出(&X)", Form->N1},     {"N9", "加载...(&L)", Form->N8},
      {"N10", "粘贴(&P)", Form->N8},  {"CHR1", "CHR(&C)", Form->N14}, {"ASMS1", "INC(&I)", Form->N14},
      {"N16", "关于(&A)", Form->N15}};
  for (const auto& [name, caption, menu] : items) {
    auto* action = Form->findChild<QAction*>(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    EXPECT_EQ(action->text(), QString::fromUtf8(caption)) << name;
    EXPECT_TRUE(menu->actions().contains(action)) << name;
  }
  EXPECT_TRUE(Form->N7->isSeparator());
  EXPECT_EQ(Form->N1->actions().indexOf(Form->N7), 4);

  QStringList panels;
  for (auto* label : Form->StatusBar->findChildren<QLabel*>()) panels << label->text();
  EXPECT_TRUE(panels.contains(QStringLiteral("就绪")));
  EXPECT_TRUE(panels.contains(QStringLiteral("注释")));
}

TEST_F(StartTest, FontSwatchesAndPreviewsStartAsLaidOut) {
  EXPECT_EQ(Form->BfFontFont.Name, "宋体");
  EXPECT_EQ(Form->BfFontFont.Size, 10);
  EXPECT_EQ(Form->BfFontFont.Height, -13);
  EXPECT_EQ(Form->FontDialog1Font.Name, Form->BfFontFont.Name);
  EXPECT_EQ(Form->FontDialog1Font.Size, 10);
  EXPECT_EQ(Form->color0->Color(), 0x000000u);
  EXPECT_EQ(Form->color1->Color(), 0xFFFFFFu);
  EXPECT_EQ(Form->color2->Color(), 0x000080u);
  EXPECT_EQ(Form->color3->Color(), 0x808000u);
  EXPECT_EQ(Form->Shape1->Color(), 0xC0C0C0u);
  EXPECT_EQ(Form->PreviewPalette, (TPalette{0x000000, 0xFFFFFF, 0x000080, 0x808000}));
  EXPECT_EQ(Form->Timer1->interval(), 500);

  for (const QImage* picture : {&Form->Image1Picture(), &Form->Image2Picture()}) {
    ASSERT_EQ(picture->size(), QSize(128, 128));
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 128; ++x) ASSERT_EQ(picture->pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
  }
  EXPECT_EQ(Form->Image1->pixmap().size(), QSize(128, 128));
  EXPECT_TRUE(Form->OptionsChanged);
  EXPECT_EQ(Tick(), 1);
  EXPECT_FALSE(Form->OptionsChanged);
  // The default face draws the start text: every cell of the first row holds glyph pixels.
  for (int cell = 0; cell < 8; ++cell) {
    int white = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = cell * 16; x < cell * 16 + 16; ++x) white += Form->Image1Picture().pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_GT(white, 3) << "cell " << cell;
  }
}

}  // namespace
}  // namespace mipofc::test
