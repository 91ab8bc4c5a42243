#!/usr/bin/env bash
# Builds Quorvane and starts it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

# Until the front ends exist, the program's job is its engine, shown through its test suites.
cd "$root/build"
exec ctest --output-on-failure --parallel "$(nproc)"
