#!/usr/bin/python3
"""Draws Pictaro's tool cursors, palette blots, colour chart and stamps.

Needs Debian packages: python3, python3-pil, python3-numpy.
Run from anywhere:  /usr/bin/python3 tools/art/make_art1.py
Writes resources/{cursors,swatches,stamps}/*.png and resources/*.qrc, then
checks every file with check_art1.py.  Output is byte-identical between runs
(no PNG metadata, no randomness without a fixed seed).
"""
import math
import os
import sys

import numpy as np
from PIL import Image, ImageChops, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_art1  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
RES = os.path.join(ROOT, "resources")

SS = 4                      # supersampling factor
OL = (58, 58, 58)           # shared soft outline colour
OLW = 2.5                   # outline width in output pixels
WHITE = (255, 255, 255)
NEAR_WHITE = (252, 251, 246)  # stamps may not use pure white (colour key)
KEY_PINK = (248, 72, 112)
KEY_GREY = (216, 216, 216)


# ---------------------------------------------------------------- geometry

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


def polar_pts(cx, cy, fn, n=360, rot=0.0):
    out = []
    for i in range(n):
        t = 2 * math.pi * i / n
        r = fn(t)
        a = t + math.radians(rot)
        out.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return out


def rrect_pts(x0, y0, x1, y1, r, n=10):
    out = []
    corners = [(x1 - r, y0 + r, -90), (x1 - r, y1 - r, 0), (x0 + r, y1 - r, 90), (x0 + r, y0 + r, 180)]
    for cx, cy, a0 in corners:
        for i in range(n + 1):
            a = math.radians(a0 + 90 * i / n)
            out.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return out


def star_pts(cx, cy, R, r, n=5, rot=-90.0):
    out = []
    for i in range(2 * n):
        a = math.radians(rot + 180.0 * i / n)
        rr = R if i % 2 == 0 else r
        out.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return out


def rotate(pts, deg, cx=0.0, cy=0.0):
    c, s = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    return [(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c) for x, y in pts]


def move(pts, dx, dy):
    return [(x + dx, y + dy) for x, y in pts]


def scale(pts, k, cx=0.0, cy=0.0, ky=None):
    ky = k if ky is None else ky
    return [(cx + (x - cx) * k, cy + (y - cy) * ky) for x, y in pts]


def mirror_x(pts, cx):
    return [(2 * cx - x, y) for x, y in pts]


def fit(pts, x0, y0, x1, y1):
    """Scales/moves pts so their bounding box becomes the given box."""
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    ax, ay, bx, by = min(xs), min(ys), max(xs), max(ys)
    return [(x0 + (x - ax) * (x1 - x0) / (bx - ax), y0 + (y - ay) * (y1 - y0) / (by - ay)) for x, y in pts]


def heart_pts(cx, cy, w, h, rot=0.0, n=160, plump=1.0):
    raw = []
    for i in range(n):
        t = 2 * math.pi * i / n
        x = 16 * math.sin(t) ** 3
        y = -(13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t))
        raw.append((x * plump if abs(x) > 0 else x, y))
    pts = fit(raw, cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2)
    return rotate(pts, rot, cx, cy) if rot else pts


def bezier(p0, p1, p2, n=40, p3=None):
    out = []
    for i in range(n + 1):
        t = i / n
        if p3 is None:
            a, b, c = (1 - t) ** 2, 2 * (1 - t) * t, t * t
            out.append((a * p0[0] + b * p1[0] + c * p2[0], a * p0[1] + b * p1[1] + c * p2[1]))
        else:
            a, b, c, d = (1 - t) ** 3, 3 * (1 - t) ** 2 * t, 3 * (1 - t) * t * t, t ** 3
            out.append((a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0],
                        a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1]))
    return out


