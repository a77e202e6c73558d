#include "ui/memo_text.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>

namespace mipofc {

namespace {

constexpr char16_t BlockBreak = 0x2029;

// The characters a document keeps as a block separator.
bool IsBlockBreak(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1; }

// What the document holds for text: the same length, every block break as U+2029.
QString Shown(const QString& text) {
  QString shown = text;
  for (QChar& c : shown)
    if (IsBlockBreak(c.unicode())) c = QChar(BlockBreak);
  return shown;
}

// A document's characters as text: its block separators are line breaks.
QString FromDocument(QString chars) {
  chars.replace(QChar(BlockBreak), QLatin1Char('\n'));
  return chars;
}

// The exact text of one memo and what its document held when it was last taken in.
class TMemoKeeper : public QObject {
  Q_OBJECT
 public:
  explicit TMemoKeeper(QTextEdit& memo) : QObject(&memo), memo_(memo) {
    setObjectName(QStringLiteral("MemoText"));
    shown_ = memo.document()->toRawText();
    exact_ = FromDocument(shown_);
    Watch();
  }

  const QString& Text() {
    // A document given to the memo later, or a change reported in a way not followed: take
    // the document's characters in again, keeping the ones that did not change.
    if (watched_ != memo_.document() || shown_.size() != Length()) {
      Watch();
      TakeIn(memo_.document()->toRawText());
    }
    return exact_;
  }

  void Set(const QString& text, bool undoable) {
    const QString shown = Shown(text);
    setting_ = true;
    if (undoable) {
      QTextCursor cursor(memo_.document());
      cursor.beginEditBlock();
      cursor.select(QTextCursor::Document);
      cursor.insertText(shown);
      cursor.endEditBlock();
      memo_.setTextCursor(cursor);
    } else {
      memo_.setPlainText(shown);
    }
    setting_ = false;
    Watch();
    shown_ = memo_.document()->toRawText();
    exact_ = text;
    // Never expected: a document that did not take the text one to one; its characters count.
    if (shown_ != shown) exact_ = FromDocument(shown_);
  }

 private:
  int Length() const { return memo_.document()->characterCount() - 1; }

  void Watch() {
    if (watched_ == memo_.document()) return;
    if (watched_) disconnect(watched_, nullptr, this, nullptr);
    watched_ = memo_.document();
    connect(watched_, &QTextDocument::contentsChange, this, &TMemoKeeper::Changed);
  }

  // position, removed and added as the document reports them; the counts may include the
  // document's last block separator, which is no character of the text.
  void Changed(int position, int removed, int /*added*/) {
    if (setting_) return;
    const int length = Length();
    const int old = static_cast<int>(shown_.size());
    if (position < 0 || position > old) {
      TakeIn(memo_.document()->toRawText());
      return;
    }
    const int gone = std::clamp(removed, 0, old - position);
    const int come = length - (old - gone);
    if (come < 0 || position + come > length) {
      TakeIn(memo_.document()->toRawText());
      return;
    }
    QString chars;
    chars.reserve(come);
    for (int i = 0; i < come; ++i) chars += memo_.document()->characterAt(position + i);
    Replace(position, gone, chars);
  }

  // Replaces shown_[position, position + gone) by chars, keeping the exact characters of the
  // ends that chars leaves as they were (a change of format reports its range unchanged).
  void Replace(int position, int gone, const QString& chars) {
    int from = 0, to = static_cast<int>(chars.size());
    while (from < to && from < gone && chars[from] == shown_[position + from]) ++from;
    while (to > from && gone - (static_cast<int>(chars.size()) - to) > from &&
           chars[to - 1] == shown_[position + gone - (static_cast<int>(chars.size()) - to) - 1])
      --to;
    const int keptTail = static_cast<int>(chars.size()) - to;
    const QString middle = chars.mid(from, to - from);
    shown_.replace(position + from, gone - from - keptTail, middle);
    exact_.replace(position + from, gone - from - keptTail, FromDocument(middle));
  }

  // Takes in the whole document: the characters before the first and after the last that
  // differ keep their exact form.
  void TakeIn(const QString& now) {
    Replace(0, static_cast<int>(shown_.size()), now);
  }

  QTextEdit& memo_;
  QTextDocument* watched_ = nullptr;
  QString shown_;  // the document's characters as last taken in
  QString exact_;  // the text, one character for each of shown_
  bool setting_ = false;
};

TMemoKeeper* KeeperOf(const QTextEdit& memo) {
  return memo.findChild<TMemoKeeper*>(QStringLiteral("MemoText"), Qt::FindDirectChildrenOnly);
}

}  // namespace

void KeepMemoText(QTextEdit& memo) {
  if (!KeeperOf(memo)) new TMemoKeeper(memo);
}

QString MemoText(const QTextEdit& memo) {
  if (TMemoKeeper* keeper = KeeperOf(memo)) return keeper->Text();
  return FromDocument(memo.document()->toRawText());
}

void SetMemoText(QTextEdit& memo, const QString& text, bool undoable) {
  KeepMemoText(memo);
  KeeperOf(memo)->Set(text, undoable);
}

}  // namespace mipofc

#include "memo_text.moc"
