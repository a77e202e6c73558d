#include "ui/Dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

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

std::optional<QFont> TQtDialogs::ChooseFont(QWidget* parent, const QFont& initial) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, parent);
  if (!ok) return std::nullopt;
  return font;
}

std::optional<QColor> TQtDialogs::ChooseColour(QWidget* parent, const QColor& initial) {
  const QColor colour = QColorDialog::getColor(initial, parent);
  if (!colour.isValid()) return std::nullopt;
  return colour;
}

void TQtDialogs::Message(QWidget* parent, const QString& title, const QString& text) {
  // A plain box: the text says everything, no icon.
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace mipofc
