#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "font/surface.h"

namespace mipofc {

/// A colour as Qt holds it, from 0x00BBGGRR.
QColor ToQColor(TColor c);
/// 0x00BBGGRR from a Qt colour.
TColor FromQColor(const QColor& c);

/// A clickable coloured text cell showing its number (the preview colour swatches).
class TSwatch : public QLabel {
  Q_OBJECT
 public:
  TSwatch(const QString& caption, TColor colour, TColor textColour, QWidget* parent = nullptr);
  TColor Color() const { return colour_; }
  /// Sets the fill colour; the number keeps its own colour.
  void SetColor(TColor colour);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Restyle();
  TColor colour_;
  TColor textColour_;
};

/// A small filled rectangle reporting the release of a mouse button over it.
class TShape : public QWidget {
  Q_OBJECT
 public:
  TShape(TColor colour, QWidget* parent = nullptr);
  TColor Color() const { return colour_; }
  void SetColor(TColor colour);

 signals:
  void mouseUp();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TColor colour_;
};

/// A push button whose caption wraps at word boundaries (anywhere when a word is wider than the
/// button), so a long font name stays inside it.
class TFontButton : public QPushButton {
  Q_OBJECT
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace mipofc
