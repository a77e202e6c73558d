#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

class QWidget;

namespace mipofc {

/// Every dialog and message box the main window shows. The window asks through this
/// interface only, so tests can answer in place of a user.
class TDialogs {
 public:
  virtual ~TDialogs() = default;
  /// A file to open; nullopt when the user cancels. filter uses Qt's "Name (*.ext);;..." form.
  virtual std::optional<QString> OpenFile(QWidget* parent, const QString& filter, const QString& folder) = 0;
  /// A file name to save to, with defaultSuffix added when the user typed none; nullopt on cancel.
  virtual std::optional<QString> SaveFile(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                          const QString& folder) = 0;
  /// A font, starting from initial; nullopt on cancel.
  virtual std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) = 0;
  /// A colour, starting from initial; nullopt on cancel.
  virtual std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial) = 0;
  /// A message box with one OK button.
  virtual void Message(QWidget* parent, const QString& title, const QString& text) = 0;
};

/// The dialogs of the Qt platform in use.
class TQtDialogs : public TDialogs {
 public:
  std::optional<QString> OpenFile(QWidget* parent, const QString& filter, const QString& folder) override;
  std::optional<QString> SaveFile(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                  const QString& folder) override;
  std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) override;
  std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial) override;
  void Message(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace mipofc
