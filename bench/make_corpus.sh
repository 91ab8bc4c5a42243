#!/usr/bin/env bash
# Builds a corpus for side-by-side runs against other duplicate finders.
#   bench/make_corpus.sh small TREE   many small files: 60,000 files of 1 B - 64 KiB in 1,200 folders
#   bench/make_corpus.sh large TREE   few large files: 48 files of 16 - 96 MiB (about 2.5 GiB)
# Both hold many files of one size with different contents (they only tie on size), and about
# 30% of files that have exact copies elsewhere, some under other names. No hidden files, no empty
# files and no hard links, which the tools treat differently by default.
set -euo pipefail
kind="${1:-}"
tree="${2:-}"
if [ -z "$kind" ] || [ -z "$tree" ]; then
    echo "usage: $0 small|large TREE" >&2
    exit 1
fi
rm -rf "$tree"
mkdir -p "$tree"
python3 - "$kind" "$tree" <<'PY'
import os, random, sys

kind, tree = sys.argv[1], sys.argv[2]
rng = random.Random(20261211)

if kind == "small":
    files, folders = 60_000, 1_200
    # A few popular sizes make big same-size runs with different contents.
    popular = [4096, 8192, 1000, 65536]
    def size():
        return rng.choice(popular) if rng.random() < 0.4 else rng.randint(1, 65536)
elif kind == "large":
    files, folders = 48, 6
    def size():
        return rng.choice([16, 32, 64]) * 2**20 if rng.random() < 0.6 else rng.randint(16 * 2**20, 96 * 2**20)
else:
    sys.exit("kind must be small or large")

folder_names = [os.path.join(tree, "d%02d" % (i % 37), "sub%04d" % i) for i in range(folders)]
for f in folder_names:
    os.makedirs(f, exist_ok=True)

originals = []
written = 0
while written < files:
    folder = rng.choice(folder_names)
    if originals and rng.random() < 0.3:
        # An exact copy: same name half the time, else a new one.
        name, data = rng.choice(originals)
        if rng.random() < 0.5:
            name = "copy_%d_%s" % (written, name)
    else:
        data = os.urandom(size())
        name = "file_%06d.bin" % written
        originals.append((name, data))
    path = os.path.join(folder, name)
    if os.path.exists(path):
        continue
    with open(path, "wb") as out:
        out.write(data)
    written += 1
PY
echo "$(find "$tree" -type f | wc -l) files, $(du -sh "$tree" | cut -f1) in $tree"
