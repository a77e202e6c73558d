// The two text boxes of examples/nes-textbox, built by their Makefiles and run in fceux: every
// character cell on the emulator's screen is that character's cell of `mipofc-cli preview`,
// pixel for pixel by colour index, so a wrong slot, offset or bit order shows.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/cli/cli_runner.h"
#include "tests/format_readers.h"

namespace mipofc {
namespace {

// Where the programs put line r's character j: nametable row TEXT_ROW + LINE_ROWS * r, column
// TEXT_COL + 2 * j (textbox.s), 16 x 16 pixels each.
constexpr int TextRow = 4, TextCol = 2, LineRows = 3, Cell = 16;
// The preview's text picture: 8 cells of 16 pixels a row, in the preview's default colours.
constexpr int PreviewCells = 8;
constexpr std::array<std::uint32_t, 4> PreviewColours = {0x000000, 0xFFFFFF, 0x800000, 0x008080};

std::string Fceux() {
  if (test::HaveProgram("fceux")) return "fceux";
  return std::ifstream("/usr/games/fceux").good() ? "/usr/games/fceux" : "";
}

// The NES colour numbers of palette entries 0..3, from the program's "palette:" line.
std::vector<int> ProgramPalette(const std::string& source) {
  std::istringstream in(source);
  std::string line;
  std::vector<int> colours;
  while (std::getline(in, line) && colours.empty())
    if (line.rfind("palette:", 0) == 0 && std::getline(in, line))
      for (std::size_t at = line.find('$'); at != std::string::npos && colours.size() < 4; at = line.find('$', at + 1))
        colours.push_back(std::stoi(line.substr(at + 1, 2), nullptr, 16));
  return colours;
}

// An emulator palette in which each of the 64 NES colours has an RGB of its own.
std::string TestPalette() {
  std::string pal;
  for (int n = 0; n < 64; ++n) pal += {static_cast<char>(4 * n), static_cast<char>(255 - 4 * n), static_cast<char>(0x55)};
  return pal;
}
int NesColourOf(std::uint32_t rgb) {
  for (int n = 0; n < 64; ++n)
    if (rgb == (static_cast<std::uint32_t>(4 * n) << 16 | static_cast<std::uint32_t>(255 - 4 * n) << 8 | 0x55)) return n;
  return -1;
}

std::vector<std::u16string> ScriptLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::u16string> lines;
  for (std::string line; std::getline(in, line);) {
    std::u16string chars;
    for (std::size_t i = 0; i < line.size();) {
      const auto b = static_cast<unsigned char>(line[i]);
      const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : 3;
      char32_t c = n == 1 ? b : n == 2 ? b & 0x1F : b & 0x0F;
      for (int k = 1; k < n; ++k) c = c << 6 | (static_cast<unsigned char>(line[i + k]) & 0x3F);
      chars += static_cast<char16_t>(c);
      i += static_cast<std::size_t>(n);
    }
    lines.push_back(chars);
  }
  return lines;
}

class NesTextboxTest : public testing::TestWithParam<const char*> {};

TEST_P(NesTextboxTest, TheScreenShowsEachCharacterAsThePreviewDrawsIt) {
  const std::string fceux = Fceux();
  if (fceux.empty()) GTEST_SKIP() << "fceux is not installed (scripts/setup.sh installs Debian's fceux)";
  for (const char* program : {"make", "ca65", "ld65", "xvfb-run"})
    if (!test::HaveProgram(program)) GTEST_SKIP() << program << " is not installed (scripts/setup.sh installs it)";
  const std::string example = std::string(MIPOFC_SOURCE_DIR) + "/examples/nes-textbox/" + GetParam();
  test::TempDir dir;
  test::WriteIn(dir, "test.pal", TestPalette());
  const test::TRun make = test::RunIn(dir, "make -s -C '" + example + "' BUILD='" + dir.Path().string() +
                                               "' MIPOFC_CLI='" + MIPOFC_CLI + "' FCEUX='" + fceux +
                                               "' FCEUX_FLAGS='--palette " + (dir / "test.pal") + "' screenshot preview");
  ASSERT_EQ(make.status, 0) << make.out << make.err << test::ReadFile(dir / "fceux.log");

  const std::vector<int> palette = ProgramPalette(test::ReadFile(example + "/textbox.s"));
  ASSERT_EQ(palette.size(), 4u);
  const test::TRgbImage screen = test::ReadRgbPng(test::ReadFile(dir / "screen.png"));
  const test::TRgbImage preview = test::ReadRgbPng(test::ReadFile(dir / "preview.png"));
  ASSERT_TRUE(screen.ok && preview.ok);
  ASSERT_EQ(screen.width, 256);
  // The emulator leaves out as many lines at the top as at the bottom of the 240.
  const int top = (240 - screen.height) / 2;
  const auto screenIndex = [&](int x, int y) {
    const int nes = NesColourOf(screen.At(x, y - top));
    for (int i = 0; i < 4; ++i)
      if (palette[static_cast<std::size_t>(i)] == nes) return i;
    return -1;
  };
  const auto previewIndex = [&](int x, int y) {
    for (int i = 0; i < 4; ++i)
      if (PreviewColours[static_cast<std::size_t>(i)] == preview.At(x, y)) return i;
    return -1;
  };

  const std::vector<std::u16string> lines = ScriptLines(example + "/../script.txt");
  ASSERT_FALSE(lines.empty());
  std::map<int, int> seen;  // colour index: pixels
  int k = 0;
  for (std::size_t r = 0; r < lines.size(); ++r)
    for (std::size_t j = 0; j < lines[r].size(); ++j, ++k) {
      ASSERT_LT(k, PreviewCells * PreviewCells) << "the preview shows 64 characters";
      const int sx = (TextCol + 2 * static_cast<int>(j)) * 8, sy = (TextRow + LineRows * static_cast<int>(r)) * 8;
      const int px = Cell * (k % PreviewCells), py = Cell * (k / PreviewCells);
      int wrong = 0;
      for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x) {
          const int shown = screenIndex(sx + x, sy + y);
          wrong += shown != previewIndex(px + x, py + y);
          ++seen[shown];
        }
      EXPECT_EQ(wrong, 0) << "line " << r << " character " << j << " (U+" << std::hex << static_cast<unsigned>(lines[r][j]) << ")";
    }
  // The cells hold glyphs: both colours of the preview are on the screen, and nothing else.
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_GT(seen.begin()->second, 1000);
  EXPECT_GT(seen.rbegin()->second, 1000);
  EXPECT_EQ(seen.count(-1), 0u);
}

INSTANTIATE_TEST_SUITE_P(Examples, NesTextboxTest, testing::Values("chr-rom", "chr-ram"),
                         [](const auto& info) { return std::string(info.param) == "chr-rom" ? "ChrRom" : "ChrRam"; });

}  // namespace
}  // namespace mipofc
