"""Shared by the page generator and the checker: 1-bit BMP encoding and the quality gate."""
import struct

import numpy as np
from scipy import ndimage as ndi

# Gate thresholds: a page must offer a few fillable parts and stay mostly white.
MIN_REGIONS = 3
MAX_BLACK = 0.20
# The smallest screen the pages are made for: the drawing area of a maximized window on a
# 1366x768 screen, where a 1500x1125 page is reduced about 2.6 times (portrait 3.5 times).
# Each part must stay big enough there for a small hand to hit.
SMALL_AREA = (1085, 470)
MIN_SCREEN_PX = 150
# Outlines are at least 5 px wide: every ink pixel lies in a disc of diameter 5 that is all
# ink. Reduced by up to 4 times on screen they then stay 2 px or wider.
DISC = np.array([[0, 0, 1, 0, 0],
                 [0, 1, 1, 1, 0],
                 [1, 1, 1, 1, 1],
                 [0, 1, 1, 1, 0],
                 [0, 0, 1, 0, 0]], bool)

FOUR = ndi.generate_binary_structure(2, 1)


def encode_bmp(black):
    """black: 2-D bool array (True = ink). Uncompressed 1-bit BMP, palette [black, white]."""
    h, w = black.shape
    stride = ((w + 31) // 32) * 4
    rows = np.zeros((h, stride * 8), np.uint8)
    rows[:, :w] = ~black  # index 1 = white
    bits = np.packbits(rows[::-1], axis=1)  # bottom-up rows
    pixels = bits.tobytes()
    off = 14 + 40 + 8
    head = b'BM' + struct.pack('<IHHI', off + len(pixels), 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 1, 0, len(pixels), 2835, 2835, 2, 2)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    return head + info + palette + pixels


def decode_bmp(data):
    """Reads the BMP subset that encode_bmp writes (and plain 1-bit BMPs generally).
    Returns (black bool array, palette list of RGB tuples). Raises ValueError."""
    if len(data) < 62 or data[:2] != b'BM':
        raise ValueError('not a BMP file')
    off = struct.unpack_from('<I', data, 10)[0]
    size, w, h, planes, bpp, comp = struct.unpack_from('<IiiHHI', data, 14)
    if size < 40 or planes != 1 or bpp != 1 or comp != 0:
        raise ValueError(f'want uncompressed 1-bit BMP, got bpp={bpp} compression={comp}')
    if w <= 0 or h == 0:
        raise ValueError('bad dimensions')
    ncolors = struct.unpack_from('<I', data, 46)[0] or 2
    pal_at = 14 + size
    palette = [tuple(data[pal_at + 4 * i + 2 - k] for k in range(3)) for i in range(ncolors)]
    stride = ((w + 31) // 32) * 4
    ah = abs(h)
    if off + stride * ah > len(data):
        raise ValueError('pixel data truncated')
    raw = np.frombuffer(data, np.uint8, stride * ah, off).reshape(ah, stride)
    idx = np.unpackbits(raw, axis=1)[:, :w]
    if h > 0:
        idx = idx[::-1]
    lum = np.array([sum(c) for c in palette])
    if any(c not in ((0, 0, 0), (255, 255, 255)) for c in palette):
        raise ValueError(f'palette is not pure black/white: {palette}')
    black = lum[idx] == 0
    return black, palette


def regions(black):
    """Sizes of closed white regions (4-connected), excluding any that touch the border."""
    lab, n = ndi.label(~black, structure=FOUR)
    sizes = np.bincount(lab.ravel(), minlength=n + 1)
    border = np.unique(np.concatenate([lab[0], lab[-1], lab[:, 0], lab[:, -1]]))
    keep = np.ones(n + 1, bool)
    keep[0] = False
    keep[border] = False
    return sizes[keep]


def screen_starts(h, w, area=SMALL_AREA):
    """First page row and column of each screen row and column when the page is laid out on
    area as the program does it: fitted into the area less 20 px each side, aspect kept."""
    aw, ah = max(1, area[0] - 40), max(1, area[1] - 40)
    if w * ah <= aw * h:
        sh, sw = ah, max(1, w * ah // h)
    else:
        sw, sh = aw, max(1, h * aw // w)
    return np.arange(sh) * h // sh, np.arange(sw) * w // sw


def on_screen(black, area=SMALL_AREA):
    """The page as the program reduces it: a screen pixel is ink when any page pixel it
    covers is ink. Only for reductions (the page larger than the area)."""
    ys, xs = screen_starts(*black.shape, area)
    return np.logical_or.reduceat(np.logical_or.reduceat(black, ys, axis=0), xs, axis=1)


def to_page(mask, shape, area=SMALL_AREA):
    """A screen mask back on the page: each screen pixel becomes the page pixels it covers."""
    ys, xs = screen_starts(*shape, area)
    ry = np.diff(np.append(ys, shape[0]))
    rx = np.diff(np.append(xs, shape[1]))
    return np.repeat(np.repeat(mask, ry, axis=0), rx, axis=1)


def thin(black):
    """Ink pixels that no all-ink disc of diameter 5 covers: parts of lines under 5 px."""
    return black & ~ndi.binary_opening(black, DISC)


def closed(black):
    """Labels of white regions (4-connected) and a mask of those that do not touch the border."""
    lab, n = ndi.label(~black, structure=FOUR)
    border = np.unique(np.concatenate([lab[0], lab[-1], lab[:, 0], lab[:, -1]]))
    keep = np.ones(n + 1, bool)
    keep[0] = False
    keep[border] = False
    return lab, keep


def gate(black):
    """Returns (problems, stats). problems is empty when the page is acceptable."""
    sizes = regions(on_screen(black))
    n = len(sizes)
    small = int((sizes < MIN_SCREEN_PX).sum())
    narrow = int(thin(black).sum())
    ink = float(black.mean())
    problems = []
    if n < MIN_REGIONS:
        problems.append(f'only {n} closed regions')
    if small:
        problems.append(f'{small} regions under {MIN_SCREEN_PX} px at 1366x768')
    if narrow:
        problems.append(f'{narrow} px of outline under 5 px wide')
    if ink > MAX_BLACK:
        problems.append(f'black covers {ink:.1%}')
    return problems, {'regions': n, 'black': ink, 'smallest': int(sizes.min()) if n else 0}
