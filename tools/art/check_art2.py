#!/usr/bin/python3
"""Check the committed art made by make_art2.py: sizes, formats, fill safety, seams, clipping, reproducibility.

Needs python3, python3-pil, python3-numpy.  Run from anywhere:  /usr/bin/python3 tools/art/check_art2.py
Exits non-zero and lists every problem found.
"""

import os
import re
import sys

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import artkit  # noqa: E402

RES = artkit.RESOURCES

TEXTURES = {"tex11": (16, 16), "tex13": (16, 16), "tex14": (16, 16), "tex12": (15, 15),
            "bigtex4": (96, 96), "bigtex1": (237, 244), "bigtex3": (163, 155), "bigtex2": (141, 140)}
TEXTURES.update({"preview%d" % i: (80, 80) for i in range(10)})
# preview i shows texture PREVIEW_OF[i]; 8 and 9 are fill tiles themselves
PREVIEW_OF = ["tex11", "tex13", "tex14", "tex12", "bigtex4", "bigtex1", "bigtex3", "bigtex2"]
# every fill tile repeats from the origin; previews 3..7 are plain views (15 does not divide 80,
# and 4..7 are crops of bigger tiles), so only the previews built from whole tiles must wrap
SEAMLESS = [n for n in TEXTURES if n not in ("preview%d" % i for i in range(3, 8))]

BUTTONS = {"tool_shapes": (96, 96), "tool_brush": (96, 124), "tool_eraser": (96, 84), "tool_fill": (96, 84),
           "tool_stamps": (96, 108), "tool_spray": (96, 100), "fill_to_lines": (76, 76), "strip_back": (52, 72),
           "strip_next": (52, 72), "rotate": (56, 56), "undo": (56, 56), "redo": (56, 56),
           "statistics": (48, 48), "catalogue": (48, 48),
           "random": (72, 72), "clear": (72, 72)}
PEN_ORDER = ["pen_tiny", "pen_little", "pen_medium", "pen_big", "pen_huge"]
BUTTONS.update({n: (80, 72) for n in PEN_ORDER})
BUTTONS.update({n: (76, 76) for n in ("stamps_snowflakes", "stamps_leaves", "stamps_flowers", "stamps_hearts")})
OUTLINE_SHAPES = ["shape_" + k for k in ("circle", "rectangle", "triangle", "line", "diamond", "hexagon", "trapezium")]
BUTTONS.update({n: (80, 72) for n in OUTLINE_SHAPES})

TREE = {}
for i in range(4):
    TREE["tree%d" % i] = (24, 24)
    TREE["tree%d@2x" % i] = (48, 48)
ICON = {"pictaro": (256, 256), "pictaro-48": (48, 48)}

FOLDERS = {"textures": TEXTURES, "buttons": BUTTONS, "tree": TREE, "icon": ICON}

problems = []


def fail(msg):
    problems.append(msg)


def load(folder, name):
    return Image.open(os.path.join(RES, folder, name + ".png"))


def check_qrc_and_sizes():
    for folder, table in FOLDERS.items():
        path = os.path.join(RES, folder + ".qrc")
        text = open(path, encoding="utf-8").read()
        if 'prefix="/%s"' % folder not in text:
            fail("%s: prefix is not /%s" % (path, folder))
        listed = dict(re.findall(r'<file alias="([^"]+)">([^<]+)</file>', text))
        want = {n + ".png" for n in table}
        if set(listed) != want:
            fail("%s: aliases differ: missing %s, extra %s" % (path, sorted(want - set(listed)),
                                                               sorted(set(listed) - want)))
        for alias, rel in listed.items():
            if rel != "%s/%s" % (folder, alias) or not os.path.isfile(os.path.join(RES, rel)):
                fail("%s: %s points at %s, which is not there" % (path, alias, rel))
        on_disk = {f for f in os.listdir(os.path.join(RES, folder)) if f.endswith(".png")}
        if on_disk != want:
            fail("%s/: unexpected files %s" % (folder, sorted(on_disk - want)))
        for name, size in table.items():
            im = load(folder, name)
            if im.size != size:
                fail("%s/%s.png is %dx%d, wanted %dx%d" % (folder, name, im.size[0], im.size[1], *size))
            wanted_mode = "RGB" if folder == "textures" else "RGBA"
            if im.mode != wanted_mode:
                fail("%s/%s.png is %s, wanted %s" % (folder, name, im.mode, wanted_mode))
            if im.info.get("transparency") is not None or any(k in im.info for k in ("tIME", "date:create")):
                fail("%s/%s.png carries transparency/time chunks" % (folder, name))


