#!/usr/bin/env python3
"""Writes demo.tbp, the project the README's web-output example renders: the library's
pill in blue with a white bold caption and a soft shadow."""
import struct
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent.parent / 'tests' / 'data' / 'projects'))
from make_projects import light, point, text_record  # noqa: E402

PILL = [  # x, y, left, right, rx, ry: the shipped Buttons/Pill.shp, all "Bezeir" points
    (280, 150, 10.5, 10.5, 0, 1), (252, 122, 23, 10.5, 1, 0), (148, 122, 10.5, 23, 1, 0),
    (120, 150, 10.5, 10.5, 0, -1), (148, 178, 23, 10.5, -1, 0), (252, 178, 10.5, 23, -1, 0)]


def demo_project():
    data = struct.pack('<Ii', 0x49847509, len(PILL))
    for x, y, left, right, rx, ry in PILL:
        data += point(left, 1, right, rx, ry, x, y)
    data += struct.pack('<I', 0x00B05A1E)  # button colour, 0x00BBGGRR
    data += light(120, 70, 80, 72, 120, (0, 0, 0), 20, 18, 1, b'\x00\x00\x00', 0xFFFFFF, 70)
    data += light(90, 35, 192, 200, 90, (0, 0, 0), 48, 50, 1, b'\x00\x00\x00', 0xFFD0A0, 35)
    data += light(40, 0, 0, 0, 40, (0, 0, 0), 0, 0, 0, b'\x00\x00\x00', 0x000000, 0)
    data += light(40, 0, 0, 0, 40, (0, 0, 0), 0, 0, 0, b'\x00\x00\x00', 0x000000, 0)
    data += text_record('Arial', 14, '[1,0,0]', 'Menu', 0, 0,
                        (0xFFFFFF, 0x80FFFF, 0xFFFFFF), (3, 3, 0), 0x402008, 0, 0)
    data += struct.pack('<B3sIiiiii', 1, b'\x00\x00\x00', 0x303030, 6, 4, 5, 1, 315)
    data += struct.pack('<BB2sIIiiB3s', 0, 1, b'\x00\x00', 0, 0x00FFFFFF, 0, 0, 50,
                        b'\x00\x00\x00')
    data += struct.pack('<IiiiB3siiB3s', 0x00FFFFFF, 255, 255, 255, 220, b'\x00\x00\x00',
                        255, 255, 0, b'\x00\x00\x00')
    return data


if __name__ == '__main__':
    (HERE / 'demo.tbp').write_bytes(demo_project())