def ribbon(path, widths):
    """Closed outline of a stroke along path whose half-width follows widths(t in 0..1)."""
    left, right = [], []
    n = len(path)
    for i, (x, y) in enumerate(path):
        a = path[max(i - 1, 0)]
        b = path[min(i + 1, n - 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        ln = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / ln, dx / ln
        hw = widths(i / (n - 1))
        left.append((x + nx * hw, y + ny * hw))
        right.append((x - nx * hw, y - ny * hw))
    return left + right[::-1]


def teardrop_pts(cx, cy, r, rot=0.0, n=48):
    """Drop with a round bottom at (cx, cy) and its tip 2r above (before rotation)."""
    pts = [(cx, cy - 2.1 * r)]
    for i in range(n + 1):
        a = math.radians(-30 + 240 * i / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return rotate(pts, rot, cx, cy) if rot else pts


def mix(a, b, k):
    return tuple(int(round(a[i] + (b[i] - a[i]) * k)) for i in range(3))


# ------------------------------------------------------------------ canvas

def rgba(c):
    return c if len(c) == 4 else (c[0], c[1], c[2], 255)


class Pen:
    """Draws in output-pixel coordinates on a canvas SS times larger."""

    def __init__(self, w, h, bg=(0, 0, 0, 0), s=SS):
        self.w, self.h, self.s = w, h, s
        self.img = Image.new("RGBA", (w * s, h * s), rgba(bg))
        self.d = ImageDraw.Draw(self.img)

    def _p(self, pts):
        return [(x * self.s, y * self.s) for x, y in pts]

    def fill(self, pts, col):
        self.d.polygon(self._p(pts), fill=rgba(col))

    def edge(self, pts, w=OLW, col=OL):
        """Outline ring of width w around (outside) a closed polygon."""
        P = self._p(pts)
        self.d.polygon(P, fill=rgba(col))
        if w > 0:
            self.d.line(P + P[:2], fill=rgba(col), width=max(1, int(round(2 * w * self.s))), joint="curve")

    def shape(self, pts, col, w=OLW):
        self.edge(pts, w)
        self.fill(pts, col)

    def group(self, items, w=OLW):
        """Several polygons sharing one outer outline."""
        for pts, _ in items:
            self.edge(pts, w)
        for pts, col in items:
            self.fill(pts, col)

    def line(self, pts, col, width):
        """Open polyline with round caps, no outline."""
        P = self._p(pts)
        W = width * self.s
        self.d.line(P, fill=rgba(col), width=max(1, int(round(W))), joint="curve")
        for x, y in (P[0], P[-1]):
            self.d.ellipse([x - W / 2, y - W / 2, x + W / 2, y + W / 2], fill=rgba(col))

    def stroke(self, pts, col, width, w=OLW):
        """Open polyline with round caps and an outline."""
        if w > 0:
            self.line(pts, OL, width + 2 * w)
        self.line(pts, col, width)

    def dot(self, cx, cy, r, col, w=0):
        self.shape(circle_pts(cx, cy, r, 48), col, w)

    def clipped(self, clip_pts, draw_fn):
        """Runs draw_fn on a fresh layer and pastes it inside clip_pts only."""
        layer = Pen(self.w, self.h, (0, 0, 0, 0), self.s)
        draw_fn(layer)
        m = Image.new("L", self.img.size, 0)
        ImageDraw.Draw(m).polygon(self._p(clip_pts), fill=255)
        a = ImageChops.multiply(layer.img.getchannel("A"), m)
        self.img.paste(layer.img, (0, 0), a)

    def smooth(self):
        return self.img.resize((self.w, self.h), Image.BOX)

    def hard(self):
        return mode_down(self.img, self.s)


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


def save_png(img, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, "PNG", optimize=True)


def write_qrc(name, prefix, files):
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="%s">' % prefix]
    for f in files:
        lines.append('    <file alias="%s">%s/%s</file>' % (f, name, f))
    lines += ['</qresource>', '</RCC>', '']
    with open(os.path.join(RES, name + ".qrc"), "w", newline="\n") as fh:
        fh.write("\n".join(lines))


# ----------------------------------------------------------------- cursors

def cursor_pair(pen):
    """Colour image (see-through = black) and mask (see-through = white)."""
    rgba_img = pen.hard()
    a = np.asarray(rgba_img)
    rgb = a[..., :3].copy()
    see_through = np.all(rgb == 0, axis=-1)
    mask = np.where(see_through[..., None], 255, 0).astype(np.uint8).repeat(3, -1)
    return Image.fromarray(rgb, "RGB"), Image.fromarray(mask, "RGB")


def draw_leika():
    p = Pen(144, 102, (0, 0, 0))
    can = (92, 196, 120)
    can_dark = (60, 150, 92)
    water = (150, 214, 250)
    # handle loop on the right, behind the body
    handle = bezier((104, 26), (146, 14), (132, 56), 30) + bezier((132, 56), (126, 76), (104, 80), 20)[1:]
    p.stroke(handle, can_dark, 7)
    # curved spout ending in a sprinkler rose facing up-left
    face = (6.5, 7.5)
    d = (-0.5, -0.866)
    tip = (face[0] - d[0] * 9, face[1] - d[1] * 9)
    ctrl = (tip[0] - d[0] * 40, tip[1] - d[1] * 40)
    path = bezier((70, 76), ctrl, tip, 40)
    p.shape(ribbon(path, lambda t: 6.5 - 3.0 * t), can)
    perp = (-d[1], d[0])
    funnel = [(tip[0] + perp[0] * 3.5, tip[1] + perp[1] * 3.5),
              (face[0] + perp[0] * 6.2, face[1] + perp[1] * 6.2),
              (face[0] - perp[0] * 6.2, face[1] - perp[1] * 6.2),
              (tip[0] - perp[0] * 3.5, tip[1] - perp[1] * 3.5)]
    p.shape(funnel, can_dark)
    ang = math.degrees(math.atan2(perp[1], perp[0]))
    p.shape(ellipse_pts(face[0], face[1], 6.0, 2.6, ang, 48), KEY_PINK, 2.0)
    # drops falling from the rose
    for cx, cy, r in ((4.5, 22.0, 3.0), (10.5, 33.0, 3.4), (4.0, 44.0, 3.0), (17.0, 47.0, 2.6)):
        p.shape(teardrop_pts(cx, cy, r), water, 2.0)
        p.dot(cx - r * 0.35, cy - r * 0.2, r * 0.35, WHITE)
    # body with the paint band on top
    body = rrect_pts(62.0, 9.0, 110.5, 93.0, 8)
    p.shape(body, can)
    p.clipped(body, lambda q: q.fill([(0, 0), (144, 0), (144, 21.5), (0, 21.5)], KEY_PINK))
    p.line([(60, 22.5), (112, 22.5)], OL, 2.2)
    p.clipped(body, lambda q: q.fill([(0, 84), (144, 84), (144, 102), (0, 102)], can_dark))
    p.line([(60, 83.5), (112, 83.5)], OL, 2.2)
    # gloss
    p.line([(69, 30), (69, 62)], WHITE, 3.4)
    p.dot(69, 70, 1.8, WHITE)
    return p


def draw_kist():
    p = Pen(201, 230, (0, 0, 0))
    o = (-4.0, -4.0)
    L = math.hypot(203, 231)
    u = (203 / L, 231 / L)
    v = (-u[1], u[0])

    def at(t, s):
        return (o[0] + u[0] * t + v[0] * s, o[1] + u[1] * t + v[1] * s)

    def body(t0, t1, hw, n=40):
        left = [at(t0 + (t1 - t0) * i / n, hw(t0 + (t1 - t0) * i / n)) for i in range(n + 1)]
        right = [at(t0 + (t1 - t0) * i / n, -hw(t0 + (t1 - t0) * i / n)) for i in range(n + 1)]
        return left + right[::-1]

    red = (232, 76, 61)
    red_dark = (190, 52, 44)
    metal = (184, 192, 204)
    metal_dark = (140, 148, 162)
    hair = (236, 196, 128)
    hair_dark = (196, 150, 84)

    # handle: slim waist, round end
    def handle_w(t):
        k = (t - 136) / (276 - 136)
        return 16.5 - 7.5 * math.sin(min(k, 1.0) * math.pi * 0.62) + 3.5 * max(0.0, k - 0.7) / 0.3

    hpts = body(136, 276, handle_w, 60)
    end_r = handle_w(276)
    cap = [at(276 + end_r * math.sin(math.radians(a)), end_r * math.cos(math.radians(a))) for a in range(0, 181, 6)]
    hpts = hpts[:61] + cap + hpts[61:]
    p.shape(hpts, red)
    hole = at(262, 0)
    p.dot(hole[0], hole[1], 3.2, (0, 0, 0), 2.0)     # hanging hole (see-through)
    p.line([at(150, -8), at(224, -4.5)], (255, 150, 140), 3.0)
    p.line([at(150, -8), at(224, -4.5)], WHITE, 1.6)
    p.line([at(140, 10), at(230, 6.5)], red_dark, 2.5)

    # bristles: rounded point, full width by t=80
    def hair_w(t):
        return 21.5 * math.sqrt(min(max(t, 0.0), 80.0) / 80.0) if t < 80 else 21.5 + 1.5 * math.sin((t - 80) / 30 * math.pi)

    bpts = body(0, 112, hair_w, 70)
    p.shape(bpts, hair)
    for s in (-14, -7, 0, 7, 14):
        p.line([at(58 + abs(s) * 1.2, s * 0.9), at(108, s)], hair_dark, 1.4)
    # paint soaked tip with a wavy edge
    def edge_t(s):
        return 43 + 3.2 * math.cos(s / 15.0 * math.pi * 1.5)

    n = 40
    paint = [at(edge_t(0) * 0 + 0, 0)]
    left = []
    for i in range(n + 1):
        t = 1.0 * i / n * 46
        left.append((t, hair_w(t)))
    side_a = [at(t, w) for t, w in left if t < edge_t(w)]
    side_b = [at(t, -w) for t, w in left if t < edge_t(-w)]
    wave = []
    smax = hair_w(edge_t(0))
    for i in range(31):
        s = smax - 2 * smax * i / 30
        wave.append(at(edge_t(s) - 1.5 * abs(s) / smax, s * 0.99))
    paint = side_a + wave + side_b[::-1]
    p.clipped(bpts, lambda q: q.fill(paint, KEY_GREY))
    p.line([at(edge_t(s) - 1.5 * abs(s) / smax, s) for s in np.linspace(smax, -smax, 40)], OL, 2.2)

    # metal ferrule over the hair's root
    fpts = body(100, 140, lambda t: 22.5, 8)
    p.shape(fpts, metal)
    for t in (112, 128):
        p.line([at(t, -22), at(t, 22)], metal_dark, 2.0)
    p.line([at(103, -15), at(137, -15)], WHITE, 3.0)
    return p


def draw_bolon():
    p = Pen(110, 146, (0, 0, 0))
    blue = (70, 146, 232)
    blue_dark = (46, 104, 196)
    metal = (200, 206, 216)
    red = (236, 84, 72)
    mist = (226, 234, 244)
    # spray puff around the hot spot
    for cx, cy, r in ((10, 12, 7.5), (19, 9, 6), (18, 18, 5.5), (27, 15, 4.0)):
        p.edge(circle_pts(cx, cy, r), 2.0)
    for cx, cy, r in ((10, 12, 7.5), (19, 9, 6), (18, 18, 5.5), (27, 15, 4.0)):
        p.fill(circle_pts(cx, cy, r), mist)
    p.dot(8, 9.5, 2.0, WHITE)
    for cx, cy in ((34, 21), (31, 27), (36, 29)):
        p.dot(cx, cy, 1.6, mist, 1.2)
    # can top: shoulder dome, valve and actuator with nozzle
    p.shape(rrect_pts(48, 38, 72, 50, 3), metal)
    p.shape(rrect_pts(44, 22, 74, 42, 6), red)
    p.shape(rrect_pts(37, 26, 47, 34, 2.5), red)
    p.dot(37.5, 30, 1.6, (60, 36, 36))
    p.line([(50, 27), (66, 27)], (255, 170, 160), 2.2)
    dome = ellipse_pts(60, 62, 27, 15)
    p.shape(dome, metal)
    body = rrect_pts(33, 60, 87, 143, 7)
    p.shape(body, blue)
    p.clipped(body, lambda q: q.fill([(0, 130), (110, 130), (110, 146), (0, 146)], blue_dark))
    p.line([(31, 129.5), (89, 129.5)], OL, 2.2)
    p.line([(31, 60.5), (89, 60.5)], OL, 2.2)
    p.shape(rrect_pts(48.5, 71.5, 70.5, 95.5, 5), KEY_PINK, 2.2)
    # gloss
    p.line([(39, 70), (39, 118)], WHITE, 3.4)
    p.dot(39, 124, 1.8, WHITE)
    p.line([(47, 55), (54, 52)], WHITE, 2.4)
    return p


def draw_sterka():
    # box seen from above-left-front: the top-left corner is the eraser's corner
    p = Pen(87, 69, (0, 0, 0))
    A = (2.0, 2.0)
    a = (60.0, 12.0)
    b = (16.0, 14.0)
    h = 30.0
    pink, pink_front, pink_end = (250, 156, 182), (232, 112, 148), (204, 86, 124)
    blue, blue_front = (120, 178, 246), (72, 128, 216)
    k = 0.4

    def P(i, j, z=0.0):
        return (A[0] + a[0] * i + b[0] * j, A[1] + a[1] * i + b[1] * j + z)

    p.edge([P(0, 0), P(1, 0), P(1, 1), P(1, 1, h), P(0, 1, h), P(0, 0, h)])
    p.fill([P(0, 0), P(0, 1), P(0, 1, h), P(0, 0, h)], pink_end)
    p.fill([P(0, 1), P(k, 1), P(k, 1, h), P(0, 1, h)], pink_front)
    p.fill([P(k, 1), P(1, 1), P(1, 1, h), P(k, 1, h)], blue_front)
    p.fill([P(0, 0), P(k, 0), P(k, 1), P(0, 1)], pink)
    p.fill([P(k, 0), P(1, 0), P(1, 1), P(k, 1)], blue)
    for seg in ([P(0, 1), P(1, 1)], [P(0, 1), P(0, 1, h)], [P(k, 0), P(k, 1), P(k, 1, h)]):
        p.line(seg, OL, 2.0)
    p.line([P(0.07, 0.3), P(0.3, 0.3)], WHITE, 2.6)
    p.line([P(0.5, 0.3), P(0.88, 0.3)], (214, 234, 255), 2.6)
    p.line([P(0.06, 1, 5), P(0.06, 1, h - 8)], (255, 196, 212), 2.2)
    return p


def draw_palka():
    p = Pen(69, 105, (0, 0, 0))
    violet, violet_dark = (150, 92, 224), (112, 62, 182)
    yellow, orange = (255, 214, 48), (255, 160, 40)
    c = (22.0, 22.0)
    stick = [(c[0] + 4, c[1] + 4), (61, 97)]
    p.stroke(stick, violet, 7.5)
    d = (61 - c[0], 97 - c[1])
    ln = math.hypot(*d)
    d = (d[0] / ln, d[1] / ln)
    end = [(61 - d[0] * 12, 97 - d[1] * 12), (61, 97)]
    p.line(end, NEAR_WHITE, 7.5)
    p.line([(end[0][0] - d[1] * 3.75 - d[0], end[0][1] + d[0] * 3.75 - d[1]),
            (end[0][0] + d[1] * 3.75 - d[0], end[0][1] - d[0] * 3.75 - d[1])], OL, 1.8)
    p.line([(c[0] + 14 * d[0] - 1.6 * d[1], c[1] + 14 * d[1] + 1.6 * d[0]),
            (c[0] + 50 * d[0] - 1.6 * d[1], c[1] + 50 * d[1] + 1.6 * d[0])], violet_dark, 1.8)
    p.line([(c[0] + 16 * d[0] + 1.5 * d[1], c[1] + 16 * d[1] - 1.5 * d[0]),
            (c[0] + 44 * d[0] + 1.5 * d[1], c[1] + 44 * d[1] - 1.5 * d[0])], (210, 180, 255), 1.8)
    star = star_pts(c[0], c[1], 21, 10, 5, -135)
    p.shape(star, yellow)
    p.fill(star_pts(c[0] + 1.5, c[1] + 1.5, 12, 5.8, 5, -135), (255, 234, 120))
    p.line([(c[0] - 8, c[1] - 2), (c[0] - 4, c[1] - 6)], WHITE, 2.4)
    # sparkles
    for cx, cy, r in ((49, 10, 6.5), (12, 52, 5.5), (44, 40, 4.5)):
        p.shape(star_pts(cx, cy, r, r * 0.38, 4, -90), orange if r < 5 else yellow, 1.6)
    return p


CURSOR_DRAW = {
    "cursor_leika": draw_leika,
    "cursor_kist": draw_kist,
    "cursor_bolon": draw_bolon,
    "cursor_sterka": draw_sterka,
    "cur_palka": draw_palka,
}


def make_cursors():
    files = []
    for name, (size, hot, keys) in check_art1.CURSORS.items():
        colour, mask = cursor_pair(CURSOR_DRAW[name]())
        check_art1.check_cursor(name, colour, mask, hot, keys)
        for suffix, img in (("", colour), ("_mask", mask)):
            save_png(img, os.path.join(RES, "cursors", name + suffix + ".png"))
            files.append(name + suffix + ".png")
    write_qrc("cursors", "/cursors", files)
    return files


def main():
    only = set(sys.argv[1:])
    if not only or "cursors" in only:
        make_cursors()


if __name__ == "__main__":
    main()
