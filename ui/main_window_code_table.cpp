// TForm1: "码表(&T)...": the code table of the current text, as `mipofc-cli export --table` writes it.
#include <QFileInfo>
#include <algorithm>

#include "base/file_write.h"
#include "engine/chr.h"
#include "jobs/code_table.h"
#include "ui/form_helpers.h"
#include "ui/failure_text.h"
#include "ui/main_window.h"
#include "ui/memo_text.h"

namespace mipofc {

using namespace formdetail;

void TForm1::TBL1Click() {
  RunCommand([this] {
    const auto choice = dialogs_->ChooseCodeTable(this, {CodeStart, CodeBytes});
    if (!choice) return;
    // Kept as soon as chosen: the parameter file and the viewer's codes follow, even when the
    // codes turn out not to fit this text.
    CodeStart = std::clamp(choice->Start, 0, static_cast<int>(MaxCode));
    CodeBytes = std::clamp(choice->Bytes, 0, 3);
    SetFlag();
    const std::u16string text = CheckedText("文本");
    // The table is made before the save dialog: codes that do not fit say so at once.
    TCodeTableFile table;
    try {
      table = CodeTableFile(text, static_cast<std::uint32_t>(CodeStart), CodeBytes, TTableEncoding::Utf8, "");
    } catch (const TCodeRangeError& e) {
      ReportError(ChineseReason(e.Failure()));
      return;
    }
    const TCodePlan plan = table.Plan;
    const auto chosen = dialogs_->SaveFile(this, QStringLiteral("码表文件(*.tbl);;所有文件(*)"),
                                           QStringLiteral("tbl"), ExportStart(lastTableName_));
    if (!chosen) return;
    lastTableName_ = *chosen;
    if (!OutputsFree({{"码表文件", LocalPath(*chosen), true}})) return;
    KeepExportFolder(*chosen);
    WriteFileAtomically(LocalPath(*chosen), table.Bytes);
    const std::uint32_t last = plan.Start + static_cast<std::uint32_t>(text.size()) - 1;
    QString message = QStringLiteral("生成码表：") + QFileInfo(*chosen).fileName() +
                      QStringLiteral("，%1个编码").arg(text.size());
    if (!text.empty())
      message += QStringLiteral("（%1-%2）")
                     .arg(Q(CodeHex(CodeOf(plan.Start, plan.Bytes))), Q(CodeHex(CodeOf(last, plan.Bytes))));
    // The table codes the characters only: a script encoded through it loses its line breaks.
    if (const qsizetype breaks = MemoText(*Memo1).count(QLatin1Char('\n')); breaks > 0)
      message += QStringLiteral("\n%1个换行没有编码：码表中没有换行项（*编码）").arg(breaks);
    dialogs_->Message(this, TitleText, message);
  });
}

}  // namespace mipofc
