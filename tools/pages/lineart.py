"""Turns a coloured icon (Iconify JSON entry) into a black-on-white coloring page."""
import copy
import xml.etree.ElementTree as ET

from cairosvg.parser import Tree
from cairosvg.surface import PNGSurface
import numpy as np
from scipy import ndimage as ndi

import pagelib

SVG = 'http://www.w3.org/2000/svg'
XLINK = 'http://www.w3.org/1999/xlink'
ET.register_namespace('', SVG)
ET.register_namespace('xlink', XLINK)
SHAPES = {'path', 'circle', 'ellipse', 'rect', 'polygon', 'polyline', 'line'}

LONG_SIDE = 1500
SHORT_SIDE = 1125       # 4:3 page, portrait or landscape
MARGIN = 0.07           # of the short side, on every edge
LINE_PX = 6             # outline thickness
EDGE_RADIUS = 2         # colour boundaries dilated to ~5 px, close to LINE_PX
DARK = 0.30             # small round pieces of fills darker than this stay ink (pupils)
SPECK_PX = 150          # closed white bits smaller than this are not colourable
MASS_RADIUS = 12        # ink thicker than 2r+1 px is a blob, hollowed out ...
DOT_MAX_PX = 9000       # ... unless it is a small dot such as an eye
MIN_PART_PX = 700       # fill-only shapes smaller than this are not outlined
OUTLINE_SHARE = 0.10    # fill-only shapes outlined by the artist's strokes less than this
BASE_SHARE = 0.85       # are parts of their own, more than this are base shapes; between: shading


def _tag(el):
    return el.tag.rsplit('}', 1)[-1]


def _luma(color):
    c = color.strip().lstrip('#').lower()
    if len(c) == 3:
        c = ''.join(x * 2 for x in c)
    if len(c) != 6:
        named = {'black': 0.0, 'white': 1.0}
        return named.get(color, 0.5)
    r, g, b = (int(c[i:i + 2], 16) for i in (0, 2, 4))
    return (0.299 * r + 0.587 * g + 0.114 * b) / 255


def _grow(mask, r):
    """Dilation by a disc of radius r (distance transform: fast for big radii)."""
    if not mask.any():
        # With nothing to measure from, the transform measures from the corner and would
        # leave a stray dot of ink at (0, 0).
        return np.zeros_like(mask)
    return ndi.distance_transform_edt(~mask) <= r


def _shrink(mask, r):
    """Erosion by a disc of radius r."""
    if mask.all():
        return np.ones_like(mask)
    return ndi.distance_transform_edt(mask) > r


def _edge(mask):
    """Pixels of mask with a 4-neighbour outside it."""
    e = np.zeros_like(mask)
    e[1:] |= mask[1:] & ~mask[:-1]
    e[:-1] |= mask[:-1] & ~mask[1:]
    e[:, 1:] |= mask[:, 1:] & ~mask[:, :-1]
    e[:, :-1] |= mask[:, :-1] & ~mask[:, 1:]
    return e


def flatten(icon_set, name):
    """Icon -> (list of shape elements with resolved fill/stroke, width, height).
    Expands <use>, folds group attributes in, drops translucent shapes (cast shadows)."""
    icon = icon_set['icons'][name]
    w = icon.get('width', icon_set.get('width', 16))
    h = icon.get('height', icon_set.get('height', 16))
    root = ET.fromstring(f'<svg xmlns="{SVG}" xmlns:xlink="{XLINK}">{icon["body"]}</svg>')
    defs = {}
    for el in root.iter():
        if el.get('id'):
            defs[el.get('id')] = el
    out = []

    def walk(el, inherited):
        tag = _tag(el)
        if tag in ('defs', 'clipPath', 'mask', 'linearGradient', 'radialGradient', 'filter'):
            return
        attrs = dict(inherited)
        for k in ('fill', 'stroke', 'opacity', 'fill-opacity', 'fill-rule', 'transform'):
            if el.get(k) is not None:
                if k == 'transform' and 'transform' in inherited:
                    attrs[k] = inherited[k] + ' ' + el.get(k)
                elif k == 'opacity' and 'opacity' in inherited:
                    attrs[k] = str(float(inherited[k]) * float(el.get(k)))
                else:
                    attrs[k] = el.get(k)
        if tag == 'use':
            ref = el.get('href') or el.get(f'{{{XLINK}}}href')
            target = defs.get(ref.lstrip('#')) if ref else None
            if target is not None:
                walk(target, attrs)
            return
        if tag in SHAPES:
            if float(attrs.get('opacity', 1)) < 1 or float(attrs.get('fill-opacity', 1)) < 1:
                return
            shape = copy.deepcopy(el)
            shape.attrib.pop('id', None)
            for k in ('opacity', 'fill-opacity', 'stroke-width', 'style'):
                shape.attrib.pop(k, None)
            for k, v in attrs.items():
                if k not in ('opacity', 'fill-opacity'):
                    shape.set(k, v)
            shape.set('fill', attrs.get('fill', '#000'))
            shape.set('stroke', attrs.get('stroke', 'none'))
            out.append(shape)
            return
        for child in el:
            walk(child, attrs)

    for child in root:
        walk(child, {})
    return out, w, h


