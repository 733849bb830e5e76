#!/usr/bin/python3
"""Opens pages of the gallery in headless Chromium, driven over its DevTools pipe (no
display, no library beyond Python's own), at a phone's and a desktop's size. For each page:
a screenshot when asked, the bytes the page cost, and the boxes of its tiles, captions and
names, which are checked: no caption leaves its tile or overlaps its picture, tiles do not
overlap, a name keeps its age after it, and the grid fills the screen. Exits 1 on a failure.
Usage: browser.py <shots-folder-or-""> <authorization-or-""> <name>=<url>..."""
import base64
import fcntl
import json
import os
import subprocess
import sys
import time

VIEWS = {"phone": (390, 844, 3, True), "desktop": (1280, 900, 1, False)}

# Resolves once every picture on the screen is in (lazy ones below it never load).
LOADED = r"""Promise.all([...document.images].filter(i => i.getBoundingClientRect().top < innerHeight)
  .map(i => i.complete ? 0 : new Promise(r => { i.onload = i.onerror = r; })))
  .then(() => new Promise(r => setTimeout(r, 300)))"""

BOXES = r"""(() => {
  const box = e => { const r = e.getBoundingClientRect();
                     return {l: r.left, t: r.top, r: r.right, b: r.bottom}; };
  const tiles = [...document.querySelectorAll('li')].map(li => {
    const cap = li.querySelector('figcaption'), img = li.querySelector('img');
    const style = getComputedStyle(cap);
    const lines = cap.querySelector('.child').getClientRects(); // a wrapped name: its last line
    return {li: box(li), cap: box(cap), img: box(img), child: box({getBoundingClientRect: () => lines[lines.length - 1]}),
            age: box(cap.querySelector('.age')), clipped: style.overflowY !== 'visible',
            wide: cap.scrollWidth - cap.clientWidth, src: img.currentSrc, dense: img.srcset !== '',
            text: cap.textContent};
  });
  const fig = document.querySelector('figure.picture');
  return {tiles, width: innerWidth, page: fig ? {fig: box(fig), cap: box(fig.querySelector('figcaption')),
          img: box(fig.querySelector('img')), text: fig.querySelector('figcaption').textContent,
          back: !!document.querySelector('.back a[href="/baby.php"]')} : null,
          overflow: document.documentElement.scrollWidth - innerWidth};
})()"""


