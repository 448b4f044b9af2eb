#!/usr/bin/env python3
"""Writes small bitmaps of every kind the BMP decoder reads into the folder
given, as seeds for its fuzz target: 1, 4 and 8-bit palettes, 16-bit bit
fields, 24 and 32-bit, bottom-up and top-down, with the three header sizes."""
import struct
import sys
from pathlib import Path

WIDTH, HEIGHT = 5, 3


def pixel(x, y):
    return ((x * 50) & 0xFF, (y * 80) & 0xFF, ((x + y) * 30) & 0xFF)  # b, g, r


def rows(bits, top_down):
    out = []
    order = range(HEIGHT) if top_down else range(HEIGHT - 1, -1, -1)
    for y in order:
        row = bytearray()
        if bits in (1, 4, 8):
            values = [(x + y) % (1 << min(bits, 2)) for x in range(WIDTH)]
            acc, n = 0, 0
            for v in values:
                acc = (acc << bits) | v
                n += bits
                if n == 8:
                    row.append(acc)
                    acc, n = 0, 0
            if n:
                row.append(acc << (8 - n))
        elif bits == 16:
            for x in range(WIDTH):
                b, g, r = pixel(x, y)
                row += struct.pack('<H', ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3))
        else:
            for x in range(WIDTH):
                row += bytes(pixel(x, y)) + (b'\xff' if bits == 32 else b'')
        row += b'\0' * (-len(row) % 4)
        out.append(bytes(row))
    return b''.join(out)


def bitmap(bits, header_size, top_down=False):
    palette = b''
    if bits <= 8:
        palette = b''.join(bytes(((i * 60) & 0xFF, (255 - i * 60) & 0xFF, (i * 30) & 0xFF, 0)) for i in range(1 << bits))
    masks = b''
    compression = 0
    if bits == 16:
        compression = 3  # bit fields
        masks = struct.pack('<III', 0xF800, 0x07E0, 0x001F)
    pixels = rows(bits, top_down)
    if header_size == 12:
        info = struct.pack('<IHHHH', 12, WIDTH, HEIGHT, 1, bits)
        palette = b''.join(p[:3] for p in (palette[i:i + 4] for i in range(0, len(palette), 4)))
    else:
        height = -HEIGHT if top_down else HEIGHT
        info = struct.pack('<IiiHHIIiiII', header_size, WIDTH, height, 1, bits, compression,
                           len(pixels), 2835, 2835, 0, 0)
        if header_size > 40:
            extra = masks + (struct.pack('<I', 0xFF000000 if bits == 32 else 0) if masks else b'')
            info += extra.ljust(header_size - 40, b'\0')
            masks = b''
    offset = 14 + len(info) + len(masks) + len(palette)
    head = b'BM' + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset)
    return head + info + masks + palette + pixels


def main():
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    kinds = [(1, 40, False), (4, 40, False), (8, 40, True), (8, 12, False), (16, 40, False),
             (16, 108, True), (24, 40, False), (24, 12, False), (32, 40, True), (32, 124, False)]
    for bits, header, top_down in kinds:
        name = f'seed{bits}_{header}{"_topdown" if top_down else ""}.bmp'
        (folder / name).write_bytes(bitmap(bits, header, top_down))


if __name__ == '__main__':
    main()
