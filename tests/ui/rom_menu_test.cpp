// "写入ROM(&R)...": the text's banks in a copy of a ROM's CHR-ROM, byte for byte as
// `mipofc-cli export --rom` writes them; what the start dialog refuses, the question before
// replacing, and ROMs that cannot take banks.
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextEdit>

#include "tests/ui/scripted_dialogs.h"
#include "tests/ui/ui_test_util.h"
#include "tests/ui/window_cli.h"

namespace mipofc::test {
namespace {

// An iNES image: PRG-ROM of prg16 x 16 KB and CHR-ROM of chr8 x 8 KB, each byte from its offset.
QByteArray Rom(int prg16, int chr8, bool trainer = false) {
  QByteArray image("NES\x1A", 4);
  image += static_cast<char>(prg16);
  image += static_cast<char>(chr8);
  image += static_cast<char>(trainer ? 0x04 : 0x00);
  image += QByteArray(9, '\0');
  const qsizetype body = (trainer ? 512 : 0) + prg16 * 16384 + chr8 * 8192;
  for (qsizetype i = 0; i < body; ++i) image += static_cast<char>((i * 7 + i / 251) & 0xFF);
  return image;
}

class RomMenuTest : public FolderWindowTest {
 protected:
  void SetUp() override {
    FolderWindowTest::SetUp();
    // 16x16 cells in 1K banks: 16 characters a bank; 20 characters take two banks, 2 KB.
    Pick(Form->ComboBox4, 0);
    Form->Memo1->setPlainText(QString::fromStdU16String(TestText(20)));
    ASSERT_TRUE(WriteBytes(RomPath, Rom(2, 1, true)));
  }
  QStringList Files() const { return QDir(Dir.path()).entryList(QDir::Files, QDir::Name); }
  QByteArray Expected(int kb) {
    const QString text = Path(QStringLiteral("text.txt"));
    EXPECT_TRUE(WriteBytes(text, Form->Memo1->toPlainText().toUtf8()));
    const QString out = Path(QStringLiteral("cli/out.nes"));
    EXPECT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("cli")));
    EXPECT_EQ(RunCli(QStringList{"export", text, "-q", "-o", Path("cli/banks.chr"), "--rom", RomPath, "--chr-at",
                                 QString::number(kb), "--rom-out", out} +
                     CliSettings(*Form)),
              0);
    return FileBytes(out);
  }

  const QString RomPath = Dir.filePath(QStringLiteral("game.nes"));
};

TEST_F(RomMenuTest, WritesTheBanksWhereChosenAsTheCommandLineToolDoes) {
  const QByteArray original = FileBytes(RomPath);
  Dialogs->Files.push_back(RomPath);
  Dialogs->ChrStarts.push_back(6);
  Dialogs->Files.push_back(Path(QStringLiteral("game_patched.nes")));
  Form->ROM1->trigger();

  ASSERT_EQ(Dialogs->FileAsks.size(), 2u);
  EXPECT_FALSE(Dialogs->FileAsks[0].Saving);
  EXPECT_EQ(Dialogs->FileAsks[0].Filter, QStringLiteral("NES ROM(*.nes);;所有文件(*)"));
  EXPECT_TRUE(Dialogs->FileAsks[1].Saving);
  EXPECT_EQ(Dialogs->FileAsks[1].Filter, QStringLiteral("ROM文件(*.nes);;IPS补丁(*.ips);;BPS补丁(*.bps)"));
  EXPECT_EQ(Dialogs->FileAsks[1].Suffix, QStringLiteral("nes ips bps"));
  // The save dialog starts beside the ROM, under its name + "_patched.nes".
  EXPECT_EQ(Dialogs->FileAsks[1].Folder, Path(QStringLiteral("game_patched.nes")));
  ASSERT_EQ(Dialogs->ChrStartAsks.size(), 1u);
  const TChrStartAsk& ask = Dialogs->ChrStartAsks[0];
  EXPECT_EQ(ask.RomName, QStringLiteral("game.nes"));
  EXPECT_EQ(ask.PrgSize, 32768u);
  EXPECT_EQ(ask.ChrSize, 8192u);
  EXPECT_EQ(ask.BanksSize, 2048u);
  EXPECT_EQ(ask.BankCount, 2);
  EXPECT_TRUE(Dialogs->Questions.empty());
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("已写入CHR 0x1800-0x1FFF（2个库，2 KB）→ game_patched.nes"));

  const QByteArray patched = FileBytes(Path(QStringLiteral("game_patched.nes")));
  EXPECT_EQ(patched, Expected(6));
  // Only that CHR range changed (header 16, trainer 512, PRG 32 KB before CHR-ROM).
  ASSERT_EQ(patched.size(), original.size());
  const qsizetype chr = 16 + 512 + 32768;
  EXPECT_EQ(patched.first(chr + 6144), original.first(chr + 6144));
  EXPECT_NE(patched.mid(chr + 6144), original.mid(chr + 6144));
  EXPECT_EQ(FileBytes(RomPath), original);
  // No bank files: only the ROMs.
  EXPECT_EQ(Files(), (QStringList{"game.nes", "game_patched.nes", "text.txt"}));
}

