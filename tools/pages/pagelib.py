"""Shared by the page generator and the checker: 1-bit BMP encoding and the quality gate."""
import struct

import numpy as np
from scipy import ndimage as ndi

# Gate thresholds: a page must offer a few fillable parts and stay mostly white.
MIN_REGIONS = 3
MIN_REGION_PX = 400
MAX_BLACK = 0.20

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


def gate(black):
    """Returns (problems, stats). problems is empty when the page is acceptable."""
    sizes = regions(black)
    big = int((sizes >= MIN_REGION_PX).sum())
    ink = float(black.mean())
    problems = []
    if big < MIN_REGIONS:
        problems.append(f'only {big} closed regions of {MIN_REGION_PX}+ px')
    if ink > MAX_BLACK:
        problems.append(f'black covers {ink:.1%}')
    return problems, {'regions': big, 'black': ink, 'smallest': int(sizes.min()) if len(sizes) else 0}
