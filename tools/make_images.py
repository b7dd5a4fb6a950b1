#!/usr/bin/env python3
"""Draws Orvenne's images and writes them, with their resource file, into resources/.

    python3 tools/make_images.py           writes resources/*.png and resources/images.qrc
    python3 tools/make_images.py --check   exits 1 when a written file differs from the drawing

Everything is drawn here, pixel by pixel, from the palette below; the output depends on
nothing but this file. Python 3 standard library only.
"""

import argparse
import pathlib
import struct
import sys
import zlib

RESOURCES = pathlib.Path(__file__).resolve().parent.parent / "resources"
QRC_NAME = "images.qrc"
QRC_PREFIX = "/images"

CLEAR = (0, 0, 0, 0)

# One palette for every image: the blues of the game's dialogue window, greys, gold and red.
PALETTE = {
    ".": CLEAR,
    "K": (22, 34, 74, 255),  # outline, navy
    "b": (30, 70, 160, 255),  # dark blue
    "B": (52, 110, 210, 255),  # blue
    "l": (120, 168, 236, 255),  # light blue
    "p": (214, 228, 250, 255),  # pale blue
    "W": (255, 255, 255, 255),
    "g": (96, 104, 118, 255),  # dark grey
    "G": (156, 164, 176, 255),  # grey
    "h": (214, 218, 226, 255),  # light grey
    "y": (160, 104, 22, 255),  # dark gold
    "Y": (232, 176, 64, 255),  # gold
    "u": (250, 222, 136, 255),  # light gold
    "r": (150, 30, 30, 255),  # dark red
    "R": (214, 64, 64, 255),  # red
    "q": (252, 224, 224, 255),  # pale red
}

# The dialogue window's frame and the corner colours of its gradient: the game's default
# colours, lightened so that they read at icon size.
FRAME_LIGHT = (236, 240, 246, 255)
FRAME_SHADE = (176, 186, 204, 255)
WINDOW_CORNERS = ((38, 104, 206), (14, 40, 130), (8, 22, 86), (20, 54, 170))


class Image:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [CLEAR] * (width * height)

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def put(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = color

    def blit(self, rows, x0=0, y0=0):
        """Draws a picture written as rows of palette letters; '.' leaves the pixel as it is."""
        for y, row in enumerate(rows):
            for x, letter in enumerate(row):
                if letter != ".":
                    self.put(x0 + x, y0 + y, PALETTE[letter])


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(len(a)))


def bilinear(corners, u, v):
    """Colour at (u, v) in [0, 1]² between the top-left, top-right, bottom-left and
    bottom-right colours, as the game shades its windows."""
    top = mix(corners[0], corners[1], u)
    bottom = mix(corners[2], corners[3], u)
    return mix(top, bottom, v) + (255,)


def rounded_mask(width, height, radius):
    """Pixels of a width x height rectangle with corners rounded by radius (pixel centres)."""
    mask = set()
    for y in range(height):
        for x in range(width):
            cx = min(max(x + 0.5, radius), width - radius)
            cy = min(max(y + 0.5, radius), height - radius)
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius:
                mask.add((x, y))
    return mask


def rings(mask):
    """Depth of each pixel of mask: 0 for those beside the outside, 1 for those beside depth
    0, and so on. Only the four side neighbours count, which keeps round corners thin."""
    depth = {}
    remaining = set(mask)
    level = 0
    while remaining:
        edge = {
            (x, y)
            for (x, y) in remaining
            if any((x + dx, y + dy) not in remaining
                   for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)))
        }
        for pixel in edge:
            depth[pixel] = level
        remaining -= edge
        level += 1
    return depth


def draw_window(image, x0, y0, width, height, radius, outline, frame, fill):
    """A dialogue window: the outline, then one ring of pixels per colour of frame, then the
    inside, coloured fill(u, v) with u and v running from 0 to 1 across it."""
    depth = rings(rounded_mask(width, height, radius))
    inner = 1 + len(frame)
    span_x = max(width - 2 * inner - 1, 1)
    span_y = max(height - 2 * inner - 1, 1)
    for (x, y), d in depth.items():
        if d == 0:
            color = outline
        elif d < inner:
            color = frame[d - 1]
        else:
            color = fill((x - inner) / span_x, (y - inner) / span_y)
        image.put(x0 + x, y0 + y, color)


def game_window_fill(u, v):
    return bilinear(WINDOW_CORNERS, u, v)


# Texts-list icons, 16 x 11. A text shown by windows has a light window whose lower right is
# left plain: the list draws the number of windows there, in navy. A text without a window
# has a dotted outline. The compared variants, for texts that differ from the other archive,
# are drawn in red, like the caption the list gives them.
LIST_ICON_SIZE = (16, 11)


