#!/usr/bin/env python3
"""Writes small inputs that stay inside every limit yet ask tcmap for the most
work, into the folder given (nothing this makes is kept in the tree):

  storm.dat, huge_picture.ini  a 26 KB best track with wind radii, drawn with
                               the grid and radii on a 32720 x 8140 picture
  GridData.hostile, grid.ini   a 16 MiB grid file of 419 000 pole-to-pole lines,
                               TCV style
  maps/huge_map.png, huge_map.ini
                               a flat PNG map of 32767 x 8191 (under 1 MB)
"""
import struct
import sys
import zlib
from pathlib import Path


def best_track():
    # A long-lived storm of the western Pacific, every fix with 34, 50 and
    # 64 kt radii: three records a fix time.
    lines = []
    fixes = 52
    for i in range(fixes):
        day, hour = 1 + i // 4, (i % 4) * 6
        lat = 100 + i * 5  # tenths of a degree
        lon = 1700 - i * 12
        wind = min(140, 35 + i * 3)
        for threshold in (34, 50, 64):
            radius = max(10, 200 - threshold * 2)
            lines.append(
                f"WP, 15, 201407{day:02d}{hour:02d},   , BEST,   0, {lat:3d}N, {lon:4d}E, {wind:3d},"
                f"  950, TY,  {threshold:2d}, NEQ, {radius:4d}, {radius - 10:4d}, {radius - 20:4d},"
                f" {radius - 30:4d}, 1004,  250,  20,   0,   0,   W,   0,    ,   0,   0,     HOSTILE,"
                f" D,")
    return "\r\n".join(lines) + "\r\n"


def grid_data(lines=419000):
    # Dashed lines from pole to pole across the whole map, as the meridians of
    # the real grid are but skewed: each crosses the picture once, and its two
    # copies across the 0° seam lie beside it.
    out = []
    for i in range(lines):
        out.append(f"g|255/255/255/56/0.75/4|-90/{i % 360}/90/{(i * 7) % 360}\n")
    return "".join(out)


def flat_png(width=32767, height=8191):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    row = b"\0" + bytes((20, 60, 110)) * width
    packer = zlib.compressobj(9)
    compressed = b"".join(packer.compress(row) for _ in range(height)) + packer.flush()
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", compressed) +
            chunk(b"IEND", b""))


def main():
    folder = Path(sys.argv[1])
    (folder / "maps").mkdir(parents=True, exist_ok=True)
    (folder / "storm.dat").write_text(best_track(), newline="")
    (folder / "huge_picture.ini").write_text(
        "[Borvane4]\nMode=0\nMap=\"maps/world.png\"\nWidth=32720\nHeight=8140\n"
        "ShowGrid=1\nDrawRad=1\nDrawLegends=5\n")
    (folder / "GridData.hostile").write_text(grid_data(), newline="")
    (folder / "grid.ini").write_text(
        "[Borvane4]\nMode=1\nMap1=\"maps/world.png\"\nShowGrid1=1\nShowText1=1\n")
    (folder / "maps" / "huge_map.png").write_bytes(flat_png())
    (folder / "huge_map.ini").write_text("[Borvane4]\nMode=0\nMap=\"maps/huge_map.png\"\n")


if __name__ == "__main__":
    main()
