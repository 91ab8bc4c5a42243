#!/usr/bin/env bash
# Builds Quorvane and starts it:
#   ./run.sh [PROFILE.qvp]     the desktop window (a profile named here is loaded and searched)
#   ./run.sh --cli ARGS...     the command-line front end (quorvane-cli --help lists its options)
# Without a display, the command-line front end runs instead, on the folders given, or on the
# small demo tree that ships with the project.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
bin="$root/build/bin"

if [ "${1:-}" = "--cli" ]; then
    shift
    exec "$bin/quorvane-cli" "$@"
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$bin/quorvane" ]; then
    exec "$bin/quorvane" "$@"
fi

if [ ! -x "$bin/quorvane" ]; then
    echo "The desktop window is not built; running quorvane-cli instead." >&2
else
    echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset); running quorvane-cli instead." >&2
fi
if [ $# -eq 0 ]; then
    echo "Searching the demo tree $root/demo for files of equal size and content:" >&2
    exec "$bin/quorvane-cli" --group size --compare md5 "$root/demo"
fi
exec "$bin/quorvane-cli" --compare md5 "$@"
