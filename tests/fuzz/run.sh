#!/usr/bin/env bash
# tests/fuzz/run.sh SECONDS [BUILD_DIR]: runs every fuzz target for SECONDS on its seed corpus
# (with its dictionary when it has one) and fails on the first finding. The targets are built
# with clang when BUILD_DIR (default build-fuzz) does not hold them yet.
set -euo pipefail
seconds=${1:?usage: run.sh SECONDS [BUILD_DIR]}
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build=${2:-$root/build-fuzz}
targets=(fileslist_line ini_file profile criteria_stream criteria_hex masks cli_options update_descriptor)

if ! command -v clang++-16 >/dev/null; then
    echo "The fuzz targets need clang-16 and libclang-rt-16-dev:" >&2
    echo "    sudo apt-get install clang-16 libclang-rt-16-dev" >&2
    exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang-16 CXX=clang++-16 cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQUORVANE_BUILD_FUZZ=ON -DQUORVANE_BUILD_TESTS=OFF -DQUORVANE_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]/%/_fuzz}" >/dev/null

findings="$build/fuzz/findings"
mkdir -p "$findings"
failed=0
for target in "${targets[@]}"; do
    # New inputs go to a scratch corpus: the seeds in the repository stay as they are.
    scratch="$build/fuzz/corpus/$target"
    mkdir -p "$scratch"
    options=(-max_total_time="$seconds" -artifact_prefix="$findings/$target-" -print_final_stats=1)
    [ -f "$here/dictionaries/$target.dict" ] && options+=(-dict="$here/dictionaries/$target.dict")
    if "$build/fuzz/${target}_fuzz" "${options[@]}" "$scratch" "$here/corpus/$target" \
        >"$build/fuzz/$target.log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/fuzz/$target.log")
        printf '%-18s ok      %s runs\n' "$target" "$runs"
    else
        printf '%-18s FAILED  see %s and %s\n' "$target" "$build/fuzz/$target.log" "$findings"
        failed=1
    fi
done
exit "$failed"
