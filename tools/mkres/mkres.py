#!/usr/bin/env python3
"""Makes the pictures every program of ours carries: the glyphs of the drive, folder and file
lists, the browse glyph, the main window's background and the program icon.

    python3 tools/mkres/mkres.py [OUTPUT_DIR]      (default: res/ beside this tool)

Only the standard library is used; the BMP and ICO files are written byte by byte. The output
is the same on every run, so the files under res/ change only when a picture here changes.
Every glyph's bottom-left pixel holds the background colour, which the controls leave out.
"""
import os
import struct
import sys

# The sixteen colours of the standard palette, in their usual order.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# One character a palette index. "." is the background (fuchsia), which no picture uses
# otherwise, so leaving it out never takes away part of a drawing.
KEY = {
    "k": 0, "m": 1, "g": 2, "o": 3, "n": 4, "p": 5, "t": 6, "s": 7,
    "d": 8, "r": 9, "l": 10, "y": 11, "b": 12, ".": 13, "c": 14, "w": 15,
}
BG = KEY["."]

# ---------------------------------------------------------------- drive glyphs, 16 x 11
FLOPPY = """
................
................
.wwwwwwwwwwwwwk.
.wssssssssssssdk
.wsskkkkkkkkssdk
.wssddddddddssdk
.wssssssssssssdk
.wssssssssslssdk
.wddddddddddddd.
..kkkkkkkkkkkkk.
................
"""

HARD = """
................
................
..wwwwwwwwwwwwk.
.wsssssssssssdk.
.wsssssssssssdk.
.wdddddddddddkk.
.wssssssssssssdk
.wssssssssslgsdk
.wssssssssssssdk
..kkkkkkkkkkkkk.
................
"""

NETWORK = """
................
..wwwwwwwwwwwk..
.wssssssssssssk.
.wsssssssslgssk.
.wddddddddddddk.
..kkkkkkkkkkkk..
.......kk.......
.......kk.......
.kkkkkkkkkkkkkk.
.kbbbbbbbbbbbbk.
................
"""

CDROM = """
................
.....kkkkkk.....
...kkwwwccwkk...
..kwwwccwwwssk..
.kwwwwskkswwsdk.
.kwccwk..kwccdk.
.kssccskkswwsdk.
..kssswwwccsdk..
...kkddssddkk...
.....kkkkkk.....
................
"""

RAM = """
................
................
.gggggggggggggg.
.gkkkgkkkgkkkgg.
.gkkkgkkkgkkkgg.
.gkkkgkkkgkkkgg.
.gggggggggggggg.
.gyygyygyygyygg.
..y.y.y.y.y.y...
................
................
"""

# ---------------------------------------------------------------- folder and file glyphs, 16 x 15
CLOSEDFOLDER = """
................
................
................
..kkkkk.........
.kyywyyk........
.kwyyyyykkkkkkk.
.kyyyyyyyyyyyyok
.kyyyyyyyyyyyyok
.kyyyyyyyyyyyyok
.kyyyyyyyyyyyyok
.kyyyyyyyyyyyyok
.kyyyyyyyyyyyyok
.koooooooooooook
..kkkkkkkkkkkkkk
................
"""

OPENFOLDER = """
................
................
................
..kkkkk.........
.kyywyyk........
.kwyyyyykkkkkk..
.kyyyyyyyyyyyok.
.kyyyykkkkkkkkkk
.kyyykyyyyyyyyyk
.kyykyyyyyyyyyk.
.kyykyyyyyyyyyk.
.kykyyyyyyyyyk..
.kkyyyyyyyyyyk..
.kkkkkkkkkkkk...
................
"""

# The current folder: the open folder with a sheet lifted out of it.
CURRENTFOLDER = """
................
.......kkkkkk...
.......kwwwwwk..
..kkkkkkwkkkwk..
.kyywyykwwwwwk..
.kwyyyyykkkwwk..
.kyyyyyyywwwwk..
.kyyyykkkkkkkkkk
.kyyykyyyyyyyyyk
.kyykyyyyyyyyyk.
.kyykyyyyyyyyyk.
.kykyyyyyyyyyk..
.kkyyyyyyyyyyk..
.kkkkkkkkkkkk...
................
"""

