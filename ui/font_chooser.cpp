#include "ui/font_chooser.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <algorithm>
#include <set>

#include "base/errors.h"
#include "font/surface.h"
#include "ui/form_helpers.h"
#include "ui/main_window.h"

namespace mipofc {

using namespace formdetail;

namespace {

constexpr int LowestSize = 6, HighestSize = 28;  // the size slider's range, in points
const char16_t SampleText[] = u"《感遇・其一》字模 AaBb12";

// The styles, each a pair of Italic and Bold: row = Italic + 2 x Bold.
const QString StyleNames[] = {QStringLiteral("常规"), QStringLiteral("倾斜"), QStringLiteral("粗体"),
                              QStringLiteral("粗偏斜体")};

// The families of the installed faces, each once, in order; found once per run.
const std::vector<std::string>& InstalledFamilies() {
  static const std::vector<std::string> families = [] {
    std::set<std::string> names;
    try {
      for (const TInstalledFace& face : InstalledFaces(false)) names.insert(face.Face.Family);
    } catch (const TFontError&) {
      // No configuration: only the rule families and the font in use are offered.
    }
    return std::vector<std::string>(names.begin(), names.end());
  }();
  return families;
}

// The family a font is drawn with: a font file's face, or the face its name matches.
QString DrawnFamily(const TFont& font) {
  try {
    if (!font.File.empty()) return Q(FontFileFace(font.File, font.FaceIndex).Family);
    return Q(MatchFontFamily(font).Family);
  } catch (const TFontError&) {
    return Q(font.Name);
  }
}

// The advance of a character in the sample: ideographs and full-width forms take the em.
int Advance(char16_t c, int em) { return c >= 0x2E80 ? em : (em + 1) / 2; }

}  // namespace

TFontChooser::TFontChooser(QWidget* parent, const TFont& initial) : QDialog(parent), initial_(initial) {
  setObjectName(QStringLiteral("FontDialog1"));
  setWindowTitle(QStringLiteral("字体"));

  ListFamily = Named(new QListWidget, "ListFamily");
  initialFamily_ = DrawnFamily(initial);
  QStringList families;
  for (const std::string& name : RuleFamilyNames()) families << Q(name);
  const qsizetype rules = families.size();
  if (!families.contains(initialFamily_)) families << initialFamily_;
  for (const std::string& name : InstalledFamilies())
    if (!families.contains(Q(name))) families << Q(name);
  ListFamily->addItems(families);
  // The rule families stand apart from the faces themselves.
  for (qsizetype i = 0; i < rules; ++i) ListFamily->item(static_cast<int>(i))->setToolTip(QStringLiteral("映射到已安装的字体"));
  ListFamily->setCurrentRow(static_cast<int>(families.indexOf(initialFamily_)));

  ListStyle = Named(new QListWidget, "ListStyle");
  for (const QString& style : StyleNames) ListStyle->addItem(style);
  ListStyle->setCurrentRow(int{initial.Italic} + 2 * int{initial.Bold});

  ListSize = Named(new QListWidget, "ListSize");
  const int size = initialSize_ = initial.Size > 0 ? initial.Size : 10;
  for (int points = std::min(LowestSize, size); points <= std::max(HighestSize, size); ++points) {
    if ((points < LowestSize || points > HighestSize) && points != size) continue;
    auto* item = new QListWidgetItem(QStringLiteral("%1").arg(points), ListSize);
    item->setData(Qt::UserRole, points);
    item->setToolTip(QStringLiteral("%1 像素").arg(MulDivRound(points, 96, 72)));
    if (points == size) ListSize->setCurrentItem(item);
  }

  CheckUnderline = Named(new QCheckBox(QStringLiteral("下划线(&U)")), "CheckUnderline");
  CheckUnderline->setChecked(initial.Underline);
  CheckStrikeOut = Named(new QCheckBox(QStringLiteral("删除线(&K)")), "CheckStrikeOut");
  CheckStrikeOut->setChecked(initial.StrikeOut);
  LFace = NewLabel("LFace", QString());
  Sample = NewLabel("Sample", QString());
  Sample->setFixedSize(360, 84);
  Sample->setAlignment(Qt::AlignCenter);
  Sample->setFrameShape(QFrame::StyledPanel);
  Sample->setAutoFillBackground(true);
  QPalette white = Sample->palette();
  white.setColor(QPalette::Window, Qt::white);
  Sample->setPalette(white);

  Buttons = Named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel), "Buttons");
  connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("字体(&F)：")), 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("字形(&Y)：")), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("大小(&S)：")), 0, 2);
  grid->addWidget(ListFamily, 1, 0);
  grid->addWidget(ListStyle, 1, 1);
  grid->addWidget(ListSize, 1, 2);
  for (auto [label, list] : {std::pair{0, ListFamily}, std::pair{1, ListStyle}, std::pair{2, ListSize}})
    static_cast<QLabel*>(grid->itemAtPosition(0, label)->widget())->setBuddy(list);
  ListFamily->setMinimumWidth(220);
  ListStyle->setFixedWidth(90);
  ListSize->setFixedWidth(70);
  auto* effects = new QHBoxLayout;
  effects->addWidget(CheckUnderline);
  effects->addWidget(CheckStrikeOut);
  effects->addStretch(1);
  grid->addLayout(effects, 2, 0, 1, 3);
  grid->addWidget(LFace, 3, 0, 1, 3);
  grid->addWidget(Sample, 4, 0, 1, 3, Qt::AlignHCenter);
  grid->addWidget(Buttons, 5, 0, 1, 3);

  for (QListWidget* list : {ListFamily, ListStyle, ListSize})
    connect(list, &QListWidget::currentRowChanged, this, &TFontChooser::ShowSample);
  for (QCheckBox* box : {CheckUnderline, CheckStrikeOut}) connect(box, &QCheckBox::toggled, this, &TFontChooser::ShowSample);
  ShowSample();
  ListFamily->setFocus();
}

