// The window speaks Chinese in Qt's own buttons too: Qt's translation is loaded at start, and the
// message boxes and questions are captioned with the title and answered with 确定, 是 or 否.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "tests/ui/scripted_dialogs.h"

namespace mipofc::test {
namespace {

// The texts of the buttons of the next modal box, then pressed: the one named pressed.
struct TBoxSeen {
  QString Title;
  QStringList Buttons;
};
void AnswerNextBox(TBoxSeen& seen, QMessageBox::StandardButton pressed) {
  QTimer::singleShot(0, [&seen, pressed] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen.Title = box->windowTitle();
    for (QAbstractButton* button : box->buttons()) seen.Buttons << button->text();
    box->button(pressed)->click();
  });
}

TEST(QtChinese, StandardButtonsSpeakChinese) {
  const QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
  // Qt's own file dialog, as the window's open and save dialogs are.
  QFileDialog files;
  files.setOption(QFileDialog::DontUseNativeDialog);
  auto* box = files.findChild<QDialogButtonBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
}

TEST(QtChinese, MessagesHaveTheTitleAndOneOkQuestionsYesAndNo) {
  TQtDialogs dialogs;
  TBoxSeen message;
  AnswerNextBox(message, QMessageBox::Ok);
  dialogs.Message(nullptr, QStringLiteral("标题"), QStringLiteral("生成3个chr文件"));
  EXPECT_EQ(message.Title, QStringLiteral("标题"));
  EXPECT_EQ(message.Buttons, QStringList{QStringLiteral("确定")});

  for (const auto answer : {QMessageBox::Yes, QMessageBox::No}) {
    TBoxSeen question;
    AnswerNextBox(question, answer);
    EXPECT_EQ(dialogs.Ask(nullptr, QStringLiteral("标题"), QStringLiteral("要替换它吗？")), answer == QMessageBox::Yes);
    EXPECT_EQ(question.Title, QStringLiteral("标题"));
    QStringList sorted = question.Buttons;
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{QStringLiteral("否"), QStringLiteral("是")}));
  }
}

}  // namespace
}  // namespace mipofc::test
