// TForm1: the export commands of the output menu.
#include "ui/Unit1.h"
#include "ui/FormHelpers.h"

namespace mipofc {

using namespace formdetail;

namespace {

// Dialog filters in the "description (patterns);;..." form of TDialogs.
const QString ChrFilter = QStringLiteral("CHR字模文件(*.chr);;所有文件(*)");
const QString IncFilter = QStringLiteral("汇编包含文件(*.inc);;所有文件(*)");

}  // namespace

void TForm1::ExportBanks(TBankFormat format) {
  const bool chr = format == TBankFormat::Chr;
  QString& last = chr ? lastChrName_ : lastIncName_;
  const auto chosen = dialogs_->SaveFile(this, chr ? ChrFilter : IncFilter,
                                         chr ? QStringLiteral("chr") : QStringLiteral("inc"), last);
  if (!chosen) return;
  last = *chosen;
  const std::u16string text = JoinedText();
  const TChrSettings settings = GatherSettings();
  const std::int64_t count = mipofc::ExportBanks(LocalPath(*chosen), format, settings, text);
  dialogs_->Message(this, TitleText,
                    QStringLiteral("生成") + QString::number(count) +
                        (chr ? QStringLiteral("个chr文件") : QStringLiteral("个inc文件")));
}

void TForm1::CHR1Click() {
  RunCommand([this] { ExportBanks(TBankFormat::Chr); });
}

void TForm1::ASMS1Click() {
  RunCommand([this] { ExportBanks(TBankFormat::Inc); });
}

}  // namespace mipofc
