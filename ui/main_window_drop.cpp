// TForm1: files dropped on the window or the memo: texts, parameter files and font files.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTextEdit>
#include <QUrl>

#include "ui/form_helpers.h"
#include "ui/main_window.h"

namespace mipofc {

using namespace formdetail;

namespace {

enum class TFileKind { Text, Params, Font };

TFileKind KindOf(const QString& path) {
  const QString name = QFileInfo(path).fileName().toLower();
  if (name.endsWith(QLatin1String(".ini"))) return TFileKind::Params;
  for (const char* suffix : {".ttf", ".otf", ".ttc", ".otc", ".bdf", ".pcf", ".pcf.gz"})
    if (name.endsWith(QLatin1String(suffix))) return TFileKind::Font;
  return TFileKind::Text;
}

// The dropped files in the order given; empty unless every item is a local file.
QStringList LocalFiles(const QMimeData* data) {
  QStringList files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) return {};
    files << url.toLocalFile();
  }
  return files;
}

}  // namespace

void TForm1::AcceptDroppedFiles() {
  setAcceptDrops(true);
  // The memo takes dropped text itself; dropped files are the window's.
  Memo1->viewport()->installEventFilter(this);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (LocalFiles(event->mimeData()).isEmpty())
    event->ignore();
  else
    event->acceptProposedAction();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
  if (LocalFiles(event->mimeData()).isEmpty())
    event->ignore();
  else
    event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QStringList files = LocalFiles(event->mimeData());
  if (files.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  OpenFiles(files);
}

void TForm1::OpenFiles(const QStringList& paths) {
  QStringList texts;
  // Parameter files first, then font files, so that a text dropped with them is drawn with both.
  for (const TFileKind kind : {TFileKind::Params, TFileKind::Font}) {
    for (const QString& path : paths) {
      if (KindOf(path) != kind) continue;
      RunCommand([&] {
        if (kind == TFileKind::Params) {
          // As 打开 opens it, except that a file that cannot be read leaves the current one current.
          const QString before = CurrentParamFile;
          CurrentParamFile = path;
          bool loaded = false;
          try {
            loaded = LoadParamFile();
          } catch (...) {
            CurrentParamFile = before;
            throw;
          }
          if (!loaded) {
            CurrentParamFile = before;
            return;
          }
          ParamFileNamed = true;
          SetFlag();
        } else {
          UseFontFile(path);
        }
      });
    }
  }
  for (const QString& path : paths)
    if (KindOf(path) == TFileKind::Text) texts << path;
  if (!texts.isEmpty()) RunCommand([&] { LoadTextFiles(texts); });
}

}  // namespace mipofc
