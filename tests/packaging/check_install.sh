#!/usr/bin/env bash
# check_install.sh BUILD_DIR: `cmake --install` into a temporary prefix and the Debian package
# (cpack) unpacked into a temporary root; both programs must start from there, the update
# library and the help pages must be where the program looks for them, and the desktop entry,
# the AppStream file and the package must pass their validators.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # check DESCRIPTION COMMAND...
    local description=$1
    shift
    if "$@" >"$work/out" 2>&1; then
        echo "ok    $description"
    else
        echo "FAIL  $description"
        sed 's/^/      /' "$work/out"
        failures=$((failures + 1))
    fi
}

# The window must start with no display and no configuration of the user's.
export QT_QPA_PLATFORM=offscreen HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

starts_and_keeps_running() { # the window runs until it is told to stop
    local status=0
    timeout 4 "$1" || status=$?
    [ "$status" -eq 124 ]
}
runpath_finds_update_library() { # $1 program, $2 folder the library must be loaded from
    local rpath
    rpath=$(readelf -d "$1" | sed -n 's/.*(RPATH).*\[\(.*\)\]/\1/p')
    [ "$(realpath "$(dirname "$1")/${rpath#\$ORIGIN/}")" = "$(realpath "$2")" ] &&
        [ -f "$2/librenovex.so" ]
}
checks_for_tree() { # $1 root of the installed tree (…/usr or the prefix), $2 label
    local root=$1 label=$2
    check "$label: quorvane-cli --version" "$root/bin/quorvane-cli" --version
    check "$label: quorvane --version" "$root/bin/quorvane" --version
    check "$label: the window starts" starts_and_keeps_running "$root/bin/quorvane"
    check "$label: the run path leads to the update library" \
        runpath_finds_update_library "$root/bin/quorvane" "$root/lib/quorvane"
    check "$label: help pages installed" test -f "$root/share/quorvane/help/contents.html" \
        -a -f "$root/share/quorvane/help/main-window.html" -a -f "$root/share/quorvane/help/style.css"
    check "$label: man pages" test -f "$root/share/man/man1/quorvane.1.gz" \
        -a -f "$root/share/man/man1/quorvane-cli.1.gz"
    check "$label: bash completion" test -f "$root/share/bash-completion/completions/quorvane-cli"
    check "$label: icons" test -f "$root/share/icons/hicolor/scalable/apps/quorvane.svg" \
        -a -f "$root/share/icons/hicolor/48x48/apps/quorvane.png"
    check "$label: desktop-file-validate" \
        desktop-file-validate "$root/share/applications/quorvane.desktop"
    check "$label: appstreamcli validate" \
        appstreamcli validate --no-net "$root/share/metainfo/com.brindlecot.Quorvane.metainfo.xml"
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
checks_for_tree "$work/prefix" "prefix"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null)
deb=$(ls "$work"/quorvane_*_*.deb)
dpkg-deb -x "$deb" "$work/root"
checks_for_tree "$work/root/usr" "package"
check "package: depends on the libraries it links" \
    sh -c "dpkg-deb -f '$deb' Depends | grep -q libqt6widgets6"
check "package: lintian shows no error" lintian --fail-on error --tag-display-limit 0 "$deb"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"

[ "$failures" -eq 0 ] && echo "All installation checks passed." || {
    echo "$failures installation checks failed."
    exit 1
}
