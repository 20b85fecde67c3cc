#!/usr/bin/env python3
"""Writes the small seed corpora of the palette fuzzers:
tests/palette/corpus/gradient (gradient bytes) and
tests/palette/corpus/palette_value (name length, UTF-16 name, gradient)."""
import os
import struct
import sys

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "palette", "corpus")


def gradient(pegs, method=4, quantisation=-1, use_background=0, count=None,
             start=0x0000FF, end=0xFF00FF, background=0):
    out = struct.pack("<Id", start, 0.0) + struct.pack("<Id", end, 1.0) + struct.pack("<Id", background, 0.0)
    out += struct.pack("<Iiii", use_background, method, quantisation, len(pegs) if count is None else count)
    for colour, position in pegs:
        out += struct.pack("<Id", colour, position)
    return out


def value(name, body, stated=None):
    raw = name.encode("utf-16-le")
    return struct.pack("<I", len(raw) if stated is None else stated) + raw + body


rainbow = [(0x0080FF, 1 / 6), (0x00FFFF, 2 / 6), (0x00FF00, 3 / 6), (0xFFFF00, 4 / 6), (0xFF0000, 5 / 6)]
gradients = {
    "empty": b"",
    "no_pegs": gradient([]),
    "rainbow": gradient(rainbow),
    "three_pegs_hsl": gradient([(0x111111, 0.1), (0x222222, 0.5), (0x333333, 0.9)], method=7, quantisation=8),
    "background_linear": gradient([(0xABCDEF, 0.0)], method=0, use_background=1, background=0x00FF00),
    "count_too_large": gradient([(0x123456, 0.5)], count=0x7FFFFFFF),
    "count_negative": gradient([(0x123456, 0.5)], count=-3),
    "unsorted_nan": gradient([(1, 0.9), (2, float("nan")), (3, 4.0), (4, -1.0)], method=9),
    "unknown_method": gradient([(5, 0.5)], method=12, quantisation=0),
    "truncated": gradient(rainbow)[:70],
}
values = {
    "default": value("Default", gradients["rainbow"]),
    "five_chars_no_pegs": value("Ocean", gradients["no_pegs"]),
    "sixty_two_bytes": value("Ocean", gradients["no_pegs"])[:62],
    "odd_length": value("Fire", b"!" + gradients["three_pegs_hsl"], stated=9),
    "long_name": value("x" * 300, gradients["no_pegs"]),
    "huge_length": value("Sea", b"", stated=0xFFFFFFF0),
    "empty": b"",
}

for folder, seeds in (("gradient", gradients), ("palette_value", values)):
    path = os.path.join(root, folder)
    os.makedirs(path, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(path, name), "wb") as f:
            f.write(data)
sys.exit(0)
