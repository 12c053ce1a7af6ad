#!/usr/bin/env python3
"""Draws the setup's icon and bitmaps and writes them as .ico and .bmp files (no imaging library).

Run it from anywhere; it writes into resources/ next to this tools/ folder, or into --out.
The logos are drawn from shapes with 4x4 supersampling and reduced to a 256-colour palette;
the 16-pixel list pictures are pixel art whose bottom-left pixel holds the colour that the
lists draw as transparent. Every picture also comes at twice its size ("_2x" files): the
logos drawn again from their shapes, the pixel art enlarged with Scale2x so that diagonal
edges stay smooth. The setup shrinks those for screens above 100 %.
"""
import argparse
import math
import os
import struct
import sys

NAVY = (11, 31, 75)
TEAL = (14, 124, 134)
PAPER = (250, 250, 244)
INK = (30, 42, 66)
QUILL_LIGHT = (236, 226, 196)
QUILL_DARK = (176, 152, 110)


# 4x4 ordered-dither thresholds: spread the logo's gradient over neighbouring palette colours.
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# ---- shapes: functions of a point (x, y) in design units, true when inside ----

def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def page_shapes(x0, y0, w, h):
    """A sheet with a folded top-right corner and a few lines of text."""
    fold = w * 0.28
    sheet = polygon([(x0, y0), (x0 + w - fold, y0), (x0 + w, y0 + fold), (x0 + w, y0 + h), (x0, y0 + h)])
    corner = polygon([(x0 + w - fold, y0), (x0 + w - fold, y0 + fold), (x0 + w, y0 + fold)])
    layers = [(sheet, lambda x, y: mix(PAPER, (214, 222, 230), (y - y0) / h)),
              (corner, lambda x, y: (196, 206, 218))]
    line_h = h / 11
    for row in range(4, 10):
        length = w * (0.72 if row % 3 else 0.5)
        top = y0 + row * line_h
        layers.append((rounded_rect(x0 + w * 0.14, top, x0 + w * 0.14 + length, top + line_h * 0.38,
                                    line_h * 0.19), lambda x, y: (150, 166, 188)))
    return layers


def quill_shapes(tip_x, tip_y, length, width, angle):
    """A feather leaning to the upper right, its nib at (tip_x, tip_y)."""
    ca, sa = math.cos(angle), math.sin(angle)

    def local(x, y):
        dx, dy = x - tip_x, y - tip_y
        return dx * ca + dy * sa, -dx * sa + dy * ca

    def vane(x, y):
        u, v = local(x, y)
        t = (u - length * 0.18) / (length * 0.82)
        if not 0 <= t <= 1:
            return False
        half = width * math.sin(math.pi * t ** 0.75) * (1.0 if v < 0 else 0.62)
        return abs(v) <= half

    def vane_colour(x, y):
        u, v = local(x, y)
        stripe = 0.5 + 0.5 * math.sin((u * 1.3 + abs(v) * 2.2) / width * 6.0)
        return mix(mix(QUILL_LIGHT, QUILL_DARK, 0.25 + 0.35 * stripe), (255, 255, 255),
                   max(0.0, -v / width) * 0.3)

    def shaft(x, y):
        u, v = local(x, y)
        return length * 0.05 <= u <= length * 0.98 and abs(v) <= max(width * 0.06, 0.35)

    def nib(x, y):
        u, v = local(x, y)
        return 0 <= u <= length * 0.2 and abs(v) <= width * 0.2 * (u / (length * 0.2))

    return [(vane, vane_colour), (shaft, lambda x, y: (120, 96, 62)), (nib, lambda x, y: INK)]


