// TForm1: the font menu: the font dialog, font files and their faces, and back to the family.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

#include "base/errors.h"
#include "ui/form_helpers.h"
#include "ui/failure_text.h"
#include "ui/main_window.h"
#include "ui/widgets.h"

namespace mipofc {

using namespace formdetail;

namespace {

const QString FontFileFilter = QStringLiteral("字体文件(*.ttf *.otf *.ttc *.otc *.bdf *.pcf *.pcf.gz)");

QString FaceName(const TFontFileFace& face) {
  QString name = Q(face.Family);
  if (!face.Style.empty()) name += QLatin1Char(' ') + Q(face.Style);
  return name;
}

// "12 像素 (9 磅), 14 像素 (无对应字号)": each strike and the slider size whose em it is.
QString StrikeList(const std::vector<int>& strikes) {
  QStringList parts;
  for (const int pixels : strikes) {
    const int points = PointsForEmPixels(pixels);
    parts << QStringLiteral("%1 像素 (%2)")
                 .arg(pixels)
                 .arg(points > 0 ? QStringLiteral("%1 磅").arg(points) : QStringLiteral("无对应字号"));
  }
  return parts.join(QStringLiteral(", "));
}

const TFontFileFace* FaceAt(const std::vector<TFontFileFace>& faces, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < faces.size()
             ? &faces[static_cast<std::size_t>(index)]
             : nullptr;
}

}  // namespace

void TForm1::BuildFontMenu() {
  N19 = Named(new QMenu(QStringLiteral("字体(&Z)"), menuBar()), "N19");
  menuBar()->insertMenu(N15->menuAction(), N19);
  auto item = [this](QAction*& action, const char* name, const QString& caption, void (TForm1::*handler)()) {
    action = N19->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, handler);
  };
  item(N20, "N20", QStringLiteral("选择字体(&F)..."), &TForm1::N20Click);
  item(N21, "N21", QStringLiteral("字体文件(&L)..."), &TForm1::N21Click);
  item(N22, "N22", QStringLiteral("系统字体(&S)"), &TForm1::N22Click);
}

void TForm1::N20Click() {
  BfFontClick();
}

void TForm1::N21Click() {
  const QString folder = BfFontFont.File.empty()
                             ? QString()
                             : QFileInfo(QFile::decodeName(BfFontFont.File.c_str())).absolutePath();
  const auto file = dialogs_->OpenFile(this, FontFileFilter, folder);
  if (!file) return;
  RunCommand([&] { UseFontFile(*file); });
}

void TForm1::UseFontFile(const QString& path) {
  const std::string file = LocalPath(path);
  const std::vector<TFontFileFace> faces = FontFileFaces(file);
  int index = 0;
  if (faces.size() > 1) {
    QStringList names;
    for (const auto& face : faces) names << FaceName(face);
    const auto chosen = dialogs_->ChooseItem(this, TitleText, QStringLiteral("字体:"), names);
    if (!chosen || !FaceAt(faces, *chosen)) return;
    index = *chosen;
  }
  TFont font = BfFontFont;
  font.File = file;
  font.FaceIndex = index;
  // Drawn the way the command-line tool's --font-file draws it; a face that cannot be set to a
  // size fails here, before anything changes.
  ResolveFont(font);
  FontDialog1Font = font;
  ApplyChosenFont();
  SetFlag();
}

void TForm1::N22Click() {
  FontDialog1Font = BfFontFont;
  FontDialog1Font.File.clear();
  FontDialog1Font.FaceIndex = 0;
  ApplyChosenFont();
  SetFlag();
}

QString TForm1::FontCaption(QString& toolTip) const {
  toolTip.clear();
  if (BfFontFont.File.empty()) return Q(BfFontFont.Name);
  const QString path = QFile::decodeName(BfFontFont.File.c_str());
  toolTip = path;
  try {
    const auto faces = FontFileFaces(BfFontFont.File);
    if (const TFontFileFace* face = FaceAt(faces, BfFontFont.FaceIndex)) {
      if (!face->StrikePixels.empty()) toolTip += QStringLiteral("\n点阵: ") + StrikeList(face->StrikePixels);
      return Q(face->Family);
    }
  } catch (const TFontError& e) {
    toolTip = ChineseMessage(e);
  }
  return QFileInfo(path).fileName();
}

void TForm1::KeepUsableFontFile(TOptionValues& v) {
  if (v.Font.File.empty()) return;
  try {
    if (!FaceAt(FontFileFaces(v.Font.File), v.Font.FaceIndex))
      throw TFontError(v.Font.File, TFailure{TFailureKind::FontNoFace, {std::to_string(v.Font.FaceIndex)}});
    return;
  } catch (const TFontError& e) {
    ReportError(QStringLiteral("字体文件 %1\n使用字体 %2").arg(ChineseMessage(e), Q(v.Font.Name)));
  }
  for (TFont* font : {&v.Font, &v.DialogFont}) {
    font->File.clear();
    font->FaceIndex = 0;
  }
}

}  // namespace mipofc