def _render_ids(shapes, viewbox, size, stroke_width):
    """Crisp render where each shape's fill is painted as id 2i+1 and its stroke as 2i+2,
    so every pixel tells which shape shows there (0: nothing)."""
    svg = ET.Element(f'{{{SVG}}}svg', {
        'viewBox': ' '.join(f'{v:.5f}' for v in viewbox),
        'width': str(size[0]), 'height': str(size[1]),
        'shape-rendering': 'crispEdges'})
    for i, s in enumerate(shapes):
        s = copy.deepcopy(s)
        if s.get('fill') != 'none':
            s.set('fill', '#%06x' % (2 * i + 1))
        if s.get('stroke') != 'none':
            s.set('stroke', '#%06x' % (2 * i + 2))
            s.set('stroke-width', f'{stroke_width:.5f}')
            s.set('stroke-linecap', 'round')
            s.set('stroke-linejoin', 'round')
        svg.append(s)
    surface = PNGSurface(Tree(bytestring=ET.tostring(svg)), None, 96,
                         output_width=size[0], output_height=size[1])
    surface.cairo.flush()
    stride = surface.cairo.get_stride() // 4
    argb = np.frombuffer(surface.cairo.get_data(), np.uint32).reshape(size[1], stride)[:, :size[0]]
    ids = (argb & 0xFFFFFF).astype(np.int32)
    ids[(argb >> 24) < 128] = 0
    return ids


def layout(shapes, w, h):
    """Chooses page orientation and the viewBox that centres the drawing with a margin."""
    probe = 512
    ids = _render_ids(shapes, (0, 0, w, h), (probe, round(probe * h / w)), 1.0)
    ys, xs = np.nonzero(ids)
    k = w / probe
    x0, x1, y0, y1 = xs.min() * k, (xs.max() + 1) * k, ys.min() * k, (ys.max() + 1) * k
    bw, bh = x1 - x0, y1 - y0
    size = (LONG_SIDE, SHORT_SIDE) if bw >= bh else (SHORT_SIDE, LONG_SIDE)
    m = MARGIN * SHORT_SIDE
    scale = min((size[0] - 2 * m) / bw, (size[1] - 2 * m) / bh)
    vw, vh = size[0] / scale, size[1] / scale
    return size, (x0 + bw / 2 - vw / 2, y0 + bh / 2 - vh / 2, vw, vh), scale


def _boundary(a, skip):
    """Pixels where the label changes to the right or below; pairs touching skip are ignored."""
    e = np.zeros(a.shape, bool)
    e[:, :-1] |= (a[:, 1:] != a[:, :-1]) & ~skip[:, 1:] & ~skip[:, :-1]
    e[:-1, :] |= (a[1:, :] != a[:-1, :]) & ~skip[1:, :] & ~skip[:-1, :]
    return e


def _dots(region):
    """The compact, small pieces of a dark fill (pupils, nostrils): they stay solid ink.
    Larger dark parts (a panda's patches) are left to be outlined like any other part."""
    pieces, n = ndi.label(region, structure=np.ones((3, 3)))
    dots = np.zeros(region.shape, bool)
    for k, sl in enumerate(ndi.find_objects(pieces), 1):
        piece = ndi.binary_fill_holes(pieces[sl] == k)  # a pupil's glint is part of the dot
        area = piece.sum()
        h, w = piece.shape
        # a disc fills pi/4 of its box; squares (taxi checks) are parts to colour
        if area <= DOT_MAX_PX and 0.6 * h * w <= area <= 0.86 * h * w and max(h, w) <= 2 * min(h, w):
            dots[sl] |= piece
    return dots


