// TForm1: the text page: the joined text, loading and pasting.
#include "ui/Unit1.h"

#include <QTextEdit>

#include "text/text.h"
#include "ui/FormHelpers.h"

namespace mipofc {

using namespace formdetail;

std::u16string TForm1::JoinedText() const {
  const QString text = Memo1->toPlainText();
  return mipofc::JoinedText(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                static_cast<std::size_t>(text.size())));
}

void TForm1::Memo1Change() { SetFlag(); }

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
  Memo1->setPlainText(content);
}

void TForm1::N9Click() {
  const auto file =
      dialogs_->OpenFile(this, QStringLiteral("文本(*.txt);;任意文本(*)"), QString());
  if (!file) return;
  RunCommand([&] { LoadTextFiles({*file}); });
}

void TForm1::N10Click() { Memo1->paste(); }

}  // namespace mipofc
