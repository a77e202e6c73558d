// TForm1: the window as a whole: construction, start-up, the error handler, exit and About.
#include "ui/failure_text.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QLayout>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QVBoxLayout>
#include <exception>

#include "ui/about_box.h"
#include "ui/widgets.h"
#include "ui/form_helpers.h"

namespace mipofc {

using namespace formdetail;

TForm1::TForm1(std::unique_ptr<TDialogs> dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs ? std::move(dialogs) : std::make_unique<TQtDialogs>()) {
  setObjectName(QStringLiteral("Form1"));

  auto* central = new QWidget;
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  PageControl1 = Named(new QTabWidget, "PageControl1");
  PageControl2 = Named(new QTabWidget, "PageControl2");
  column->addWidget(PageControl1);
  column->addWidget(PageControl2, 1);
  setCentralWidget(central);
  central->setMinimumWidth(570);

  BuildGeneralPage();
  BuildAdvancedPage();
  BuildPreviewPage();
  BuildTextPage();
  BuildMenu();
  BuildTextItems();
  BuildOutputItems();
  BuildViewMenu();
  BuildFontMenu();
  AcceptDroppedFiles();

  StatusBar = Named(new QStatusBar, "StatusBar");
  StatusBar->setSizeGripEnabled(false);
  auto* ready = NewLabel("StatusBarPanel1", QStringLiteral("就绪"));
  ready->setMinimumWidth(200);
  auto* note = NewLabel("StatusBarPanel2", QStringLiteral("注释"));
  note->setMinimumWidth(50);
  StatusBar->addWidget(ready);
  StatusBar->addWidget(note);
  setStatusBar(StatusBar);

  Timer1 = Named(new QTimer(this), "Timer1");
  Timer1->setInterval(500);
  connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

  FormCreate();

  // Fixed border: the window takes the size its layout needs and the user cannot change it.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  Timer1->start();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
  PageControl1->setCurrentIndex(0);
  PageControl2->setCurrentIndex(0);

  // The layout font: 宋体 10 pt in the window-text colour.
  BfFontFont = TOptionValues().Font;
  ShowFontCaption();
  {
    // The slider starts on the font's size; its handler would only repeat what is set here.
    const QSignalBlocker block(TBs);
    TBs->setValue(ClampTo(BfFontFont.Size, 6, 28));
  }

  TitleText = QStringLiteral("Tolvar-MipoFC字模工具 V3.2 UNICODE");
  setWindowTitle(TitleText + QStringLiteral("  [NEW]"));

  QApplication::setApplicationDisplayName(QString());
  QApplication::setApplicationName(TitleText);
  ParamFileNamed = false;
  UseExeFolder(QCoreApplication::applicationDirPath());

  EncodingOptionTexts = Items(ComboBox2);
  DistributionOptionTexts = Items(ComboBox3);

  PosX = 0;
  PosY = 0;

  FontDialog1Font = BfFontFont;

  ReadPalette();
  QImage blank(128, 128, QImage::Format_RGB32);
  blank.fill(ToQColor(PreviewPalette[ClampTo(Ebg->value(), 0, 3)]));
  image1Picture_ = blank;
  image2Picture_ = blank;
  ShowPicture(Image1, image1Picture_);
  ShowPicture(Image2, image2Picture_);

  Label9->setText(QString::number(TBs->value()));
  Label11->setText(QString::number(TBp->value()));

  OptionsChanged = true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  // Double-clicking either preview opens the viewer; files dropped on the memo are taken as on the window.
  if (event->type() == QEvent::MouseButtonDblClick && (watched == Image1 || watched == Image2)) {
    N18Click();
    return true;
  }
  if (watched == Memo1->viewport()) {
    switch (event->type()) {
      case QEvent::DragEnter:
        dragEnterEvent(static_cast<QDragEnterEvent*>(event));
        if (event->isAccepted()) return true;
        break;
      case QEvent::DragMove:
        dragMoveEvent(static_cast<QDragMoveEvent*>(event));
        if (event->isAccepted()) return true;
        break;
      case QEvent::Drop:
        dropEvent(static_cast<QDropEvent*>(event));
        if (event->isAccepted()) return true;
        break;
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::ReportError(const QString& text) { dialogs_->Message(this, TitleText, text); }

void TForm1::RunCommand(const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& e) {
    ReportError(ChineseMessage(e));
  } catch (...) {
    ReportError(QStringLiteral("未知错误"));
  }
}

void TForm1::N6Click() { close(); }

void TForm1::N16Click() {
  if (!AboutBox) AboutBox = new TAboutBox(this);
  AboutBox->exec();
}

}  // namespace mipofc
