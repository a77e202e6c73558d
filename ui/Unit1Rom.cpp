// TForm1: "写入ROM(&R)...": the text's banks written into a copy of an iNES ROM's CHR-ROM.
#include <QDir>
#include <QFileInfo>
#include <memory>

#include "base/file_write.h"
#include "base/file_read.h"
#include "engine/bank_maker.h"
#include "base/errors.h"
#include "jobs/export.h"
#include "rom/patch.h"
#include "text/text.h"
#include "ui/FormHelpers.h"
#include "ui/OutputDialogs.h"
#include "ui/Unit1.h"

namespace mipofc {

using namespace formdetail;

namespace {

const QString RomFilter = QStringLiteral("NES ROM(*.nes);;所有文件(*)");

// Beside the ROM: its name + "_patched.nes".
QString PatchedName(const QString& romPath) {
  const QFileInfo rom(romPath);
  return rom.dir().filePath(rom.completeBaseName() + QStringLiteral("_patched.nes"));
}

bool SameFile(const QString& a, const QString& b) {
  const QFileInfo x(a), y(b);
  const QString cx = x.canonicalFilePath(), cy = y.canonicalFilePath();
  return !cx.isEmpty() ? cx == cy : x.absoluteFilePath() == y.absoluteFilePath();
}

}  // namespace

void TForm1::ROM1Click() {
  const QString folder = lastRomName_.isEmpty() ? QString() : QFileInfo(lastRomName_).absolutePath();
  const auto rom = dialogs_->OpenFile(this, RomFilter, folder);
  if (!rom) return;
  lastRomName_ = *rom;
  RunCommand([&] { WriteIntoRom(*rom); });
}

void TForm1::WriteIntoRom(const QString& romPath) {
  const std::string romName = LocalPath(romPath);
  std::string image = ReadFileBytes(romName);
  const TRomLayout layout = ReadRomLayout(image, romName);
  if (layout.ChrSize == 0)
    throw TFileError(romName, "has no CHR-ROM (CHR size 0: the game draws its tiles from CHR-RAM); "
                              "mipofc-cli patch --at OFFSET writes banks anywhere in the file");
  const std::u16string text = JoinedText();
  const TChrSettings settings = GatherSettings();
  const std::int32_t capacity = ExportCapacity(settings);
  const std::int64_t banks = ExportFileCount(text.size(), capacity);
  if (banks == 0) {
    ReportError(QStringLiteral("文本为空：没有要写入ROM的库"));
    return;
  }
  const std::uint64_t banksSize = static_cast<std::uint64_t>(banks) * static_cast<std::uint64_t>(settings.Limit);

  TChrStartAsk ask;
  ask.RomName = QFileInfo(romPath).fileName();
  ask.PrgSize = layout.PrgSize;
  ask.ChrSize = layout.ChrSize;
  ask.BanksSize = banksSize;
  ask.BankCount = banks;
  ask.Initial = 0;
  ask.Refusal = [&](std::int64_t kb) -> QString {
    const std::uint64_t start = static_cast<std::uint64_t>(kb) * 1024;
    if (kb < 0 || start >= layout.ChrSize || banksSize > layout.ChrSize - start)
      return QStringLiteral("从第 %1 KB 起放不下：超出 CHR-ROM（%2）%3 字节")
          .arg(kb)
          .arg(SizeText(layout.ChrSize))
          .arg(start + banksSize - layout.ChrSize);
    return {};
  };
  const auto kb = dialogs_->ChooseChrStart(this, ask);
  if (!kb) return;
  const TPatchTarget target{true, static_cast<std::uint64_t>(*kb)};
  // The plan checks again what the dialog checked, before anything is drawn.
  PlanPatch(layout, romName, {{"banks", banksSize}}, target);

  const auto chosen = dialogs_->SaveFileUnconfirmed(this, RomFilter, QStringLiteral("nes"), PatchedName(romPath));
  if (!chosen) return;
  if (QFileInfo::exists(*chosen)) {
    const QString question =
        SameFile(*chosen, romPath)
            ? QStringLiteral("“%1”就是源ROM。要用写入后的ROM替换它吗？").arg(QFileInfo(*chosen).fileName())
            : QStringLiteral("“%1”已存在。要替换它吗？").arg(QFileInfo(*chosen).fileName());
    if (!dialogs_->Ask(this, TitleText, question)) return;
  }

  // The banks as `export --concat` lays them, drawn in memory: no bank file is written.
  std::string bytes;
  bytes.reserve(banksSize);
  std::unique_ptr<TProgress> progress;
  std::atomic<bool> cancelled{false};
  const TJobControl control = DelayedProgress(progress, cancelled);
  TBankMaker maker(settings, text, capacity, false);
  for (std::int64_t n = 0; n < banks; ++n) {
    bytes += maker.Take(n).Bytes;
    if (!control.Step(n + 1, banks)) {
      progress.reset();
      dialogs_->Message(this, TitleText, QStringLiteral("已取消：ROM未写入"));
      return;
    }
  }
  progress.reset();
  const std::string outName = LocalPath(*chosen);
  const std::vector<TPlacement> placed = PatchImage(image, romName, {{outName, std::move(bytes)}}, target);
  WriteFileAtomically(outName, image);
  dialogs_->Message(this, TitleText,
                    QStringLiteral("已写入") + ChrRangeText(placed.front().First, placed.front().Last) +
                        QStringLiteral("（%1个库，%2）→ ").arg(banks).arg(SizeText(banksSize)) +
                        QFileInfo(*chosen).fileName());
}

}  // namespace mipofc
