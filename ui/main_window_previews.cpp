// TForm1: the two previews, their colours and the refresh tick.
#include "ui/main_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QScreen>
#include <QWindow>
#include <cmath>

#include "ui/bank_viewer.h"
#include "ui/widgets.h"
#include "ui/form_helpers.h"

namespace mipofc {

using namespace formdetail;

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

void TForm1::ReadPalette() {
  PreviewPalette = {color0->Color(), color1->Color(), color2->Color(), color3->Color()};
}

void TForm1::FillPreviewBackground(TBitmap& target) const { ClearPreviewTarget(target, Shape1->Color()); }

void TForm1::RefreshPreviews() {
  TViewSource source = ViewSource();
  TChrSettings settings = source.Settings;
  settings.Font = &BfFontFont;
  const std::pair<TPreviewKind, QImage*> previews[] = {{TPreviewKind::Text, &image1Picture_},
                                                        {TPreviewKind::Bank, &image2Picture_}};
  for (auto [kind, picture] : previews) {
    TBitmap target;
    FillPreviewBackground(target);
    DrawPreview(kind, target, source.Palette, source.Grid, settings, *source.Text);
    *picture = ToQImage(target);
  }
  ShowPicture(Image1, image1Picture_);
  ShowPicture(Image2, image2Picture_);
  emit PreviewsRefreshed();
  // The viewer follows on the same tick from the same text and settings; hidden, it catches up
  // when it is opened again.
  if (Viewer && Viewer->isVisible()) Viewer->Follow(std::move(source));
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

}  // namespace mipofc
