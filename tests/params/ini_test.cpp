#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "base/errors.h"
#include "params/ini.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;

TEST(IniRead, IntegersDecimalHexOrTheDefault) {
  struct Case {
    std::string value;
    int read;  // with the default -7
  } cases[] = {
      {"5", 5},           {"  12\t", 12},       {"+7", 7},          {"-2147483648", -2147483648},
      {"0x1F", 31},       {"0X1f", 31},         {"$ff", 255},       {"0x80000008", -2147483640},
      {"$FFFFFFFF", -1},  {"\"42\"", 42},       {"007", 7},         {"2147483648", -7},
      {"0x100000000", -7}, {"12abc", -7},       {"", -7},           {"0x", -7},
      {"$", -7},          {"-", -7},            {"1.5", -7},        {"- 1", -7},
      {"-0x10", -7},      {"１２", -7},
  };
  for (const Case& c : cases) {
    const TIniFile ini("[S]\r\nK=" + c.value + "\r\n");
    EXPECT_EQ(ini.ReadInteger("S", "K", -7), c.read) << '"' << c.value << '"';
  }
}

TEST(IniRead, BooleansAreAnyNonZeroInteger) {
  const TIniFile ini("[S]\nA=2\nB=0\nC=-1\nD=yes\nE=0x0\n");
  EXPECT_TRUE(ini.ReadBool("S", "A", false));
  EXPECT_FALSE(ini.ReadBool("S", "B", true));
  EXPECT_TRUE(ini.ReadBool("S", "C", false));
  EXPECT_TRUE(ini.ReadBool("S", "D", true));
  EXPECT_FALSE(ini.ReadBool("S", "D", false));
  EXPECT_FALSE(ini.ReadBool("S", "E", true));
  EXPECT_TRUE(ini.ReadBool("S", "missing", true));
}

TEST(IniRead, FindsNamesTheWayProfilesDo) {
  const TIniFile ini(
      "K=outside\r\n"
      "[ Other ]\r\nk=other\r\n"
      "; [S]\r\n"
      "[Mixed Case]\r\n  Key Name  =  spaced value  \r\n;Key Name=comment\r\nnoequals\r\nq='quoted '\r\n"
      "[Mixed Case]\r\nlater=1\r\n"
      "[\x81\x41]\r\nk=upper trail\r\n"
      "[\x81\x5D\xC3\xFB]\r\nk=bracket trail\r\n");
  EXPECT_EQ(ini.Value("mixed case", "KEY NAME"), "spaced value");
  EXPECT_EQ(ini.Value("other", "K"), "other");
  EXPECT_EQ(ini.Value("Mixed Case", "q"), "quoted ");
  EXPECT_FALSE(ini.Value("Mixed Case", "later"));  // only the first section of a name counts
  EXPECT_FALSE(ini.Value("Mixed Case", "noequals"));
  EXPECT_FALSE(ini.Value("", "K"));
  // GBK trail bytes compare exactly: 0x41 is "A" but must not match 0x61 "a".
  EXPECT_EQ(ini.Value("\x81\x41", "k"), "upper trail");
  EXPECT_FALSE(ini.Value("\x81\x61", "k"));
  // A "]" trail byte does not end the section name.
  EXPECT_EQ(ini.Value("\x81\x5D\xC3\xFB", "k"), "bracket trail");
}

TEST(IniRead, StringsStopAt2047BytesWithoutSplittingACharacter) {
  const std::string ascii(3000, 'a');
  const std::string gbk = std::string(2046, 'a') + "\xC4\xE3\xC4\xE3";
  const TIniFile ini("[S]\nA=" + ascii + "\nG=" + gbk + "\n");
  EXPECT_EQ(ini.Value("S", "A"), ascii.substr(0, 2047));
  EXPECT_EQ(ini.Value("S", "G"), std::string(2046, 'a'));
  EXPECT_EQ(ini.ReadString("S", "missing", "def"), "def");
}

