// TForm1: "按场景分库(&S)...": the text's scenes in CHR-ROM banks, as `mipofc-cli export --scenes`
// writes them: the banks, a table a switched bank, the scene map and the encoded script.
#include <atomic>
#include <QTextEdit>
#include <memory>

#include "base/hex.h"
#include "jobs/scene_export.h"
#include "table/script.h"
#include "ui/form_helpers.h"
#include "ui/failure_text.h"
#include "ui/main_window.h"
#include "ui/memo_text.h"

namespace mipofc {

using namespace formdetail;

namespace {

std::optional<std::string> CodeBytesOf(const std::string& hex) {
  if (hex.empty()) return std::nullopt;
  return CodeOf(static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16)), static_cast<int>(hex.size() / 2));
}

QString FitText(const TSceneFitError& e) {
  const TSceneFitError::TItem& first = e.Items.front();
  QString text = QStringLiteral("场景%1（第%2-%3行）：固定库以外有%4个字，一个库只放%5个字")
                     .arg(first.Scene)
                     .arg(first.FirstLine)
                     .arg(first.LastLine)
                     .arg(first.Characters)
                     .arg(e.Capacity);
  if (e.Items.size() > 1) text += QStringLiteral("\n另有%1个场景也放不下").arg(e.Items.size() - 1);
  return text + QStringLiteral("\n没有写入任何文件。");
}

}  // namespace

std::optional<TSceneSplit> TForm1::SceneSplit() const {
  switch (SceneValues.Mode) {
    case 1: return SceneSplitNamed("line");
    case 2: return SceneSplitNamed("marker:" + SceneValues.Marker);
    default: return SceneSplitNamed("blank");
  }
}

void TForm1::SCN1Click() {
  RunCommand([this] {
    const auto choice = dialogs_->ChooseScenes(this, SceneValues);
    if (!choice) return;
    SceneValues = *choice;
    const std::optional<TSceneSplit> split = SceneSplit();
    if (!split) {
      ReportError(QStringLiteral("标记行分隔需要标记行。"));
      return;
    }
    const TChrSettings settings = GatherSettings();
    const TSceneSource source{CheckedScript("文本"), *split, SceneValues.FixedBanks, {}};
    const auto chosen = dialogs_->SaveFile(this, QStringLiteral("CHR文件(*.chr);;所有文件(*)"), QStringLiteral("chr"),
                                           ExportStart(lastSceneName_));
    if (!chosen) return;
    lastSceneName_ = *chosen;
    KeepExportFolder(*chosen);
    const std::string name = LocalPath(*chosen);
    const std::string base = ExportBaseName(name);
    TSceneOutputs outputs;
    outputs.CodeStart = static_cast<std::uint32_t>(CodeStart);
    outputs.CodeBytes = CodeBytes;
    outputs.Controls = {CodeBytesOf(SceneValues.NewlineCode), CodeBytesOf(SceneValues.EndCode)};
    outputs.Table = base + ".tbl";
    outputs.Encoded = base + ".bin";
    outputs.Map = base + ".csv";
    TScenePrepared prepared;
    try {
      prepared = PrepareSceneExport(source, settings, outputs);
    } catch (const TSceneFitError& e) {
      ReportError(FitText(e));
      return;
    } catch (const TCodeConflictError& e) {
      ReportError((e.Newline ? QStringLiteral("换行编码") : QStringLiteral("结束编码")) + Q(e.Code) +
                  (e.Char.empty() ? QStringLiteral("也是换行编码")
                                  : QStringLiteral("也是") + QString(QChar(e.Char[0])) + QStringLiteral("的编码")));
      return;
    } catch (const TCodeRangeError& e) {
      ReportError(ChineseReason(e.Failure()));
      return;
    }
    TExportOptions options;
    options.BankStarts = prepared.BankStarts;
    std::vector<TFileUse> written;
    for (std::string& file : ExportFileNames(name, settings, prepared.BankText.size(), options))
      written.push_back({"字模文件", std::move(file), true});
    for (const auto& [file, bytes] : prepared.Files) written.push_back({"场景文件", file, true});
    if (!OutputsFree(written)) return;
    options.BankStarts.clear();
    std::unique_ptr<TProgress> progress;
    std::atomic<bool> cancelled{false};
    options.Control = DelayedProgress(progress, cancelled);
    const TExportResult result = WriteSceneExport(prepared, name, settings, options);
    progress.reset();
    dialogs_->Message(this, TitleText,
                      (result.Cancelled ? QStringLiteral("已取消：生成") : QStringLiteral("生成")) +
                          QString::number(result.Files) + QStringLiteral("个chr文件，") +
                          QString::number(prepared.Scenes.size()) + QStringLiteral("个场景"));
  });
}

QString TForm1::ScenePlanText() {
  const std::optional<TSceneSplit> split = SceneSplit();
  if (!split) return {};
  const std::vector<TScene> scenes = SplitScenes(CheckedScript("文本"), *split);
  const std::int32_t capacity = ExportCapacity(GatherSettings());
  if (capacity <= 0) return {};
  const TScenePlan plan = PlanScenes(scenes, capacity, SceneValues.FixedBanks);
  QString text = QStringLiteral("\n场景：%1个").arg(scenes.size());
  if (!plan.Oversized.empty()) return text + QStringLiteral("（%1个场景放不下）").arg(plan.Oversized.size());
  const std::int64_t fixed = (static_cast<std::int64_t>(plan.Fixed.size()) + capacity - 1) / capacity;
  return text + QStringLiteral("，固定库%1个，切换库%2个").arg(fixed).arg(plan.Banks.size());
}

}  // namespace mipofc
