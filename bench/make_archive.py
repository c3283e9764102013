#!/usr/bin/env python3
"""Writes the benchmarks' test archive: deflated entries of exe-like data in 20 folders, the same bytes for
the same arguments.

    make_archive.py OUT.zip TOTAL_MB ENTRIES [DEMO_PAYLOAD.zip]

Exe-like data: a corpus built like machine code and its tables (bytes from a skewed
distribution, short repeats of what came shortly before, runs of zeros, ASCII names), of
which each entry takes slices; deflate packs it about 2.3:1. With DEMO_PAYLOAD, the demo
product's entries come first under their GBK names, so that the archive is an installable
payload (the build's payload check wants the product's main program).
"""
import random
import sys
import zipfile

CORPUS_BYTES = 4 << 20
SEED = 20160426
DIRECTORIES = 20


def make_corpus(rng):
    # Skewed byte values: opcodes and small immediates are common, most values rare.
    common = bytes(rng.randrange(256) for _ in range(40))
    words = [bytes(rng.choice(b"abcdefghijklmnopqrstuvwxyz_") for _ in range(rng.randrange(4, 14)))
             for _ in range(300)]
    out = bytearray()
    while len(out) < CORPUS_BYTES:
        kind = rng.random()
        if kind < 0.57:  # a repeat of something recent, slightly changed
            if len(out) > 64:
                start = len(out) - rng.randrange(16, min(len(out), 4096))
                length = rng.randrange(6, 40)
                piece = bytearray(out[start:start + length])
                if piece:
                    piece[rng.randrange(len(piece))] = rng.randrange(256)
                out += piece
        elif kind < 0.80:  # a run of "instructions"
            out += bytes(rng.choice(common) if rng.random() < 0.8 else rng.randrange(256)
                         for _ in range(rng.randrange(4, 24)))
        elif kind < 0.85:  # padding
            out += bytes(rng.randrange(4, 48))
        elif kind < 0.91:  # names and messages
            out += b"_".join(rng.choice(words) for _ in range(rng.randrange(1, 4))) + b"\0"
        else:  # packed data, addresses, resources: close to random
            out += rng.randbytes(rng.randrange(4, 24))
    return bytes(out[:CORPUS_BYTES])


def entry_sizes(rng, total, count):
    # Log-uniform sizes, 1 KB to 2 MB, scaled so they add up to the total.
    raw = [2 ** rng.uniform(10, 21) for _ in range(count)]
    scale = total / sum(raw)
    sizes = [max(1, int(r * scale)) for r in raw]
    sizes[-1] += total - sum(sizes)
    return sizes


def entry_data(rng, corpus, size):
    parts = []
    left = size
    while left > 0:
        n = min(left, rng.randrange(2048, 65536))
        at = rng.randrange(len(corpus) - n)
        parts.append(corpus[at:at + n])
        left -= n
    return b"".join(parts)


class GbkInfo(zipfile.ZipInfo):
    """An entry whose name is stored as GBK bytes without the UTF-8 flag, as the payload's are."""

    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits


def main():
    out, total_mb, count = sys.argv[1], float(sys.argv[2]), int(sys.argv[3])
    demo = sys.argv[4] if len(sys.argv) > 4 else None
    rng = random.Random(SEED)
    corpus = make_corpus(rng)
    date_time = (2016, 4, 26, 10, 13, 20)
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as z:
        if demo:
            with zipfile.ZipFile(demo) as d:
                for info in d.infolist():
                    # Names without the UTF-8 flag are read as cp437; these bytes are GBK.
                    name = info.filename.encode("cp437").decode("gbk")
                    entry = GbkInfo(name, date_time)
                    entry.create_system, entry.external_attr = 0, 0x20
                    entry.compress_type = zipfile.ZIP_DEFLATED
                    z.writestr(entry, d.read(info), compresslevel=6)
        # As Windows tools write them: made on MS-DOS, the archive attribute on files, and
        # each directory's own entry before the entries inside it.
        for d in range(DIRECTORIES):
            entry = zipfile.ZipInfo(f"lib{d:02d}/", date_time)
            entry.create_system, entry.external_attr = 0, 0x10
            z.writestr(entry, b"")
        for i, size in enumerate(entry_sizes(rng, int(total_mb * 1e6), count)):
            entry = zipfile.ZipInfo(f"lib{i % DIRECTORIES:02d}/part{i:04d}.dll", date_time)
            entry.create_system, entry.external_attr = 0, 0x20
            entry.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(entry, entry_data(rng, corpus, size), compresslevel=6)


if __name__ == "__main__":
    main()