def render(width, height, scale, layers, background, samples=4):
    """RGBA rows top-down; coverage from samples x samples points per pixel."""
    rows = []
    offsets = [(i + 0.5) / samples for i in range(samples)]
    for py in range(height):
        row = []
        for px in range(width):
            acc, hits = [0.0, 0.0, 0.0], 0
            for oy in offsets:
                for ox in offsets:
                    x, y = (px + ox) / scale, (py + oy) / scale
                    colour = background(x, y) if background else None
                    for inside, paint in layers:
                        if inside(x, y):
                            colour = paint(x, y)
                    if colour is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += colour[i]
            if hits:
                row.append(tuple(int(round(acc[i] / hits)) for i in range(3)) + (hits * 255 // samples ** 2,))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


# ---- colour reduction ----

def median_cut(colours, count):
    boxes = [list(colours)]
    while len(boxes) < count:
        boxes.sort(key=lambda b: max(max(c[i] for c in b) - min(c[i] for c in b) for i in range(3))
                   if len(b) > 1 else -1)
        box = boxes.pop()
        if len(box) < 2:
            boxes.append(box)
            break
        axis = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[axis])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(sum(c[i] for c in b) // len(b) for i in range(3)) for b in boxes if b]


def nearest(palette, colour):
    return min(range(len(palette)), key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def palettise(rows, coarse=False):
    """Rows of RGB(A) to (palette, rows of indices) with at most 256 colours.

    coarse looks each colour up by its top 6 bits per channel, which keeps large pictures
    fast; the small pictures are matched exactly."""
    pixels = [p[:3] for row in rows for p in row]
    unique = sorted(set(pixels))
    palette = unique if len(unique) <= 256 else sorted(median_cut(unique, 256))
    lookup, buckets = {}, {}
    for colour in unique:
        if not coarse:
            lookup[colour] = nearest(palette, colour)
            continue
        key = tuple(c >> 2 for c in colour)
        if key not in buckets:
            buckets[key] = nearest(palette, colour)
        lookup[colour] = buckets[key]
    return palette, [[lookup[p[:3]] for p in row] for row in rows]


# ---- file formats ----

def bmp_indexed(palette, rows, bits):
    """A bottom-up palettised BMP (4 or 8 bits per pixel)."""
    width, height = len(rows[0]), len(rows)
    colours = 1 << bits
    table = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in palette)
    table += bytes(4 * (colours - len(palette)))
    stride = ((width * bits + 31) // 32) * 4
    body = bytearray()
    for row in reversed(rows):
        if bits == 8:
            line = bytes(row)
        else:
            padded = row + [0] * (len(row) % 2)
            line = bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))
        body += line + bytes(stride - len(line))
    offset = 14 + 40 + len(table)
    # The colour count must be the table's full length: a bitmap resource has no file
    # header, so the loader finds the pixels right after as many entries as it says.
    return (b"BM" + struct.pack("<IHHI", offset + len(body), 0, 0, offset) +
            struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(body), 2835, 2835,
                        colours, 0) + table + bytes(body))


def ico(images):
    """An .ico of 32-bit images (rows of RGBA), each stored as a BMP with an AND mask."""
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        xor = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(rows) for p in row)
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x, p in enumerate(row):
                if p[3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        blob = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                           0, 0, 0, 0) + xor + bytes(mask)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + entries + blobs


# ---- the pictures ----

