#include "ui/widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

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

void TFontButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  painter.setFont(font());
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  const QRect box = rect().adjusted(3, 3, -3, -3);
  // A word wider than the button (a long family name) breaks where it must instead of being cut.
  const bool fits = painter.fontMetrics().boundingRect(box, Qt::TextWordWrap, caption).width() <= box.width();
  painter.drawText(box, Qt::AlignCenter | (fits ? Qt::TextWordWrap : Qt::TextWrapAnywhere), caption);
}

}  // namespace mipofc
