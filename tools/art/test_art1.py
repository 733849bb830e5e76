#!/usr/bin/python3
"""Tests for the art-set-1 generator's helpers and checks.

Needs Debian packages: python3, python3-pil, python3-numpy.
Run:  /usr/bin/python3 tools/art/test_art1.py
"""
import io
import os
import sys
import unittest

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_art1  # noqa: E402
import make_art1 as art  # noqa: E402


def png_bytes(img):
    buf = io.BytesIO()
    img.save(buf, "PNG", optimize=True)
    return buf.getvalue()


class HardEdges(unittest.TestCase):
    def test_drawn_circle_has_no_blended_pixels(self):
        p = art.Pen(20, 20)
        p.shape(art.circle_pts(10, 10, 7), (10, 200, 30))
        a = np.asarray(p.hard())
        colours = {tuple(c) for c in a.reshape(-1, 4) if c[3]}
        self.assertEqual(colours, {(10, 200, 30, 255), art.OL + (255,)})
        self.assertTrue(set(np.unique(a[..., 3])) <= {0, 255})

    def test_fitted_shrinks_an_oversized_drawing_inside_the_margin(self):
        p = art.Pen(30, 20, pad=10)
        p.fill([(-8, -8), (38, -8), (38, 28), (-8, 28)], (90, 90, 200))
        a = np.asarray(p.fitted(2))[..., 3]
        self.assertFalse(a[:2].any() or a[-2:].any() or a[:, :2].any() or a[:, -2:].any())
        ys, xs = np.nonzero(a)
        self.assertEqual((ys.min(), ys.max()), (2, 17))      # height limits the scale
        self.assertLessEqual(abs(xs.min() - (29 - xs.max())), 1)  # centred across


class Checks(unittest.TestCase):
    def test_flood_does_not_cross_diagonals(self):
        rgb = np.zeros((3, 3, 3), np.uint8)
        rgb[0, 0] = rgb[1, 1] = rgb[2, 2] = (248, 72, 112)
        self.assertEqual(check_art1.flood(rgb, (1, 1), (248, 72, 112)), [(1, 1)])

    def test_cursor_check_rejects_stray_key_pixel_and_bad_mask(self):
        colour, mask = art.cursor_pair(art.draw_spray_can())
        _, hot, keys = check_art1.CURSORS["cursor_spray"]
        check_art1.check_cursor("cursor_spray", colour, mask, hot, keys)
        stray = colour.copy()
        stray.putpixel((60, 130), art.KEY_PINK)
        with self.assertRaises(AssertionError):
            check_art1.check_cursor("cursor_spray", stray, mask, hot, keys)
        holes = mask.copy()
        holes.putpixel((60, 120), (255, 255, 255))
        with self.assertRaises(AssertionError):
            check_art1.check_cursor("cursor_spray", colour, holes, hot, keys)

    def test_stamp_check_rejects_key_breaking_pixels(self):
        p = art.Pen(*check_art1.STAMP_SIZE, pad=16)
        art.heart_red(p)
        good = p.fitted(2)
        check_art1.check_stamp("s", good)
        for xy, value in (((58, 50), (255, 255, 255, 255)), ((58, 50), (0, 0, 0, 255)),
                          ((58, 50), (200, 0, 0, 128)), ((0, 50), (200, 0, 0, 255))):
            bad = good.copy()
            bad.putpixel(xy, value)
            with self.assertRaises(AssertionError, msg=str(value)):
                check_art1.check_stamp("s", bad)


class Chart(unittest.TestCase):
    def test_rows_are_555_and_grey_ramp_runs_white_to_near_black(self):
        rows = art.chart_rows()
        self.assertEqual([len(r) for r in rows], [30, 30, 30, 30])
        for row in rows:
            for c in row:
                self.assertEqual(c, art.q555(c))
        self.assertEqual(rows[1][0], (255, 255, 255))
        self.assertEqual(rows[1][-1], (8, 8, 8))
        self.assertEqual(len(set(rows[0])), 30)


class Determinism(unittest.TestCase):
    def test_same_bytes_twice(self):
        for make in (lambda: art.cursor_pair(art.draw_brush())[0],
                     lambda: art.draw_blot((255, 128, 0), face=True),
                     art.draw_chart):
            self.assertEqual(png_bytes(make()), png_bytes(make()))


if __name__ == "__main__":
    unittest.main()
