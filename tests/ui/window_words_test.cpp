// Qt's own buttons speak Chinese (its translation is loaded at start), and a message box is
// captioned with the title and has one 确定.
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "tests/ui/scripted_dialogs.h"

namespace mipofc::test {
namespace {

TEST(QtChinese, StandardButtonsAndMessageBoxesSpeakChinese) {
  const QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));

  QString title;
  QStringList texts;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    title = box->windowTitle();
    for (QAbstractButton* button : box->buttons()) texts << button->text();
    box->button(QMessageBox::Ok)->click();
  });
  TQtDialogs().Message(nullptr, QStringLiteral("标题"), QStringLiteral("生成3个chr文件"));
  EXPECT_EQ(title, QStringLiteral("标题"));
  EXPECT_EQ(texts, QStringList{QStringLiteral("确定")});
}

}  // namespace
}  // namespace mipofc::test
