#include "ui/Unit1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QScreen>
#include <QStandardPaths>
#include <QWindow>
#include <cmath>
#include <exception>

#include "params/paramfile.h"
#include "text/text.h"
#include "ui/Unit2.h"
#include "ui/Widgets.h"

namespace mipofc {

namespace {

QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

template <class W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

QLabel* NewLabel(const char* name, const QString& caption) { return Named(new QLabel(caption), name); }

QComboBox* NewList(const char* name) {
  auto* list = Named(new QComboBox, name);
  list->setEditable(false);
  list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return list;
}

QSpinBox* NewSpin(const char* name, int lo, int hi, int value) {
  auto* spin = Named(new QSpinBox, name);
  spin->setRange(lo, hi);
  spin->setValue(value);
  spin->setAccelerated(false);
  return spin;
}

QSlider* NewSlider(const char* name, int lo, int hi, int value) {
  auto* slider = Named(new QSlider(Qt::Horizontal), name);
  slider->setRange(lo, hi);
  slider->setSingleStep(1);
  slider->setPageStep(1);
  slider->setValue(value);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(1);
  return slider;
}

QStringList Items(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

std::vector<std::string> Utf8Items(const QComboBox* list) {
  std::vector<std::string> items;
  for (int i = 0; i < list->count(); ++i) items.push_back(list->itemText(i).toStdString());
  return items;
}

// Replaces a list's items only when they differ, then selects index (no change event either way).
void SetItems(QComboBox* list, const std::vector<std::string>& items, int index) {
  QStringList wanted;
  for (const auto& item : items) wanted << Q(item);
  if (Items(list) != wanted) {
    list->clear();
    list->addItems(wanted);
  }
  list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

// Dialog filters in the "description (patterns);;..." form of TDialogs.
const QString ChrFilter = QStringLiteral("CHR字模文件(*.chr);;所有文件(*)");
const QString IncFilter = QStringLiteral("汇编包含文件(*.inc);;所有文件(*)");
const QString ParamFilter = QStringLiteral("参数文件(*.ini)");

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString WithIniExtension(const QString& path) {
  return QFileInfo(path).fileName().contains(QLatin1Char('.')) ? path : path + QStringLiteral(".ini");
}

void KeepSpaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

}  // namespace

QImage ToQImage(const TBitmap& bitmap) {
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
  const auto& pixels = bitmap.Pixels();
  for (int y = 0; y < bitmap.Height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < bitmap.Width(); ++x) {
      const TColor c = pixels[static_cast<std::size_t>(y) * bitmap.Width() + x];
      line[x] = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    }
  }
  return image;
}

QFont ToQFont(const TFont& font) {
  QFont q(Q(font.Name));
  q.setPointSize(font.Size > 0 ? font.Size : 10);
  q.setBold(font.Bold);
  q.setItalic(font.Italic);
  q.setUnderline(font.Underline);
  q.setStrikeOut(font.StrikeOut);
  return q;
}

TFont FromQFont(const QFont& qfont, TFont base) {
  base.Name = qfont.family().toStdString();
  // A face picked by family name replaces a font named by its file.
  base.File.clear();
  base.FaceIndex = 0;
  int points = static_cast<int>(std::lround(qfont.pointSizeF()));
  if (points <= 0 && qfont.pixelSize() > 0) points = MulDivRound(qfont.pixelSize(), 72, 96);
  base.SetSize(points > 0 ? points : base.Size);
  base.Bold = qfont.bold();
  base.Italic = qfont.italic();
  base.Underline = qfont.underline();
  base.StrikeOut = qfont.strikeOut();
  return base;
}

TForm1::TForm1(std::unique_ptr<TDialogs> dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs ? std::move(dialogs) : std::make_unique<TQtDialogs>()) {
  setObjectName(QStringLiteral("Form1"));

  auto* central = new QWidget;
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  PageControl1 = Named(new QTabWidget, "PageControl1");
  PageControl2 = Named(new QTabWidget, "PageControl2");
  column->addWidget(PageControl1);
  column->addWidget(PageControl2, 1);
  setCentralWidget(central);
  central->setMinimumWidth(570);

  BuildGeneralPage();
  BuildAdvancedPage();
  BuildPreviewPage();
  BuildTextPage();
  BuildMenu();

  StatusBar = Named(new QStatusBar, "StatusBar");
  StatusBar->setSizeGripEnabled(false);
  auto* ready = NewLabel("StatusBarPanel1", QStringLiteral("就绪"));
  ready->setMinimumWidth(200);
  auto* note = NewLabel("StatusBarPanel2", QStringLiteral("注释"));
  note->setMinimumWidth(50);
  StatusBar->addWidget(ready);
  StatusBar->addWidget(note);
  setStatusBar(StatusBar);

  Timer1 = Named(new QTimer(this), "Timer1");
  Timer1->setInterval(500);
  connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

  FormCreate();

  // Fixed border: the window takes the size its layout needs and the user cannot change it.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  Timer1->start();
}

TForm1::~TForm1() = default;

void TForm1::BuildGeneralPage() {
  TabSheet1 = Named(new QWidget, "TabSheet1");
  auto* row = new QHBoxLayout(TabSheet1);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(3);

  GroupBox1 = Named(new QGroupBox(QStringLiteral("字模尺寸")), "GroupBox1");
  ComboBox1 = NewList("ComboBox1");
  for (const auto& text : CellSizeTexts) ComboBox1->addItem(Q(text));
  ComboBox1->setCurrentIndex(3);
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
  Memo1->setPlainText(QStringLiteral("你们大家好。789A\n你们大家好。789B\n你们大家好。789C\n"
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

void TForm1::FormCreate() {
  PageControl1->setCurrentIndex(0);
  PageControl2->setCurrentIndex(0);

  // The layout font: 宋体 10 pt in the window-text colour.
  BfFontFont = TOptionValues().Font;
  ShowFontCaption();
  {
    // The slider starts on the font's size; its handler would only repeat what is set here.
    const QSignalBlocker block(TBs);
    TBs->setValue(ClampTo(BfFontFont.Size, 6, 28));
  }

  TitleText = QStringLiteral("Tolvar-MipoFC字模工具 V3.2 UNICODE");
  setWindowTitle(TitleText + QStringLiteral("  [NEW]"));

  QApplication::setApplicationDisplayName(QString());
  QApplication::setApplicationName(TitleText);
  ParamFileNamed = false;
  UseExeFolder(QCoreApplication::applicationDirPath());

  EncodingOptionTexts = Items(ComboBox2);
  DistributionOptionTexts = Items(ComboBox3);

  PosX = 0;
  PosY = 0;

  FontDialog1Font = BfFontFont;

  ReadPalette();
  QImage blank(128, 128, QImage::Format_RGB32);
  blank.fill(ToQColor(PreviewPalette[ClampTo(Ebg->value(), 0, 3)]));
  image1Picture_ = blank;
  image2Picture_ = blank;
  ShowPicture(Image1, image1Picture_);
  ShowPicture(Image2, image2Picture_);

  Label9->setText(QString::number(TBs->value()));
  Label11->setText(QString::number(TBp->value()));

  OptionsChanged = true;
}

// ---- option values -------------------------------------------------------------------------

TOptionValues TForm1::ReadOptions() const {
  TOptionValues v;
  v.CellSizeIndex = ComboBox1->currentIndex();
  v.EncodingItems = Utf8Items(ComboBox2);
  v.EncodingIndex = ComboBox2->currentIndex();
  v.DistributionItems = Utf8Items(ComboBox3);
  v.DistributionIndex = ComboBox3->currentIndex();
  v.LimitIndex = ComboBox4->currentIndex();
  v.NarrowWide = TBp->value();
  v.FontSize = TBs->value();
  v.PosX = PosX;
  v.PosY = PosY;
  v.BgIndex = Ebg->value();
  v.GlyphIndex = Ewm->value();
  v.ColoursLocked = !Ebg->isEnabled();
  v.MVisible = !Eout04->isHidden();
  v.M = Eout04->value();
  v.ScanHorizontal = RWay01->isChecked();
  v.ScanVertical = RWay02->isChecked();
  v.ScanEnabled = RWay01->isEnabled();
  v.Font = BfFontFont;
  v.DialogFont = FontDialog1Font;
  return v;
}

void TForm1::WriteOptions(const TOptionValues& v) {
  ComboBox1->setCurrentIndex(v.CellSizeIndex >= 0 && v.CellSizeIndex < ComboBox1->count() ? v.CellSizeIndex : -1);
  SetItems(ComboBox2, v.EncodingItems, v.EncodingIndex);
  SetItems(ComboBox3, v.DistributionItems, v.DistributionIndex);
  ComboBox4->setCurrentIndex(v.LimitIndex >= 0 && v.LimitIndex < ComboBox4->count() ? v.LimitIndex : -1);

  BfFontFont = v.Font;
  FontDialog1Font = v.DialogFont;
  ShowFontCaption();
  TBs->setValue(v.FontSize);
  TBp->setValue(v.NarrowWide);
  PosX = v.PosX;
  PosY = v.PosY;

  Ebg->setValue(v.BgIndex);
  Ewm->setValue(v.GlyphIndex);
  Ebg->setEnabled(!v.ColoursLocked);
  Ewm->setEnabled(!v.ColoursLocked);
  Label5->setHidden(!v.MVisible);
  Eout04->setHidden(!v.MVisible);
  Eout04->setValue(v.M);

  RWay01->setEnabled(v.ScanEnabled);
  RWay02->setEnabled(v.ScanEnabled);
  // Both may be unchecked (a loaded file can say so); auto-exclusivity would refuse that.
  RWay01->setAutoExclusive(false);
  RWay02->setAutoExclusive(false);
  RWay01->setChecked(v.ScanHorizontal);
  RWay02->setChecked(v.ScanVertical && !v.ScanHorizontal);
  RWay01->setAutoExclusive(true);
  RWay02->setAutoExclusive(true);
}

void TForm1::ApplySizeRules() {
  TOptionValues v = ReadOptions();
  if (v.CellSizeIndex < 0) return;
  mipofc::ApplySizeRules(v);
  // The size rule selects mode 0 from code; run its rule too, so that the M field and the
  // colour lock never belong to a mode that is no longer selected.
  mipofc::ApplyEncodingRule(v);
  WriteOptions(v);
}

void TForm1::ApplyEncodingRule() {
  TOptionValues v = ReadOptions();
  mipofc::ApplyEncodingRule(v);
  WriteOptions(v);
}

void TForm1::ApplyChosenFont() {
  TOptionValues v = ReadOptions();
  mipofc::ApplyChosenFont(v);
  WriteOptions(v);
}

void TForm1::GatherSettings(TChrSettings& s) { s = mipofc::GatherSettings(ReadOptions(), &BfFontFont); }

TChrSettings TForm1::GatherSettings() {
  TChrSettings s;
  GatherSettings(s);
  return s;
}

void TForm1::ReadPalette() {
  PreviewPalette = {color0->Color(), color1->Color(), color2->Color(), color3->Color()};
}

std::u16string TForm1::JoinedText() const {
  const QString text = Memo1->toPlainText();
  return mipofc::JoinedText(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                static_cast<std::size_t>(text.size())));
}

// ---- previews ------------------------------------------------------------------------------

void TForm1::FillPreviewBackground(TBitmap& target) const { ClearPreviewTarget(target, Shape1->Color()); }

void TForm1::RefreshPreviews() {
  const std::u16string text = JoinedText();
  const TChrSettings settings = GatherSettings();
  ReadPalette();
  const bool grid = CheckBox1->isChecked();
  const std::pair<TPreviewKind, QImage*> previews[] = {{TPreviewKind::Text, &image1Picture_},
                                                        {TPreviewKind::Bank, &image2Picture_}};
  for (auto [kind, picture] : previews) {
    TBitmap target;
    FillPreviewBackground(target);
    DrawPreview(kind, target, PreviewPalette, grid, settings, text);
    *picture = ToQImage(target);
  }
  ShowPicture(Image1, image1Picture_);
  ShowPicture(Image2, image2Picture_);
  emit PreviewsRefreshed();
}

QPixmap CrispPixmap(const QImage& picture, qreal ratio) {
  const int side = static_cast<int>(std::lround(picture.width() * ratio));
  QPixmap pixmap = QPixmap::fromImage(
      side == picture.width() ? picture : picture.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  pixmap.setDevicePixelRatio(ratio);
  return pixmap;
}

void TForm1::ShowPicture(QLabel* image, const QImage& picture) {
  image->setPixmap(CrispPixmap(picture, image->devicePixelRatioF()));
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (followsScreen_ || !windowHandle()) return;
  followsScreen_ = true;
  // A move to a screen of another scale needs the pictures scaled anew to stay crisp.
  connect(windowHandle(), &QWindow::screenChanged, this, [this] {
    ShowPicture(Image1, image1Picture_);
    ShowPicture(Image2, image2Picture_);
  });
}

void TForm1::ShowFontCaption() {
  BfFont->setText(Q(BfFontFont.Name));
  // The caption shows the face and style; its size stays the window's, so it fits the button.
  QFont shown = ToQFont(BfFontFont);
  shown.setPointSizeF(font().pointSizeF() > 0 ? font().pointSizeF() : 9);
  BfFont->setFont(shown);
}

void TForm1::ReportError(const QString& text) { dialogs_->Message(this, TitleText, text); }

void TForm1::RunCommand(const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& e) {
    ReportError(QString::fromUtf8(e.what()));
  } catch (...) {
    ReportError(QStringLiteral("Unknown error"));
  }
}

// ---- handlers ------------------------------------------------------------------------------

void TForm1::ComboBox1Change() {
  ApplySizeRules();
  SetFlag();
}

void TForm1::ComboBox2Change() {
  ApplyEncodingRule();
  SetFlag();
}

void TForm1::ComboBox3Change() { SetFlag(); }
void TForm1::ComboBox4Change() { SetFlag(); }

void TForm1::BfFontClick() {
  FontDialog1Font = BfFontFont;
  if (const auto chosen = dialogs_->ChooseFont(this, ToQFont(FontDialog1Font))) {
    FontDialog1Font = FromQFont(*chosen, FontDialog1Font);
    ApplyChosenFont();
  }
  SetFlag();
}

void TForm1::TBsChange() {
  BfFontFont.SetSize(TBs->value());
  Label9->setText(QString::number(TBs->value()));
  SetFlag();
}

void TForm1::TBpChange() {
  Label11->setText(QString::number(TBp->value()));
  SetFlag();
}

void TForm1::Nudge(int dx, int dy) {
  PosX += dx;
  PosY += dy;
  Lsite->setText(QStringLiteral("(%1, %2)").arg(PosX).arg(PosY));
  SetFlag();
}

void TForm1::BluClick() { Nudge(-1, -1); }
void TForm1::BuClick() { Nudge(0, -1); }
void TForm1::BruClick() { Nudge(1, -1); }
void TForm1::BlClick() { Nudge(-1, 0); }
void TForm1::BrClick() { Nudge(1, 0); }
void TForm1::BldClick() { Nudge(-1, 1); }
void TForm1::BdClick() { Nudge(0, 1); }
void TForm1::BrdClick() { Nudge(1, 1); }

void TForm1::BautoColorClick() {
  Ebg->setValue(0);
  Ewm->setValue(1);
  SetFlag();
}

void TForm1::EbgChange() { SetFlag(); }
void TForm1::EwmChange() { SetFlag(); }
void TForm1::Eout04Change() { SetFlag(); }
void TForm1::RWay01Click() { SetFlag(); }
void TForm1::RWay02Click() { SetFlag(); }
void TForm1::CheckBox1Click() { SetFlag(); }

void TForm1::ChooseSwatchColour(TSwatch* swatch) {
  if (const auto chosen = dialogs_->ChooseColour(this, ToQColor(swatch->Color()))) swatch->SetColor(FromQColor(*chosen));
  SetFlag();
}

void TForm1::color0Click() { ChooseSwatchColour(color0); }
void TForm1::color1Click() { ChooseSwatchColour(color1); }
void TForm1::color2Click() { ChooseSwatchColour(color2); }
void TForm1::color3Click() { ChooseSwatchColour(color3); }

void TForm1::Shape1MouseUp() {
  if (const auto chosen = dialogs_->ChooseColour(this, ToQColor(Shape1->Color()))) Shape1->SetColor(FromQColor(*chosen));
  SetFlag();
}

void TForm1::BmyColorClick() {
  color0->SetColor(0x000000);
  color1->SetColor(0xFFFFFF);
  color2->SetColor(0x000080);
  color3->SetColor(0x808000);
  SetFlag();
}

void TForm1::Memo1Change() { SetFlag(); }

void TForm1::Timer1Timer() {
  if (!OptionsChanged) return;
  OptionsChanged = false;
  GroupBox5->setVisible(ComboBox3->currentText().startsWith(QLatin1Char('0')));
  // On a failure the previews keep their last pictures; the next change tries again.
  RunCommand([this] { RefreshPreviews(); });
}

void TForm1::Button1Click() {
  RunCommand([this] { RefreshPreviews(); });
}

void TForm1::N9Click() {
  const auto file =
      dialogs_->OpenFile(this, QStringLiteral("文本(*.txt);;任意文本(*)"), QString());
  if (!file) return;
  RunCommand([&] {
    const std::u16string text = LoadTextFile(LocalPath(*file));
    QString content = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    content.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Memo1->setPlainText(content);
  });
}

void TForm1::N10Click() { Memo1->paste(); }

void TForm1::N6Click() { close(); }

// ---- parameter files -----------------------------------------------------------------------

QString TForm1::DefaultParamFileFor(const QString& exeFolder) {
  const QFileInfo exe(exeFolder);
  if (exe.isDir() && exe.isWritable()) return QDir(exeFolder).filePath(QStringLiteral("myDEF.ini"));
  // An installed program's folder belongs to the system: keep the settings with the user's.
  QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
  const QString folder = config + QStringLiteral("/mipofc");
  QDir().mkpath(folder);
  return folder + QStringLiteral("/myDEF.ini");
}

void TForm1::UseExeFolder(const QString& folder) {
  ExeFolder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
  DefaultParamFile = DefaultParamFileFor(ExeFolder);
  if (!ParamFileNamed) CurrentParamFile = DefaultParamFile;
}

void TForm1::ShowParamCaption() {
  setWindowTitle(TitleText + QStringLiteral("  [") + QFileInfo(CurrentParamFile).fileName() + QStringLiteral("]"));
}

bool TForm1::SaveParamFile() {
  TOptionValues v = ReadOptions();
  // Every run paints the font in use black; the file keeps the colour the font was chosen with.
  v.Font.Color = FontDialog1Font.Color;
  try {
    mipofc::SaveParamFile(LocalPath(CurrentParamFile), v);
  } catch (const TParamFolderError& e) {
    ReportError(QString::fromUtf8(e.what()));
    return false;
  }
  ShowParamCaption();
  return true;
}

bool TForm1::LoadParamFile() {
  TOptionValues v = ReadOptions();
  try {
    mipofc::LoadParamFile(LocalPath(CurrentParamFile), v);
  } catch (const TParamFolderError& e) {
    ReportError(QString::fromUtf8(e.what()));
    return false;
  }
  // A loaded encoding mode brings its rule, as a pick in the list does: the M field for mode 1,
  // colours 0 and 1 for the colour-overlap modes (the command-line tool does the same).
  mipofc::ApplyEncodingRule(v);
  WriteOptions(v);
  ShowParamCaption();
  return true;
}

std::optional<QString> TForm1::AskParamFile(bool saving) {
  const QString folder = QFileInfo(DefaultParamFile).absolutePath();
  const auto chosen = saving ? dialogs_->SaveFile(this, ParamFilter, QStringLiteral("ini"), folder)
                             : dialogs_->OpenFile(this, ParamFilter, folder);
  if (!chosen) return std::nullopt;
  return WithIniExtension(*chosen);
}

// Makes path the current parameter file for one load or save. A file that could not be read or
// written does not stay current: the caption and the save at close keep naming the file before.
void TForm1::SwitchParamFile(const QString& path, bool (TForm1::*action)()) {
  const QString before = CurrentParamFile;
  CurrentParamFile = path;
  try {
    (this->*action)();
  } catch (...) {
    CurrentParamFile = before;
    throw;
  }
  ParamFileNamed = true;
}

void TForm1::N2Click() {
  RunCommand([this] {
    SaveParamFile();
    CurrentParamFile = DefaultParamFile;
    LoadParamFile();
    ParamFileNamed = false;
    SetFlag();
  });
}

void TForm1::N3Click() {
  RunCommand([this] {
    const auto chosen = AskParamFile(false);
    if (!chosen) return;
    SwitchParamFile(*chosen, &TForm1::LoadParamFile);
    SetFlag();
  });
}

void TForm1::N4Click() {
  RunCommand([this] {
    if (ParamFileNamed) {
      SaveParamFile();
      return;
    }
    if (const auto chosen = AskParamFile(true)) SwitchParamFile(*chosen, &TForm1::SaveParamFile);
  });
}

void TForm1::N5Click() {
  RunCommand([this] {
    if (const auto chosen = AskParamFile(true)) SwitchParamFile(*chosen, &TForm1::SaveParamFile);
  });
}

bool TForm1::FormCloseQuery() {
  if (!ParamFileNamed) return true;
  bool canClose = false;
  // A missing folder has been reported and the window closes; a write error keeps it open, so
  // that the settings can still be saved elsewhere.
  RunCommand([&] {
    SaveParamFile();
    canClose = true;
  });
  return canClose;
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (FormCloseQuery())
    event->accept();
  else
    event->ignore();
}

// ---- export and About ----------------------------------------------------------------------

void TForm1::ExportBanks(TBankFormat format) {
  const bool chr = format == TBankFormat::Chr;
  QString& last = chr ? lastChrName_ : lastIncName_;
  const auto chosen = dialogs_->SaveFile(this, chr ? ChrFilter : IncFilter,
                                         chr ? QStringLiteral("chr") : QStringLiteral("inc"), last);
  if (!chosen) return;
  last = *chosen;
  const std::u16string text = JoinedText();
  const TChrSettings settings = GatherSettings();
  const std::int64_t count = mipofc::ExportBanks(LocalPath(*chosen), format, settings, text);
  dialogs_->Message(this, TitleText,
                    QStringLiteral("生成") + QString::number(count) +
                        (chr ? QStringLiteral("个chr文件") : QStringLiteral("个inc文件")));
}

void TForm1::CHR1Click() {
  RunCommand([this] { ExportBanks(TBankFormat::Chr); });
}

void TForm1::ASMS1Click() {
  RunCommand([this] { ExportBanks(TBankFormat::Inc); });
}

void TForm1::N16Click() {
  if (!AboutBox) AboutBox = new TAboutBox(this);
  AboutBox->exec();
}

}  // namespace mipofc
