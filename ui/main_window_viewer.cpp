// TForm1: the view menu and the bank viewer it opens, and what the previews are drawn from.
#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>

#include "ui/form_helpers.h"
#include "ui/main_window.h"
#include "ui/bank_viewer.h"
#include "ui/widgets.h"

namespace mipofc {

using namespace formdetail;

void TForm1::BuildViewMenu() {
  N17 = Named(new QMenu(QStringLiteral("查看(&V)"), menuBar()), "N17");
  menuBar()->insertMenu(N15->menuAction(), N17);
  N18 = N17->addAction(QStringLiteral("字库浏览(&B)"));
  N18->setObjectName(QStringLiteral("N18"));
  connect(N18, &QAction::triggered, this, &TForm1::N18Click);
  for (QLabel* image : {Image1, Image2}) image->installEventFilter(this);
}

TViewSource TForm1::ViewSource() {
  TViewSource source;
  source.Text = std::make_shared<const std::u16string>(JoinedText());
  source.Settings = GatherSettings();
  source.Settings.Font = nullptr;
  source.Font = BfFontFont;
  ReadPalette();
  source.Palette = PreviewPalette;
  source.Grid = CheckBox1->isChecked();
  source.GridColour = Shape1->Color();
  source.CodeStart = CodeStart;
  source.CodeBytes = CodeBytes;
  return source;
}

void TForm1::N18Click() {
  if (!Viewer) Viewer = new TViewer(this);
  RunCommand([this] { Viewer->Follow(ViewSource()); });
  Viewer->show();
  Viewer->raise();
  Viewer->activateWindow();
}

}  // namespace mipofc
