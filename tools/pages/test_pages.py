#!/usr/bin/python3
"""Tests for the page tools. Run: python3 -m unittest discover -s tools/pages -p 'test_*.py'"""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

import numpy as np
from scipy import ndimage as ndi

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.dirname(HERE)
sys.path.insert(0, HERE)
sys.path.insert(0, TOOLS)
import check_pages  # noqa: E402
import lineart  # noqa: E402
import makepak  # noqa: E402
import pagelib  # noqa: E402


def boxes(n, size=(300, 400), side=40, line=6):
    """A page with n outlined squares in a row."""
    ink = np.zeros(size, bool)
    for k in range(n):
        x = 10 + k * (side + 2 * line + 10)
        ink[50:50 + side + 2 * line, x:x + side + 2 * line] = True
        ink[50 + line:50 + line + side, x + line:x + line + side] = False
    if line >= 5:  # round the square corners off, as drawn lines are
        ink |= ndi.binary_dilation(pagelib.thin(ink), pagelib.DISC)
    return ink


class PakFormat(unittest.TestCase):
    def test_layout_is_exact(self):
        blob = makepak.pack([('cat.bmp', b'AB'), ('fire engine.bmp', b'')])
        want = (struct.pack('<H', 7) + b'cat.bmp' + struct.pack('<I', 2) + b'AB'
                + struct.pack('<H', 15) + b'fire engine.bmp' + struct.pack('<I', 0))
        self.assertEqual(blob, want)
        self.assertEqual(makepak.unpack(blob), [('cat.bmp', b'AB'), ('fire engine.bmp', b'')])

    def test_names_are_windows_1251(self):
        blob = makepak.pack([('кот.bmp', b'x')])
        self.assertEqual(blob[2:2 + 7], 'кот.bmp'.encode('cp1251'))
        self.assertEqual(makepak.unpack(blob)[0][0], 'кот.bmp')
        with self.assertRaises(makepak.PakError):
            makepak.pack([('猫.bmp', b'x')])

    def test_bad_names_refused(self):
        for name in ('', 'a\\b.bmp', 'c:d.bmp', 'x/y.bmp'):
            with self.subTest(name=name), self.assertRaises(makepak.PakError):
                makepak.pack([(name, b'x')])
        with self.assertRaises(makepak.PakError):
            makepak.pack([('a.bmp', b'1'), ('a.bmp', b'2')])

    def test_damaged_archive_detected(self):
        blob = makepak.pack([('a.bmp', b'12345')])
        for cut in (1, 5, len(blob) - 1):
            with self.subTest(cut=cut), self.assertRaises(makepak.PakError):
                makepak.unpack(blob[:cut])

    def test_cli_keeps_order_and_base_names(self):
        with tempfile.TemporaryDirectory() as d:
            paths = []
            for name, data in (('zebra.bmp', b'zz'), ('ant.bmp', b'a'), ('fire engine.bmp', b'fe')):
                paths.append(os.path.join(d, name))
                with open(paths[-1], 'wb') as f:
                    f.write(data)
            out = os.path.join(d, 't.pak')
            run = subprocess.run([sys.executable, os.path.join(TOOLS, 'makepak.py'), out, *paths],
                                 capture_output=True)
            self.assertEqual(run.returncode, 0, run.stderr)
            with open(out, 'rb') as f:
                got = makepak.unpack(f.read())
            self.assertEqual(got, [('zebra.bmp', b'zz'), ('ant.bmp', b'a'), ('fire engine.bmp', b'fe')])
            bad = os.path.join(d, 'a:b.bmp')
            with open(bad, 'wb') as f:
                f.write(b'x')
            run = subprocess.run([sys.executable, os.path.join(TOOLS, 'makepak.py'), out, bad],
                                 capture_output=True)
            self.assertNotEqual(run.returncode, 0)


