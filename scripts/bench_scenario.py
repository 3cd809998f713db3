#!/usr/bin/env python3
"""Writes the window bench's scenario into FOLDER: data/mowa.snr and an
8-bit 640x480 picture with 256 distinct colours, so that a wrong colour,
a shifted row or a flipped picture changes the captured pixels."""
import os
import struct
import sys

WIDTH, HEIGHT = 640, 480

# Waits for a button; a left press leaves a red square where the pointer is,
# a right press a green one; then waits for the release and starts again.
SCENARIO = """gload"pic.bmp,0,0,0"
[wait]
get_mouse_state"@01"
if"@01=0,wait,down"
[down]
get_mouse_position"@02,@03"
@04=@02+16
@05=@03+16
if"@01=1,left,right"
[left]
boxfill"@02,@03,@04,@05,255"
goto"release"
[right]
boxfill"@02,@03,@04,@05,65280"
[release]
get_mouse_state"@01"
if"@01=0,wait,release"
"""


def picture():
    colours = b"".join(
        struct.pack("<BBBB", (i * 7) & 0xFF, (i * 3) & 0xFF, i, 0)
        for i in range(256))
    rows = []
    for stored_row in range(HEIGHT):  # bottom row first
        y = HEIGHT - 1 - stored_row
        rows.append(bytes(((x // 40) * 16 + (y // 30)) & 0xFF
                          if y < 240 else (x ^ y) & 0xFF
                          for x in range(WIDTH)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0,
                       len(pixels), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(colours)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + colours + pixels


def main():
    folder = sys.argv[1]
    os.makedirs(os.path.join(folder, "data"), exist_ok=True)
    with open(os.path.join(folder, "data", "mowa.snr"), "w",
              encoding="ascii", newline="\r\n") as f:
        f.write(SCENARIO)
    with open(os.path.join(folder, "pic.bmp"), "wb") as f:
        f.write(picture())


if __name__ == "__main__":
    main()
