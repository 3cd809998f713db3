#!/usr/bin/env python3
# Compares where two screens carry text: every cell of the message window
# (columns 54 + 25c, lines 348 + 32n) and the bands of the free text and the
# number. Glyphs differ from rasteriser to rasteriser, so a cell counts as
# inked when the middle of it holds a few pixels of the text's colour; and in
# the message window most of the expected ink must lie within a pixel of ink
# on the screen, so that a box of tofu in place of a glyph is told apart.
#
# usage: inked_cells.py EXPECTED.png SCREEN.png   (exit status 1 when they differ)

import functools
import subprocess
import sys

WIDTH = 640
WHITE, RED = (255, 255, 255), (255, 0, 0)
MESSAGE = (54, 348, 54 + 25 * 22, 348 + 32 * 3)


@functools.cache
def pixels(path):
    return subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout


def ink(path, colour, left, top, right, bottom):
    """The pixels of the colour in the area."""
    raw = pixels(path)
    return {(x, y) for y in range(top, bottom) for x in range(left, right)
            if tuple(raw[(y * WIDTH + x) * 3:(y * WIDTH + x) * 3 + 3]) == colour}


def inked(path):
    white = ink(path, WHITE, *MESSAGE)
    marks = ["".join("#" if sum(1 for x in range(54 + 25 * c + 4, 54 + 25 * c + 21)
                                for y in range(348 + 32 * line + 4, 348 + 32 * line + 28)
                                if (x, y) in white) >= 6 else "."
                     for c in range(22)) for line in range(3)]
    # The free text at (300, 60) and the number at (300, 160).
    marks.append("text " + ("#" if len(ink(path, WHITE, 300, 60, 460, 90)) >= 20 else "."))
    marks.append("number " + ("#" if len(ink(path, RED, 300, 160, 460, 190)) >= 20 else "."))
    return marks


if __name__ == "__main__":
    expected, screen = inked(sys.argv[1]), inked(sys.argv[2])
    if expected != screen:
        print("expected:", *expected, "on the screen:", *screen, sep="\n  ")
        sys.exit(1)
    # The part of the message window's expected ink that the screen has within one pixel.
    wanted, shown = ink(sys.argv[1], WHITE, *MESSAGE), ink(sys.argv[2], WHITE, *MESSAGE)
    near = sum(1 for (x, y) in wanted if any((x + dx, y + dy) in shown for dx in (-1, 0, 1) for dy in (-1, 0, 1)))
    if near < 0.9 * max(len(wanted), 1):
        sys.exit(f"only {near / max(len(wanted), 1):.0%} of the message's ink is where it is expected")
