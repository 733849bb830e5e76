#!/usr/bin/python3
"""Draw Pictaro's fill textures, button pictures, catalogue-tree icons and window icon.

Needs (Debian 12): python3, python3-pil, python3-numpy.  Nothing else.
Run from the repository root:   /usr/bin/python3 tools/art/make_art2.py [--out DIR] [textures|buttons|tree|icon ...]
Writes resources/{textures,buttons,tree,icon}/*.png and resources/{textures,buttons,tree,icon}.qrc.

Everything is drawn from our own shapes at SS times the output size and box-averaged down,
with fixed seeds, so every run writes the same bytes.
"""

import contextlib
import math
import os
import random
import sys

import numpy as np
from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artkit import (OL, SS, WHITE, arc_pts, area, bezier, blend, ellipse_pts, heart_curve,  # noqa: E402
                    parse_args, reduce_rgb, reduce_rgba, rgba, rrect_pts, save_png, shade, star_pts,
                    write_qrc)

# Shared children's-book palette.
CREAM = (255, 248, 228)
RED = (238, 66, 56)
ORANGE = (252, 150, 40)
YELLOW = (255, 214, 48)
GREEN = (86, 190, 72)
BLUE = (56, 140, 232)
LBLUE = (124, 200, 250)
PURPLE = (150, 96, 214)
PINK = (250, 130, 180)
BROWN = (176, 112, 60)
SILVER = (206, 212, 224)
GREY = (150, 156, 168)


def sparkle_pts(cx, cy, r, rot=0.0, n=4, pinch=0.28):
    """A star with concave sides, the classic 'twinkle'."""
    pts = []
    for i in range(n):
        a0 = math.radians(rot - 90 + 360.0 * i / n)
        a1 = math.radians(rot - 90 + 360.0 * (i + 1) / n)
        p0 = (cx + r * math.cos(a0), cy + r * math.sin(a0))
        p1 = (cx + r * math.cos(a1), cy + r * math.sin(a1))
        c = (cx + pinch * r * math.cos((a0 + a1) / 2) * 0.6, cy + pinch * r * math.sin((a0 + a1) / 2) * 0.6)
        pts += bezier(p0, c, p1, n=12)[:-1]  # the next side starts where this one ends
    return pts


def heart_pts(cx, cy, s, n=120):
    return [(cx + x * s / 32.0, cy + (y - 2.0) * s / 32.0) for x, y in heart_curve(n)]


def drop_pts(cx, cy, r, n=48):
    """A teardrop, round end at (cx,cy), tip pointing up."""
    pts = []
    for i in range(n):
        t = 2 * math.pi * i / n
        # Cardioid-like drop: tip at t=0 (up).
        x = r * math.sin(t) * (1 - math.cos(t)) * 0.75
        y = -r * 1.45 * math.cos(t) * 0.75 - r * 0.4
        pts.append((cx + x, cy + y))
    return pts


def inset(pts, r):
    """Offset a simple polygon inwards by r (exact for convex corners)."""
    n = len(pts)
    sg = 1.0 if area(pts) > 0 else -1.0
    lines = []
    for i in range(n):
        (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % n]
        dx, dy = x1 - x0, y1 - y0
        ln = math.hypot(dx, dy) or 1.0
        nx, ny = sg * -dy / ln, sg * dx / ln
        lines.append(((x0 + nx * r, y0 + ny * r), (dx / ln, dy / ln)))
    res = []
    for i in range(n):
        (p, d), (q, e) = lines[i - 1], lines[i]
        den = d[0] * e[1] - d[1] * e[0]
        if abs(den) < 1e-9:
            res.append(q)
            continue
        t = ((q[0] - p[0]) * e[1] - (q[1] - p[1]) * e[0]) / den
        res.append((p[0] + d[0] * t, p[1] + d[1] * t))
    return res


# --------------------------------------------------------------------------- morphology

def _shift(a, dy, dx, wrap):
    if wrap:
        return np.roll(a, (dy, dx), axis=(0, 1))
    h, w = a.shape
    out = np.zeros_like(a)
    ys, yd = slice(max(dy, 0), h + min(dy, 0)), slice(max(-dy, 0), h + min(-dy, 0))
    xs, xd = slice(max(dx, 0), w + min(dx, 0)), slice(max(-dx, 0), w + min(-dx, 0))
    out[ys, xs] = a[yd, xd]
    return out


def dilate(mask, r, wrap=False):
    """Grow a uint8 mask by a disc of radius r pixels."""
    R = int(math.ceil(r))
    rows = [mask]
    for h in range(1, R + 1):
        rows.append(np.maximum(rows[-1], np.maximum(_shift(mask, 0, h, wrap), _shift(mask, 0, -h, wrap))))
    out = mask.copy()
    for dy in range(-R, R + 1):
        span = r * r - dy * dy
        if span < 0:
            continue
        out = np.maximum(out, _shift(rows[int(math.floor(math.sqrt(span)))], dy, 0, wrap))
    return out


# --------------------------------------------------------------------------- drawing layer