TEST(IniWrite, UpdatesKeyByKeyAndKeepsEveryOtherByte) {
  struct Case {
    const char* name;
    std::string before;
    std::string section, key, value;
    std::string after;
  } cases[] = {
      {"new file", "", "S", "K", "1", "[S]\r\nK=1\r\n"},
      {"replace in place keeps spacing", "[S]\r\n a = old \r\nb=2\r\n", "s", "A", "new",
       "[S]\r\n a = new\r\nb=2\r\n"},
      {"append to section before its blank lines", "[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n", "S", "c", "3",
       "[S]\r\na=1\r\nc=3\r\n\r\n[T]\r\nb=2\r\n"},
      {"new section at the end, file's LF kept", "[S]\na=1\n", "T", "b", "2", "[S]\na=1\n[T]\nb=2\n"},
      {"last line without a line break", "[S]\r\na=1", "S", "b", "2", "[S]\r\na=1\r\nb=2\r\n"},
      {"lines of other encodings untouched", "\xFF\xFE junk\x80\r\n[S]\r\n\xE4\xBD\xA0=utf8\r\n", "S", "k", "v",
       "\xFF\xFE junk\x80\r\n[S]\r\n\xE4\xBD\xA0=utf8\r\nk=v\r\n"},
      {"blank-edged value quoted", "", "S", "k", " x ", "[S]\r\nk=\" x \"\r\n"},
      {"quoted value quoted again", "", "S", "k", "'q'", "[S]\r\nk=\"'q'\"\r\n"},
      {"empty section header only", "[S]\r\n", "S", "k", "", "[S]\r\nk=\r\n"},
  };
  for (const Case& c : cases) {
    TIniFile ini(c.before);
    ini.WriteString(c.section, c.key, c.value);
    EXPECT_EQ(ini.Bytes(), c.after) << c.name;
    EXPECT_EQ(ini.Value(c.section, c.key), c.value) << c.name;
  }
}

