#pragma once

// The glyph data of a text made in pieces, in order, a fresh engine each; on a machine with more
// than one core a helper thread makes every other piece while the caller makes the one before.

#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <string_view>

#include "engine/chr.h"

namespace mipofc {

/// Bytes of one glyph: the placed cell's tiles, 8 (bitsPerPixel 1) or 16 bytes each.
std::int32_t GlyphSize(const TChrSettings& settings, int bitsPerPixel);

class TGlyphMaker {
 public:
  /// The glyphs of text in pieces of perPiece (> 0) characters, bitsPerPixel 1 or 2.
  TGlyphMaker(const TChrSettings& settings, std::u16string_view text, std::int64_t perPiece, int bitsPerPixel);
  /// Waits for the piece the helper is making.
  ~TGlyphMaker();
  TGlyphMaker(const TGlyphMaker&) = delete;
  TGlyphMaker& operator=(const TGlyphMaker&) = delete;

  /// Piece n's glyph bytes; n goes 0, 1, 2, ... Throws what making that piece threw.
  std::string Take(std::int64_t n);
  /// How many pieces the text gives.
  std::int64_t Count() const { return count_; }

 private:
  std::string Make(const TChrSettings& settings, std::int64_t n) const;

  const TChrSettings settings_;
  const std::u16string_view text_;
  const std::size_t perPiece_;
  const int bitsPerPixel_;
  const std::int64_t count_;
  // The helper's own font object: making glyphs writes to the font it is given.
  TFont helperFont_;
  TChrSettings helperSettings_;
  std::future<std::string> ahead_;  // the piece aheadOf_, being made by the helper
  std::int64_t aheadOf_ = -1;
  // One thread for every piece it makes: a thread keeps the faces and glyphs it has loaded.
  class THelper;
  std::unique_ptr<THelper> helper_;  // last: it goes first, once its pieces are done
};

}  // namespace mipofc
