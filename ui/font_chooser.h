#pragma once

#include <QDialog>
#include <QString>

#include "font/font.h"

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;

namespace mipofc {

/// The font dialog "FontDialog1": a family, a style, a size, underline and strike-out, with a
/// sample drawn as the banks draw it. It opens on the face the font really draws with (for 宋体
/// the face the family rules send it to), lists the rule families (宋体 ...) first, and gives
/// back the font unchanged when nothing was changed.
class TFontChooser : public QDialog {
  Q_OBJECT
 public:
  TFontChooser(QWidget* parent, const TFont& initial);

  /// The font chosen: initial with what was changed in the dialog; a family picked in the
  /// list replaces a font file.
  TFont Choice() const;

  // Controls, named as their Qt objectName.
  QListWidget* ListFamily = nullptr;
  QListWidget* ListStyle = nullptr;
  QListWidget* ListSize = nullptr;
  QCheckBox* CheckUnderline = nullptr;
  QCheckBox* CheckStrikeOut = nullptr;
  QLabel* LFace = nullptr;   ///< the face the chosen family is drawn with
  QLabel* Sample = nullptr;  ///< the sample, drawn by the program's own font engine
  QDialogButtonBox* Buttons = nullptr;

 private:
  void ShowSample();

  TFont initial_;
  QString initialFamily_;  // the family selected at opening: the face the font draws with
  int initialSize_ = 10;   // the size selected at opening, points
};

}  // namespace mipofc
