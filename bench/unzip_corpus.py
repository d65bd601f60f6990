# Writes the fixed 256 MiB mixed corpus: 112 MiB of text, 112 MiB of binaries interleaved in
# 8 MiB slices, then 32 MiB of seeded noise. Usage: python3 bench/unzip_corpus.py OUT
import os, random, sys

def collect(paths, limit):
    out = bytearray()
    while len(out) < limit:
        before = len(out)
        for path in paths:
            if len(out) >= limit:
                break
            try:
                if os.path.isfile(path) and not os.path.islink(path):
                    with open(path, "rb") as f:
                        out += f.read(limit - len(out))
            except OSError:
                pass
        if len(out) == before:
            break
    return bytes(out[:limit])

docs = []
for base in ("/usr/share/doc", "/usr/share/common-licenses", "/usr/include"):
    for folder, _, names in sorted(os.walk(base)):
        docs += [os.path.join(folder, n) for n in sorted(names) if not n.endswith((".gz", ".xz", ".bz2"))]
text = collect(docs, 112 << 20)
bins = collect(sorted(os.path.join("/usr/bin", n) for n in os.listdir("/usr/bin")), 112 << 20)
noise = random.Random(2026).randbytes(32 << 20)
with open(sys.argv[1], "wb") as f:
    for i in range(0, 112 << 20, 8 << 20):
        f.write(text[i:i + (8 << 20)])
        f.write(bins[i:i + (8 << 20)])
    f.write(noise)
