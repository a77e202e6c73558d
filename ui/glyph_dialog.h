#pragma once

// "CHR-RAM字模": how the glyph data is written, one or two bits a pixel, in one file or in PRG
// banks.

#include <QDialog>

#include "ui/dialogs.h"

class QComboBox;
class QDialogButtonBox;

namespace mipofc {

/// The dialog FormGlyphs: ComboBpp ("1", "2") and ComboPrgBank ("不分", "8K", "16K", "32K").
class TGlyphDialog : public QDialog {
  Q_OBJECT
 public:
  TGlyphDialog(QWidget* parent, const TGlyphChoice& initial);
  /// What the lists say now.
  TGlyphChoice Choice() const;

  QComboBox* ComboBpp = nullptr;
  QComboBox* ComboPrgBank = nullptr;
  QDialogButtonBox* Buttons = nullptr;
};

}  // namespace mipofc
