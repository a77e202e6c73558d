#!/usr/bin/env python3
"""Writes tests/data/mipo-test16.bdf, the 16-pixel bitmap font the font tests draw with.

The glyph shapes are noise from a fixed generator, framed by their four corner pixels so
that every glyph's bounding box shows in its bitmap. Bounding boxes vary on purpose:
negative left offsets, glyphs taller than the ascent, glyphs wider than the em and
descenders below the descent, so that a placement fault moves visible pixels.

Run it from anywhere; the output is the same on every run:
    python3 tests/make_test_font.py
"""

import os

ASCENT = 14
DESCENT = 2
PIXEL_SIZE = 16
UNDERLINE_POSITION = 1   # pixels from the baseline down to the top of the underline
UNDERLINE_THICKNESS = 2
DEFAULT_CHAR = 0xFFFD    # drawn for characters the font lacks

CJK = "你们大家好。中文字模工具测试一二三四五六七八九十的是在有人这上我不他来个国到说时要就出会也子"

# Hand-picked boxes (width, height, x offset, y offset, advance) for the glyphs the tests
# place pixel by pixel.
FIXED = {
    ord(" "): (1, 1, 0, 0, 8),          # blank: draws nothing
    ord("A"): (7, 10, 1, 0, 8),
    ord("g"): (6, 9, 0, -3, 8),         # reaches below the descent
    ord("j"): (5, 13, -2, -3, 6),       # starts left of the origin
    ord("|"): (2, 17, 3, -2, 8),        # rises above the ascent
    ord("你"): (18, 17, -2, -2, 16),    # wider than the em, left of the origin, above the ascent
    ord("好"): (16, 16, 0, -2, 16),     # fills the em box exactly
    ord("。"): (4, 4, 2, 0, 16),
    DEFAULT_CHAR: (10, 12, 1, 0, 12),
}


class Lcg:
    """A 32-bit linear congruential generator, so the font never depends on Python's random."""

    def __init__(self, seed):
        self.state = (seed * 2654435761 + 12345) & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state >> 8


def box_for(code):
    if code in FIXED:
        return FIXED[code]
    r = Lcg(code ^ 0x5A5A)
    if code < 0x80:
        w = 3 + r.next() % 7           # 3..9
        h = 5 + r.next() % 11          # 5..15
        xoff = -1 + r.next() % 4       # -1..2
        yoff = -2 + r.next() % 4       # -2..1
        return (w, h, xoff, yoff, 8)
    w = 12 + r.next() % 9              # 12..20
    h = 12 + r.next() % 6              # 12..17
    xoff = -2 + r.next() % 5           # -2..2
    yoff = -3 + r.next() % 4           # -3..0
    return (w, h, xoff, yoff, 16)


def rows_for(code, w, h):
    if code == ord(" "):
        return [0]
    if code == DEFAULT_CHAR:
        # A hollow box, the usual look of a missing character.
        return [((1 << w) - 1) if y in (0, h - 1) else ((1 << (w - 1)) | 1) for y in range(h)]
    r = Lcg(code)
    rows = []
    for y in range(h):
        bits = 0
        for x in range(w):
            if r.next() % 100 < 45:
                bits |= 1 << (w - 1 - x)
        if y in (0, h - 1):
            bits |= (1 << (w - 1)) | 1
        rows.append(bits)
    return rows


def glyph(code):
    w, h, xoff, yoff, adv = box_for(code)
    rows = rows_for(code, w, h)
    nbytes = (w + 7) // 8
    out = [
        "STARTCHAR U+%04X" % code,
        "ENCODING %d" % code,
        "SWIDTH %d 0" % (adv * 1000 // PIXEL_SIZE),
        "DWIDTH %d 0" % adv,
        "BBX %d %d %d %d" % (w, h, xoff, yoff),
        "BITMAP",
    ]
    for bits in rows:
        # BDF rows are padded on the right to whole bytes.
        out.append("%0*X" % (nbytes * 2, bits << (nbytes * 8 - w)))
    out.append("ENDCHAR")
    return out, (w, h, xoff, yoff)


def main():
    codes = sorted(set(range(0x20, 0x7F)) | {ord(c) for c in CJK} | {DEFAULT_CHAR})
    glyphs = [glyph(c) for c in codes]
    min_x = min(b[2] for _, b in glyphs)
    min_y = min(b[3] for _, b in glyphs)
    max_x = max(b[2] + b[0] for _, b in glyphs)
    max_y = max(b[3] + b[1] for _, b in glyphs)
    props = [
        'FOUNDRY "Mipo"',
        'FAMILY_NAME "Mipo Test"',
        'WEIGHT_NAME "Medium"',
        'SLANT "R"',
        'SETWIDTH_NAME "Normal"',
        "PIXEL_SIZE %d" % PIXEL_SIZE,
        "POINT_SIZE 120",
        "RESOLUTION_X 96",
        "RESOLUTION_Y 96",
        'SPACING "P"',
        'CHARSET_REGISTRY "ISO10646"',
        'CHARSET_ENCODING "1"',
        "FONT_ASCENT %d" % ASCENT,
        "FONT_DESCENT %d" % DESCENT,
        "UNDERLINE_POSITION %d" % UNDERLINE_POSITION,
        "UNDERLINE_THICKNESS %d" % UNDERLINE_THICKNESS,
        "DEFAULT_CHAR %d" % DEFAULT_CHAR,
    ]
    lines = [
        "STARTFONT 2.1",
        "COMMENT Test font for MipoFC, made by tests/make_test_font.py; shapes are noise.",
        "FONT -Mipo-Mipo Test-Medium-R-Normal--16-120-96-96-P-80-ISO10646-1",
        "SIZE 12 96 96",
        "FONTBOUNDINGBOX %d %d %d %d" % (max_x - min_x, max_y - min_y, min_x, min_y),
        "STARTPROPERTIES %d" % len(props),
        *props,
        "ENDPROPERTIES",
        "CHARS %d" % len(glyphs),
    ]
    for g, _ in glyphs:
        lines.extend(g)
    lines.append("ENDFONT")
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data", "mipo-test16.bdf")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
