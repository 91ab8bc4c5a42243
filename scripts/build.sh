#!/usr/bin/env bash
# Configures and builds everything in Release into build/ (executables land in build/bin/).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" --parallel "$(nproc)"
