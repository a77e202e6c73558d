// mipofc-cli export on a terminal: the progress line after 0.5 s, nothing when standard error is
// no terminal or with -q, and Ctrl-C stopping after whole files with exit status 130.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "jobs/export.h"
#include "tests/test_util.h"

namespace mipofc {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Every ideograph three times at 32 x 32 in 1K banks: 15,677 files, far more than a test waits for.
constexpr std::int64_t LongFiles = (20902 * 3 + 3) / 4;

std::string Utf8(const std::u16string& text) {
  std::string bytes;
  for (const char16_t c : text) {
    // The text holds no surrogates: every character is one BMP code point.
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else if (c < 0x800) {
      bytes += static_cast<char>(0xC0 | (c >> 6));
      bytes += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      bytes += static_cast<char>(0xE0 | (c >> 12));
      bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return bytes;
}

class CliProgressTest : public testing::Test {
 protected:
  void SetUp() override {
    std::u16string text;
    for (int round = 0; round < 3; ++round)
      for (char16_t c = 0x4E00; c <= 0x9FA5; ++c) text += c;
    std::ofstream(dir_ / "long.txt", std::ios::binary) << Utf8(text);
    std::ofstream(dir_ / "short.txt", std::ios::binary) << "short text";
    fs::create_directory(dir_ / "out");
  }
  void TearDown() override {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) ::close(master_);
  }

  // Starts mipofc-cli export of input into out/font.chr with its standard error on a terminal
  // (whose other end is read by Output) or into the file "stderr".
  void Start(const std::string& input, bool terminal, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {MIPOFC_CLI, "export", dir_ / input, "-o", dir_ / "out/font.chr",
                                     "--cell",   "32x32",  "--size",     "28", "--limit",
                                     "1K"};
    args.insert(args.end(), extra.begin(), extra.end());
    int slave = -1;
    if (terminal) {
      ASSERT_EQ(::openpty(&master_, &slave, nullptr, nullptr, nullptr), 0);
    }
    const int err = terminal ? slave : ::open((dir_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int out = ::open((dir_ / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(err, 0);
    ASSERT_GE(out, 0);
    pid_ = ::fork();
    ASSERT_GE(pid_, 0);
    if (pid_ == 0) {
      // Under the leak checker, its summary of suppressions would join what the tool prints.
      const char* lsan = std::getenv("LSAN_OPTIONS");
      const std::string options = std::string(lsan ? lsan : "") + ":print_suppressions=0";
      ::setenv("LSAN_OPTIONS", options.c_str(), 1);
      ::dup2(out, STDOUT_FILENO);
      ::dup2(err, STDERR_FILENO);
      if (master_ >= 0) ::close(master_);
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(err);
    ::close(out);
  }
  // Reads the terminal until done(output) or the time is up.
  template <class Done>
  void ReadTerminal(Done done, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    char buffer[4096];
    while (!done(terminal_) && std::chrono::steady_clock::now() < end) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) break;  // the program ended and closed the terminal
      terminal_.append(buffer, static_cast<std::size_t>(n));
    }
  }
  // Sends Ctrl-C's signal and waits: the exit status, or -1 when it did not exit.
  int Interrupt() {
    ::kill(pid_, SIGINT);
    return Wait();
  }
  int Wait() {
    int status = 0;
    if (master_ >= 0) ReadTerminal([](const std::string&) { return false; }, 60s);
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_ / "out")) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The files of an export stopped after count of them: exactly the first count, each whole.
  void ExpectWholeFirstFiles(std::size_t count) const {
    std::vector<std::string> expected;
    for (std::size_t n = 0; n < count; ++n)
      expected.push_back(ExportFileName("font", static_cast<std::int64_t>(n), 4, TBankFormat::Chr));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Files(), expected);
    for (const auto& name : expected) EXPECT_EQ(fs::file_size(dir_.Path() / "out" / name), 1024u) << name;
  }

  test::TempDir dir_;
  pid_t pid_ = -1;
  int master_ = -1;
  std::string terminal_;
};

// The count of "mipofc-cli: interrupted; wrote N file(s)" in message; -1 when it is not there.
std::size_t Wrote(const std::string& message) {
  static const std::string lead = "mipofc-cli: interrupted; wrote ";
  const std::size_t at = message.find(lead);
  unsigned long count = 0;
  int used = 0;
  if (at == std::string::npos ||
      std::sscanf(message.c_str() + at + lead.size(), "%lu file(s)%n", &count, &used) != 1 || used == 0)
    return static_cast<std::size_t>(-1);
  return count;
}

// One update of the progress line: "W/T files  P%  R chars/s" and the clearing escape.
struct TUpdate {
  long long written = -1, total = -1, rate = -1;
  int percent = -1;
};
bool ParseUpdate(const std::string& part, TUpdate& u) {
  int used = 0;
  if (std::sscanf(part.c_str(), "%lld/%lld files %d%% %lld chars/s%n", &u.written, &u.total, &u.percent,
                  &u.rate, &used) != 4)
    return false;
  return part.substr(static_cast<std::size_t>(used)) == "\x1b[K";
}

TEST_F(CliProgressTest, OnATerminalOneLineIsRewrittenInPlaceAndCtrlCStopsAfterWholeFiles) {
  Start("long.txt", true);
  ReadTerminal([](const std::string& out) { return std::count(out.begin(), out.end(), '\r') >= 3; }, 60s);
  ASSERT_EQ(Interrupt(), 130) << terminal_;

  // The line: updates each starting with a carriage return, then one line end, then the message.
  const std::size_t end = terminal_.find('\n');
  ASSERT_NE(end, std::string::npos) << terminal_;
  std::string line = terminal_.substr(0, end);
  if (!line.empty() && line.back() == '\r') line.pop_back();  // the terminal's own CR before LF
  ASSERT_FALSE(line.empty());
  ASSERT_EQ(line[0], '\r');
  std::size_t updates = 0;
  long long last = -1;
  for (std::size_t at = 1; at <= line.size();) {
    const std::size_t next = std::min(line.find('\r', at), line.size());
    const std::string part = line.substr(at, next - at);
    TUpdate u;
    ASSERT_TRUE(ParseUpdate(part, u)) << part;
    EXPECT_EQ(u.total, LongFiles);
    EXPECT_EQ(u.percent, u.written * 100 / LongFiles);
    EXPECT_GE(u.written, last);
    EXPECT_GE(u.rate, 0);
    last = u.written;
    ++updates;
    at = next + 1;
  }
  EXPECT_GE(updates, 3u);
  const std::size_t wrote = Wrote(terminal_.substr(end));
  ASSERT_NE(wrote, static_cast<std::size_t>(-1)) << terminal_;
  EXPECT_EQ(static_cast<long long>(wrote), last);  // the line ends on the final count
  EXPECT_LT(static_cast<long long>(wrote), LongFiles);
  ExpectWholeFirstFiles(wrote);
}

TEST_F(CliProgressTest, NoLineWhenStandardErrorIsNoTerminalYetCtrlCStillStops) {
  Start("long.txt", false);
  // Past the half second, with files on disk.
  const auto until = std::chrono::steady_clock::now() + 60s;
  std::this_thread::sleep_for(800ms);
  while (Files().empty() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(20ms);
  ASSERT_EQ(Interrupt(), 130);
  const std::string err = test::ReadFile(dir_ / "stderr");
  const std::size_t wrote = Wrote(err);
  ASSERT_NE(wrote, static_cast<std::size_t>(-1)) << err;
  EXPECT_EQ(err, "mipofc-cli: interrupted; wrote " + std::to_string(wrote) + " file(s)\n");
  EXPECT_GT(wrote, 0u);
  ExpectWholeFirstFiles(wrote);
  // The files written are named on standard output, as always.
  const std::string out = test::ReadFile(dir_ / "stdout");
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), static_cast<long>(wrote));
}

TEST_F(CliProgressTest, QuietShowsNoLineOnATerminal) {
  Start("long.txt", true, {"-q"});
  ReadTerminal([](const std::string&) { return false; }, 1s);
  ASSERT_EQ(Interrupt(), 130);
  EXPECT_EQ(terminal_.find("files"), std::string::npos) << terminal_;
  EXPECT_EQ(terminal_.find('\r'), terminal_.find("\r\n")) << "only the terminal's own line end";
  EXPECT_NE(Wrote(terminal_), static_cast<std::size_t>(-1)) << terminal_;
  EXPECT_TRUE(test::ReadFile(dir_ / "stdout").empty());
}

TEST_F(CliProgressTest, AShortExportShowsNoLine) {
  Start("short.txt", true);
  EXPECT_EQ(Wait(), 0);
  EXPECT_EQ(terminal_, "");
  EXPECT_EQ(Files().size(), 3u);
}

}  // namespace
}  // namespace mipofc
