#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "font/font.h"
#include "params/options.h"

class QWidget;

namespace mipofc {

/// A modal progress dialog over a long job, with a "取消" button; it closes when destroyed.
class TProgress {
 public:
  virtual ~TProgress() = default;
  /// Shows done of total files and lets every window repaint; false once the user asked to stop.
  virtual bool Update(std::int64_t done, std::int64_t total) = 0;
};

/// The codes of an exported text's table, as the code-table dialog edits them.
struct TCodeTableChoice {
  int Start = 0;  ///< code of the first character, 0..0xFFFFFF
  int Bytes = 0;  ///< bytes a code, 1..3; 0 = the fewest that hold every code

  bool operator==(const TCodeTableChoice&) const = default;
};

/// The glyph data "CHR-RAM字模" writes, as its dialog chooses it.
struct TGlyphChoice {
  int BitsPerPixel = 2;  ///< 1 or 2
  int PrgBank = 0;       ///< bytes of each numbered file: 8192, 16384, 32768; 0 = one file ("不分")

  bool operator==(const TGlyphChoice&) const = default;
};

/// What the CHR-ROM start dialog shows of a ROM and of the banks that are to go into it.
struct TChrStartAsk {
  QString RomName;                ///< the ROM's file name, without its folder
  std::uint64_t PrgSize = 0;      ///< PRG-ROM bytes
  std::uint64_t ChrSize = 0;      ///< CHR-ROM bytes
  std::uint64_t BanksSize = 0;    ///< bytes of the text's banks, all together
  std::int64_t BankCount = 0;     ///< bank files the text takes
  std::int64_t Initial = 0;       ///< the kilobyte offered first
  /// Why banks from kilobyte kb do not fit; empty when they do. The dialog accepts no kb it refuses.
  std::function<QString(std::int64_t kb)> Refusal;
};

/// A file name chosen in a save dialog, and the filter it was chosen under.
struct TSaveChoice {
  QString Path;
  int Filter = 0;  ///< index of the chosen filter among the ";;"-separated filters
};

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
  /// A font, starting from initial; nullopt on cancel. Unless a dialog kind overrides it, the
  /// program's own font dialog, which gives back initial itself when nothing was changed.
  virtual std::optional<TFont> ChooseFont(QWidget* parent, const TFont& initial);
  /// A colour, starting from initial; nullopt on cancel.
  virtual std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial) = 0;
  /// A message box with one OK button.
  virtual void Message(QWidget* parent, const QString& title, const QString& text) = 0;
  /// One of items (the faces of a font collection); its index, or nullopt on cancel. Unless a
  /// dialog kind overrides it, the first item is taken without asking.
  virtual std::optional<int> ChooseItem(QWidget* parent, const QString& title, const QString& label,
                                        const QStringList& items);
  /// Opens a modal progress dialog titled title over total files; no other window takes input
  /// while it is open. Unless a dialog kind overrides it, the platform's progress dialog.
  virtual std::unique_ptr<TProgress> OpenProgress(QWidget* parent, const QString& title, std::int64_t total);
  /// The code start and code bytes of a code table, starting from initial; nullopt on cancel.
  /// Unless a dialog kind overrides it, the program's own small dialog.
  virtual std::optional<TCodeTableChoice> ChooseCodeTable(QWidget* parent, const TCodeTableChoice& initial);
  /// The bits a pixel and the PRG bank size of glyph data, starting from initial; nullopt on
  /// cancel. Unless a dialog kind overrides it, the program's own small dialog.
  virtual std::optional<TGlyphChoice> ChooseGlyphs(QWidget* parent, const TGlyphChoice& initial);
  /// How "按场景分库" cuts the text and plans its banks, starting from initial; nullopt on
  /// cancel. Unless a dialog kind overrides it, the program's own dialog FormScenes.
  virtual std::optional<TSceneValues> ChooseScenes(QWidget* parent, const TSceneValues& initial);
  /// The CHR-ROM kilobyte the banks start at, one that ask.Refusal accepts; nullopt on cancel.
  /// Unless a dialog kind overrides it, the program's own small dialog.
  virtual std::optional<std::int64_t> ChooseChrStart(QWidget* parent, const TChrStartAsk& ask);
  /// A question with the buttons 是 and 否; true for 是. Unless a dialog kind overrides it, the
  /// platform's question box.
  virtual bool Ask(QWidget* parent, const QString& title, const QString& text);
  /// As SaveFile, except that choosing an existing file asks nothing: the caller asks (Ask)
  /// before replacing it. Unless a dialog kind overrides it, SaveFile.
  virtual std::optional<QString> SaveFileUnconfirmed(QWidget* parent, const QString& filter,
                                                     const QString& defaultSuffix, const QString& folder);
  /// As SaveFileUnconfirmed with a default suffix for each filter (the chosen filter's is added
  /// when the user typed none), telling which filter was chosen; nullopt on cancel. Unless a
  /// dialog kind overrides it, SaveFileUnconfirmed with the first suffix, the filter told by
  /// the name's extension.
  virtual std::optional<TSaveChoice> SaveFileOfKind(QWidget* parent, const QString& filter,
                                                    const QStringList& suffixes, const QString& folder);
};

/// The dialogs of the Qt platform in use.
class TQtDialogs : public TDialogs {
 public:
  std::optional<QString> OpenFile(QWidget* parent, const QString& filter, const QString& folder) override;
  std::optional<QString> SaveFile(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                  const QString& folder) override;
  std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial) override;
  void Message(QWidget* parent, const QString& title, const QString& text) override;
  std::optional<int> ChooseItem(QWidget* parent, const QString& title, const QString& label,
                                const QStringList& items) override;
  std::optional<QString> SaveFileUnconfirmed(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                             const QString& folder) override;
  std::optional<TSaveChoice> SaveFileOfKind(QWidget* parent, const QString& filter, const QStringList& suffixes,
                                            const QString& folder) override;
};

}  // namespace mipofc