def list_icon(outline, fill_top, fill_bottom, line, dotted):
    image = Image(*LIST_ICON_SIZE)
    width, height = LIST_ICON_SIZE

    def fill(u, v):
        return mix(fill_top, fill_bottom, v)

    draw_window(image, 0, 0, width, height, 2, outline, (), fill)
    if dotted:
        for x in range(width):
            for y in range(height):
                if image.get(x, y) == outline and (x + y) % 2 == 1:
                    image.put(x, y, CLEAR)
    # Two lines of text in the upper left, clear of the window count.
    for x in range(3, 9):
        image.put(x, 3, line)
    for x in range(3, 7):
        image.put(x, 5, line)
    return image


def window_icon():
    return list_icon(PALETTE["b"], PALETTE["p"], PALETTE["W"], PALETTE["B"], dotted=False)


def window_icon_compared():
    return list_icon(PALETTE["r"], PALETTE["q"], PALETTE["W"], PALETTE["R"], dotted=False)


def disabled_window_icon():
    return list_icon(PALETTE["G"], PALETTE["W"], PALETTE["W"], PALETTE["G"], dotted=True)


def disabled_window_icon_compared():
    return list_icon(PALETTE["R"], PALETTE["W"], PALETTE["W"], PALETTE["R"], dotted=True)


# The texts list's mark of a text that overflows a window, drawn at the right of its row: a red
# warning sign, 11 x 11.
OVERFLOW_MARK_ROWS = [
    ".....r.....",
    "....rRr....",
    "....rRr....",
    "...rRWRr...",
    "...rRWRr...",
    "..rRRWRRr..",
    "..rRRWRRr..",
    ".rRRRRRRRr.",
    ".rRRRWRRRr.",
    "rRRRRRRRRRr",
    "rrrrrrrrrrr",
]


def picture(rows):
    """An image as large as a picture written as rows of palette letters, drawn from them."""
    image = Image(len(rows[0]), len(rows))
    image.blit(rows)
    return image


def overflow_mark():
    return picture(OVERFLOW_MARK_ROWS)


# The texts list's marks of what the checks of a translation against its original found, drawn
# left of the overflow mark and round to tell them from it, 11 x 11: a red disk with a white
# cross for an error (what breaks the game's script), a gold disk with a navy "!" for a
# warning.
FINDING_ERROR_ROWS = [
    "...rrrrr...",
    "..rRRRRRr..",
    ".rRRRRRRRr.",
    "rRRWRRRWRRr",
    "rRRRWRWRRRr",
    "rRRRRWRRRRr",
    "rRRRWRWRRRr",
    "rRRWRRRWRRr",
    ".rRRRRRRRr.",
    "..rRRRRRr..",
    "...rrrrr...",
]

FINDING_WARNING_ROWS = [
    "...yyyyy...",
    "..yYYYYYy..",
    ".yYYYKYYYy.",
    "yYYYYKYYYYy",
    "yYYYYKYYYYy",
    "yYYYYKYYYYy",
    "yYYYYYYYYYy",
    "yYYYYKYYYYy",
    ".yYYYYYYYy.",
    "..yYYYYYy..",
    "...yyyyy...",
]


def finding_error_mark():
    return picture(FINDING_ERROR_ROWS)


def finding_warning_mark():
    return picture(FINDING_WARNING_ROWS)


# Tool-bar icons, 16 x 16.

OPEN_ROWS = [
    "................",
    "................",
    ".yyyy...........",
    "yuuuuy..........",
    "yuYYYuyyyyyy....",
    "yuYKKKKKKKKKK...",
    "yuYKWWWWWWWWK...",
    "yuYKWBBBBBBWK...",
    "yuYKWWWWWWWWK...",
    "yuYyyyyyyyyyyyyy",
    "yuyuuuuuuuuuuuuy",
    "yyuYYYYYYYYYYYy.",
    "yyYYYYYYYYYYYy..",
    "yYYYYYYYYYYYYy..",
    "yyyyyyyyyyyyyy..",
    "................",
]

SAVE_ROWS = [
    "................",
    ".KKKKKKKKKKKKK..",
    ".KBlhhhhhhhhBlK.",
    ".KBlhhhhhgghBBK.",
    ".KBlhhhhhgghBBK.",
    ".KBlhhhhhgghBBK.",
    ".KBlGGGGGGGGBBK.",
    ".KBBBBBBBBBBBBK.",
    ".KBWWWWWWWWWWBK.",
    ".KBWWWWWWWWWWBK.",
    ".KBWbbbbbbbbWBK.",
    ".KBWWWWWWWWWWBK.",
    ".KBWbbbbbbWWWBK.",
    ".KbWWWWWWWWWWbK.",
    ".KKKKKKKKKKKKKK.",
    "................",
]

