// TForm1: "CHR-RAM字模(&G)...": the text's glyph data, as `mipofc-cli export --layout glyphs`
// writes it.
#include <atomic>
#include <memory>

#include "jobs/glyph_export.h"
#include "table/codes.h"
#include "ui/form_helpers.h"
#include "ui/failure_text.h"
#include "ui/main_window.h"

namespace mipofc {

using namespace formdetail;

namespace {

// The format of a chosen name: ca65 for .s, C for .h, raw bytes for anything else.
TBankFormat GlyphFormatOf(const std::string& name) {
  const TBankFormat format = FormatOfName(name);
  return format == TBankFormat::Ca65 || format == TBankFormat::C ? format : TBankFormat::Chr;
}

}  // namespace

void TForm1::GLY1Click() {
  RunCommand([this] {
    const auto choice = dialogs_->ChooseGlyphs(this, lastGlyphs_);
    if (!choice) return;
    lastGlyphs_ = *choice;
    const TChrSettings settings = GatherSettings();
    if (choice->BitsPerPixel == 1 && settings.EncodeMode != 0) {
      ReportError(QStringLiteral("1 位字模只用于编码方式 0：编码方式 %1 会改变两个位平面，请选 2 位。")
                      .arg(settings.EncodeMode));
      return;
    }
    const std::u16string text = JoinedText();
    TGlyphOptions options;
    options.BitsPerPixel = choice->BitsPerPixel;
    options.PrgBank = choice->PrgBank;
    // The codes the ca65 comments name, from the code table's start and bytes.
    try {
      options.Codes = PlanCodes(text.size(), static_cast<std::uint32_t>(CodeStart), CodeBytes);
    } catch (const TCodeRangeError& e) {
      ReportError(ChineseReason(e.Failure()));
      return;
    }
    const auto chosen = dialogs_->SaveFile(
        this, QStringLiteral("CHR-RAM字模(*.bin);;ca65汇编文件(*.s);;C头文件(*.h);;所有文件(*)"),
        QStringLiteral("bin"), ExportStart(lastGlyphName_));
    if (!chosen) return;
    lastGlyphName_ = *chosen;
    KeepExportFolder(*chosen);
    const std::string name = LocalPath(*chosen);
    options.Format = GlyphFormatOf(name);
    const TGlyphFiles files = GlyphFilesOf(settings, options.BitsPerPixel, options.PrgBank, text.size());
    std::vector<TFileUse> outputs;
    for (std::int64_t n = 0; !text.empty() && n < files.Count; ++n)
      outputs.push_back({"字模文件", GlyphFileName(name, n, files, options), true});
    if (!OutputsFree(outputs)) return;
    std::unique_ptr<TProgress> progress;
    std::atomic<bool> cancelled{false};
    options.Control = DelayedProgress(progress, cancelled);
    const TExportResult result = ExportGlyphs(name, settings, text, options);
    dialogs_->Message(this, TitleText,
                      (result.Cancelled ? QStringLiteral("已取消：生成") : QStringLiteral("生成")) +
                          QString::number(result.Files) + QStringLiteral("个字模文件"));
  });
}

}  // namespace mipofc
