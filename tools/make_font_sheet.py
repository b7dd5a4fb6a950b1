#!/usr/bin/env python3
"""Draws the font sheet of the text preview and writes it to resources/font_sheet.png.

    python3 tools/make_font_sheet.py           writes resources/font_sheet.png
    python3 tools/make_font_sheet.py --check   runs the script's own tests, then exits 1 when
                                               the file's pixels differ from the drawing or an
                                               advance differs from ADVANCES

The glyphs are drawn in tools/font_glyphs.txt; this script adds their shadows, lays them out
in the game's cell order and writes a 4-bit palette PNG. The output depends on nothing but the
two files. Python 3 standard library only.
"""

import argparse
import pathlib
import re
import struct
import sys
import zlib

TOOLS = pathlib.Path(__file__).resolve().parent
SHEET_PATH = TOOLS.parent / "resources" / "font_sheet.png"
GLYPHS_PATH = TOOLS / "font_glyphs.txt"

SHEET_SIZE = 256
CELL = 12
CELLS_PER_ROW = 21
BIT_DEPTH = 4

# Palette indices. The preview keys out index 0 and recolours the body for the colour tags.
KEY, SHADOW, BODY = 0, 1, 2
PALETTE = [(255, 0, 255), (33, 32, 33), (255, 255, 255)] + [(0, 0, 0)] * 13

# What each game code reads as, as text/character_table.h has it: 0x00-0x5E printable ASCII,
# then accented letters, symbols and the placeholders "%1" to "%50" for game symbols that
# Windows-1252 lacks, then tags, TAB, line breaks, "{MODE}" and a NUL.
CHARACTERS = (
    [chr(0x20 + code) for code in range(0x5F)] + [" "]
    + list("ÄÅÇÉÑÖÜáàâäãåçéè" "êëíìîïñóòôöõúùûü")
    + ["%1", "°", "¢", "£", "%2", "%3", "¶", "ß", "®", "©", "™", "%4", "¨", "%5", "Æ", "Ø"]
    + ["%6", "±", "%7", "%8", "¥", "µ", "%9", "%10",
       "%11", "%12", "%13", "ª", "º", "%14", "æ", "ø"]
    + ["¿", "¡", "¬", "%15", "ƒ", "%16", "%17", "«", "»", "…", " ", "À", "Ã", "Õ", "Œ", "œ"]
    + ["–", "—", "“", "”", "‘", "’", "%18", "%19", "ÿ", "Ÿ", "%20", "¤", "‹", "›", "%21", "%22"]
    + ["%23", "%24", ",", "„", "‰", "Â", "Ê", "Á", "Ë", "È", "Í", "Î", "Ï", "Ì", "Ó", "Ô"]
    + ["%25", "Ò", "Ù", "Û"] + [f"%{number}" for number in range(26, 38)]
    + ["{CHOICE}", "\t", "‚", "%38", "%39", "%40", "%41", "\r\n",
       "\r\n{NEW PAGE}\r\n", "%42", "{CLOUD}", "{BARRET}", "{TIFA}", "{AERIS}", "{RED XIII}",
       "{YUFFIE}"]
    + ["{CAIT SITH}", "{VINCENT}", "{CID}", "{MEMBER 1}", "{MEMBER 2}", "{MEMBER 3}"]
    + [f"%{number}" for number in range(43, 51)] + ["{MODE}", "\0"]
)

TAB_CODE = 0xE1

