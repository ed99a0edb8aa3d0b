#!/usr/bin/env python3
"""Draws the program's icon (a blue V on light cyan inside a black edge) at
16, 32 and 48 pixels for the window and the tray, at 256 pixels for the desktop's
application menu and software centre, the same at 16, 32 and 48 as the Windows icon
file kestrava.ico, and the pointing-hand cursor HAND-M.CUR.

Run from the repository root: python3 resources/tools/make_images.py
Only the standard library is used, so the images can be redrawn anywhere."""

import struct
import zlib
from pathlib import Path

RESOURCES = Path(__file__).resolve().parent.parent

BLACK = (0, 0, 0, 255)
CYAN = (200, 255, 255, 255)
BLUE = (0, 0, 230, 255)
WHITE = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)


def icon_pixels(size):
    """A V whose two strokes run from the top corners to the bottom middle."""
    edge = max(1, size // 16)
    stroke = max(2, size // 6)
    top, bottom = size * 0.2, size * 0.82
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            if x < edge or y < edge or x >= size - edge or y >= size - edge:
                row.append(BLACK)
                continue
            cy = y + 0.5
            inside_v = False
            if top <= cy <= bottom:
                t = (cy - top) / (bottom - top)
                left_centre = size * 0.22 + t * (size * 0.5 - size * 0.22)
                right_centre = size * 0.78 - t * (size * 0.78 - size * 0.5)
                cx = x + 0.5
                inside_v = (abs(cx - left_centre) <= stroke / 2
                            or abs(cx - right_centre) <= stroke / 2)
            row.append(BLUE if inside_v else CYAN)
        pixels.append(row)
    return pixels


def png_bytes(pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# A pointing hand, 32 x 32: '#' outline, '.' white fill, ' ' transparent.
HAND = """
      ##
     #..#
     #..#
     #..#
     #..#
     #..###
     #..#..###
     #..#..#..##
  ## #..#..#..#.#
 #..##........#..#
 #...#...........#
  #..............#
   #.............#
   #.............#
    #...........#
    #...........#
     #.........#
     #.........#
      #.......#
      #########
"""


def dib_bytes(grid):
    """An icon or cursor image: a bottom-up 32-bit bitmap, then its 1-bit AND mask,
    each row of the mask padded to four bytes."""
    size = len(grid)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(grid) for (r, g, b, a) in row)
    mask = bytearray()
    row_bytes = (size + 31) // 32 * 4
    for row in reversed(grid):
        bits = bytearray(row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                       len(colour) + len(mask), 0, 0, 0, 0)
    return info + colour + bytes(mask)


def cursor_bytes():
    size = 32
    rows = HAND.strip("\n").split("\n")
    grid = [[CLEAR] * size for _ in range(size)]
    for y, line in enumerate(rows):
        for x, mark in enumerate(line):
            if mark == "#":
                grid[y][x] = BLACK
            elif mark == ".":
                grid[y][x] = WHITE
    image = dib_bytes(grid)
    hotspot_x, hotspot_y = 7, 0
    directory = struct.pack("<BBBBHHII", size, size, 0, 0, hotspot_x, hotspot_y,
                            len(image), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + directory + image


def icon_file_bytes(sizes):
    """The program's icon for Windows: one bitmap image per size."""
    images = [dib_bytes(icon_pixels(size)) for size in sizes]
    offset = 6 + 16 * len(images)
    directory = b""
    for size, image in zip(sizes, images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return struct.pack("<HHH", 0, 1, len(images)) + directory + b"".join(images)


def main():
    for size in (16, 32, 48, 256):
        (RESOURCES / f"kestrava-{size}.png").write_bytes(png_bytes(icon_pixels(size)))
    (RESOURCES / "HAND-M.CUR").write_bytes(cursor_bytes())
    (RESOURCES / "kestrava.ico").write_bytes(icon_file_bytes((16, 32, 48)))


if __name__ == "__main__":
    main()
