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

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_art1  # noqa: E402
from artkit import (OL, SS, WHITE, area, bezier, circle_pts, ellipse_pts, fit, heart_curve,  # noqa: E402
                    mix, mode_down, move, parse_args, polar_pts, rgba, rotate, rrect_pts, save_png,
                    star_pts, write_qrc)

OLW = 2.5                   # outline width in output pixels
NEAR_WHITE = (252, 251, 246)  # stamps may not use pure white (colour key)
KEY_PINK = check_art1.KEY_PINK
KEY_GREY = check_art1.KEY_GREY


# ---------------------------------------------------------------- geometry

def heart_pts(cx, cy, w, h, rot=0.0, n=160):
    pts = fit(heart_curve(n), cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2)
    return rotate(pts, rot, cx, cy) if rot else pts


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


def teardrop_pts(cx, cy, r, n=48):
    """Drop with a round bottom at (cx, cy) and its tip 2r above."""
    pts = [(cx, cy - 2.1 * r)]
    for i in range(n + 1):
        a = math.radians(-30 + 240 * i / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


# ------------------------------------------------------------------ canvas

class Pen:
    """Draws in output-pixel coordinates on a canvas SS times larger."""

    def __init__(self, w, h, bg=(0, 0, 0, 0), s=SS, pad=0):
        self.w, self.h, self.s, self.pad = w, h, s, pad
        self.img = Image.new("RGBA", ((w + 2 * pad) * s, (h + 2 * pad) * s), rgba(bg))
        self.d = ImageDraw.Draw(self.img)

    def _p(self, pts):
        return [((x + self.pad) * self.s, (y + self.pad) * self.s) for x, y in pts]

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
        layer = Pen(self.w, self.h, (0, 0, 0, 0), self.s, self.pad)
        draw_fn(layer)
        m = Image.new("L", self.img.size, 0)
        ImageDraw.Draw(m).polygon(self._p(clip_pts), fill=255)
        a = ImageChops.multiply(layer.img.getchannel("A"), m)
        self.img.paste(layer.img, (0, 0), a)

    def smooth(self):
        return self.img.resize((self.w, self.h), Image.BOX)

    def hard(self):
        return mode_down(self.img, self.s)

    def fitted(self, margin, grow=1.12):
        """Hard-edged result with the drawing scaled (at most by grow) and centred to leave
        `margin` clear pixels on every side; the pad lets a drawing spill over while composing."""
        box = self.img.getchannel("A").getbbox()
        crop = self.img.crop(box)
        tw, th = (self.w - 2 * margin) * self.s, (self.h - 2 * margin) * self.s
        k = min(tw / crop.width, th / crop.height, grow)
        nw, nh = max(1, int(crop.width * k)), max(1, int(crop.height * k))
        crop = crop.resize((nw, nh), Image.NEAREST)
        out = Image.new("RGBA", (self.w * self.s, self.h * self.s), (0, 0, 0, 0))
        x0 = (out.width - nw) // 2
        y0 = (out.height - nh) // 2
        x0 = int(round(x0 / self.s)) * self.s   # stay on the block grid so edges stay crisp
        y0 = int(round(y0 / self.s)) * self.s
        out.paste(crop, (x0, y0))
        return mode_down(out, self.s)


# ----------------------------------------------------------------- cursors

def cursor_pair(pen):
    """Colour image (see-through = black) and mask (see-through = white)."""
    rgba_img = pen.hard()
    a = np.asarray(rgba_img)
    rgb = a[..., :3].copy()
    see_through = np.all(rgb == 0, axis=-1)
    mask = np.where(see_through[..., None], 255, 0).astype(np.uint8).repeat(3, -1)
    return Image.fromarray(rgb, "RGB"), Image.fromarray(mask, "RGB")


def draw_watering_can():
    p = Pen(144, 102, (0, 0, 0))
    can = (92, 196, 120)
    can_dark = (60, 150, 92)
    # handle loop on the right, behind the body
    handle = bezier((104, 26), (146, 14), (132, 56), n=30) + bezier((132, 56), (126, 76), (104, 80), n=20)[1:]
    p.stroke(handle, can_dark, 7)
    # curved spout ending in a sprinkler rose facing up-left
    face = (6.5, 7.5)
    d = (-0.5, -0.866)
    tip = (face[0] - d[0] * 9, face[1] - d[1] * 9)
    ctrl = (tip[0] - d[0] * 40, tip[1] - d[1] * 40)
    path = bezier((70, 76), ctrl, tip, n=40)
    p.shape(ribbon(path, lambda t: 6.5 - 3.0 * t), can)
    perp = (-d[1], d[0])
    funnel = [(tip[0] + perp[0] * 3.5, tip[1] + perp[1] * 3.5),
              (face[0] + perp[0] * 6.2, face[1] + perp[1] * 6.2),
              (face[0] - perp[0] * 6.2, face[1] - perp[1] * 6.2),
              (tip[0] - perp[0] * 3.5, tip[1] - perp[1] * 3.5)]
    p.shape(funnel, can_dark)
    ang = math.degrees(math.atan2(perp[1], perp[0]))
    p.shape(ellipse_pts(face[0], face[1], 6.0, 2.6, ang, 48), KEY_PINK, 2.0)
    # drops of paint falling from the rose, joined to it by a thin trickle so that the one
    # tint seed at the rose colours them all
    drops = ((4.5, 22.0, 3.0), (10.5, 33.0, 3.4), (4.0, 44.0, 3.0), (17.0, 47.0, 2.6))
    for cx, cy, r in drops:
        p.shape(teardrop_pts(cx, cy, r), KEY_PINK, 2.0)
    for a, b in (((5.5, 9.0), drops[0]), (drops[0], drops[1]), (drops[1], drops[2]),
                 (drops[1], drops[3])):
        p.line([a[:2], b[:2]], KEY_PINK, 2.2)
    for cx, cy, r in drops:
        p.dot(cx - r * 0.35, cy - r * 0.2, r * 0.35, WHITE)
    # body in the paint colour, on a darker foot
    body = rrect_pts(62.0, 9.0, 110.5, 93.0, 8, n=10)
    p.shape(body, KEY_PINK)
    p.clipped(body, lambda q: q.fill([(0, 84), (144, 84), (144, 102), (0, 102)], can_dark))
    p.line([(60, 83.5), (112, 83.5)], OL, 2.2)
    # gloss
    p.line([(69, 30), (69, 62)], WHITE, 3.4)
    p.dot(69, 70, 1.8, WHITE)
    return p


def draw_brush():
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
        return 46 + 3.2 * math.cos(s / 15.0 * math.pi * 1.5)

    n = 40
    left = []
    for i in range(n + 1):
        t = 1.0 * i / n * 50
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


def draw_spray_can():
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
    p.shape(rrect_pts(48, 38, 72, 50, 3, n=10), metal)
    p.shape(rrect_pts(44, 22, 74, 42, 6, n=10), red)
    p.shape(rrect_pts(37, 26, 47, 34, 2.5, n=10), red)
    p.dot(37.5, 30, 1.6, (60, 36, 36))
    p.line([(50, 27), (66, 27)], (255, 170, 160), 2.2)
    dome = ellipse_pts(60, 62, 27, 15)
    p.shape(dome, metal)
    body = rrect_pts(33, 60, 87, 143, 7, n=10)
    p.shape(body, blue)
    p.clipped(body, lambda q: q.fill([(0, 130), (110, 130), (110, 146), (0, 146)], blue_dark))
    p.line([(31, 129.5), (89, 129.5)], OL, 2.2)
    p.line([(31, 60.5), (89, 60.5)], OL, 2.2)
    p.shape(rrect_pts(48.5, 71.5, 70.5, 95.5, 5, n=10), KEY_PINK, 2.2)
    # gloss
    p.line([(39, 70), (39, 118)], WHITE, 3.4)
    p.dot(39, 124, 1.8, WHITE)
    p.line([(47, 55), (54, 52)], WHITE, 2.4)
    return p


def draw_eraser():
    # box seen from above-left-front: the top-left corner is the eraser's corner
    p = Pen(87, 69, (0, 0, 0))
    A = (1.5, 1.5)
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


def draw_wand():
    p = Pen(69, 105, (0, 0, 0))
    violet, violet_dark = (150, 92, 224), (112, 62, 182)
    yellow, orange = (255, 214, 48), (255, 160, 40)
    c = (21.0, 21.0)
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
    star = star_pts(c[0], c[1], 20.5, 10, 5, -135)
    p.shape(star, yellow)
    p.fill(star_pts(c[0] + 1.5, c[1] + 1.5, 12, 5.8, 5, -135), (255, 234, 120))
    p.line([(c[0] - 8, c[1] - 2), (c[0] - 4, c[1] - 6)], WHITE, 2.4)
    # sparkles
    for cx, cy, r in ((49, 10, 6.5), (12, 52, 5.5), (44, 40, 4.5)):
        p.shape(star_pts(cx, cy, r, r * 0.38, 4, -90), orange if r < 5 else yellow, 1.6)
    return p


CURSOR_DRAW = {
    "cursor_fill": draw_watering_can,
    "cursor_brush": draw_brush,
    "cursor_spray": draw_spray_can,
    "cursor_eraser": draw_eraser,
    "cursor_wand": draw_wand,
}


def make_cursors(root):
    files = []
    for name, (size, hot, keys) in check_art1.CURSORS.items():
        colour, mask = cursor_pair(CURSOR_DRAW[name]())
        check_art1.check_cursor(name, colour, mask, hot, keys)
        for suffix, img in (("", colour), ("_mask", mask)):
            save_png(img, os.path.join(root, "cursors", name + suffix + ".png"))
            files.append(name + suffix + ".png")
    write_qrc(root, "cursors", "/cursors", files)
    return files


# ---------------------------------------------------------------- swatches

PALETTE = check_art1.PALETTE
RAINBOW = [(240, 48, 48), (255, 140, 24), (255, 218, 32), (60, 190, 70), (40, 200, 240), (50, 90, 230),
           (150, 70, 210)]


def blot_parts():
    """Main splash body, drips and loose droplets of the palette blot (103x116)."""
    cx, cy = 51.5, 47.0

    def r(t):
        return 35.0 + 2.6 * math.cos(7 * t + 0.5) + 1.6 * math.cos(4 * t + 2.0)

    body = polar_pts(cx, cy, r, 360)
    drips = []
    for x, y0, y1, w, rd in ((33.0, 66.0, 95.0, 9.0, 6.2), (55.0, 70.0, 105.0, 11.0, 7.4), (74.0, 64.0, 87.0, 8.0, 5.4)):
        drips.append(rrect_pts(x - w / 2, y0, x + w / 2, y1, w / 2 - 0.01, 8))
        drips.append(circle_pts(x, y1, rd))
    drops = [circle_pts(13.0, 96.0, 4.6), circle_pts(91.0, 90.0, 3.2), circle_pts(92.0, 14.0, 4.0)]
    return [body] + drips, drops


def blot_gloss(p):
    p.shape(ellipse_pts(33.0, 27.0, 9.0, 4.6, -40), WHITE, 0)
    p.dot(24.5, 38.0, 2.6, WHITE)
    p.dot(53.2, 102.5, 2.0, WHITE)
    p.dot(31.6, 93.2, 1.6, WHITE)


def draw_blot(colour, face=False, rainbow=False):
    p = Pen(103, 116)
    main, drops = blot_parts()
    parts = main + drops
    for pts in parts:
        p.edge(pts)
    if rainbow:
        def bands(q):
            for k, c in enumerate(RAINBOW):
                q.fill(circle_pts(51.5, 112.0, 130.0 if k == 0 else 104.0 - 13.0 * k, 120), c)
        for pts in parts:
            p.clipped(pts, bands)
    else:
        for pts in parts:
            p.fill(pts, colour)
    if colour == WHITE:
        # light grey rim inside the outline so a white blot shows on white paper
        from PIL import ImageFilter
        m = Image.new("L", p.img.size, 0)
        md = ImageDraw.Draw(m)
        for pts in parts:
            md.polygon(p._p(pts), fill=255)
        inner = m.filter(ImageFilter.MinFilter(9))
        rim = ImageChops.subtract(m, inner)
        p.img.paste(Image.new("RGBA", p.img.size, (214, 216, 224, 255)), (0, 0), rim)
    if not face:
        blot_gloss(p)
    else:
        lum = 0.299 * colour[0] + 0.587 * colour[1] + 0.114 * colour[2]
        ink = OL if lum > 120 else WHITE
        if lum > 120:
            for x in (31.0, 72.0):
                p.shape(ellipse_pts(x, 56.0, 6.0, 3.8), (255, 144, 164), 0)
        for x in (39.5, 63.5):
            p.shape(ellipse_pts(x, 41.0, 6.6, 8.2), WHITE, 1.6)
            p.dot(x + 1.0, 43.0, 4.0, OL)
            p.dot(x - 0.4, 41.0, 1.5, WHITE)
        p.stroke(bezier((39.0, 55.0), (51.5, 69.0), (64.0, 55.0), n=30), ink, 3.6, 0)
        p.shape(ellipse_pts(30.0, 22.5, 6.5, 3.4, -40), WHITE, 0)
    return p.smooth()


def make_swatches(root):
    files = []
    for name, colour in PALETTE:
        for n, face in ((1, False), (2, True)):
            img = draw_blot(colour, face)
            fname = "%s%d.png" % (name, n)
            check_art1.check_swatch(fname, img, colour)
            save_png(img, os.path.join(root, "swatches", fname))
            files.append(fname)
    img = draw_blot(None, False, rainbow=True)
    check_art1.check_swatch("RAINBOW", img, None)
    save_png(img, os.path.join(root, "swatches", "RAINBOW.png"))
    files.append("RAINBOW.png")
    chart = draw_chart()
    check_art1.check_chart(chart)
    save_png(chart, os.path.join(root, "swatches", "chart.png"))
    files.append("chart.png")
    write_qrc(root, "swatches", "/swatches", files)
    return files


# ------------------------------------------------------------- colour chart

def q555(c):
    """Nearest colour that survives a 5-5-5 round trip."""
    out = []
    for v in c:
        v5 = max(0, min(31, int(round(v * 31 / 255.0))))
        out.append((v5 << 3) | (v5 >> 2))
    return tuple(out)


def hsv(h, s, v):
    import colorsys
    r, g, b = colorsys.hsv_to_rgb(h % 1.0, s, v)
    return (r * 255, g * 255, b * 255)


def chart_rows():
    cols = 30
    hues = [hsv(i / cols, 1.0, 1.0) for i in range(cols)]
    greys = []
    for i in range(cols):
        v5 = int(round(31 - 30 * i / (cols - 1)))
        greys.append((v5 * 255 / 31.0,) * 3)
    tones = []
    for i in range(10):
        h = i / 10.0
        tones += [hsv(h, 0.35, 1.0), hsv(h, 0.75, 0.8), hsv(h, 1.0, 0.45)]
    skins = [(255, 236, 222), (250, 220, 196), (244, 204, 176), (236, 188, 150), (226, 170, 128),
             (214, 152, 110), (198, 134, 96), (176, 114, 80), (150, 96, 66), (124, 78, 54), (98, 62, 44),
             (74, 48, 36), (255, 214, 170), (240, 190, 140), (222, 170, 112), (200, 150, 96), (180, 128, 72),
             (160, 108, 56), (140, 90, 44), (120, 74, 36), (100, 60, 30), (80, 48, 24), (62, 38, 20),
             (214, 196, 160), (190, 170, 130), (166, 144, 104), (140, 118, 84), (112, 92, 64), (170, 96, 60),
             (128, 64, 40)]
    return [[q555(c) for c in row] for row in (hues, greys, tones, skins)]


def draw_chart():
    W, H = check_art1.CHART_SIZE
    bg = q555((206, 206, 206))
    img = Image.new("RGB", (W, H), bg)
    d = ImageDraw.Draw(img)
    rows = chart_rows()
    pitch_x = W / 30.0
    size = 25
    for r, row in enumerate(rows):
        y0 = r * 28 + 2
        for i, c in enumerate(row):
            x0 = int(round(i * pitch_x + (pitch_x - size) / 2))
            light = q555(mix(c, (255, 255, 255), 0.45))
            dark = q555(mix(c, (0, 0, 0), 0.4))
            x1, y1 = x0 + size - 1, y0 + size - 1
            d.rectangle([x0, y0, x1, y1], fill=c)
            for k in range(2):
                d.line([(x0 + k, y1 - k), (x0 + k, y0 + k), (x1 - k, y0 + k)], fill=light)
                d.line([(x0 + k + 1, y1 - k), (x1 - k, y1 - k), (x1 - k, y0 + k + 1)], fill=dark)
    return img


# ------------------------------------------------------------------ stamps

SW, SH = check_art1.STAMP_SIZE
NW = NEAR_WHITE
LEAF = (84, 178, 72)
LEAF_DARK = (52, 128, 52)
LEAF_VEIN = (40, 108, 44)


def resample(pts, n):
    """n points evenly spaced along a closed polygon."""
    seg = []
    total = 0.0
    for i in range(len(pts)):
        a, b = pts[i], pts[(i + 1) % len(pts)]
        ln = math.hypot(b[0] - a[0], b[1] - a[1])
        seg.append((a, b, ln))
        total += ln
    out = []
    i, acc = 0, 0.0
    for k in range(n):
        want = total * k / n
        while acc + seg[i][2] < want and i < len(seg) - 1:
            acc += seg[i][2]
            i += 1
        a, b, ln = seg[i]
        f = (want - acc) / ln if ln else 0.0
        out.append((a[0] + (b[0] - a[0]) * f, a[1] + (b[1] - a[1]) * f))
    return out


def serrate(pts, teeth, amp, n=360, skip=None):
    """Saw-tooth edge: pushes points outward by up to amp, `teeth` teeth around the outline.
    skip(k) -> True leaves point k (of n) untouched, e.g. near a stalk."""
    pts = resample(pts, n)
    sign = 1.0 if area(pts) > 0 else -1.0
    out = []
    for k in range(n):
        a, b = pts[k - 1], pts[(k + 1) % n]
        dx, dy = b[0] - a[0], b[1] - a[1]
        ln = math.hypot(dx, dy) or 1.0
        nx, ny = dy / ln * sign, -dx / ln * sign
        ph = (k * teeth / n) % 1.0
        off = 0.0 if skip and skip(k / n) else amp * (ph if ph < 0.75 else (1 - ph) * 3)
        out.append((pts[k][0] + nx * off, pts[k][1] + ny * off))
    return out


def leaf_pts(base, tip, w, kind="lance", n=60):
    """Leaf blade between base and tip; kind picks where it is widest."""
    ax, ay = tip[0] - base[0], tip[1] - base[1]
    ln = math.hypot(ax, ay)
    ux, uy = ax / ln, ay / ln
    vx, vy = -uy, ux
    expo = {"lance": 1.0, "ovate": 0.7, "obovate": 1.5, "round": 1.0}[kind]
    power = {"lance": 0.9, "ovate": 0.75, "obovate": 0.8, "round": 0.5}[kind]
    left, right = [], []
    for i in range(n + 1):
        t = i / n
        hw = w * math.sin(math.pi * t ** expo) ** power
        px, py = base[0] + ax * t, base[1] + ay * t
        left.append((px + vx * hw, py + vy * hw))
        right.append((px - vx * hw, py - vy * hw))
    return left + right[-2:0:-1]


def veins(p, base, tip, w, col, pairs=4, spread=0.75, width=1.8, kind="lance"):
    ax, ay = tip[0] - base[0], tip[1] - base[1]
    ln = math.hypot(ax, ay)
    ux, uy = ax / ln, ay / ln
    vx, vy = -uy, ux
    p.line([base, (base[0] + ax * 0.92, base[1] + ay * 0.92)], col, width)
    expo = {"lance": 1.0, "ovate": 0.7, "obovate": 1.5, "round": 1.0}[kind]
    for i in range(pairs):
        t = 0.18 + 0.62 * i / max(1, pairs - 1)
        hw = w * math.sin(math.pi * t ** expo) * spread
        sx, sy = base[0] + ax * t, base[1] + ay * t
        for sgn in (1, -1):
            ex = sx + vx * hw * sgn + ux * hw * 0.7
            ey = sy + vy * hw * sgn + uy * hw * 0.7
            p.line([(sx, sy), (ex, ey)], col, width * 0.8)


def petal_pts(cx, cy, ang, r0, length, width, n=40):
    a = math.radians(ang)
    mx, my = cx + math.cos(a) * (r0 + length / 2), cy + math.sin(a) * (r0 + length / 2)
    return ellipse_pts(mx, my, length / 2, width / 2, ang, n)


def gloss(p, x, y, ln=7.0, ang=-40.0, w=2.6):
    a = math.radians(ang)
    p.line([(x, y), (x + math.cos(a) * ln, y + math.sin(a) * ln)], NW, w)


# flowers ---------------------------------------------------------------

def ground_leaves(p, leaves):
    """Leaves under a flower, each (base, tip, width, vein); every blade goes down before any vein."""
    for base, tip, w, _ in leaves:
        p.shape(leaf_pts(base, tip, w, "ovate"), LEAF)
    for _, _, _, vein in leaves:
        p.line(vein, LEAF_DARK, 1.6)


def flower_daisy(p):
    cx, cy = 58.0, 51.5
    for k in range(16):
        ang = k * 22.5 + 5
        p.shape(petal_pts(cx, cy, ang, 9.0, 37.0, 13.0), NW)
        a = math.radians(ang)
        p.line([(cx + math.cos(a) * 24, cy + math.sin(a) * 24), (cx + math.cos(a) * 36, cy + math.sin(a) * 36)],
               (226, 226, 236), 1.6)
    p.shape(circle_pts(cx, cy, 15.5), (255, 204, 40))
    for k in range(12):
        a = k * 2.39996
        rr = 3.4 * math.sqrt(k + 0.5)
        p.dot(cx + rr * math.cos(a), cy + rr * math.sin(a), 1.3, (238, 150, 30))
    gloss(p, cx - 9, cy - 4, 5, -60)


def flower_tulip(p):
    stem = bezier((58, 100), (62, 72), (58, 46), n=20)
    ground_leaves(p, (((56, 99), (20, 44), 11, [(56, 97), (30, 56)]), ((60, 99), (98, 52), 10, [(60, 97), (88, 61)])))
    p.stroke(stem, LEAF, 5)
    red, red_dark, red_light = (238, 48, 76), (196, 30, 62), (255, 120, 140)
    p.shape(leaf_pts((58, 56), (34, 8), 14, "obovate"), red_dark)
    p.shape(leaf_pts((58, 56), (82, 8), 14, "obovate"), red_dark)
    cup = bezier((38, 22), (34, 58), (58, 60), n=20) + bezier((58, 60), (82, 58), (78, 22), n=20)[1:]
    p.shape(cup + [(70, 30), (64, 16), (58, 30), (52, 16), (46, 30)], red)
    p.shape(leaf_pts((58, 59), (58, 6), 13, "obovate"), red)
    p.line([(48, 28), (46, 44)], red_light, 3.0)
    gloss(p, 52, 44, 8, -80)


def flower_sunflower(p):
    cx, cy = 58.0, 50.0
    ground_leaves(p, (((40, 66), (3, 78), 12, [(40, 66), (10, 77)]), ((76, 66), (113, 80), 12, [(76, 66), (106, 79)])))
    for k in range(16):
        p.shape(leaf_pts(*((cx + 20 * math.cos(math.radians(k * 22.5)), cy + 20 * math.sin(math.radians(k * 22.5))),
                          (cx + 46 * math.cos(math.radians(k * 22.5)), cy + 46 * math.sin(math.radians(k * 22.5)))),
                         w=7.5, kind="ovate"), (255, 176, 24))
    for k in range(16):
        a = math.radians(k * 22.5 + 11.25)
        p.shape(leaf_pts((cx + 18 * math.cos(a), cy + 18 * math.sin(a)), (cx + 40 * math.cos(a), cy + 40 * math.sin(a)),
                         7.0, "ovate"), (255, 220, 48))
    p.shape(circle_pts(cx, cy, 21), (124, 74, 38))
    for k in range(34):
        a = k * 2.39996
        rr = 3.3 * math.sqrt(k + 0.6)
        if rr < 18.5:
            p.dot(cx + rr * math.cos(a), cy + rr * math.sin(a), 1.4, (86, 50, 26) if k % 2 else (168, 108, 56))
    gloss(p, cx - 12, cy - 5, 6, -65)


def flower_rose(p):
    cx, cy = 58.0, 49.0
    ground_leaves(p, (((44, 70), (6, 92), 12, [(44, 70), (14, 88)]), ((72, 70), (110, 92), 12, [(72, 70), (102, 88)])))
    outer, mid, inner = (246, 96, 130), (228, 64, 104), (204, 40, 84)
    for k in range(5):
        a = math.radians(k * 72 - 90 + 36)
        p.shape(circle_pts(cx + 24 * math.cos(a), cy + 24 * math.sin(a), 20), outer)
    for k in range(5):
        a = math.radians(k * 72 - 90)
        p.shape(circle_pts(cx + 14 * math.cos(a), cy + 14 * math.sin(a), 15), mid)
    p.shape(circle_pts(cx, cy, 14), inner)
    spiral = [(cx + (1.5 + 1.9 * t) * math.cos(t), cy + (1.5 + 1.9 * t) * math.sin(t))
              for t in np.linspace(0.0, 4 * math.pi * 0.93, 80)]
    p.line(spiral, OL, 2.2)
    gloss(p, cx - 30, cy - 10, 7, -70)
    gloss(p, cx - 8, cy - 30, 6, -15)


def bell_pts(x, y, w, h, ang=0.0):
    left = bezier((x - 4, y), (x - w * 0.55, y + h * 0.2), (x - w / 2 - 3, y + h), n=16)
    right = bezier((x + w / 2 + 3, y + h), (x + w * 0.55, y + h * 0.2), (x + 4, y), n=16)
    rim = []
    for i in range(1, 40):
        t = i / 40
        xx = x - w / 2 - 3 + (w + 6) * t
        rim.append((xx, y + h + 3.0 * math.cos(t * 5 * 2 * math.pi)))
    pts = left + rim + right
    return rotate(pts, ang, x, y) if ang else pts


def flower_bell(p):
    stem = bezier((14, 100), (26, 2), (106, 14), n=40)
    p.shape(leaf_pts((16, 96), (4, 50), 8, "lance"), LEAF)
    p.shape(leaf_pts((18, 92), (46, 70), 7, "lance"), LEAF)
    p.stroke(stem, LEAF, 4)
    violet, inside, pistil = (146, 110, 236), (104, 70, 196), (255, 214, 60)
    for t, w, h, ang in ((0.32, 24, 28, 12), (0.6, 26, 31, 4), (0.9, 24, 28, -6)):
        x, y = stem[int(t * 40)]
        hang = (x + 2, y + 6)
        p.stroke([(x, y), hang], LEAF, 3)
        p.stroke([hang, rotate([(hang[0], hang[1] + h + 9)], ang, *hang)[0]], pistil, 2.0, 1.8)
        p.shape(bell_pts(hang[0], hang[1], w, h, ang), violet)
        mouth = rotate(ellipse_pts(hang[0], hang[1] + h + 0.5, w / 2 - 1, 3.0, 0, 40), ang, *hang)
        p.fill(mouth, inside)
        tipx, tipy = rotate([(hang[0], hang[1] + h + 9)], ang, *hang)[0]
        p.dot(tipx, tipy, 2.6, pistil, 1.8)
        gx, gy = rotate([(hang[0] - w * 0.25, hang[1] + h * 0.35)], ang, *hang)[0]
        gloss(p, gx, gy, 8, 100 + ang, 2.4)


def flower_forgetmenot(p):
    for base, tip in (((58, 60), (6, 86)), ((58, 60), (110, 88)), ((58, 60), (30, 100)), ((58, 60), (90, 101))):
        p.shape(leaf_pts(base, tip, 10, "ovate"), LEAF)
        p.line([base, (base[0] + (tip[0] - base[0]) * 0.85, base[1] + (tip[1] - base[1]) * 0.85)], LEAF_DARK, 1.6)
    blue = (80, 146, 244)
    for cx, cy, r in ((24, 30, 13), (92, 28, 13), (26, 70, 12), (90, 70, 12), (58, 47, 17)):
        for k in range(5):
            a = math.radians(k * 72 - 90 + (cx % 7) * 5)
            p.shape(circle_pts(cx + r * 0.62 * math.cos(a), cy + r * 0.62 * math.sin(a), r * 0.48, 40), blue)
        p.shape(circle_pts(cx, cy, r * 0.34, 32), NW, 1.8)
        p.dot(cx, cy, r * 0.17, (255, 206, 40))
        a = math.radians(-90 + (cx % 7) * 5)
        gloss(p, cx + r * 0.5 * math.cos(a) - 2, cy + r * 0.5 * math.sin(a) - 1, r * 0.25, -30, 2.0)


# hearts ----------------------------------------------------------------

def heart_gloss(p, cx, cy, w, h):
    p.shape(ellipse_pts(cx - w * 0.27, cy - h * 0.22, w * 0.09, h * 0.05, -40), NW, 0)
    p.dot(cx - w * 0.36, cy - h * 0.08, w * 0.025, NW)


def heart_red(p):
    H = heart_pts(58, 51.5, 104, 94)
    p.shape(H, (234, 36, 58))
    p.clipped(H, lambda q: q.fill(heart_pts(64, 57, 104, 94), (202, 22, 48)))
    p.fill(heart_pts(56, 49.5, 96, 86), (234, 36, 58))
    heart_gloss(p, 58, 51.5, 104, 94)


def heart_dots(p):
    H = heart_pts(58, 51.5, 104, 94)
    p.shape(H, (255, 118, 168))

    def dots(q):
        for j in range(6):
            for i in range(8):
                x = 4 + i * 16 + (8 if j % 2 else 0)
                y = 6 + j * 16
                q.fill(circle_pts(x, y, 4.2, 32), NW)
    p.clipped(H, dots)
    heart_gloss(p, 58, 51.5, 104, 94)


def heart_double(p):
    back = heart_pts(40, 42, 72, 66, -16)
    front = heart_pts(76, 58, 70, 64, 14)
    p.shape(back, (214, 40, 138))
    heart_gloss(p, 40, 42, 72, 66)
    p.shape(front, (255, 128, 64))
    heart_gloss(p, 76, 58, 70, 64)


def wing_pts(side):
    """Rounded feathers fanning out from the heart's side (side = -1 left, +1 right)."""
    out = []
    for k, (ln, ang, w) in enumerate(((44, 62, 9.0), (50, 40, 10.0), (48, 18, 10.0), (38, -2, 9.0))):
        a = math.radians(-ang) if side > 0 else math.radians(180 + ang)
        base = (58 + side * 16, 50 + k * 4)
        tip = (base[0] + ln * math.cos(a), base[1] + ln * math.sin(a))
        out.append((base, tip, w))
    return out


def heart_wings(p):
    for side in (-1, 1):
        for base, tip, w in reversed(wing_pts(side)):
            p.shape(leaf_pts(base, tip, w, "obovate"), (232, 242, 255))
            p.line([base, (base[0] + (tip[0] - base[0]) * 0.8, base[1] + (tip[1] - base[1]) * 0.8)],
                   (160, 190, 240), 1.8)
    H = heart_pts(58, 62, 62, 58)
    p.shape(H, (236, 44, 92))
    heart_gloss(p, 58, 62, 62, 58)


def heart_stripes(p):
    H = heart_pts(58, 51.5, 104, 94)
    p.shape(H, (255, 212, 56))

    def stripes(q):
        for k in range(-4, 12):
            x = k * 18
            q.fill([(x, 0), (x + 9, 0), (x + 9 - 60, 103), (x - 60, 103)], (255, 132, 40))
    p.clipped(H, stripes)
    heart_gloss(p, 58, 51.5, 104, 94)


def heart_rainbow(p):
    H = heart_pts(58, 51.5, 104, 94)
    p.edge(H)

    def bands(q):
        for k, c in enumerate(RAINBOW):
            q.fill([(0, 14 * k - 2 if k else 0), (116, 14 * k - 2 if k else 0), (116, 103), (0, 103)], c)
    p.clipped(H, bands)
    heart_gloss(p, 58, 51.5, 104, 94)


def heart_arrow(p):
    a0, a1 = (10, 92), (106, 14)
    shaft = (150, 96, 52)
    p.stroke([a0, a1], shaft, 3.6)
    ux, uy = (a1[0] - a0[0]), (a1[1] - a0[1])
    ln = math.hypot(ux, uy)
    ux, uy = ux / ln, uy / ln
    head = [(a1[0] + ux * 4, a1[1] + uy * 4), (a1[0] - ux * 10 - uy * 7, a1[1] - uy * 10 + ux * 7),
            (a1[0] - ux * 10 + uy * 7, a1[1] - uy * 10 - ux * 7)]
    p.shape(head, (184, 192, 206))
    for k in range(3):
        bx, by = a0[0] + ux * (4 + k * 6), a0[1] + uy * (4 + k * 6)
        for sgn in (1, -1):
            p.stroke([(bx, by), (bx - ux * 5 - uy * 8 * sgn, by - uy * 5 + ux * 8 * sgn)], (255, 214, 60), 3.0, 1.8)
    H = heart_pts(58, 53, 78, 72)
    p.shape(H, (230, 48, 124))
    heart_gloss(p, 58, 53, 78, 72)
    p.stroke([(58 + ux * 26, 53 + uy * 26 + 1), (a1[0] - ux * 10, a1[1] - uy * 10)], shaft, 3.6)
    p.shape(head, (184, 192, 206))


def heart_gift(p):
    H = heart_pts(58, 56, 98, 86)
    p.shape(H, (70, 186, 240))
    ribbon_col = (255, 210, 52)

    def band(q):
        q.fill([(51, 0), (65, 0), (65, 103), (51, 103)], ribbon_col)
        q.line([(51, 0), (51, 103)], OL, 2)
        q.line([(65, 0), (65, 103)], OL, 2)
    p.clipped(H, band)
    for s in (-1, 1):
        p.shape(leaf_pts((58 + s * 4, 22), (58 + s * 14, 36), 4.5, "lance"), ribbon_col)
    p.shape(ellipse_pts(42, 12, 17, 10, -28), ribbon_col)
    p.shape(ellipse_pts(74, 12, 17, 10, 28), ribbon_col)
    p.shape(ellipse_pts(44, 12, 8, 4, -28, 32), (222, 160, 30), 0)
    p.shape(ellipse_pts(72, 12, 8, 4, 28, 32), (222, 160, 30), 0)
    p.shape(circle_pts(58, 18, 7.5), ribbon_col)
    heart_gloss(p, 58, 60, 98, 86)


def heart_face(p):
    H = heart_pts(58, 51.5, 104, 94)
    p.shape(H, (255, 150, 40))
    for x in (40, 76):
        p.shape(ellipse_pts(x, 38, 7, 8.5), NW, 1.8)
        p.dot(x + 1, 40, 4.2, OL)
        p.dot(x - 0.5, 38, 1.5, NW)
        p.shape(ellipse_pts(x - 8 if x < 58 else x + 8, 55, 7, 4.2), (255, 112, 112), 0)
    p.stroke(bezier((44, 56), (58, 72), (72, 56), n=30), OL, 3.6, 0)
    heart_gloss(p, 58, 51.5, 104, 94)


# snowflakes ------------------------------------------------------------

FLAKE_C = (58.0, 51.5)


def flake(p, arm, col, ring=None, hub=None, rot=0.0, w=OLW):
    """Six copies of arm() = [(polyline, width), ...] in local coords (arm along +x)."""
    cx, cy = FLAKE_C
    segs = []
    for k in range(6):
        for line, width in arm():
            segs.append(([(cx + x, cy + y) for x, y in rotate(line, rot + 60 * k)], width))
    polys = []
    if hub:
        polys.append(hub)
    for line, width in segs:
        p.line(line, OL, width + 2 * w)
    for pts, c in polys:
        p.edge(pts, w)
    for line, width in segs:
        p.line(line, col, width)
    for pts, c in polys:
        p.fill(pts, c)


def hexagon(cx, cy, r, rot=0.0):
    return [(cx + r * math.cos(math.radians(rot + 60 * k)), cy + r * math.sin(math.radians(rot + 60 * k)))
            for k in range(6)]


def vee(x, ln, ang=50.0):
    a = math.radians(ang)
    return [(x + ln * math.cos(a), -ln * math.sin(a)), (x, 0), (x + ln * math.cos(a), ln * math.sin(a))]


def snowflake_classic(p):
    flake(p, lambda: [([(0, 0), (51, 0)], 4.2), (vee(18, 15), 3.6), (vee(33, 11), 3.4)],
          (124, 192, 255), hub=(hexagon(*FLAKE_C, 10, 30), (196, 228, 255)))
    p.dot(FLAKE_C[0], FLAKE_C[1], 3.0, (124, 192, 255))


def snowflake_dots(p):
    def arm():
        return [([(0, 0), (44, 0)], 4.0), (vee(22, 13, 60), 3.6)]
    flake(p, arm, (166, 134, 244), hub=(circle_pts(*FLAKE_C, 11), (214, 196, 255)))
    for k in range(6):
        a = math.radians(60 * k)
        p.dot(FLAKE_C[0] + 48 * math.cos(a), FLAKE_C[1] + 48 * math.sin(a), 5.5, (214, 196, 255), OLW)
        b = math.radians(60 * k + 30)
        p.dot(FLAKE_C[0] + 21 * math.cos(b), FLAKE_C[1] + 21 * math.sin(b), 2.8, (166, 134, 244), 2.0)
    p.dot(FLAKE_C[0] - 3, FLAKE_C[1] - 3, 2.2, NW)


def snowflake_plate(p):
    cx, cy = FLAKE_C
    star = []
    for k in range(12):
        a = math.radians(30 * k)
        r = 53 if k % 2 == 0 else 25
        star.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    p.shape(star, (96, 156, 244))
    p.shape(hexagon(cx, cy, 20, 30), (176, 214, 255), 2.0)
    for k in range(6):
        a = math.radians(60 * k)
        p.line([(cx + 22 * math.cos(a), cy + 22 * math.sin(a)), (cx + 44 * math.cos(a), cy + 44 * math.sin(a))],
               (176, 214, 255), 3.0)
        b = math.radians(60 * k + 30)
        p.line([(cx + 5 * math.cos(b), cy + 5 * math.sin(b)), (cx + 13 * math.cos(b), cy + 13 * math.sin(b))],
               (96, 156, 244), 2.4)
    p.shape(hexagon(cx, cy, 6, 30), NW, 1.8)


def snowflake_fern(p):
    def arm():
        out = [([(0, 0), (53, 0)], 3.6)]
        for x, ln in ((12, 9), (21, 11), (30, 10), (39, 7)):
            out.append((vee(x, ln, 55), 3.0))
        return out
    flake(p, arm, (110, 206, 250), hub=(hexagon(*FLAKE_C, 7, 0), (190, 236, 255)), w=2.0)


def snowflake_diamond(p):
    col, light = (132, 120, 234), (196, 188, 255)

    def arm():
        return [([(0, 0), (36, 0)], 4.2), (vee(16, 11, 60), 3.4)]
    flake(p, arm, col)
    cx, cy = FLAKE_C
    for k in range(6):
        a = 60 * k
        d = rotate([(34, 0), (43, -7), (54, 0), (43, 7)], a)
        p.shape(move(d, cx, cy), light)
        inner = rotate([(39, 0), (43, -3), (48, 0), (43, 3)], a)
        p.fill(move(inner, cx, cy), col)
    p.shape(hexagon(cx, cy, 13, 0), light)
    p.shape(hexagon(cx, cy, 6.5, 0), col, 2.0)


def snowflake_petals(p):
    cx, cy = FLAKE_C
    light, dark = (206, 186, 255), (136, 96, 222)
    for k in range(6):
        p.shape(petal_pts(cx, cy, 60 * k, 2, 52, 24), light)
    for k in range(6):
        a = math.radians(60 * k)
        p.line([(cx, cy), (cx + 46 * math.cos(a), cy + 46 * math.sin(a))], dark, 3.0)
        for r0 in (18, 30):
            for s in (-1, 1):
                b = a + s * 0.9
                sx, sy = cx + r0 * math.cos(a), cy + r0 * math.sin(a)
                p.line([(sx, sy), (sx + 7 * math.cos(b), sy + 7 * math.sin(b))], dark, 2.4)
    p.shape(circle_pts(cx, cy, 8), dark, 2.0)
    p.dot(cx - 2, cy - 2, 2, NW)


def snowflake_rings(p):
    col = (80, 170, 232)

    def arm():
        return [([(0, 0), (52, 0)], 4.0), (vee(44, 10, 55), 3.4), (vee(10, 8, 55), 3.0)]
    cx, cy = FLAKE_C
    flake(p, arm, col)
    ring = hexagon(cx, cy, 27, 0)
    p.line(ring + ring[:2], OL, 3.6 + 2 * OLW)
    for k in range(6):
        a = math.radians(60 * k)
        p.line([(cx, cy), (cx + 52 * math.cos(a), cy + 52 * math.sin(a))], col, 4.0)
    p.line(ring + ring[:2], (170, 220, 255), 3.6)
    p.shape(circle_pts(cx, cy, 7), (170, 220, 255), 2.0)


def snowflake_twelve(p):
    cx, cy = FLAKE_C
    col, col2 = (104, 136, 250), (190, 160, 252)
    flake(p, lambda: [([(0, 0), (33, 0)], 3.6)], col2, rot=30)
    for k in range(6):
        b = math.radians(60 * k + 30)
        p.dot(cx + 37 * math.cos(b), cy + 37 * math.sin(b), 4.2, col2, OLW)
    flake(p, lambda: [([(0, 0), (50, 0)], 4.4), (vee(30, 14, 45), 3.6)], col,
          hub=(star_pts(cx, cy, 14, 8, 6, 0), (160, 190, 255)))
    p.dot(cx, cy, 4.0, NW, 1.8)


# leaves ----------------------------------------------------------------

def leaf_maple(p):
    profile = [(0, 1.0), (10, 0.72), (16, 0.80), (28, 0.40), (38, 0.70), (44, 0.64), (55, 1.0), (66, 0.64),
            (72, 0.70), (85, 0.40), (98, 0.62), (104, 0.56), (114, 0.80), (126, 0.48), (146, 0.26), (170, 0.16)]
    half = [(a, r) for a, r in profile]
    full = half + [(360 - a, r) for a, r in reversed(half[1:])]
    cx, cy, R = 58.0, 52.0, 47.0
    pts = [(cx + R * r * math.sin(math.radians(a)), cy - R * r * math.cos(math.radians(a))) for a, r in full]
    pts = rotate(pts, -12, cx, cy)
    stem = rotate([(cx, cy + 4), (cx + 2, cy + 26), (cx + 7, cy + 38)], -12, cx, cy)
    p.stroke(stem, (186, 52, 34), 3.4)
    p.shape(pts, (232, 54, 40))
    for a in (0, 55, -55, 112, -112):
        tip = rotate([(cx + R * 0.85 * math.sin(math.radians(a)), cy - R * 0.85 * math.cos(math.radians(a)))],
                     -12, cx, cy)[0]
        p.line([rotate([(cx, cy + 4)], -12, cx, cy)[0], tip], (180, 30, 30), 2.0)
    gloss(p, cx - 20, cy - 14, 7, -60)


def leaf_oak(p):
    col, vein = (214, 130, 44), (160, 88, 28)
    base, tip = (34, 90), (84, 10)
    ax, ay = tip[0] - base[0], tip[1] - base[1]
    ln = math.hypot(ax, ay)
    ux, uy, vx, vy = ax / ln, ay / ln, -ay / ln, ax / ln
    parts = [leaf_pts((base[0] + ax * 0.08, base[1] + ay * 0.08), (base[0] + ax * 0.95, base[1] + ay * 0.95), 16, "ovate")]
    for t, off, r in ((0.22, 14, 9), (0.42, 22, 12), (0.62, 21, 11.5), (0.80, 14, 9), (0.94, 3, 8.5)):
        for sgn in ((1, -1) if off > 5 else (1,)):
            x = base[0] + ax * t + vx * off * sgn
            y = base[1] + ay * t + vy * off * sgn
            parts.append((circle_pts(x, y, r)))
    p.stroke([base, (base[0] - ux * 8, base[1] - uy * 8 + 2)], vein, 3.4)
    p.group([(q, col) for q in parts])
    p.line([base, (base[0] + ax * 0.9, base[1] + ay * 0.9)], vein, 2.0)
    for t, off in ((0.22, 12), (0.42, 19), (0.62, 18), (0.80, 12)):
        for sgn in (1, -1):
            sx, sy = base[0] + ax * (t - 0.06), base[1] + ay * (t - 0.06)
            p.line([(sx, sy), (base[0] + ax * t + vx * off * sgn, base[1] + ay * t + vy * off * sgn)], vein, 1.6)
    gloss(p, 46, 52, 6, -120)


def leaf_birch(p):
    base, tip = (40, 84), (92, 12)
    blade = serrate(leaf_pts(base, tip, 30, "ovate"), 26, 2.4, skip=lambda s: s < 0.03 or s > 0.97)
    p.stroke([(40, 84), (22, 100)], (150, 110, 40), 3.2)
    p.shape(blade, (250, 208, 44))
    p.clipped(blade, lambda q: veins(q, base, tip, 30, (206, 150, 24), pairs=5, kind="ovate"))
    gloss(p, 52, 46, 7, -130)


def leaf_clover(p):
    cx, cy = 58.0, 46.0
    p.stroke(bezier((cx, cy), (cx + 4, cy + 30), (cx - 8, cy + 54), n=20), LEAF_DARK, 4.0)
    green, mark = (74, 176, 70), (162, 222, 140)
    for k, ang in enumerate((0, 120, 240)):
        H = rotate(heart_pts(cx, cy - 21, 48, 42), ang, cx, cy)
        p.shape(H, green)
        m = rotate([(cx - 10, cy - 26), (cx, cy - 16), (cx + 10, cy - 26)], ang, cx, cy)
        p.line(m, mark, 3.0)
        p.line(rotate([(cx, cy - 4), (cx, cy - 36)], ang, cx, cy), LEAF_VEIN, 1.6)
    p.dot(cx, cy, 3.4, LEAF_DARK, 0)
    gloss(p, cx - 14, cy - 36, 6, -40)


def leaf_ginkgo(p):
    bx, by = 58.0, 74.0
    pts = []
    n = 80
    for i in range(n + 1):
        a = math.radians(-152 + 124 * i / n)
        da = math.degrees(a) + 90
        r = 64 + 2.0 * math.sin(i * 0.9) - 22 * math.exp(-(da / 5.0) ** 2)
        pts.append((bx + r * math.cos(a), by + 8 + r * math.sin(a) * 1.0))
    pts = [(bx - 3, by), ] + pts + [(bx + 3, by)]
    pts = fit(pts, 6, 8, 110, by)
    p.stroke(bezier((bx, by - 2), (bx, by + 16), (bx + 12, 99), n=16), (176, 140, 30), 3.4)
    p.shape(pts, (252, 204, 44))
    for k in range(-6, 7):
        if k == 0:
            continue
        a = math.radians(-90 + k * 9.5)
        p.line([(bx, by - 3), (bx + 50 * math.cos(a) * 1.0, by - 3 + 46 * math.sin(a))], (222, 162, 28), 1.4)
    gloss(p, 30, 32, 8, -30)


def leaf_linden(p):
    # a heart turned over: notch at the stalk, point at the tip
    H = [(x, -y) for x, y in heart_pts(0, 0, 80, 88)]
    blade = serrate(H, 30, 2.2, skip=lambda s: s < 0.04 or s > 0.96 or abs(s - 0.5) < 0.04)
    cx, cy, ang = 58.0, 50.0, 28
    blade = move(rotate(blade, ang), cx, cy)
    base = move(rotate([(0, 30)], ang), cx, cy)[0]
    tip = move(rotate([(0, -44)], ang), cx, cy)[0]
    p.stroke([base, (base[0] - 10, base[1] + 20)], (110, 150, 40), 3.2)
    p.shape(blade, (150, 206, 56))
    p.clipped(blade, lambda q: veins(q, base, tip, 40, (96, 150, 34), pairs=4, spread=0.8))
    gloss(p, 36, 40, 7, -60)


def leaf_chestnut(p):
    bx, by = 58.0, 70.0
    p.stroke(bezier((bx, by), (bx + 2, by + 18), (bx - 8, 100), n=12), LEAF_DARK, 3.6)
    col = (64, 164, 76)
    for ang, ln, w in ((-90, 64, 11), (-55, 58, 10.5), (-125, 58, 10.5), (-20, 46, 9), (-160, 46, 9),
                       (12, 32, 7.5), (168, 32, 7.5)):
        a = math.radians(ang)
        tip = (bx + ln * math.cos(a), by + ln * math.sin(a))
        blade = serrate(leaf_pts((bx, by), tip, w, "obovate"), 18, 1.6, skip=lambda s: s < 0.1 or s > 0.9)
        p.shape(blade, col)
        p.line([(bx, by), (bx + ln * 0.9 * math.cos(a), by + ln * 0.9 * math.sin(a))], LEAF_VEIN, 1.6)
    p.dot(bx, by, 4, LEAF_DARK, 2)
    gloss(p, 52, 22, 6, -100)


def leaf_rowan(p):
    a0, a1 = (14, 94), (100, 14)
    ux, uy = a1[0] - a0[0], a1[1] - a0[1]
    ln = math.hypot(ux, uy)
    ux, uy = ux / ln, uy / ln
    vx, vy = -uy, ux
    cols = [(238, 96, 38), (224, 60, 44)]
    p.stroke([a0, (a0[0] + ux * ln * 0.9, a0[1] + uy * ln * 0.9)], (160, 60, 30), 3.0)
    for i, t in enumerate((0.2, 0.36, 0.52, 0.68)):
        sx, sy = a0[0] + ux * ln * t, a0[1] + uy * ln * t
        for sgn in (1, -1):
            d = (vx * sgn * 0.85 + ux * 0.5, vy * sgn * 0.85 + uy * 0.5)
            tip = (sx + d[0] * 30, sy + d[1] * 30)
            blade = serrate(leaf_pts((sx, sy), tip, 6.5, "lance"), 10, 1.4, skip=lambda s: s < 0.08 or s > 0.92)
            p.shape(blade, cols[(i + (sgn > 0)) % 2])
            p.line([(sx, sy), (sx + d[0] * 26, sy + d[1] * 26)], (170, 40, 28), 1.3)
    sx, sy = a0[0] + ux * ln * 0.8, a0[1] + uy * ln * 0.8
    tip = (a1[0] + ux * 6, a1[1] + uy * 6)
    p.shape(serrate(leaf_pts((sx, sy), tip, 7, "lance"), 12, 1.4, skip=lambda s: s < 0.08 or s > 0.92), cols[0])
    p.line([(sx, sy), (tip[0] - ux * 4, tip[1] - uy * 4)], (170, 40, 28), 1.3)


def leaf_willow(p):
    twig = bezier((8, 96), (40, 70), (108, 10), n=40)
    p.stroke(twig, (140, 100, 60), 3.4)
    cols = [(130, 204, 80), (188, 220, 64)]
    for i, (t, side, ln) in enumerate(((0.15, 1, 42), (0.3, -1, 44), (0.48, 1, 42), (0.62, -1, 40), (0.8, 1, 34),
                                       (0.93, -1, 26))):
        x, y = twig[int(t * 40)]
        nx_, ny_ = twig[min(40, int(t * 40) + 1)]
        dx, dy = nx_ - x, ny_ - y
        dl = math.hypot(dx, dy)
        dx, dy = dx / dl, dy / dl
        a = math.atan2(dy, dx) + side * 0.75
        tip = (x + ln * math.cos(a), y + ln * math.sin(a))
        p.shape(leaf_pts((x, y), tip, 6.2, "lance"), cols[i % 2])
        p.line([(x, y), (x + ln * 0.85 * math.cos(a), y + ln * 0.85 * math.sin(a))], (84, 150, 50), 1.4)
    tip = twig[-1]
    p.shape(leaf_pts(twig[-3], (tip[0] + 6, tip[1] - 7), 4.5, "lance"), cols[0])


def leaf_aspen(p):
    cx, cy = 62.0, 48.0

    def r(t):
        d = (t - 1.5 * math.pi + math.pi) % (2 * math.pi) - math.pi
        return 38.0 + 1.5 * math.sin(18 * t) + 9.0 * max(0.0, math.cos(d * 2.2)) ** 3
    blade = rotate(polar_pts(cx, cy, r, 240), 20, cx, cy)
    p.stroke(bezier((cx - 10, cy + 34), (cx - 18, cy + 50), (cx - 32, cy + 56), n=12), (170, 70, 30), 3.4)
    p.shape(blade, (250, 116, 40))
    base = rotate([(cx, cy + 37)], 20, cx, cy)[0]
    tip = rotate([(cx, cy - 45)], 20, cx, cy)[0]
    p.clipped(blade, lambda q: veins(q, base, tip, 38, (206, 72, 24), pairs=4, spread=0.8))
    gloss(p, cx - 22, cy - 8, 8, -75)


def leaf_ladybug(p):
    base, tip = (14, 92), (106, 14)
    p.stroke([base, (6, 100)], LEAF_DARK, 3.4)
    blade = leaf_pts(base, tip, 34, "lance")
    p.shape(blade, (96, 190, 70))
    p.clipped(blade, lambda q: veins(q, base, tip, 34, LEAF_VEIN, pairs=5, spread=0.75))
    bx, by = 66.0, 44.0
    for s in (-1, 1):
        for k in (-1, 0, 1):
            p.line([(bx + s * 10, by + k * 6), (bx + s * 17, by + k * 8 + 2)], OL, 2.2)
    p.shape(circle_pts(bx - 7, by - 11, 7), (64, 64, 72))
    p.shape(ellipse_pts(bx, by, 15, 13, -40), (236, 40, 40))
    p.line(rotate([(bx - 15, by), (bx + 15, by)], 50, bx, by), OL, 2.2)
    for dx, dy in ((-7, -5), (5, -7), (-6, 6), (7, 4)):
        p.dot(bx + dx, by + dy, 2.8, OL)
    for dx in (-3, 3):
        p.dot(bx - 7 + dx * 0.8 - 2, by - 14 + dx * 0.2, 1.4, NW)
    gloss(p, bx - 8, by - 1, 4, -130)


STAMPS = {
    "flower": [flower_daisy, flower_tulip, flower_sunflower, flower_rose, flower_bell, flower_forgetmenot],
    "heart": [heart_red, heart_dots, heart_double, heart_wings, heart_stripes, heart_rainbow,
              heart_arrow, heart_gift, heart_face],
    "snowflake": [snowflake_classic, snowflake_dots, snowflake_plate, snowflake_fern, snowflake_diamond,
                  snowflake_petals, snowflake_rings, snowflake_twelve],
    "leaf": [leaf_maple, leaf_oak, leaf_birch, leaf_clover, leaf_ginkgo, leaf_linden,
             leaf_chestnut, leaf_rowan, leaf_willow, leaf_aspen, leaf_ladybug],
}


def make_stamps(root):
    files, errors = [], []
    for base, count in check_art1.STAMP_SETS:
        fns = STAMPS[base]
        assert len(fns) == count, base
        for i, fn in enumerate(fns):
            p = Pen(SW, SH, pad=16)
            fn(p)
            img = p.fitted(2)
            name = "%s_%d" % (base, i)
            try:
                check_art1.check_stamp(name, img)
            except AssertionError as e:
                errors.append(str(e))
            save_png(img, os.path.join(root, "stamps", name + ".png"))
            files.append(name + ".png")
    write_qrc(root, "stamps", "/stamps", files)
    if errors:
        raise SystemExit("stamp checks failed:\n  " + "\n  ".join(errors))
    return files


GROUPS = {"cursors": make_cursors, "swatches": make_swatches, "stamps": make_stamps}


def main(argv):
    root, groups = parse_args(argv, list(GROUPS))
    for g in groups:
        GROUPS[g](root)


if __name__ == "__main__":
    main(sys.argv[1:])
