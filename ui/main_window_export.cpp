// TForm1: the bank-file export commands of the output menu, and its items.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <memory>

#include "ui/form_helpers.h"
#include "ui/main_window.h"
#include "ui/bank_viewer.h"

namespace mipofc {

using namespace formdetail;

namespace {

// What the save dialog of each export command calls its files.
QString FileKind(TBankFormat format) {
  switch (format) {
    case TBankFormat::Chr: return QStringLiteral("CHR字模文件");
    case TBankFormat::Inc: return QStringLiteral("汇编包含文件");
    case TBankFormat::Ca65: return QStringLiteral("ca65汇编文件");
    case TBankFormat::C: return QStringLiteral("C头文件");
    case TBankFormat::Png: return QStringLiteral("PNG图片");
  }
  return QStringLiteral("CHR字模文件");
}

}  // namespace

QString TForm1::ExportStart(const QString& lastOfKind) const {
  QString folder = lastExportFolder_;
  if (folder.isEmpty() && !lastTextFile_.isEmpty()) folder = QFileInfo(lastTextFile_).absolutePath();
  if (folder.isEmpty()) folder = QDir::homePath();
  return lastOfKind.isEmpty() ? folder : QDir(folder).filePath(QFileInfo(lastOfKind).fileName());
}

void TForm1::KeepExportFolder(const QString& chosen) { lastExportFolder_ = QFileInfo(chosen).absolutePath(); }

TJobControl TForm1::DelayedProgress(std::unique_ptr<TProgress>& progress, std::atomic<bool>& cancelled) {
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  TJobControl control;
  control.Cancel = &cancelled;
  // Called between banks on this thread: a short command never sees a dialog, a long one gets
  // one that keeps the windows painting and blocks every other command while it is open.
  control.OnProgress = [this, clock, &progress, &cancelled](std::int64_t done, std::int64_t total) {
    if (!progress) {
      if (clock->elapsed() < ProgressDelayMs) return;
      progress = dialogs_->OpenProgress(this, TitleText, total);
    }
    if (!progress->Update(done, total)) cancelled = true;
  };
  return control;
}

TExportResult TForm1::ExportWithProgress(const std::string& chosenName, TBankFormat format,
                                         const TChrSettings& settings, std::u16string_view text) {
  std::unique_ptr<TProgress> progress;
  std::atomic<bool> cancelled{false};
  TExportOptions options;
  options.Format = format;
  ReadPalette();
  options.Palette = PreviewPalette;
  options.Control = DelayedProgress(progress, cancelled);
  return ExportText(chosenName, settings, text, options);
}

void TForm1::ExportBanks(TBankFormat format) {
  QString& last = lastExportNames_[static_cast<std::size_t>(format)];
  const std::string_view ext = FormatExtension(format);
  const QString extension = QString::fromLatin1(ext.data(), static_cast<qsizetype>(ext.size()));
  // The filter in the "description (patterns);;..." form of TDialogs; the message ends "个s文件" and so on.
  const QString filter = FileKind(format) + QStringLiteral("(*.") + extension + QStringLiteral(");;所有文件(*)");
  const auto chosen = dialogs_->SaveFile(this, filter, extension, ExportStart(last));
  if (!chosen) return;
  last = *chosen;
  KeepExportFolder(*chosen);
  lastExportName_ = *chosen;
  lastExportFormat_ = format;
  if (Viewer) Viewer->ShowFileName();
  const std::u16string text = JoinedText();
  const TChrSettings settings = GatherSettings();
  TExportOptions naming;
  naming.Format = format;
  std::vector<TFileUse> outputs;
  for (std::string& name : ExportFileNames(LocalPath(*chosen), settings, text.size(), naming))
    outputs.push_back({"字模文件", std::move(name), true});
  if (!OutputsFree(outputs)) return;
  const TExportResult result = ExportWithProgress(LocalPath(*chosen), format, settings, text);
  dialogs_->Message(this, TitleText,
                    (result.Cancelled ? QStringLiteral("已取消：生成") : QStringLiteral("生成")) +
                        QString::number(result.Files) + QStringLiteral("个") + extension + QStringLiteral("文件"));
}

void TForm1::BuildOutputItems() {
  CA651 = AddItem(N14, this, "CA651", QStringLiteral("CA65(&A)"), &TForm1::CA651Click);
  CH1 = AddItem(N14, this, "CH1", QStringLiteral("C头文件(&H)"), &TForm1::CH1Click);
  PNG1 = AddItem(N14, this, "PNG1", QStringLiteral("PNG(&P)"), &TForm1::PNG1Click);
  GLY1 = AddItem(N14, this, "GLY1", QStringLiteral("CHR-RAM字模(&G)..."), &TForm1::GLY1Click);
  SCN1 = AddItem(N14, this, "SCN1", QStringLiteral("按场景分库(&S)..."), &TForm1::SCN1Click);
  BDF1 = AddItem(N14, this, "BDF1", QStringLiteral("BDF字体(&D)..."), &TForm1::BDF1Click);
  TBL1 = AddItem(N14, this, "TBL1", QStringLiteral("码表(&T)..."), &TForm1::TBL1Click);
  ROM1 = AddItem(N14, this, "ROM1", QStringLiteral("写入ROM(&R)..."), &TForm1::ROM1Click);
}

void TForm1::CHR1Click() {
  RunCommand([this] { ExportBanks(TBankFormat::Chr); });
}

void TForm1::ASMS1Click() {
  RunCommand([this] { ExportBanks(TBankFormat::Inc); });
}

void TForm1::CA651Click() {
  RunCommand([this] { ExportBanks(TBankFormat::Ca65); });
}

void TForm1::CH1Click() {
  RunCommand([this] { ExportBanks(TBankFormat::C); });
}

void TForm1::PNG1Click() {
  RunCommand([this] { ExportBanks(TBankFormat::Png); });
}

}  // namespace mipofc
