#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into corpus/<reader>/ (a few KB in all)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(reader, name, data):
    folder = os.path.join(HERE, "corpus", reader)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def bmp(width, height, bpp, pixels, palette=b"", compression=0, masks=b"", core=False):
    """A bitmap file; height < 0 is top-down. pixels are the raw (packed or RLE) bytes."""
    if core:
        info = struct.pack("<IHHHH", 12, width, height, 1, bpp)
    else:
        info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, compression, len(pixels),
                           2835, 2835, len(palette) // 4, 0)
    off = 14 + len(info) + len(masks) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off)
    return head + info + masks + palette + pixels


def rows(width, height, bpp, value):
    stride = (width * bpp + 31) // 32 * 4
    return bytes(value(y, i) for y in range(abs(height)) for i in range(stride))


GREY4 = b"".join(bytes((v, v, v, 0)) for v in (0, 85, 170, 255))
BW = bytes((0, 0, 0, 0, 255, 255, 255, 0))
ANY = lambda y, i: (y * 37 + i * 11) & 0xFF

pages = {
    "rgb24.bmp": bmp(5, 3, 24, rows(5, 3, 24, ANY)),
    "rgb32_topdown.bmp": bmp(3, -2, 32, rows(3, 2, 32, ANY)),
    "mono.bmp": bmp(9, 4, 1, rows(9, 4, 1, lambda y, i: 0x5A if y % 2 else 0xC3), BW),
    "pal4.bmp": bmp(6, 3, 4, rows(6, 3, 4, lambda y, i: 0x12 + y), GREY4 * 4),
    "pal8_truncated.bmp": bmp(7, 6, 8, rows(7, 2, 8, lambda y, i: i & 3), GREY4)[:-3],
    "rgb565_bitfields.bmp": bmp(4, 2, 16, rows(4, 2, 16, ANY), compression=3,
                                masks=struct.pack("<III", 0xF800, 0x07E0, 0x001F)),
    # RLE8: a run, literal bytes, a delta move, end of line, end of bitmap.
    "rle8.bmp": bmp(8, 4, 8, bytes((3, 1, 0, 3, 2, 3, 1, 0, 0, 2, 1, 1, 0, 0, 4, 2, 0, 1)),
                    GREY4, compression=1),
    "rle4.bmp": bmp(8, 3, 4, bytes((4, 0x12, 0, 4, 0x30, 0x21, 0, 0, 6, 0x33, 0, 1)),
                    GREY4 * 4, compression=2),
    "os2_core.bmp": bmp(4, 2, 8, rows(4, 2, 8, lambda y, i: i & 1),
                        b"\x00\x00\x00\xff\xff\xff", core=True),
}
for name, data in pages.items():
    put("page", name, data)


def pak(entries):
    out = b""
    for name, data, *declared in entries:
        raw = name.encode("cp1251")
        out += struct.pack("<H", len(raw)) + raw
        out += struct.pack("<I", declared[0] if declared else len(data)) + data
    return out


page = pages["mono.bmp"]
put("pak", "two_pages.pak", pak([("кот.bmp", page), ("sun.bmp", pages["rle8.bmp"])]))
put("pak", "empty.pak", b"")
put("pak", "unsafe_and_duplicate.pak",
    pak([("../up.bmp", b"x"), ("a/b.bmp", b"y"), ("cat.bmp", b"first"), ("cat.bmp", b"second"),
         ("..", b""), ("Bitmap.tmp", b"scratch")]))
put("pak", "truncated.pak", pak([("dog.bmp", b"DOG"), ("long.bmp", b"only part", 4000)]))


def record(clicks, date, color, book):
    out = struct.pack("<i", clicks)
    for s in (date, color, book):
        raw = s.encode("cp1251")[:20]
        out += bytes((len(raw),)) + raw.ljust(20, b"\0")
    return out + b"\0"


history = record(12, "08.12.2026", "Red", "Кораблик") + record(0, "09.12.2026", "", "")
put("stat", "two_runs.dat", history)
put("stat", "partial_tail.dat", history + record(5, "x", "Blue", "sea")[:30])
put("stat", "long_lengths.dat", bytes((7, 0, 0, 0, 255)) + b"A" * 20 + bytes((21,)) + b"B" * 41)

ini = "[Настройки]\r\nИнтерфейс=Малыш\r\nМышка=0\r\nЭкран=1\r\nЗвук=1\r\n"
put("config", "written.ini", ini.encode("cp1251"))
put("config", "other_sections.ini",
    "; comment\n[Другое]\nЗвук=1\n[настройки]\nинтерфейс = \"Детский\"\nЗвук=0\nЗвук=1\n"
    "Экран=yes\nМышка=-3\n".encode("cp1251"))
put("config", "unclosed.ini", b"[\xcd\xe0\xf1\xf2\xf0\xee\xe9\xea\xe8\n=1\n\x98=\x98\r")