TEST(IniWrite, RefusesNamesAndValuesNoLineCanHold) {
  TIniFile ini("[S]\r\nk=1\r\n");
  const std::string before = ini.Bytes();
  EXPECT_THROW(ini.WriteString("S", "k", "a\r\n[T]"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S", "k", std::string("a\0b", 3)), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S]x", "k", "1"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S\x81", "k", "1"), std::invalid_argument);  // would take the "]"
  EXPECT_THROW(ini.WriteString("S", "k=j", "1"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S", "[k", "1"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S", ";k", "1"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString(" S", "k", "1"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S", "", "1"), std::invalid_argument);
  EXPECT_EQ(ini.Bytes(), before);
  // A GBK name whose trail byte is "]" is fine.
  ini.WriteString("\x81\x5D", "k", "2");
  EXPECT_EQ(ini.Value("\x81\x5D", "k"), "2");
}

class IniFileOnDisk : public testing::Test {
 protected:
  static std::string Read(const fs::path& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
  }
  std::vector<fs::path> Entries() const {
    std::vector<fs::path> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  test::TempDir tmp_;
  fs::path dir_ = tmp_.Path();
};

TEST_F(IniFileOnDisk, SavesAndLoadsBackTheSameBytes) {
  const fs::path path = dir_ / "a.ini";
  EXPECT_EQ(TIniFile::Load(path.string()).Bytes(), "");  // a missing file is an empty one
  std::ofstream(path, std::ios::binary) << "[S]\nold=\xFF\n";
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  TIniFile ini = TIniFile::Load(path.string());
  ini.WriteInteger("S", "n", -3);
  ini.Save(path.string());
  EXPECT_EQ(Read(path), "[S]\nold=\xFF\nn=-3\n");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Entries(), std::vector<fs::path>{"a.ini"});
}

TEST_F(IniFileOnDisk, SavingThroughALinkKeepsTheLinkAndTheFilesMode) {
  std::ofstream(dir_ / "real.ini") << "[S]\n";
  fs::permissions(dir_ / "real.ini", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real.ini", dir_ / "link.ini");
  TIniFile ini;
  ini.WriteString("S", "k", "v");
  ini.Save((dir_ / "link.ini").string());
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.ini"));
  EXPECT_EQ(Read(dir_ / "real.ini"), "[S]\r\nk=v\r\n");
  EXPECT_EQ(fs::status(dir_ / "real.ini").permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(IniFileOnDisk, AFailedSaveChangesNothing) {
  TIniFile ini;
  ini.WriteString("S", "k", "v");
  // Permissions do not stop root, so the failures come from the file system's structure:
  // a folder that is a file, and a target that is a folder.
  std::ofstream(dir_ / "plain") << "keep";
  fs::create_directory(dir_ / "taken");
  std::ofstream(dir_ / "taken" / "inside") << "keep";
  const std::pair<fs::path, const char*> cases[] = {{dir_ / "plain" / "x.ini", "Not a directory"},
                                                    {dir_ / "taken", "Is a directory"}};
  for (const auto& [path, reason] : cases) {
    try {
      ini.Save(path.string());
      ADD_FAILURE() << "saved " << path;
    } catch (const TIniWriteError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + path.string());
      EXPECT_EQ(e.Path(), path.string());
      EXPECT_EQ(EnglishReason(e.Failure()), reason);
    }
  }
  EXPECT_EQ(Read(dir_ / "plain"), "keep");
  EXPECT_EQ(Read(dir_ / "taken" / "inside"), "keep");
  EXPECT_EQ(Entries(), (std::vector<fs::path>{"plain", "taken"}));  // no temporary left behind
}

TEST_F(IniFileOnDisk, AReadOnlyFileIsNotReplaced) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const fs::path path = dir_ / "ro.ini";
  std::ofstream(path) << "[S]\n";
  fs::permissions(path, fs::perms::owner_read);
  EXPECT_THROW(TIniFile("[T]\n").Save(path.string()), TIniWriteError);
  EXPECT_EQ(Read(path), "[S]\n");
}

// Kills a child that saves ini again and again (save(i) for its i-th save) after delayMs.
template <class Save>
void KillSavingChild(int delayMs, Save save) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    try {
      for (int i = 0;; ++i) save(i);
    } catch (...) {
    }
    ::_exit(1);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
}

// Large enough that the writing, not the starting, takes the child's time.
TIniFile LargeIni() {
  std::string text = "[S]\r\n";
  for (int i = 0; i < 400000; ++i) text += "k" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
  return TIniFile(text);
}

TEST_F(IniFileOnDisk, AKilledSaveOfANewFileLeavesTheWholeFileOrNothing) {
  const TIniFile large = LargeIni();
  for (const int delayMs : {5, 20, 60}) {
    const fs::path folder = dir_ / std::to_string(delayMs);
    fs::create_directory(folder);
    KillSavingChild(delayMs, [&](int i) { large.Save((folder / ("p" + std::to_string(i) + ".ini")).string()); });
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(name.size() > 4 && name.substr(name.size() - 4) == ".ini") << delayMs << " ms: " << name;
      EXPECT_EQ(Read(entry.path()), large.Bytes()) << delayMs << " ms: " << name;
    }
  }
}

TEST_F(IniFileOnDisk, AKilledSaveOverAFileLeavesTheOldFileOrTheNewOne) {
  const fs::path path = dir_ / "p.ini";
  const TIniFile small("[S]\r\nk=old\r\n"), large = LargeIni();
  small.Save(path.string());
  for (const int delayMs : {5, 20, 60}) {
    KillSavingChild(delayMs, [&](int) { large.Save(path.string()); });
    const std::string bytes = Read(path);
    EXPECT_TRUE(bytes == small.Bytes() || bytes == large.Bytes()) << delayMs << " ms: " << bytes.size() << " bytes";
    // Replacing needs a name to rename: a kill in the moment between giving the whole new file
    // a temporary name and renaming it leaves that whole file beside, never a part of one.
    for (const fs::path& entry : Entries()) {
      if (entry != "p.ini") {
        EXPECT_EQ(Read(dir_ / entry), large.Bytes()) << delayMs << " ms: " << entry;
      }
    }
  }
}

}  // namespace
}  // namespace mipofc