# The advance the preview must compute for each code from this sheet: row = high hex digit,
# column = low digit. The widths are those of a proportional dialogue font.
ADVANCES = [int(value) for value in """
     3  3 10 10  7 10  9  3 10 10  7  7  8  5  7  6
     8  9  8  8  8  8  8  8  8  8  7  4  7  8  7  6
    10  9  7  8  8  7  7  8  8  3  6  7  7 11  8  9
     7  9  7  7  7  8  9 11  8  9  7  4  6  4  7  8
     4  7  7  6  7  7  6  7  7  3  4  6  3 11  7  7
     7  7  5  6  6  7  7 11  7  7  6  5  3  5  8  4
    11 14 10 11 11  9  8  7  7  7  7  7  7  7  7  7
     7  7  4  4  4  4  7  7  7  7  7  7  7  7  7  7
    11  6  7  8 11  6  7  7  9  9 11  4  5  8 12  9
    11  7  7  7  9  7  7  7  9  8  4  6  6  9 11  7
     6  3  8  7  8  8  9  7  7  9  4  9  9  9 12 11
     8 12  6  6  4  4  7  7  7  9  7  9  5  5  7  7
     8  3  8  6 13  9  7  9  7  7  3  4  4  3  9  9
     8  9  8  8  8  3  6  7  5  6  3  6  5  6  5  5
     1 13  2  2  2  2  2  1  1  2  1  1  1  1  1  1
     1  1  1  1  1  1  2  2  2  2  2  2  2  2  1  2
""".split()]


class FontError(Exception):
    """A fault in the glyph file or the drawing; the message is one line."""


# How the preview turns a cell into an advance.

def placeholder_number(entry):
    """The number of a placeholder entry such as "%12", or None."""
    match = re.fullmatch(r"%(\d+)", entry)
    return int(match.group(1)) if match else None


def lead(code):
    """Key-colour columns the preview puts before the cell."""
    entry = CHARACTERS[code]
    if len(entry) == 1 and entry in "\"():1ÄÅÇÉÑ":
        return 2
    if len(entry) == 1 and entry in ",.":
        return 1
    return 0


def spacing(code):
    """Pixels the preview adds to the ink width; may be negative."""
    entry = CHARACTERS[code]
    number = placeholder_number(entry)
    if number is not None:
        return {2: 4, 3: -1}.get(number, 1 if 1 <= number <= 50 else 3)
    if len(entry) != 1:
        return 0  # tags and line breaks
    if code == TAB_CODE:
        return 12
    if entry in ",.)\"(Å":
        return 4
    if entry in " 1:É":
        return 3
    if entry == "Ñ":
        return 2
    if entry in "›ÌÍÏîï":
        return 0
    return 1


def advance(code, cell):
    """The advance of code when its 12 x 12 cell (rows of palette indices) is cell: the cell
    shifted right by the lead and cut at the twelfth column, the width of its ink (every index
    but the key), plus the spacing."""
    if code == 0:
        return 3
    shift = lead(code)
    ink_width = 1
    for row in cell:
        for x, index in enumerate(row):
            if index != KEY and x + shift < CELL:
                ink_width = max(ink_width, x + shift + 1)
    return ink_width + spacing(code)


# The glyph file.
#
# Blocks are separated by blank lines; lines starting with ';' are comments.
#   mark NAME            followed by rows: a piece that glyphs are put together from
#   0xNN C               followed by 12 rows: the glyph of code NN, whose entry is C
#   0xNN C = P [X,Y] + Q [X,Y] ...
#                        the glyph put together from glyphs (named by their character) and
#                        marks, each moved right by X and down by Y
# Rows are '#' for the body and '.' for the key, all of one length up to 12.

def parse_rows(rows, number, height=None):
    if height is not None and len(rows) != height:
        raise FontError(f"line {number}: {len(rows)} rows instead of {height}")
    if not rows or any(len(row) != len(rows[0]) for row in rows) or len(rows[0]) > CELL:
        raise FontError(f"line {number}: rows must be of one length, 1 to {CELL}")
    return {(x, y) for y, row in enumerate(rows) for x, letter in enumerate(row)
            if letter == "#"}


