#!/usr/bin/env python3
"""Writes orvalet.ico beside this script: the 16 x 16, 24-bit window icon.

The picture is the meter in miniature: a dark blue panel with a green
upload bar and a red download bar over a yellow common part, like the
graph's bars. Run it again after changing the drawing; the .ico is
committed so that the build needs no Python.
"""
import struct
import sys
from pathlib import Path

SIZE = 16
PANEL = (74, 10, 20)      # blue, green, red (BGR as stored)
EDGE = (128, 128, 128)
UP = (0, 255, 0)
DOWN = (0, 0, 255)
BOTH = (0, 255, 255)


def pixel(x, y):
    """Colour at column x, row y (row 0 at the top)."""
    if x in (0, SIZE - 1) or y in (0, SIZE - 1):
        return EDGE
    bars = {3: (9, 4), 4: (9, 4), 7: (5, 11), 8: (5, 11), 11: (12, 6), 12: (12, 6)}
    if x in bars:
        up, down = bars[x]
        height = SIZE - 1 - y          # 1 for the row above the bottom edge
        if height <= min(up, down):
            return BOTH
        if height <= up:
            return UP
        if height <= down:
            return DOWN
    return PANEL


def icon_bytes():
    row_bytes = SIZE * 3                           # 48: already a multiple of 4
    xor = b"".join(bytes(c for x in range(SIZE) for c in pixel(x, y))
                   for y in reversed(range(SIZE)))  # bottom-up rows
    mask_row = 4                                    # 16 bits padded to 32
    and_mask = bytes(mask_row * SIZE)               # fully opaque
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 24, 0,
                         len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    assert len(xor) == row_bytes * SIZE
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(image), 6 + 16)
    return directory + entry + image


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else \
        Path(__file__).resolve().parent / "orvalet.ico"
    target.write_bytes(icon_bytes())
    print(f"wrote {target}")


if __name__ == "__main__":
    main()
