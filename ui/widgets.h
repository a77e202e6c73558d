#pragma once

#include <QLabel>
#include <QFont>
#include <QPushButton>
#include <QStringList>
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

/// The lines a caption shows in width x height pixels: broken between words only, in the
/// font's size or a smaller one (down to 7 points) that gives every word a line of its own; what
/// does not fit ends the last line with "…". A word too wide even then is cut at its end.
struct TCaptionLayout {
  QStringList Lines;
  QFont Font;
  bool Elided = false;  ///< some of the caption is not shown
};
TCaptionLayout LayOutCaption(const QString& caption, const QFont& font, int width, int height);

/// The font button: its caption (the family name) is laid out by LayOutCaption inside it.
class TFontButton : public QPushButton {
  Q_OBJECT
 public:
  using QPushButton::QPushButton;
  /// The caption as laid out in the button now.
  TCaptionLayout Layout() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace mipofc
