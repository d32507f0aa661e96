#!/usr/bin/env python3
"""Turns a text pixel map into a one-image Windows icon: 16 x 16, 8 bits per pixel,
with a transparency mask.

    make_icon.py PIXMAP ICO            write ICO
    make_icon.py --check PIXMAP ICO    exit 1 unless ICO is exactly what PIXMAP gives

The map has one line per pixel row, top row first; lines starting with '#' are
comments. Each character is a palette letter (see COLOURS) or '.' for transparent.
"""

import struct
import sys

SIZE = 16
TRANSPARENT = "."
# Letter -> (red, green, blue); the order is the palette order in the icon.
COLOURS = {
    "K": (0, 0, 0),
    "O": (128, 128, 0),
    "Y": (255, 255, 0),
    "W": (255, 255, 255),
}
PALETTE_ENTRIES = 256  # an 8-bit image carries a full palette; the unused entries stay black


def read_pixel_map(path):
    with open(path, encoding="ascii") as source:
        rows = [line.rstrip("\n") for line in source if not line.startswith("#")]
    rows = [row for row in rows if row.strip()]
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        raise ValueError(f"{path}: expected {SIZE} rows of {SIZE} pixels")
    for y, row in enumerate(rows):
        for x, letter in enumerate(row):
            if letter != TRANSPARENT and letter not in COLOURS:
                raise ValueError(f"{path}: row {y + 1}, column {x + 1}: unknown letter {letter!r}")
    return rows


def make_icon(rows):
    letters = list(COLOURS)
    # Rows are stored bottom-up. Colour rows are 16 bytes, mask rows 2 bytes padded to 4.
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = 0
        for x, letter in enumerate(row):
            if letter == TRANSPARENT:
                colour.append(0)
                bits |= 0x8000 >> x
            else:
                colour.append(letters.index(letter))
        mask += struct.pack(">H", bits) + b"\0\0"

    palette = bytearray()
    for index in range(PALETTE_ENTRIES):
        red, green, blue = COLOURS[letters[index]] if index < len(letters) else (0, 0, 0)
        palette += bytes((blue, green, red, 0))

    # BITMAPINFOHEADER: the height counts the colour image and the mask.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 8, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    image = header + palette + colour + mask

    icon_dir = struct.pack("<HHH", 0, 1, 1)
    # ICONDIRENTRY: a colour count of 0 means 256 or more; the image follows the entry.
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return icon_dir + entry + image


def main(argv):
    check = "--check" in argv
    paths = [arg for arg in argv if arg != "--check"]
    if len(paths) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    pixel_map, icon_path = paths
    try:
        icon = make_icon(read_pixel_map(pixel_map))
    except (OSError, ValueError) as error:
        print(f"make_icon.py: {error}", file=sys.stderr)
        return 1
    if check:
        try:
            with open(icon_path, "rb") as existing:
                same = existing.read() == icon
        except OSError as error:
            print(f"make_icon.py: {error}", file=sys.stderr)
            return 1
        if not same:
            print(f"{icon_path} does not match {pixel_map}: run resources/make_icon.py "
                  f"{pixel_map} {icon_path}", file=sys.stderr)
            return 1
        print(f"{icon_path} matches {pixel_map}")
        return 0
    with open(icon_path, "wb") as out:
        out.write(icon)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