def read_glyphs(text):
    """The body pixels of each drawn code, {code: {(x, y)}}, from the glyph file's text."""
    blocks, current = [], None
    for number, line in enumerate(text.splitlines(), 1):
        if line.startswith(";"):
            continue
        if not line.strip():
            current = None
        elif re.fullmatch(r"[#.]+", line):
            if current is None:
                raise FontError(f"line {number}: rows without a heading")
            if current[2] is not None:
                raise FontError(f"line {number}: a put-together glyph has no rows")
            current[3].append(line)
        elif current is not None:
            raise FontError(f"line {number}: a heading must follow a blank line")
        else:
            current = [number, line, None, []]
            match = re.fullmatch(r"0x([0-9A-F]{2}) (.+?) = (.+)", line)
            if match:
                current[2] = match.group(3)
            blocks.append(current)

    marks, glyphs, recipes = {}, {}, {}
    for number, heading, recipe, rows in blocks:
        match = re.fullmatch(r"mark ([a-z-]+)", heading)
        if match:
            marks[match.group(1)] = parse_rows(rows, number)
            continue
        match = re.fullmatch(r"0x([0-9A-F]{2}) (.+?)( = .+)?", heading)
        if not match:
            raise FontError(f"line {number}: unknown heading {heading!r}")
        code = int(match.group(1), 16)
        if match.group(2) != CHARACTERS[code]:
            raise FontError(f"line {number}: code 0x{code:02X} is {CHARACTERS[code]!r}, "
                            f"not {match.group(2)!r}")
        if code in glyphs or code in recipes:
            raise FontError(f"line {number}: code 0x{code:02X} is drawn twice")
        if recipe is None:
            glyphs[code] = parse_rows(rows, number, CELL)
        else:
            recipes[code] = (number, recipe)

    by_character = {CHARACTERS[code]: pixels for code, pixels in glyphs.items()}
    for code, (number, recipe) in recipes.items():
        pixels = set()
        for part in recipe.split(" + "):
            match = re.fullmatch(r"(\S+)(?: (-?\d+),(-?\d+))?", part)
            name = match.group(1) if match else part
            piece = marks.get(name) if len(name) > 1 else by_character.get(name)
            if piece is None:
                raise FontError(f"line {number}: no glyph or mark {name!r}")
            dx, dy = int(match.group(2) or 0), int(match.group(3) or 0)
            pixels |= {(x + dx, y + dy) for x, y in piece}
        glyphs[code] = pixels
    for code, pixels in glyphs.items():
        if any(not (0 <= x < CELL and 0 <= y < CELL) for x, y in pixels):
            raise FontError(f"code 0x{code:02X} reaches outside its cell")
    return glyphs


# Drawing.

def draw_cell(body):
    """The 12 x 12 palette indices of a glyph: its body pixels, and a shadow on the pixels
    right of, below and right-below them that are not body, cut at the cell's edges."""
    cell = [[KEY] * CELL for _ in range(CELL)]
    for x, y in body:
        for dx, dy in ((1, 0), (0, 1), (1, 1)):
            if x + dx < CELL and y + dy < CELL and (x + dx, y + dy) not in body:
                cell[y + dy][x + dx] = SHADOW
    for x, y in body:
        cell[y][x] = BODY
    return cell


