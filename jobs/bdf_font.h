#pragma once

// A text's glyphs as a BDF font: each distinct character drawn once, as its cell draws it, for
// touching up in a bitmap font editor and drawing the banks from again.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/bdf.h"
#include "engine/chr.h"
#include "jobs/job.h"

namespace mipofc {

/// The BDF font of text: each distinct character once, in order of first appearance, as its cell
/// draws it with settings; the family is the source face's + " MipoFC". Halves of surrogate pairs
/// are no characters: when the text has any, the font's default glyph is U+FFFD drawn as they
/// draw (the missing glyph), unless the text has U+FFFD itself. One step of control per 256
/// glyphs; nullopt when it stops the job. Throws TFontError when the font cannot be had.
std::optional<TBdfFont> BdfFontOfText(const TChrSettings& settings, std::u16string_view text,
                                      const TJobControl& control);

/// What writing a text's BDF font did.
struct TBdfFontResult {
  bool Cancelled = false;       ///< the control stopped it; nothing was written
  std::int64_t Characters = 0;  ///< glyphs in the font
};

/// Writes the BDF font of text (BdfFontOfText) to path atomically; a text without characters
/// writes nothing. Throws TFileError naming path when it cannot be written, and what
/// BdfFontOfText throws.
TBdfFontResult WriteBdfFont(const std::string& path, const TChrSettings& settings, std::u16string_view text,
                            const TJobControl& control);

}  // namespace mipofc
