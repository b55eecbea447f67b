#!/usr/bin/env bash
# Installs everything needed to build, run and test the program on Debian 12.
# Only missing packages are asked for, so that once all are installed neither
# the start nor the test command needs sudo, the network or the package manager.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
    srecord xvfb xauth openbox libxcb1-dev
    libjpeg-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
    qt6-qpa-plugins qt6-translations-l10n fonts-dejavu-core
)

missing=()
for package in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
