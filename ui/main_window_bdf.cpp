// TForm1: "BDF字体(&D)...": the text's glyphs as a BDF font, to touch up in a bitmap font editor
// and draw from again through 字体文件(&L)....
#include <memory>

#include "jobs/bdf_font.h"
#include "ui/form_helpers.h"
#include "ui/main_window.h"

namespace mipofc {

using namespace formdetail;

void TForm1::BDF1Click() {
  RunCommand([this] {
    const std::u16string text = JoinedText();
    if (text.empty()) {
      ReportError(QStringLiteral("文本为空：没有要写入BDF字体的字符"));
      return;
    }
    const auto chosen = dialogs_->SaveFile(this, QStringLiteral("BDF字体(*.bdf);;所有文件(*)"), QStringLiteral("bdf"),
                                           ExportStart(lastBdfName_));
    if (!chosen) return;
    lastBdfName_ = *chosen;
    if (!OutputsFree({{"BDF字体", LocalPath(*chosen), true}})) return;
    KeepExportFolder(*chosen);
    const TChrSettings settings = GatherSettings();
    std::unique_ptr<TProgress> progress;
    std::atomic<bool> cancelled{false};
    const TBdfFontResult result = WriteBdfFont(LocalPath(*chosen), settings, text, DelayedProgress(progress, cancelled));
    progress.reset();
    dialogs_->Message(this, TitleText,
                      result.Cancelled ? QStringLiteral("已取消：BDF字体未写入")
                                       : QStringLiteral("生成BDF字体：") + QString::number(result.Characters) +
                                             QStringLiteral("个字符"));
  });
}

}  // namespace mipofc
