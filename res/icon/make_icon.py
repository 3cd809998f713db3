#!/usr/bin/env python3
"""Writes the program's icon from its text picture.

  make_icon.py PICTURE.txt --ico OUT.ico        one 32x32 16-colour image
  make_icon.py PICTURE.txt --png SIZE OUT.png   RGBA, scaled nearest neighbour
"""
import argparse
import struct
import sys
import zlib

# The 16 standard colours, in the order of the 4-bit palette.
COLOURS = [
    ("K", 0x000000), ("r", 0x800000), ("n", 0x008000), ("y", 0x808000),
    ("b", 0x000080), ("m", 0x800080), ("c", 0x008080), ("w", 0xC0C0C0),
    ("g", 0x808080), ("R", 0xFF0000), ("G", 0x00FF00), ("Y", 0xFFFF00),
    ("B", 0x0000FF), ("M", 0xFF00FF), ("C", 0x00FFFF), ("W", 0xFFFFFF),
]
INDEX_OF = {letter: i for i, (letter, _) in enumerate(COLOURS)}
TRANSPARENT = "."
SIZE = 32


def read_picture(path):
    """Rows of palette indices, None where transparent."""
    rows = []
    with open(path, encoding="ascii") as f:
        for line_number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if line.startswith("#") or not line:
                continue
            if len(line) != SIZE:
                sys.exit(f"{path}:{line_number}: a row has {SIZE} pixels")
            row = []
            for ch in line:
                if ch == TRANSPARENT:
                    row.append(None)
                elif ch in INDEX_OF:
                    row.append(INDEX_OF[ch])
                else:
                    sys.exit(f"{path}:{line_number}: unknown colour '{ch}'")
            rows.append(row)
    if len(rows) != SIZE:
        sys.exit(f"{path}: the picture has {SIZE} rows, not {len(rows)}")
    return rows


def ico_bytes(rows):
    xor_row_bytes = SIZE // 2          # 4 bits a pixel, already a multiple of 4
    and_row_bytes = 4                  # 1 bit a pixel, rows padded to 4 bytes
    pixel_bytes = SIZE * xor_row_bytes + SIZE * and_row_bytes
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0,
                         pixel_bytes, 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", rgb & 0xFF, (rgb >> 8) & 0xFF,
                                   rgb >> 16, 0) for _, rgb in COLOURS)
    xor_mask = bytearray()
    and_mask = bytearray()
    for row in reversed(rows):         # bottom-up like every DIB
        for x in range(0, SIZE, 2):
            hi, lo = row[x] or 0, row[x + 1] or 0
            xor_mask.append((hi << 4) | lo)
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        and_mask += struct.pack(">I", bits)
    image = header + palette + bytes(xor_mask) + bytes(and_mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image),
                        len(directory) + 16)
    return directory + entry + image


def png_bytes(rows, size):
    raw = bytearray()
    for y in range(size):
        raw.append(0)                  # filter type None
        row = rows[y * SIZE // size]
        for x in range(size):
            index = row[x * SIZE // size]
            if index is None:
                raw += b"\0\0\0\0"
            else:
                rgb = COLOURS[index][1]
                raw += bytes((rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF, 255))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(
            ">I", zlib.crc32(body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("picture")
    parser.add_argument("--ico", metavar="OUT")
    parser.add_argument("--png", nargs=2, metavar=("SIZE", "OUT"))
    args = parser.parse_args()
    rows = read_picture(args.picture)
    if args.ico:
        with open(args.ico, "wb") as f:
            f.write(ico_bytes(rows))
    if args.png:
        size = int(args.png[0])
        if size < 1:
            sys.exit("the PNG size is at least 1")
        with open(args.png[1], "wb") as f:
            f.write(png_bytes(rows, size))


if __name__ == "__main__":
    main()
