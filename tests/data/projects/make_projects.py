#!/usr/bin/env python3
"""Writes the project files the tests read, straight from the file layout, without
the program's own writer."""
import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent


def point(left, ptype, right, rx, ry, x, y):
    return struct.pack('<fBfffii', left, ptype, right, rx, ry, x, y)


def light(radius, power, map_x, map_y, map_radius, add, pad_x, pad_y, enabled, pad, color,
          map_power):
    return struct.pack('<10iB3sIi', radius, power, map_x, map_y, map_radius, *add, pad_x, pad_y,
                       enabled, pad, color, map_power)


def short_string(text, capacity):
    raw = text.encode('cp1252')
    return bytes([len(raw)]) + raw + bytes(capacity - len(raw))


def text_record(font, size, style, caption, x, y, colors, effects, effect_color, angle,
                opacity):
    rec = (short_string(font, 50) + b'\x00' + struct.pack('<i', size) +
           short_string(style, 30) + short_string(caption, 255) + b'\x00' +
           struct.pack('<ii3I3iIiB', x, y, *colors, *effects, effect_color, angle, opacity) +
           b'\x00\x00\x00')
    assert len(rec) == 388
    return rec


def bmp24(width, rows):
    """rows: top row first, each a list of (b, g, r)."""
    stride = (width * 3 + 3) // 4 * 4
    pixels = b''
    for row in reversed(rows):
        line = b''.join(bytes(p) for p in row)
        pixels += line + bytes(stride - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, width, len(rows), 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return b'BM' + struct.pack('<IHHI', 54 + len(pixels), 0, 0, 54) + header + pixels


def glyph_texture_project():
    data = struct.pack('<Ii', 0x49847509, 3)
    data += point(30.0, 0, 30.0, 1.0, 0.0, 260, 150)
    data += point(12.5, 1, 7.25, 0.6, -0.8, 140, 90)
    data += point(30.0, 2, 30.0, 1.0, 0.0, 80, 200)
    data += struct.pack('<I', 0x00336699)
    data += light(120, 50, 128, 128, 120, (74, 74, 74), 32, 32, 0, b'\x00\x00\x00', 0xFFFFFF, 50)
    data += light(90, 30, 40, 160, 90, (0, 0, 45), 10, 40, 1, b'\x07\x00\x00', 0xFF0000, 30)
    data += light(200, 100, 256, 0, 200, (149, 149, 149), 64, 0, 1, b'\x00\x00\x00', 0xFFFFFF,
                  100)
    data += light(40, 0, 0, 0, 40, (0, 0, 0), 0, 0, 0, b'\x00\x00\x00', 0x000000, 0)
    data += text_record('Times New Roman', 14, '[1,0,1]', 'Café', -4, 6,
                        (0x0000FF, 0x00FF00, 0xFF0000), (1, 3, 4), 0x123456, 45, 200)
    data += struct.pack('<B3sIiiiii', 1, b'\x00\x00\x00', 0x202020, 12, 3, 5, 2, 300)
    data += struct.pack('<BB2sIIiiB3s', 1, 0, b'\x00\x00', 1, 0x00FF00FF, 7, -9, 128,
                        b'\x00\x00\x00')
    data += struct.pack('<IiiiB3siiB3s', 0x00E0D0C0, 0xC0, 0xD0, 0xE0, 90, b'\x00\x00\x00',
                        0xC0, 0xD0, 1, b'\x00\x00\x00')
    data += bmp24(2, [[(255, 0, 255), (0, 0, 255)], [(0, 255, 0), (255, 0, 0)]])
    data += bmp24(3, [[(10, 20, 30), (40, 50, 60), (70, 80, 90)]])
    return data


if __name__ == '__main__':
    (HERE / 'glyph_texture.tbp').write_bytes(glyph_texture_project())
