// TForm1: the text page: the joined text, loading and pasting, distinct characters, their
// statistics, and the characters of a code table.
#include "ui/main_window.h"

#include <QMenu>
#include <QTextEdit>

#include "jobs/char_stats.h"
#include "table/chars.h"
#include "table/codes.h"
#include "text/text.h"
#include "ui/form_helpers.h"
#include "ui/memo_text.h"

namespace mipofc {

using namespace formdetail;

namespace {

// Lines of 16 characters, as `mipofc-cli chars` writes them, without a break after the last.
QString InLines(std::u16string_view chars) {
  std::u16string lines = CharLines(chars);
  if (!lines.empty()) lines.pop_back();
  return QString::fromUtf16(lines.data(), static_cast<qsizetype>(lines.size()));
}

}  // namespace

std::u16string TForm1::JoinedText() const {
  const QString text = MemoText(*Memo1);
  return mipofc::JoinedText(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                static_cast<std::size_t>(text.size())));
}

std::u16string TForm1::CheckedScript(const char* command) const {
  const QString memo = MemoText(*Memo1);
  TScript script;
  // A character outside the plane has no cell of its own; it is refused with its line and column.
  script.Add(command, std::u16string(reinterpret_cast<const char16_t*>(memo.utf16()),
                                     static_cast<std::size_t>(memo.size())));
  return script.Text();
}

std::u16string TForm1::CheckedText(const char* command) const { return mipofc::JoinedText(CheckedScript(command)); }

void TForm1::Memo1Change() { SetFlag(); }

void TForm1::BuildTextItems() {
  N11 = AddItem(N8, this, "N11", QStringLiteral("去除重复字(&U)"), &TForm1::N11Click);
  N12 = AddItem(N8, this, "N12", QStringLiteral("字符统计(&S)..."), &TForm1::N12Click);
  N13 = AddItem(N8, this, "N13", QStringLiteral("从码表载入(&B)..."), &TForm1::N13Click);
}

void TForm1::LoadTextFiles(const QStringList& paths) {
  QString content;
  for (const QString& path : paths) {
    const std::u16string text = LoadTextFile(LocalPath(path));
    QString part = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    part.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    part.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Each file starts a line of its own; line breaks are no characters, so the text is the same.
    if (!content.isEmpty() && !content.endsWith(QLatin1Char('\n'))) content += QLatin1Char('\n');
    content += part;
  }
  SetMemoText(*Memo1, content);
  if (!paths.isEmpty()) lastTextFile_ = paths.back();
  textFiles_ = paths;
}

bool TForm1::OutputsFree(const std::vector<TFileUse>& outputs,
                         const std::vector<std::pair<std::string, std::string>>& allowed) {
  std::vector<TFileUse> uses;
  for (const QString& file : textFiles_) uses.push_back({"文本文件", LocalPath(file), false});
  if (!BfFontFont.File.empty()) uses.push_back({"字体文件", BfFontFont.File, false});
  if (ParamFileNamed) uses.push_back({"参数文件", LocalPath(CurrentParamFile), false});
  uses.insert(uses.end(), outputs.begin(), outputs.end());
  const std::optional<TFileClash> clash = FindFileClash(uses, allowed);
  if (!clash) return true;
  ReportError(QStringLiteral("%1和%2是同一个文件：%3\n没有写入任何文件。")
                  .arg(Q(clash->First.Name), Q(clash->Second.Name), Q(clash->Second.Path)));
  return false;
}

void TForm1::ReplaceMemoText(const QString& text) { SetMemoText(*Memo1, text, true); }

QString TForm1::CharStatsText() {
  const TCharStats counts = CharStats(JoinedText(), GatherSettings());
  QString stats = QStringLiteral("字符：%1\n不同字符：%2\n").arg(counts.Characters).arg(counts.Distinct);
  stats += QStringLiteral("每个文件：%1个字\n").arg(counts.PerFile);
  stats += QStringLiteral("文件：%1个").arg(counts.Files);
  stats += QStringLiteral("（去除重复字后%1个）").arg(counts.DistinctFiles);
  return stats + ScenePlanText();
}

void TForm1::N9Click() {
  const auto file =
      dialogs_->OpenFile(this, QStringLiteral("文本(*.txt);;任意文本(*)"), QString());
  if (!file) return;
  RunCommand([&] { LoadTextFiles({*file}); });
}

void TForm1::N10Click() { Memo1->paste(); }

void TForm1::N11Click() {
  RunCommand([this] {
    const std::u16string text = CheckedText("文本");
    ReplaceMemoText(InLines(DistinctCharacters(text, TCharOrder::First).Chars));
  });
}

void TForm1::N12Click() {
  RunCommand([this] { dialogs_->Message(this, TitleText, CharStatsText()); });
}

void TForm1::N13Click() {
  const auto file = dialogs_->OpenFile(this, QStringLiteral("码表文件(*.tbl);;所有文件(*)"), QString());
  if (!file) return;
  RunCommand([&] {
    const TTable table = ReadTable(LocalPath(*file));
    ReplaceMemoText(InLines(TextOfTable(table, static_cast<std::uint32_t>(CodeStart))));
  });
}

}  // namespace mipofc
