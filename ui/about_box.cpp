#include "ui/about_box.h"

#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>

namespace mipofc {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("关于"));
  setModal(true);
  // A fixed dialog border: the layout is placed by hand and the box cannot be resized.
  setFixedSize(347, 213);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(8, 8, 329, 161);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setLineWidth(2);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setAlignment(Qt::AlignCenter);
  // Read through the image plugins so that a missing JPEG decoder shows as an empty picture,
  // not as a failed start.
  QImageReader reader(QString::fromLatin1(AboutPicturePath));
  const QImage picture = reader.read();
  if (!picture.isNull()) ProgramIcon->setPixmap(QPixmap::fromImage(picture));
  ProgramIcon->setGeometry(8, 8, 145, 145);

  ProductName = new QLabel(QStringLiteral("MipoFC字模工具"), Panel1);
  ProductName->setObjectName(QStringLiteral("ProductName"));
  ProductName->setGeometry(168, 8, 150, 17);

  Version = new QLabel(QStringLiteral("Version "), Panel1);
  Version->setObjectName(QStringLiteral("Version"));
  Version->setGeometry(184, 32, 140, 17);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(111, 180, 75, 25);
  OKButton->setDefault(true);
  OKButton->setAutoDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  FormCreate();
}

void TAboutBox::FormCreate() { Version->setText(QStringLiteral("Version 3.2 UNICODE")); }

}  // namespace mipofc
