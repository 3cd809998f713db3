#!/usr/bin/env python3
"""Compares where two screens carry text: every cell of the message window
(columns 54 + 25c, lines 348 + 32n) and the bands of the free text and the
number. Glyphs differ from rasteriser to rasteriser, so a cell counts as
inked when the middle of it holds a few pixels of the text's colour; and in
the message window most of the expected ink must lie within a pixel of ink
on the screen, so that a box of tofu in place of a glyph is told apart.

usage: inked_cells.py EXPECTED.png SCREEN.png   (exit status 1 when they differ)
"""
import subprocess
import sys

WIDTH, HEIGHT = 640, 480
WHITE, RED = (255, 255, 255), (255, 0, 0)


def pixels(path):
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"],
                         check=True, capture_output=True).stdout
    return raw


def count(raw, colour, left, top, right, bottom):
    n = 0
    for y in range(top, bottom):
        row = y * WIDTH * 3
        for x in range(left, right):
            i = row + 3 * x
            if (raw[i], raw[i + 1], raw[i + 2]) == colour:
                n += 1
    return n


def inked(raw):
    marks = []
    for line in range(3):
        top = 348 + 32 * line
        marks.append("".join(
            "#" if count(raw, WHITE, 54 + 25 * c + 4, top + 4, 54 + 25 * c + 21,
                         top + 28) >= 6 else "."
            for c in range(22)))
    # The free text at (300, 60) and the number at (300, 160).
    marks.append("text " + ("#" if count(raw, WHITE, 300, 60, 460, 90) >= 20 else "."))
    marks.append("number " + ("#" if count(raw, RED, 300, 160, 460, 190) >= 20 else "."))
    return marks


def ink_set(raw, left, top, right, bottom):
    return {(x, y) for y in range(top, bottom) for x in range(left, right)
            if tuple(raw[(y * WIDTH + x) * 3:(y * WIDTH + x) * 3 + 3]) == WHITE}


def shared_ink(expected_raw, screen_raw):
    """The part of the message window's expected ink that the screen has
    within one pixel."""
    area = (54, 348, 54 + 25 * 22, 348 + 32 * 3)
    expected, screen = ink_set(expected_raw, *area), ink_set(screen_raw, *area)
    near = sum(1 for (x, y) in expected
               if any((x + dx, y + dy) in screen for dx in (-1, 0, 1) for dy in (-1, 0, 1)))
    return near / max(len(expected), 1)


def main():
    expected_raw, screen_raw = pixels(sys.argv[1]), pixels(sys.argv[2])
    expected, screen = inked(expected_raw), inked(screen_raw)
    if expected != screen:
        print("expected:", *expected, sep="\n  ")
        print("on the screen:", *screen, sep="\n  ")
        sys.exit(1)
    shared = shared_ink(expected_raw, screen_raw)
    if shared < 0.9:
        print(f"only {shared:.0%} of the message's ink is where it is expected")
        sys.exit(1)


if __name__ == "__main__":
    main()
