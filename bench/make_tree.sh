#!/usr/bin/env bash
# Builds the folder tree the walk benchmark reads: about 100,000 small files in 5,000 folders,
# three levels deep, with varied names (some hidden, some not valid UTF-8), sizes (some zero)
# and contents (many repeated, so that the tree also holds duplicates). The same tree every
# time: the generator is seeded.
#
#   bench/make_tree.sh TREE
#   QUORVANE_BENCH_TREE=TREE build/bin/quorvane-bench --benchmark_filter=BM_Walk
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 TREE   (a folder that does not exist yet, or is empty)" >&2
    exit 2
fi
tree=$1
if [ -e "$tree" ] && [ -n "$(ls -A "$tree")" ]; then
    echo "$tree already holds files; choose a new or empty folder" >&2
    exit 1
fi
mkdir -p "$tree"

exec python3 - "$tree" <<'PYTHON'
import os
import random
import sys

root = os.fsencode(sys.argv[1])
rng = random.Random(20240611)

TOP_FOLDERS, SUBFOLDERS, LEAVES = 24, 14, 14  # 24 + 336 + 4,704 folders, plus the root
FILES = 100_000
words = [b"report", b"IMG", b"holiday", b"invoice", b"notes", b"Backup", b"song", b"draft",
         b"scan", b"photo", b"budget", b"letter", b"track", b"clip", b"readme", b"data",
         "\u00e9t\u00e9".encode(), "\u00fcbersicht".encode(), "\u5199\u771f".encode()]
extensions = [b".jpg", b".txt", b".pdf", b".mp3", b".docx", b".png", b".csv", b"", b".tar.gz"]
blobs = [rng.randbytes(rng.choice([1, 10, 100, 500, 1000, 2000, 4000])) for _ in range(3000)]

def folder_name(level, index):
    return b"%s-%d-%d" % (rng.choice(words), level, index)

folders = [root]
for t in range(TOP_FOLDERS):
    top = os.path.join(root, folder_name(1, t))
    os.mkdir(top)
    folders.append(top)
    for s in range(SUBFOLDERS):
        sub = os.path.join(top, folder_name(2, s))
        os.mkdir(sub)
        folders.append(sub)
        for l in range(LEAVES):
            leaf = os.path.join(sub, (b"." if rng.random() < 0.02 else b"") + folder_name(3, l))
            os.mkdir(leaf)
            folders.append(leaf)

for i in range(FILES):
    folder = rng.choice(folders)
    stem = rng.choice(words) + b"_%d" % rng.randrange(5000)
    if rng.random() < 0.02:
        stem = b"." + stem
    if rng.random() < 0.005:
        stem += b"\xff"  # not valid UTF-8
    name = stem + rng.choice(extensions)
    path = os.path.join(folder, name)
    if os.path.exists(path):
        path = os.path.join(folder, b"%d-%s" % (i, name))
    with open(path, "wb") as out:
        if rng.random() >= 0.02:  # the rest stay empty
            out.write(rng.choice(blobs))

print("%d files in %d folders below %s" % (FILES, len(folders), sys.argv[1]))
PYTHON
