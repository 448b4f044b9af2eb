#!/usr/bin/env python3
"""Writes small vector world files into the folder given, as seeds for its
fuzz target: an island across 180°, one across 0°, a square with a lake, a
polar coast once round the globe, and border lines, in the layout that
tools/world_map/extract_world_vector.js writes."""
import struct
import sys
import zlib
from pathlib import Path

UNITS = 10000


def varint(value):
    out = bytearray()
    while value >= 0x80:
        out.append((value & 0x7F) | 0x80)
        value >>= 7
    out.append(value)
    return out


def zigzag(value):
    return varint(value * 2 if value >= 0 else -value * 2 - 1)


def run(points):
    out = varint(len(points))
    x = y = 0
    for lon, lat in points:
        nx, ny = round(lon * UNITS), round(lat * UNITS)
        out += zigzag(nx - x) + zigzag(ny - y)
        x, y = nx, ny
    return out


def world(polygons, lines):
    body = bytearray()
    points = 0
    for rings in polygons:
        body += varint(len(rings))
        for ring in rings:
            body += run(ring)
            points += len(ring)
    for line in lines:
        body += run(line)
        points += len(line)
    data = b"TCMAPVW1" + struct.pack("<4I", UNITS, len(polygons), len(lines), points) + body
    return data + struct.pack("<I", zlib.crc32(data))


ACROSS_180 = [[(179, 10), (-179, 10), (-179, 12), (179, 12), (179, 10)]]
ACROSS_0 = [[(-1, 40), (1, 40), (1, 42), (-1, 42), (-1, 40)]]
LAKE = [[(20, 20), (40, 20), (40, 30), (20, 30), (20, 20)],
        [(25, 22), (30, 22), (30, 27), (25, 27), (25, 22)]]
POLAR = [[(-180, -70), (-90, -72), (0, -70), (90, -72), (180, -70)]]
BORDERS = [[(178, 60), (-178, 62)], [(10, 50), (20, 50), (20, 55)]]

folder = Path(sys.argv[1])
folder.mkdir(parents=True, exist_ok=True)
(folder / "islands.bin").write_bytes(world([ACROSS_180, ACROSS_0], []))
(folder / "lake_and_pole.bin").write_bytes(world([LAKE, POLAR], BORDERS))
(folder / "borders_only.bin").write_bytes(world([], BORDERS))
