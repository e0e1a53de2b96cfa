#!/usr/bin/env python3
"""Paints the branding pictures of res.dll as 24-bit BMP files.

    make_bitmaps.py OUTPUT_FOLDER

writes leftup.bmp (the logo), downright.bmp (151x247, the fax machine) and wizard.bmp
(164x314, the wizard's side picture). The output depends on nothing but this script.

The setup program colour-keys LEFTUP and DOWNRIGHT: it floods the area connected to the top-left
pixel with the background window's colour. Both pictures therefore stand on plain white, and
both hold white areas that the flood must not reach (the envelope, the paper, the letters of the
name), all closed off by outlines that leave no diagonal gap either.
"""
import math
import os
import struct
import sys

WHITE = (255, 255, 255)
INK = (46, 32, 20)
CREAM = (250, 240, 214)
GOLD = (255, 200, 80)
ORANGE = (232, 112, 28)
RED = (176, 48, 24)
GREY_LIGHT = (214, 214, 210)
GREY_DARK = (120, 122, 128)
DISPLAY = (24, 96, 88)
NAVY = (20, 50, 110)  # WIZARD, top row
TEAL = (40, 140, 170)  # WIZARD, bottom row


class Canvas:
    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.rows = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def fill(self, left, top, width, height, colour):
        for y in range(top, top + height):
            for x in range(left, left + width):
                self.put(x, y, colour)

    def vertical_gradient(self, left, top, width, height, first, last):
        for y in range(top, top + height):
            colour = mix(first, last, (y - top) / max(1, height - 1))
            self.fill(left, y, width, 1, colour)

    def horizontal_gradient(self, left, top, width, height, first, last):
        for x in range(left, left + width):
            colour = mix(first, last, (x - left) / max(1, width - 1))
            self.fill(x, top, 1, height, colour)

    def frame(self, left, top, width, height, colour, thickness=2):
        self.fill(left, top, width, thickness, colour)
        self.fill(left, top + height - thickness, width, thickness, colour)
        self.fill(left, top, thickness, height, colour)
        self.fill(left + width - thickness, top, thickness, height, colour)

    def line(self, x0, y0, x1, y1, colour, thickness=2):
        """A line of square pens: its pixels always touch side by side."""
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            self.fill(x, y, thickness, thickness, colour)

    def arc(self, cx, cy, radius, start, end, colour, thickness=3):
        """An arc between two angles in degrees, counter-clockwise, 0 pointing right."""
        for step in range(int(radius * math.radians(end - start) * 2) + 1):
            angle = math.radians(start) + step / (radius * 2)
            x = round(cx + radius * math.cos(angle))
            y = round(cy - radius * math.sin(angle))
            self.fill(x - thickness // 2, y - thickness // 2, thickness, thickness, colour)

    def save(self, path):
        stride = (self.width * 3 + 3) & ~3
        pixels = bytearray()
        for row in reversed(self.rows):  # BMP rows run bottom-up
            line = bytearray()
            for red, green, blue in row:
                line += bytes((blue, green, red))
            pixels += line + bytes(stride - len(line))
        header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 14 + 40)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0, len(pixels),
                           2835, 2835, 0, 0)
        with open(path, 'wb') as out:
            out.write(header + info + pixels)


def mix(first, last, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(first, last))


