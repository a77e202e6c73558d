#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace mipofc {

/// The About box: the program's picture, name and version, and an OK button. Made once,
/// hidden, and shown modally from the main window's help menu.
class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  QFrame* Panel1 = nullptr;
  QLabel* ProgramIcon = nullptr;  ///< the picture, decoded from the JPEG embedded with the program
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QPushButton* OKButton = nullptr;

 private:
  void FormCreate();
};

/// Resource path of the About box's JPEG picture.
inline constexpr char AboutPicturePath[] = ":/mipofc/about.jpg";

}  // namespace mipofc
