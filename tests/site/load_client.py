#!/usr/bin/python3
"""Loopback load on the gallery as serve.sh runs it: announce+upload pairs many at a time,
idle half-sent connections, clients that stop reading a picture. Every request opens its
own connection, as the program does, from its own loopback address where the per-address
limits would otherwise count a crowd of families as one. Exits 1 when a check fails."""
import argparse
import asyncio
import io
import random
import resource
import socket
import statistics
import sys
import time

from PIL import Image, ImageDraw

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what, flush=True)


def coloring_page(width, height, seed):
    """A colored line-art page like the ones the program sends, as a quality-60 JPEG."""
    rnd = random.Random(seed)
    im = Image.new("RGB", (width, height), "white")
    d = ImageDraw.Draw(im)
    for _ in range(14):
        x, y = rnd.randrange(width), rnd.randrange(height)
        r = rnd.randrange(30, max(31, height // 3))
        color = tuple(rnd.randrange(256) for _ in range(3))
        shape = d.ellipse if rnd.random() < 0.5 else d.rectangle
        shape((x - r, y - r, x + r, y + r), fill=color, outline="black", width=4)
    out = io.BytesIO()
    im.save(out, "JPEG", quality=60)
    return out.getvalue()


def noise_picture(width, height):
    im = Image.frombytes("RGB", (width, height), random.randbytes(width * height * 3))
    out = io.BytesIO()
    im.save(out, "JPEG", quality=90)
    return out.getvalue()


class Site:
    def __init__(self, port):
        self.port = port

    async def request(self, source, head, body=b"", timeout=30):
        """One request on its own connection; returns (status, body, seconds)."""
        start = time.perf_counter()
        reader, writer = await asyncio.open_connection("127.0.0.1", self.port, local_addr=(source, 0))
        try:
            writer.write(head + body)
            await writer.drain()
            data = await asyncio.wait_for(reader.read(), timeout)
        finally:
            writer.close()
        status = int(data.split(b" ", 2)[1]) if data.startswith(b"HTTP/") else 0
        return status, data.partition(b"\r\n\r\n")[2], time.perf_counter() - start

    async def get(self, source, path, timeout=30):
        head = f"GET {path} HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n".encode()
        return await self.request(source, head, timeout=timeout)

    async def upload(self, source, name, jpeg):
        boundary = "----pictaro%016x" % random.getrandbits(64)
        body = (f"--{boundary}\r\nContent-Disposition: form-data; name=\"filename\"; "
                f"filename=\"{name}\"\r\nContent-Type: image/jpeg\r\n\r\n").encode() + jpeg + \
            f"\r\n--{boundary}--\r\n".encode()
        head = (f"POST /get_image.php HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                f"Content-Type: multipart/form-data; boundary={boundary}\r\n"
                f"Content-Length: {len(body)}\r\n\r\n").encode()
        return await self.request(source, head, body)

    async def send(self, source, name, child, age, jpeg):
        """The program's pair: the announce, then the upload. Returns both results."""
        q = f"/write_image.php?filename={name}&rebenok={child}&vozrast={age}"
        first = await self.get(source, q)
        second = await self.upload(source, name, jpeg) if first[0] == 200 else (0, b"", 0.0)
        return first, second


def still_open(s):
    try:
        return s.recv(1, socket.MSG_PEEK) != b""
    except BlockingIOError:
        return True
    except OSError:
        return False


def pct(values, p):
    values = sorted(values)
    return values[min(len(values) - 1, int(round(p / 100 * (len(values) - 1))))]


async def pairs_phase(site, args, pictures):
    gate = asyncio.Semaphore(args.concurrency)
    announce_times, upload_times, pair_times, bad = [], [], [], []

    async def one(k):
        async with gate:
            source = f"127.10.{k // 250}.{k % 250 + 1}"
            start = time.perf_counter()
            try:
                (s1, b1, t1), (s2, b2, t2) = await site.send(
                    source, f"L{k:09d}.jpg", "%D0%9C%D0%B0%D1%88%D0%B0", str(3 + k % 5), pictures[k % len(pictures)])
            except (OSError, asyncio.TimeoutError) as e:
                bad.append(f"pair {k}: {e!r}")
                return
            pair_times.append(time.perf_counter() - start)
            announce_times.append(t1)
            upload_times.append(t2)
            if s1 != 200 or s2 != 200:
                bad.append(f"pair {k}: announce {s1} {b1[:80]!r}, upload {s2} {b2[:80]!r}")

    start = time.perf_counter()
    cpu = time.process_time()
    await asyncio.gather(*(one(k) for k in range(args.pairs)))
    elapsed = time.perf_counter() - start
    cpu = time.process_time() - cpu
    check(not bad, f"{len(bad)} of {args.pairs} pairs failed: {bad[:3]}")
    rate = args.pairs / elapsed
    both = announce_times + upload_times
    print(f"pairs: {args.pairs} announce+upload pairs, {args.concurrency} at a time, in {elapsed:.2f} s "
          f"= {rate:.0f} pairs/s (this client used {cpu:.1f} s of CPU)")
    print(f"  request latency p50 {pct(both, 50) * 1000:.0f} ms, p99 {pct(both, 99) * 1000:.0f} ms, "
          f"max {max(both) * 1000:.0f} ms (announce p99 {pct(announce_times, 99) * 1000:.0f} ms, "
          f"upload p99 {pct(upload_times, 99) * 1000:.0f} ms); pair p99 {pct(pair_times, 99) * 1000:.0f} ms")


async def idle_phase(site, args):
    """Connections that send half a request and wait; the gallery must still answer."""
    held = []
    for i in range(args.idle):
        s = socket.socket()
        s.bind((f"127.20.{i // 250}.{i % 250 + 1}", 0))
        try:
            s.connect(("127.0.0.1", site.port))
        except OSError as e:
            check(False, f"idle connection {i} refused: {e!r}")
            s.close()
            break
        s.sendall(b"GET /baby.php HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: ")
        s.setblocking(False)
        held.append(s)
    await asyncio.sleep(0.5)
    times = []
    for i in range(5):
        status, body, t = await site.get(f"127.21.0.{i + 1}", "/baby.php", timeout=5)
        check(status == 200 and b"<li>" in body, f"gallery under {len(held)} idle connections: {status}")
        times.append(t)
    open_now = sum(1 for s in held if still_open(s))
    print(f"idle: {len(held)} half-sent connections held; gallery answered in "
          f"{max(times) * 1000:.0f} ms at most (5 requests)")
    check(len(held) == args.idle and open_now == args.idle, f"only {open_now} idle connections held")
    check(max(times) < 1.0, f"gallery took {max(times):.2f} s under idle connections")
    for s in held:
        s.close()


async def slow_reader_phase(site, args, big_name):
    """Clients that ask for a big picture and stop reading; others must not wait for them."""
    stalled = []
    for i in range(args.slow):
        s = socket.socket()
        s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
        s.bind((f"127.30.0.{i + 1}", 0))
        s.connect(("127.0.0.1", site.port))
        s.sendall(f"GET /picture.php?f={big_name} HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n".encode())
        stalled.append(s)
    await asyncio.sleep(1.0)
    times = []
    for i in range(10):
        for path in ("/baby.php", f"/picture.php?f={big_name}&thumb=1", "/picture.php?f=L000000001.jpg"):
            status, _, t = await site.get(f"127.31.{i}.1", path, timeout=5)
            check(status == 200, f"{path} with stalled readers: {status}")
            times.append(t)
    print(f"slow readers: {len(stalled)} clients stopped reading a "
          f"{args.big_bytes // 1024} KB picture; 30 other requests took p50 {pct(times, 50) * 1000:.0f} ms, "
          f"max {max(times) * 1000:.0f} ms")
    check(max(times) < 1.0, f"a request took {max(times):.2f} s beside stalled readers")
    for s in stalled:
        s.close()


async def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("port", type=int)
    ap.add_argument("--pairs", type=int, default=1000)
    ap.add_argument("--concurrency", type=int, default=32)
    ap.add_argument("--idle", type=int, default=1100)
    ap.add_argument("--slow", type=int, default=16)
    ap.add_argument("--size", default="1024x640", help="picture size sent in the pairs")
    args = ap.parse_args()
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (hard, hard))
    site = Site(args.port)
    w, h = (int(v) for v in args.size.split("x"))
    pictures = [coloring_page(w, h, seed) for seed in range(8)]
    print(f"pictures: {w}x{h}, {statistics.mean(len(p) for p in pictures) / 1024:.0f} KB on average")

    await pairs_phase(site, args, pictures)
    await idle_phase(site, args)
    big = noise_picture(1600, 1200)
    (s1, _, _), (s2, b2, _) = await site.send("127.29.0.1", "BIGBIGBIG1.jpg", "Big", "5", big)
    check(s1 == 200 and s2 == 200, f"the big picture was not stored: {s1} {s2} {b2[:80]!r}")
    _, stored, _ = await site.get("127.29.0.2", "/picture.php?f=BIGBIGBIG1.jpg")
    args.big_bytes = len(stored)
    await slow_reader_phase(site, args, "BIGBIGBIG1.jpg")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(asyncio.run(main()))