def logo(scale=1):
    """The wizard's side panel, 120 x 260 (times scale): a night-to-teal gradient, a sheet and a quill."""
    def background(x, y):
        t = y / 260
        base = mix(NAVY, TEAL, t ** 1.3)
        glow = max(0.0, 1 - math.hypot(x - 60, y - 150) / 110) ** 2
        dither = (BAYER[int(y * scale) % 4][int(x * scale) % 4] - 7.5) * 0.6
        return tuple(c + dither for c in mix(base, (90, 190, 196), glow * 0.35))

    rings = [(lambda cx, cy, r: (lambda x, y: r - 0.8 <= math.hypot(x - cx, y - cy) <= r))(60, 150, r)
             for r in (78, 96)]
    layers = [(ring, lambda x, y: mix(NAVY, TEAL, y / 260 + 0.15)) for ring in rings]
    layers += [(rounded_rect(30, 111, 92, 197, 3), lambda x, y: (6, 22, 52))]  # shadow
    layers += page_shapes(26, 106, 62, 86)
    layers += quill_shapes(44, 178, 104, 13, math.radians(-62))
    # At twice the size 2x2 samples per pixel cover the design as finely as 4x4 at 1x.
    return render(120 * scale, 260 * scale, float(scale), layers, background, 4 // scale)


def badge(size, samples=4):
    """The small logo and the icon: a rounded teal tile with the sheet and the quill."""
    scale = size / 34.0
    tile = rounded_rect(1, 1, 33, 33, 6)
    layers = [(tile, lambda x, y: mix(NAVY, TEAL, (x + y) / 68))]
    layers += page_shapes(7, 5, 17, 23)
    layers += quill_shapes(13, 28, 26, 4.2, math.radians(-60))
    return render(size, size, scale, layers, None, samples)


def scale2x(lines):
    """Pixel art at twice the size (Scale2x/EPX): each pixel becomes four, and a corner
    takes its neighbours' colour where they agree, rounding staircases into diagonals."""
    h, w = len(lines), len(lines[0])

    def at(x, y):
        return lines[min(max(y, 0), h - 1)][min(max(x, 0), w - 1)]

    out = []
    for y in range(h):
        top, bottom = [], []
        for x in range(w):
            p, a, b, c, d = at(x, y), at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            if c == a and c != d and a != b:
                e0 = a
            else:
                e0 = p
            e1 = b if a == b and a != c and b != d else p
            e2 = c if d == c and d != b and c != a else p
            e3 = d if b == d and b != a and d != c else p
            top += [e0, e1]
            bottom += [e2, e3]
        out += ["".join(top), "".join(bottom)]
    return out


def pixel_art(lines, colours):
    palette = list(colours.values())
    keys = list(colours.keys())
    return palette, [[keys.index(ch) for ch in line] for line in lines]


# The bottom-left pixel of each picture is the transparent colour ("."): the lists
# draw every pixel of that colour as background.
TRANSPARENT = (255, 0, 255)

FIXED_DRIVE = [
    "................",
    "..############..",
    ".#wwwwwwwwwwww#.",
    "#wwwwwwwwwwwwww#",
    "################",
    "#llllllllllllll#",
    "#lllllllllllGGl#",
    "#ldddddddddllll#",
    "#llllllllllllll#",
    ".##############.",
    "................",
]
REMOVABLE_DRIVE = [
    "................",
    ".##############.",
    "#wwwwwwwwwwwwww#",
    "#llllllllllllll#",
    "#ll#########lll#",
    "#ll#kkkkkkk#lOl#",
    "#ll#########lll#",
    "#llllllllllllll#",
    ".##############.",
    "................",
]
DRIVE_COLOURS = {".": TRANSPARENT, "#": (64, 64, 72), "w": (232, 232, 236), "l": (192, 194, 200),
                 "d": (120, 122, 130), "G": (40, 200, 60), "k": (24, 24, 28), "O": (240, 150, 20)}

CLOSED_FOLDER = [
    "................",
    "................",
    ".#####..........",
    "#yyyyy#.........",
    "#yyyyyy#######..",
    "#hhhhhhhhhhhhh#.",
    "#yyyyyyyyyyyyy#.",
    "#yyyyyyyyyyyyy#.",
    "#yyyyyyyyyyyyy#.",
    "#yyyyyyyyyyyyy#.",
    "#yyyyyyyyyyyyy#.",
    "#ooooooooooooo#.",
    "###############.",
    "................",
    "................",
    "................",
]
OPEN_FOLDER = [
    "................",
    "................",
    ".####...........",
    "#oooo#######....",
    "#oopppppppppo#..",
    "#oopppppppppo#..",
    "#ooo############",
    "#ooo#hhhhhhhhhh#",
    "#oo#yyyyyyyyyy#.",
    "#oo#yyyyyyyyyy#.",
    "#o#yyyyyyyyyy#..",
    "##yyyyyyyyyy#...",
    "#############...",
    "................",
    "................",
    "................",
]
FOLDER_COLOURS = {".": TRANSPARENT, "#": (128, 96, 16), "y": (246, 206, 92), "h": (255, 234, 160),
                  "o": (214, 166, 52), "p": (255, 255, 255)}


def write(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (name, len(data)))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "..", "resources"))
    out = os.path.normpath(parser.parse_args().out)
    os.makedirs(out, exist_ok=True)
    write(out, "logo.bmp", bmp_indexed(*palettise(logo()), 8))
    write(out, "logosmall.bmp", bmp_indexed(*palettise(badge(34)), 8))
    write(out, "fixeddrive.bmp", bmp_indexed(*pixel_art(FIXED_DRIVE, DRIVE_COLOURS), 4))
    write(out, "removabledrive.bmp", bmp_indexed(*pixel_art(REMOVABLE_DRIVE, DRIVE_COLOURS), 4))
    write(out, "closedfolder.bmp", bmp_indexed(*pixel_art(CLOSED_FOLDER, FOLDER_COLOURS), 4))
    write(out, "openfolder.bmp", bmp_indexed(*pixel_art(OPEN_FOLDER, FOLDER_COLOURS), 4))
    write(out, "setup.ico", ico([badge(16), badge(32), badge(48)]))
    write(out, "logo_2x.bmp", bmp_indexed(*palettise(logo(2), coarse=True), 8))
    write(out, "logosmall_2x.bmp", bmp_indexed(*palettise(badge(68, 2), coarse=True), 8))
    for name, art, colours in (("fixeddrive", FIXED_DRIVE, DRIVE_COLOURS),
                               ("removabledrive", REMOVABLE_DRIVE, DRIVE_COLOURS),
                               ("closedfolder", CLOSED_FOLDER, FOLDER_COLOURS),
                               ("openfolder", OPEN_FOLDER, FOLDER_COLOURS)):
        write(out, name + "_2x.bmp", bmp_indexed(*pixel_art(scale2x(art), colours), 4))
    return 0


if __name__ == "__main__":
    sys.exit(main())