def cell_origin(code):
    return CELL * (code % CELLS_PER_ROW), CELL * (code // CELLS_PER_ROW)


def draw_sheet(glyphs):
    """The sheet as rows of palette indices, and the cells it was made of."""
    sheet = [[KEY] * SHEET_SIZE for _ in range(SHEET_SIZE)]
    cells = []
    for code in range(256):
        cell = draw_cell(glyphs.get(code, set()))
        cells.append(cell)
        left, top = cell_origin(code)
        for y, row in enumerate(cell):
            sheet[top + y][left:left + CELL] = row
    return sheet, cells


def misdrawn(glyphs, cells):
    """One description per code whose drawing breaks a rule: a wrong advance, or ink in a cell
    that must stay empty (spaces, tags, TAB, the NUL)."""
    faults = []
    for code in range(256):
        entry = CHARACTERS[code]
        if glyphs.get(code) and (entry.isspace() or entry == "\0" or len(entry) > 1
                                 and placeholder_number(entry) is None):
            faults.append(f"0x{code:02X} {entry!r} must stay empty")
        found = advance(code, cells[code])
        if found != ADVANCES[code]:
            faults.append(f"0x{code:02X} {entry!r} advance {found}, table {ADVANCES[code]}")
    return faults


# PNG writing and reading: colour type 3 (palette), 4 bits per pixel, no filtering, no
# metadata, so that the bytes depend on the pixels alone.

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def pack_row(row):
    """A row of 4-bit indices as bytes, left pixel in the high half."""
    padded = row + [0] * (len(row) % 2)
    return bytes(padded[i] << 4 | padded[i + 1] for i in range(0, len(padded), 2))


def png_bytes(sheet, row_filter=0):
    """The PNG file of sheet. Every row is stored with filter row_filter (0 to 4); the sheet
    is written unfiltered, the other filters serve the reader's tests."""
    header = struct.pack(">IIBBBBB", len(sheet[0]), len(sheet), BIT_DEPTH, 3, 0, 0, 0)
    palette = b"".join(bytes(color) for color in PALETTE)
    data, previous = bytearray(), bytes(len(pack_row(sheet[0])))
    for row in sheet:
        packed = pack_row(row)
        data.append(row_filter)
        data.extend(filter_row(row_filter, packed, previous))
        previous = packed
    return (PNG_SIGNATURE + chunk(b"IHDR", header) + chunk(b"PLTE", palette) +
            chunk(b"IDAT", zlib.compress(bytes(data), 9)) + chunk(b"IEND", b""))


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def predictor(kind, left, up, up_left):
    return (0, left, up, (left + up) // 2, paeth(left, up, up_left))[kind]


def filter_row(kind, row, previous):
    return bytes((row[i] - predictor(kind, row[i - 1] if i else 0, previous[i],
                                     previous[i - 1] if i else 0)) & 0xFF
                 for i in range(len(row)))


def read_png(data):
    """The palette and the rows of palette indices of a 4-bit palette PNG without tRNS, as
    (palette, rows); None for any other file. Filtered rows are undone, so a file that another
    tool has repacked reads the same as long as its pixels are the same."""
    if not data.startswith(PNG_SIGNATURE):
        return None
    chunks, position = {}, len(PNG_SIGNATURE)
    while position + 12 <= len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        chunks.setdefault(kind, []).append(data[position + 8:position + 8 + length])
        position += 12 + length
    if b"tRNS" in chunks or len(chunks.get(b"IHDR", ())) != 1 or b"PLTE" not in chunks:
        return None
    width, height, depth, color_type, _, _, interlace = struct.unpack(">IIBBBBB",
                                                                       chunks[b"IHDR"][0])
    if (depth, color_type, interlace) != (BIT_DEPTH, 3, 0):
        return None
    palette_bytes = chunks[b"PLTE"][0]
    palette = [tuple(palette_bytes[i:i + 3]) for i in range(0, len(palette_bytes), 3)]
    try:
        raw = zlib.decompress(b"".join(chunks.get(b"IDAT", ())))
    except zlib.error:
        return None
    stride = (width * BIT_DEPTH + 7) // 8
    if len(raw) != height * (stride + 1):
        return None
    rows, previous = [], bytes(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        if kind > 4:
            return None
        for i in range(stride):
            left = line[i - 1] if i else 0
            up_left = previous[i - 1] if i else 0
            line[i] = (line[i] + predictor(kind, left, previous[i], up_left)) & 0xFF
        rows.append([index for byte in line for index in (byte >> 4, byte & 0xF)][:width])
        previous = line
    return palette, rows


def first_difference(expected, found):
    """Where the decoded file first differs from the drawing, in words."""
    if found is None:
        return "it is not a 4-bit palette PNG without transparency"
    palette, rows = found
    if palette != PALETTE:
        return "its palette differs"
    if len(rows) != len(expected) or len(rows[0]) != len(expected[0]):
        return f"it is {len(rows[0])} x {len(rows)} pixels"
    for y, (want, have) in enumerate(zip(expected, rows)):
        for x, (a, b) in enumerate(zip(want, have)):
            if a != b:
                code = (y // CELL) * CELLS_PER_ROW + x // CELL
                inside = x < CELL * CELLS_PER_ROW and code < 256
                where = f" in the cell of 0x{code:02X}" if inside else ""
                return f"first at pixel ({x}, {y}){where}"
    return None


# Tests of the pieces the check relies on, run by --check before it looks at the file. Each
# raises FontError when it fails.

def expect(condition, what):
    if not condition:
        raise FontError(what)


def test_shadow():
    # Right, below and right-below of the body, never on it, cut at the cell's edges.
    cell = draw_cell({(0, 0), (1, 1), (11, 11), (11, 5), (5, 11)})
    expect(cell[0][1] == SHADOW and cell[1][0] == SHADOW and cell[1][1] == BODY
           and cell[2][2] == SHADOW and cell[0][2] == KEY and cell[2][0] == KEY,
           "shadow around the body")
    expect(len(cell) == CELL and all(len(row) == CELL for row in cell)
           and cell[6][11] == SHADOW and cell[11][6] == SHADOW and cell[11][11] == BODY,
           "shadow cut at the cell's edge")


def test_advance():
    # The empty cell is one pixel wide, the shadow counts as ink, the lead shifts the cell
    # and loses what passes the twelfth column, code 0 is always 3.
    a, quote = 0x21, 0x02
    expect(advance(a, draw_cell(set())) == 2, "advance of an empty cell")
    expect(advance(a, draw_cell({(4, 5)})) == 6 + 1, "shadow counts as ink")
    expect(advance(quote, draw_cell({(3, 3)})) == (4 + 2 + 1) + 4, "lead shifts the cell")
    expect(advance(quote, draw_cell({(9, 3)})) == 12 + 4, "lead cuts at the cell's edge")
    expect(advance(TAB_CODE, draw_cell(set())) == 13 and advance(0, draw_cell({(5, 5)})) == 3,
           "advances of TAB and code 0")
    expect([spacing(code) for code in (0x80, 0x84, 0x85, 0xBD, 0x63, 0x64, 0xE0, 0xFF)]
           == [1, 4, -1, 0, 3, 2, 0, 1], "spacing of placeholders, letters and tags")


def test_sheet_layout():
    # Code n at (12 (n mod 21), 12 (n div 21)); the right columns and the rows below the
    # last cells stay key colour.
    sheet, cells = draw_sheet({0x14: {(0, 0)}, 0x15: {(0, 0)}, 0xFF: {(10, 10)}})
    expect(sheet[0][240] == BODY and sheet[12][0] == BODY and sheet[154][46] == BODY
           and cells[0xFF][10][10] == BODY, "cells in code order, 21 to a row")
    expect(all(index == KEY for row in sheet for index in row[252:])
           and all(index == KEY for row in sheet[156:] for index in row),
           "key colour outside the cells")
    faults = misdrawn({0x5F: {(0, 0)}, 0xE0: {(0, 0)}, 0xE3: {(0, 0)}}, cells)
    expect(any(fault.startswith("0x5F ' ' must stay empty") for fault in faults)
           and any(fault.startswith("0xE0 '{CHOICE}' must stay empty") for fault in faults)
           and not any(fault.startswith("0xE3 '%38' must") for fault in faults),
           "cells that must stay empty")


def test_png_reader():
    # Every row filter is undone; what is not a 4-bit palette PNG is refused.
    sheet = [[(x * 7 + y * 3 + x * y) % 3 for x in range(13)] for y in range(5)]
    for kind in range(5):
        expect(read_png(png_bytes(sheet, kind)) == (PALETTE, sheet), f"row filter {kind}")
    plain = png_bytes(sheet)
    with_trns = plain[:-12] + chunk(b"tRNS", b"\0") + plain[-12:]
    expect(read_png(with_trns) is None and read_png(plain[1:]) is None
           and read_png(plain[:60]) is None, "foreign or broken files")


def test_glyph_file():
    # Headings name their code's character; glyphs are put together; rows keep to the cell.
    rows = "\n".join(["#."] * CELL)
    expect(read_glyphs(f"0x21 A\n{rows}\n\nmark dot\n#\n\n0x60 Ä = A + dot 1,0")
           == {0x21: {(0, y) for y in range(CELL)},
               0x60: {(0, y) for y in range(CELL)} | {(1, 0)}}, "put-together glyph")
    for wrong in (f"0x21 B\n{rows}", "0x21 A\n#", f"0x21 A\n{rows}\n\n0x60 Ä = A 12,0",
                  f"0x21 A\n{rows}\n\n0x21 A = A", "0x60 Ä = A + dot", f"0x21 A\n{rows}\n#"):
        try:
            read_glyphs(wrong)
        except FontError:
            continue
        raise FontError(f"glyph file fault let through: {wrong.splitlines()[0]!r}")


def test_character_table():
    # CHARACTERS is the table of text/character_table.h, which the preview reads.
    source = (TOOLS.parent / "text" / "character_table.h").read_text(encoding="utf-8")
    table = source[source.index("CharacterTable = {"):]
    table = table[:table.index("};")].replace('std::string_view("\\0", 1)', '"\\0"')
    table = re.sub(r"//[^\n]*", "", table)
    escapes = {"0": 0, "t": 9, "n": 10, "r": 13, '"': 34, "\\": 92}
    entries = []
    for literal in re.findall(r'"((?:[^"\\]|\\.)*)"', table):
        data = bytearray()
        for hex_digits, escaped, plain in re.findall(r"\\x([0-9A-Fa-f]+)|\\(.)|(.)", literal):
            data.append(int(hex_digits, 16) if hex_digits else
                        escapes[escaped] if escaped else ord(plain))
        entries.append(data.decode("cp1252"))
    expect(entries == CHARACTERS, "CHARACTERS differs from text/character_table.h")


TESTS = [test_shadow, test_advance, test_sheet_layout, test_png_reader, test_glyph_file,
         test_character_table]


def self_test_failures():
    failures = []
    for test in TESTS:
        try:
            test()
        except FontError as error:
            failures.append(f"{test.__name__}: {error}")
        except Exception as error:  # a crash fails the test like a wrong result
            failures.append(f"{test.__name__}: {type(error).__name__}: {error}")
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare resources/font_sheet.png with the drawing, write nothing")
    parser.add_argument("--output", type=pathlib.Path, default=SHEET_PATH,
                        help="file to write or check (default: resources/font_sheet.png)")
    arguments = parser.parse_args()

    if arguments.check:
        failures = self_test_failures()
        if failures:
            print("make_font_sheet.py: self-test failed: " + "; ".join(failures),
                  file=sys.stderr)
            return 1
    try:
        glyphs = read_glyphs(GLYPHS_PATH.read_text(encoding="utf-8"))
        sheet, cells = draw_sheet(glyphs)
        faults = misdrawn(glyphs, cells)
        if faults:
            raise FontError(f"{len(faults)} glyphs break the font's rules: " + "; ".join(faults))
    except FontError as error:
        print(f"{GLYPHS_PATH.name}: {error}", file=sys.stderr)
        return 1

    if arguments.check:
        path = arguments.output
        found = read_png(path.read_bytes()) if path.exists() else None
        difference = first_difference(sheet, found) if path.exists() else "it is missing"
        if difference:
            print(f"{path.name} differs from what tools/make_font_sheet.py draws: {difference}",
                  file=sys.stderr)
            return 1
        return 0

    arguments.output.parent.mkdir(parents=True, exist_ok=True)
    arguments.output.write_bytes(png_bytes(sheet))
    return 0


if __name__ == "__main__":
    sys.exit(main())