class Layer:
    """An RGBA drawing surface at SS x output size; coordinates are in design units."""

    def __init__(self, w, h, k=1.0, wrap=False):
        self.W, self.H = w, h  # supersampled size
        self.k = k
        self.wrap = wrap
        self.im = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.im)
        self.m = [(SS * k, 0.0, 0.0), (0.0, SS * k, 0.0)]
        self.stack = []

    # transform stack --------------------------------------------------------
    def push(self, rot=0.0, at=(0.0, 0.0), scale=1.0, move=(0.0, 0.0)):
        self.stack.append(self.m)
        c, s = math.cos(math.radians(rot)) * scale, math.sin(math.radians(rot)) * scale
        # local p -> at + move + R*(p - at)
        tx = at[0] + move[0] - (c * at[0] - s * at[1])
        ty = at[1] + move[1] - (s * at[0] + c * at[1])
        (a, b, e), (cc, d, f) = self.m
        self.m = [(a * c + b * s, -a * s + b * c, a * tx + b * ty + e),
                  (cc * c + d * s, -cc * s + d * c, cc * tx + d * ty + f)]
        return self

    def pop(self):
        self.m = self.stack.pop()

    @contextlib.contextmanager
    def spoke(self, cx, cy, dist, deg):
        """Yields the point dist from (cx, cy) at deg degrees, turned so that a shape drawn
        upright there points away from the centre: petals, leaves round a flower."""
        x = cx + dist * math.cos(math.radians(deg))
        y = cy + dist * math.sin(math.radians(deg))
        with self.push(rot=deg + 90, at=(x, y)):
            yield x, y

    def __enter__(self):
        return self

    def __exit__(self, *a):
        self.pop()

    def P(self, p):
        (a, b, e), (c, d, f) = self.m
        return (a * p[0] + b * p[1] + e, c * p[0] + d * p[1] + f)

    def scale(self):
        (a, b, _), (c, d, _) = self.m
        return math.sqrt(abs(a * d - b * c))

    def _offsets(self):
        if not self.wrap:
            return [(0, 0)]
        return [(ox, oy) for ox in (-self.W, 0, self.W) for oy in (-self.H, 0, self.H)]

    # primitives -------------------------------------------------------------
    def poly(self, pts, fill):
        q = [self.P(p) for p in pts]
        for ox, oy in self._offsets():
            self.d.polygon([(x + ox, y + oy) for x, y in q], fill=rgba(fill))

    def stroke(self, pts, w, fill, closed=False, caps=True):
        q = [self.P(p) for p in pts]
        if closed:
            q = q + [q[0]]
        ww = w * self.scale()
        col = rgba(fill)
        for ox, oy in self._offsets():
            qq = [(x + ox, y + oy) for x, y in q]
            for i in range(len(qq) - 1):
                self.d.line([qq[i], qq[i + 1]], fill=col, width=max(1, int(round(ww))))
            if caps:
                for x, y in qq:
                    self.d.ellipse([x - ww / 2, y - ww / 2, x + ww / 2, y + ww / 2], fill=col)

    def ellipse(self, cx, cy, rx, ry, fill, n=96):
        self.poly(ellipse_pts(cx, cy, rx, ry, n=n), fill)

    def circle(self, cx, cy, r, fill, n=96):
        self.poly(ellipse_pts(cx, cy, r, r, n=n), fill)

    def rrect(self, x0, y0, x1, y1, r, fill):
        self.poly(rrect_pts(x0, y0, x1, y1, r), fill)

    def rpoly(self, pts, r, fill):
        """Polygon with corners rounded by radius r."""
        q = inset(pts, r)
        self.poly(q, fill)
        self.stroke(q, 2 * r, fill, closed=True)

    # clipped drawing ----------------------------------------------------------
    def clip(self):
        return _Clip(self)

    def gloss(self, cx, cy, rx, ry, rot=0.0, alpha=200):
        with self.clip() as c:
            with c.push(rot=rot, at=(cx, cy)):
                c.ellipse(cx, cy, rx, ry, (255, 255, 255, alpha))

    def alpha(self):
        return np.asarray(self.im.getchannel("A"))


