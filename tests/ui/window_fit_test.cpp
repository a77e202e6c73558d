// What fits where: the font button's caption, the cell-size list's drop-down, and the folder an
// export's save dialog starts in.
#include <QAbstractItemView>
#include <QDir>
#include <QFontMetrics>

#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "ui/widgets.h"

namespace mipofc::test {
namespace {

TEST(CaptionLayout, BreaksBetweenWordsOnlyAndElidesAtTheEnd) {
  struct Case {
    QString caption;
    int width, height;
    bool elided;
  };
  const Case cases[] = {
      {QStringLiteral("宋体"), 51, 75, false},
      {QStringLiteral("WenQuanYi Zen Hei Sharp"), 51, 75, false},
      {QStringLiteral("WenQuanYi Bitmap Song"), 51, 75, false},
      {QStringLiteral("WenQuanYi Zen Hei Sharp"), 51, 20, true},
      {QStringLiteral("Noto Sans CJK SC Regular Extra Long Family Name"), 51, 40, true},
  };
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(9);
  const QString ellipsis(QChar(0x2026));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption.toStdString() + " in " + std::to_string(c.height));
    const TCaptionLayout layout = LayOutCaption(c.caption, font, c.width, c.height);
    const QFontMetrics metrics(layout.Font);
    EXPECT_EQ(layout.Elided, c.elided);
    EXPECT_LE(layout.Lines.size() * metrics.lineSpacing(), std::max(c.height, metrics.lineSpacing()));
    QString shown = layout.Lines.join(QLatin1Char(' '));
    for (const QString& line : layout.Lines) EXPECT_LE(metrics.horizontalAdvance(line), c.width) << line.toStdString();
    if (c.elided) {
      // Whole words, then the ellipsis: the shown words are the caption's first ones.
      ASSERT_TRUE(shown.endsWith(ellipsis)) << shown.toStdString();
      shown.chop(1);
      EXPECT_TRUE(c.caption.startsWith(shown.trimmed() + QLatin1Char(' '))) << shown.toStdString();
    } else {
      EXPECT_EQ(shown, c.caption);
    }
  }
}

TEST_F(WindowTest, CellSizeDropDownShowsItsLongestItemWhole) {
  const QAbstractItemView* view = Form->ComboBox1->view();
  for (int i = 0; i < Form->ComboBox1->count(); ++i)
    EXPECT_GE(view->minimumWidth(), view->fontMetrics().horizontalAdvance(Form->ComboBox1->itemText(i)) + 8)
        << Form->ComboBox1->itemText(i).toStdString();
}

using ExportFolderTest = FolderWindowTest;

TEST_F(ExportFolderTest, SaveDialogStartsAtTheLastExportElseTheTextElseHome) {
  ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("text")) && QDir(Dir.path()).mkpath(QStringLiteral("out")));
  const QString text = Path(QStringLiteral("text/poem.txt"));
  ASSERT_TRUE(WriteUtf8(text, u"你们大家好"));
  struct Step {
    const char* what;
    std::function<void()> before;
    void (TForm1::*command)();
    std::optional<QString> chosen;
    QString folder;
  };
  const Step steps[] = {
      {"nothing yet", [] {}, &TForm1::CHR1Click, std::nullopt, QDir::homePath()},
      {"a text loaded", [&] { Form->LoadTextFiles({text}); }, &TForm1::CHR1Click, Path("out/a.chr"), Path("text")},
      {"after an export", [] {}, &TForm1::PNG1Click, std::nullopt, Path("out")},
      {"same kind again", [] {}, &TForm1::CHR1Click, std::nullopt, Path("out/a.chr")},
      {"a BDF font after", [] {}, &TForm1::BDF1Click, std::nullopt, Path("out")},
  };
  for (const Step& step : steps) {
    step.before();
    Dialogs->Files.push_back(step.chosen);
    (Form.get()->*step.command)();
    ASSERT_FALSE(Dialogs->FileAsks.empty());
    EXPECT_EQ(Dialogs->FileAsks.back().Folder, step.folder) << step.what;
  }
  // A font file's folder is no export's.
  Dialogs->Files.push_back(QStringLiteral(MIPOFC_UI_TEST_FONT));
  Form->N21->trigger();
  Dialogs->Files.push_back(std::nullopt);
  Form->ASMS1Click();
  EXPECT_EQ(Dialogs->FileAsks.back().Folder, Path("out"));
}

}  // namespace
}  // namespace mipofc::test
