#!/usr/bin/env python3
"""Makes the larger icons from data/mipofc.png (64 x 64, 8-bit RGB): data/mipofc-256.png, each
pixel four times over, and data/mipofc.svg, the same pixels as squares. Run from the top folder."""
import struct
import zlib


def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert (depth, colour, interlace) == (8, 2, 0), "only 8-bit RGB, not interlaced"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw, stride, rows, prev = zlib.decompress(idat), width * 3, [], bytearray(width * 3)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b, c = prev[i], prev[i - 3] if i >= 3 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[3 * x:3 * x + 3]) for x in range(width)])
        prev = line
    return rows


def write_png(path, rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_svg(path, rows):
    height, width = len(rows), len(rows[0])
    counts = {}
    for row in rows:
        for px in row:
            counts[px] = counts.get(px, 0) + 1
    background = max(counts, key=counts.get)
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
           f'viewBox="0 0 {width} {height}" shape-rendering="crispEdges">',
           f'  <rect width="{width}" height="{height}" fill="#{"%02x%02x%02x" % background}"/>']
    # One path per colour, one run of pixels of a row per rectangle.
    by_colour = {}
    for y, row in enumerate(rows):
        x = 0
        while x < width:
            end = x
            while end < width and row[end] == row[x]:
                end += 1
            if row[x] != background:
                by_colour.setdefault(row[x], []).append(f"M{x} {y}h{end - x}v1h-{end - x}z")
            x = end
    for colour, runs in sorted(by_colour.items()):
        out.append(f'  <path fill="#{"%02x%02x%02x" % colour}" d="{"".join(runs)}"/>')
    out.append("</svg>")
    open(path, "w").write("\n".join(out) + "\n")


if __name__ == "__main__":
    pixels = read_png("data/mipofc.png")
    write_png("data/mipofc-256.png", [[px for px in row for _ in range(4)] for row in pixels for _ in range(4)])
    write_svg("data/mipofc.svg", pixels)