def seam_ratio(a):
    """How much larger the jump across the wrap is than a typical jump between neighbours."""
    a = a.astype(np.float64)
    inner_x = np.abs(np.diff(a, axis=1)).mean()
    inner_y = np.abs(np.diff(a, axis=0)).mean()
    wrap_x = np.abs(a[:, 0] - a[:, -1]).mean()
    wrap_y = np.abs(a[0] - a[-1]).mean()
    return max(wrap_x / (inner_x + 1.0), wrap_y / (inner_y + 1.0))


def check_textures():
    for name in TEXTURES:
        a = np.asarray(load("textures", name).convert("RGB"))
        if np.any(np.all(a == 0, axis=-1)):
            fail("textures/%s.png has pure black pixels: the region could not be filled again" % name)
        if a.mean() < 110:
            fail("textures/%s.png is too dark for a child's picture (mean %.0f)" % (name, a.mean()))
        if name in SEAMLESS and seam_ratio(a) > 2.5:
            fail("textures/%s.png shows a seam when tiled (ratio %.2f)" % (name, seam_ratio(a)))
    for i, src in enumerate(PREVIEW_OF):
        tex = load("textures", src).convert("RGB")
        want = Image.new("RGB", (80, 80))
        for y in range(0, 80, tex.height):
            for x in range(0, 80, tex.width):
                want.paste(tex, (x, y))
        got = load("textures", "preview%d" % i).convert("RGB")
        if np.asarray(got).tolist() != np.asarray(want).tolist():
            fail("textures/preview%d.png does not show %s from the origin" % (i, src))


def check_pictures():
    for folder, table in (("buttons", BUTTONS), ("tree", TREE), ("icon", ICON)):
        for name in table:
            a = np.asarray(load(folder, name).convert("RGBA"))
            alpha = a[..., 3]
            border = np.concatenate([alpha[0], alpha[-1], alpha[:, 0], alpha[:, -1]])
            # tree3 is a highlighted page: its glow fills the cell on purpose
            if name not in ("tree3", "tree3@2x") and border.max() > 60:
                fail("%s/%s.png touches its edge: the drawing is clipped" % (folder, name))
            cover = (alpha > 128).mean()
            if cover < 0.08:
                fail("%s/%s.png is almost empty (%.0f%% covered)" % (folder, name, cover * 100))
            solid = a[alpha == 255][:, :3]
            if len(solid) and name not in OUTLINE_SHAPES:
                # every picture but the outline shapes carries the shared dark outline and some colour
                if not np.any(np.all(np.abs(solid.astype(int) - (58, 58, 58)) <= 2, axis=-1)):
                    fail("%s/%s.png lacks the dark outline" % (folder, name))
    # pen sizes must grow from one button to the next
    prev = 0
    for name in PEN_ORDER:
        a = np.asarray(load("buttons", name).convert("RGBA")).astype(int)
        centre = a[8:64, 8:72]  # inside the card, clear of its outline
        dark = int(np.all(np.abs(centre[..., :3] - 58) <= 6, axis=-1).sum())
        if dark <= prev:
            fail("buttons/%s.png: dot is not bigger than the one before" % name)
        prev = dark
    # back/forward pairs: the first of each must point left, the second is its mirror image
    for left, right in (("strip_back", "strip_next"), ("undo", "redo")):
        l = np.asarray(load("buttons", left).convert("RGBA"))
        r = np.asarray(load("buttons", right).convert("RGBA"))
        # rasterising may differ by a sub-pixel; a wrong picture differs by whole pixels
        if (np.abs(l[:, ::-1, 3].astype(int) - r[..., 3].astype(int)) > 128).mean() > 0.002:
            fail("%s and %s are not mirror images of one arrow" % (left, right))
        # the tip is a point, the other end a flat tail or a round curl: a left arrow is narrow at its left end
        cols = np.nonzero(l[..., 3].max(axis=0) > 128)[0]
        def height(x0, x1):
            rows = np.nonzero(l[:, x0:x1, 3].max(axis=1) > 128)[0]
            return rows.max() - rows.min() if len(rows) else 0
        if height(cols.min(), cols.min() + 4) >= height(cols.max() - 3, cols.max() + 1):
            fail("%s does not point left" % left)


def check_reproducible():
    files = [f for folder, table in FOLDERS.items()
             for f in [folder + ".qrc"] + [os.path.join(folder, n + ".png") for n in table]]
    for f in artkit.regenerated_differences(os.path.join(HERE, "make_art2.py"), files):
        fail("%s: the generator no longer writes the committed bytes" % f)


def main():
    check_qrc_and_sizes()
    if not problems:
        check_textures()
        check_pictures()
        if "--quick" not in sys.argv:
            check_reproducible()
    for p in problems:
        print("FAIL:", p)
    print("%d problem(s)" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
