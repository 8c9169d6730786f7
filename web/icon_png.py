#!/usr/bin/python3
"""Draws the page's icon as a PNG file from the window icon's own rows in
app/icon_image.cpp, each icon pixel repeated into a square block, as the
desktop's icon files are: the same picture with hard edges at every size.

    icon_png.py ICON_IMAGE.cpp SIZE OUTPUT.png    (SIZE a multiple of 32)
"""
import re
import struct
import sys
import zlib

ICON_SIZE = 32


def icon_rows(source):
    with open(source, encoding="utf-8") as file:
        text = file.read()
    table = text[text.index("kIconRows"):]
    rows = re.findall(r'"([ #]{%d})"' % ICON_SIZE, table[:table.index("};")])
    if len(rows) != ICON_SIZE:
        sys.exit(f"icon_png.py: {source} holds {len(rows)} icon rows, not {ICON_SIZE}")
    return rows


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def main(source, size, output):
    scale = int(size) // ICON_SIZE
    if scale < 1 or scale * ICON_SIZE != int(size):
        sys.exit(f"icon_png.py: {size} is not a multiple of {ICON_SIZE}")
    lines = b""
    for row in icon_rows(source):
        line = b"\0" + b"".join((b"\xff" if pixel == "#" else b"\0") * scale for pixel in row)
        lines += line * scale
    side = ICON_SIZE * scale
    header = struct.pack(">IIBBBBB", side, side, 8, 0, 0, 0, 0)  # 8-bit grey, opaque
    with open(output, "wb") as file:
        file.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                   + chunk(b"IDAT", zlib.compress(lines, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
