#!/usr/bin/python3
"""Checks the cursors, palette blots, colour chart and stamps the program relies on.

Needs Debian packages: python3, python3-pil, python3-numpy.
Run standalone on the committed files:  /usr/bin/python3 tools/art/check_art1.py
make_art1.py calls the same checks on every image it writes.
"""
import collections
import os
import re
import sys

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import artkit  # noqa: E402

RES = artkit.RESOURCES


def _cursor_key(name):
    """A key colour as the program defines it in paint/cursorkeys.h."""
    header = os.path.normpath(os.path.join(HERE, "..", "..", "paint", "cursorkeys.h"))
    with open(header, encoding="utf-8") as f:
        m = re.search(name + r" = qRgb\((\d+), (\d+), (\d+)\);", f.read())
    if not m:
        raise SystemExit("no %s in %s" % (name, header))
    return tuple(int(v) for v in m.groups())


KEY_PINK = _cursor_key("kKeyPink")
KEY_GREY = _cursor_key("kKeyGrey")

# name: (size, hot spot, [(seed, key colour, rough bbox x0, y0, x1, y1)])
CURSORS = {
    "cursor_fill": ((144, 102), (1, 7), [((90, 20), KEY_PINK, (63, 10, 109, 82)),
                                         ((6, 8), KEY_PINK, (1, 4, 19, 49))]),
    "cursor_brush": ((201, 230), (0, 0), [((20, 21), KEY_GREY, (1, 0, 34, 37))]),
    "cursor_spray": ((110, 146), (5, 10), [((60, 84), KEY_PINK, (49, 72, 70, 95))]),
    "cursor_eraser": ((87, 69), (0, 0), []),
    "cursor_wand": ((69, 105), (5, 5), []),
}
BBOX_SLACK = 4

PALETTE = [("RED", (255, 0, 0)), ("YELLOW", (255, 255, 0)), ("ORANGE", (255, 128, 0)),
           ("GREEN", (0, 128, 0)), ("BLUE", (0, 0, 255)), ("SKY", (0, 255, 255)),
           ("BLACK", (26, 26, 26)), ("WHITE", (255, 255, 255))]
SWATCH_SIZE = (103, 116)
CHART_SIZE = (833, 112)
STAMP_SIZE = (116, 103)
STAMP_SETS = [("flower", 6), ("heart", 9), ("snowflake", 8), ("leaf", 11)]


def flood(rgb, seed, colour):
    """4-connected region of exactly `colour` containing seed, as a list of (x, y)."""
    h, w = rgb.shape[:2]
    same = np.all(rgb == np.array(colour, dtype=rgb.dtype), axis=-1)
    sx, sy = seed
    assert same[sy, sx], "seed %s is not the key colour %s" % (seed, colour)
    seen = np.zeros_like(same)
    seen[sy, sx] = True
    todo = collections.deque([(sx, sy)])
    out = []
    while todo:
        x, y = todo.popleft()
        out.append((x, y))
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= nx < w and 0 <= ny < h and same[ny, nx] and not seen[ny, nx]:
                seen[ny, nx] = True
                todo.append((nx, ny))
    return out


def check_cursor(name, colour, mask, hot, keys):
    assert colour.mode == "RGB" and mask.mode == "RGB", name
    assert colour.size == mask.size == CURSORS[name][0], (name, colour.size, mask.size)
    c = np.asarray(colour)
    m = np.asarray(mask)
    black = np.all(c == 0, axis=-1)
    m_white = np.all(m == 255, axis=-1)
    m_black = np.all(m == 0, axis=-1)
    assert np.all(m_white | m_black), name + ": mask must be pure black/white"
    assert np.array_equal(black, m_white), name + ": mask must be white exactly where the colour image is black"
    assert not black.all() and black.any(), name
    hx, hy = hot
    near = ~black[max(0, hy - 2):hy + 3, max(0, hx - 2):hx + 3]
    assert near.any(), name + ": nothing drawn at the hot spot"
    by_colour = collections.defaultdict(int)
    for seed, key, (x0, y0, x1, y1) in keys:
        region = flood(c, seed, key)
        xs = [p[0] for p in region]
        ys = [p[1] for p in region]
        got = (min(xs), min(ys), max(xs), max(ys))
        for g, want in zip(got, (x0, y0, x1, y1)):
            assert abs(g - want) <= BBOX_SLACK, "%s: key area from %s spans %s, wanted about %s" % (
                name, seed, got, (x0, y0, x1, y1))
        by_colour[key] += len(region)
    for key in (KEY_PINK, KEY_GREY):
        total = int(np.all(c == np.array(key, dtype=c.dtype), axis=-1).sum())
        assert total == by_colour[key], "%s: key colour %s outside its areas (%d vs %d)" % (
            name, key, total, by_colour[key])


