#include "ui/widgets.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace mipofc {

QColor ToQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

TColor FromQColor(const QColor& c) {
  return static_cast<TColor>(c.red()) | static_cast<TColor>(c.green()) << 8 | static_cast<TColor>(c.blue()) << 16;
}

TSwatch::TSwatch(const QString& caption, TColor colour, TColor textColour, QWidget* parent)
    : QLabel(caption, parent), colour_(colour & 0xFFFFFF), textColour_(textColour) {
  setAlignment(Qt::AlignCenter);
  setMinimumSize(10, 17);
  setCursor(Qt::PointingHandCursor);
  Restyle();
}

void TSwatch::SetColor(TColor colour) {
  colour_ = colour & 0xFFFFFF;
  Restyle();
}

void TSwatch::Restyle() {
  setStyleSheet(QStringLiteral("QLabel { background-color: %1; color: %2; border: 1px solid gray; padding: 0px 2px; }")
                    .arg(ToQColor(colour_).name(), ToQColor(textColour_).name()));
}

void TSwatch::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}

TShape::TShape(TColor colour, QWidget* parent) : QWidget(parent), colour_(colour & 0xFFFFFF) {
  setFixedSize(9, 14);
  setCursor(Qt::PointingHandCursor);
}

void TShape::SetColor(TColor colour) {
  colour_ = colour & 0xFFFFFF;
  update();
}

void TShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(colour_));
  painter.setPen(Qt::black);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TShape::mouseReleaseEvent(QMouseEvent* event) {
  // Any button counts, as long as it is let go over the shape.
  if (rect().contains(event->position().toPoint())) emit mouseUp();
  QWidget::mouseReleaseEvent(event);
}

namespace {

// Words as they fill lines of width pixels, none broken.
QStringList FillLines(const QStringList& words, const QFontMetrics& metrics, int width) {
  QStringList lines;
  for (const QString& word : words) {
    if (!lines.isEmpty() && metrics.horizontalAdvance(lines.back() + QLatin1Char(' ') + word) <= width)
      lines.back() += QLatin1Char(' ') + word;
    else
      lines << word;
  }
  return lines;
}

}  // namespace

TCaptionLayout LayOutCaption(const QString& caption, const QFont& font, int width, int height) {
  const QStringList words = caption.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  TCaptionLayout layout;
  layout.Font = font;
  // A smaller size before a cut word: the smallest that is still read easily is 7 points.
  const qreal largest = font.pointSizeF() > 0 ? font.pointSizeF() : 9;
  for (qreal size = largest; size >= 7; size -= 0.5) {
    layout.Font.setPointSizeF(size);
    const QFontMetrics metrics(layout.Font);
    if (std::all_of(words.begin(), words.end(), [&](const QString& w) { return metrics.horizontalAdvance(w) <= width; }))
      break;
  }
  const QFontMetrics metrics(layout.Font);
  layout.Lines = FillLines(words, metrics, width);
  const int most = std::max(1, height / std::max(1, metrics.lineSpacing()));
  const QString ellipsis(QChar(0x2026));
  if (layout.Lines.size() > most) {
    layout.Elided = true;
    // The last line shown takes whole words only, then the ellipsis.
    QStringList last = layout.Lines[most - 1].split(QLatin1Char(' '));
    while (last.size() > 1 && metrics.horizontalAdvance(last.join(QLatin1Char(' ')) + ellipsis) > width) last.removeLast();
    layout.Lines = layout.Lines.mid(0, most);
    layout.Lines.back() = last.join(QLatin1Char(' ')) + ellipsis;
  }
  for (QString& line : layout.Lines) {
    if (metrics.horizontalAdvance(line) <= width) continue;
    layout.Elided = true;
    line = metrics.elidedText(line, Qt::ElideRight, width);
  }
  return layout;
}

namespace {

QRect CaptionBox(const QRect& button) { return button.adjusted(3, 3, -3, -3); }

}  // namespace

TCaptionLayout TFontButton::Layout() const {
  const QRect box = CaptionBox(rect());
  return LayOutCaption(text(), font(), box.width(), box.height());
}

void TFontButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  const TCaptionLayout layout = Layout();
  painter.setFont(layout.Font);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(CaptionBox(rect()), Qt::AlignCenter, layout.Lines.join(QLatin1Char('\n')));
}

}  // namespace mipofc