# A program: a small window with its title bar.
EXECUTABLE = """
................
................
.kkkkkkkkkkkkkk.
.knnnnnnnnnnswk.
.knnnnnnnnnnnnk.
.kkkkkkkkkkkkkk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kkkkkkkkkkkkkk.
................
................
"""

# Any other file: a page with a folded corner.
UNKNOWNFILE = """
................
...kkkkkkkk.....
...kwwwwwwkk....
...kwwwwwwkwk...
...kwwwwwwkkkk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kkkkkkkkkkk..
................
"""

# ---------------------------------------------------------------- browse glyph, 16 x 16 twice
# A page with rays around it.
BROWSE = """
................
.y.....y.....y..
..y....y....y...
...y.......y....
.....kkkkk......
.....kwwwkk.....
yyy..kwwwkwk.yyy
.....kwwwkkk....
.....kwwwwwk....
.....kwwwwwk....
.....kkkkkkk....
...y.......y....
..y....y....y...
.y.....y.....y..
................
................
"""


def parse(art, width, height):
    rows = [r for r in art.strip("\n").split("\n")]
    if len(rows) != height or any(len(r) != width for r in rows):
        raise SystemExit("picture is not %d x %d: %r" % (width, height, rows))
    if rows[-1][0] != ".":
        raise SystemExit("bottom-left pixel must be the background")
    return [[KEY[c] for c in r] for r in rows]


def disabled(pixels):
    """The disabled look: the dark lines of the drawing in grey over a white shadow one pixel down
    and right; the white parts go, so the background shows through them."""
    h, w = len(pixels), len(pixels[0])
    lines = [[c not in (BG, KEY["w"]) for c in r] for r in pixels]
    out = [[BG] * w for _ in range(h)]
    for y in range(h - 1):
        for x in range(w - 1):
            if lines[y][x]:
                out[y + 1][x + 1] = KEY["w"]
    for y in range(h):
        for x in range(w):
            if lines[y][x]:
                out[y][x] = KEY["d"]
    return out


def side_by_side(a, b):
    return [ra + rb for ra, rb in zip(a, b)]


def bmp_file(width, height, bits, palette, rows):
    """A bottom-up BMP. rows[y] is a bytes object of one unpadded top-down row."""
    stride = (width * bits + 31) // 32 * 4
    data = b"".join(r + b"\0" * (stride - len(r)) for r in reversed(rows))
    pal = b"".join(struct.pack("<BBBB", b_, g, r, 0) for (r, g, b_) in palette)
    offset = 14 + 40 + len(pal)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       len(palette), 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + pal + data


def bmp16(pixels):
    h, w = len(pixels), len(pixels[0])
    rows = []
    for r in pixels:
        packed = bytearray()
        for x in range(0, w, 2):
            lo = r[x + 1] if x + 1 < w else 0
            packed.append((r[x] << 4) | lo)
        rows.append(bytes(packed))
    return bmp_file(w, h, 4, VGA16, rows)


def background(width=392, height=331):
    """A deep blue gradient, darker towards the bottom, under a faint diamond lattice.

    256 colours rather than 24 bits a pixel: the gradient spans about a hundred steps of blue,
    so 120 shades with a lighter twin each for the lattice look the same at a third the size,
    and the picture is most of what the program file weighs."""
    top, bottom = (28, 64, 168), (4, 12, 64)
    shades = 120
    palette = []
    for i in range(shades):
        t = i / (shades - 1)
        palette.append(tuple(round(top[c] + (bottom[c] - top[c]) * t) for c in range(3)))
    palette += [tuple(min(255, c + 10) for c in base) for base in palette]
    rows = []
    for y in range(height):
        shade = round(y / (height - 1) * (shades - 1))
        row = bytearray()
        for x in range(width):
            lattice = (x + y) % 28 == 0 or (x - y) % 28 == 0
            row.append(shade + shades if lattice else shade)
        rows.append(bytes(row))
    return bmp_file(width, height, 8, palette, rows)