TEST_F(RomMenuTest, ThePatchTheChosenFilterNamesIsWritten) {
  const QByteArray original = FileBytes(RomPath);
  const struct {
    int filter;
    const char* name;
    const char* flag;
    const char* kind;
  } cases[] = {{1, "game.ips", "--ips", "IPS补丁"}, {2, "game.bps", "--bps", "BPS补丁"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Dialogs->Messages.clear();
    Dialogs->Files = {RomPath, Path(QString::fromLatin1(c.name))};
    Dialogs->ChrStarts = {2};
    Dialogs->FilterChoices = {c.filter};
    Form->ROM1->trigger();
    const QByteArray patch = FileBytes(Path(QString::fromLatin1(c.name)));
    ASSERT_EQ(Dialogs->Messages.size(), 1u);
    EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("已写入CHR 0x0800-0x0FFF（2个库，2 KB）→ ") +
                                               QString::fromUtf8(c.kind) + QStringLiteral(" ") +
                                               QString::fromLatin1(c.name) + QStringLiteral("（%1 字节）").arg(patch.size()));
    // The same patch as the command line's, and no ROM beside it.
    const QString text = Path(QStringLiteral("text.txt"));
    ASSERT_TRUE(WriteBytes(text, Form->Memo1->toPlainText().toUtf8()));
    ASSERT_EQ(RunCli(QStringList{"export", text, "-q", "-o", Path("banks.chr"), "--rom", RomPath, "--chr-at", "2",
                                 QString::fromLatin1(c.flag), Path("cli.patch")} +
                     CliSettings(*Form)),
              0);
    EXPECT_EQ(patch, FileBytes(Path(QStringLiteral("cli.patch"))));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("game_patched.nes"))));
  }
  // A patch named as the source ROM is refused before anything is drawn or asked.
  Dialogs->Messages.clear();
  Dialogs->Files = {RomPath, RomPath};
  Dialogs->ChrStarts = {0};
  Dialogs->FilterChoices = {1};
  Form->ROM1->trigger();
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].second,
            QStringLiteral("“game.nes”就是源ROM：补丁不能写在源ROM上，请给补丁另起一个名字"));
  EXPECT_TRUE(Dialogs->Questions.empty());
  EXPECT_EQ(FileBytes(RomPath), original);
}

TEST_F(RomMenuTest, TheStartDialogRefusesWhatDoesNotFit) {
  Dialogs->Files.push_back(RomPath);
  // 7 KB + 2 KB runs 1 KB past 8 KB of CHR-ROM; 8 KB is past its end; 0 fits.
  Dialogs->ChrStarts = {7, 8, 0};
  Dialogs->Files.push_back(Path(QStringLiteral("out.nes")));
  Form->ROM1->trigger();
  ASSERT_EQ(Dialogs->ChrStartRefusals.size(), 2u);
  EXPECT_EQ(Dialogs->ChrStartRefusals[0].first, 7);
  EXPECT_EQ(Dialogs->ChrStartRefusals[0].second, QStringLiteral("从第 7 KB 起放不下：超出 CHR-ROM（8 KB）1024 字节"));
  EXPECT_EQ(Dialogs->ChrStartRefusals[1].second, QStringLiteral("从第 8 KB 起放不下：超出 CHR-ROM（8 KB）2048 字节"));
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("已写入CHR 0x0000-0x07FF（2个库，2 KB）→ out.nes"));
  EXPECT_EQ(FileBytes(Path(QStringLiteral("out.nes"))), Expected(0));

  // A text whose banks are larger than the whole CHR-ROM fits nowhere; a cancel writes nothing.
  Form->Memo1->setPlainText(QString::fromStdU16String(TestText(16 * 9)));
  Dialogs->Messages.clear();
  Dialogs->Files.push_back(RomPath);
  Dialogs->ChrStarts = {0};
  Form->ROM1->trigger();
  ASSERT_EQ(Dialogs->ChrStartRefusals.size(), 3u);
  EXPECT_EQ(Dialogs->ChrStartRefusals[2].second, QStringLiteral("从第 0 KB 起放不下：超出 CHR-ROM（8 KB）1024 字节"));
  EXPECT_TRUE(Dialogs->Messages.empty());
  EXPECT_EQ(Dialogs->FileAsks.size(), 3u);  // no save dialog after the cancel
}

