#!/usr/bin/env python3
"""Writes src/i18n/gbk_big5_table.cpp, the GBK -> BIG5 table behind the
traditional-Chinese conversion of language texts.

The table has one 16-bit entry per GBK cell: lead bytes 0x81..0xFE, trail
bytes 0x40..0x7E then 0x80..0xFE (190 per lead, 23 940 in all). An entry is
the BIG5 code of the cell's character when BIG5 has it; otherwise the BIG5
code of its first traditional variant (Unihan kTraditionalVariant, skipping the
character itself) that BIG5 has; 0 when there is none, so the character is kept
as it is.

All GBK and BIG5 work goes through the C library's iconv (loaded with ctypes):
the program converts with the same iconv at run time, and other codecs' BIG5
tables differ from it.

Usage: tools/gen_gbk_big5_table.py [Unihan_Variants.txt(.bz2)] [output.cpp]
"""

import bz2
import ctypes
import ctypes.util
import os
import sys

DEFAULT_UNIHAN = "/usr/share/unicode/Unihan_Variants.txt.bz2"
HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUTPUT = os.path.join(HERE, "..", "src", "i18n", "gbk_big5_table.cpp")

TRAILS = list(range(0x40, 0x7F)) + list(range(0x80, 0xFF))
assert len(TRAILS) == 190


class Iconv:
    """One glibc iconv descriptor converting whole small byte strings."""

    _libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
    _libc.iconv_open.restype = ctypes.c_void_p
    _libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
    _libc.iconv.restype = ctypes.c_size_t
    _libc.iconv.argtypes = [ctypes.c_void_p,
                            ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t),
                            ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t)]
    _libc.iconv_close.argtypes = [ctypes.c_void_p]

    def __init__(self, to_code, from_code):
        self.cd = self._libc.iconv_open(to_code.encode(), from_code.encode())
        if self.cd in (None, ctypes.c_void_p(-1).value):
            raise RuntimeError(f"iconv cannot convert {from_code} to {to_code}")

    def convert(self, data):
        """The converted bytes, or None when the input is invalid or incomplete."""
        self._libc.iconv(self.cd, None, None, None, None)  # reset the shift state
        out = ctypes.create_string_buffer(64)
        in_buf = ctypes.c_char_p(data)
        in_left = ctypes.c_size_t(len(data))
        out_ptr = ctypes.cast(out, ctypes.c_char_p)
        out_left = ctypes.c_size_t(len(out))
        result = self._libc.iconv(self.cd, ctypes.byref(in_buf), ctypes.byref(in_left),
                                  ctypes.byref(out_ptr), ctypes.byref(out_left))
        if result == ctypes.c_size_t(-1).value or in_left.value != 0:
            return None
        # Flush any pending output of a stateful converter.
        flushed = self._libc.iconv(self.cd, None, None, ctypes.byref(out_ptr),
                                   ctypes.byref(out_left))
        if flushed == ctypes.c_size_t(-1).value:
            return None
        return out.raw[: len(out) - out_left.value]


def read_traditional_variants(path):
    opener = bz2.open if path.endswith(".bz2") else open
    variants = {}
    with opener(path, "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            parts = line.rstrip("\n").split("\t")
            if len(parts) < 3 or parts[1] != "kTraditionalVariant":
                continue
            source = chr(int(parts[0][2:], 16))
            targets = [chr(int(t.split("<")[0][2:], 16)) for t in parts[2].split()]
            variants[source] = targets
    return variants


def big5_code(big5_encoder, big5_decoder, char):
    """The two-byte BIG5 code of a character, when BIG5 round-trips it."""
    encoded = big5_encoder.convert(char.encode("utf-8"))
    if encoded is None or len(encoded) != 2:
        return None
    if big5_decoder.convert(encoded) != char.encode("utf-8"):
        return None
    return (encoded[0] << 8) | encoded[1]


def build_table(variants):
    gbk_decoder = Iconv("UTF-8", "GBK")
    big5_encoder = Iconv("BIG5", "UTF-8")
    big5_decoder = Iconv("UTF-8", "BIG5")
    table = []
    stats = {"same": 0, "variant": 0, "none": 0, "invalid": 0}
    for lead in range(0x81, 0xFF):
        for trail in TRAILS:
            decoded = gbk_decoder.convert(bytes([lead, trail]))
            if decoded is None:
                table.append(0)
                stats["invalid"] += 1
                continue
            char = decoded.decode("utf-8")
            code = big5_code(big5_encoder, big5_decoder, char)
            if code is not None:
                stats["same"] += 1
            else:
                # Unihan lists some characters as their own first variant
                # (办: 办 辦); the first other variant with a BIG5 code counts.
                for variant in variants.get(char, []):
                    if variant != char:
                        code = big5_code(big5_encoder, big5_decoder, variant)
                        if code is not None:
                            break
                stats["variant" if code is not None else "none"] += 1
            table.append(code or 0)
    assert len(table) == 23940
    return table, stats


def write_table(table, stats, path):
    lines = [
        "// Generated by tools/gen_gbk_big5_table.py from Unihan_Variants.txt and the",
        "// C library's iconv. Do not edit; run the script again instead.",
        "//",
        f"// {stats['same']} cells keep their own character, {stats['variant']} take their",
        f"// traditional form, {stats['none']} have no BIG5 code (0), {stats['invalid']} are",
        "// not GBK characters (0).",
        "#include \"i18n/gbk_big5_table.h\"",
        "",
        "namespace tcmap {",
        "",
        "const std::array<uint16_t, kGbkCellCount> kGbkToBig5 = {",
    ]
    for start in range(0, len(table), 12):
        row = table[start:start + 12]
        lines.append("    " + " ".join(f"0x{v:04X}," for v in row))
    lines += ["};", "", "}  // namespace tcmap", ""]
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines))


def main():
    unihan = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_UNIHAN
    output = os.path.normpath(sys.argv[2] if len(sys.argv) > 2 else DEFAULT_OUTPUT)
    table, stats = build_table(read_traditional_variants(unihan))
    write_table(table, stats, output)
    print(f"wrote {output}: {stats}")


if __name__ == "__main__":
    main()
