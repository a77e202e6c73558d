// The program's own font dialog "FontDialog1": it opens on the face the font really draws with,
// lists the rule families (宋体 ...) first, and OK without a change leaves everything as it was.
#include <QCheckBox>
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

// Scripted dialogs, except that the font dialog is the program's own.
class TOwnFontDialogs : public TScriptedDialogs {
 public:
  std::optional<TFont> ChooseFont(QWidget* parent, const TFont& initial) override {
    return TDialogs::ChooseFont(parent, initial);
  }
};

class FontChooserTest : public FolderWindowTest {
 protected:
  void SetUp() override {
    auto dialogs = std::make_unique<TOwnFontDialogs>();
    Dialogs = dialogs.get();
    Form = std::make_unique<TForm1>(std::move(dialogs));
    Form->Timer1->stop();
    ASSERT_TRUE(Dir.isValid());
    Form->UseExeFolder(Dir.path());
    Form->Memo1->setPlainText(QStringLiteral("《感遇・其一》兰叶春葳蕤，桂华秋皎洁。欣欣此生意，自尔为佳节。"));
  }
  // Opens the font dialog from the font button; act runs on the dialog once it shows.
  void WithDialog(const std::function<void(TFontChooser&)>& act) {
    bool shown = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TFontChooser*>(QApplication::activeModalWidget());
      if (!dialog) return;
      shown = true;
      act(*dialog);
    });
    Form->BfFont->click();
    EXPECT_TRUE(shown);
  }
  // Every bank of the text as 输出CHR writes it, in one stream.
  QByteArray Banks(const QString& name) {
    Dialogs->Files.push_back(Path(name + QStringLiteral(".chr")));
    Form->CHR1Click();
    QByteArray all;
    for (const QString& file : QDir(Dir.path()).entryList({name + QStringLiteral(".*.chr")}, QDir::Files, QDir::Name))
      all += FileBytes(Path(file));
    return all;
  }
};

TEST_F(FontChooserTest, OkWithoutAChangeLeavesTheFontTheButtonAndEveryBank) {
  struct Case {
    const char* what;
    TFont font;
    QString drawnWith;
  };
  TFont hei;
  hei.Name = "黑体";
  hei.SetSize(14);
  hei.Bold = true;
  const Case cases[] = {{"宋体", TFont(), QStringLiteral("WenQuanYi Zen Hei Sharp")},
                        {"黑体 bold 14", hei, QStringLiteral("WenQuanYi Zen Hei")},
                        {"a font file", UiTestFont(), QStringLiteral("Mipo Test")}};
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Form->FontDialog1Font = c.font;
    Form->ApplyChosenFont();
    const TFont before = Form->BfFontFont;
    const QString caption = Form->BfFont->text(), tip = Form->BfFont->toolTip();
    const QByteArray banks = Banks(QStringLiteral("before%1").arg(round));
    WithDialog([&](TFontChooser& dialog) {
      EXPECT_EQ(dialog.objectName(), QStringLiteral("FontDialog1"));
      EXPECT_EQ(dialog.ListFamily->currentItem()->text(), c.drawnWith);
      EXPECT_EQ(dialog.ListSize->currentItem()->text(), QString::number(before.Size));
      EXPECT_EQ(dialog.ListStyle->currentRow(), int{before.Italic} + 2 * int{before.Bold});
      EXPECT_EQ(dialog.ListFamily->item(0)->text(), QStringLiteral("宋体"));
      dialog.Buttons->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_TRUE(Form->BfFontFont.SameFace(before));
    EXPECT_EQ(Form->BfFontFont.Name, before.Name);
    EXPECT_EQ(Form->BfFontFont.File, before.File);
    EXPECT_EQ(Form->BfFont->text(), caption);
    EXPECT_EQ(Form->BfFont->toolTip(), tip);
    EXPECT_FALSE(banks.isEmpty());
    EXPECT_EQ(Banks(QStringLiteral("after%1").arg(round)), banks);
    ++round;
  }
}

TEST_F(FontChooserTest, TheRuleFamiliesComeFirstAndAreChosenByName) {
  Form->FontDialog1Font.Name = "黑体";
  Form->ApplyChosenFont();
  WithDialog([](TFontChooser& dialog) {
    const std::vector<std::string> rules = RuleFamilyNames();
    for (std::size_t i = 0; i < rules.size(); ++i)
      EXPECT_EQ(dialog.ListFamily->item(static_cast<int>(i))->text().toStdString(), rules[i]);
    dialog.ListFamily->setCurrentRow(0);
    dialog.ListStyle->setCurrentRow(3);  // 粗偏斜体
    dialog.ListSize->setCurrentItem(dialog.ListSize->findItems(QStringLiteral("12"), Qt::MatchExactly).value(0));
    dialog.CheckUnderline->setChecked(true);
    EXPECT_EQ(dialog.LFace->text(), QStringLiteral("显示字体：WenQuanYi Zen Hei Sharp"));
    dialog.Buttons->button(QDialogButtonBox::Ok)->click();
  });
  EXPECT_EQ(Form->BfFontFont.Name, "宋体");
  EXPECT_TRUE(Form->BfFontFont.Bold && Form->BfFontFont.Italic && Form->BfFontFont.Underline);
  EXPECT_FALSE(Form->BfFontFont.StrikeOut);
  EXPECT_EQ(Form->BfFontFont.Size, 12);
  EXPECT_EQ(Form->TBs->value(), 12);
  EXPECT_EQ(Form->BfFont->text(), QStringLiteral("宋体"));
  // 取消 changes nothing.
  const TFont chosen = Form->BfFontFont;
  WithDialog([](TFontChooser& dialog) {
    dialog.ListFamily->setCurrentRow(dialog.ListFamily->count() - 1);
    dialog.Buttons->button(QDialogButtonBox::Cancel)->click();
  });
  EXPECT_TRUE(Form->BfFontFont.SameFace(chosen));
}

}  // namespace
}  // namespace mipofc::test
