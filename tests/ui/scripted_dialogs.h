#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtWidgets>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "tests/ui/ui_test_util.h"

namespace mipofc::test {

/// Dialogs answered from queues; an empty queue answers as a cancelled dialog. Remembers
/// what each dialog was opened on and every message shown.
class TScriptedDialogs : public TDialogs {
 public:
  std::deque<std::optional<QString>> Files;
  std::deque<std::optional<QFont>> Fonts;
  std::deque<std::optional<QColor>> Colours;
  std::vector<QString> FileFilters;
  /// One file dialog as the window opened it.
  struct TFileAsk {
    bool Saving;
    QString Filter, Suffix, Folder;
  };
  std::vector<TFileAsk> FileAsks;
  std::vector<QFont> FontsOffered;
  std::vector<QColor> ColoursOffered;
  std::vector<std::pair<QString, QString>> Messages;
  /// Answers of list choices (an index), and the items each choice offered.
  std::deque<std::optional<int>> Choices;
  std::vector<QStringList> ChoicesOffered;
  /// Progress dialogs opened, with their totals, and every update (done, total) they showed.
  std::vector<std::int64_t> ProgressOpened;
  std::vector<std::pair<std::int64_t, std::int64_t>> ProgressUpdates;
  /// The update (counted from 1 over every progress dialog) at which the user presses 取消;
  /// 0 = never. The platform's dialog is shown as well, so 取消 can also be clicked on it.
  int CancelAtUpdate = 0;
  /// Answers of the code-table dialog, and the values each one was opened on.
  std::deque<std::optional<TCodeTableChoice>> CodeTables;
  std::vector<TCodeTableChoice> CodeTablesOffered;
  /// Answers of the glyph-data dialog, and the choice each one was opened on.
  std::deque<std::optional<TGlyphChoice>> GlyphChoices;
  std::vector<TGlyphChoice> GlyphChoicesOffered;
  std::deque<std::optional<TSceneValues>> SceneChoices;
  std::vector<TSceneValues> SceneChoicesOffered;
  /// Answers of the CHR-ROM start dialog, tried in turn as a user tries again: one that the
  /// dialog refuses is kept in ChrStartRefusals (with why) and the next is tried; none left is
  /// a cancel. ChrStartAsks keeps what each dialog showed.
  std::deque<std::optional<std::int64_t>> ChrStarts;
  std::vector<TChrStartAsk> ChrStartAsks;
  std::vector<std::pair<std::int64_t, QString>> ChrStartRefusals;
  /// The filter chosen in each save dialog that offers kinds (none left: the first).
  std::deque<int> FilterChoices;
  /// Answers of yes/no questions (none left: 否), and every question asked.
  std::deque<bool> Answers;
  std::vector<QString> Questions;