class Bitmap(unittest.TestCase):
    def test_round_trip_with_row_padding(self):
        rng = np.random.default_rng(1)
        for w in (1, 31, 32, 33, 1125):
            ink = rng.random((7, w)) < 0.5
            with self.subTest(width=w):
                data = pagelib.encode_bmp(ink)
                back, palette = pagelib.decode_bmp(data)
                self.assertTrue(np.array_equal(back, ink))
                self.assertEqual(palette, [(0, 0, 0), (255, 255, 255)])
                self.assertEqual(len(data), 62 + 7 * ((w + 31) // 32) * 4)

    def test_header_is_plain_1bit(self):
        data = pagelib.encode_bmp(np.zeros((3, 5), bool))
        size, w, h, planes, bpp, comp = struct.unpack_from('<IiiHHI', data, 14)
        self.assertEqual((size, w, h, planes, bpp, comp), (40, 5, 3, 1, 1, 0))
        self.assertEqual(struct.unpack_from('<I', data, 2)[0], len(data))

    def test_top_row_is_stored_last(self):
        ink = np.zeros((2, 8), bool)
        ink[0] = True
        data = pagelib.encode_bmp(ink)
        self.assertEqual(data[62:66], b'\xff\x00\x00\x00')  # bottom row, white
        self.assertEqual(data[66:70], b'\x00\x00\x00\x00')  # top row, black

    def test_foreign_bitmaps_rejected(self):
        data = bytearray(pagelib.encode_bmp(np.zeros((2, 2), bool)))
        grey = bytes(data[:58]) + bytes((128, 128, 128, 0)) + bytes(data[62:])
        with self.assertRaises(ValueError):
            pagelib.decode_bmp(grey)
        data[28] = 8
        with self.assertRaises(ValueError):
            pagelib.decode_bmp(bytes(data))


class Gate(unittest.TestCase):
    def test_counts_closed_regions_only(self):
        self.assertEqual(pagelib.gate(boxes(3))[0], [])
        problems, stats = pagelib.gate(boxes(2))
        self.assertEqual(stats['regions'], 2)
        self.assertTrue(problems)

    def test_diagonal_gap_does_not_join_regions(self):
        # two boxes whose walls touch only corner to corner stay separate for a 4-connected fill
        ink = boxes(3)
        ink[150:160, 150:160] = True
        ink[160:170, 160:170] = True
        ink[150:160, 160:170] = False
        self.assertEqual(pagelib.gate(ink)[1]['regions'], 3)

    def test_parts_too_small_on_a_small_screen(self):
        # a 1125x1500 page is reduced 2.6 times at 1366x768: 40 px boxes stay 15 px wide there,
        # 25 px boxes shrink to 8 or 9 px, under 150 px of area
        page = (1125, 1500)
        self.assertEqual(pagelib.gate(boxes(3, size=page))[0], [])
        problems, stats = pagelib.gate(boxes(3, size=page, side=25))
        self.assertEqual(stats['regions'], 3)
        self.assertLess(stats['smallest'], pagelib.MIN_SCREEN_PX)
        self.assertTrue(any('under 150 px' in p for p in problems))

    def test_thin_outline_flagged(self):
        page = (1125, 1500)
        problems, _ = pagelib.gate(boxes(3, size=page, line=4))
        self.assertTrue(any('under 5 px wide' in p for p in problems))
        ink = boxes(3, size=page, line=5)
        self.assertEqual(pagelib.thin(ink).sum(), 0)
        ink[100:104, 700:900] = True  # a 4 px stroke on its own
        self.assertEqual(pagelib.thin(ink).sum(), 4 * 200)

    def test_reduction_keeps_a_one_pixel_line(self):
        ink = np.zeros((1125, 1500), bool)
        ink[101, 100:1400] = ink[1001, 100:1400] = True
        ink[101:1002, 100] = ink[101:1002, 1399] = True
        for y in range(101, 1002):
            ink[y, y + 203] = True  # 1 px diagonal cutting the box in two
        screen = pagelib.on_screen(ink)
        self.assertEqual(screen.shape, (430, 573))
        self.assertEqual(len(pagelib.regions(screen)), 2)
        picked = ink[np.ix_(*pagelib.screen_starts(1125, 1500))]
        self.assertLess(len(pagelib.regions(picked)), 2, 'picking alone opens the lines')

    def test_border_regions_ignored(self):
        ink = boxes(4)
        ink[:, 10:16] = False  # open the first box's left wall to the page edge region
        ink[50:102, 0:10] = False
        self.assertEqual(pagelib.gate(ink)[1]['regions'], 3)

    def test_too_much_ink(self):
        ink = boxes(3)
        ink[200:, :] = True
        problems, stats = pagelib.gate(ink)
        self.assertGreater(stats['black'], pagelib.MAX_BLACK)
        self.assertTrue(any('black' in p for p in problems))

    def test_checker_flags_wrong_size_and_name(self):
        data = pagelib.encode_bmp(boxes(3))
        problems, _ = check_pages.check_page('кот.png', data)
        self.assertIn('long side 400 px', problems)
        self.assertIn('non-ASCII name', problems)
        self.assertIn('not a .bmp name', problems)


class Cleanup(unittest.TestCase):
    def test_specks_and_slivers_become_ink(self):
        ink = boxes(3, size=(300, 600))
        ink[200:230, 100:130] = True
        ink[210:218, 110:118] = False      # 64 px speck
        ink[240:250, 200:500] = True
        ink[244:247, 210:490] = False      # 3 px wide sliver, long enough to be big
        out = lineart.clean(ink)
        self.assertTrue(out[200:230, 100:130].all())
        self.assertTrue(out[240:250, 200:500].all())
        self.assertEqual(pagelib.gate(out)[1]['regions'], 3)

    def test_blob_hollowed_but_pupil_kept(self):
        ink = np.zeros((400, 400), bool)
        ink[50:250, 50:250] = True                  # solid mass
        y, x = np.ogrid[:400, :400]
        pupil = (y - 320) ** 2 + (x - 320) ** 2 <= 25 ** 2
        ink |= pupil
        out = lineart.clean(ink)
        self.assertFalse(out[150, 150])
        self.assertTrue(out[50:56, 50:250].all())   # the mass keeps an outline
        self.assertTrue(out[pupil].all())

    def test_dots_keep_round_pieces_only(self):
        region = np.zeros((200, 400), bool)
        y, x = np.ogrid[:200, :400]
        region |= (y - 50) ** 2 + (x - 50) ** 2 <= 30 ** 2
        region[20:80, 200:260] = True               # square: a part, not a pupil
        kept = lineart._dots(region)
        self.assertTrue(kept[50, 50])
        self.assertFalse(kept[50, 230])


def circle(cx, cy, r):
    return f'M{cx - r} {cy}a{r} {r} 0 1 0 {2 * r} 0a{r} {r} 0 1 0 {-2 * r} 0'


FACE = {'width': 48, 'height': 48, 'icons': {'face': {'body': (
    f'<path fill="#45413c" opacity=".15" d="M4 46h40v1H4z"/>'              # cast shadow
    f'<defs><path id="ring" fill="none" stroke="#45413c" d="{circle(24, 24, 18)}"/></defs>'
    f'<path fill="#fc9" d="{circle(24, 24, 18)}"/>'                         # base, outlined by the ring
    f'<path fill="#ffe8d1" d="M6 24a18 18 0 0 1 36 0Z"/>'                   # highlight: upper half
    f'<use href="#ring"/>'
    f'<path fill="#ff866e" d="{circle(24, 32, 4)}"/>'                       # nose, a part of its own
    f'<path fill="#45413c" d="{circle(17, 20, 1.5)}"/>')}}}                 # pupil


class SmallScreen(unittest.TestCase):
    def test_fit_widens_lines_and_merges_small_parts(self):
        ink = boxes(3, size=(1125, 1500), side=120, line=3)
        ink[600:640, 600:640] = True
        ink[603:637, 603:637] = False      # a 34 px box: 13 px on the small screen
        out = lineart.fit_small_screen(ink)
        self.assertEqual(pagelib.gate(out)[0], [])
        self.assertTrue(out[603:637, 603:637].all())
        self.assertEqual(len(pagelib.regions(out)), 3)
        self.assertFalse(out[50 + 60, 10 + 60], 'a big box stays white inside')


class LineArt(unittest.TestCase):
    def test_flatten_drops_shadow_and_expands_use(self):
        shapes, w, h = lineart.flatten(FACE, 'face')
        self.assertEqual((w, h), (48, 48))
        self.assertEqual(len(shapes), 5)
        self.assertEqual([s.get('stroke') for s in shapes].count('#45413c'), 1)

    def test_face_page(self):
        shapes, w, h = lineart.flatten(FACE, 'face')
        size, vb, scale = lineart.layout(shapes, w, h)
        ink = lineart.page(FACE, 'face')
        self.assertEqual(ink.shape, (size[1], size[0]))

        def at(x, y):
            return ink[int((y - vb[1]) * scale), int((x - vb[0]) * scale)]
        self.assertTrue(at(17, 20), 'pupil stays solid')
        self.assertTrue(at(24, 6), 'outline')
        self.assertTrue(at(24, 28), 'nose outlined')
        self.assertFalse(at(24, 32), 'nose is white inside')
        self.assertFalse(at(12, 24), 'no line where the highlight ends')
        sizes = pagelib.regions(ink)
        self.assertEqual(int((sizes >= 400).sum()), 2)  # face and nose
        self.assertEqual(set(np.unique(ink)), {False, True})


if __name__ == '__main__':
    unittest.main()
