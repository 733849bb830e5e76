#!/usr/bin/env python3
"""Write a Pictaro page archive (.pak).

Usage: makepak.py OUT.pak FILE.bmp...

Layout: entries back to back until end of file, each
  u16 LE name length, name (Windows-1251), u32 LE data length, data.
The entry name is the file's base name; entries keep the command-line order.
"""
import os
import struct
import sys

FORBIDDEN = ('/', '\\', ':')


class PakError(Exception):
    pass


def entry_name(name):
    """Validates an entry name and returns its Windows-1251 bytes."""
    if not name:
        raise PakError('empty entry name')
    for ch in FORBIDDEN:
        if ch in name:
            raise PakError(f'{name!r}: entry name must not contain {ch!r}')
    try:
        raw = name.encode('cp1251')
    except UnicodeEncodeError:
        raise PakError(f'{name!r}: not representable in Windows-1251') from None
    if len(raw) > 0xFFFF:
        raise PakError(f'{name!r}: name too long')
    return raw


def pack(entries):
    """entries: iterable of (name, bytes). Returns the archive bytes."""
    out = bytearray()
    seen = set()
    for name, data in entries:
        raw = entry_name(name)
        if raw in seen:
            # the reader looks pages up by name, a second copy would be unreachable
            raise PakError(f'{name!r}: duplicate entry name')
        seen.add(raw)
        if len(data) > 0xFFFFFFFF:
            raise PakError(f'{name!r}: file too large')
        out += struct.pack('<H', len(raw)) + raw + struct.pack('<I', len(data)) + data
    return bytes(out)


def unpack(blob):
    """Inverse of pack(): list of (name, bytes); raises PakError on a damaged archive."""
    entries = []
    pos = 0
    while pos < len(blob):
        if pos + 2 > len(blob):
            raise PakError(f'truncated name length at offset {pos}')
        (nlen,) = struct.unpack_from('<H', blob, pos)
        pos += 2
        if nlen == 0 or pos + nlen + 4 > len(blob):
            raise PakError(f'bad entry header at offset {pos - 2}')
        name = blob[pos:pos + nlen].decode('cp1251')
        pos += nlen
        (dlen,) = struct.unpack_from('<I', blob, pos)
        pos += 4
        if pos + dlen > len(blob):
            raise PakError(f'{name!r}: data runs past end of archive')
        entries.append((name, blob[pos:pos + dlen]))
        pos += dlen
    return entries


def write_pak(out_path, files):
    entries = []
    for path in files:
        if not os.path.basename(path):
            raise PakError(f'{path!r}: no file name')
        with open(path, 'rb') as f:
            entries.append((os.path.basename(path), f.read()))
    blob = pack(entries)
    tmp = out_path + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(blob)
    os.replace(tmp, out_path)
    return len(entries)


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    try:
        n = write_pak(argv[1], argv[2:])
    except (PakError, OSError) as e:
        print(f'makepak: {e}', file=sys.stderr)
        return 1
    print(f'{argv[1]}: {n} entries')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