def check_swatch(name, img, colour):
    assert img.mode == "RGBA" and img.size == SWATCH_SIZE, (name, img.mode, img.size)
    a = np.asarray(img)
    assert a[0, 0, 3] == 0 and a[-1, -1, 3] == 0 and a[0, -1, 3] == 0, name + ": corners must be clear"
    opaque = a[..., 3] == 255
    assert opaque.sum() > 0.35 * opaque.size, name + ": blot too small"
    assert not ((a[..., 3] > 0) & np.all(a[..., :3] == 0, axis=-1)).any(), name + ": pure black pixel"
    if colour is not None:
        body = opaque & np.all(a[..., :3] == np.array(colour, dtype=np.uint8), axis=-1)
        assert body.sum() > 0.5 * opaque.sum(), "%s: body is not mostly %s" % (name, colour)


def check_chart(img):
    assert img.mode == "RGB" and img.size == CHART_SIZE, (img.mode, img.size)
    a = np.asarray(img).astype(int)
    ok = (((a >> 3) << 3) | (a >> 5)) == a
    assert ok.all(), "chart has colours outside 5-5-5"
    assert not np.all(a == 0, axis=-1).any(), "chart has pure black"
    colours = {tuple(p) for p in a.reshape(-1, 3)}
    assert len(colours) > 4 * 25, "chart has too few colours"


def check_stamp(name, img):
    assert img.mode == "RGBA" and img.size == STAMP_SIZE, (name, img.mode, img.size)
    a = np.asarray(img)
    alpha = a[..., 3]
    assert np.all((alpha == 0) | (alpha == 255)), name + ": alpha must be 0 or 255"
    border = np.concatenate([alpha[0], alpha[-1], alpha[:, 0], alpha[:, -1]])
    assert not border.any() and alpha[1, 1] == 0, name + ": border must be transparent"
    opaque = alpha == 255
    rgb = a[..., :3]
    assert not (opaque & np.all(rgb == 255, axis=-1)).any(), name + ": pure white pixel"
    assert not (opaque & np.all(rgb == 0, axis=-1)).any(), name + ": pure black pixel"
    ys, xs = np.nonzero(opaque)
    w = xs.max() - xs.min() + 1
    h = ys.max() - ys.min() + 1
    assert w >= 0.75 * STAMP_SIZE[0] or h >= 0.8 * STAMP_SIZE[1], "%s: only %dx%d used" % (name, w, h)
    assert opaque.sum() > 0.25 * opaque.size, name + ": too little drawn"


def committed_files():
    """Every file make_art1.py writes, relative to resources/."""
    files = ["cursors.qrc", "swatches.qrc", "stamps.qrc"]
    files += [os.path.join("cursors", name + suffix + ".png") for name in CURSORS for suffix in ("", "_mask")]
    files += [os.path.join("swatches", "%s%d.png" % (name, n)) for name, _ in PALETTE for n in (1, 2)]
    files += [os.path.join("swatches", f) for f in ("RAINBOW.png", "chart.png")]
    files += [os.path.join("stamps", "%s_%d.png" % (base, i)) for base, count in STAMP_SETS for i in range(count)]
    return files


def check_files(reproduce=True):
    for name, (size, hot, keys) in CURSORS.items():
        col = Image.open(os.path.join(RES, "cursors", name + ".png"))
        mask = Image.open(os.path.join(RES, "cursors", name + "_mask.png"))
        check_cursor(name, col.convert("RGB") if col.mode == "RGB" else col, mask, hot, keys)
    for name, colour in PALETTE:
        for n in (1, 2):
            check_swatch(name + str(n), Image.open(os.path.join(RES, "swatches", "%s%d.png" % (name, n))), colour)
    check_swatch("RAINBOW", Image.open(os.path.join(RES, "swatches", "RAINBOW.png")), None)
    check_chart(Image.open(os.path.join(RES, "swatches", "chart.png")))
    for base, count in STAMP_SETS:
        for i in range(count):
            check_stamp("%s_%d" % (base, i), Image.open(os.path.join(RES, "stamps", "%s_%d.png" % (base, i))))
    if reproduce:
        differ = artkit.regenerated_differences(os.path.join(HERE, "make_art1.py"), committed_files())
        assert not differ, "make_art1.py no longer writes the committed bytes of: " + ", ".join(differ)
    print("art1: all files pass")


if __name__ == "__main__":
    check_files(reproduce="--quick" not in sys.argv)
