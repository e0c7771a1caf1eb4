#!/usr/bin/env python3
"""Draws the wizard's header artwork (8-bit palette BMP, 499 x 312), its window icon and the pages' icons (ICO,
16/32/48 pixels).

Usage: genart.py OUTPUT_DIR
Writes OUTPUT_DIR/wizard-header.bmp, wizard.ico, warning.ico, error.ico and information.ico. The artwork is drawn here from simple
shapes, so the build needs no binary files and no imaging library.
"""
import math
import pathlib
import struct
import sys

HEADER_WIDTH, HEADER_HEIGHT = 499, 312
# The dialog shows the artwork above the page frame only: a band of about 80 pixels and thin side margins.
BAND_HEIGHT = 80
TOP_COLOUR = (18, 52, 112)     # deep blue
BOTTOM_COLOUR = (22, 138, 160)  # teal
ACCENT = (255, 255, 255)
PALETTE_STEP = 3  # the header's colours, rounded this far, fit one 256-colour palette


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def blend(base, colour, alpha):
    return tuple(round(b + (c - b) * alpha) for b, c in zip(base, colour))


def circle_coverage(x, y, cx, cy, r):
    """Fraction of the pixel (x, y) inside the circle, by 4 x 4 sampling."""
    inside = 0
    for sy in range(4):
        for sx in range(4):
            px, py = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
            inside += (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    return inside / 16


def header_pixel(x, y):
    if y >= BAND_HEIGHT:
        return (255, 255, 255)
    t = (x / HEADER_WIDTH) * 0.7 + (y / BAND_HEIGHT) * 0.3
    colour = mix(TOP_COLOUR, BOTTOM_COLOUR, t)
    # Soft translucent discs on the right, a modern, quiet ornament.
    for cx, cy, r, alpha in ((430, 20, 70, 0.10), (470, 70, 45, 0.12), (380, 78, 30, 0.08), (300, -10, 40, 0.06)):
        if abs(x - cx) <= r + 1 and abs(y - cy) <= r + 1:
            colour = blend(colour, ACCENT, alpha * circle_coverage(x, y, cx, cy, r))
    # A thin light line closes the band.
    if y >= BAND_HEIGHT - 2:
        colour = blend(colour, (120, 210, 225), 0.8)
    return colour


def write_bmp(path, width, height, pixel):
    """An 8-bit palette bitmap: a third of the 24-bit size, which counts in a program people download. The
    channels are rounded to multiples of PALETTE_STEP so that the artwork's colours fit one palette."""
    def quantise(colour):
        return tuple(min(255, round(c / PALETTE_STEP) * PALETTE_STEP) for c in colour)

    pixels = [[quantise(pixel(x, y)) for x in range(width)] for y in range(height)]
    palette = sorted({colour for row in pixels for colour in row})
    if len(palette) > 256:
        raise SystemExit("genart: the header artwork has %d colours after rounding" % len(palette))
    index = {colour: i for i, colour in enumerate(palette)}
    stride = (width + 3) & ~3
    data = b"".join(bytes(index[c] for c in pixels[y]) + b"\0" * (stride - width) for y in range(height - 1, -1, -1))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(data), 2835, 2835, len(palette), 0)
    path.write_bytes(header + info + table + data)


def rounded_square_coverage(x, y, size, radius):
    inside = 0
    for sy in range(4):
        for sx in range(4):
            px, py = x + (sx + 0.5) / 4, y + (sy + 0.5) / 4
            qx = min(max(px, radius), size - radius)
            qy = min(max(py, radius), size - radius)
            inside += (px - qx) ** 2 + (py - qy) ** 2 <= radius * radius
    return inside / 16