SEP = b"\r\n--next-connection--\r\n"
ok = b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 2\r\n\r\nok"
http = {
    "get_ok": b"\x00" + ok,
    "get_chunked": b"\x00HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                   b"3\r\nabc\r\n0\r\n\r\n",
    "get_redirect": b"\x00HTTP/1.1 302 Found\r\nLocation: http://gallery.example/next.php\r\n"
                    b"Content-Length: 0\r\n\r\n" + SEP + ok,
    "get_404": b"\x00HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nno!",
    "get_http10_no_length": b"\x00HTTP/1.0 200 OK\r\n\r\nthe rest of the stream",
    "post_ok": b"\x01HTTP/1.1 100 Continue\r\n\r\n" + ok,
    "post_307": b"\x01HTTP/1.1 307 Temporary Redirect\r\nLocation: /get_image.php\r\n"
                b"Content-Length: 0\r\n\r\n" + SEP + ok,
    "post_short_body": b"\x01HTTP/1.1 200 OK\r\nContent-Length: 900\r\n\r\ncut",
}
for name, data in http.items():
    put("http", name, data)

# Autosave files: a real one of a tiny picture, and payloads for the envelope (name length,
# name, PNG bytes).
import hashlib
import zlib


def png(width, height, rgb):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + bytes(rgb) * width for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def autosave(name, picture):
    body = b"PICTARO-AUTOSAVE-1\n" + struct.pack(">I", len(name)) + name + struct.pack(
        ">I", len(picture)) + picture
    return body + hashlib.sha1(body).digest()


tiny = png(8, 6, (0, 0, 255))
put("autosave", "whole.sav", autosave("кот".encode(), tiny))
put("autosave", "payload_named", bytes([3]) + b"cat" + tiny)
put("autosave", "payload_unnamed", bytes([0]) + png(3, 2, (255, 128, 0)))

# Kept thumbnails: one of the program's side, a small one, one not square.
put("thumbnail", "side96.png", png(96, 96, (200, 10, 10)))
put("thumbnail", "small.png", png(4, 4, (0, 0, 0)))
put("thumbnail", "wide.png", png(5, 3, (9, 9, 9)))


