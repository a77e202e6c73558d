#pragma once

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/chr.h"
#include "font/font.h"
#include "table/codes.h"

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QStatusBar;

namespace mipofc {

class TForm1;

/// What the main window draws its previews from at one moment: the joined text, the gathered
/// settings, the font and the preview page's colours and grid switch.
struct TViewSource {
  std::shared_ptr<const std::u16string> Text = std::make_shared<const std::u16string>();
  TChrSettings Settings;  ///< Font is not used: the drawing points it at Font below
  TFont Font;
  TPalette Palette{};
  bool Grid = false;
  TColor GridColour = 0xC0C0C0;
  int CodeStart = 0;  ///< the table code of the text's first character, 0..0xFFFFFF
  int CodeBytes = 0;  ///< bytes of every table code, 1..3; 0 = the fewest that hold every code
};

/// One hovered tile of a bank or cell of its text, as the viewer's status bar reports it.
struct THoverInfo {
  int Bank = 0;
  int Slot = -1;              ///< 0..255; -1 when the hovered place is no slot (a text cell)
  bool Blank = false;         ///< a blank slot, or a text cell past the end of the text
  char16_t Char = 0;          ///< the character whose tile it is
  std::int64_t Position = 0;  ///< the character's index in the whole text, from 0
  int Col = 0;                ///< the tile's column in the placed cell, from 0
  int Row = 0;                ///< the tile's row in the placed cell, from 0
};

/// The status-bar text of a hovered tile or text cell, e.g.
/// "库 1  槽 1A  「你」 U+4F60  位置 90  块 列 1 行 0".
QString HoverText(const THoverInfo& info);

/// The bank viewer "字库浏览": any bank of the whole text as its text cells and its pattern table,
/// zoomed, following the main window's previews. Not modal.
class TViewer : public QMainWindow {
  Q_OBJECT
 public:
  /// A viewer of form's text; form answers its dialogs and shows its errors.
  explicit TViewer(TForm1* form);
  ~TViewer() override;

  /// Takes the main window's text, settings and colours and redraws the bank shown, which stays
  /// the same bank while the text still has it. Throws TFontError when the font cannot be had.
  void Follow(TViewSource source);
  /// Shows bank 0 .. BankCount() - 1 (clamped).
  void ShowBank(int bank);
  /// The bank shown.
  int Bank() const { return bank_; }
  /// The bank files the text takes (0 for an empty text, whose bank 0 is shown empty).
  std::int64_t BankCount() const { return bankCount_; }
  /// Characters a bank holds with the settings followed.
  std::int32_t Capacity() const { return capacity_; }
  /// Zoom factor 1..8.
  int Zoom() const { return zoom_; }
  /// Sets the zoom (clamped to 1..8), as a pick in ComboZoom.
  void SetZoom(int zoom);
  /// The shown bank's text cells and pattern table, 128 x 128, unzoomed.
  const QImage& TextPicture() const { return textPicture_; }
  const QImage& BankPicture() const { return bankPicture_; }
  /// Whose tile each slot of the shown bank holds, from its bank build.
  const std::array<TSlotOwner, 512>& Owners() const { return owners_; }
  /// The status text of picture pixel (x, y), 0..127, of the text cells (text) or the pattern
  /// table; empty where there is nothing (outside the cells a bank holds).
  QString HoverAt(bool text, int x, int y) const;
  /// What LCode shows at picture pixel (x, y): "编码 8140", the code the text's table
  /// ("码表(&T)...") gives the character there; empty where there is no character.
  QString CodeAt(bool text, int x, int y) const;
  /// Both pictures at the zoom, side by side with 8 x zoom pixels of the grid colour between:
  /// what "保存图片(&S)..." writes.
  QImage SavedPicture() const;
  /// Shows the name the export would give the shown bank's file.
  void ShowFileName();

  // Controls, named as their Qt objectName.
  QSpinBox* SpinBank = nullptr;
  QPushButton* BPrevBank = nullptr;
  QPushButton* BNextBank = nullptr;
  QLabel* LFileName = nullptr;
  QComboBox* ComboZoom = nullptr;
  QPushButton* BSavePicture = nullptr;
  QScrollArea* ScrollBox3 = nullptr;
  QScrollArea* ScrollBox4 = nullptr;
  QLabel* Image3 = nullptr;
  QLabel* Image4 = nullptr;
  QStatusBar* ViewerStatus = nullptr;
  QLabel* LCode = nullptr;  ///< the hovered character's table code, at the right of ViewerStatus

 public slots:
  void SpinBankChange();
  void ComboZoomChange();
  void BSavePictureClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Draw();
  void ShowPictures();
  void Hover(QLabel* image, QPointF position);
  /// Shows in the status bar what is now under the pointer (nothing when it is not over a picture).
  void HoverAtPointer();
  bool InfoAt(bool text, int x, int y, THoverInfo& info) const;

  TForm1* form_;
  TViewSource source_;
  int bank_ = 0;
  std::int64_t bankCount_ = 0;
  std::int32_t capacity_ = 0;
  int zoom_ = 3;
  TBitmap textBitmap_;
  TBitmap bankBitmap_;
  QImage textPicture_;
  QImage bankPicture_;
  std::array<TSlotOwner, 512> owners_{};
  QString lastPictureName_;
  std::optional<TCodePlan> codes_;  // none when the text's codes do not fit the bytes asked for
};

}  // namespace mipofc
