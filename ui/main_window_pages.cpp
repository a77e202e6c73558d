// TForm1: building the pages, their controls and the menu.
#include "ui/main_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "ui/widgets.h"
#include "ui/form_helpers.h"
#include "ui/memo_text.h"

namespace mipofc {

using namespace formdetail;

void TForm1::BuildGeneralPage() {
  TabSheet1 = Named(new QWidget, "TabSheet1");
  auto* row = new QHBoxLayout(TabSheet1);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(3);

  GroupBox1 = Named(new QGroupBox(QStringLiteral("字模尺寸")), "GroupBox1");
  ComboBox1 = NewList("ComboBox1");
  for (const auto& text : CellSizeTexts) ComboBox1->addItem(Q(text));
  ComboBox1->setCurrentIndex(3);
  // The drop-down is as wide as its longest item needs; the control keeps its own width.
  QAbstractItemView* sizes = ComboBox1->view();
  sizes->setMinimumWidth(sizes->sizeHintForColumn(0) + 2 * sizes->frameWidth() +
                         sizes->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  auto* g1 = new QVBoxLayout(GroupBox1);
  g1->addWidget(ComboBox1);
  g1->addStretch(1);

  GroupBox3 = Named(new QGroupBox(QStringLiteral("字体属性")), "GroupBox3");
  BfFont = Named(new TFontButton, "BfFont");
  BfFont->setFixedSize(57, 81);
  Label1 = NewLabel("Label1", QStringLiteral("字号"));
  TBs = NewSlider("TBs", 6, 28, 10);
  Label9 = NewLabel("Label9", QStringLiteral("00"));
  Label2 = NewLabel("Label2", QStringLiteral("窄扁"));
  TBp = NewSlider("TBp", -6, 6, 0);
  Label11 = NewLabel("Label11", QStringLiteral("00"));
  for (QLabel* number : {Label9, Label11}) {
    number->setMinimumWidth(number->fontMetrics().horizontalAdvance(QStringLiteral("-00")));
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  auto* g3 = new QHBoxLayout(GroupBox3);
  g3->addWidget(BfFont, 0, Qt::AlignTop);
  auto* sliders = new QGridLayout;
  sliders->addWidget(Label1, 0, 0);
  sliders->addWidget(TBs, 0, 1);
  sliders->addWidget(Label9, 0, 2);
  sliders->addWidget(Label2, 1, 0);
  sliders->addWidget(TBp, 1, 1);
  sliders->addWidget(Label11, 1, 2);
  sliders->setColumnStretch(1, 1);
  sliders->setRowStretch(2, 1);
  g3->addLayout(sliders, 1);

  GroupBox2 = Named(new QGroupBox(QStringLiteral("位置")), "GroupBox2");
  struct Nudge {
    QPushButton** button;
    const char* name;
    const char16_t* caption;
  };
  const Nudge nudges[9] = {{&Blu, "Blu", u"┏"}, {&Bu, "Bu", u"↑"},  {&Bru, "Bru", u"┓"},
                           {&Bl, "Bl", u"←"},   {&Bc, "Bc", u"◎"},  {&Br, "Br", u"→"},
                           {&Bld, "Bld", u"┗"}, {&Bd, "Bd", u"↓"},  {&Brd, "Brd", u"┛"}};
  auto* g2 = new QVBoxLayout(GroupBox2);
  auto* pad = new QGridLayout;
  pad->setSpacing(0);
  for (int i = 0; i < 9; ++i) {
    auto* button = Named(new QPushButton(QString::fromUtf16(nudges[i].caption)), nudges[i].name);
    button->setFixedSize(25, 25);
    *nudges[i].button = button;
    pad->addWidget(button, i / 3, i % 3);
  }
  Lsite = NewLabel("Lsite", QStringLiteral("(0,0)"));
  Lsite->setAlignment(Qt::AlignCenter);
  g2->addLayout(pad);
  g2->addWidget(Lsite);
  g2->addStretch(1);

  GroupBox4 = Named(new QGroupBox(QStringLiteral("选色")), "GroupBox4");
  Label6 = NewLabel("Label6", QStringLiteral("背景色"));
  Ebg = NewSpin("Ebg", 0, 3, 0);
  Label7 = NewLabel("Label7", QStringLiteral("字模色"));
  Ewm = NewSpin("Ewm", 0, 3, 1);
  BautoColor = Named(new QPushButton(QStringLiteral("自动")), "BautoColor");
  auto* g4 = new QGridLayout(GroupBox4);
  g4->addWidget(Label6, 0, 0);
  g4->addWidget(Ebg, 0, 1);
  g4->addWidget(Label7, 1, 0);
  g4->addWidget(Ewm, 1, 1);
  g4->addWidget(BautoColor, 2, 0, 1, 2);
  g4->setRowStretch(3, 1);

  const std::pair<QGroupBox*, int> boxes[] = {{GroupBox1, 85}, {GroupBox3, 257}, {GroupBox2, 93}, {GroupBox4, 97}};
  for (const auto& [box, width] : boxes) {
    box->setMinimumSize(width, 121);
    row->addWidget(box, width);
  }
  PageControl1->addTab(TabSheet1, QStringLiteral("通用"));

  connect(ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);
  connect(BfFont, &QPushButton::clicked, this, &TForm1::BfFontClick);
  connect(TBs, &QSlider::valueChanged, this, &TForm1::TBsChange);
  connect(TBp, &QSlider::valueChanged, this, &TForm1::TBpChange);
  connect(Blu, &QPushButton::clicked, this, &TForm1::BluClick);
  connect(Bu, &QPushButton::clicked, this, &TForm1::BuClick);
  connect(Bru, &QPushButton::clicked, this, &TForm1::BruClick);
  connect(Bl, &QPushButton::clicked, this, &TForm1::BlClick);
  connect(Br, &QPushButton::clicked, this, &TForm1::BrClick);
  connect(Bld, &QPushButton::clicked, this, &TForm1::BldClick);
  connect(Bd, &QPushButton::clicked, this, &TForm1::BdClick);
  connect(Brd, &QPushButton::clicked, this, &TForm1::BrdClick);
  connect(Ebg, &QSpinBox::valueChanged, this, &TForm1::EbgChange);
  connect(Ewm, &QSpinBox::valueChanged, this, &TForm1::EwmChange);
  connect(BautoColor, &QPushButton::clicked, this, &TForm1::BautoColorClick);
}

void TForm1::BuildAdvancedPage() {
  TabSheet2 = Named(new QWidget, "TabSheet2");
  auto* row = new QHBoxLayout(TabSheet2);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(3);

  GroupBox7 = Named(new QGroupBox(QStringLiteral("编码方式")), "GroupBox7");
  ComboBox2 = NewList("ComboBox2");
  for (const auto& text : mipofc::EncodingOptionTexts) ComboBox2->addItem(Q(text));
  ComboBox2->setCurrentIndex(0);
  Label5 = NewLabel("Label5", QStringLiteral("M:"));
  Eout04 = NewSpin("Eout04", 1, 15, 1);
  KeepSpaceWhenHidden(Label5);
  KeepSpaceWhenHidden(Eout04);
  Label5->hide();
  Eout04->hide();
  auto* g7 = new QVBoxLayout(GroupBox7);
  g7->addWidget(ComboBox2);
  auto* mRow = new QHBoxLayout;
  mRow->addWidget(Label5);
  mRow->addWidget(Eout04);
  mRow->addStretch(1);
  g7->addLayout(mRow);
  g7->addStretch(1);

  GroupBox6 = Named(new QGroupBox(QStringLiteral("输出分布")), "GroupBox6");
  ComboBox3 = NewList("ComboBox3");
  for (const auto& text : mipofc::DistributionOptionTexts) ComboBox3->addItem(Q(text));
  ComboBox3->setCurrentIndex(1);
  GroupBox5 = Named(new QGroupBox(QStringLiteral("扫描次序")), "GroupBox5");
  RWay01 = Named(new QRadioButton(QStringLiteral("横向")), "RWay01");
  RWay02 = Named(new QRadioButton(QStringLiteral("竖向")), "RWay02");
  RWay01->setChecked(true);
  auto* g5 = new QVBoxLayout(GroupBox5);
  g5->addWidget(RWay01);
  g5->addWidget(RWay02);
  GroupBox5->setMinimumSize(77, 65);
  KeepSpaceWhenHidden(GroupBox5);
  GroupBox5->hide();
  auto* g6 = new QVBoxLayout(GroupBox6);
  g6->addWidget(ComboBox3);
  g6->addWidget(GroupBox5, 0, Qt::AlignLeft);
  g6->addStretch(1);

  GroupBox8 = Named(new QGroupBox(QStringLiteral("限定输出量")), "GroupBox8");
  ComboBox4 = NewList("ComboBox4");
  for (const auto& text : LimitTexts) ComboBox4->addItem(Q(text));
  ComboBox4->setCurrentIndex(2);
  auto* g8 = new QVBoxLayout(GroupBox8);
  g8->addWidget(ComboBox4);
  g8->addStretch(1);

  const std::pair<QGroupBox*, int> boxes[] = {{GroupBox7, 133}, {GroupBox6, 177}, {GroupBox8, 105}};
  for (const auto& [box, width] : boxes) {
    box->setMinimumSize(width, 121);
    row->addWidget(box);
  }
  row->addStretch(1);
  PageControl1->addTab(TabSheet2, QStringLiteral("高级"));

  connect(ComboBox2, &QComboBox::activated, this, &TForm1::ComboBox2Change);
  connect(ComboBox3, &QComboBox::activated, this, &TForm1::ComboBox3Change);
  connect(ComboBox4, &QComboBox::activated, this, &TForm1::ComboBox4Change);
  connect(Eout04, &QSpinBox::valueChanged, this, &TForm1::Eout04Change);
  // A radio button runs its handler when it becomes checked, by the user or from code.
  connect(RWay01, &QRadioButton::toggled, this, [this](bool on) { if (on) RWay01Click(); });
  connect(RWay02, &QRadioButton::toggled, this, [this](bool on) { if (on) RWay02Click(); });
}

void TForm1::BuildPreviewPage() {
  TabSheet3 = Named(new QWidget, "TabSheet3");
  auto* page = new QVBoxLayout(TabSheet3);
  page->setContentsMargins(2, 2, 2, 2);

  Panel1 = Named(new QWidget, "Panel1");
  Panel1->setMinimumHeight(49);
  Label3 = NewLabel("Label3", QStringLiteral("颜色"));
  color0 = Named(new TSwatch(QStringLiteral("0"), 0x000000, 0xFFFFFF), "color0");
  color1 = Named(new TSwatch(QStringLiteral("1"), 0xFFFFFF, 0x000000), "color1");
  color2 = Named(new TSwatch(QStringLiteral("2"), 0x000080, 0x000000), "color2");
  color3 = Named(new TSwatch(QStringLiteral("3"), 0x808000, 0x000000), "color3");
  BmyColor = Named(new QPushButton(QStringLiteral("默认")), "BmyColor");
  CheckBox1 = Named(new QCheckBox(QStringLiteral("网格")), "CheckBox1");
  Label4 = NewLabel("Label4", QStringLiteral("色"));
  Shape1 = Named(new TShape(0xC0C0C0), "Shape1");
  Button1 = Named(new QPushButton(QStringLiteral("预览")), "Button1");
  Button1->hide();
  auto* strip = new QHBoxLayout(Panel1);
  strip->addWidget(Label3);
  auto* swatches = new QHBoxLayout;
  swatches->setSpacing(1);
  for (TSwatch* swatch : {color0, color1, color2, color3}) swatches->addWidget(swatch);
  strip->addLayout(swatches);
  strip->addWidget(BmyColor);
  strip->addSpacing(12);
  strip->addWidget(CheckBox1);
  strip->addWidget(Label4);
  strip->addWidget(Shape1);
  strip->addWidget(Button1);
  strip->addStretch(1);
  page->addWidget(Panel1);

  auto previewColumn = [](QLabel* caption, QScrollArea* box) {
    auto* col = new QVBoxLayout;
    col->setSpacing(2);
    col->addWidget(caption);
    col->addWidget(box);
    return col;
  };
  auto newImage = [](const char* boxName, const char* imageName, QScrollArea*& box, QLabel*& image) {
    box = Named(new QScrollArea, boxName);
    box->setFixedSize(169, 136);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image = Named(new QLabel, imageName);
    image->setFixedSize(128, 128);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setWidget(image);
  };
  newImage("ScrollBox1", "Image1", ScrollBox1, Image1);
  newImage("ScrollBox2", "Image2", ScrollBox2, Image2);
  Label10 = NewLabel("Label10", QStringLiteral("NES"));
  Label8 = NewLabel("Label8", QStringLiteral("CHR"));
  auto* previews = new QHBoxLayout;
  previews->addSpacing(86);
  previews->addLayout(previewColumn(Label10, ScrollBox1));
  previews->addSpacing(71);
  previews->addLayout(previewColumn(Label8, ScrollBox2));
  previews->addStretch(1);
  page->addLayout(previews);
  page->addStretch(1);
  PageControl2->addTab(TabSheet3, QStringLiteral("预览"));

  connect(color0, &TSwatch::clicked, this, &TForm1::color0Click);
  connect(color1, &TSwatch::clicked, this, &TForm1::color1Click);
  connect(color2, &TSwatch::clicked, this, &TForm1::color2Click);
  connect(color3, &TSwatch::clicked, this, &TForm1::color3Click);
  connect(Shape1, &TShape::mouseUp, this, &TForm1::Shape1MouseUp);
  connect(BmyColor, &QPushButton::clicked, this, &TForm1::BmyColorClick);
  connect(CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
}

void TForm1::BuildTextPage() {
  TabSheet4 = Named(new QWidget, "TabSheet4");
  auto* page = new QVBoxLayout(TabSheet4);
  page->setContentsMargins(0, 0, 0, 0);
  Memo1 = Named(new QTextEdit, "Memo1");
  Memo1->setAcceptRichText(true);
  Memo1->setLineWrapMode(QTextEdit::WidgetWidth);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The memo shows Chinese text: give it a face that has the ideographs.
  QFont memoFont(QStringLiteral("WenQuanYi Zen Hei"));
  memoFont.setPointSize(10);
  Memo1->setFont(memoFont);
  SetMemoText(*Memo1, QStringLiteral("你们大家好。789A\n你们大家好。789B\n你们大家好。789C\n"
                                     "你们大家好。789D\n你们大家好。789E\n你们大家好。789F\n"
                                     "你们大家好。789H\n你们大家好。789I\n你们大家好。789J"));
  page->addWidget(Memo1);
  PageControl2->addTab(TabSheet4, QStringLiteral("文本"));
  connect(Memo1, &QTextEdit::textChanged, this, &TForm1::Memo1Change);
}

void TForm1::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  auto item = [this](QMenu* menu, QAction*& action, const char* name, const QString& caption, void (TForm1::*handler)()) {
    action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, handler);
  };
  N1 = Named(bar->addMenu(QStringLiteral("文件(&F)")), "N1");
  item(N1, N2, "N2", QStringLiteral("新建(&N)"), &TForm1::N2Click);
  item(N1, N3, "N3", QStringLiteral("打开(&O)"), &TForm1::N3Click);
  item(N1, N4, "N4", QStringLiteral("保存(&S)"), &TForm1::N4Click);
  item(N1, N5, "N5", QStringLiteral("另存为(&A)"), &TForm1::N5Click);
  N7 = N1->addSeparator();
  N7->setObjectName(QStringLiteral("N7"));
  item(N1, N6, "N6", QStringLiteral("退出(&X)"), &TForm1::N6Click);
  N8 = Named(bar->addMenu(QStringLiteral("文本(&T)")), "N8");
  item(N8, N9, "N9", QStringLiteral("加载...(&L)"), &TForm1::N9Click);
  item(N8, N10, "N10", QStringLiteral("粘贴(&P)"), &TForm1::N10Click);
  N14 = Named(bar->addMenu(QStringLiteral("输出(&O)")), "N14");
  item(N14, CHR1, "CHR1", QStringLiteral("CHR(&C)"), &TForm1::CHR1Click);
  item(N14, ASMS1, "ASMS1", QStringLiteral("INC(&I)"), &TForm1::ASMS1Click);
  N15 = Named(bar->addMenu(QStringLiteral("帮助(&H)")), "N15");
  item(N15, N16, "N16", QStringLiteral("关于(&A)"), &TForm1::N16Click);
}

}  // namespace mipofc
