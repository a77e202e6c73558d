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
  const QString name = QStringLiteral("WenQuanYi Zen Hei Sharp");
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(9);
  for (const int height : {75, 20}) {  // room for every line; for one
    const TCaptionLayout layout = LayOutCaption(name, font, 51, height);
    const QFontMetrics metrics(layout.Font);
    EXPECT_EQ(layout.Elided, height == 20);
    for (const QString& line : layout.Lines) EXPECT_LE(metrics.horizontalAdvance(line), 51) << line.toStdString();
    // Whole words, then the ellipsis when some are left out.
    QString shown = layout.Lines.join(QLatin1Char(' '));
    if (layout.Elided && shown.endsWith(QChar(0x2026))) shown = shown.chopped(1) + QLatin1Char(' ');
    EXPECT_TRUE(height == 20 ? name.startsWith(shown) && shown.size() < name.size() : shown == name)
        << shown.toStdString();
  }
}

TEST_F(WindowTest, CellSizeDropDownShowsItsLongestItemWhole) {
  const QAbstractItemView* view = Form->ComboBox1->view();
  for (int i = 0; i < Form->ComboBox1->count(); ++i)
    EXPECT_GE(view->minimumWidth(), view->fontMetrics().horizontalAdvance(Form->ComboBox1->itemText(i)) + 8) << i;
}

using ExportFolderTest = FolderWindowTest;

TEST_F(ExportFolderTest, SaveDialogStartsAtTheLastExportElseTheTextElseHome) {
  ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("text")) && QDir(Dir.path()).mkpath(QStringLiteral("out")));
  ASSERT_TRUE(WriteUtf8(Path("text/poem.txt"), u"你们大家好"));
  const struct {
    void (TForm1::*command)();
    std::optional<QString> chosen;
    QString folder;
  } steps[] = {
      {&TForm1::CHR1Click, std::nullopt, QDir::homePath()},       // nothing yet
      {&TForm1::N22Click, std::nullopt, QString()},               // (loads the text below)
      {&TForm1::CHR1Click, Path("out/a.chr"), Path("text")},      // the text's folder
      {&TForm1::PNG1Click, std::nullopt, Path("out")},            // the last export's
      {&TForm1::CHR1Click, std::nullopt, Path("out/a.chr")},      // with this kind's last name
  };
  for (const auto& step : steps) {
    if (step.folder.isEmpty()) {
      Form->LoadTextFiles({Path("text/poem.txt")});
      continue;
    }
    Dialogs->Files.push_back(step.chosen);
    (Form.get()->*step.command)();
    EXPECT_EQ(Dialogs->FileAsks.back().Folder, step.folder);
  }
}

}  // namespace
}  // namespace mipofc::test