TFont TFontChooser::Choice() const {
  TFont font = initial_;
  if (const QListWidgetItem* family = ListFamily->currentItem(); family && family->text() != initialFamily_) {
    font.Name = family->text().toStdString();
    font.File.clear();
    font.FaceIndex = 0;
  }
  if (const int style = ListStyle->currentRow(); style >= 0) {
    font.Italic = style % 2 == 1;
    font.Bold = style >= 2;
  }
  // The size is set only when another is chosen: a font's own height stays as it was.
  if (const QListWidgetItem* size = ListSize->currentItem()) {
    const int points = size->data(Qt::UserRole).toInt();
    if (points != initialSize_) font.SetSize(points);
  }
  font.Underline = CheckUnderline->isChecked();
  font.StrikeOut = CheckStrikeOut->isChecked();
  return font;
}

void TFontChooser::ShowSample() {
  const TFont font = Choice();
  LFace->setText(QStringLiteral("显示字体：") + DrawnFamily(font));
  try {
    const auto face = ResolveFont(font);
    const int em = face->EmPixels();
    int width = 0;
    for (const char16_t c : std::u16string_view(SampleText)) width += Advance(c, em);
    TBitmap bitmap;
    bitmap.SetSize(width + 4, em + em / 4 + 4);
    bitmap.Canvas.BrushColor = 0xFFFFFF;
    bitmap.Canvas.PenColor = 0xFFFFFF;
    bitmap.FillRect(0, 0, bitmap.Width(), bitmap.Height());
    int x = 2;
    for (const char16_t c : std::u16string_view(SampleText)) {
      face->Draw(bitmap, x, 2, c, 0x000000);
      x += Advance(c, em);
    }
    // Whole pixels, as large as the sample holds them.
    const int scale = std::clamp(std::min(Sample->width() / bitmap.Width(), Sample->height() / bitmap.Height()), 1, 4);
    const QImage picture = ToQImage(bitmap);
    Sample->setPixmap(QPixmap::fromImage(
        picture.scaled(picture.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
  } catch (const TFontError&) {
    Sample->setPixmap(QPixmap());
    Sample->setText(QStringLiteral("无法用此字体绘制"));
  }
}

}  // namespace mipofc
