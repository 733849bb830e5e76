#!/usr/bin/python3
"""Reads page archives back and checks every page.

Needs Debian packages: python3-numpy python3-scipy
Usage: tools/pages/check_pages.py [PAK...]   (default: pak/*.pak, the bundled set)

A page passes when it is an uncompressed 1-bit BMP with a pure black/white
palette, its long side is 1400-1600 px, its outlines are 5 px or wider, it is at
most 20 % black, and laid out on a 1366x768 screen (reduced as the program does)
it has at least three closed white regions (4-connected, the border region not
counted), none under 150 screen pixels. Page names are unique over all
archives, there are at least 200 pages in at least 10 archives, and the archives
together stay under 50 MB.
"""
import glob
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(ROOT, 'tools'))
import makepak  # noqa: E402
import pagelib  # noqa: E402

MAX_TOTAL = 50 * 1000 * 1000
MIN_PAGES = 200
MIN_ARCHIVES = 10
LONG_SIDE = (1400, 1600)


def check_page(name, data):
    """Returns (problems, stats) for one archive entry."""
    problems = []
    if not name.lower().endswith('.bmp'):
        problems.append('not a .bmp name')
    if not name.isascii():
        problems.append('non-ASCII name')
    try:
        black, _ = pagelib.decode_bmp(data)
    except ValueError as e:
        return problems + [str(e)], {}
    long_side = max(black.shape)
    if not LONG_SIDE[0] <= long_side <= LONG_SIDE[1]:
        problems.append(f'long side {long_side} px')
    gate_problems, stats = pagelib.gate(black)
    stats['size'] = black.shape[::-1]
    return problems + gate_problems, stats


def main(argv):
    paks = argv[1:] or sorted(glob.glob(os.path.join(ROOT, 'pak', '*.pak')))
    if not paks:
        print('no archives found', file=sys.stderr)
        return 1
    bad = 0          # failed pages
    broken = 0       # archive-level failures
    total = 0
    pages = 0
    min_regions = None
    max_black = 0.0
    names = {}  # page name -> archive: the program unpacks every archive into one folder
    for pak in paks:
        if ' ' in os.path.basename(pak):
            print(f'FAIL {pak}: a space in an archive name (packaging splits on it)')
            broken += 1
        with open(pak, 'rb') as f:
            blob = f.read()
        total += len(blob)
        try:
            entries = makepak.unpack(blob)
        except makepak.PakError as e:
            print(f'FAIL {pak}: {e}')
            broken += 1
            continue
        for name, data in entries:
            problems, stats = check_page(name, data)
            if name.lower() in names:
                problems.append(f'name also in {names[name.lower()]}')
            names.setdefault(name.lower(), os.path.basename(pak))
            pages += 1
            if stats:
                min_regions = stats['regions'] if min_regions is None else min(min_regions, stats['regions'])
                max_black = max(max_black, stats['black'])
            if problems:
                bad += 1
                print(f'FAIL {os.path.basename(pak)}/{name}: ' + '; '.join(problems))
        print(f'{os.path.basename(pak)}: {len(entries)} pages, {len(blob) / 1e6:.2f} MB')
    if total >= MAX_TOTAL:
        print(f'FAIL total size {total / 1e6:.2f} MB')
        broken += 1
    if len(argv) == 1 and (pages < MIN_PAGES or len(paks) < MIN_ARCHIVES):  # the bundled set
        print(f'FAIL {pages} pages in {len(paks)} archives, want {MIN_PAGES}+ in {MIN_ARCHIVES}+')
        broken += 1
    print(f'{pages} pages, {total / 1e6:.2f} MB, fewest regions {min_regions}, most black {max_black:.1%}')
    print(f'{pages - bad} passed, {bad} failed')
    return 1 if bad or broken else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
