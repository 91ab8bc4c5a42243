#!/usr/bin/env bash
# Installs the Debian packages Quorvane needs to build, test and benchmark, when any is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libxkbcommon-dev
    libzip-dev zipcmp zipmerge ziptool libicu-dev
    libgtest-dev libgmock-dev libbenchmark-dev libssl-dev zlib1g-dev
    xvfb xauth fonts-dejavu-core zip unzip python3-xlrd poppler-utils
    help2man dpkg-dev desktop-file-utils appstream lintian
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Quorvane needs these Debian packages. Install them, then run this command again:" >&2
    echo "    sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
