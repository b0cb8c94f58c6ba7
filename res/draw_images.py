#!/usr/bin/env python3
"""Draws Korvanel's icons, button faces and link cursor into res/.

Standard library only: the BMP, ICO and CUR bytes are written directly.
Run it after changing a drawing and commit the files it writes.
"""
import os
import struct

FACE = (216, 237, 248)
HERE = os.path.dirname(os.path.abspath(__file__))


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return ((px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2) ** 0.5


def in_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    d1, d2, d3 = side((px, py), a, b), side((px, py), b, c), side((px, py), c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def shifted(pixels, size, dx, dy, fill):
    w, h = size
    out = [[fill] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if 0 <= x - dx < w and 0 <= y - dy < h:
                out[y][x] = pixels[y - dy][x - dx]
    return out


# ---- file writers -------------------------------------------------------

def write_bmp24(name, pixels):
    h, w = len(pixels), len(pixels[0])
    stride = (w * 3 + 3) & ~3
    rows = b"".join(
        bytes(c for px in row for c in (px[2], px[1], px[0])).ljust(stride, b"\0")
        for row in reversed(pixels))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    save(name, head + info + rows)


def and_mask(w, h, transparent):
    stride = ((w + 31) // 32) * 4
    out = b""
    for y in reversed(range(h)):
        row = bytearray(stride)
        for x in range(w):
            if transparent(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += bytes(row)
    return out


def icon_image_32(rgba):
    h, w = len(rgba), len(rgba[0])
    xor = b"".join(bytes(c for px in row for c in (px[2], px[1], px[0], px[3]))
                   for row in reversed(rgba))
    mask = and_mask(w, h, lambda x, y: rgba[y][x][3] == 0)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def write_ico(name, images):
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for rgba in images:
        blob = icon_image_32(rgba)
        size = len(rgba) % 256
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    save(name, head + entries + blobs)


def write_cur8(name, indices, palette, hotspot):
    h, w = len(indices), len(indices[0])
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette).ljust(256 * 4, b"\0")
    stride = (w + 3) & ~3
    xor = b"".join(bytes(0 if i is None else i for i in row).ljust(stride, b"\0")
                   for row in reversed(indices))
    mask = and_mask(w, h, lambda x, y: indices[y][x] is None)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    blob = info + pal + xor + mask
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, hotspot[0], hotspot[1], len(blob), 22)
    save(name, head + entry + blob)


def save(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# ---- drawings -----------------------------------------------------------

def close_face(shift):
    """White cross with a grey outline on the face colour."""
    size = 24
    px = [[FACE] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            cx, cy = x + 0.5, y + 0.5
            d = min(seg_dist(cx, cy, 6.5, 6.5, 15.5, 15.5), seg_dist(cx, cy, 15.5, 6.5, 6.5, 15.5))
            if d <= 1.9:
                px[y][x] = (255, 255, 255)
            elif d <= 3.0:
                px[y][x] = (128, 128, 128)
    return shifted(px, (size, size), shift[0], shift[1], FACE)


def arrow_face(pointing_left, shift):
    """Blue triangle, light at the top shading to dark at the bottom."""
    size = 16
    px = [[FACE] * size for _ in range(size)]
    tip, back = (3, 7), 10
    tri = [(tip[0], tip[1] + 0.5), (back + 0.5, 1.5), (back + 0.5, 13.5)]
    for y in range(size):
        for x in range(size):
            if in_triangle(x + 0.5, y + 0.5, *tri):
                px[y][x] = lerp((140, 200, 255), (0, 50, 160), (y - 1) / 12)
    if not pointing_left:
        px = [list(reversed(row)) for row in px]
    return shifted(px, (size, size), shift[0], shift[1], FACE)


def alert_icon(size):
    """A window with a blue title bar and a yellow warning triangle."""
    s = size / 48
    sub = 4
    out = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(sub):
                for sx in range(sub):
                    c = alert_sample((x + (sx + 0.5) / sub) / s, (y + (sy + 0.5) / sub) / s)
                    if c:
                        for i in range(3):
                            acc[i] += c[i]
                        acc[3] += 1
            n = acc[3]
            row.append((0, 0, 0, 0) if n == 0 else
                       (acc[0] // n, acc[1] // n, acc[2] // n, round(255 * n / sub / sub)))
        out.append(row)
    return out


def alert_sample(x, y):
    tri = [(35, 19), (21, 45), (47, 45)]
    inner = [(35, 23.5), (24.5, 43), (44, 43)]
    if in_triangle(x, y, *tri):
        if in_triangle(x, y, *inner):
            if (33.8 <= x <= 36.2 and 28 <= y <= 36.5) or (x - 35) ** 2 + (y - 39.8) ** 2 <= 1.7:
                return (0, 0, 0)
            return (255, 210, 0)
        return (150, 90, 0)
    if 2 <= x < 40 and 5 <= y < 38:
        if x < 3 or x >= 39 or y < 6 or y >= 37:
            return (40, 60, 100)
        if y < 13:
            for bx in (27, 31.5, 36):
                if bx - 1.5 <= x < bx + 1.5 and 8 <= y < 11:
                    return (240, 240, 240)
            return lerp((70, 130, 230), (20, 70, 180), (y - 6) / 7)
        if (6 <= x < 30 and in_range(y, 17, 19)) or (6 <= x < 24 and in_range(y, 22, 24)) \
                or (6 <= x < 27 and in_range(y, 27, 29)):
            return (170, 180, 195)
        return (255, 255, 255)
    return None


def in_range(v, lo, hi):
    return lo <= v < hi


def hand_cursor():
    """32x32 pointing hand: white with black outline, light-blue cuff.
    The fingertip is at (12, 4), the hot spot."""
    w = h = 32

    def hand(x, y):
        if 10 <= x <= 14 and 4 <= y <= 17:            # index finger
            return not (y == 4 and x in (10, 14))
        for left, top in ((15, 12), (18, 13), (21, 14)):  # folded fingers
            if left <= x <= left + 2 and top <= y <= 18:
                return not (y == top and x in (left, left + 2))
        if 10 <= x <= 23 and 17 <= y <= 25:           # palm
            return not (y == 25 and x in (10, 23))
        if 6 <= x <= 10 and 15 + (10 - x) <= y <= 21 + (10 - x) // 2:  # thumb
            return True
        return False

    def cuff(x, y):
        return 11 <= x <= 22 and 27 <= y <= 30

    idx = [[None] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if hand(x, y):
                idx[y][x] = 1
            elif cuff(x, y):
                idx[y][x] = 2
    # One-pixel black outline around every shape.
    outline = []
    for y in range(h):
        for x in range(w):
            if idx[y][x] is None and any(
                    0 <= x + dx < w and 0 <= y + dy < h and idx[y + dy][x + dx] in (1, 2)
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                outline.append((x, y))
    for x, y in outline:
        idx[y][x] = 0
    # Finger creases.
    for y in range(15, 19):
        for x in (17, 20):
            idx[y][x] = 0
    return idx


def main():
    for name, face in (("close.bmp", close_face((0, 0))), ("close_sel.bmp", close_face((2, 2))),
                       ("pre.bmp", arrow_face(True, (0, 0))), ("pre_sel.bmp", arrow_face(True, (2, 1))),
                       ("ne.bmp", arrow_face(False, (0, 0))), ("ne_sel.bmp", arrow_face(False, (2, 1)))):
        write_bmp24(name, face)
    write_ico("alert.ico", [alert_icon(48)])
    write_ico("korvanel.ico", [alert_icon(32), alert_icon(16)])
    write_cur8("hand.cur", hand_cursor(), [(0, 0, 0), (255, 255, 255), (0, 170, 255)], (12, 4))


if __name__ == "__main__":
    main()