TEST_F(RomMenuTest, AnExistingNameAsksFirstAndTheSourceCanBeReplaced) {
  const QByteArray original = FileBytes(RomPath);
  // 否 to replacing the source itself: nothing is written.
  Dialogs->Files = {RomPath, RomPath};
  Dialogs->ChrStarts = {2};
  Dialogs->Answers = {false};
  Form->ROM1->trigger();
  ASSERT_EQ(Dialogs->Questions.size(), 1u);
  EXPECT_EQ(Dialogs->Questions[0], QStringLiteral("“game.nes”就是源ROM。要用写入后的ROM替换它吗？"));
  EXPECT_TRUE(Dialogs->Messages.empty());
  EXPECT_EQ(FileBytes(RomPath), original);

  // 是: the source is replaced by the patched ROM.
  const QByteArray expected = Expected(2);
  Dialogs->Files = {RomPath, RomPath};
  Dialogs->ChrStarts = {2};
  Dialogs->Answers = {true};
  Form->ROM1->trigger();
  ASSERT_EQ(Dialogs->Questions.size(), 2u);
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(FileBytes(RomPath), expected);

  // Another file that exists is asked about too.
  const QString other = Path(QStringLiteral("other.nes"));
  ASSERT_TRUE(WriteBytes(other, "keep"));
  Dialogs->Files = {RomPath, other};
  Dialogs->ChrStarts = {0};
  Form->ROM1->trigger();
  ASSERT_EQ(Dialogs->Questions.size(), 3u);
  EXPECT_EQ(Dialogs->Questions[2], QStringLiteral("“other.nes”已存在。要替换它吗？"));
  EXPECT_EQ(FileBytes(other), QByteArray("keep"));
}

TEST_F(RomMenuTest, ALongWriteShowsProgressAndCancelWritesNothing) {
  Form->Memo1->setPlainText(QString::fromStdU16String(TestText(16 * 5)));
  Form->ProgressDelayMs = 0;
  Dialogs->CancelAtUpdate = 2;
  Dialogs->Files = {RomPath, Path(QStringLiteral("out.nes"))};
  Dialogs->ChrStarts = {0};
  Form->ROM1->trigger();
  EXPECT_EQ(Dialogs->ProgressOpened, std::vector<std::int64_t>{5});
  ASSERT_EQ(Dialogs->ProgressUpdates.size(), 2u);
  EXPECT_EQ(Dialogs->ProgressUpdates[1], std::make_pair(std::int64_t{2}, std::int64_t{5}));
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].second, QStringLiteral("已取消：ROM未写入"));
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("out.nes"))));
}

TEST_F(RomMenuTest, BadRomsAreNamedWithTheReasonAndNothingIsWritten) {
  struct Case {
    const char* name;
    QByteArray bytes;
    QString reason;
  };
  QByteArray shortRom = Rom(2, 1);
  shortRom.chop(100);
  const Case cases[] = {
      {"text.nes", QByteArray("hello, world"), QStringLiteral("不是iNES格式的ROM：文件开头不是“NES”和0x1A")},
      {"short.nes", shortRom,
       QStringLiteral("ROM文件比头部所说的短：实有40876字节，头部与32 KB PRG-ROM、8 KB CHR-ROM共需40976字节")},
      {"chrram.nes", Rom(1, 0), QStringLiteral("没有CHR-ROM")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = Path(QString::fromLatin1(c.name));
    ASSERT_TRUE(WriteBytes(path, c.bytes));
    const QStringList before = Files();
    Dialogs->Messages.clear();
    Dialogs->Files = {path, Path(QStringLiteral("out.nes"))};
    Dialogs->ChrStarts = {0};
    Form->ROM1->trigger();
    ASSERT_EQ(Dialogs->Messages.size(), 1u);
    const QString message = Dialogs->Messages[0].second;
    EXPECT_TRUE(message.startsWith(path + QStringLiteral("：") + c.reason)) << message.toStdString();
    EXPECT_TRUE(Dialogs->ChrStartAsks.empty());
    EXPECT_EQ(Files(), before);
    Dialogs->Files.clear();
  }
  // A file that cannot be read at all, and a text with nothing to write.
  Dialogs->Messages.clear();
  Dialogs->Files = {Path(QStringLiteral("missing.nes"))};
  Form->ROM1->trigger();
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_TRUE(Dialogs->Messages[0].second.startsWith(Path(QStringLiteral("missing.nes")) + QStringLiteral("：文件或文件夹不存在")));
  Form->Memo1->clear();
  Dialogs->Files = {RomPath};
  Form->ROM1->trigger();
  ASSERT_EQ(Dialogs->Messages.size(), 2u);
  EXPECT_EQ(Dialogs->Messages[1].second, QStringLiteral("文本为空：没有要写入ROM的库"));

  // The window goes on working.
  Form->Memo1->setPlainText(QStringLiteral("字模"));
  Dialogs->Files = {RomPath, Path(QStringLiteral("ok.nes"))};
  Dialogs->ChrStarts = {0};
  Form->ROM1->trigger();
  ASSERT_EQ(Dialogs->Messages.size(), 3u);
  EXPECT_EQ(Dialogs->Messages[2].second, QStringLiteral("已写入CHR 0x0000-0x03FF（1个库，1 KB）→ ok.nes"));
}

}  // namespace
}  // namespace mipofc::test
