#!/usr/bin/python3
"""Generates the coloring-page archives pak/<theme>.pak from emoji line art.

Needs Debian packages: npm python3-cairosvg python3-numpy python3-scipy python3-pil
Usage: tools/pages/generate.py [--out DIR] [--preview DIR] [--cache DIR] [--only THEME]

The icon sets are fetched with npm at pinned versions into a temporary folder
(or --cache, which must stay out of git); nothing fetched is committed.
Output is byte-for-byte reproducible: no timestamps, fixed render settings.
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile
from multiprocessing import Pool

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
import lineart  # noqa: E402
import pagelib  # noqa: E402

PACKAGES = {
    'streamline-emojis': ('@iconify-json/streamline-emojis', '1.2.4'),    # CC-BY-4.0, main source
    'fluent-emoji-flat': ('@iconify-json/fluent-emoji-flat', '1.2.6'),    # MIT, fills the gaps
}
S, F = 'streamline-emojis', 'fluent-emoji-flat'

# (archive name, [(page name, icon set, icon name), ...]); pages keep this order in the archive.
# Page names are unique over all archives: the program unpacks every archive into one folder.
# The fairytale archive is the "Sky and fairy tale" theme; animals holds pets and the farm, zoo
# the wild animals. Archive names have no spaces: packaging scripts split on them.
THEMES = [
    ('animals', [
        ('cat', S, 'cat-face'), ('dog', S, 'dog-face'), ('cow', S, 'cow'), ('pig', S, 'pig-face'),
        ('horse', S, 'horse-face'), ('rabbit', S, 'rabbit'), ('mouse', S, 'mouse-face'),
        ('sheep', S, 'ewe-1'), ('chick', S, 'baby-chick'), ('goat', S, 'goat'), ('ram', S, 'ram'),
        ('ox', S, 'ox'), ('poodle', S, 'poodle'), ('hamster', F, 'hamster'),
        ('llama', F, 'llama'),
    ]),
    ('zoo', [
        ('bear', S, 'bear-face'), ('panda', S, 'panda-face'), ('koala', S, 'koala'),
        ('lion', S, 'lion-face'), ('tiger', S, 'tiger'), ('fox', S, 'fox-face-1'),
        ('monkey', S, 'monkey'), ('elephant', S, 'elephant'), ('frog', S, 'frog-face'),
        ('camel', F, 'camel'), ('giraffe', F, 'giraffe'), ('zebra', F, 'zebra'),
        ('hippo', F, 'hippopotamus'), ('rhino', F, 'rhinoceros'),
        ('sloth', F, 'sloth'), ('otter', F, 'otter'), ('raccoon', F, 'raccoon'), ('deer', F, 'deer'),
        ('hedgehog', F, 'hedgehog'), ('bat', F, 'bat'), ('beaver', F, 'beaver'), ('wolf', F, 'wolf'),
        ('polar bear', F, 'polar-bear'),
    ]),
    ('dinosaurs', [
        ('long neck dinosaur', F, 'sauropod'), ('t-rex', F, 't-rex'), ('dragon', F, 'dragon'),
        ('dragon head', F, 'dragon-face'), ('crocodile', S, 'crocodile'),
        ('mammoth', F, 'mammoth'), ('volcano', F, 'volcano'),
        ('nest', F, 'nest-with-eggs'), ('dodo', F, 'dodo'),
    ]),
    ('birds', [
        ('bird', F, 'bird'), ('owl', F, 'owl'), ('eagle', F, 'eagle'), ('duck', F, 'duck'),
        ('swan', F, 'swan'), ('parrot', F, 'parrot'), ('flamingo', F, 'flamingo'),
        ('peacock', F, 'peacock'), ('rooster', S, 'rooster'), ('hen', S, 'chicken'),
        ('turkey', F, 'turkey'), ('dove', F, 'dove'), ('goose', F, 'goose'),
        ('blackbird', F, 'blackbird'), ('hatching chick', S, 'hatching-chick-1'),
    ]),
    ('bugs', [
        ('ladybird', S, 'lady-beetle'), ('bee', S, 'honeybee'), ('caterpillar', S, 'bug'),
        ('ant', S, 'ant'), ('butterfly', F, 'butterfly'), ('snail', S, 'snail'),
        ('beetle', F, 'beetle'), ('cricket', F, 'cricket'),
        ('spider web', F, 'spider-web'), ('mosquito', F, 'mosquito'), ('fly', F, 'fly'),
        ('worm', F, 'worm'),
    ]),
    ('sea', [
        ('dolphin', S, 'dolphin'), ('whale', S, 'spouting-whale'), ('fish', S, 'tropical-fish'),
        ('puffer fish', S, 'blowfish'), ('octopus', S, 'octopus'), ('shell', S, 'spiral-shell'),
        ('turtle', S, 'turtle'), ('penguin', S, 'penguin-2'), ('crab', F, 'crab'), ('shark', F, 'shark'),
        ('seal', F, 'seal'), ('jellyfish', F, 'jellyfish'), ('lobster', F, 'lobster'),
        ('anchor', S, 'anchor'), ('ship', F, 'ship'), ('sailboat', S, 'sailboat'),
        ('island', F, 'desert-island'), ('lifebuoy', F, 'ring-buoy'), ('shrimp', F, 'shrimp'),
        ('squid', F, 'squid'), ('coral', F, 'coral'), ('canoe', F, 'canoe'),
    ]),
    ('garden', [
        ('sunflower', S, 'sunflower-1'), ('tulip', S, 'tulip'), ('rose', S, 'rose'), ('flower', S, 'blossom'),
        ('hibiscus', S, 'hibiscus'), ('sprout', S, 'seedling'), ('cactus', S, 'cactus-2'),
        ('clover', S, 'four-leaf-clover'), ('house', S, 'house-with-garden'), ('mushroom', S, 'mushroom'),
        ('carrot', F, 'carrot'), ('potted plant', F, 'potted-plant'),
        ('christmas tree', S, 'christmas-tree'), ('palm tree', S, 'palm-tree'),
        ('tomato', S, 'tomato'),
        ('broccoli', F, 'broccoli'), ('eggplant', F, 'eggplant'), ('pepper', F, 'bell-pepper'),
        ('potato', F, 'potato'),
    ]),
    ('food', [
        ('apple', S, 'red-apple'), ('pear', S, 'pear'), ('cherries', S, 'cherries'), ('grapes', S, 'grapes'),
        ('lemon', S, 'lemon'), ('orange', S, 'tangerine'), ('strawberry', S, 'strawberry-1'),
        ('watermelon', S, 'watermelon-1'), ('banana', F, 'banana'), ('pineapple', F, 'pineapple'),
        ('birthday cake', S, 'birthday-cake-1'), ('ice cream', S, 'soft-ice-cream-1'),
        ('doughnut', S, 'doughnut-1'), ('pizza', S, 'pizza-1'), ('hamburger', S, 'hamburger-1'),
        ('french fries', S, 'french-fries'), ('candy', S, 'candy'), ('honey', S, 'honey-pot'),
        ('bread', F, 'bread'), ('cookie', S, 'cookie'), ('cupcake', F, 'cupcake'),
        ('lollipop', F, 'lollipop'), ('pancakes', F, 'pancakes'), ('cheese', F, 'cheese-wedge'),
        ('hot dog', F, 'hot-dog'), ('popcorn', F, 'popcorn'), ('peach', S, 'peach'),
    ]),
    ('vehicles', [
        ('car', S, 'automobile'), ('bus', S, 'bus'), ('fire engine', S, 'fire-engine'),
        ('ambulance', S, 'ambulance'), ('police car', S, 'oncoming-police-car'), ('taxi', S, 'taxi'),
        ('truck', S, 'delivery-truck'), ('tractor', S, 'tractor'), ('bicycle', S, 'bicycle'),
        ('steam train', S, 'locomotive'), ('tram', S, 'railway-car'), ('airplane', S, 'airplane'),
        ('helicopter', S, 'helicopter'), ('scooter', F, 'kick-scooter'),
        ('pickup truck', F, 'pickup-truck'), ('racing car', F, 'racing-car'),
        ('motorbike', F, 'motorcycle'), ('trolleybus', F, 'trolleybus'), ('minibus', S, 'minibus'),
        ('fast train', S, 'bullet-train'), ('sled', F, 'sled'), ('skateboard', F, 'skateboard'),
        ('small plane', F, 'small-airplane'), ('moped', F, 'motor-scooter'),
    ]),
    ('space', [
        ('rocket', S, 'rocket'), ('flying saucer', F, 'flying-saucer'), ('satellite', F, 'satellite'),
        ('planet', F, 'ringed-planet'), ('astronaut', S, 'astronaut-1'), ('telescope', S, 'telescope'),
        ('comet', F, 'comet'), ('star', F, 'glowing-star'), ('shooting star', F, 'shooting-star'),
        ('moon', S, 'full-moon-face'), ('crescent moon', F, 'crescent-moon'),
        ('earth', F, 'globe-showing-americas'),
        ('satellite dish', S, 'satellite-antenna'),
    ]),
    ('fairytale', [
        ('sun', S, 'sun-with-face'), ('cloud', S, 'cloud-2'), ('rain', S, 'cloud-with-rain-1'),
        ('rainbow', F, 'rainbow'), ('snowflake', S, 'snowflake'), ('thunder cloud', F, 'cloud-with-lightning-and-rain'),
        ('snowman', S, 'snowman'), ('umbrella', S, 'umbrella-with-rain-drops'), ('castle', S, 'castle'),
        ('crown', S, 'crown'), ('prince', S, 'prince-1'), ('princess', S, 'princess-1'),
        ('unicorn', S, 'unicorn-face'), ('magic wand', F, 'magic-wand'),
        ('carousel horse', S, 'carousel-horse'), ('crystal ball', F, 'crystal-ball'),
        ('magic ring', S, 'ring-1'),
    ]),
    ('toys', [
        ('kite', F, 'kite'), ('balloon', F, 'balloon'), ('teddy bear', F, 'teddy-bear'),
        ('present', S, 'wrapped-gift-1'), ('yo-yo', F, 'yo-yo'), ('puzzle', F, 'puzzle-piece'),
        ('robot', F, 'robot'), ('nesting dolls', F, 'nesting-dolls'), ('football', F, 'soccer-ball'),
        ('basketball', S, 'basketball'), ('dice', S, 'game-dice'), ('drum', F, 'drum'),
        ('guitar', S, 'guitar'), ('trumpet', S, 'trumpet'), ('violin', S, 'violin'),
        ('saxophone', S, 'saxophone'), ('maracas', F, 'maracas'), ('accordion', F, 'accordion'),
        ('crayon', F, 'crayon'), ('roller skate', F, 'roller-skate'),
    ]),
]


def fetch(cache):
    os.makedirs(cache, exist_ok=True)
    wanted = [f'{pkg}@{ver}' for pkg, ver in PACKAGES.values()]
    missing = [p for p in PACKAGES.values() if _installed(cache, p[0]) != p[1]]
    if missing:
        subprocess.run(['npm', 'install', '--prefix', cache, '--no-save', '--no-package-lock',
                        '--ignore-scripts', '--no-audit', '--no-fund', *wanted], check=True,
                       stdout=subprocess.DEVNULL)
    sets = {}
    for key, (pkg, ver) in PACKAGES.items():
        got = _installed(cache, pkg)
        if got != ver:
            sys.exit(f'{pkg}: wanted {ver}, npm installed {got}')
        with open(os.path.join(cache, 'node_modules', pkg, 'icons.json'), encoding='utf-8') as f:
            sets[key] = json.load(f)
    return sets


def _installed(cache, pkg):
    try:
        with open(os.path.join(cache, 'node_modules', pkg, 'package.json'), encoding='utf-8') as f:
            return json.load(f).get('version')
    except OSError:
        return None


_SETS = None


def _init(sets):
    global _SETS
    _SETS = sets


def _make(job):
    page_name, set_key, icon = job
    ink = lineart.page(_SETS[set_key], icon)
    problems, stats = pagelib.gate(ink)
    return page_name, ink, problems, stats


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('--out', default=os.path.join(ROOT, 'pak'))
    ap.add_argument('--cache', help='keep the npm packages here between runs (not in git)')
    ap.add_argument('--preview', help='also write each page as PNG into this folder')
    ap.add_argument('--only', help='build one theme only')
    ap.add_argument('--jobs', type=int, default=os.cpu_count() or 1)
    args = ap.parse_args()

    with tempfile.TemporaryDirectory(prefix='pictaro-pages-') as tmp:
        sets = fetch(args.cache or os.path.join(tmp, 'npm'))
        os.makedirs(args.out, exist_ok=True)
        failed = []
        with Pool(args.jobs, initializer=_init, initargs=(sets,)) as pool:
            for theme, subjects in THEMES:
                if args.only and args.only != theme:
                    continue
                files = []
                bad = False
                for page_name, ink, problems, stats in pool.imap(_make, subjects):
                    print(f'{theme}/{page_name}: {stats["regions"]} regions, '
                          f'{stats["black"]:.1%} black' + (' FAIL: ' + '; '.join(problems) if problems else ''))
                    if problems:
                        failed.append(f'{theme}/{page_name}')
                        bad = True
                        continue
                    path = os.path.join(tmp, page_name + '.bmp')
                    with open(path, 'wb') as f:
                        f.write(pagelib.encode_bmp(ink))
                    files.append(path)
                    if args.preview:
                        _preview(ink, os.path.join(args.preview, theme, page_name + '.png'))
                if not bad:  # a theme with a failing page keeps its old archive
                    subprocess.run([sys.executable, os.path.join(ROOT, 'tools', 'makepak.py'),
                                    os.path.join(args.out, theme + '.pak'), *files], check=True)
                for path in files:
                    os.remove(path)
        if failed:
            sys.exit('pages failing the quality gate: ' + ', '.join(failed))


def _preview(ink, path):
    from PIL import Image
    os.makedirs(os.path.dirname(path), exist_ok=True)
    Image.fromarray(np.where(ink, 0, 255).astype(np.uint8)).convert('1').save(path, optimize=True)


if __name__ == '__main__':
    main()