SAVE_AS_DISK_ROWS = [
    "KKKKKKKKKKK.",
    "KBlhhhhhhBlK",
    "KBlhhhhgghBK",
    "KBlhhhhgghBK",
    "KBlGGGGGGGBK",
    "KBBBBBBBBBBK",
    "KBWWWWWWWWBK",
    "KBWbbbbbbWBK",
    "KBWWWWWWWWBK",
    "KBWbbbbbWWBK",
    "KbWWWWWWWWbK",
    "KKKKKKKKKKKK",
]

# A pencil lying from upper right to lower left, point down.
PENCIL_ROWS = [
    "......KK.",
    ".....KqRK",
    "....KuYrK",
    "...KuYyK.",
    "..KuYyK..",
    ".KhYyK...",
    "KghhK....",
    "KKgK.....",
    "KK.......",
]


def open_icon():
    image = Image(16, 16)
    image.blit(OPEN_ROWS)
    return image


def save_icon():
    image = Image(16, 16)
    image.blit(SAVE_ROWS)
    return image


def save_as_icon():
    image = Image(16, 16)
    image.blit(SAVE_AS_DISK_ROWS, 0, 1)
    image.blit(PENCIL_ROWS, 7, 7)
    return image


# The button that opens the window modification dialog: a dialogue window and a diagonal
# double arrow for moving and resizing it.
MODIFY_ARROW_ROWS = [
    "KKKKK...",
    "KWWWK...",
    "KWWK....",
    "KWKWK...",
    "KK.KWK.K",
    "....KWKK",
    "...KWWWK",
    "...KKKKK",
]


def modify_window_icon():
    image = Image(16, 16)
    draw_window(image, 0, 1, 13, 10, 2, PALETTE["K"], (FRAME_LIGHT,), game_window_fill)
    for x in range(3, 9):
        image.put(x, 4, PALETTE["W"])
    for x in range(3, 7):
        image.put(x, 6, PALETTE["W"])
    image.blit(MODIFY_ARROW_ROWS, 8, 8)
    return image


# The window modification dialog's buttons: a small window centred between two bars (the
# dotted line marks the middle), and a window of three text lines for the lines menu.

def centre_icon(horizontal):
    image = Image(16, 16)

    def put(along, across, color):
        if horizontal:
            image.put(along, across, color)
        else:
            image.put(across, along, color)

    for across in range(2, 14):
        put(0, across, PALETTE["g"])
        put(15, across, PALETTE["g"])
    for along in (7, 8):
        for across in (1, 3, 12, 14):
            put(along, across, PALETTE["G"])
    if horizontal:
        draw_window(image, 4, 5, 8, 6, 1, PALETTE["K"], (), game_window_fill)
    else:
        draw_window(image, 5, 4, 6, 8, 1, PALETTE["K"], (), game_window_fill)
    return image


def horizontal_centre_icon():
    return centre_icon(True)


def vertical_centre_icon():
    return centre_icon(False)


def lines_icon():
    image = Image(16, 16)
    draw_window(image, 0, 1, 16, 14, 2, PALETTE["K"], (FRAME_LIGHT,), game_window_fill)
    for y, end in ((4, 13), (7, 12), (10, 10)):
        for x in range(3, end):
            image.put(x, y, PALETTE["W"])
    return image


# The grip drawn at the corners and edge middles of the window being modified: a blue border
# around five rows of light blue, opaque.
GRIP_BORDER = (91, 121, 163, 255)
GRIP_ROWS = [(206, 220, 236), (199, 215, 236), (192, 209, 234), (174, 199, 232), (186, 208, 239)]


def grip():
    image = Image(7, 7)
    for y in range(7):
        for x in range(7):
            inside = 0 < x < 6 and 0 < y < 6
            image.put(x, y, GRIP_ROWS[y - 1] + (255,) if inside else GRIP_BORDER)
    return image


# The program's icon: the game's blue dialogue window with lines of white text, and a pencil.

def program_icon_16():
    image = Image(16, 16)
    draw_window(image, 0, 2, 16, 12, 2, PALETTE["K"], (FRAME_LIGHT,), game_window_fill)
    for x in range(3, 11):
        image.put(x, 5, PALETTE["W"])
    for x in range(3, 8):
        image.put(x, 8, PALETTE["W"])
    return image


