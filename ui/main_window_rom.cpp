// TForm1: "写入ROM(&R)...": the text's banks written into a copy of an iNES ROM's CHR-ROM, saved
// as the patched ROM or as an IPS or BPS patch of it.
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <memory>

#include "jobs/rom_write.h"
#include "ui/form_helpers.h"
#include "ui/output_dialogs.h"
#include "ui/main_window.h"

namespace mipofc {

using namespace formdetail;

namespace {

const QString RomFilter = QStringLiteral("NES ROM(*.nes);;所有文件(*)");

// The save dialog's filters, in the order of TRomFileKind, and each one's suffix.
const QString SaveFilter = QStringLiteral("ROM文件(*.nes);;IPS补丁(*.ips);;BPS补丁(*.bps)");
const QStringList SaveSuffixes = {QStringLiteral("nes"), QStringLiteral("ips"), QStringLiteral("bps")};
constexpr TRomFileKind SaveKinds[] = {TRomFileKind::Rom, TRomFileKind::Ips, TRomFileKind::Bps};

// What the message calls the file written: a patch by its kind and size.
QString WrittenText(const TRomFile& file) {
  const QString name = QFileInfo(Q(file.Name)).fileName();
  if (file.Kind == TRomFileKind::Rom) return name;
  const QString kind = file.Kind == TRomFileKind::Ips ? QStringLiteral("IPS补丁") : QStringLiteral("BPS补丁");
  return kind + QStringLiteral(" ") + name + QStringLiteral("（%1 字节）").arg(file.Bytes);
}

// Beside the ROM: its name + "_patched.nes".
QString PatchedName(const QString& romPath) {
  const QFileInfo rom(romPath);
  return rom.dir().filePath(rom.completeBaseName() + QStringLiteral("_patched.nes"));
}

bool SameFile(const QString& a, const QString& b) { return FileIdentity(LocalPath(a)) == FileIdentity(LocalPath(b)); }

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

  const auto choice = dialogs_->SaveFileOfKind(this, SaveFilter, SaveSuffixes, PatchedName(romPath));
  if (!choice) return;
  const QString& chosen = choice->Path;
  const TRomFileKind kind = SaveKinds[std::clamp(choice->Filter, 0, 2)];
  const QString chosenName = QFileInfo(chosen).fileName();
  if (kind != TRomFileKind::Rom && SameFile(chosen, romPath)) {
    ReportError(QStringLiteral("“%1”就是源ROM：补丁不能写在源ROM上，请给补丁另起一个名字").arg(chosenName));
    return;
  }
  if (!OutputsFree({{"源ROM", LocalPath(romPath), false}, {"写入后的ROM", LocalPath(chosen), true}},
                   {{"源ROM", "写入后的ROM"}}))
    return;
  if (QFileInfo::exists(chosen)) {
    const QString question = SameFile(chosen, romPath)
                                 ? QStringLiteral("“%1”就是源ROM。要用写入后的ROM替换它吗？").arg(chosenName)
                                 : QStringLiteral("“%1”已存在。要替换它吗？").arg(chosenName);
    if (!dialogs_->Ask(this, TitleText, question)) return;
  }

  TRomOutputs outputs;
  (kind == TRomFileKind::Ips ? outputs.Ips : kind == TRomFileKind::Bps ? outputs.Bps : outputs.Rom) = LocalPath(chosen);
  std::unique_ptr<TProgress> progress;
  std::atomic<bool> cancelled{false};
  const TRomWriteResult written =
      WriteTextIntoRom(rom, settings, text, target, outputs, DelayedProgress(progress, cancelled));
  progress.reset();
  if (written.Cancelled) {
    const QString what = kind == TRomFileKind::Rom   ? QStringLiteral("ROM")
                         : kind == TRomFileKind::Ips ? QStringLiteral("IPS补丁")
                                                     : QStringLiteral("BPS补丁");
    dialogs_->Message(this, TitleText, QStringLiteral("已取消：") + what + QStringLiteral("未写入"));
    return;
  }
  dialogs_->Message(this, TitleText,
                    QStringLiteral("已写入") + ChrRangeText(written.Placed.front().First, written.Placed.front().Last) +
                        QStringLiteral("（%1个库，%2）→ ").arg(banks.Count).arg(SizeText(banks.Bytes)) +
                        WrittenText(written.Files.front()));
}

}  // namespace mipofc
