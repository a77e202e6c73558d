#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "font/surface.h"

namespace mipofc {

/// The generation settings of one run, copied by value into each engine.
struct TChrSettings {
  std::int32_t CellHeight = 0;   ///< glyph cell height in pixels: 8, 16, 32
  std::int32_t CellWidth = 0;    ///< glyph cell width in pixels: 8, 16, 32
  TFont* Font = nullptr;         ///< the caller's font object, shared, not copied
  std::int32_t NarrowWide = 0;   ///< -6..6: negative squeezes horizontally, positive vertically
  std::int32_t OffsetX = 0;      ///< drawing point in the cell, pixels, any value
  std::int32_t OffsetY = 0;
  std::int32_t BgIndex = 0;      ///< NES colour index of the background, 0..3
  std::int32_t GlyphIndex = 0;   ///< NES colour index of the glyph, 0..3
  bool ScanHorizontal = false;   ///< tiles of a cell row by row (true) or column by column
  std::int32_t EncodeMode = 0;   ///< 0 normal, 1 shift by M, 2 transpose, 3 fold rows, 4 fold columns
  std::int32_t M = 0;            ///< shift of mode 1, 1..15
  std::int32_t Distribution = 0; ///< 0 continuous, anything else by glyph block
  std::int32_t Limit = 0;        ///< bank size in bytes: 1024, 2048, 4096
  /// A slot every bank leaves blank (BgIndex in all its pixels), 0 .. Limit / 16 - 1; -1 none.
  std::int32_t BlankSlot = -1;
};

/// One 8x8 NES tile: plane 0 rows then plane 1 rows; bit 7 is the leftmost pixel.
struct TTile {
  std::uint8_t Plane0[8];
  std::uint8_t Plane1[8];

  /// Byte j (0..15) in storage order.
  std::uint8_t& Byte(int j) { return reinterpret_cast<std::uint8_t*>(this)[j]; }
  std::uint8_t Byte(int j) const { return reinterpret_cast<const std::uint8_t*>(this)[j]; }
  bool operator==(const TTile&) const = default;
};
static_assert(sizeof(TTile) == 16 && std::is_standard_layout_v<TTile>);

/// The tiles of one glyph cell; Tiles[column][row], only the first ColsMinus1+1 x RowsMinus1+1 count.
struct TCellTiles {
  std::int32_t ColsMinus1 = 0;
  std::int32_t RowsMinus1 = 0;
  TTile Tiles[4][4] = {};

