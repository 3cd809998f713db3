#!/usr/bin/env python3
"""Compares where two screens carry text: every cell of the message window
(columns 54 + 25c, lines 348 + 32n) and the bands of the free text and the
number. Glyphs differ from font to font, so a cell counts as inked when the
middle of it holds a few pixels of the text's colour.

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


def main():
    expected, screen = inked(pixels(sys.argv[1])), inked(pixels(sys.argv[2]))
    if expected != screen:
        print("expected:", *expected, sep="\n  ")
        print("on the screen:", *screen, sep="\n  ")
        sys.exit(1)


if __name__ == "__main__":
    main()