class Chromium:
    def __init__(self):
        # Chromium reads commands from descriptor 3 and answers on 4.
        def high(fd):
            moved = fcntl.fcntl(fd, fcntl.F_DUPFD, 10)
            os.close(fd)
            return moved
        commands, self.write_fd = map(high, os.pipe())
        self.read_fd, answers = map(high, os.pipe())

        def descriptors():
            os.dup2(commands, 3)
            os.dup2(answers, 4)
        self.proc = subprocess.Popen(
            ["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
             "--no-first-run", "--remote-debugging-pipe", "--user-data-dir=" + os.environ["BROWSER_PROFILE"]],
            preexec_fn=descriptors, close_fds=False, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(commands)
        os.close(answers)
        self.next_id = 0
        self.buffer = b""
        self.events = []

    def send(self, method, session=None, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self.write_fd, json.dumps(message).encode() + b"\0")
        while True:
            reply = self.read()
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply["result"]
            self.events.append(reply)

    def read(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.read_fd, 1 << 20)
            if not chunk:
                raise RuntimeError("Chromium closed its pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def wait_for(self, method, seconds):
        end = time.time() + seconds
        while time.time() < end:
            for i, e in enumerate(self.events):
                if e.get("method") == method:
                    del self.events[i]
                    return e
            self.events.append(self.read())
        raise RuntimeError(f"no {method} within {seconds} s")


def overlap(a, b):
    return min(a["r"], b["r"]) - max(a["l"], b["l"]) > 1 and min(a["b"], b["b"]) - max(a["t"], b["t"]) > 1


def inside(a, b):
    return a["l"] >= b["l"] - 1 and a["r"] <= b["r"] + 1 and a["t"] >= b["t"] - 1 and a["b"] <= b["b"] + 1


def check_tiles(view, name, boxes, fail):
    tiles = boxes["tiles"]
    if boxes["overflow"] > 0:
        fail(f"{view} {name}: the page is {boxes['overflow']} px wider than the screen")
    for i, t in enumerate(tiles):
        what = f"{view} {name}: caption {t['text']!r}"
        if not inside(t["cap"], t["li"]):
            fail(f"{what} leaves its tile {t['cap']} {t['li']}")
        if t["img"]["b"] > t["cap"]["t"] + 1:
            fail(f"{what} overlaps its picture")
        if t["wide"] > 0 or not t["clipped"]:
            fail(f"{what} runs over its box (by {t['wide']} px, clipped: {t['clipped']})")
        if t["age"]["t"] >= t["child"]["t"] - 1 and t["age"]["t"] < t["child"]["b"] - 1 and t["age"]["l"] < t["child"]["r"] - 1:
            fail(f"{what}: the age comes before the name")
        for u in tiles[i + 1:]:
            if overlap(t["li"], u["li"]):
                fail(f"{what} overlaps the tile of {u['text']!r}")
    rows = {}
    for t in tiles:
        rows.setdefault(round(t["li"]["t"]), []).append(t)
    first = max(rows.values(), key=len) if rows else []
    filled = sum(t["li"]["r"] - t["li"]["l"] for t in first) / boxes["width"]
    return len(first), filled


def main():
    shots, auth, pages = sys.argv[1], sys.argv[2], [a.split("=", 1) for a in sys.argv[3:]]
    failures = []

    def fail(what):
        failures.append(what)
        print("FAIL:", what, flush=True)

    browser = Chromium()
    try:
        for view, (width, height, scale, mobile) in VIEWS.items():
            target = browser.send("Target.createTarget", url="about:blank")["targetId"]
            session = browser.send("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
            browser.send("Page.enable", session)
            browser.send("Network.enable", session)
            browser.send("Network.setCacheDisabled", session, cacheDisabled=True)
            browser.send("Emulation.setDeviceMetricsOverride", session, width=width, height=height,
                         deviceScaleFactor=scale, mobile=mobile)
            if auth:
                browser.send("Network.setExtraHTTPHeaders", session, headers={"Authorization": auth})
            for name, url in pages:
                browser.events.clear()
                browser.send("Page.navigate", session, url=url)
                browser.wait_for("Page.loadEventFired", 20)
                browser.send("Runtime.evaluate", session, expression=LOADED, awaitPromise=True)
                weight = sum(e["params"]["encodedDataLength"] for e in browser.events
                             if e.get("method") == "Network.loadingFinished")
                count = sum(1 for e in browser.events if e.get("method") == "Network.loadingFinished")
                pictures = sum(1 for e in browser.events if e.get("method") == "Network.requestWillBeSent"
                               and ".jpg" in e["params"]["request"]["url"])
                boxes = browser.send("Runtime.evaluate", session, expression=BOXES,
                                     returnByValue=True)["result"]["value"]
                line = f"{view} {name}: {count} requests, {weight / 1024:.0f} KB"
                if boxes["tiles"]:
                    columns, filled = check_tiles(view, name, boxes, fail)
                    line += f", {columns} columns filling {filled:.0%} of the width"
                    want = 2 if view == "phone" else 5
                    if len(boxes["tiles"]) >= want and (columns < want or (view == "phone" and filled < 0.85)):
                        fail(f"{view} {name}: {columns} columns filling {filled:.0%} of the screen")
                    loaded = [t for t in boxes["tiles"] if t["src"] and t["dense"]]
                    thumbs = [t for t in loaded if "thumb=" in t["src"]]
                    if view == "phone" and thumbs:
                        fail(f"{view} {name}: a 200 px thumbnail on a 3x screen: {thumbs[0]['src']}")
                    if view == "desktop" and len(thumbs) != len(loaded):
                        fail(f"{view} {name}: whole pictures where thumbnails do")
                    line += f", {pictures} of {len(boxes['tiles'])} pictures fetched"
                    if len(boxes["tiles"]) >= 30 and pictures >= len(boxes["tiles"]):
                        fail(f"{view} {name}: all {pictures} pictures fetched at once")
                if boxes["page"]:
                    p = boxes["page"]
                    if not p["back"] or not inside(p["cap"], p["fig"]) or p["img"]["b"] > p["cap"]["t"] + 1:
                        fail(f"{view} {name}: the picture page lacks its way back or its caption is out of place")
                print(line, flush=True)
                if shots:
                    shot = browser.send("Page.captureScreenshot", session, format="png")["data"]
                    with open(os.path.join(shots, f"{name}-{view}.png"), "wb") as f:
                        f.write(base64.b64decode(shot))
            browser.send("Target.closeTarget", targetId=target)
    finally:
        browser.proc.kill()
        browser.proc.wait()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