  /// Tile columns and rows in use, never more than the array holds.
  int Cols() const { return ColsMinus1 < 0 ? 0 : ColsMinus1 > 3 ? 4 : ColsMinus1 + 1; }
  int Rows() const { return RowsMinus1 < 0 ? 0 : RowsMinus1 > 3 ? 4 : RowsMinus1 + 1; }
};

/// Plane-0 bit of colour index 0..3.
inline constexpr std::uint8_t Plane0Bit[4] = {0, 1, 0, 1};
/// Plane-1 bit of colour index 0..3.
inline constexpr std::uint8_t Plane1Bit[4] = {0, 0, 1, 1};
/// Bit of pixel column 0..7 within a row byte.
inline constexpr std::uint8_t BitWeight[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
/// Colour index of a pixel at position 2 x plane-0 bit + plane-1 bit.
inline constexpr std::uint8_t PairColour[4] = {0, 2, 1, 3};

/// The tile every slot of a bank starts with: plane 0 all 0x00, plane 1 all 0xFF (colour 2).
inline constexpr TTile BlankTile = {{0, 0, 0, 0, 0, 0, 0, 0},
                                    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};

/// The bank area: 512 slots (the bank proper is slots 0..255, 16 to a pattern-table row).
struct TChrBank {
  TTile Slots[512] = {};
  std::int32_t TilesPerCell = 0;  ///< tiles of an unfolded cell
  std::int32_t Capacity = 0;      ///< characters one bank holds
};

/// One cell's tiles in continuous placement order.
struct TTileSequence {
  std::int32_t CountMinus1 = -1;
  TTile Items[16] = {};
};

/// Whose tile a bank slot holds: the character (its position in the engine's Text) and the tile
/// of its cell (column, row of the cell as placed, after folding); Char -1 for a blank slot.
struct TSlotOwner {
  std::int32_t Char = -1;
  std::int8_t Col = 0;
  std::int8_t Row = 0;
  bool operator==(const TSlotOwner&) const = default;
};

/// The four display colours of NES colour indexes 0..3.
using TPalette = std::array<TColor, 4>;

/// The ink of a surface of at most 32 x 32 pixels: bit 31 - x of row y is pixel (x, y).
using TInkRows = std::array<std::uint32_t, 32>;

/// The destination of source row or column d when squeezing by narrow/wide value v (v != 0).
int NarrowWideDestination(int d, int v);

/// The tile engine: the drawing surface of one glyph cell plus one run's text, settings and bank.
/// An engine serves one run and is then dropped.
class TChr : public TBitmap {
 public:
  /// An engine with nothing set. Provided rather than defaulted, so that a value-initialised
  /// engine (make_unique<TChr>(), once per bank) is not zero-filled before its initializers run.
  TChr() {}

  std::u16string Text;        ///< the run's text; each UTF-16 code unit is one character
  std::int32_t TileCols = 0;  ///< tiles across one cell
  std::int32_t TileRows = 0;  ///< tiles down one cell
  TChrSettings Settings;
  TChrBank Bank;
  /// Who owns each slot of Bank, as the last BuildBank placed them.
  std::array<TSlotOwner, 512> Owners{};

  /// Copies s into Settings, sets the tile grid and TilesPerCell; returns the capacity in characters.
  std::int32_t ApplySettings(const TChrSettings& s);
  /// Makes the surface square (side max(CellWidth, CellHeight)) with the settings' font in
  /// black, and stores Capacity. Settings must be set first.
  void PrepareCell();

  /// Clears the square surface with fill and draws ch at the settings' offsets in glyph.
  void DrawGlyph(char16_t ch, TColor fill, TColor glyph);
  /// Squeezes the drawn glyph toward the top (NarrowWide > 0) or the left (< 0).
  void ApplyNarrowWide(TColor fill, TColor glyph);
  /// Reduces the surface to the two colours and crops it to CellWidth x CellHeight.
  void QuantizeCell(TColor fill, TColor glyph);
  /// True when the pixel at (x, y) is not exactly colour.
  bool PixelDiffers(int x, int y, TColor colour) const { return GetPixel(x, y) != colour; }

  /// Encodes tile column a, row b of the quantised cell (white = background).
  void EncodeTile(int a, int b, TTile& out) const;
  /// Encodes every tile of the quantised cell.
  void EncodeCell(TCellTiles& out) const;

  /// True when cells can be made from ink rows instead of the surface: cells of 1..32 pixels a side.
  bool InkRowsSuffice() const;
  /// The tiles that DrawGlyph, ApplyNarrowWide, QuantizeCell and EncodeCell give ch in black on
  /// white, made from the glyph's ink rows without touching the surface. Needs InkRowsSuffice().
  void EncodeGlyph(char16_t ch, TCellTiles& out) { EncodeGlyph(CanvasFace(), ch, out); }
  /// The ink of ch's cell as EncodeGlyph draws it: bit 31 - x of row y is pixel (x, y) of the
  /// CellWidth x CellHeight cell; bits and rows outside the cell are clear. Needs InkRowsSuffice().
  void CellInk(char16_t ch, TInkRows& ink);

  /// Applies the encoding mode of Settings to the cell's tiles in place.
  void TransformCell(TCellTiles& cell) const;
  /// Rotates the 16 bytes of a tile: output byte (j + m) mod 16 := input byte j.
  static TTile ShiftTile(const TTile& tile, std::int32_t m);
  /// Mirrors each bit plane across its top-left to bottom-right diagonal.
  static TTile TransposeTile(const TTile& tile);
  /// Merges vertically adjacent tiles (plane 0 of the upper, plane 0 of the lower as plane 1).
  static void FoldRows(TCellTiles& cell);
  /// Merges horizontally adjacent tiles (plane 0 of the left, plane 0 of the right as plane 1).
  static void FoldColumns(TCellTiles& cell);

  /// Fills the bank from the first min(Capacity, Text length) characters of Text.
  void BuildBank();
  /// The cell's tiles row by row (scanHorizontal) or column by column.
  static TTileSequence FlattenCell(const TCellTiles& cell, bool scanHorizontal);
  /// The (column, row) of each tile in FlattenCell's order; returns how many.
  static int ScanOrder(const TCellTiles& cell, bool scanHorizontal, std::array<std::array<std::int8_t, 2>, 16>& order);
  /// Puts the sequence into consecutive slots from s; returns the next free slot.
  std::int32_t PlaceContinuous(const TTileSequence& seq, std::int32_t s);
  /// Puts the cell as a block in the 16-wide pattern table at s; returns the next block's slot.
  std::int32_t PlaceBlock(const TCellTiles& cell, std::int32_t s);

  /// Takes the settings and the text, prepares the cell and builds the bank: one bank file's work.
  void BuildFor(const TChrSettings& settings, std::u16string_view text);
  /// Appends the glyph of each character of text: its placed cell's tiles in tile order, each the
  /// 16 bytes a bank holds, or with bitsPerPixel 1 (encoding mode 0) 8 bytes, a bit set where
  /// the pixel has the glyph colour, bit 7 the leftmost.
  void AppendGlyphs(const TChrSettings& settings, std::u16string_view text, int bitsPerPixel, std::string& out);
  /// The first Limit bytes of the bank, in slot order.
  std::string_view BankBytes() const;
  /// Builds the bank of text with settings and writes it as a raw .chr file (Limit bytes).
  void SaveChrFile(const std::string& fileName, const TChrSettings& settings, std::u16string_view text);
  /// Builds the bank of text with settings and writes it as .DB lines (one tile a line, CR LF).
  void SaveIncFile(const std::string& fileName, const TChrSettings& settings, std::u16string_view text);

  /// Draws the first Capacity characters (space-padded) as cells in the palette's colours.
  void DrawTextPreview(TBitmap& target, const TPalette& palette, bool grid, const TChrSettings& settings,
                       std::u16string_view text);
  /// Draws bank slots 0..255 as a 16 x 16 pattern table decoded through the palette.
  void DrawBankPreview(TBitmap& target, const TPalette& palette, bool grid, const TChrSettings& settings,
                       std::u16string_view text);

 private:
  void EncodeGlyph(const TFontFace& face, char16_t ch, TCellTiles& out);
  void GlyphInk(const TFontFace& face, char16_t ch, TInkRows& ink);
  // The placed tiles of ch (drawn, or from ink rows with face, resolved at the first call).
  void MakeCell(char16_t ch, const TFontFace*& face, TCellTiles& cell);
  void SqueezeInk(TInkRows& ink, int side);
  void EncodeInk(const TInkRows& ink, TCellTiles& out) const;

  TBitmap scratch_;  // the temporary surface of the squeeze and the crop, reused per character
  // NarrowWideDestination of 0..31 for the value squeezeOf_ (0: not made yet).
  std::array<int, 32> squeezeTo_{};
  std::int32_t squeezeOf_ = 0;
};

/// The two previews: the text as glyph cells, and bank slots 0..255 as a pattern table.
enum class TPreviewKind { Text, Bank };
/// Side of a preview target in pixels.
inline constexpr int PreviewSide = 128;
/// Makes target a PreviewSide x PreviewSide surface filled with the grid colour.
void ClearPreviewTarget(TBitmap& target, TColor gridColour);
/// Draws one preview on target with a fresh engine.
void DrawPreview(TPreviewKind kind, TBitmap& target, const TPalette& palette, bool grid,
                 const TChrSettings& settings, std::u16string_view text);

/// The .inc text of bank bytes: one "    .DB $xx, ..." line of 16 values per tile, CR LF.
std::string IncText(std::string_view bankBytes);

}  // namespace mipofc