def draw(shapes, w, h):
    """Outline drawing as a bool ink array.

    Lines come from the artist's strokes (made uniform), the outer silhouette, and
    the borders of fill-only shapes that are parts of their own (a nose, a window).
    Fill-only shapes that hug the outline only partly are shading or highlights:
    they merge into the shape beneath, so no line is drawn around them. In a set
    drawn without strokes every fill-only shape but the tiniest gets outlined."""
    size, viewbox, scale = layout(shapes, w, h)
    ids = _render_ids(shapes, viewbox, size, LINE_PX / scale)
    stroke = (ids > 0) & (ids % 2 == 0)
    ink = stroke.copy()

    label = ids.copy()
    counts = np.bincount(ids.ravel(), minlength=2 * len(shapes) + 3)
    covered_px = _grow(stroke, 4)
    shading = []
    for i, s in enumerate(shapes):
        fid = 2 * i + 1
        if s.get('fill') == 'none' or counts[fid] == 0:
            continue
        region = ids == fid
        if _luma(s.get('fill')) < DARK:
            dots = _dots(region)
            ink |= dots
            region &= ~dots
            if not region.any():
                continue
        if s.get('stroke') != 'none':
            continue
        if counts[fid] < MIN_PART_PX:
            shading.append(fid)
            continue
        # The artist outlines a base shape with a separate stroke; shading and
        # highlights are outlined only where they touch the base's edge.
        alone = _render_ids([s], viewbox, size, 1.0) > 0
        edge = _edge(alone)
        covered = (edge & covered_px).sum()
        open_ = (edge & region & ~covered_px).sum()
        share = covered / max(covered + open_, 1)
        if OUTLINE_SHARE < share < BASE_SHARE:
            shading.append(fid)
    # shading joins the shape it lies on, found by rendering only what was drawn before it;
    # one path may shade several parts (both ears), so each piece decides for itself
    resolved = {}
    for fid in shading:
        below = _render_ids(shapes[:fid // 2], viewbox, size, LINE_PX / scale)
        pieces, n = ndi.label(ids == fid, structure=np.ones((3, 3)))
        for k in range(1, n + 1):
            piece = pieces == k
            under = below[piece]
            fills = under[under % 2 == 1]
            if (under == 0).sum() > fills.size:
                # overhang past the outline: part of the background, not a part of its own
                label[piece] = 0
            elif fills.size:
                vals, cnt = np.unique(fills, return_counts=True)
                target = int(vals[cnt.argmax()])
                label[piece] = resolved.get(target, target)
                if n == 1:
                    resolved[fid] = resolved.get(target, target)
    ink |= _grow(_boundary(label, stroke), EDGE_RADIUS)
    return ink


def clean(ink):
    """Makes every white part colourable: no ink blobs, no specks, no slivers."""
    four = ndi.generate_binary_structure(2, 1)
    # blobs: ink that survives an opening with a big disk; small ones (pupils) stay
    blob = _grow(_shrink(ink, MASS_RADIUS), MASS_RADIUS)
    lab, n = ndi.label(blob)
    if n:
        sizes = np.bincount(lab.ravel())
        sizes[0] = 0
        big = (sizes > DOT_MAX_PX)[lab]
        ink = ink & ~_shrink(big, LINE_PX)
    # slivers (nowhere 7 px wide) and specks become ink
    white = ~ink
    lab, n = ndi.label(white, structure=four)
    sizes = np.bincount(lab.ravel())
    wide = np.bincount(lab[_shrink(white, 3)].ravel(), minlength=n + 1)
    fill = (sizes < SPECK_PX) | (wide == 0)
    fill[0] = False
    border = np.unique(np.concatenate([lab[0], lab[-1], lab[:, 0], lab[:, -1]]))
    fill[border] = False
    return ink | fill[lab]


def fit_small_screen(ink):
    """Outlines 5 px or wider, and no part too small to hit on a 1366x768 screen: thin ink is
    widened, and a white part (or piece of one) that the reduced page shows under
    pagelib.MIN_SCREEN_PX, or not at all, becomes outline."""
    for _ in range(6):
        before = ink
        ink = ink | ndi.binary_dilation(pagelib.thin(ink), pagelib.DISC)
        screen = pagelib.on_screen(ink)
        lab, keep = pagelib.closed(screen)
        sizes = np.bincount(lab.ravel())
        small = keep & (sizes < pagelib.MIN_SCREEN_PX)
        ink = ink | pagelib.to_page(small[lab], ink.shape)
        # page parts that no all-white screen pixel shows
        plab, pkeep = pagelib.closed(ink)
        seen = np.zeros(len(pkeep), bool)
        ys, xs = pagelib.screen_starts(*ink.shape)
        white = ~pagelib.on_screen(ink)
        seen[plab[np.ix_(ys, xs)][white]] = True
        ink = ink | (pkeep & ~seen)[plab]
        if np.array_equal(ink, before):
            break
    return ink


def page(icon_set, name):
    shapes, w, h = flatten(icon_set, name)
    return fit_small_screen(clean(draw(shapes, w, h)))
