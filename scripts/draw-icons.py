#!/usr/bin/env python3
"""Draws the window icons of the program and its two document kinds into language/icons
(32 x 32 PNG, drawn 4 times larger and scaled down for smooth edges). Run it again after
changing a drawing; the PNG files are kept in the repository."""
import math
import os
import struct
import zlib

SIZE = 32
SCALE = 4
BIG = SIZE * SCALE


class Canvas:
    def __init__(self):
        self.px = [[(0, 0, 0, 0)] * BIG for _ in range(BIG)]

    def fill(self, inside, colour):
        for y in range(BIG):
            for x in range(BIG):
                if inside((x + 0.5) / SCALE, (y + 0.5) / SCALE):
                    self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour)

    def rounded(self, x0, y0, x1, y1, r, colour):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.fill(inside, colour)

    def sector(self, cx, cy, radius, start, end, colour):
        """A disc sector; angles in degrees, 0 to the right, counted upwards."""
        def inside(x, y):
            dx, dy = x - cx, cy - y
            if dx * dx + dy * dy > radius * radius:
                return False
            a = math.degrees(math.atan2(dy, dx)) % 360
            return start <= a <= end
        self.fill(inside, colour)

    def line(self, x0, y0, x1, y1, width, colour):
        def inside(x, y):
            vx, vy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy)))
            px, py = x0 + t * vx, y0 + t * vy
            return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
        self.fill(inside, colour)

    def png(self, path):
        rows = []
        for y in range(SIZE):
            row = bytearray([0])
            for x in range(SIZE):
                acc = [0, 0, 0, 0]
                for sy in range(SCALE):
                    for sx in range(SCALE):
                        r, g, b, a = self.px[y * SCALE + sy][x * SCALE + sx]
                        acc[0] += r * a
                        acc[1] += g * a
                        acc[2] += b * a
                        acc[3] += a
                alpha = acc[3]
                n = SCALE * SCALE
                if alpha:
                    row += bytes([acc[0] // alpha, acc[1] // alpha, acc[2] // alpha, alpha // n])
                else:
                    row += bytes([0, 0, 0, 0])
            rows.append(bytes(row))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
        data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
        data += chunk(b"IEND", b"")
        with open(path, "wb") as out:
            out.write(data)


NAVY = (20, 50, 120, 255)
WHITE = (255, 255, 255, 255)
PAPER = (250, 250, 245, 255)
EDGE = (90, 90, 90, 255)
BEAM = (230, 40, 30, 255)
BODY = (245, 170, 0, 255)
FIELD = (40, 90, 230, 255)
WARN = (150, 40, 160, 255)
UNIT = (110, 120, 130, 255)


def program():
    # A scanner at the bottom sending its fan of beams, on the program's blue.
    c = Canvas()
    c.rounded(0, 0, 32, 32, 5, NAVY)
    for i in range(9):
        a = math.radians(10 + i * 20)
        c.line(16, 24, 16 + 13 * math.cos(a), 24 - 13 * math.sin(a), 1.6, BEAM)
    c.rounded(11, 23, 21, 29, 1.5, BODY)
    return c


def document(c):
    # A sheet with a folded corner.
    c.rect(4, 1, 22, 31, EDGE)
    c.rect(5, 2, 22, 30, PAPER)
    c.fill(lambda x, y: x >= 22 and x < 28 and y >= 1 and y < 31 and (x - 22) <= (y - 1) * 1.0 + 0.0 or
           (22 <= x < 28 and 7 <= y < 31), EDGE)
    c.fill(lambda x, y: 22 <= x < 27 and 8 <= y < 30, PAPER)
    c.fill(lambda x, y: 21 <= x < 28 and 1 <= y < 8 and (x - 21) >= (y - 1), (0, 0, 0, 0))
    c.line(21.5, 1.5, 21.5, 7.5, 1, EDGE)
    c.line(21.5, 7.5, 27.5, 7.5, 1, EDGE)
    c.line(21.5, 1.5, 27.5, 7.5, 1, EDGE)


def zok():
    # One scanner with its protective field (blue) inside its warning field (purple).
    c = Canvas()
    document(c)
    c.sector(16, 26, 11, 0, 180, WARN)
    c.sector(16, 26, 7.5, 0, 180, FIELD)
    c.rounded(12.5, 25, 19.5, 29, 1, BODY)
    return c


def kvr():
    # An interface unit with the fields of the scanners it serves.
    c = Canvas()
    document(c)
    for cx in (10.5, 21.5):
        c.sector(cx, 15, 5, 0, 180, FIELD)
        c.rounded(cx - 2.5, 14, cx + 2.5, 17, 0.8, BODY)
    c.line(10.5, 17, 10.5, 21, 1.2, EDGE)
    c.line(21.5, 17, 21.5, 21, 1.2, EDGE)
    c.rounded(7, 20, 25, 28, 1.5, UNIT)
    c.rect(10, 23, 22, 25, WHITE)
    return c


if __name__ == "__main__":
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "language", "icons")
    os.makedirs(folder, exist_ok=True)
    for name, draw in (("program", program), ("zok", zok), ("kvr", kvr)):
        draw().png(os.path.join(folder, name + ".png"))
