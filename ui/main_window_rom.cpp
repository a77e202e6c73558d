// TForm1: "写入ROM(&R)...": the text's banks written into a copy of an iNES ROM's CHR-ROM.
#include <QDir>
#include <QFileInfo>
#include <memory>

#include "jobs/rom_write.h"
#include "ui/form_helpers.h"
#include "ui/output_dialogs.h"
#include "ui/main_window.h"

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
  const TChrRom rom = OpenChrRom(LocalPath(romPath));
  const std::u16string text = JoinedText();
  const TChrSettings settings = GatherSettings();
  const TTextBanks banks = TextBanks(settings, text.size());
  if (banks.Count == 0) {
    ReportError(QStringLiteral("文本为空：没有要写入ROM的库"));
    return;
  }

  TChrStartAsk ask;
  ask.RomName = QFileInfo(romPath).fileName();
  ask.PrgSize = rom.Layout.PrgSize;
  ask.ChrSize = rom.Layout.ChrSize;
  ask.BanksSize = banks.Bytes;
  ask.BankCount = banks.Count;
  ask.Initial = 0;
  ask.Refusal = [&](std::int64_t kb) -> QString {
    const std::uint64_t over = kb < 0 ? banks.Bytes : ChrOverrun(rom.Layout, static_cast<std::uint64_t>(kb), banks.Bytes);
    if (over == 0) return {};
    return QStringLiteral("从第 %1 KB 起放不下：超出 CHR-ROM（%2）%3 字节").arg(kb).arg(SizeText(rom.Layout.ChrSize)).arg(over);
  };
  const auto kb = dialogs_->ChooseChrStart(this, ask);
  if (!kb) return;
  const TPatchTarget target{true, static_cast<std::uint64_t>(*kb)};
  // The plan checks again what the dialog checked, before anything is drawn.
  PlanTextIntoRom(rom, banks, target);

  const auto chosen = dialogs_->SaveFileUnconfirmed(this, RomFilter, QStringLiteral("nes"), PatchedName(romPath));
  if (!chosen) return;
  if (QFileInfo::exists(*chosen)) {
    const QString question =
        SameFile(*chosen, romPath)
            ? QStringLiteral("“%1”就是源ROM。要用写入后的ROM替换它吗？").arg(QFileInfo(*chosen).fileName())
            : QStringLiteral("“%1”已存在。要替换它吗？").arg(QFileInfo(*chosen).fileName());
    if (!dialogs_->Ask(this, TitleText, question)) return;
  }

  std::unique_ptr<TProgress> progress;
  std::atomic<bool> cancelled{false};
  const TRomWriteResult written =
      WriteTextIntoRom(rom, settings, text, target, {LocalPath(*chosen), {}, {}}, DelayedProgress(progress, cancelled));
  progress.reset();
  if (written.Cancelled) {
    dialogs_->Message(this, TitleText, QStringLiteral("已取消：ROM未写入"));
    return;
  }
  dialogs_->Message(this, TitleText,
                    QStringLiteral("已写入") + ChrRangeText(written.Placed.front().First, written.Placed.front().Last) +
                        QStringLiteral("（%1个库，%2）→ ").arg(banks.Count).arg(SizeText(banks.Bytes)) +
                        QFileInfo(*chosen).fileName());
}

}  // namespace mipofc
