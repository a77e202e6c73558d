#include "ui/translation.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace mipofc {

bool InstallQtChinese(QApplication& app) {
  auto* translator = new QTranslator(&app);
  // Qt's own folder first; Debian's is the same path, tried as well for a Qt built elsewhere.
  for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                QStringLiteral("/usr/share/qt6/translations")}) {
    if (translator->load(QStringLiteral("qtbase_zh_CN"), folder)) return QApplication::installTranslator(translator);
  }
  delete translator;
  return false;
}

}  // namespace mipofc