def icon_pixels():
    """The program icon, 32 x 32: a blue rounded tile with a white V and a golden arrow into it.
    Returns the 256-colour palette, the pixel indices and the transparency of each pixel."""
    palette = list(VGA16)
    ramp0 = len(palette)
    for i in range(32):  # blues for the tile, light at the top
        t = i / 31
        palette.append((round(70 - 60 * t), round(130 - 100 * t), round(240 - 110 * t)))
    gold0 = len(palette)
    for i in range(8):
        t = i / 7
        palette.append((round(255 - 40 * t), round(220 - 80 * t), round(60 - 40 * t)))
    palette += [(0, 0, 0)] * (256 - len(palette))

    size = 32
    pix = [[0] * size for _ in range(size)]
    clear = [[True] * size for _ in range(size)]
    radius = 6
    for y in range(size):
        for x in range(size):
            cx = min(max(x, radius), size - 1 - radius)
            cy = min(max(y, radius), size - 1 - radius)
            if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                clear[y][x] = False
                pix[y][x] = ramp0 + y
    # An edge one pixel wide in navy.
    for y in range(size):
        for x in range(size):
            if clear[y][x]:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < size and 0 <= ny < size) or clear[ny][nx]:
                    pix[y][x] = KEY["n"]
    # The V: two thick strokes from the top corners down to the middle of the bottom.
    for y in range(9, 27):
        t = (y - 9) / 17
        left = 6 + t * 9.0
        right = 25 - t * 9.0
        for x in range(size):
            if abs(x - left) <= 1.6 or abs(x - right) <= 1.6:
                pix[y][x] = KEY["w"]
    # The arrow above the V, pointing down into it.
    for y in range(3, 10):
        for x in range(14, 18):
            pix[y][x] = gold0 + (y - 3)
    for i, y in enumerate(range(10, 14)):
        for x in range(12 + i, 20 - i):
            pix[y][x] = gold0 + 7
    return palette, pix, clear


def ico_file(palette, pix, clear):
    size = len(pix)
    xor = b"".join(bytes(r) for r in reversed(pix))
    and_rows = []
    for row in reversed(clear):
        bits = bytearray(size // 8)
        for x, transparent in enumerate(row):
            if transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(bits) + b"\0" * ((-len(bits)) % 4))
    mask = b"".join(and_rows)
    pal = b"".join(struct.pack("<BBBB", b_, g, r, 0) for (r, g, b_) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, len(xor) + len(mask), 0, 0,
                       256, 0)
    image = info + pal + xor + mask
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), 6 + 16)
    return head + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "res")
    os.makedirs(out, exist_ok=True)
    files = {}
    for name, art in (("floppy", FLOPPY), ("hard", HARD), ("network", NETWORK),
                      ("cdrom", CDROM), ("ram", RAM)):
        files[name + ".bmp"] = bmp16(parse(art, 16, 11))
    for name, art in (("openfolder", OPENFOLDER), ("closedfolder", CLOSEDFOLDER),
                      ("currentfolder", CURRENTFOLDER), ("executable", EXECUTABLE),
                      ("unknownfile", UNKNOWNFILE)):
        files[name + ".bmp"] = bmp16(parse(art, 16, 15))
    page = parse(BROWSE, 16, 16)
    files["browse.bmp"] = bmp16(side_by_side(page, disabled(page)))
    files["background.bmp"] = background()
    files["mainicon.ico"] = ico_file(*icon_pixels())
    for name, data in sorted(files.items()):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print("%-18s %7d bytes" % (name, len(data)))


if __name__ == "__main__":
    main()
