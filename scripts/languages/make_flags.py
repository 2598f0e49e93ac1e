#!/usr/bin/env python3
"""Draws the flag pictures shown beside the languages in the options dialog.

Writes workspace/LANGUAGE/<Language>.bmp for every shipped language file and
DefaultFlag.bmp, the picture for a language without its own flag. Each is a
48 x 32 pixel, 24-bit uncompressed Windows bitmap with a thin grey frame, so
white stripes stay visible on a white dialog. Pure Python, no packages.
Run from anywhere:
    python3 scripts/languages/make_flags.py [--check]
With --check nothing is written; the script fails when a picture is not current.
"""

import os
import struct
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
OUT_DIR = os.path.join(ROOT, "workspace", "LANGUAGE")

WIDTH = 48
HEIGHT = 32
FRAME = (128, 128, 128)


def vertical_stripes(colours):
    def pixel(x, y):
        return colours[x * len(colours) // WIDTH]
    return pixel


def horizontal_stripes(colours):
    def pixel(x, y):
        return colours[y * len(colours) // HEIGHT]
    return pixel


def default_flag(x, y):
    """A slate-blue field with a light globe: meridian, equator and outline."""
    field = (70, 96, 130)
    light = (205, 215, 228)
    cx, cy, r = (WIDTH - 1) / 2.0, (HEIGHT - 1) / 2.0, 11.0
    dx, dy = x - cx, y - cy
    d2 = dx * dx + dy * dy
    if abs(d2 - r * r) <= r:  # outline, about one pixel wide
        return light
    if d2 < r * r:
        # Equator, the central meridian and an ellipse for the side meridians.
        if abs(dy) < 0.6 or abs(dx) < 0.6:
            return light
        e = (dx * dx) / (0.45 * r) ** 2 + (dy * dy) / (r * r)
        if abs(e - 1.0) < 0.12:
            return light
        return (95, 125, 165)
    return field


# (file name, drawing function); the names match the shipped .lng files.
FLAGS = [
    ("Italiano.bmp", vertical_stripes([(0, 146, 70), (255, 255, 255), (206, 43, 55)])),
    ("Deutsch.bmp", horizontal_stripes([(0, 0, 0), (221, 0, 0), (255, 206, 0)])),
    ("Fran\u00e7ais.bmp", vertical_stripes([(0, 35, 149), (255, 255, 255), (237, 41, 57)])),
    ("DefaultFlag.bmp", default_flag),
]


def render(pixel):
    """The whole .bmp file for a picture given as pixel(x, y) -> (r, g, b), y down."""
    row_size = (WIDTH * 3 + 3) // 4 * 4
    image = bytearray()
    for y in range(HEIGHT - 1, -1, -1):  # bottom row first
        row = bytearray()
        for x in range(WIDTH):
            edge = x in (0, WIDTH - 1) or y in (0, HEIGHT - 1)
            r, g, b = FRAME if edge else pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        image += row
    info = struct.pack(
        "<IiiHHIIiiII",
        40,           # header size
        WIDTH,
        HEIGHT,       # positive: rows stored bottom-up
        1,            # planes
        24,           # bits per pixel
        0,            # no compression
        len(image),
        2835, 2835,   # 72 dpi
        0, 0,         # no palette
    )
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    return header + info + bytes(image)


def write_file(path, content):
    # Write beside the target and rename, so a failed run never leaves half a file.
    fd, tmp = tempfile.mkstemp(dir=os.path.dirname(path), prefix=".tmp-")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(content)
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.unlink(tmp)
        raise


def main(argv):
    check_only = "--check" in argv[1:]
    failed = False
    os.makedirs(OUT_DIR, exist_ok=True)
    for name, pixel in FLAGS:
        path = os.path.join(OUT_DIR, name)
        content = render(pixel)
        if check_only:
            current = open(path, "rb").read() if os.path.exists(path) else None
            if current != content:
                print("%s is not current; run make_flags.py" % path, file=sys.stderr)
                failed = True
            continue
        write_file(path, content)
        print("wrote %s (%d bytes)" % (os.path.relpath(path, ROOT), len(content)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