def envelope(canvas, left, top, width, height, body, ink):
    """A closed envelope: the body colour inside an outline, the flap drawn as a V."""
    canvas.fill(left, top, width, height, body)
    canvas.frame(left, top, width, height, ink)
    middle = left + width // 2 - 1
    canvas.line(left + 1, top + 1, middle, top + height * 5 // 9, ink)
    canvas.line(left + width - 3, top + 1, middle, top + height * 5 // 9, ink)


# A square 5x7 face for the product name.
GLYPHS = {
    'Z': ['#####', '....#', '...#.', '..#..', '.#...', '#....', '#####'],
    'I': ['#####', '..#..', '..#..', '..#..', '..#..', '..#..', '#####'],
    'N': ['#...#', '##..#', '#.#.#', '#.#.#', '#..##', '#...#', '#...#'],
    'K': ['#...#', '#..#.', '#.#..', '##...', '#.#..', '#..#.', '#...#'],
    'O': ['#####', '#...#', '#...#', '#...#', '#...#', '#...#', '#####'],
    'L': ['#....', '#....', '#....', '#....', '#....', '#....', '#####'],
    'A': ['#####', '#...#', '#...#', '#####', '#...#', '#...#', '#...#'],
    'R': ['#####', '#...#', '#...#', '#####', '#.#..', '#..#.', '#...#'],
}


def text(canvas, left, top, word, scale, colour):
    for index, letter in enumerate(word):
        x0 = left + index * 6 * scale
        for row, pattern in enumerate(GLYPHS[letter]):
            for column, mark in enumerate(pattern):
                if mark == '#':
                    canvas.fill(x0 + column * scale, top + row * scale, scale, scale, colour)


def leftup():
    """The logo: an envelope and the name in white on an orange plate."""
    canvas = Canvas(300, 64, WHITE)
    envelope(canvas, 10, 14, 58, 38, WHITE, INK)
    for i, y in enumerate((22, 30, 38)):  # speed lines behind the envelope
        canvas.fill(0 + i * 2, y, 7 - i * 2, 2, ORANGE)
    plate_left, plate_top, plate_width, plate_height = 78, 8, 214, 48
    canvas.horizontal_gradient(plate_left, plate_top, plate_width, plate_height, ORANGE, RED)
    for corner_x, corner_y in ((0, 0), (plate_width - 2, 0), (0, plate_height - 2),
                               (plate_width - 2, plate_height - 2)):
        canvas.fill(plate_left + corner_x, plate_top + corner_y, 2, 2, WHITE)
    text(canvas, plate_left + 12, plate_top + 10, 'ZINKOLAR', 4, WHITE)
    return canvas


def downright():
    """A fax machine printing a page, with the call's signal rising from it."""
    canvas = Canvas(151, 247, WHITE)
    # The page: white inside its outline, with lines of text.
    canvas.fill(34, 40, 78, 130, WHITE)
    canvas.frame(34, 40, 78, 130, INK)
    for index, y in enumerate(range(56, 120, 10)):
        canvas.fill(44, y, 40 if index % 3 == 2 else 58, 3, GREY_DARK)
    envelope(canvas, 68, 124, 32, 20, CREAM, ORANGE)
    # The machine.
    canvas.vertical_gradient(8, 150, 135, 88, GREY_LIGHT, GREY_DARK)
    canvas.frame(8, 150, 135, 88, INK)
    canvas.fill(26, 150, 94, 8, INK)  # the paper slot
    canvas.fill(20, 170, 56, 22, DISPLAY)
    canvas.frame(20, 170, 56, 22, INK)
    for row in range(4):
        for column in range(3):
            canvas.fill(94 + column * 14, 168 + row * 14, 10, 10, CREAM)
            canvas.frame(94 + column * 14, 168 + row * 14, 10, 10, INK, 1)
    canvas.fill(20, 204, 56, 20, GREY_DARK)  # the handset
    canvas.fill(8, 238, 135, 9, WHITE)
    canvas.fill(14, 238, 12, 6, INK)
    canvas.fill(125, 238, 12, 6, INK)
    # The signal.
    for radius, colour in ((12, GOLD), (22, ORANGE), (32, RED)):
        canvas.arc(112, 40, radius, 10, 80, colour)
    return canvas


def wizard():
    """A deep blue to teal field with a large envelope sending its signal."""
    canvas = Canvas(164, 314, WHITE)
    canvas.vertical_gradient(0, 0, 164, 314, NAVY, TEAL)
    for y in range(0, 314):  # a soft diagonal band of light
        for x in range(164):
            if 0 <= (x + y) - 250 < 40:
                r, g, b = canvas.rows[y][x]
                canvas.rows[y][x] = mix((r, g, b), WHITE, 0.12)
    for radius, colour in ((22, GOLD), (36, ORANGE), (50, CREAM)):
        canvas.arc(82, 110, radius, 30, 150, colour, 4)
    envelope(canvas, 32, 124, 100, 64, CREAM, INK)
    canvas.fill(20, 262, 124, 3, CREAM)
    canvas.fill(20, 272, 84, 3, GOLD)
    canvas.fill(20, 282, 104, 3, CREAM)
    return canvas


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, paint in (('leftup', leftup), ('downright', downright), ('wizard', wizard)):
        paint().save(os.path.join(folder, name + '.bmp'))


if __name__ == '__main__':
    main()
