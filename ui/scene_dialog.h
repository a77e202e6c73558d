#pragma once

// "按场景分库": how the text is cut into scenes and how many fixed banks every scene sees, with
// the newline and end codes of the tables.

#include <QDialog>

#include "params/options.h"

class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QSpinBox;

namespace mipofc {

/// The dialog FormScenes: ComboSceneMode ("空行分隔", "每行一个场景", "标记行分隔"), EditMarker
/// (only for marker lines), SpinFixedBanks (0-4), EditNewlineCode and EditEndCode (hex, may be
/// empty). 确定 waits for a marker when marker lines part the scenes.
class TSceneDialog : public QDialog {
  Q_OBJECT
 public:
  TSceneDialog(QWidget* parent, const TSceneValues& initial);
  /// What the controls say now.
  TSceneValues Choice() const;

  QComboBox* ComboSceneMode = nullptr;
  QLineEdit* EditMarker = nullptr;
  QSpinBox* SpinFixedBanks = nullptr;
  QLineEdit* EditNewlineCode = nullptr;
  QLineEdit* EditEndCode = nullptr;
  QDialogButtonBox* Buttons = nullptr;

 private:
  void Check();
};

}  // namespace mipofc
