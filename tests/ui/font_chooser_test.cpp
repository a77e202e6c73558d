// The program's own font dialog "FontDialog1": it opens on the face the font really draws with,
// lists the rule families (宋体 ...) first, and OK without a change leaves everything as it was.
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "ui/font_chooser.h"
#include "ui/widgets.h"

namespace mipofc::test {
namespace {

class FontChooserTest : public FolderWindowTest {
 protected:
  void SetUp() override {
    FolderWindowTest::SetUp();
    Dialogs->OwnFontDialog = true;
    Form->Memo1->setPlainText(QStringLiteral("《感遇・其一》兰叶春葳蕤，桂华秋皎洁。"));
  }
  // Opens the font dialog from the font button; act runs on the dialog, then OK is pressed.
  void ChooseAndOk(const std::function<void(TFontChooser&)>& act) {
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TFontChooser*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->objectName(), QStringLiteral("FontDialog1"));
      act(*dialog);
      dialog->Buttons->button(QDialogButtonBox::Ok)->click();
    });
    Form->BfFont->click();
  }
  // Every bank of the text, as 输出CHR writes them.
  QByteArray Banks(const QString& name) {
    Dialogs->Files.push_back(Path(name + QStringLiteral(".chr")));
    Form->CHR1Click();
    return FileBytes(Path(name + QStringLiteral(".00.chr"))) + FileBytes(Path(name + QStringLiteral(".01.chr")));
  }
};

TEST_F(FontChooserTest, OkWithoutAChangeLeavesTheFontTheButtonAndEveryBank) {
  TFont hei;
  hei.Name = "黑体";
  hei.SetSize(14);
  hei.Bold = true;
  const std::pair<TFont, QString> cases[] = {{TFont(), QStringLiteral("WenQuanYi Zen Hei Sharp")},
                                             {hei, QStringLiteral("WenQuanYi Zen Hei")},
                                             {UiTestFont(), QStringLiteral("Mipo Test")}};
  for (const auto& [font, drawnWith] : cases) {
    SCOPED_TRACE(drawnWith.toStdString());
    Form->FontDialog1Font = font;
    Form->ApplyChosenFont();
    const TFont before = Form->BfFontFont;
    const QString caption = Form->BfFont->text(), tip = Form->BfFont->toolTip();
    const QByteArray banks = Banks(QStringLiteral("before"));
    ChooseAndOk([&](TFontChooser& dialog) {
      EXPECT_EQ(dialog.ListFamily->currentItem()->text(), drawnWith);
      EXPECT_EQ(dialog.ListSize->currentItem()->text(), QString::number(before.Size));
      EXPECT_EQ(dialog.ListStyle->currentRow(), before.Bold ? 2 : 0);
    });
    EXPECT_TRUE(Form->BfFontFont.SameFace(before));
    EXPECT_EQ(Form->BfFont->text(), caption);
    EXPECT_EQ(Form->BfFont->toolTip(), tip);
    EXPECT_FALSE(banks.isEmpty());
    EXPECT_EQ(Banks(QStringLiteral("after")), banks);
  }
}

TEST_F(FontChooserTest, TheRuleFamiliesComeFirstSoTheDefaultCanBeChosenAgain) {
  Form->FontDialog1Font.Name = "黑体";
  Form->ApplyChosenFont();
  ChooseAndOk([](TFontChooser& dialog) {
    const std::vector<std::string> rules = RuleFamilyNames();
    for (std::size_t i = 0; i < rules.size(); ++i)
      EXPECT_EQ(dialog.ListFamily->item(static_cast<int>(i))->text().toStdString(), rules[i]);
    dialog.ListFamily->setCurrentRow(0);
    dialog.ListStyle->setCurrentRow(1);  // 倾斜
  });
  EXPECT_EQ(Form->BfFontFont.Name, "宋体");
  EXPECT_TRUE(Form->BfFontFont.Italic && !Form->BfFontFont.Bold);
  EXPECT_EQ(Form->BfFont->text(), QStringLiteral("宋体"));
}

}  // namespace
}  // namespace mipofc::test
