// TViewer: the bank viewer "字库浏览": any bank of the text, zoomed, with whose tile is where.
#include "base/file_write.h"
#include "ui/bank_viewer.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "jobs/export.h"
#include "jobs/preview_sheet.h"
#include "ui/form_helpers.h"
#include "ui/main_window.h"
#include "ui/widgets.h"

namespace mipofc {

using namespace formdetail;

namespace {

constexpr int MaxZoom = 8;

QPixmap ZoomedPixmap(const QImage& picture, int zoom, qreal ratio) {
  const int side = static_cast<int>(std::lround(picture.width() * zoom * ratio));
  QPixmap pixmap =
      QPixmap::fromImage(picture.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  pixmap.setDevicePixelRatio(ratio);
  return pixmap;
}

QString Hex(int value, int digits) {
  return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

}  // namespace

QString HoverText(const THoverInfo& info) {
  QString text = QStringLiteral("库 %1").arg(info.Bank);
  if (info.Slot >= 0) text += QStringLiteral("  槽 ") + Hex(info.Slot, 2);
  if (info.Blank) return text + QStringLiteral("  空白");
  const QChar ch(info.Char);
  // A lone surrogate or a control character has no glyph to show; its code point says it all.
  text += !ch.isSurrogate() && ch.isPrint() ? QStringLiteral("  「") + ch + QStringLiteral("」 ")
                                            : QStringLiteral("  ");
  text += QStringLiteral("U+") + Hex(info.Char, 4);
  text += QStringLiteral("  位置 ") + QString::number(info.Position);
  text += QStringLiteral("  块 列 %1 行 %2").arg(info.Col).arg(info.Row);
  return text;
}

TViewer::TViewer(TForm1* form) : QMainWindow(form, Qt::Window), form_(form) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("字库浏览"));

  auto* central = new QWidget;
  auto* column = new QVBoxLayout(central);
  auto* bar = new QHBoxLayout;
  SpinBank = NewSpin("SpinBank", 0, 0, 0);
  BPrevBank = Named(new QPushButton(QStringLiteral("◀")), "BPrevBank");
  BNextBank = Named(new QPushButton(QStringLiteral("▶")), "BNextBank");
  BPrevBank->setToolTip(QStringLiteral("上一库 (Page Up)"));
  BNextBank->setToolTip(QStringLiteral("下一库 (Page Down)"));
  for (QPushButton* button : {BPrevBank, BNextBank}) button->setFixedWidth(28);
  LFileName = NewLabel("LFileName", QStringLiteral("未命名"));
  LFileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
  ComboZoom = NewList("ComboZoom");
  for (int z = 1; z <= MaxZoom; ++z) ComboZoom->addItem(QStringLiteral("%1x").arg(z));
  ComboZoom->setCurrentIndex(zoom_ - 1);
  ComboZoom->setToolTip(QStringLiteral("Ctrl + 滚轮"));
  BSavePicture = Named(new QPushButton(QStringLiteral("保存图片(&S)...")), "BSavePicture");
  bar->addWidget(NewLabel("LBank", QStringLiteral("库")));
  bar->addWidget(SpinBank);
  bar->addWidget(BPrevBank);
  bar->addWidget(BNextBank);
  bar->addSpacing(8);
  bar->addWidget(LFileName, 1);
  bar->addWidget(NewLabel("LZoom", QStringLiteral("缩放")));
  bar->addWidget(ComboZoom);
  bar->addWidget(BSavePicture);
  column->addLayout(bar);

  auto newPicture = [this](const char* boxName, const char* imageName, const QString& caption,
                           QScrollArea*& box, QLabel*& image) {
    box = Named(new QScrollArea, boxName);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setMinimumSize(140, 140);
    image = Named(new QLabel, imageName);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setMouseTracking(true);
    image->installEventFilter(this);
    box->setWidget(image);
    auto* col = new QVBoxLayout;
    col->addWidget(new QLabel(caption));
    col->addWidget(box, 1);
    return col;
  };
  auto* pictures = new QHBoxLayout;
  pictures->addLayout(newPicture("ScrollBox3", "Image3", QStringLiteral("NES"), ScrollBox3, Image3), 1);
  pictures->addLayout(newPicture("ScrollBox4", "Image4", QStringLiteral("CHR"), ScrollBox4, Image4), 1);
  column->addLayout(pictures, 1);
  setCentralWidget(central);

  ViewerStatus = Named(new QStatusBar, "ViewerStatus");
  setStatusBar(ViewerStatus);
  LCode = NewLabel("LCode", QString());
  ViewerStatus->addPermanentWidget(LCode);

  connect(SpinBank, &QSpinBox::valueChanged, this, &TViewer::SpinBankChange);
  connect(BPrevBank, &QPushButton::clicked, this, [this] { ShowBank(bank_ - 1); });
  connect(BNextBank, &QPushButton::clicked, this, [this] { ShowBank(bank_ + 1); });
  connect(ComboZoom, &QComboBox::currentIndexChanged, this, &TViewer::ComboZoomChange);
  connect(BSavePicture, &QPushButton::clicked, this, &TViewer::BSavePictureClick);
  // Page Up / Page Down and Ctrl + wheel mean the same wherever the pointer or focus is.
  qApp->installEventFilter(this);

