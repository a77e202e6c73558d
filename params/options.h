#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/chr.h"

namespace mipofc {

/// Item texts of the cell-size list ComboBox1, "width*height".
inline const std::array<std::string, 7> CellSizeTexts = {"8*8",       "8*16(窄)",  "16*8(扁)", "16*16",
                                                         "16*32(窄)", "32*16(扁)", "32*32"};
/// Item texts of the encoding list ComboBox2 as the window is built; the leading digit is the mode.
inline const std::array<std::string, 5> EncodingOptionTexts = {
    "0  正常NES输出", "1  M循环移位加密", "2  45度加密", "3  上下色彩重叠压缩", "4  左右色彩重叠压缩"};
/// Item texts of the distribution list ComboBox3; the leading digit is the distribution.
inline const std::array<std::string, 2> DistributionOptionTexts = {"0  一字连续分布", "1  按字形方块分布"};
/// Item texts of the limit list ComboBox4.
inline const std::array<std::string, 3> LimitTexts = {"1K", "2K", "4K"};

/// How "按场景分库" cuts the text and plans its banks.
struct TSceneValues {
  int Mode = 0;             ///< 0 blank lines part scenes, 1 a scene a line, 2 marker lines part scenes
  std::string Marker;       ///< the marker line, UTF-8
  int FixedBanks = 0;       ///< 0..4
  std::string NewlineCode;  ///< hex, may be empty
  std::string EndCode;      ///< hex, may be empty

  bool operator==(const TSceneValues&) const = default;
};

/// The option values the window's controls hold and a parameter file carries. The window keeps
/// its controls as the truth and mirrors them here; the CLI fills one from a file and its flags.
struct TOptionValues {
  int CellSizeIndex = 3;                    ///< ComboBox1 item index; -1 = no selection
  std::vector<std::string> EncodingItems;   ///< ComboBox2's current items
  int EncodingIndex = 0;                    ///< ComboBox2 item index; -1 = no selection
  std::vector<std::string> DistributionItems;  ///< ComboBox3's current items
  int DistributionIndex = 1;                ///< ComboBox3 item index; -1 = no selection
  int LimitIndex = 2;                       ///< ComboBox4 item index; -1 = no selection
  int NarrowWide = 0;                       ///< TBp, -6..6
  int FontSize = 10;                        ///< TBs, 6..28 points
  int PosX = 0;                             ///< PosX, any
  int PosY = 0;                             ///< PosY, any
  int BgIndex = 0;                          ///< Ebg, 0..3
  int GlyphIndex = 1;                       ///< Ewm, 0..3
  bool ColoursLocked = false;               ///< Ebg and Ewm disabled (colour-overlap modes)
  bool MVisible = false;                    ///< Label5 "M:" and Eout04 shown (mode 1)
  int M = 1;                                ///< Eout04, 1..15
  bool ScanHorizontal = true;               ///< RWay01 checked
  bool ScanVertical = false;                ///< RWay02 checked
  bool ScanEnabled = true;                  ///< RWay01 and RWay02 enabled
  TFont Font;                               ///< BfFont's font: the font in use
  TFont DialogFont;                         ///< FontDialog1's font
  int CodeStart = 0;                        ///< first code of an exported text's table, 0..0xFFFFFF
  int CodeBytes = 0;                        ///< bytes of each table code, 1..3; 0 = the fewest that hold every code
  TSceneValues Scenes;                      ///< the scene dialog's settings

  /// The window's start state.
  TOptionValues();
};

/// Clamps v into lo..hi (the sliders and spin fields).
int ClampTo(int v, int lo, int hi);

/// Rebuilds the encoding and distribution lists for the selected cell size, selects their
/// first items and sets the scan-order buttons. No selection changes nothing.
void ApplySizeRules(TOptionValues& v);
/// The rule of a user's pick in the encoding list: M shown for mode 1; colours 0/1 and locked
/// for modes 3 and 4, unlocked otherwise.
void ApplyEncodingRule(TOptionValues& v);
/// Moves the size slider (clamped) and writes the position into the font in use.
void SetFontSize(TOptionValues& v, int points);
/// Takes DialogFont as the font in use: the size slider follows its size (clamped, written back).
void ApplyChosenFont(TOptionValues& v);
/// Checks one of the two scan buttons; the other is unchecked (one radio group).
void CheckScan(TOptionValues& v, bool horizontal, bool checked);

/// The leading digit of a list item as a value, or 0 when it is missing or above max.
int LeadingDigit(const std::string& item, int max);
/// The selected encoding mode (0..4), from the digit of the selected item.
int SelectedEncodeMode(const TOptionValues& v);
/// The selected distribution (0, 1), from the digit of the selected item.
int SelectedDistribution(const TOptionValues& v);
/// Cell width and height of a ComboBox1 index (16 x 16 for anything else).
void CellSizeOf(int index, int& width, int& height);
/// Bank size in bytes of a ComboBox4 index (4096 for anything else).
int LimitOf(int index);

/// The settings record of the values; font is the font object the engine draws with.
TChrSettings GatherSettings(const TOptionValues& v, TFont* font);

}  // namespace mipofc
