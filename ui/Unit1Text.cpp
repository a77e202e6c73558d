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

void TForm1::N9Click() {
  const auto file =
      dialogs_->OpenFile(this, QStringLiteral("文本(*.txt);;任意文本(*)"), QString());
  if (!file) return;
  RunCommand([&] {
    const std::u16string text = LoadTextFile(LocalPath(*file));
    QString content = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    content.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Memo1->setPlainText(content);
  });
}

void TForm1::N10Click() { Memo1->paste(); }

}  // namespace mipofc
