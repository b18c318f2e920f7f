#!/usr/bin/env python3
"""Writes the flag pictures of the shipped languages into languages/ as 24-bit BMP files.

Each flag is drawn from stripes in its national colours, 48 x 32 pixels, so that it fits the
48 x 48 slot of the options window. Run it again after changing a colour; the files are kept in
the repository so that a build needs no Python.
"""
import os
import struct
import sys

WIDTH, HEIGHT = 48, 32


def horizontal(*bands):
    """Top-to-bottom bands of (colour, weight)."""
    total = sum(w for _, w in bands)

    def pixel(x, y):
        edge = 0
        for colour, weight in bands:
            edge += weight * HEIGHT / total
            if y < edge:
                return colour
        return bands[-1][0]
    return pixel


def vertical(*colours):
    def pixel(x, y):
        return colours[min(x * len(colours) // WIDTH, len(colours) - 1)]
    return pixel


def union():
    blue, white, red = (1, 33, 105), (255, 255, 255), (200, 16, 46)

    def pixel(x, y):
        cx, cy = x - (WIDTH - 1) / 2, y - (HEIGHT - 1) / 2
        if abs(cx) <= 2.5 or abs(cy) <= 2.5:
            return red
        if abs(cx) <= 5 or abs(cy) <= 5:
            return white
        # The diagonals, as seen from the corners of a 3:2 field.
        d1 = abs(cy - cx * HEIGHT / WIDTH)
        d2 = abs(cy + cx * HEIGHT / WIDTH)
        if min(d1, d2) <= 1.2:
            return red
        if min(d1, d2) <= 3.2:
            return white
        return blue
    return pixel


def neutral():
    grey, light, blue = (128, 128, 128), (230, 230, 230), (40, 90, 160)

    def pixel(x, y):
        if x < 2 or y < 2 or x >= WIDTH - 2 or y >= HEIGHT - 2:
            return grey
        if abs(x - WIDTH / 2) < 6 and abs(y - HEIGHT / 2) < 6:
            return blue
        return light
    return pixel


FLAGS = {
    "Deutsch": horizontal(((0, 0, 0), 1), ((221, 0, 0), 1), ((255, 206, 0), 1)),
    "Italiano": vertical((0, 146, 70), (255, 255, 255), (206, 43, 55)),
    "Français": vertical((0, 35, 149), (255, 255, 255), (237, 41, 57)),
    "Español": horizontal(((170, 21, 27), 1), ((241, 191, 0), 2), ((170, 21, 27), 1)),
    "English": union(),
    "DefaultFlag": neutral(),
}


def bmp(pixel):
    """A bottom-up 24-bit BMP; rows of 48 pixels are 144 bytes, already a multiple of four."""
    rows = []
    for y in range(HEIGHT - 1, -1, -1):
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        rows.append(bytes(row))
    image = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    return header + info + image


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "languages")
    os.makedirs(folder, exist_ok=True)
    for name, pixel in FLAGS.items():
        with open(os.path.join(folder, name + ".bmp"), "wb") as out:
            out.write(bmp(pixel))


if __name__ == "__main__":
    main()
