#pragma once

// The small dialogs of the output menu: the code table's start and bytes, and the CHR-ROM
// kilobyte that "写入ROM" starts at.

#include <QDialog>
#include <QString>
#include <cstdint>

#include "ui/dialogs.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace mipofc {

/// A size as the dialogs show it: "32 KB" when it is whole kilobytes, else "1000 字节".
QString SizeText(std::uint64_t bytes);

/// "CHR 0x0000-0x1FFF": CHR-ROM addresses first..last, at least four upper-case hex digits each.
QString ChrRangeText(std::uint64_t first, std::uint64_t last);

/// "码表": the code of the first character (hex) and the bytes of every code.
class TCodeTableDialog : public QDialog {
  Q_OBJECT
 public:
  TCodeTableDialog(QWidget* parent, const TCodeTableChoice& initial);
  /// What the fields say now; Start is 0 while the hex field is empty.
  TCodeTableChoice Choice() const;

  QLineEdit* ECodeStart = nullptr;      ///< 1 to 6 hex digits
  QComboBox* ComboCodeBytes = nullptr;  ///< "最少", "1", "2", "3": the index is the bytes
  QDialogButtonBox* Buttons = nullptr;

 private:
  void Check();
};

/// "写入ROM": the ROM's PRG and CHR sizes, what the text's banks take, and the CHR-ROM kilobyte
/// to start at; OK stays disabled while the banks do not fit from there.
class TChrStartDialog : public QDialog {
  Q_OBJECT
 public:
  TChrStartDialog(QWidget* parent, TChrStartAsk ask);
  /// The kilobyte chosen.
  std::int64_t Start() const;

  QLabel* LRomSizes = nullptr;   ///< "PRG-ROM 32 KB  CHR-ROM 8 KB"
  QLabel* LBanksSize = nullptr;  ///< "本文本的库：2 个，共 8 KB"
  QSpinBox* SpinChrStart = nullptr;
  QLabel* LChrRange = nullptr;   ///< "写入 CHR 0x1000-0x2FFF" from there, or why the banks do not fit
  QDialogButtonBox* Buttons = nullptr;

 private:
  void Check();

  TChrStartAsk ask_;
};

}  // namespace mipofc
