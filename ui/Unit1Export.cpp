// TForm1: the export commands of the output menu.
#include <QElapsedTimer>
#include <memory>

#include "ui/FormHelpers.h"
#include "ui/Unit1.h"
#include "ui/Unit3.h"

namespace mipofc {

using namespace formdetail;

namespace {

// Dialog filters in the "description (patterns);;..." form of TDialogs.
const QString ChrFilter = QStringLiteral("CHR字模文件(*.chr);;所有文件(*)");
const QString IncFilter = QStringLiteral("汇编包含文件(*.inc);;所有文件(*)");

}  // namespace

TExportResult TForm1::ExportWithProgress(const std::string& chosenName, TBankFormat format,
                                         const TChrSettings& settings, std::u16string_view text) {
  QElapsedTimer clock;
  clock.start();
  std::unique_ptr<TProgress> progress;
  TExportOptions options;
  options.Format = format;
  // Called between banks on this thread: a short export never sees a dialog, a long one gets one
  // that keeps the windows painting and blocks every other command while it is open.
  options.OnProgress = [&](std::int64_t written, std::int64_t total) {
    if (!progress) {
      if (clock.elapsed() < ProgressDelayMs) return true;
      progress = dialogs_->OpenProgress(this, TitleText, total);
    }
    return progress->Update(written, total);
  };
  return ExportText(chosenName, settings, text, options);
}

void TForm1::ExportBanks(TBankFormat format) {
  const bool chr = format == TBankFormat::Chr;
  QString& last = chr ? lastChrName_ : lastIncName_;
  const auto chosen = dialogs_->SaveFile(this, chr ? ChrFilter : IncFilter,
                                         chr ? QStringLiteral("chr") : QStringLiteral("inc"), last);
  if (!chosen) return;
  last = *chosen;
  lastExportName_ = *chosen;
  lastExportFormat_ = format;
  if (Viewer) Viewer->ShowFileName();
  const std::u16string text = JoinedText();
  const TChrSettings settings = GatherSettings();
  const TExportResult result = ExportWithProgress(LocalPath(*chosen), format, settings, text);
  dialogs_->Message(this, TitleText,
                    (result.Cancelled ? QStringLiteral("已取消：生成") : QStringLiteral("生成")) +
                        QString::number(result.Files) +
                        (chr ? QStringLiteral("个chr文件") : QStringLiteral("个inc文件")));
}

void TForm1::CHR1Click() {
  RunCommand([this] { ExportBanks(TBankFormat::Chr); });
}

void TForm1::ASMS1Click() {
  RunCommand([this] { ExportBanks(TBankFormat::Inc); });
}

}  // namespace mipofc
