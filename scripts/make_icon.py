#!/usr/bin/env python3
"""Draws the program's icon: a dot sending out two arcs, on a rounded square.

Writes resources/reachlet.ico with two 32-bit images, 25 by 30 and 32 by 32.
Run it again only to change the artwork; the .ico is committed.
"""
import math
import struct
import sys


def pixel(x, y, w, h):
    """Colour (b, g, r, a) of one pixel, with y counted from the top."""
    cx, cy = w / 2.0, h / 2.0 + h * 0.12
    scale = min(w, h) / 32.0
    # Rounded square background.
    r = 5 * scale
    dx = max(abs(x + 0.5 - w / 2.0) - (w / 2.0 - r - 0.5), 0)
    dy = max(abs(y + 0.5 - h / 2.0) - (h / 2.0 - r - 0.5), 0)
    if math.hypot(dx, dy) > r:
        return (0, 0, 0, 0)
    d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
    angle = math.degrees(math.atan2(cy - (y + 0.5), x + 0.5 - cx))
    upward = 35 <= angle <= 145
    if d <= 3.2 * scale:
        return (60, 200, 40, 255)          # the host: green dot
    for radius in (8.5, 14.0):
        if upward and abs(d - radius * scale) <= 1.4 * scale:
            return (255, 255, 255, 255)    # the signal arcs
    return (120, 70, 30, 255)              # dark blue ground


def image(w, h, pixel=pixel):
    """One 32-bit icon image of w by h drawn by pixel(x, y, w, h)."""
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(h)):
        rows.append(b''.join(struct.pack('<BBBB', *pixel(x, y, w, h)) for x in range(w)))
    xor = b''.join(rows)
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(h)):
        bits = bytearray(mask_stride)
        for x in range(w):
            if pixel(x, y, w, h)[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def write_icon(path, pixel=pixel):
    """An .ico of two images, 25 by 30 and 32 by 32."""
    sizes = [(25, 30), (32, 32)]
    images = [image(w, h, pixel) for w, h in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (w, h), data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', w, h, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    write_icon(sys.argv[1] if len(sys.argv) > 1 else 'resources/reachlet.ico')