def program_icon_32():
    image = Image(32, 32)
    draw_window(image, 1, 5, 30, 22, 3, PALETTE["K"], (FRAME_LIGHT, FRAME_SHADE),
                game_window_fill)
    for y, (start, end) in zip((10, 14, 18), ((6, 24), (6, 20), (6, 14))):
        for x in range(start, end):
            image.put(x, y, PALETTE["W"])
            image.put(x, y + 1, PALETTE["W"])
    image.blit(PENCIL_ROWS, 21, 20)
    return image


# The program's image at large sizes (from the about box's 48 x 48 up to 256 x 256), drawn from
# shapes on a unit square and smoothed by sampling each pixel on a grid.

SAMPLES = 4


def paint(image, inside, color, box=(0.0, 0.0, 1.0, 1.0)):
    """Blends colour(u, v) over the pixels of image where inside(u, v) holds, by the share of
    each pixel's samples inside; u and v run from 0 to 1 across the image, box bounds the
    shape."""
    size = image.width
    x_range = range(max(int(box[0] * size) - 1, 0), min(int(box[2] * size) + 2, size))
    y_range = range(max(int(box[1] * size) - 1, 0), min(int(box[3] * size) + 2, size))
    offsets = [(i + 0.5) / SAMPLES / size for i in range(SAMPLES)]
    for y in y_range:
        for x in x_range:
            hits = sum(inside(x / size + du, y / size + dv) for du in offsets for dv in offsets)
            if hits:
                top = color((x + 0.5) / size, (y + 0.5) / size)
                image.put(x, y, over(top, hits / SAMPLES ** 2, image.get(x, y)))


def over(top, coverage, bottom):
    alpha = top[3] / 255 * coverage
    out_alpha = alpha + bottom[3] / 255 * (1 - alpha)
    if out_alpha == 0:
        return CLEAR
    rgb = tuple(round((top[i] * alpha + bottom[i] * bottom[3] / 255 * (1 - alpha)) / out_alpha)
                for i in range(3))
    return rgb + (round(out_alpha * 255),)


def rounded_box(x0, y0, x1, y1, radius):
    def inside(u, v):
        cx = min(max(u, x0 + radius), x1 - radius)
        cy = min(max(v, y0 + radius), y1 - radius)
        return x0 <= u <= x1 and y0 <= v <= y1 and (u - cx) ** 2 + (v - cy) ** 2 <= radius ** 2
    return inside, (x0, y0, x1, y1)


def solid(color):
    return lambda u, v: color


# The pencil, in its own coordinates: s along it from the point (0) to the end (1), t across
# it from -1 to 1. Each part: its s range, and whether it narrows to the point.
PENCIL_POINT = (0.54, 0.93)
PENCIL_END = (0.91, 0.56)
PENCIL_HALF_WIDTH = 0.055
PENCIL_PARTS = [  # s from, s to, colour
    (0.0, 0.09, PALETTE["K"]),  # lead
    (0.09, 0.30, PALETTE["u"]),  # sharpened wood
    (0.30, 0.78, PALETTE["Y"]),  # painted body
    (0.78, 0.86, PALETTE["h"]),  # metal band
    (0.86, 1.0, PALETTE["R"]),  # eraser
]
PENCIL_CONE = 0.30


def pencil_shape(s_from, s_to, grow):
    """The part of the pencil between s_from and s_to, widened by grow (for the outline)."""
    (px, py), (ex, ey) = PENCIL_POINT, PENCIL_END
    length = ((ex - px) ** 2 + (ey - py) ** 2) ** 0.5
    ax, ay = (ex - px) / length, (ey - py) / length

    def inside(u, v):
        s = ((u - px) * ax + (v - py) * ay) / length
        t = abs((u - px) * -ay + (v - py) * ax) / PENCIL_HALF_WIDTH
        grown = grow / length
        if not s_from - grown <= s <= s_to + grown:
            return False
        width = min(max(s, 0) / PENCIL_CONE, 1)
        return t <= width + grow / PENCIL_HALF_WIDTH
    margin = PENCIL_HALF_WIDTH + grow
    return inside, (min(px, ex) - margin, min(py, ey) - margin,
                    max(px, ex) + margin, max(py, ey) + margin)


