// Start-up titles, "帮助(&H)" / "关于(&A)" and "退出(&X)".
#include <QApplication>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/ui/scripted_dialogs.h"
#include "ui/about_box.h"

namespace mipofc::test {
namespace {

using AboutTest = WindowTest;

// A click as the window system delivers it, so that a modal box can stop it.
void ClickThroughWindow(QWidget* button) {
  QWidget* top = button->window();
  QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, button->mapTo(top, button->rect().center()));
}

TEST(AboutBox, ShowsNameVersionPictureAndADefaultOkButton) {
  TAboutBox box;
  EXPECT_FALSE(box.isVisible());
  EXPECT_TRUE(box.isModal());
  EXPECT_EQ(box.windowTitle(), QStringLiteral("关于"));
  EXPECT_EQ(box.ProductName->text(), QStringLiteral("MipoFC字模工具"));
  EXPECT_EQ(box.Version->text(), QStringLiteral("Version 3.2 UNICODE"));
  EXPECT_EQ(box.OKButton->text(), QStringLiteral("OK"));
  EXPECT_TRUE(box.OKButton->isDefault());
  EXPECT_EQ(box.size(), QSize(347, 213));

  // The picture is a JPEG, decoded through the image plugins.
  QImageReader reader(QString::fromLatin1(AboutPicturePath));
  EXPECT_EQ(reader.format(), QByteArray("jpeg"));
  const QPixmap shown = box.ProgramIcon->pixmap();
  ASSERT_FALSE(shown.isNull());
  EXPECT_EQ(shown.size(), reader.size());
}

TEST_F(AboutTest, WindowTakesTheApplicationTitleWithTheVersion) {
  EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Tolvar-MipoFC字模工具 V3.2 UNICODE"));
}

TEST_F(AboutTest, AboutBlocksTheMainWindowUntilOkAndChangesNothing) {
  Form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  Form->OptionsChanged = false;
  bool wasModal = false;
  QString title;
  QTimer::singleShot(0, Form.get(), [&] {
    QWidget* modal = QApplication::activeModalWidget();
    wasModal = modal != nullptr && modal == Form->AboutBox;
    if (Form->AboutBox) title = Form->AboutBox->windowTitle();
    // A click on the main window does not reach it while the box is open.
    ClickThroughWindow(Form->Bu);
    if (Form->AboutBox) QTest::keyClick(Form->AboutBox, Qt::Key_Return);  // the default button
  });
  // Should the box not close, do not hang the run.
  QTimer::singleShot(5000, Form.get(), [&] {
    if (Form->AboutBox) Form->AboutBox->reject();
  });
  Form->N16Click();
  EXPECT_TRUE(wasModal);
  EXPECT_EQ(title, QStringLiteral("关于"));
  ASSERT_NE(Form->AboutBox, nullptr);
  EXPECT_EQ(Form->AboutBox->result(), QDialog::Accepted);
  EXPECT_FALSE(Form->AboutBox->isVisible());
  EXPECT_EQ(Form->PosY, 0);
  EXPECT_FALSE(Form->OptionsChanged);

  // Once it is closed the same click does reach the window.
  ClickThroughWindow(Form->Bu);
  EXPECT_EQ(Form->PosY, -1);
}

TEST_F(AboutTest, ExitClosesTheWindow) {
  Form->show();
  ASSERT_TRUE(Form->isVisible());
  Form->N6Click();
  EXPECT_FALSE(Form->isVisible());
  EXPECT_TRUE(Dialogs->Messages.empty());
}

}  // namespace
}  // namespace mipofc::test
