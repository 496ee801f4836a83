#!/usr/bin/env python3
"""Draws the program's pictures into src/app/res (committed; run again after a change):

    python3 tools/make_images.py

imglist.bmp   80 x 16, five 16 x 16 tray images on magenta (transparent):
              the program's picture, then the activity arrows: both dim,
              both lit, the upper (receiving) lit, the lower (sending) lit
tallyline.ico the program's picture at 16 x 16 and 32 x 32
stopwatch.bmp 13 x 11, the stopwatch bar's picture on magenta
logo.bmp      62 x 31, the about box's logo: the program's graph window, wide,
              with a grid behind the two series
dialing.bmp   32 x 32, the dialling window's picture on magenta: a telephone
              with its handset and a round dial
"""
import os
import struct

MAGENTA = (255, 0, 255)
RES = os.path.join(os.path.dirname(__file__), "..", "src", "app", "res")


def canvas(w, h, fill=MAGENTA):
    return [[fill] * w for _ in range(h)]


def rect(img, x0, y0, x1, y1, color):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = color


def line(img, points, color):
    for (xa, ya), (xb, yb) in zip(points, points[1:]):
        steps = max(abs(xb - xa), abs(yb - ya), 1)
        for i in range(steps + 1):
            img[round(ya + (yb - ya) * i / steps)][round(xa + (xb - xa) * i / steps)] = color


def meter(size):
    """A small graph window: a frame, a white plot and the two series."""
    img = canvas(size, size)
    s = size / 16
    rect(img, 0, 1, size - 1, size - 2, (64, 64, 64))
    rect(img, 1, 2, size - 2, size - 3, (255, 255, 255))
    down = [(1, 12), (3, 10), (5, 11), (7, 6), (9, 8), (11, 4), (14, 5)]
    up = [(1, 13), (4, 12), (6, 12), (8, 10), (10, 11), (12, 9), (14, 10)]
    line(img, [(round(x * s), round(y * s)) for x, y in down], (0, 0, 255))
    line(img, [(round(x * s), round(y * s)) for x, y in up], (255, 0, 0))
    return img


def arrow(img, top, pointing_down, color, shade):
    """An arrow in rows top .. top + 7: a shaft and a head, outlined darker."""
    rows = [(6, 8), (6, 8), (6, 8), (3, 11), (4, 10), (5, 9), (6, 8), (7, 7)]
    if not pointing_down:
        rows = rows[::-1]
    shape = {(x, top + i) for i, (a, b) in enumerate(rows) for x in range(a, b + 1)}
    for x, y in shape:
        inside = all((x + dx, y + dy) in shape for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
        img[y][x] = color if inside else shade


def activity(receiving, sending):
    img = canvas(16, 16)
    dim, dim_edge = (160, 160, 160), (112, 112, 112)
    arrow(img, 0, True, (64, 64, 255) if receiving else dim, (0, 0, 160) if receiving else dim_edge)
    arrow(img, 8, False, (255, 64, 64) if sending else dim, (160, 0, 0) if sending else dim_edge)
    return img


def stopwatch():
    img = canvas(13, 11)
    for y in range(11):
        for x in range(13):
            dx, dy = x - 6, y - 6
            d = dx * dx + dy * dy
            if d <= 20:
                img[y][x] = (255, 255, 255) if d <= 12 else (0, 0, 0)
    rect(img, 5, 0, 7, 0, (0, 0, 0))
    img[1][6] = (0, 0, 0)
    line(img, [(6, 6), (6, 3)], (0, 0, 0))
    line(img, [(6, 6), (8, 5)], (255, 0, 0))
    return img


def logo():
    """The graph window of the program's picture at 62 x 31, each series two pixels thick."""
    w, h = 62, 31
    img = canvas(w, h, (64, 64, 64))
    rect(img, 1, 1, w - 2, h - 2, (255, 255, 255))
    for x in range(11, w - 1, 10):
        rect(img, x, 1, x, h - 2, (224, 224, 224))
    for y in range(10, h - 1, 10):
        rect(img, 1, y, w - 2, y, (224, 224, 224))
    down = [(1, 12), (3, 10), (5, 11), (7, 6), (9, 8), (11, 4), (14, 5)]
    up = [(1, 13), (4, 12), (6, 12), (8, 10), (10, 11), (12, 9), (14, 10)]
    for series, color in ((down, (0, 0, 255)), (up, (255, 0, 0))):
        points = [(2 + round((x - 1) * 57 / 13), 2 * y) for x, y in series]
        line(img, points, color)
        line(img, [(x, y + 1) for x, y in points], color)
    return img


def telephone():
    img = canvas(32, 32)
    body, edge, face = (96, 96, 96), (32, 32, 32), (224, 224, 224)
    # The handset: a grip with the ear and mouth pieces hanging from its ends.
    rect(img, 5, 4, 26, 7, edge)
    rect(img, 6, 5, 25, 6, body)
    for x0 in (3, 22):
        rect(img, x0, 6, x0 + 6, 11, edge)
        rect(img, x0 + 1, 7, x0 + 5, 10, body)
    # The base, wider at the foot, and the dial on its front.
    for y in range(13, 29):
        inset = 6 - (y - 13) * 4 // 15
        rect(img, inset, y, 31 - inset, y, edge if y in (13, 28) else body)
        img[y][inset] = img[y][31 - inset] = edge
    for y in range(15, 28):
        for x in range(10, 22):
            d = (x - 15.5) ** 2 + (y - 21) ** 2
            if d <= 30:
                img[y][x] = edge if d > 20 else face if d > 3 else edge
    return img


def bmp_rows(img):
    """Bottom-up 24-bit rows padded to four bytes."""
    out = b""
    for row in reversed(img):
        data = b"".join(bytes((b, g, r)) for r, g, b in row)
        out += data + b"\0" * ((4 - len(data) % 4) % 4)
    return out


def write_bmp(path, img):
    w, h = len(img[0]), len(img)
    pixels = bmp_rows(img)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(pixels), 0, 0, 54) + header + pixels)


def icon_image(img):
    """32-bit image with alpha (magenta clear) and the AND mask, as icons store them."""
    size = len(img)
    xor = b""
    for row in reversed(img):
        xor += b"".join(bytes((b, g, r, 0 if (r, g, b) == MAGENTA else 255)) for r, g, b in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(img):
        bits = 0
        for x, p in enumerate(row):
            if p == MAGENTA:
                bits |= 1 << (mask_row_bytes * 8 - 1 - x)
        mask += bits.to_bytes(mask_row_bytes, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def write_ico(path, images):
    data = [icon_image(img) for img in images]
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for img, blob in zip(images, data):
        out += struct.pack("<BBBBHHII", len(img), len(img), 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(data))


def main():
    strip = canvas(80, 16)
    tiles = [meter(16), activity(False, False), activity(True, True), activity(True, False),
             activity(False, True)]
    for i, tile in enumerate(tiles):
        for y in range(16):
            strip[y][i * 16:(i + 1) * 16] = tile[y]
    write_bmp(os.path.join(RES, "imglist.bmp"), strip)
    write_ico(os.path.join(RES, "tallyline.ico"), [meter(16), meter(32)])
    write_bmp(os.path.join(RES, "stopwatch.bmp"), stopwatch())
    write_bmp(os.path.join(RES, "logo.bmp"), logo())
    write_bmp(os.path.join(RES, "dialing.bmp"), telephone())


if __name__ == "__main__":
    main()
