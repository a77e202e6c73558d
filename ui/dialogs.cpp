#include "ui/dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "ui/font_chooser.h"
#include "ui/glyph_dialog.h"
#include "ui/output_dialogs.h"
#include "ui/scene_dialog.h"

namespace mipofc {

std::optional<QString> TQtDialogs::OpenFile(QWidget* parent, const QString& filter, const QString& folder) {
  const QString name = QFileDialog::getOpenFileName(parent, QString(), folder, filter);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> TQtDialogs::SaveFile(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                            const QString& folder) {
  QFileDialog dialog(parent, QString(), folder, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

std::optional<QColor> TQtDialogs::ChooseColour(QWidget* parent, const QColor& initial) {
  const QColor colour = QColorDialog::getColor(initial, parent);
  if (!colour.isValid()) return std::nullopt;
  return colour;
}

void TQtDialogs::Message(QWidget* parent, const QString& title, const QString& text) {
  // A plain box: the text says everything, no icon.
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
  // Qt's translation says 确定 as well; said here too, so the box is Chinese without it.
  box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  box.exec();
}

std::optional<QString> TQtDialogs::SaveFileUnconfirmed(QWidget* parent, const QString& filter,
                                                       const QString& defaultSuffix, const QString& folder) {
  QFileDialog dialog(parent, QString(), folder, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(defaultSuffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

std::optional<TSaveChoice> TQtDialogs::SaveFileOfKind(QWidget* parent, const QString& filter,
                                                      const QStringList& suffixes, const QString& folder) {
  QFileDialog dialog(parent, QString(), folder, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = filter.split(QStringLiteral(";;"));
  const auto suffixOf = [&](qsizetype i) { return i >= 0 && i < suffixes.size() ? suffixes[i] : QString(); };
  dialog.setDefaultSuffix(suffixOf(0));
  // Choosing another kind also changes the kind's extension of the name typed so far.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
    const QString suffix = suffixOf(filters.indexOf(chosen));
    dialog.setDefaultSuffix(suffix);
    const QStringList typed = dialog.selectedFiles();
    if (typed.isEmpty() || suffix.isEmpty()) return;
    const QFileInfo name(typed.constFirst());
    if (suffixes.contains(name.suffix(), Qt::CaseInsensitive) && name.suffix() != suffix)
      dialog.selectFile(name.completeBaseName() + QLatin1Char('.') + suffix);
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return TSaveChoice{dialog.selectedFiles().constFirst(),
                     static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
}

std::optional<int> TQtDialogs::ChooseItem(QWidget* parent, const QString& title, const QString& label,
                                          const QStringList& items) {
  bool ok = false;
  const QString item = QInputDialog::getItem(parent, title, label, items, 0, false, &ok);
  if (!ok) return std::nullopt;
  const int index = static_cast<int>(items.indexOf(item));
  if (index < 0) return std::nullopt;
  return index;
}

namespace {

// Files written of the total on Qt's progress dialog: its value and maximum count files (in
// thousandths of the total for a total beyond an int).
class TQtProgress : public TProgress {
 public:
  TQtProgress(QWidget* parent, const QString& title, std::int64_t total)
      : dialog_(QString(), QStringLiteral("取消"), 0, 0, parent) {
    dialog_.setObjectName(QStringLiteral("ProgressDialog"));
    dialog_.setWindowTitle(title);
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setAutoReset(false);
    dialog_.setAutoClose(false);
    dialog_.setMinimumDuration(0);
    dialog_.setMinimumWidth(320);
    Show(0, total);
    dialog_.show();
    QCoreApplication::processEvents();
  }

  bool Update(std::int64_t done, std::int64_t total) override {
    Show(done, total);
    QCoreApplication::processEvents();
    return !dialog_.wasCanceled();
  }

 private:
  void Show(std::int64_t done, std::int64_t total) {
    const bool fits = total <= std::numeric_limits<int>::max();
    dialog_.setMaximum(fits ? static_cast<int>(total) : 1000);
    dialog_.setValue(static_cast<int>(fits ? done : done / (total / 1000)));
    dialog_.setLabelText(QStringLiteral("已生成 %1 / %2 个文件").arg(done).arg(total));
  }

  QProgressDialog dialog_;
};

}  // namespace

std::optional<int> TDialogs::ChooseItem(QWidget*, const QString&, const QString&, const QStringList& items) {
  if (items.isEmpty()) return std::nullopt;
  return 0;
}

std::unique_ptr<TProgress> TDialogs::OpenProgress(QWidget* parent, const QString& title, std::int64_t total) {
  return std::make_unique<TQtProgress>(parent, title, total);
}

std::optional<TCodeTableChoice> TDialogs::ChooseCodeTable(QWidget* parent, const TCodeTableChoice& initial) {
  TCodeTableDialog dialog(parent, initial);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

std::optional<TFont> TDialogs::ChooseFont(QWidget* parent, const TFont& initial) {
  TFontChooser dialog(parent, initial);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

std::optional<TGlyphChoice> TDialogs::ChooseGlyphs(QWidget* parent, const TGlyphChoice& initial) {
  TGlyphDialog dialog(parent, initial);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

std::optional<TSceneValues> TDialogs::ChooseScenes(QWidget* parent, const TSceneValues& initial) {
  TSceneDialog dialog(parent, initial);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

std::optional<std::int64_t> TDialogs::ChooseChrStart(QWidget* parent, const TChrStartAsk& ask) {
  TChrStartDialog dialog(parent, ask);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Start();
}

bool TDialogs::Ask(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
  // Qt's translation says 是(&Y) and 否(&N); every button of the program reads 是 and 否 alike.
  box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
  box.button(QMessageBox::No)->setText(QStringLiteral("否"));
  // Replacing a file is what the question guards against, so Enter alone does not do it.
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<QString> TDialogs::SaveFileUnconfirmed(QWidget* parent, const QString& filter,
                                                     const QString& defaultSuffix, const QString& folder) {
  return SaveFile(parent, filter, defaultSuffix, folder);
}

std::optional<TSaveChoice> TDialogs::SaveFileOfKind(QWidget* parent, const QString& filter,
                                                    const QStringList& suffixes, const QString& folder) {
  const auto name = SaveFileUnconfirmed(parent, filter, suffixes.value(0), folder);
  if (!name) return std::nullopt;
  const qsizetype kind = suffixes.indexOf(QFileInfo(*name).suffix().toLower());
  return TSaveChoice{*name, static_cast<int>(std::max<qsizetype>(0, kind))};
}

}  // namespace mipofc
