#!/usr/bin/env bash
# Kills quorvane-cli with SIGKILL in the middle of a large move across file systems and of a
# large compress, and checks that no file's contents were lost.
#
#   bench/faults.sh [RUNS]      (default 20 runs of each action)
#
# The tree (five groups of three 20 MiB copies, 300 MiB, plus a few small files with awkward
# names) lies on /tmp, the move's destination and the archive on /dev/shm, a tmpfs, so the move
# copies and removes. Before each run every original file's SHA-256 is recorded; the run is
# killed after a random delay within its action (timed by one dry run and one full run first;
# every second run near its end: the move's last fifth, or within 400 ms of the archive
# appearing at its final name, while the sources are checked and deleted);
# then every original file must still exist with its contents at its place, at its move target,
# or as an entry of the archive at its final name (a temporary archive does not count). Files
# that are neither an original, nor a target, nor the archive are reported as leftovers. Prints
# one line per run and exits 1 when any file was lost.
#
# QUORVANE_CLI names the binary (default build/bin/quorvane-cli, built when missing).
set -euo pipefail

runs=${1:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${QUORVANE_CLI:-$root/build/bin/quorvane-cli}
if [ ! -x "$cli" ]; then
    cmake --build "$root/build" --target quorvane-cli -j2 >/dev/null
fi
py=/usr/bin/python3

groups=5
copies=3
mib=20
need_tmp=$(( (groups * copies + groups) * mib + 50 ))
need_shm=$(( groups * (copies - 1) * mib * 2 + 50 ))
free_mib() { df -Pm "$1" | awk 'NR == 2 { print $4 }'; }
if [ "$(free_mib /tmp)" -lt "$need_tmp" ] || [ "$(free_mib /dev/shm)" -lt "$need_shm" ]; then
    echo "need $need_tmp MiB free on /tmp and $need_shm MiB on /dev/shm" >&2
    exit 2
fi

work=$(mktemp -d /tmp/quorvane-faults.XXXXXX)
shm=$(mktemp -d /dev/shm/quorvane-faults.XXXXXX)
trap 'rm -rf "$work" "$shm"' EXIT
if [ "$(stat -c %d "$work")" = "$(stat -c %d "$shm")" ]; then
    echo "/tmp and /dev/shm are one file system here: the move would not copy" >&2
    exit 2
fi
tree=$work/tree
seed=$work/seed
dest=$shm/moved
archive=$shm/kept.zip
export XDG_CONFIG_HOME=$work/config # the defaults: nothing of the user's is read or written

# The seed: one file per group of contents; the tree: its copies, named with spaces, quotes and
# commas, and small groups beside them.
mkdir -p "$seed"
for g in $(seq 1 $groups); do
    head -c $(( mib << 20 )) /dev/urandom >"$seed/big$g"
done
printf 'small one' >"$seed/small1"
printf "small 'two'" >"$seed/small2"
layout() { # seed-name relative-path, one pair a line
    for g in $(seq 1 $groups); do
        for c in $(seq 1 $copies); do
            echo "big$g	copy $c/group, $g/data \"$g\".bin"
        done
    done
    echo "small1	a/small \$(one).txt"
    echo "small1	b/small \$(one).txt"
    echo "small2	a/it's two"
    echo "small2	c/it's two"
}
restore() { # puts back every original that is not in place with its contents
    find "$shm" -mindepth 1 -delete
    while IFS=$'\t' read -r name relative; do
        if ! cmp -s "$seed/$name" "$tree/$relative" 2>/dev/null; then
            mkdir -p "$(dirname "$tree/$relative")"
            cp "$seed/$name" "$tree/$relative"
        fi
    done < <(layout)
    # Anything else in the tree is a leftover of the run before.
    find "$tree" -type f | while read -r file; do
        relative=${file#"$tree"/}
        layout | cut -f2 | grep -qxF -- "$relative" || rm -f -- "$file"
    done
}
mkdir -p "$tree"
restore

# Checks the state after a run: prints "source target missing leftovers" and lists the problems
# on stderr.
check() { # action
    "$py" - "$1" "$tree" "$dest" "$archive" "$shm" "$seed" <<'PY'
import hashlib, os, sys, zipfile
action, tree, dest, archive, shm, seed = sys.argv[1:]

def digest(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()

layout = [line.split("\t") for line in os.environ["LAYOUT"].splitlines()]
seeds = {name: digest(os.path.join(seed, name)) for name in {n for n, _ in layout}}
entries = {}
if action == "zip" and os.path.exists(archive):
    with zipfile.ZipFile(archive) as z:
        for info in z.infolist():
            entries[info.filename] = hashlib.sha256(z.read(info)).hexdigest()
at_source = at_target = missing = 0
targets = {os.path.join(dest, os.path.join(tree, r).lstrip("/")) for _, r in layout}
for name, relative in layout:
    source = os.path.join(tree, relative)
    wanted = seeds[name]
    if os.path.isfile(source) and digest(source) == wanted:
        at_source += 1
        continue
    full = source.lstrip("/")
    target = os.path.join(dest, full)
    if action == "move" and os.path.isfile(target) and digest(target) == wanted:
        at_target += 1
    elif action == "zip" and entries.get(full) == wanted:
        at_target += 1
    else:
        missing += 1
        print(f"lost: {source}", file=sys.stderr)
expected = {os.path.join(tree, r) for _, r in layout} | targets | {archive}
leftovers = []
for top in (tree, shm):
    for folder, _, files in os.walk(top):
        leftovers += [os.path.join(folder, f) for f in files
                      if os.path.join(folder, f) not in expected]
for path in leftovers:
    print(f"leftover: {path}", file=sys.stderr)
print(at_source, at_target, missing, len(leftovers))
PY
}
export LAYOUT
LAYOUT=$(layout)

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
action_args() { # action
    if [ "$1" = move ]; then echo "--move-to"; echo "$dest"; else echo "--zip"; echo "$archive"; fi
}

lost=0
printf '%-4s %-5s %10s %8s %8s %8s %10s\n' run action killed_ms source target missing leftovers
for action in move zip; do
    mapfile -t args < <(action_args "$action")
    # Timing: the dry run ends where the action would begin.
    start=$(now_ms)
    "$cli" -q -g size -c crc "${args[@]}" --dry-run "$tree" >/dev/null
    search_ms=$(( $(now_ms) - start ))
    start=$(now_ms)
    if ! "$cli" -q -g size -c crc "${args[@]}" "$tree" >/dev/null 2>"$work/stderr"; then
        echo "the uninterrupted $action failed:" >&2
        cat "$work/stderr" >&2
        exit 2
    fi
    total_ms=$(( $(now_ms) - start ))
    restore
    from=$(( search_ms * 9 / 10 ))
    span=$(( total_ms - from > 1 ? total_ms - from : 1 ))
    echo "# $action: search and plan ${search_ms} ms, whole run ${total_ms} ms;" \
         "kills between ${from} and ${total_ms} ms"
    for run in $(seq 1 "$runs"); do
        # Every second run aims at the end: for a move its last fifth; for a compress the moment
        # the archive is in place and the sources are being checked and deleted (a short phase
        # that a delay drawn over the whole run would almost never hit).
        aim_end=$(( run % 2 == 0 ))
        if (( aim_end )); then
            delay=$(( total_ms - span / 5 + (RANDOM * 32768 + RANDOM) % (span / 5 + 1) ))
        else
            delay=$(( from + (RANDOM * 32768 + RANDOM) % span ))
        fi
        started=$(now_ms)
        "$cli" -q -g size -c crc "${args[@]}" "$tree" >/dev/null 2>"$work/stderr" &
        pid=$!
        if [ "$action" = zip ] && (( aim_end )); then
            while kill -0 "$pid" 2>/dev/null && [ ! -e "$archive" ]; do sleep 0.005; done
            sleep "0.$(printf '%03d' $(( RANDOM % 400 )))"
            delay=$(( $(now_ms) - started ))
        else
            sleep "$(printf '%d.%03d' $(( delay / 1000 )) $(( delay % 1000 )))"
        fi
        kill -KILL "$pid" 2>/dev/null || true
        if wait "$pid" 2>/dev/null; then status=0; else status=$?; fi
        if [ "$status" -eq 137 ]; then
            killed=$delay
        else
            # The timing run was slower than this one: aim the next kills within this one.
            killed="ended($status)"
            ran=$(( $(now_ms) - started ))
            if [ "$ran" -lt "$total_ms" ]; then
                total_ms=$ran
                span=$(( total_ms - from > 1 ? total_ms - from : 1 ))
            fi
        fi
        read -r source target missing leftovers < <(check "$action" 2>"$work/check.err")
        sed "s/^/$action $run: /" "$work/check.err" >>"$work/notes"
        printf '%-4s %-5s %10s %8s %8s %8s %10s\n' "$run" "$action" "$killed" "$source" \
            "$target" "$missing" "$leftovers"
        lost=$(( lost + missing ))
        restore
    done
done
[ -s "$work/notes" ] && cat "$work/notes"
if [ "$lost" -gt 0 ]; then
    echo "LOST: $lost files" >&2
    exit 1
fi
echo "no file lost"
