// "按场景分库(&S)...": its dialog, then the scenes' banks, tables, map and encoded script as the
// command-line tool writes them; a scene that cannot fit writes nothing; 字符统计 gives the plan.
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>

#include "params/param_file.h"
#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "tests/ui/window_cli.h"
#include "ui/scene_dialog.h"

namespace mipofc::test {
namespace {


// Scenes of 3..25 characters drawn from 100, parted by blank lines.
QString SceneScript(int scenes) {
  QString text;
  unsigned x = 7;
  for (int s = 0; s < scenes; ++s) {
    const int length = 3 + static_cast<int>((x = x * 1103515245u + 12345u) >> 16) % 23;
    for (int k = 0; k < length; ++k) {
      x = x * 1103515245u + 12345u;
      text += QChar(0x4E00 + static_cast<int>((x >> 16) % 100));
      if (k % 10 == 9) text += QLatin1Char('\n');
    }
    text += QStringLiteral("\n\n");
  }
  return text;
}

class ScenesMenuTest : public FolderWindowTest {
 protected:
  void SetUp() override {
    FolderWindowTest::SetUp();
    Form->Memo1->setPlainText(SceneScript(40));
    Pick(Form->ComboBox4, 1);  // 2K banks: 32 characters, several banks
    ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("out")));
    ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("cli")));
  }
};

TEST(SceneDialog, ControlsAndTheChoiceTheyMake) {
  TSceneDialog dialog(nullptr, {});
  EXPECT_EQ(dialog.objectName(), QStringLiteral("FormScenes"));
  QStringList modes;
  for (int i = 0; i < dialog.ComboSceneMode->count(); ++i) modes << dialog.ComboSceneMode->itemText(i);
  EXPECT_EQ(modes, (QStringList{"空行分隔", "每行一个场景", "标记行分隔"}));
  EXPECT_EQ(dialog.SpinFixedBanks->minimum(), 0);
  EXPECT_EQ(dialog.SpinFixedBanks->maximum(), 4);
  EXPECT_FALSE(dialog.EditMarker->isEnabled());
  const TSceneValues choice{2, "----", 3, "FE", "FFFF"};
  TSceneDialog shown(nullptr, choice);
  EXPECT_EQ(shown.Choice(), choice);
  EXPECT_TRUE(shown.EditMarker->isEnabled());
  // Marker lines need a marker, and a code is whole bytes of hex.
  QPushButton* ok = shown.Buttons->button(QDialogButtonBox::Ok);
  EXPECT_TRUE(ok->isEnabled());
  shown.EditMarker->clear();
  EXPECT_FALSE(ok->isEnabled());
  shown.ComboSceneMode->setCurrentIndex(1);
  EXPECT_TRUE(ok->isEnabled());
  shown.EditEndCode->setText(QStringLiteral("FFF"));
  EXPECT_FALSE(ok->isEnabled());
}

TEST_F(ScenesMenuTest, WritesWhatTheCommandLineToolWritesAndKeepsTheChoice) {
  const TSceneValues choice{0, "", 1, "FE", "FF"};
  Dialogs->SceneChoices.push_back(choice);
  Dialogs->Files.push_back(Path("out/game.chr"));
  Form->SCN1Click();
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  QString errors;
  ASSERT_EQ(RunCli(QStringList{"export", TextFile(), "-q", "-o", Path("cli/game.chr"), "--scenes", "blank",
                               "--fixed-banks", "1", "--newline-code", "FE", "--end-code", "FF", "--table",
                               Path("cli/game.tbl"), "--encode", Path("cli/game.bin"), "--scene-map",
                               Path("cli/game.csv")} +
                   CliSettings(*Form), &errors),
            0) << errors.toStdString();
  const QStringList written = FileNames(Path("out"));
  ASSERT_EQ(written, FileNames(Path("cli")));
  for (const QString& name : written)
    EXPECT_EQ(FileBytes(Path("out/" + name)), FileBytes(Path("cli/" + name))) << name.toStdString();
  const int banks = static_cast<int>(written.filter(QStringLiteral(".chr")).size());
  EXPECT_GT(banks, 2);
  EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("生成%1个chr文件，40个场景").arg(banks));

  // The choice is offered again, kept in the parameter file, and 字符统计 plans with it.
  Dialogs->SceneChoices.push_back(std::nullopt);
  Form->SCN1Click();
  ASSERT_EQ(Dialogs->SceneChoicesOffered.size(), 2u);
  EXPECT_EQ(Dialogs->SceneChoicesOffered[1], choice);
  const std::string params = (Dir.path() + QStringLiteral("/p.ini")).toStdString();
  SaveParamFile(params, Form->ReadOptions());
  TOptionValues loaded;
  LoadParamFile(params, loaded);
  EXPECT_EQ(loaded.Scenes, choice);
  Form->N12->trigger();
  EXPECT_TRUE(Dialogs->Messages.back().second.endsWith(
      QStringLiteral("\n场景：40个，固定库1个，切换库%1个").arg(banks - 1)))
      << Dialogs->Messages.back().second.toStdString();
}

TEST_F(ScenesMenuTest, ASceneThatCannotFitIsNamedAndNothingIsWritten) {
  Pick(Form->ComboBox4, 0);  // 1K banks: 16 characters
  Dialogs->SceneChoices.push_back(TSceneValues{1, "", 0, "", ""});
  Dialogs->Files.push_back(Path("out/game.chr"));
  Form->Memo1->setPlainText(QStringLiteral("甲\n一二三四五六七八九十百千万亿兆京垓\n乙"));
  Form->SCN1Click();
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_TRUE(Dialogs->Messages[0].second.startsWith(
      QStringLiteral("场景1（第2-2行）：固定库以外有17个字，一个库只放16个字")))
      << Dialogs->Messages[0].second.toStdString();
  EXPECT_TRUE(FileNames(Path("out")).isEmpty());
}

}  // namespace
}  // namespace mipofc::test