def program_image(size):
    image = Image(size, size)
    top, bottom = 0.17, 0.78
    layers = [
        (rounded_box(0.03, top, 0.97, bottom, 0.08), solid(PALETTE["K"])),
        (rounded_box(0.05, top + 0.02, 0.95, bottom - 0.02, 0.06), solid(FRAME_LIGHT)),
        (rounded_box(0.08, top + 0.05, 0.92, bottom - 0.05, 0.035), solid(FRAME_SHADE)),
        (rounded_box(0.09, top + 0.06, 0.91, bottom - 0.06, 0.03),
         lambda u, v: bilinear(WINDOW_CORNERS, (u - 0.09) / 0.82, (v - top - 0.06) / 0.49)),
    ]
    for row, end in enumerate((0.74, 0.62, 0.44)):
        y = 0.31 + row * 0.12
        layers.append((rounded_box(0.17, y, end, y + 0.06, 0.02), solid(PALETTE["W"])))
    layers.append((pencil_shape(0.0, 1.0, 0.025), solid(PALETTE["K"])))
    for s_from, s_to, color in PENCIL_PARTS:
        layers.append((pencil_shape(s_from, s_to, 0.0), solid(color)))
    for (inside, box), color in layers:
        paint(image, inside, color, box)
    return image


def program_image_48():
    return program_image(48)


def program_image_64():
    return program_image(64)


def program_image_128():
    return program_image(128)


def program_image_256():
    return program_image(256)


# PNG writing: 8-bit RGBA, no filtering, no metadata, so the bytes depend on the pixels alone.

def scanlines(image):
    data = bytearray()
    for y in range(image.height):
        data.append(0)
        for x in range(image.width):
            data.extend(image.get(x, y))
    return bytes(data)


def chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png_header(image):
    return struct.pack(">IIBBBBB", image.width, image.height, 8, 6, 0, 0, 0)


def png_bytes(image):
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", png_header(image)) +
            chunk(b"IDAT", zlib.compress(scanlines(image), 9)) + chunk(b"IEND", b""))


def png_content(data):
    """Header and uncompressed image data of a PNG file, or None when it is not one."""
    if not data.startswith(b"\x89PNG\r\n\x1a\n"):
        return None
    header, compressed, position = None, b"", 8
    while position + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            header = body
        elif kind == b"IDAT":
            compressed += body
        position += 12 + length
    try:
        return header, zlib.decompress(compressed)
    except zlib.error:
        return None


IMAGES = [
    ("window_icon.png", window_icon),
    ("disabled_window_icon.png", disabled_window_icon),
    ("window_icon_compared.png", window_icon_compared),
    ("disabled_window_icon_compared.png", disabled_window_icon_compared),
    ("overflow_mark.png", overflow_mark),
    ("finding_error.png", finding_error_mark),
    ("finding_warning.png", finding_warning_mark),
    ("open.png", open_icon),
    ("save.png", save_icon),
    ("save_as.png", save_as_icon),
    ("modify_window.png", modify_window_icon),
    ("horizontal_center.png", horizontal_centre_icon),
    ("vertical_center.png", vertical_centre_icon),
    ("lines.png", lines_icon),
    ("grip.png", grip),
    ("orvenne_16.png", program_icon_16),
    ("orvenne_32.png", program_icon_32),
    ("orvenne_48.png", program_image_48),
    ("orvenne_64.png", program_image_64),
    ("orvenne_128.png", program_image_128),
    ("orvenne_256.png", program_image_256),
]


def qrc_text():
    files = "".join(f"        <file>{name}</file>\n" for name, _ in IMAGES)
    return (f'<!DOCTYPE RCC>\n<RCC version="1.0">\n    <qresource prefix="{QRC_PREFIX}">\n'
            f"{files}    </qresource>\n</RCC>\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare the files in resources/ with the drawings, write nothing")
    parser.add_argument("--output", type=pathlib.Path, default=RESOURCES,
                        help="folder to write or check (default: the repository's resources/)")
    arguments = parser.parse_args()

    drawings = [(name, draw()) for name, draw in IMAGES]
    if arguments.check:
        stale = []
        for name, image in drawings:
            path = arguments.output / name
            # Compared uncompressed: another zlib may pack the same pixels differently.
            found = png_content(path.read_bytes()) if path.exists() else None
            if found != (png_header(image), scanlines(image)):
                stale.append(name)
        qrc = arguments.output / QRC_NAME
        if not qrc.exists() or qrc.read_text(encoding="utf-8") != qrc_text():
            stale.append(QRC_NAME)
        for name in stale:
            print(f"{name} differs from what tools/make_images.py draws", file=sys.stderr)
        return 1 if stale else 0

    arguments.output.mkdir(parents=True, exist_ok=True)
    for name, image in drawings:
        (arguments.output / name).write_bytes(png_bytes(image))
    (arguments.output / QRC_NAME).write_text(qrc_text(), encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
