"""Drawing helpers shared by the art generators (make_art1.py, make_art2.py).

Points of shapes, colour helpers, the reductions from the supersampled canvas to
output pixels, and writing PNGs and .qrc lists.  Needs python3-pil and python3-numpy.
Every function here is deterministic: the generators promise the same bytes on every run.
"""
import math
import os
import subprocess
import sys
import tempfile

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.normpath(os.path.join(HERE, "..", "..", "resources"))

SS = 4                      # supersampling factor
OL = (58, 58, 58)           # the soft dark outline every picture shares
WHITE = (255, 255, 255)


# ------------------------------------------------------------------ colours

def rgba(c, a=255):
    """A colour as RGBA; a 4-tuple keeps its own alpha."""
    return tuple(c) if len(c) == 4 else (c[0], c[1], c[2], a)


def mix(a, b, k):
    """The colour k of the way from a to b, rounded to whole levels."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * k)) for i in range(3))


def shade(c, f):
    """Darken (f<1) or lighten (f>1, towards white) a colour."""
    if f <= 1:
        return tuple(int(round(v * f)) for v in c[:3])
    t = f - 1
    return tuple(int(round(v + (255 - v) * t)) for v in c[:3])


def blend(c0, c1, t):
    """Blend two colours by an array t in [0,1] -> (h,w,3) float."""
    t = np.clip(t, 0, 1)[..., None]
    return np.array(c0, float) * (1 - t) + np.array(c1, float) * t


# ----------------------------------------------------------------- geometry

def ellipse_pts(cx, cy, rx, ry, rot=0.0, n=96):
    c, s = math.cos(math.radians(rot)), math.sin(math.radians(rot))
    out = []
    for i in range(n):
        t = 2 * math.pi * i / n
        x, y = rx * math.cos(t), ry * math.sin(t)
        out.append((cx + x * c - y * s, cy + x * s + y * c))
    return out


def circle_pts(cx, cy, r, n=72):
    return ellipse_pts(cx, cy, r, r, 0, n)


def arc_pts(cx, cy, r, deg0, deg1, n=64):
    return [(cx + r * math.cos(math.radians(deg0 + (deg1 - deg0) * i / n)),
             cy + r * math.sin(math.radians(deg0 + (deg1 - deg0) * i / n))) for i in range(n + 1)]


def polar_pts(cx, cy, fn, n=360, rot=0.0):
    """Closed curve whose radius at angle t is fn(t)."""
    out = []
    for i in range(n):
        t = 2 * math.pi * i / n
        r = fn(t)
        a = t + math.radians(rot)
        out.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return out


def rrect_pts(x0, y0, x1, y1, r, n=12):
    """Rounded rectangle; r shrinks to fit a narrow box."""
    r = min(r, (x1 - x0) / 2, (y1 - y0) / 2)
    pts = []
    for cx, cy, a in ((x1 - r, y0 + r, -90), (x1 - r, y1 - r, 0), (x0 + r, y1 - r, 90), (x0 + r, y0 + r, 180)):
        for i in range(n + 1):
            t = math.radians(a + 90 * i / n)
            pts.append((cx + r * math.cos(t), cy + r * math.sin(t)))
    return pts


def star_pts(cx, cy, ro, ri, n=5, rot=-90.0):
    pts = []
    for i in range(2 * n):
        r = ro if i % 2 == 0 else ri
        t = math.radians(rot + 180.0 * i / n)
        pts.append((cx + r * math.cos(t), cy + r * math.sin(t)))
    return pts


def heart_curve(n):
    """The classic heart curve, 32 wide, notch up, centred near the origin."""
    pts = []
    for i in range(n):
        t = 2 * math.pi * i / n
        x = 16 * math.sin(t) ** 3
        y = -(13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t))
        pts.append((x, y))
    return pts


def bezier(p0, p1, p2, p3=None, n=24):
    """n+1 points of a quadratic (no p3) or cubic Bezier curve, both ends included."""
    pts = []
    for i in range(n + 1):
        t = i / n
        if p3 is None:
            a, b, c = (1 - t) ** 2, 2 * (1 - t) * t, t * t
            pts.append((a * p0[0] + b * p1[0] + c * p2[0], a * p0[1] + b * p1[1] + c * p2[1]))
        else:
            a, b, c, d = (1 - t) ** 3, 3 * (1 - t) ** 2 * t, 3 * (1 - t) * t * t, t ** 3
            pts.append((a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0],
                        a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1]))
    return pts


def rotate(pts, deg, cx=0.0, cy=0.0):
    c, s = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    return [(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c) for x, y in pts]


def move(pts, dx, dy):
    return [(x + dx, y + dy) for x, y in pts]


def fit(pts, x0, y0, x1, y1):
    """Scales/moves pts so their bounding box becomes the given box."""
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    ax, ay, bx, by = min(xs), min(ys), max(xs), max(ys)
    return [(x0 + (x - ax) * (x1 - x0) / (bx - ax), y0 + (y - ay) * (y1 - y0) / (by - ay)) for x, y in pts]


def area(pts):
    """Signed area: positive when the points run clockwise on screen (y down)."""
    return 0.5 * sum(pts[i][0] * pts[(i + 1) % len(pts)][1] - pts[(i + 1) % len(pts)][0] * pts[i][1]
                     for i in range(len(pts)))


# ------------------------------------------------------- supersampled -> output

def mode_down(img, s):
    """Downsamples by picking each block's most common colour: hard edges, exact colours."""
    a = np.asarray(img.convert("RGBA")).astype(np.uint32)
    packed = (a[..., 0] << 24) | (a[..., 1] << 16) | (a[..., 2] << 8) | a[..., 3]
    packed[a[..., 3] == 0] = 0
    H, W = a.shape[0] // s, a.shape[1] // s
    b = packed.reshape(H, s, W, s).transpose(0, 2, 1, 3).reshape(H, W, s * s)
    # ties go to the samples nearest the block centre
    c = (s - 1) / 2.0
    order = sorted(range(s * s), key=lambda i: ((i // s - c) ** 2 + (i % s - c) ** 2, i))
    b = b[..., order]
    cnt = (b[..., :, None] == b[..., None, :]).sum(-1)
    out = np.take_along_axis(b, cnt.argmax(-1)[..., None], -1)[..., 0]
    res = np.stack([(out >> 24) & 255, (out >> 16) & 255, (out >> 8) & 255, out & 255], -1).astype(np.uint8)
    return Image.fromarray(res, "RGBA")


def reduce_rgba(im, s):
    """Box average with premultiplied alpha, so see-through samples do not darken an edge."""
    a = np.asarray(im, dtype=np.float64)
    H, W = a.shape[:2]
    h, w = H // s, W // s
    al = a[..., 3:4] / 255.0
    pm = (a[..., :3] * al).reshape(h, s, w, s, 3).mean(axis=(1, 3))
    A = al.reshape(h, s, w, s, 1).mean(axis=(1, 3))
    rgb = np.where(A > 0, pm / np.maximum(A, 1e-9), 0.0)
    out = np.concatenate([rgb, A * 255.0], axis=-1)
    out = np.clip(np.round(out), 0, 255).astype(np.uint8)
    out[out[..., 3] == 0] = 0
    return Image.fromarray(out, "RGBA")


def reduce_rgb(im, s):
    a = np.asarray(im, dtype=np.float64)
    H, W = a.shape[:2]
    out = a.reshape(H // s, s, W // s, s, 3).mean(axis=(1, 3))
    return Image.fromarray(np.clip(np.round(out), 0, 255).astype(np.uint8), "RGB")


# ------------------------------------------------------------------- output

def parse_args(argv, groups):
    """`[--out DIR] [group ...]` -> (resources folder to write, groups wanted, in `groups` order)."""
    args = list(argv)
    root = RESOURCES
    if "--out" in args:  # write somewhere else, e.g. to compare against the committed files
        i = args.index("--out")
        if i + 1 >= len(args):
            raise SystemExit("--out needs a folder")
        root = args[i + 1]
        del args[i:i + 2]
    unknown = sorted(set(args) - set(groups))
    if unknown:
        raise SystemExit("unknown group %s; choose from: %s" % (", ".join(unknown), " ".join(groups)))
    return root, [g for g in groups if not args or g in args]


def save_png(img, path):
    """PIL writes no time or text chunks by default, so the bytes depend on the pixels only."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, "PNG", optimize=True)


def write_qrc(root, folder, prefix, names):
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="%s">' % prefix]
    for n in names:
        lines.append('    <file alias="%s">%s/%s</file>' % (n, folder, n))
    lines += ['</qresource>', '</RCC>', '']
    with open(os.path.join(root, folder + ".qrc"), "w", newline="\n") as f:
        f.write("\n".join(lines))


def regenerated_differences(generator, files, res=RESOURCES):
    """Runs generator --out into a temporary folder; returns which of `files` (paths relative
    to the resources folder) it no longer writes byte for byte as they are in res."""
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([sys.executable, generator, "--out", tmp], check=True)
        differ = []
        for f in files:
            try:
                with open(os.path.join(tmp, f), "rb") as a, open(os.path.join(res, f), "rb") as b:
                    same = a.read() == b.read()
            except OSError:
                same = False
            if not same:
                differ.append(f)
        return differ
