#!/usr/bin/python3
"""Tests for artkit.py, the helpers both art generators draw and write with.

Needs Debian packages: python3, python3-pil, python3-numpy.
Run:  /usr/bin/python3 tools/art/test_artkit.py
"""
import os
import sys
import tempfile
import unittest

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import artkit  # noqa: E402


class Downsampling(unittest.TestCase):
    def test_mode_down_keeps_only_drawn_colours_and_majority_wins(self):
        big = Image.new("RGBA", (8, 4), (0, 0, 0, 0))
        px = big.load()
        for x in range(4):                      # left block: 12 red, 4 blue
            for y in range(4):
                px[x, y] = (255, 0, 0, 255) if y < 3 else (0, 0, 255, 255)
        px[4, 0] = (0, 255, 0, 255)             # right block: one green on clear
        out = np.asarray(artkit.mode_down(big, 4))
        self.assertEqual(tuple(out[0, 0]), (255, 0, 0, 255))
        self.assertEqual(out[0, 1, 3], 0)

    def test_reduce_rgba_edge_keeps_its_colour_and_clear_pixels_are_zero(self):
        big = Image.new("RGBA", (8, 4), (0, 0, 255, 0))  # clear, but blue underneath
        big.paste((200, 40, 10, 255), (0, 0, 2, 4))  # half of the left block covered
        big.putpixel((4, 0), (90, 90, 90, 1))  # a trace too faint to survive: the pixel stays all zero
        out = np.asarray(artkit.reduce_rgba(big, 4))
        # averaging without premultiplying would let the clear pixels' blue into the edge
        self.assertEqual(tuple(out[0, 0]), (200, 40, 10, 128))
        self.assertEqual(tuple(out[0, 1]), (0, 0, 0, 0))

    def test_reduce_rgb_averages_each_block(self):
        big = Image.new("RGB", (4, 2), (0, 0, 0))
        big.paste((100, 200, 50), (0, 0, 1, 2))
        self.assertEqual(artkit.reduce_rgb(big, 2).getpixel((0, 0)), (50, 100, 25))


class Shapes(unittest.TestCase):
    def test_bezier_runs_from_first_to_last_point(self):
        for ctrl in (((0, 0), (10, 20), (30, 0)), ((0, 0), (10, 20), (20, -20), (30, 0))):
            pts = artkit.bezier(*ctrl, n=8)
            self.assertEqual(len(pts), 9)
            self.assertEqual(pts[0], ctrl[0])
            self.assertEqual(pts[-1], ctrl[-1])
        self.assertEqual(artkit.bezier((0, 0), (10, 20), (30, 0), n=2)[1], (12.5, 10.0))

    def test_rrect_radius_shrinks_to_fit_a_narrow_box(self):
        pts = artkit.rrect_pts(0, 0, 40, 6, 10, n=8)
        self.assertEqual(len(pts), 4 * 9)
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]
        self.assertAlmostEqual(min(ys), 0)
        self.assertAlmostEqual(max(ys), 6)
        self.assertAlmostEqual(min(xs), 0)
        self.assertAlmostEqual(max(xs), 40)

    def test_rotate_and_ellipse_agree(self):
        turned = artkit.rotate(artkit.ellipse_pts(5, 5, 4, 2, n=4), 90, 5, 5)
        for got, want in zip(turned, artkit.ellipse_pts(5, 5, 4, 2, rot=90, n=4)):
            self.assertAlmostEqual(got[0], want[0])
            self.assertAlmostEqual(got[1], want[1])
        self.assertAlmostEqual(turned[0][0], 5)
        self.assertAlmostEqual(turned[0][1], 9)

    def test_area_sign_follows_the_winding(self):
        square = [(0, 0), (2, 0), (2, 2), (0, 2)]
        self.assertEqual(artkit.area(square), 4)
        self.assertEqual(artkit.area(square[::-1]), -4)

    def test_shade_darkens_and_lightens(self):
        c = (100, 50, 200)
        self.assertEqual(artkit.shade(c, 1), c)
        self.assertEqual(artkit.shade(c, 0.5), (50, 25, 100))
        self.assertEqual(artkit.shade(c, 2), (255, 255, 255))
        self.assertEqual(artkit.rgba((1, 2, 3, 4)), (1, 2, 3, 4))
        self.assertEqual(artkit.rgba((1, 2, 3)), (1, 2, 3, 255))


class Output(unittest.TestCase):
    GROUPS = ["a", "b", "c"]

    def test_parse_args(self):
        self.assertEqual(artkit.parse_args([], self.GROUPS), (artkit.RESOURCES, self.GROUPS))
        self.assertEqual(artkit.parse_args(["c", "--out", "/x", "a"], self.GROUPS), ("/x", ["a", "c"]))
        for bad in (["--out"], ["d"], ["a", "--out"]):
            with self.assertRaises(SystemExit, msg=str(bad)):
                artkit.parse_args(bad, self.GROUPS)

    def test_write_qrc_lists_every_file_under_its_own_alias(self):
        with tempfile.TemporaryDirectory() as tmp:
            artkit.write_qrc(tmp, "stamps", "/stamps", ["leaf_0.png", "leaf_1.png"])
            with open(os.path.join(tmp, "stamps.qrc"), "rb") as f:
                text = f.read().decode()
        self.assertNotIn("\r", text)
        self.assertIn('<qresource prefix="/stamps">', text)
        self.assertIn('    <file alias="leaf_1.png">stamps/leaf_1.png</file>\n', text)

    def test_regenerated_differences_names_changed_and_missing_files(self):
        with tempfile.TemporaryDirectory() as tmp:
            res = os.path.join(tmp, "res")
            os.makedirs(os.path.join(res, "d"))
            for name, data in (("same", b"1"), ("changed", b"2"), ("d/gone", b"3")):
                with open(os.path.join(res, name), "wb") as f:
                    f.write(data)
            gen = os.path.join(tmp, "gen.py")
            with open(gen, "w") as f:
                f.write("import os, sys\nout = sys.argv[2]\n"
                        "open(os.path.join(out, 'same'), 'wb').write(b'1')\n"
                        "open(os.path.join(out, 'changed'), 'wb').write(b'X')\n")
            differ = artkit.regenerated_differences(gen, ["same", "changed", "d/gone"], res)
        self.assertEqual(differ, ["changed", "d/gone"])


if __name__ == "__main__":
    unittest.main()
