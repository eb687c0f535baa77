#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the small pictures of the call-time windows (48 x 48 PNG): one
contact, several contacts, and an unknown caller; and the program's icon
data/tlOl.png, which the CTI client's account file names. Run it from the
repository root to make them again."""
import math
import struct
import zlib

SIZE = 48
SUPER = 4  # supersampling for smooth edges


def person(x, y, cx, cy, scale):
    """True where a person's silhouette (head and shoulders) covers (x, y)."""
    head = (x - cx) ** 2 + (y - (cy - 9 * scale)) ** 2 <= (7 * scale) ** 2
    dy = y - (cy + 12 * scale)
    body = dy <= 0 and (x - cx) ** 2 / (13 * scale) ** 2 + dy ** 2 / (12 * scale) ** 2 <= 1
    return head or body


def question(x, y, cx, cy):
    """A question mark centred at (cx, cy)."""
    r = math.hypot(x - cx, y - (cy - 5))
    angle = math.degrees(math.atan2(y - (cy - 5), x - cx))
    arc = 3.5 <= r <= 6.5 and not (30 < angle < 150)
    stem = abs(x - cx) <= 1.5 and cy - 2 <= y <= cy + 3
    dot = math.hypot(x - cx, y - (cy + 7)) <= 1.8
    return arc or stem or dot


def render(shapes):
    rows = []
    for py in range(SIZE):
        row = bytearray([0])
        for px in range(SIZE):
            acc = [0, 0, 0, 0]
            for sy in range(SUPER):
                for sx in range(SUPER):
                    x = px + (sx + 0.5) / SUPER
                    y = py + (sy + 0.5) / SUPER
                    colour = None
                    for test, rgb in shapes:  # later shapes lie on top
                        if test(x, y):
                            colour = rgb
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 255
            n = SUPER * SUPER
            alpha = acc[3] // n
            if alpha:
                covered = acc[3] // 255
                row += bytes([acc[0] // covered, acc[1] // covered, acc[2] // covered, alpha])
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(rows)


def png(path, shapes):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    data = zlib.compress(render(shapes), 9)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data) + chunk(b"IEND", b""))


BLUE = (38, 92, 160)
TEAL = (40, 140, 130)
GREY = (120, 120, 120)
WHITE = (255, 255, 255)

png("ui/images/contact.png", [(lambda x, y: person(x, y, 24, 24, 1.4), BLUE)])
png("ui/images/contacts.png",
    [(lambda x, y: person(x, y, 31, 22, 1.1), TEAL), (lambda x, y: person(x, y, 18, 27, 1.15), BLUE)])
png("ui/images/unknown.png",
    [(lambda x, y: person(x, y, 24, 24, 1.4), GREY), (lambda x, y: question(x, y, 24, 34), WHITE)])
png("data/tlOl.png",
    [(lambda x, y: math.hypot(x - 24, y - 24) <= 22.5, BLUE),
     (lambda x, y: person(x, y, 24, 25, 1.05), WHITE)])