  std::optional<QString> OpenFile(QWidget*, const QString& filter, const QString& folder) override {
    FileFilters.push_back(filter);
    FileAsks.push_back({false, filter, QString(), folder});
    return Next(Files);
  }
  std::optional<QString> SaveFile(QWidget*, const QString& filter, const QString& suffix,
                                  const QString& folder) override {
    FileFilters.push_back(filter);
    FileAsks.push_back({true, filter, suffix, folder});
    return Next(Files);
  }
  std::optional<TSaveChoice> SaveFileOfKind(QWidget*, const QString& filter, const QStringList& suffixes,
                                            const QString& folder) override {
    FileFilters.push_back(filter);
    FileAsks.push_back({true, filter, suffixes.join(QLatin1Char(' ')), folder});
    const std::optional<QString> name = Next(Files);
    const int kind = FilterChoices.empty() ? 0 : FilterChoices.front();
    if (!FilterChoices.empty()) FilterChoices.pop_front();
    if (!name) return std::nullopt;
    return TSaveChoice{*name, kind};
  }
  /// The program's own font dialog instead of Fonts.
  bool OwnFontDialog = false;
  std::optional<TFont> ChooseFont(QWidget* parent, const TFont& initial) override {
    if (OwnFontDialog) return TDialogs::ChooseFont(parent, initial);
    FontsOffered.push_back(ToQFont(initial));
    const std::optional<QFont> chosen = Next(Fonts);
    if (!chosen) return std::nullopt;
    return FromQFont(*chosen, initial);
  }
  std::optional<QColor> ChooseColour(QWidget*, const QColor& initial) override {
    ColoursOffered.push_back(initial);
    return Next(Colours);
  }
  void Message(QWidget*, const QString& title, const QString& text) override { Messages.emplace_back(title, text); }
  std::optional<int> ChooseItem(QWidget*, const QString&, const QString&, const QStringList& items) override {
    ChoicesOffered.push_back(items);
    return Next(Choices);
  }
  std::optional<TCodeTableChoice> ChooseCodeTable(QWidget*, const TCodeTableChoice& initial) override {
    CodeTablesOffered.push_back(initial);
    return Next(CodeTables);
  }
  std::optional<TSceneValues> ChooseScenes(QWidget*, const TSceneValues& initial) override {
    SceneChoicesOffered.push_back(initial);
    return Next(SceneChoices);
  }
  std::optional<TGlyphChoice> ChooseGlyphs(QWidget*, const TGlyphChoice& initial) override {
    GlyphChoicesOffered.push_back(initial);
    return Next(GlyphChoices);
  }
  std::optional<std::int64_t> ChooseChrStart(QWidget*, const TChrStartAsk& ask) override {
    ChrStartAsks.push_back(ask);
    while (!ChrStarts.empty()) {
      const std::optional<std::int64_t> answer = ChrStarts.front();
      ChrStarts.pop_front();
      if (!answer) return std::nullopt;
      const QString refusal = ask.Refusal ? ask.Refusal(*answer) : QString();
      if (refusal.isEmpty()) return answer;
      ChrStartRefusals.emplace_back(*answer, refusal);
    }
    return std::nullopt;
  }
  bool Ask(QWidget*, const QString&, const QString& text) override {
    Questions.push_back(text);
    if (Answers.empty()) return false;
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  std::unique_ptr<TProgress> OpenProgress(QWidget* parent, const QString& title,
                                          std::int64_t total) override {
    ProgressOpened.push_back(total);
    return std::make_unique<TScriptedProgress>(*this, TDialogs::OpenProgress(parent, title, total));
  }

 private:
  class TScriptedProgress : public TProgress {
   public:
    TScriptedProgress(TScriptedDialogs& owner, std::unique_ptr<TProgress> shown)
        : owner_(owner), shown_(std::move(shown)) {}
    bool Update(std::int64_t done, std::int64_t total) override {
      owner_.ProgressUpdates.emplace_back(done, total);
      const bool go = shown_->Update(done, total);
      return go && static_cast<int>(owner_.ProgressUpdates.size()) != owner_.CancelAtUpdate;
    }

   private:
    TScriptedDialogs& owner_;
    std::unique_ptr<TProgress> shown_;
  };

  template <class T>
  static std::optional<T> Next(std::deque<std::optional<T>>& queue) {
    if (queue.empty()) return std::nullopt;
    auto answer = queue.front();
    queue.pop_front();
    return answer;
  }
};

/// A fresh main window answered by scripted dialogs. The real timer is stopped so that a test
/// decides when a tick happens; Tick() runs one and returns how many refreshes it caused.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto dialogs = std::make_unique<TScriptedDialogs>();
    Dialogs = dialogs.get();
    Form = std::make_unique<TForm1>(std::move(dialogs));
    Form->Timer1->stop();
    QObject::connect(Form.get(), &TForm1::PreviewsRefreshed, [this] { ++Refreshes; });
  }

  int Tick() {
    const int before = Refreshes;
    Form->Timer1Timer();
    return Refreshes - before;
  }

  /// A user's pick in a list: select the item and raise the list's user signal.
  static void Pick(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
  }

  TScriptedDialogs* Dialogs = nullptr;
  std::unique_ptr<TForm1> Form;
  int Refreshes = 0;
};

/// A WindowTest in a temporary folder of its own, which is also the window's own folder (where
/// it keeps its default parameter file), so that no test reads or leaves files elsewhere.
class FolderWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(Dir.isValid());
    Form->UseExeFolder(Dir.path());
  }
  QString Path(const QString& name) const { return Dir.filePath(name); }
  /// The memo's text saved as text.txt in the folder, for the command-line tool to read.
  QString TextFile() {
    const QString path = Path(QStringLiteral("text.txt"));
    EXPECT_TRUE(WriteBytes(path, Form->Memo1->toPlainText().toUtf8()));
    return path;
  }

  QTemporaryDir Dir;
};

/// The names of the files in a folder, sorted.
inline QStringList FileNames(const QString& folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); }

}  // namespace mipofc::test