def png_rgba(width, height, rgba):
    """A PNG with an alpha channel: as png(), colour type 6."""
    plain = png(width, height, rgba[:3])
    raw = b"".join(b"\x00" + bytes(rgba) * width for _ in range(height))
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    return (plain[:8] + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


# Pictures opened by hand, one of each kind told apart by its first bytes.
put("picture", "half_transparent.png", png_rgba(3, 3, (10, 200, 30, 128)))
put("picture", "page.bmp", pages["pal4.bmp"])
put("picture", "dot.gif", b"GIF89a\x02\x00\x02\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff,\x00\x00"
                          b"\x00\x00\x02\x00\x02\x00\x00\x02\x02\x44\x01\x00;")
put("picture", "square.svg", b'<?xml version="1.0"?>\n<svg xmlns="http://www.w3.org/2000/svg" '
                             b'width="10" height="6"><rect width="5" height="6" fill="red"/></svg>')

# Undo steps: four bytes choosing the rectangle (width - 1, height - 1, left, top; the top bit
# of the first asks for XOR), then a zstd frame of run and literal tokens as the history packs.
import subprocess
import tempfile


def frame(words):
    with tempfile.NamedTemporaryFile() as f:
        f.write(struct.pack("<%dI" % len(words), *words))
        f.flush()
        return subprocess.run(["zstd", "-q", "-c", "-1", f.name], check=True,
                              capture_output=True).stdout


RUN = 0x80000000
put("history", "run_3x2", bytes((2, 1, 1, 2)) + frame([RUN | 6, 0xFF00FF00]))
put("history", "literal_then_run_xor", bytes((0x80 | 3, 0, 0, 0)) +
    frame([2, 0x11, 0x22, RUN | 2, 0x33]))
put("history", "too_many_words", bytes((0, 0, 7, 7)) + frame([RUN | 5, 1]))


def picture_entry(key, name, width, height, thumb, bands):
    """A pictures-store entry: bands are lists of pixel words, one zstd frame each."""
    pixels = b"".join(frame(words) for words in bands)
    key, name = key.encode(), name.encode()
    head = b"PICTARO-PICTURE-1\n" + struct.pack("<qIIIIIQ", 1765000000000, width, height,
                                                len(key), len(name), len(thumb), len(pixels))
    head += key + name + thumb
    return head + hashlib.sha1(head).digest() + pixels


blue, red = 0xFF0000FF, 0xFFFF0000
put("picturestore", "cat_two_bands", picture_entry(
    "zoo.pak/cat", "кот", 3, 2, png(96, 96, (0, 0, 255)), [[blue] * 3, [red, blue, red]]))
put("picturestore", "other_key", picture_entry("file:/tmp/a b.png", "", 2, 1, b"", [[red, red]]))
# For the envelope: width 4, height 2, a 1-byte key, no thumbnail, then the frames.
put("picturestore", "payload", bytes((3, 1, 1, 0)) + b"k" + frame([blue] * 4) + frame([red] * 4))


# A frame whose header declares 16 GB for a 4 x 4 rectangle, with a few raw bytes behind it.
put("history", "declares_16gb", bytes((3, 3, 0, 0)) + b"\x28\xb5\x2f\xfd\xe0" +
    struct.pack("<Q", 1 << 34) + struct.pack("<I", 16 << 3 | 1)[:3] + b"\x01" * 16)

# Per-user settings: a byte choosing the key (OutlinesStay, saveType, childMode), then the file
# as QSettings writes it, with sections, quotes, comments and stored objects.
put("settings", "general", b"\x00[General]\nOutlinesStay=false\nsaveType=png\n")
put("settings", "sections", b"\x01saveType=jpg ; comment\n[Other]\nsaveType=png\n[general]\n"
                            b"saveType=\"bmp\"\n")
put("settings", "stored_object", b"\x02childMode=true\r\nchildMode=@Variant(\\0\\0\\0\\x1)\r\n")
put("settings", "long_line", b"\x00OutlinesStay=" + b"1" * 1500 + b"\nOutlinesStay=on")
# A last line of 1023 bytes with no newline: as long as a line may not be.
put("settings", "last_line_too_long", b"\x00OutlinesStay=" + b"1" * 1008 + b"on")

# Pages placed on an area: a byte of flags (1: opened by hand, 2: a thumbnail too), the area's
# width less one and a byte for its height, a byte left free, then a page's and an area's width
# and height for the layout alone (16 bits each, big-endian), then the file.
def placed(flags, width, height, layout, data):
    return bytes((flags, width - 1, height, 0)) + struct.pack(">4H", *layout) + data


put("pipeline", "page_wide_area", placed(2, 200, 20, (9000, 9000, 1920, 1080), pages["mono.bmp"]))
put("pipeline", "page_narrow_area", placed(0, 3, 250, (1, 65535, 7680, 4320), pages["rle8.bmp"]))
put("pipeline", "tall_page", placed(2, 20, 100, (65535, 1, 41, 41), bmp(
    1, 300, 1, rows(1, 300, 1, lambda y, i: 0x80 * (y % 2)), BW)))
put("pipeline", "by_hand_png", placed(3, 64, 60, (800, 600, 1024, 768), png(4, 4, (0, 0, 0))))
put("pipeline", "by_hand_bmp", placed(1, 17, 16, (1000, 600, 1024, 600), pages["pal4.bmp"]))
put("pipeline", "by_hand_svg", placed(1, 200, 12, (30, 20, 10, 1000),
    b'<svg xmlns="http://www.w3.org/2000/svg" width="20" height="10">'
    b'<rect width="20" height="10" fill="white"/><path d="M2 5H18" stroke="black"/></svg>'))

# Fills: the page's width less one and height less one, the seed, a byte of choices (bits 0-1:
# the fill, bit 2: a tile, bits 3-6: the paint's color), the tile's width and height, then the
# tile's pixels and the page's, a byte each (low four bits: a color of the target's sixteen;
# high four: how many of it in a row, less one).
def fill_case(width, height, seed, choices, tile_size, tile, page):
    def runs(pixels):
        out = bytearray()
        i = 0
        while i < len(pixels):
            n = 1
            while n < 16 and i + n < len(pixels) and pixels[i + n] == pixels[i]:
                n += 1
            out.append((n - 1) << 4 | pixels[i])
            i += n
        return bytes(out)
    return (bytes((width - 1, height - 1, seed[0], seed[1], choices, tile_size[0] - 1,
                   tile_size[1] - 1)) + runs(tile) + runs(page))


# A corner of black lines with grey edges, the rest the tile's pale tints: a textured refill
# up to the lines, its quiet test and its blends.
corner = [1 if x >= 70 or y >= 20 else 3 if x >= 68 or y >= 18 else (6, 11, 10)[(x + y) % 3]
          for y in range(24) for x in range(80)]
put("fill", "textured_refill", fill_case(80, 24, (4, 4), 0 | 4 | 8 << 3, (7, 5),
                                         [(6, 11, 9, 7)[(x * 3 + y) % 4] for y in range(5)
                                          for x in range(7)], corner))
# The same corner textured twice: the second fill meets the first one's tile.
put("fill", "textured_twice", fill_case(80, 24, (4, 4), 0 | 4 | 8 << 3 | 128, (7, 5),
                                        [(6, 11, 9, 7)[(x * 3 + y) % 4] for y in range(5)
                                         for x in range(7)], corner))
# Ovals of a line on paper, filled in one color around and inside.
ring = [1 if abs((x - 64) ** 2 / 40 ** 2 + (y - 16) ** 2 / 12 ** 2 - 1) < 0.15 else 0
        for y in range(32) for x in range(130)]
put("fill", "ring_plain", fill_case(130, 32, (64, 16), 1 | 7 << 3, (1, 1), [], ring))
put("fill", "ring_bucket", fill_case(130, 32, (2, 2), 3 | 4 | 9 << 3, (9, 7),
                                     [(0, 9, 5)[(x + y) % 3] for y in range(7) for x in range(9)],
                                     ring))
