#!/usr/bin/env bash
# Runs the engine and command-line suites again under AddressSanitizer and UBSan, and the suites
# that run worker threads under ThreadSanitizer, each in a build folder of its own (build-asan/,
# build-tsan/). Any report fails the run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
threaded_suites=(thread_test search_thread_test sort_test tied_contents_test checksum_thread_test
                 pipeline_controller_test)

configure() { # FOLDER SANITIZERS
    cmake -S "$root" -B "$root/$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_BUILD_GUI=OFF \
        -DQUORVANE_BUILD_BENCH=OFF -DQUORVANE_SANITIZE="$2" >/dev/null
}

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

echo "== AddressSanitizer and UBSan: the engine and command-line suites"
configure build-asan address,undefined
cmake --build "$root/build-asan" --parallel "$jobs"
(cd "$root/build-asan" && ctest --output-on-failure --parallel "$jobs")

echo "== ThreadSanitizer: the suites with worker threads"
configure build-tsan thread
cmake --build "$root/build-tsan" --parallel "$jobs" --target "${threaded_suites[@]}"
for suite in "${threaded_suites[@]}"; do
    "$root/build-tsan/tests/$suite" --gtest_brief=1
done
