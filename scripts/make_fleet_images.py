#!/usr/bin/env python3
"""Draws Reachlet Fleet's icon, toolbar strip and state dots.

Writes resources/fleet.ico (25 by 30 and 32 by 32, 32 bits per pixel),
resources/fleet_toolbar.bmp (five 16 by 16 buttons: add, edit, remove, start
all, stop all) and resources/fleet_states.bmp (three 16 by 16 dots: grey, green,
red, in the order of a host's state: not yet, up, down), both 24-bit with
magenta as the transparent colour. Run it again only to change the artwork;
the files are committed.
"""
import math
import struct
import sys

from make_icon import write_icon


CLEAR = (255, 0, 255)


def icon_pixel(x, y, w, h):
    """Three hosts on a rounded square: two green, one red, and an arc."""
    scale = min(w, h) / 32.0
    r = 5 * scale
    dx = max(abs(x + 0.5 - w / 2.0) - (w / 2.0 - r - 0.5), 0)
    dy = max(abs(y + 0.5 - h / 2.0) - (h / 2.0 - r - 0.5), 0)
    if math.hypot(dx, dy) > r:
        return (0, 0, 0, 0)
    for (fx, fy, colour) in ((0.25, 0.68, (60, 200, 40)), (0.5, 0.68, (60, 200, 40)), (0.75, 0.68, (40, 40, 220))):
        if math.hypot(x + 0.5 - fx * w, y + 0.5 - fy * h) <= 3.4 * scale:
            return colour + (255,)
    d = math.hypot(x + 0.5 - w / 2.0, y + 0.5 - h * 0.68)
    angle = math.degrees(math.atan2(h * 0.68 - (y + 0.5), x + 0.5 - w / 2.0))
    if 30 <= angle <= 150 and abs(d - 12 * scale) <= 1.4 * scale:
        return (255, 255, 255, 255)
    return (120, 70, 30, 255)


def dot(x, y, colour):
    return colour if math.hypot(x - 7.5, y - 7.5) <= 5.5 else CLEAR


def button(kind, x, y):
    """RGB of one pixel of a 16 by 16 toolbar image."""
    if kind == 'add':
        return (0, 150, 0) if (6 <= x <= 9 and 2 <= y <= 13) or (2 <= x <= 13 and 6 <= y <= 9) else CLEAR
    if kind == 'edit':
        on = abs((x - y)) <= 1 and 2 <= x <= 13
        return (30, 60, 160) if on else (CLEAR if not (y >= 13 and 1 <= x <= 14) else (30, 60, 160))
    if kind == 'remove':
        return (200, 0, 0) if (abs(x - y) <= 1 or abs(x + y - 15) <= 1) and 2 <= x <= 13 else CLEAR
    if kind == 'start':
        return (0, 150, 0) if 3 <= x <= 13 and abs(y - 7.5) <= (x - 3) * 0.55 + 0.5 and x <= 13 - 0 else CLEAR
    if kind == 'stop':
        return (200, 0, 0) if 3 <= x <= 12 and 3 <= y <= 12 else CLEAR
    raise ValueError(kind)


def write_bmp(path, width, height, pixel):
    stride = (width * 3 + 3) & ~3
    rows = b''
    for y in reversed(range(height)):
        row = b''.join(struct.pack('<BBB', *reversed(pixel(x, y))) for x in range(width))
        rows += row + b'\0' * (stride - width * 3)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    with open(path, 'wb') as f:
        f.write(head + info + rows)


def main(folder):
    write_icon(f'{folder}/fleet.ico', icon_pixel)
    kinds = ['add', 'edit', 'remove', 'start', 'stop']
    write_bmp(f'{folder}/fleet_toolbar.bmp', 16 * len(kinds), 16, lambda x, y: button(kinds[x // 16], x % 16, y))
    states = [(160, 160, 160), (0, 180, 0), (220, 0, 0)]
    write_bmp(f'{folder}/fleet_states.bmp', 48, 16, lambda x, y: dot(x % 16, y, states[x // 16]))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources')
