// TForm1: parameter files: the default file, new, open, save, save as and the save at close.
#include "ui/main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "params/param_file.h"
#include "ui/form_helpers.h"

namespace mipofc {

using namespace formdetail;

namespace {

const QString ParamFilter = QStringLiteral("参数文件(*.ini)");

QString WithIniExtension(const QString& path) {
  return QFileInfo(path).fileName().contains(QLatin1Char('.')) ? path : path + QStringLiteral(".ini");
}

}  // namespace

QString TForm1::DefaultParamFileFor(const QString& exeFolder) {
  const QFileInfo exe(exeFolder);
  // An installed program (share/mipofc beside its bin folder) is the system's even where its
  // folder is writable, as /usr/bin is to root.
  const bool installed =
      QFileInfo::exists(QDir(exeFolder).filePath(QStringLiteral("../share/mipofc/mipofc-fonts.conf")));
  if (!installed && exe.isDir() && exe.isWritable()) return QDir(exeFolder).filePath(QStringLiteral("myDEF.ini"));
  // An installed program's folder belongs to the system: keep the settings with the user's.
  QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
  const QString folder = config + QStringLiteral("/mipofc");
  QDir().mkpath(folder);
  return folder + QStringLiteral("/myDEF.ini");
}

void TForm1::UseExeFolder(const QString& folder) {
  ExeFolder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
  DefaultParamFile = DefaultParamFileFor(ExeFolder);
  if (!ParamFileNamed) CurrentParamFile = DefaultParamFile;
}

void TForm1::ShowParamCaption() {
  setWindowTitle(TitleText + QStringLiteral("  [") + QFileInfo(CurrentParamFile).fileName() + QStringLiteral("]"));
}

bool TForm1::SaveParamFile() {
  TOptionValues v = ReadOptions();
  // Every run paints the font in use black; the file keeps the colour the font was chosen with.
  v.Font.Color = FontDialog1Font.Color;
  try {
    mipofc::SaveParamFile(LocalPath(CurrentParamFile), v);
  } catch (const TParamFolderError& e) {
    ReportError(QString::fromUtf8(e.what()));
    return false;
  }
  ShowParamCaption();
  return true;
}

bool TForm1::LoadParamFile() {
  TOptionValues v = ReadOptions();
  try {
    mipofc::LoadParamFile(LocalPath(CurrentParamFile), v);
  } catch (const TParamFolderError& e) {
    ReportError(QString::fromUtf8(e.what()));
    return false;
  }
  // A font file that is gone leaves the file's family in use, after a message naming it.
  KeepUsableFontFile(v);
  // A loaded encoding mode brings its rule, as a pick in the list does: the M field for mode 1,
  // colours 0 and 1 for the colour-overlap modes (the command-line tool does the same).
  mipofc::ApplyEncodingRule(v);
  WriteOptions(v);
  ShowParamCaption();
  return true;
}

std::optional<QString> TForm1::AskParamFile(bool saving) {
  const QString folder = QFileInfo(DefaultParamFile).absolutePath();
  const auto chosen = saving ? dialogs_->SaveFile(this, ParamFilter, QStringLiteral("ini"), folder)
                             : dialogs_->OpenFile(this, ParamFilter, folder);
  if (!chosen) return std::nullopt;
  const QString path = WithIniExtension(*chosen);
  // Saved over a text or font file in use, the parameter file would destroy it.
  if (saving && !OutputsFree({{"参数文件", LocalPath(path), true}}, {{"参数文件", "参数文件"}})) return std::nullopt;
  return path;
}

// Makes path the current parameter file for one load or save. A file that could not be read or
// written does not stay current: the caption and the save at close keep naming the file before.
void TForm1::SwitchParamFile(const QString& path, bool (TForm1::*action)()) {
  const QString before = CurrentParamFile;
  CurrentParamFile = path;
  try {
    (this->*action)();
  } catch (...) {
    CurrentParamFile = before;
    throw;
  }
  ParamFileNamed = true;
}

void TForm1::N2Click() {
  RunCommand([this] {
    SaveParamFile();
    CurrentParamFile = DefaultParamFile;
    LoadParamFile();
    ParamFileNamed = false;
    SetFlag();
  });
}

void TForm1::N3Click() {
  RunCommand([this] {
    const auto chosen = AskParamFile(false);
    if (!chosen) return;
    SwitchParamFile(*chosen, &TForm1::LoadParamFile);
    SetFlag();
  });
}

void TForm1::N4Click() {
  RunCommand([this] {
    if (ParamFileNamed) {
      SaveParamFile();
      return;
    }
    if (const auto chosen = AskParamFile(true)) SwitchParamFile(*chosen, &TForm1::SaveParamFile);
  });
}

void TForm1::N5Click() {
  RunCommand([this] {
    if (const auto chosen = AskParamFile(true)) SwitchParamFile(*chosen, &TForm1::SaveParamFile);
  });
}

bool TForm1::FormCloseQuery() {
  if (!ParamFileNamed) return true;
  bool canClose = false;
  // A missing folder has been reported and the window closes; a write error keeps it open, so
  // that the settings can still be saved elsewhere.
  RunCommand([&] {
    SaveParamFile();
    canClose = true;
  });
  return canClose;
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (FormCloseQuery())
    event->accept();
  else
    event->ignore();
}

}  // namespace mipofc