  textBitmap_.SetSize(PreviewSide, PreviewSide);
  bankBitmap_.SetSize(PreviewSide, PreviewSide);
  textPicture_ = ToQImage(textBitmap_);
  bankPicture_ = ToQImage(bankBitmap_);
  ShowPictures();
  const int side = PreviewSide * zoom_;
  resize(2 * side + 80, side + 130);
}

TViewer::~TViewer() = default;

void TViewer::Follow(TViewSource source) {
  source_ = std::move(source);
  try {
    codes_ = PlanCodes(source_.Text->size(), static_cast<std::uint32_t>(std::clamp(source_.CodeStart, 0, 0xFFFFFF)),
                       std::clamp(source_.CodeBytes, 0, 3));
  } catch (const TCodeRangeError&) {
    codes_.reset();
  }
  Draw();
}

void TViewer::ShowBank(int bank) {
  const int last = static_cast<int>(std::clamp<std::int64_t>(bankCount_ - 1, 0, INT32_MAX));
  const int wanted = std::clamp(bank, 0, last);
  if (wanted == bank_) return;
  bank_ = wanted;
  Draw();
}

void TViewer::SpinBankChange() {
  form_->RunCommand([this] { ShowBank(SpinBank->value()); });
}

void TViewer::SetZoom(int zoom) {
  zoom = std::clamp(zoom, 1, MaxZoom);
  if (ComboZoom->currentIndex() != zoom - 1) ComboZoom->setCurrentIndex(zoom - 1);  // runs ComboZoomChange
  if (zoom_ == zoom) return;
  zoom_ = zoom;
  ShowPictures();
  HoverAtPointer();
}

void TViewer::ComboZoomChange() {
  SetZoom(ComboZoom->currentIndex() + 1);
}

void TViewer::Draw() {
  TFont font = source_.Font;
  TChrSettings settings = source_.Settings;
  settings.Font = &font;
  const std::u16string& text = *source_.Text;
  capacity_ = ExportCapacity(settings);
  bankCount_ = ExportFileCount(text.size(), capacity_);
  const int last = static_cast<int>(std::clamp<std::int64_t>(bankCount_ - 1, 0, INT32_MAX));
  bank_ = std::clamp(bank_, 0, last);
  // Only the shown bank is drawn, from its own slice: a long text costs no more than a short one.
  const std::size_t from =
      std::min<std::size_t>(text.size(), static_cast<std::size_t>(bank_) * std::max(capacity_, 0));
  const std::u16string_view slice =
      std::u16string_view(text).substr(from, static_cast<std::size_t>(std::max(capacity_, 0)));

  ClearPreviewTarget(textBitmap_, source_.GridColour);
  DrawPreview(TPreviewKind::Text, textBitmap_, source_.Palette, source_.Grid, settings, slice);
  textPicture_ = ToQImage(textBitmap_);
  ClearPreviewTarget(bankBitmap_, source_.GridColour);
  auto engine = std::make_unique<TChr>();
  engine->DrawBankPreview(bankBitmap_, source_.Palette, source_.Grid, settings, slice);
  owners_ = engine->Owners;
  bankPicture_ = ToQImage(bankBitmap_);

  {
    const QSignalBlocker block(SpinBank);
    SpinBank->setRange(0, last);
    SpinBank->setValue(bank_);
  }
  BPrevBank->setEnabled(bank_ > 0);
  BNextBank->setEnabled(bank_ < last);
  ShowFileName();
  ShowPictures();
  HoverAtPointer();
}

void TViewer::ShowPictures() {
  const int side = PreviewSide * zoom_;
  for (auto [image, picture] : {std::pair{Image3, &textPicture_}, std::pair{Image4, &bankPicture_}}) {
    image->setFixedSize(side, side);
    image->setPixmap(ZoomedPixmap(*picture, zoom_, image->devicePixelRatioF()));
  }
}

void TViewer::ShowFileName() {
  const QString& chosen = form_->LastExportName();
  if (chosen.isEmpty()) {
    LFileName->setText(QStringLiteral("未命名"));
    return;
  }
  const std::string name = ExportFileName(ExportBaseName(LocalPath(chosen)), bank_, std::max(capacity_, 1),
                                          form_->LastExportFormat());
  LFileName->setText(QFile::decodeName(QByteArray::fromStdString(name)));
}

bool TViewer::InfoAt(bool text, int x, int y, THoverInfo& info) const {
  if (x < 0 || y < 0 || x >= PreviewSide || y >= PreviewSide) return false;
  const std::u16string& all = *source_.Text;
  const std::int64_t first = static_cast<std::int64_t>(bank_) * capacity_;
  info = THoverInfo();
  info.Bank = bank_;
  const auto ownedBy = [&](const TSlotOwner& owner) {
    info.Char = all[static_cast<std::size_t>(first + owner.Char)];
    info.Position = first + owner.Char;
    info.Col = owner.Col;
    info.Row = owner.Row;
  };
  if (!text) {
    info.Slot = (y / 8) * 16 + x / 8;
    const TSlotOwner& owner = owners_[static_cast<std::size_t>(info.Slot)];
    info.Blank = owner.Char < 0 || first + owner.Char >= static_cast<std::int64_t>(all.size());
    if (!info.Blank) ownedBy(owner);
    return true;
  }
  const int w = source_.Settings.CellWidth, h = source_.Settings.CellHeight;
  if (w <= 0 || h <= 0) return false;
  const int cell = (y / h) * (PreviewSide / w) + x / w;
  if (cell >= capacity_) return false;
  if (first + cell >= static_cast<std::int64_t>(all.size())) {
    info.Blank = true;
    return true;
  }
  // The tile under the pointer in the cell as placed: a colour-overlap fold merges two into one.
  TSlotOwner wanted{cell, static_cast<std::int8_t>((x % w) / 8), static_cast<std::int8_t>((y % h) / 8)};
  if (source_.Settings.EncodeMode == 3) wanted.Row = static_cast<std::int8_t>(wanted.Row / 2);
  if (source_.Settings.EncodeMode == 4) wanted.Col = static_cast<std::int8_t>(wanted.Col / 2);
  const auto slot = std::find(owners_.begin(), owners_.begin() + 256, wanted);
  if (slot != owners_.begin() + 256) info.Slot = static_cast<int>(slot - owners_.begin());
  ownedBy(wanted);
  return true;
}

QString TViewer::HoverAt(bool text, int x, int y) const {
  THoverInfo info;
  return InfoAt(text, x, y, info) ? HoverText(info) : QString();
}

QString TViewer::CodeAt(bool text, int x, int y) const {
  THoverInfo info;
  if (!InfoAt(text, x, y, info) || info.Blank) return {};
  if (!codes_) return QStringLiteral("编码 超出范围");
  const auto code = codes_->Start + static_cast<std::uint32_t>(info.Position);
  return QStringLiteral("编码 ") + Q(CodeHex(CodeOf(code, codes_->Bytes)));
}

void TViewer::Hover(QLabel* image, QPointF position) {
  const int x = static_cast<int>(std::floor(position.x() / zoom_));
  const int y = static_cast<int>(std::floor(position.y() / zoom_));
  const QString text = HoverAt(image == Image3, x, y);
  if (text.isEmpty())
    ViewerStatus->clearMessage();
  else
    ViewerStatus->showMessage(text);
  LCode->setText(CodeAt(image == Image3, x, y));
}

void TViewer::HoverAtPointer() {
  // The pointer has not moved, but what lies under it has: a new bank or a new zoom.
  const QPoint global = QCursor::pos();
  QWidget* under = QApplication::widgetAt(global);
  for (QLabel* image : {Image3, Image4}) {
    const QPoint local = image->mapFromGlobal(global);
    if (under == image && image->rect().contains(local)) {
      Hover(image, local);
      return;
    }
  }
  ViewerStatus->clearMessage();
  LCode->clear();
}

bool TViewer::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseMove:
      if (watched == Image3 || watched == Image4)
        Hover(static_cast<QLabel*>(watched), static_cast<QMouseEvent*>(event)->position());
      break;
    case QEvent::Leave:
      if (watched == Image3 || watched == Image4) {
        ViewerStatus->clearMessage();
        LCode->clear();
      }
      break;
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      auto* widget = qobject_cast<QWidget*>(watched);
      if (!widget || widget->window() != this || key->modifiers() != Qt::NoModifier) break;
      if (key->key() != Qt::Key_PageUp && key->key() != Qt::Key_PageDown) break;
      const int step = key->key() == Qt::Key_PageUp ? -1 : 1;
      form_->RunCommand([this, step] { ShowBank(bank_ + step); });
      return true;
    }
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(event);
      auto* widget = qobject_cast<QWidget*>(watched);
      if (!widget || widget->window() != this || !(wheel->modifiers() & Qt::ControlModifier)) break;
      const int delta = wheel->angleDelta().y();
      if (delta != 0) SetZoom(zoom_ + (delta > 0 ? 1 : -1));
      return true;
    }
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

QImage TViewer::SavedPicture() const {
  const QImage sheet = ToQImage(PreviewSheet(textBitmap_, bankBitmap_, source_.GridColour));
  return sheet.scaled(sheet.size() * zoom_, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void TViewer::BSavePictureClick() {
  const auto chosen = form_->Dialogs().SaveFile(this, QStringLiteral("PNG图片(*.png)"), QStringLiteral("png"),
                                                lastPictureName_);
  if (!chosen) return;
  lastPictureName_ = *chosen;
  form_->RunCommand([&] {
    WriteFileAtomically(LocalPath(*chosen),
                        PreviewSheetPng(PreviewSheet(textBitmap_, bankBitmap_, source_.GridColour), zoom_));
  });
}

}  // namespace mipofc