class _Clip(Layer):
    def __init__(self, parent):
        super().__init__(parent.W, parent.H, parent.k, parent.wrap)
        self.m = list(parent.m)
        self.parent = parent

    def __exit__(self, *a):
        if self.stack:
            return self.pop()
        mask = self.parent.alpha().astype(np.uint16)
        arr = np.array(self.im)
        arr[..., 3] = (arr[..., 3].astype(np.uint16) * mask // 255).astype(np.uint8)
        self.parent.im.alpha_composite(Image.fromarray(arr, "RGBA"))

    def __enter__(self):
        return self


class Pic:
    """A picture assembled from outlined parts, like stickers laid on top of each other."""

    def __init__(self, w, h, k=1.0, ow=5.0, wrap=False, bg=None):
        self.w, self.h, self.k, self.ow, self.wrap = w, h, k, ow, wrap
        self.view = None  # optional push() arguments applied to every part, to fit a drawing in its box
        self.im = Image.new("RGBA", (w * SS, h * SS), rgba(bg) if bg else (0, 0, 0, 0))

    def layer(self):
        L = Layer(self.w * SS, self.h * SS, self.k, self.wrap)
        if self.view:
            L.push(**self.view)
        return L

    def add(self, L, ow=None, col=OL):
        ow = self.ow if ow is None else ow
        if ow > 0:
            a = (L.alpha() > 0).astype(np.uint8) * 255
            grown = dilate(a, ow * SS, self.wrap)
            o = Image.new("RGBA", self.im.size, rgba(col))
            o.putalpha(Image.fromarray(grown, "L"))
            self.im.alpha_composite(o)
        self.im.alpha_composite(L.im)

    def part(self, ow=None, col=OL):
        return _Part(self, ow, col)

    def rgba(self):
        return reduce_rgba(self.im, SS)

    def rgb(self):
        return reduce_rgb(self.im.convert("RGB"), SS)


class _Part:
    def __init__(self, pic, ow, col):
        self.pic, self.ow, self.col = pic, ow, col
        self.L = pic.layer()

    def __enter__(self):
        return self.L

    def __exit__(self, *a):
        self.pic.add(self.L, self.ow, self.col)


# --------------------------------------------------------------------------- seamless noise

def periodic_noise(w, h, cx, cy, rng):
    """Smooth value noise of size (h,w) that repeats exactly at the tile edges."""
    lat = np.array([[rng.random() for _ in range(cx)] for _ in range(cy)])
    u = (np.arange(w) + 0.5) * cx / w
    v = (np.arange(h) + 0.5) * cy / h
    i0 = np.floor(u).astype(int)
    j0 = np.floor(v).astype(int)
    fu = u - i0
    fv = v - j0
    fu = fu * fu * (3 - 2 * fu)
    fv = fv * fv * (3 - 2 * fv)
    i0 %= cx
    j0 %= cy
    i1 = (i0 + 1) % cx
    j1 = (j0 + 1) % cy
    a = lat[np.ix_(j0, i0)]
    b = lat[np.ix_(j0, i1)]
    c = lat[np.ix_(j1, i0)]
    d = lat[np.ix_(j1, i1)]
    fu = fu[None, :]
    fv = fv[:, None]
    return (a * (1 - fu) + b * fu) * (1 - fv) + (c * (1 - fu) + d * fu) * fv


def fbm(w, h, cx, cy, rng, octaves=4):
    tot = np.zeros((h, w))
    amp, norm = 1.0, 0.0
    for o in range(octaves):
        tot += amp * periodic_noise(w, h, cx << o, cy << o, rng)
        norm += amp
        amp *= 0.5
    return tot / norm


def no_black(im):
    """Fill regions must stay re-fillable: keep every pixel off pure black."""
    a = np.asarray(im.convert("RGB")).copy()
    a = np.maximum(a, 6)
    return Image.fromarray(a, "RGB")


def half_shift(im):
    """Move a tile's joint to the middle of the bitmap, so its edges fall mid-tile and wrap smoothly."""
    a = np.asarray(im)
    return Image.fromarray(np.roll(a, (a.shape[0] // 2, a.shape[1] // 2), axis=(0, 1)), im.mode)


def tile_over(tile, w, h):
    out = Image.new("RGB", (w, h))
    for y in range(0, h, tile.height):
        for x in range(0, w, tile.width):
            out.paste(tile, (x, y))
    return out


def to_img(arr):
    return Image.fromarray(np.clip(np.round(arr), 0, 255).astype(np.uint8), "RGB")


# =========================================================================== A. textures

def tex_bricks():
    """16x16 grey stone bricks, running bond."""
    w = h = 16
    rng = random.Random(11)
    a = np.zeros((h, w, 3))
    mortar = np.array((214, 212, 204), float)
    a[:] = mortar
    bricks = [(0, 0, 7, 7), (8, 0, 15, 7), (-4, 8, 3, 15), (4, 8, 11, 15), (12, 8, 19, 15)]
    tones = [168, 152, 160, 176, 160]
    for (x0, y0, x1, y1), t in zip(bricks, tones):
        for y in range(y0, y1):
            for x in range(x0, x1):
                v = t + rng.randint(-7, 7)
                if y == y0 or x == x0:
                    v += 26  # lit top-left edge
                elif y == y1 - 1 or x == x1 - 1:
                    v -= 26  # shaded bottom-right edge
                a[y % h, x % w] = (v - 2, v, v + 6)
    return no_black(to_img(a))


def tex_blue_flower():
    """16x16 small blue flower on white."""
    p = Pic(16, 16, wrap=True, bg=WHITE)
    L = p.layer()
    L.circle(0, 0, 1.3, (150, 205, 250))  # a bud between the flowers softens the grid
    p.add(L, 0)
    L = p.layer()
    for i in range(5):
        t = math.radians(-90 + 72 * i)
        L.circle(8 + 3.1 * math.cos(t), 8 + 3.1 * math.sin(t), 2.5, (70, 130, 235))
    p.add(L, 0.55, (40, 80, 170))
    L = p.layer()
    for i in range(5):
        t = math.radians(-90 + 72 * i)
        L.circle(8 + 3.4 * math.cos(t) - 0.5, 8 + 3.4 * math.sin(t) - 0.5, 0.9, (170, 205, 255))
    L.circle(8, 8, 1.6, YELLOW)
    p.add(L, 0)
    return no_black(p.rgb())


def tex_lilac_studs():
    """16x16 lilac tile with bevel and a round stud at each corner."""
    w = h = 16
    a = np.zeros((h, w, 3))
    base = np.array((206, 170, 240), float)
    a[:] = base
    a[0, :] = (232, 212, 252)
    a[:, 0] = (232, 212, 252)
    a[1, 1:] = (222, 196, 248)
    a[1:, 1] = (222, 196, 248)
    a[h - 1, 1:] = (162, 120, 206)
    a[1:, w - 1] = (162, 120, 206)
    # soft sheen in the middle of the tile
    yy, xx = np.mgrid[0:h, 0:w]
    d = np.hypot(xx - 6.5, yy - 6.5)
    a += (np.clip(1 - d / 7.0, 0, 1) * 18)[..., None]
    base_img = to_img(a).resize((w * SS, h * SS), Image.NEAREST).convert("RGBA")
    p = Pic(w, h, wrap=True)
    p.im = base_img
    L = p.layer()
    L.circle(0, 0, 2.6, (236, 220, 252))
    p.add(L, 0.6, (140, 100, 190))
    L = p.layer()
    L.circle(-0.6, -0.6, 1.0, WHITE)
    p.add(L, 0)
    return half_shift(no_black(p.rgb()))


def tex_orange_gold():
    """15x15 orange block with gold bevel and a gold stud."""
    w = h = 15
    a = np.zeros((h, w, 3))
    a[:] = (248, 140, 36)
    light = np.array((255, 214, 80), float)
    gold = np.array((246, 186, 40), float)
    dark = np.array((206, 100, 24), float)
    for i in range(2):
        a[i, i:w - i] = light if i == 0 else gold
        a[i:h - i, i] = light if i == 0 else gold
        a[h - 1 - i, i:w - i] = dark if i == 0 else (226, 118, 30)
        a[i:h - i, w - 1 - i] = dark if i == 0 else (226, 118, 30)
    base_img = to_img(a).resize((w * SS, h * SS), Image.NEAREST).convert("RGBA")
    p = Pic(w, h, wrap=False)
    p.im = base_img
    L = p.layer()
    L.poly([(7.5, 4.0), (11.0, 7.5), (7.5, 11.0), (4.0, 7.5)], (255, 206, 60))
    p.add(L, 0.55, (196, 100, 20))
    L = p.layer()
    L.poly([(7.5, 4.9), (9.0, 6.4), (7.5, 7.5), (6.0, 6.4)], (255, 240, 170))
    p.add(L, 0)
    return half_shift(no_black(p.rgb()))


def tex_wood():
    """96x96 wood grain; integer ring count so it repeats vertically, periodic warp horizontally."""
    w = h = 96
    W, H = w * SS, h * SS
    rng = random.Random(4)
    warp = fbm(W, H, 3, 2, rng, 4)
    fine = periodic_noise(W, H, 4, 96, rng)
    streak = periodic_noise(W, H, 12, 160, rng)
    yy, xx = np.mgrid[0:H, 0:W]
    # one knot, wrapped
    kx, ky = 0.62 * W, 0.40 * H
    dx = (xx - kx + W / 2) % W - W / 2
    dy = (yy - ky + H / 2) % H - H / 2
    knot = np.exp(-(dx ** 2 / (0.11 * W) ** 2 + dy ** 2 / (0.05 * H) ** 2))
    t = yy / H * 7 + 2.2 * (warp - 0.5) + 0.9 * knot
    ring = 0.5 + 0.5 * np.sin(2 * np.pi * t)
    ring = ring ** 3
    v = 0.55 * ring + 0.25 * fine + 0.20 * streak
    col = blend((240, 196, 138), (190, 122, 66), v)
    col -= (knot * 26)[..., None]
    return no_black(reduce_rgb(to_img(col), SS))


def tex_straw():
    """237x244 woven straw (basket weave, 8x8 cells, 3 strands per cell)."""
    w, h = 237, 244
    W, H = w * SS, h * SS
    rng = random.Random(1)
    nh = periodic_noise(W, H, 6, 90, rng)  # fibres for horizontal strands
    nv = periodic_noise(W, H, 90, 6, rng)  # fibres for vertical strands
    tone = fbm(W, H, 5, 5, rng, 3)
    n = 8
    yy, xx = np.mgrid[0:H, 0:W]
    u = (xx + 0.5) * n / W
    v = (yy + 0.5) * n / H
    ci, cj = np.floor(u).astype(int), np.floor(v).astype(int)
    fu, fv = u - ci, v - cj
    horiz = (ci + cj) % 2 == 0
    across = np.where(horiz, fv, fu)
    along = np.where(horiz, fu, fv)
    fib = np.where(horiz, nh, nv)
    s = (across * 3) % 1.0
    prof = np.sin(np.pi * s) ** 0.6
    ends = np.sin(np.pi * np.clip(along, 0.0, 1.0)) ** 0.35
    lum = prof * (0.45 + 0.55 * ends)
    lum = lum * (0.82 + 0.18 * fib) + 0.08 * (tone - 0.5)
    col = blend((150, 100, 40), (248, 212, 120), np.clip(lum * 1.15, 0, 1))
    hi = np.clip((prof - 0.85) / 0.15, 0, 1) * ends * 40
    col += hi[..., None]
    return no_black(reduce_rgb(to_img(col), SS))


def poisson_torus(w, h, count, dmin, rng, tries=4000):
    pts = []
    for _ in range(tries):
        if len(pts) >= count:
            break
        x, y = rng.random() * w, rng.random() * h
        ok = True
        for px, py in pts:
            dx = min(abs(x - px), w - abs(x - px))
            dy = min(abs(y - py), h - abs(y - py))
            if dx * dx + dy * dy < dmin * dmin:
                ok = False
                break
        if ok:
            pts.append((x, y))
    return pts


def tex_snow_leopard():
    """163x155 snow-leopard fur: pale smoky fur, open dark rosettes and small spots."""
    w, h = 163, 155
    W, H = w * SS, h * SS
    rng = random.Random(3)
    f1 = fbm(W, H, 4, 4, rng, 4)
    hair = periodic_noise(W, H, 120, 30, rng)
    col = blend((212, 210, 204), (248, 246, 240), f1 * 1.2 - 0.1)
    col += ((hair - 0.5) * 14)[..., None]
    p = Pic(w, h, wrap=True)
    p.im = to_img(col).convert("RGBA")
    dark = (86, 84, 92)
    inner = (214, 202, 182)
    ros = [(x, y, 9.5 + rng.random() * 3.5, rng.random() * 360) for x, y in poisson_torus(w, h, 16, 33, rng)]
    L = p.layer()
    for cx, cy, r, _ in ros:
        L.ellipse(cx, cy, r * 0.8, r * 0.72, inner)
    p.add(L, 0)
    L = p.layer()
    for cx, cy, r, a0 in ros:
        # a broken ring of short curved dashes
        n = rng.choice((4, 5, 5, 6))
        for i in range(n):
            if i and rng.random() < 0.15:
                continue
            a = a0 + 360.0 * i / n
            span = 360.0 / n * rng.uniform(0.45, 0.7)
            pts = [(cx + r * math.cos(math.radians(t)), cy + r * 0.88 * math.sin(math.radians(t)))
                   for t in np.linspace(a, a + span, 9)]
            wmax = 3.4 + rng.random() * 1.8
            for j in range(8):  # fat in the middle, thin at the ends: a blot, not a dash
                L.stroke(pts[j:j + 2], wmax * (0.45 + 0.55 * math.sin(math.pi * (j + 0.5) / 8)), dark)
    for _ in range(70):
        x, y = rng.random() * w, rng.random() * h
        near = min(min(abs(x - cx), w - abs(x - cx)) ** 2 + min(abs(y - cy), h - abs(y - cy)) ** 2
                   for cx, cy, _, _ in ros)
        if near < 18 ** 2:
            continue
        L.circle(x, y, 1.4 + rng.random() * 1.8, dark)
    p.add(L, 0)
    return no_black(p.rgb())


def tex_giraffe():
    """141x140 giraffe: rounded brown patches in a cream net."""
    w, h = 141, 140
    W, H = w * SS, h * SS
    rng = random.Random(2)
    seeds = poisson_torus(w, h, 16, 28, rng)
    wx = (fbm(W, H, 5, 5, rng, 3) - 0.5) * 9
    wy = (fbm(W, H, 5, 5, rng, 3) - 0.5) * 9
    yy, xx = np.mgrid[0:H, 0:W]
    x = (xx + 0.5) / SS + wx
    y = (yy + 0.5) / SS + wy
    ds = []
    for sx, sy in seeds:
        dx = np.abs(x - sx) % w
        dy = np.abs(y - sy) % h
        ds.append(np.hypot(np.minimum(dx, w - dx), np.minimum(dy, h - dy)))
    ds = np.stack(ds)
    idx = np.argmin(ds, axis=0)
    d1 = np.min(ds, axis=0)
    diff = ds - d1[None]
    diff[idx[None] == np.arange(len(seeds))[:, None, None]] = 1e9
    # soft minimum over the neighbours widens the net where three patches meet: rounded corners
    tau = 2.2
    soft = -tau * np.log(np.sum(np.exp(-diff / tau), axis=0) + 1e-12)
    edge = np.clip((soft - 3.2) / 1.2, 0, 1)  # 0 on the net, 1 inside a patch
    inner = np.clip((soft - 3.2) / 10.0, 0, 1)
    tones = np.array([rng.uniform(0.92, 1.06) for _ in seeds])
    base = np.array((214, 128, 54), float)
    patch = base[None, None, :] * tones[idx][..., None] * (0.86 + 0.14 * inner[..., None])
    net = np.array((252, 236, 196), float)
    speck = (fbm(W, H, 12, 12, rng, 2) - 0.5) * 12
    col = net * (1 - edge[..., None]) + patch * edge[..., None] + speck[..., None]
    return no_black(reduce_rgb(to_img(col), SS))


def rose(L, cx, cy, r, a0, body):
    """A rose seen from above: scalloped cup with petal curves spiralling in."""
    for i in range(7):
        t = math.radians(a0 + i * 360 / 7)
        L.circle(cx + r * 0.62 * math.cos(t), cy + r * 0.62 * math.sin(t), r * 0.42, body)
    L.circle(cx, cy, r * 0.75, body)


def rose_lines(L, cx, cy, r, a0, petal, w):
    for i, (rr, sweep) in enumerate(((0.78, 200), (0.6, 220), (0.42, 230), (0.25, 260))):
        st = a0 + i * 95
        L.stroke(arc_pts(cx, cy, r * rr, st, st + sweep, 30), w, petal)
    L.circle(cx, cy, r * 0.1, petal)


def tex_roses():
    """80x80 seamless lilac roses with leaves."""
    w = h = 80
    rng = random.Random(8)
    p = Pic(w, h, wrap=True, bg=(242, 232, 252))
    L = p.layer()
    for _ in range(26):
        L.circle(rng.random() * w, rng.random() * h, 1.2, (228, 212, 248))
    p.add(L, 0)
    roses = [(20, 20, 13), (60, 58, 13), (63, 17, 9), (17, 63, 9)]
    leaf_col = (110, 196, 96)
    L = p.layer()
    for cx, cy, r in roses:
        for a in (rng.uniform(0, 360), rng.uniform(0, 360)):
            with L.spoke(cx, cy, r + 4, a) as (lx, ly):
                L.poly(bezier((lx, ly - 8), (lx + 7, ly), (lx, ly + 8))
                       + bezier((lx, ly + 8), (lx - 7, ly), (lx, ly - 8)), leaf_col)
    p.add(L, 0.9, (60, 120, 60))
    for cx, cy, r in roses:
        a0 = rng.uniform(0, 360)
        L = p.layer()
        rose(L, cx, cy, r, a0, (200, 156, 236))
        p.add(L, 0.9, (112, 64, 150))
        L = p.layer()
        rose_lines(L, cx, cy, r, a0, (146, 92, 192), 1.2 * r / 13)
        L.ellipse(cx - r * 0.5, cy - r * 0.55, r * 0.2, r * 0.11, (250, 240, 255))
        p.add(L, 0)
    return no_black(p.rgb())


def tex_daisies():
    """80x80 seamless white and yellow daisies on fresh green."""
    w = h = 80
    rng = random.Random(9)
    p = Pic(w, h, wrap=True, bg=(150, 214, 112))
    L = p.layer()
    for _ in range(60):
        x, y = rng.random() * w, rng.random() * h
        a = rng.uniform(-25, 25)
        with L.push(rot=a, at=(x, y)):
            L.stroke([(x, y), (x, y - 4)], 1.1, (112, 184, 84))
    p.add(L, 0)
    flowers = [(18, 18, 12, WHITE), (58, 24, 10, (255, 222, 64)), (40, 58, 12, WHITE),
               (4, 52, 9, (255, 222, 64)), (72, 68, 8, WHITE)]
    for cx, cy, r, c in flowers:
        L = p.layer()
        n = 10
        a0 = rng.uniform(0, 36)
        for i in range(n):
            a = a0 + 360.0 * i / n
            with L.spoke(cx, cy, r * 0.58, a) as (px, py):
                L.ellipse(px, py, r * 0.2, r * 0.45, c)
        p.add(L, 0.8, (90, 120, 70))
        L = p.layer()
        centre = (250, 160, 30) if c == WHITE else (236, 120, 30)
        L.circle(cx, cy, r * 0.3, centre)
        p.add(L, 0.7, (150, 90, 30))
        L = p.layer()
        L.circle(cx - r * 0.1, cy - r * 0.1, r * 0.1, (255, 236, 150))
        p.add(L, 0)
    return no_black(p.rgb())


# =========================================================================== B. buttons

def btn_shapes():  # tool_shapes: circle, square and triangle together
    p = Pic(96, 96, ow=5)
    with p.part() as L:
        L.rrect(44, 28, 88, 72, 7, BLUE)
        L.gloss(54, 37, 6, 3.5, -20)
    with p.part() as L:
        L.circle(31, 33, 23, RED)
        L.gloss(22, 22, 8, 4.5, -40)
    with p.part() as L:
        L.rpoly([(36, 46), (62, 89), (10, 89)], 4, YELLOW)
        L.gloss(32, 62, 3, 6, 30)
    return p.rgba()


def btn_brush():  # tool_brush
    p = Pic(96, 124, ow=5)
    with p.part() as L:
        L.stroke(bezier((16, 104), (34, 120), (56, 96), (80, 110)), 11, BLUE)
        L.gloss(40, 106, 5, 2, -40, 170)
    with p.part() as L:
        with L.push(rot=35, at=(0, 0), scale=0.76, move=(48, 62)):
            L.poly(ellipse_pts(0, -66, 9, 8) + [], RED)
            L.rpoly([(-6.5, -4), (6.5, -4), (9, -64), (-9, -64)], 2, RED)
            L.gloss(-4, -52, 2.2, 8, 0, 190)
    with p.part() as L:
        with L.push(rot=35, at=(0, 0), scale=0.76, move=(48, 62)):
            L.rrect(-11, -8, 11, 12, 3, SILVER)
            L.stroke([(-11, 2), (11, 2)], 2.2, GREY, caps=False)
            L.gloss(-6, -3, 2, 3, 0, 220)
    with p.part() as L:
        with L.push(rot=35, at=(0, 0), scale=0.76, move=(48, 62)):
            side = bezier((11, 12), (16, 28), (8, 40), (0, 52))
            L.poly(side + [(-x, y) for x, y in reversed(side)], (250, 226, 170))
            with L.clip() as c:
                c.poly(bezier((-20, 30), (-8, 24), (8, 34), (20, 26)) + [(20, 60), (-20, 60)], BLUE)
                c.stroke([(-5, 14), (-6, 30)], 1.6, (220, 186, 120))
                c.stroke([(4, 14), (5, 28)], 1.6, (220, 186, 120))
            L.gloss(-5, 40, 2, 5, 0, 200)
    return p.rgba()


def btn_eraser():  # tool_eraser
    p = Pic(96, 84, ow=5)
    pink = (252, 140, 170)
    with p.part() as L:
        for x, y, r in ((18, 68, 3.2), (27, 73, 2.6), (12, 75, 2.2)):
            L.circle(x, y, r, pink)
    T = dict(rot=-22, at=(0, 0), scale=0.88, move=(47, 42))
    with p.part() as L:
        with L.push(**T):
            L.rpoly([(-36, -6), (-28, -18), (42, -18), (34, -6)], 3, shade(pink, 1.3))
    with p.part() as L:
        with L.push(**T):
            L.rpoly([(34, -6), (42, -18), (42, 4), (34, 16)], 3, shade(pink, 0.85))
    with p.part() as L:
        with L.push(**T):
            L.rrect(-36, -6, 34, 16, 4, pink)
            L.gloss(-24, 0, 7, 2.2, 0, 190)
    with p.part() as L:  # blue sleeve
        with L.push(**T):
            L.rpoly([(2, -6), (10, -18), (34, -18), (26, -6)], 2, shade(BLUE, 1.35))
    with p.part() as L:
        with L.push(**T):
            L.rrect(2, -6, 26, 16, 2, BLUE)
            L.gloss(9, -1, 4, 1.8, 0, 190)
    return p.rgba()


def btn_watering_can():  # tool_fill
    p = Pic(96, 84, ow=5)
    with p.part() as L:  # handle
        L.stroke(arc_pts(30, 38, 17, 180, 360, 40), 7, shade(GREEN, 0.85))
    with p.part() as L:  # spout
        L.stroke([(50, 66), (74, 34)], 9, GREEN)
    with p.part() as L:  # sprinkler head, flared, with holes
        e, d, n = (73, 35), (0.6, -0.8), (0.8, 0.6)
        f = (e[0] + 9 * d[0], e[1] + 9 * d[1])
        L.rpoly([(e[0] + 5 * n[0], e[1] + 5 * n[1]), (f[0] + 10 * n[0], f[1] + 10 * n[1]),
                 (f[0] - 10 * n[0], f[1] - 10 * n[1]), (e[0] - 5 * n[0], e[1] - 5 * n[1])], 2, shade(GREEN, 0.85))
        for t in (-5, 0, 5):
            L.circle(f[0] + t * n[0] - 2 * d[0], f[1] + t * n[1] - 2 * d[1], 1.3, shade(GREEN, 0.5))
    with p.part() as L:
        L.rpoly([(10, 40), (52, 40), (56, 76), (6, 76)], 6, GREEN)
        L.gloss(17, 56, 3.2, 11, 5, 190)
    with p.part() as L:
        L.ellipse(31, 40, 21, 5, shade(GREEN, 0.7))
        L.ellipse(31, 41, 15, 2.6, shade(GREEN, 0.45))
    for (x, y, r), c in zip(((84, 46, 5), (74, 58, 5), (86, 66, 5)), (RED, YELLOW, BLUE)):
        with p.part(ow=3.5) as L:
            L.poly(drop_pts(x, y, r), c)
            L.gloss(x - 1.6, y - 1.2, 1.2, 1.8, 20, 220)
    return p.rgba()


def btn_wand():  # tool_stamps
    p = Pic(96, 108, ow=5)
    with p.part() as L:
        L.stroke([(14, 96), (48, 56)], 10, (96, 70, 170))
        L.stroke([(48, 56), (56, 46)], 10, WHITE)
        L.stroke([(18, 88), (42, 60)], 2.4, (150, 124, 220))
    with p.part() as L:
        L.rpoly(star_pts(60, 40, 28, 13, 5, -90), 3, YELLOW)
        L.gloss(52, 28, 3, 6, 35, 210)
    for (x, y, r, c) in ((22, 24, 11, PINK), (82, 82, 9, LBLUE), (83, 13, 6, (120, 220, 140)),
                         (30, 56, 5, YELLOW)):
        with p.part(ow=3.5) as L:
            L.poly(sparkle_pts(x, y, r), c)
    return p.rgba()


def btn_spray():  # tool_spray
    p = Pic(96, 100, ow=5)
    with p.part() as L:  # puff
        for x, y, r in ((69, 29, 11), (80, 39, 9), (66, 43, 9), (79, 22, 7)):
            L.circle(x, y, r, (212, 180, 248))
        L.gloss(65, 23, 4, 2.5, -20, 200)
    with p.part(ow=2.5) as L:
        for x, y, r in ((51, 22, 2.4), (55, 30, 2.0), (54, 14, 1.8), (58, 53, 2.2), (88, 52, 2.0), (64, 11, 1.8)):
            L.circle(x, y, r, PURPLE)
    with p.part() as L:  # shoulder
        L.ellipse(34, 38, 18, 13, SILVER)
        L.gloss(26, 31, 4, 2.5, -30, 220)
    with p.part() as L:  # nozzle
        L.rrect(27, 14, 44, 28, 3, WHITE)
        L.circle(40, 20, 2.2, OL)
    with p.part() as L:
        L.rrect(15, 40, 53, 92, 8, PURPLE)
        L.rrect(15, 55, 53, 75, 0, WHITE)
        L.poly(star_pts(34, 65, 7, 3.2), YELLOW)
        L.gloss(21, 46, 2.5, 4, 0, 200)
        L.gloss(21, 83, 2.5, 4, 0, 200)
    return p.rgba()


def btn_pen(size):  # pen_tiny .. pen_huge
    p = Pic(80, 72, ow=4)
    with p.part() as L:
        L.rrect(6, 6, 74, 66, 12, (252, 250, 240))
    with p.part(ow=0) as L:
        r = size / 2
        L.circle(40, 36, r, OL)
        if size >= 20:
            L.gloss(40 - r * 0.42, 36 - r * 0.45, r * 0.22, r * 0.14, -40, 150)
    return p.rgba()


def btn_snowflake():  # stamps_snowflakes
    p = Pic(76, 76, ow=4)
    with p.part() as L:
        for i in range(6):
            with L.push(rot=60 * i, at=(38, 38)):
                L.stroke([(38, 38), (38, 10)], 6.5, LBLUE)
                L.stroke([(38, 22), (29, 14)], 5, LBLUE)
                L.stroke([(38, 22), (47, 14)], 5, LBLUE)
        L.circle(38, 38, 7, LBLUE)
    with p.part(ow=0) as L:
        L.circle(38, 38, 3, WHITE)
        L.circle(36.5, 14, 1.6, WHITE)
    return p.rgba()


def btn_leaf():  # stamps_leaves
    p = Pic(76, 76, ow=4)
    p.view = dict(at=(38, 38), scale=0.9, move=(1, -1))
    with p.part() as L:
        L.stroke([(21, 62), (13, 70)], 4.5, shade(GREEN, 0.8))
    with p.part() as L:
        with L.push(rot=45, at=(38, 38)):
            side = bezier((38, 6), (62, 26), (54, 56), (38, 68))
            L.poly(side + [(76 - x, y) for x, y in reversed(side)], GREEN)
            L.stroke([(38, 12), (38, 64)], 2.6, shade(GREEN, 0.7))
            for y in (28, 40, 52):
                L.stroke([(38, y + 6), (48, y - 4)], 2.2, shade(GREEN, 0.7))
                L.stroke([(38, y + 6), (28, y - 4)], 2.2, shade(GREEN, 0.7))
        L.gloss(48, 22, 3, 7, 45, 170)
    return p.rgba()


def btn_flower():  # stamps_flowers
    p = Pic(76, 76, ow=4)
    with p.part() as L:
        for i in range(5):
            a = -90 + 72 * i
            with L.spoke(38, 38, 15, a) as (px, py):
                L.ellipse(px, py, 11, 14, PINK)
        L.gloss(30, 18, 2.5, 5, -30, 190)
    with p.part() as L:
        L.circle(38, 38, 10, YELLOW)
        L.gloss(34.5, 34.5, 3, 2, -40, 220)
    return p.rgba()


def btn_heart():  # stamps_hearts
    p = Pic(76, 76, ow=4)
    with p.part() as L:
        L.poly(heart_pts(38, 38, 62), RED)
        L.gloss(24, 24, 6, 3.5, -40, 210)
    return p.rgba()


def btn_outline_shape(kind):  # shape_<kind>
    p = Pic(80, 72, ow=0)
    w = 7
    with p.part(ow=0) as L:
        cx, cy = 40, 36
        if kind == "circle":
            L.stroke(ellipse_pts(cx, cy, 26, 26), w, OL, closed=True)
        elif kind == "rectangle":
            L.stroke([(14, 10), (66, 10), (66, 62), (14, 62)], w, OL, closed=True)
        elif kind == "triangle":
            L.stroke([(40, 8), (69, 63), (11, 63)], w, OL, closed=True)
        elif kind == "line":
            L.stroke([(12, 60), (68, 12)], w, OL)
        elif kind == "diamond":
            L.stroke([(40, 6), (68, 36), (40, 66), (12, 36)], w, OL, closed=True)
        elif kind == "hexagon":
            L.stroke([(cx + 30 * math.cos(math.radians(60 * i)), cy + 30 * math.sin(math.radians(60 * i)))
                      for i in range(6)], w, OL, closed=True)
        elif kind == "trapezium":
            L.stroke([(26, 14), (54, 14), (71, 60), (9, 60)], w, OL, closed=True)
    return p.rgba()


def btn_paint_can():  # fill_to_lines
    p = Pic(76, 76, ow=4)
    with p.part() as L:  # spilled paint
        L.ellipse(51, 64, 17, 6.5, RED)
        L.stroke(bezier((44, 38), (54, 42), (50, 56), (52, 62)), 10, RED)
        L.gloss(44, 62, 4, 1.5, 0, 200)
    with p.part(ow=3) as L:
        L.poly(drop_pts(66, 44, 3.5), RED)
    T = dict(rot=118, at=(0, 0), scale=0.86, move=(30, 33))
    with p.part() as L:
        with L.push(**T):
            L.stroke(arc_pts(0, -4, 19, 20, 160, 30), 3.2, GREY)
    with p.part() as L:
        with L.push(**T):
            L.rrect(-16, -16, 16, 18, 4, BLUE)
            L.rrect(-16, -4, 16, 8, 0, WHITE)
            L.gloss(-10, 12, 2, 3.5, 0, 190)
    with p.part() as L:
        with L.push(**T):
            L.ellipse(0, -16, 16, 5.5, SILVER)
            L.ellipse(0, -16, 12, 3.5, RED)
    return p.rgba()


def btn_arrow(right):  # strip_back / strip_next
    p = Pic(52, 72, ow=4)
    pts = [(6, 26), (22, 26), (22, 10), (46, 36), (22, 62), (22, 46), (6, 46)]
    if not right:
        pts = [(52 - x, y) for x, y in pts]
    with p.part() as L:
        L.rpoly(pts, 3.5, GREEN)
        gx = 13 if right else 39
        L.gloss(gx, 31, 5, 2, 0, 200)
    return p.rgba()


def btn_rotate():
    p = Pic(56, 56, ow=4)
    with p.part() as L:
        c, r = (28, 32), 15
        a0, a1 = -20, 232
        L.stroke(arc_pts(c[0], c[1], r, a0, a1, 60), 8, ORANGE)
        t = math.radians(a1)
        ex, ey = c[0] + r * math.cos(t), c[1] + r * math.sin(t)
        tx, ty = -math.sin(t), math.cos(t)
        nx, ny = math.cos(t), math.sin(t)
        L.rpoly([(ex + nx * 12, ey + ny * 12), (ex + tx * 14, ey + ty * 14), (ex - nx * 12, ey - ny * 12)], 2, ORANGE)
        L.gloss(17, 34, 2, 4, -20, 200)
    return p.rgba()


def btn_undo():
    p = Pic(56, 56, ow=4)
    with p.part() as L:  # a hook: head pointing back (left), tail curling down on the right
        c, r = (32, 31), 12
        y = c[1] - r
        L.stroke(arc_pts(c[0], c[1], r, -90, 100, 48), 8, BLUE)
        L.stroke([(c[0], y), (20, y)], 8, BLUE)
        L.rpoly([(22, y - 12), (22, y + 12), (6, y)], 2, BLUE)
        L.gloss(40, 24, 2, 4, -35, 200)
    return p.rgba()


def btn_redo():
    # a flipped copy, so the pair can never drift apart
    return btn_undo().transpose(Image.FLIP_LEFT_RIGHT)


def btn_stat():  # statistics
    p = Pic(48, 48, ow=3)
    for (x0, top, c) in ((7, 26, RED), (19, 15, YELLOW), (31, 6, GREEN)):
        with p.part() as L:
            L.rrect(x0, top, x0 + 10, 42, 2, c)
            L.gloss(x0 + 3, top + 5, 1.2, 3, 0, 200)
    return p.rgba()


def btn_book():  # catalogue
    p = Pic(48, 48, ow=3)
    p.view = dict(at=(24, 26), scale=0.88, move=(0, -1))
    with p.part() as L:
        L.rpoly([(3, 14), (24, 18), (45, 14), (45, 41), (24, 45), (3, 41)], 2, BLUE)
    with p.part(ow=2.2) as L:
        L.poly([(6, 9)] + bezier((6, 9), (16, 8), (23, 14))[1:] + [(23, 41)] + bezier((23, 41), (16, 36), (6, 37))[1:],
               WHITE)
    with p.part(ow=2.2) as L:
        L.poly([(42, 9)] + bezier((42, 9), (32, 8), (25, 14))[1:] + [(25, 41)] + bezier((25, 41), (32, 36), (42, 37))[1:],
               WHITE)
    with p.part(ow=1.6) as L:
        L.circle(14, 20, 4.2, YELLOW)
    with p.part(ow=1.6) as L:
        L.rpoly([(33, 16), (39, 30), (27, 30)], 1.2, GREEN)
    with p.part(ow=1.6) as L:
        L.rrect(32, 30, 34, 34, 0.5, BROWN)
    return p.rgba()


def die(p, cx, cy, s, rot, face, body, pip):
    with p.part() as L:
        with L.push(rot=rot, at=(cx, cy)):
            L.rrect(cx - s / 2, cy - s / 2, cx + s / 2, cy + s / 2, s * 0.2, body)
            with L.clip() as c:
                c.rrect(cx - s / 2, cy + s * 0.32, cx + s / 2, cy + s / 2, 0, shade(body, 0.86))
            L.gloss(cx - s * 0.28, cy - s * 0.34, s * 0.12, s * 0.05, 0, 200)
            q = s * 0.27
            spots = {3: [(-1, -1), (0, 0), (1, 1)], 5: [(-1, -1), (1, -1), (0, 0), (-1, 1), (1, 1)],
                     4: [(-1, -1), (1, -1), (-1, 1), (1, 1)]}[face]
            for i, j in spots:
                L.circle(cx + i * q, cy + j * q, s * 0.095, pip)


def btn_dice():  # random
    p = Pic(72, 72, ow=4)
    die(p, 25, 26, 32, -14, 5, RED, WHITE)
    die(p, 46, 46, 32, 12, 3, WHITE, OL)
    return p.rgba()


def btn_clear():
    p = Pic(72, 72, ow=4)
    with p.part() as L:
        L.rpoly([(10, 8), (42, 8), (54, 20), (54, 64), (10, 64)], 3, WHITE)
    with p.part(ow=3) as L:
        L.rpoly([(42, 8), (42, 20), (54, 20)], 1.5, (214, 226, 240))
    with p.part() as L:
        L.poly(sparkle_pts(51, 51, 15), YELLOW)
        L.gloss(49, 45, 1.4, 2.4, 0, 220)
    with p.part(ow=3) as L:
        L.poly(sparkle_pts(61, 27, 7), YELLOW)
    with p.part(ow=3) as L:
        L.poly(sparkle_pts(20, 22, 6), LBLUE)
    return p.rgba()


# =========================================================================== C. tree icons

def tree_icon(kind, px):
    k = px / 48.0
    ow = 3.0 * k
    p = Pic(px, px, k=k, ow=ow)
    if kind == 0:  # closed book
        with p.part() as L:
            L.rrect(12, 10, 40, 42, 3, CREAM)
        with p.part() as L:
            L.rrect(8, 5, 36, 40, 4, RED)
            L.rrect(8, 5, 14, 40, 0, shade(RED, 0.78))
            L.poly(star_pts(25, 22, 8, 3.6), YELLOW)
            L.gloss(20, 10, 4, 1.6, 0, 200)
    elif kind == 1:  # album
        with p.part() as L:
            L.rrect(9, 13, 42, 41, 4, CREAM)
        with p.part() as L:
            L.rrect(6, 9, 41, 38, 4, ORANGE)
            L.rrect(13, 14, 36, 33, 2, (150, 210, 250))
            with L.clip() as c:
                c.ellipse(25, 40, 17, 10, GREEN)
                c.circle(30, 19, 3.6, YELLOW)
        with p.part(ow=1.8 * k) as L:
            for y in (15, 23.5, 32):
                L.rrect(3.5, y - 1.5, 10, y + 1.5, 1.4, SILVER)
    else:  # picture page, 3 = selected
        if kind == 3:
            with p.part(ow=0) as L:
                L.rrect(1, 1, 47, 47, 9, (255, 220, 60))
                L.rrect(3, 3, 45, 45, 7, (255, 238, 140))
        with p.part() as L:
            L.rpoly([(9, 5), (31, 5), (40, 14), (40, 43), (9, 43)], 2, WHITE)
        with p.part(ow=2 * k) as L:
            L.rpoly([(31, 5), (31, 14), (40, 14)], 1, (214, 226, 240))
        with p.part(ow=0) as L:
            L.stroke([(14, 24), (19, 17), (21, 26), (26, 18), (28, 27), (33, 21)], 3.2, RED)
            L.stroke(bezier((14, 36), (20, 30), (26, 40), (35, 33)), 3.2, BLUE)
    return p.rgba()


# =========================================================================== D. window icon

def window_icon(px):
    k = px / 256.0
    ow = 7.0 if px >= 128 else 2.0
    p = Pic(px, px, k=k, ow=ow)
    wood = (250, 208, 140)
    with p.part() as L:
        L.ellipse(128, 124, 108, 92, wood)
        L.circle(60, 200, 34, (0, 0, 0, 0))  # notch
        L.circle(82, 150, 17, (0, 0, 0, 0))  # thumb hole
        L.gloss(96, 52, 38, 9, -14, 170)
    blots = [(60, 104, 24, RED), (108, 66, 24, YELLOW), (166, 68, 24, GREEN), (204, 120, 22, BLUE)]
    for x, y, r, c in blots:
        with p.part(ow=ow * 0.8) as L:
            L.poly(ellipse_pts(x, y, r, r * 0.88, n=64), c)
            L.gloss(x - r * 0.35, y - r * 0.38, r * 0.3, r * 0.17, -35, 220)
    T = dict(rot=-45, at=(0, 0), move=(166, 172))
    with p.part() as L:
        with L.push(**T):
            L.rpoly([(-9, 0), (9, 0), (13, 70), (-13, 70)], 6, RED)
            L.gloss(-5, 20, 2.5, 14, 0, 190)
    with p.part() as L:
        with L.push(**T):
            L.rrect(-14, -24, 14, 4, 4, SILVER)
            L.gloss(-7, -16, 3, 5, 0, 220)
    with p.part() as L:
        with L.push(**T):
            side = bezier((14, -24), (20, -44), (10, -62), (0, -76))
            L.poly(side + [(-x, y) for x, y in reversed(side)], (250, 226, 170))
            with L.clip() as c:
                c.poly(bezier((-24, -46), (-10, -38), (10, -52), (24, -42)) + [(24, -90), (-24, -90)], PURPLE)
            L.gloss(-6, -50, 3, 8, 0, 200)
    return p.rgba()


# =========================================================================== output

BUTTONS = [
    ("tool_shapes", btn_shapes), ("tool_brush", btn_brush), ("tool_eraser", btn_eraser),
    ("tool_fill", btn_watering_can), ("tool_stamps", btn_wand), ("tool_spray", btn_spray),
    ("pen_tiny", lambda: btn_pen(6)), ("pen_little", lambda: btn_pen(12)), ("pen_medium", lambda: btn_pen(22)),
    ("pen_big", lambda: btn_pen(34)), ("pen_huge", lambda: btn_pen(50)),
    ("stamps_snowflakes", btn_snowflake), ("stamps_leaves", btn_leaf), ("stamps_flowers", btn_flower),
    ("stamps_hearts", btn_heart),
] + [("shape_" + kind, lambda kind=kind: btn_outline_shape(kind))
     for kind in ("circle", "rectangle", "triangle", "line", "diamond", "hexagon", "trapezium")] + [
    ("fill_to_lines", btn_paint_can), ("strip_back", lambda: btn_arrow(False)), ("strip_next", lambda: btn_arrow(True)),
    ("rotate", btn_rotate), ("undo", btn_undo), ("redo", btn_redo),
    ("statistics", btn_stat), ("catalogue", btn_book),
    ("random", btn_dice), ("clear", btn_clear),
]


def main(argv):
    root, groups = parse_args(argv, ["textures", "buttons", "tree", "icon"])
    if "textures" in groups:
        small = [("tex11.png", tex_bricks), ("tex13.png", tex_blue_flower), ("tex14.png", tex_lilac_studs),
                 ("tex12.png", tex_orange_gold)]
        big = [("bigtex4.png", tex_wood), ("bigtex1.png", tex_straw), ("bigtex3.png", tex_snow_leopard),
               ("bigtex2.png", tex_giraffe)]
        names = []
        previews = []
        for name, fn in small:
            im = fn()
            save_png(im, os.path.join(root, "textures", name))
            names.append(name)
            previews.append(tile_over(im, 80, 80))
        for name, fn in big:
            im = fn()
            save_png(im, os.path.join(root, "textures", name))
            names.append(name)
            previews.append(im.crop((0, 0, 80, 80)))
        previews.append(tex_roses())
        previews.append(tex_daisies())
        for i, im in enumerate(previews):
            name = "preview%d.png" % i
            save_png(no_black(im), os.path.join(root, "textures", name))
            names.append(name)
        write_qrc(root, "textures", "/textures", names)

    if "buttons" in groups:
        names = []
        for name, fn in BUTTONS:
            save_png(fn(), os.path.join(root, "buttons", name + ".png"))
            names.append(name + ".png")
        write_qrc(root, "buttons", "/buttons", names)

    if "tree" in groups:
        names = []
        for i in range(4):
            save_png(tree_icon(i, 24), os.path.join(root, "tree", "tree%d.png" % i))
            save_png(tree_icon(i, 48), os.path.join(root, "tree", "tree%d@2x.png" % i))
            names += ["tree%d.png" % i, "tree%d@2x.png" % i]
        write_qrc(root, "tree", "/tree", names)

    if "icon" in groups:
        save_png(window_icon(256), os.path.join(root, "icon", "pictaro.png"))
        save_png(window_icon(48), os.path.join(root, "icon", "pictaro-48.png"))
        write_qrc(root, "icon", "/icon", ["pictaro.png", "pictaro-48.png"])


if __name__ == "__main__":
    main(sys.argv[1:])
