#!/usr/bin/env bash
# Runs Quorvane and other duplicate finders on the same tree, warm cache, several runs each, and
# prints median wall times, each tool's ratio to quorvane-cli -c crc, user+sys time, peak memory,
# and whether each tool found the same duplicate sets as jdupes (same files in the same groups,
# order ignored; empty files left out, as our defaults leave them out).
#   bench/peers.sh TREE [RUNS]
set -euo pipefail
tree="$(cd "${1:?usage: $0 TREE [RUNS]}" && pwd)"
runs="${2:-5}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cli="$root/build/bin/quorvane-cli"
[ -x "$cli" ] || { echo "build first: ./test.sh or scripts/build.sh" >&2; exit 1; }

missing=()
for tool in jdupes rmlint fdupes rdfind time; do
    [ -x "/usr/bin/$tool" ] || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "install first: sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# name | command printing duplicate groups to stdout in its own format | format
tools=(
    "quorvane -c crc|$cli -q -g size -c crc $tree|blank"
    "quorvane -c md5|$cli -q -g size -c md5 $tree|blank"
    "jdupes -r|jdupes -r -q $tree|blank"
    "rmlint|rmlint -o fdupes:stdout -T df $tree|blank"
    "fdupes -r|fdupes -r -q $tree|blank"
    "rdfind|cd $work && rdfind -outputname $work/rdfind.txt $tree >/dev/null && cat $work/rdfind.txt|rdfind"
)

warm() { find "$tree" -type f -print0 | xargs -0 cat > /dev/null; }

printf '%-18s %9s %7s %9s %9s %s\n' tool "wall(s)" "x ours" "cpu(s)" "peak(MB)" "same sets as jdupes"
for entry in "${tools[@]}"; do
    IFS='|' read -r name command format <<< "$entry"
    : > "$work/times"
    for ((i = 0; i < runs; i++)); do
        warm
        /usr/bin/time -f '%e %U %S %M' -o "$work/time1" bash -c "$command" > "$work/out" 2>/dev/null || true
        cat "$work/time1" >> "$work/times"
    done
    cp "$work/out" "$work/out.$format.${name// /_}"
    echo "$name|$format|$work/out.$format.${name// /_}|$(tr '\n' ';' < "$work/times")" >> "$work/summary"
done

/usr/bin/python3 - "$work/summary" <<'PY'
import os, statistics, sys

def groups(path, fmt):
    sets, current = [], []
    for line in open(path, encoding="utf-8", errors="surrogateescape"):
        line = line.rstrip("\n")
        if fmt == "blank":
            if line:
                current.append(line)
            elif current:
                sets.append(current); current = []
        elif fmt == "rdfind" and line and not line.startswith("#"):
            parts = line.split(" ", 7)
            sets.append((abs(int(parts[1])), parts[7]))
    if fmt == "blank":
        if current:
            sets.append(current)
    else:
        by_id = {}
        for key, name in sets:
            by_id.setdefault(key, []).append(name)
        sets = [v for v in by_id.values() if len(v) > 1]
    canon = set()
    for g in sets:
        g = [p for p in g if os.path.isfile(p) and os.path.getsize(p) > 0]
        if len(g) > 1:
            canon.add(frozenset(g))
    return canon

rows = []
for line in open(sys.argv[1]):
    name, fmt, out, times = line.rstrip("\n").split("|")
    samples = [list(map(float, t.split())) for t in times.split(";") if t]
    wall = statistics.median(s[0] for s in samples)
    cpu = statistics.median(s[1] + s[2] for s in samples)
    peak = statistics.median(s[3] for s in samples) / 1024
    rows.append((name, wall, cpu, peak, groups(out, fmt)))

base = next(r for r in rows if r[0] == "quorvane -c crc")
reference = next(r for r in rows if r[0] == "jdupes -r")[4]
for name, wall, cpu, peak, sets in rows:
    ratio = wall / base[1] if base[1] else float("nan")
    same = "yes" if sets == reference else "NO (%d groups vs %d)" % (len(sets), len(reference))
    print("%-18s %9.3f %7.2f %9.3f %9.1f %s" % (name, wall, ratio, cpu, peak, same))
PY