def arrow_coverage(x, y, size):
    """A downward arrow onto a tray: the install symbol, in the icon's own proportions."""
    inside = 0
    for sy in range(4):
        for sx in range(4):
            u, v = (x + (sx + 0.5) / 4) / size, (y + (sy + 0.5) / 4) / size
            shaft = abs(u - 0.5) <= 0.08 and 0.2 <= v <= 0.55
            head = 0.45 <= v <= 0.68 and abs(u - 0.5) <= (0.68 - v) * 1.1
            tray = 0.74 <= v <= 0.82 and 0.24 <= u <= 0.76
            inside += shaft or head or tray
    return inside / 16


def supersample(x, y, size, inside):
    """Fraction of the pixel (x, y) for which inside(u, v) holds, u and v in 0..1 of the icon, 4 x 4 samples."""
    hits = 0
    for sy in range(4):
        for sx in range(4):
            hits += bool(inside((x + (sx + 0.5) / 4) / size, (y + (sy + 0.5) / 4) / size))
    return hits / 16


def app_pixel(x, y, size):
    """The window icon and product image: the install arrow on a rounded blue square."""
    coverage = rounded_square_coverage(x, y, size, size * 0.22)
    colour = mix(TOP_COLOUR, BOTTOM_COLOUR, (x + y) / (2 * size))
    return blend(colour, ACCENT, arrow_coverage(x, y, size)), coverage


def exclamation(u, v):
    return (abs(u - 0.5) <= 0.06 and 0.34 <= v <= 0.66) or (u - 0.5) ** 2 + (v - 0.78) ** 2 <= 0.005


def warning_pixel(x, y, size):
    """A warning: an amber triangle with an exclamation mark."""
    def triangle(u, v):
        return 0.1 <= v <= 0.92 and abs(u - 0.5) <= (v - 0.1) * 0.56
    colour = blend((236, 160, 20), (40, 30, 10), supersample(x, y, size, exclamation))
    return colour, supersample(x, y, size, triangle)


def error_pixel(x, y, size):
    """An error: a red disc with a white cross."""
    def disc(u, v):
        return (u - 0.5) ** 2 + (v - 0.5) ** 2 <= 0.46 ** 2
    def cross(u, v):
        return (abs(u - v) <= 0.08 or abs(u + v - 1) <= 0.08) and 0.27 <= u <= 0.73 and 0.27 <= v <= 0.73
    colour = blend((200, 32, 40), ACCENT, supersample(x, y, size, cross))
    return colour, supersample(x, y, size, disc)


def information_pixel(x, y, size):
    """Information: a blue disc with a white "i"."""
    def disc(u, v):
        return (u - 0.5) ** 2 + (v - 0.5) ** 2 <= 0.46 ** 2
    def letter(u, v):
        return (abs(u - 0.5) <= 0.07 and 0.42 <= v <= 0.76) or (u - 0.5) ** 2 + (v - 0.28) ** 2 <= 0.006
    colour = blend(TOP_COLOUR, ACCENT, supersample(x, y, size, letter))
    return colour, supersample(x, y, size, disc)


def icon_image(size, pixel):
    """One icon entry: a 32-bit BGRA DIB with its AND mask; pixel(x, y, size) gives colour and coverage."""
    pixels = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            (r, g, b), coverage = pixel(x, y, size)
            pixels += bytes((b, g, r, round(255 * coverage)))
    mask_stride = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_stride * size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return info + bytes(pixels) + mask


def write_ico(path, sizes, pixel):
    images = [icon_image(size, pixel) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    path.write_bytes(out + b"".join(images))


# The icons the wizard pages show, by file name.
PAGE_ICONS = {
    "warning.ico": warning_pixel,
    "error.ico": error_pixel,
    "information.ico": information_pixel,
}


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    out = pathlib.Path(argv[1])
    out.mkdir(parents=True, exist_ok=True)
    write_bmp(out / "wizard-header.bmp", HEADER_WIDTH, HEADER_HEIGHT, header_pixel)
    write_ico(out / "wizard.ico", (16, 32, 48), app_pixel)
    for name, pixel in PAGE_ICONS.items():
        write_ico(out / name, (16, 32, 48), pixel)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
