#!/usr/bin/env bash
# Installs everything needed to build, run and test the program on Debian 12.
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
    build-essential cmake ninja-build pkg-config \
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev \
    srecord xvfb xauth \
    libjpeg-dev libgtest-dev libgmock-dev googletest libbenchmark-dev \
    qt6-qpa-plugins qt6-translations-l10n fonts-dejavu-core >/dev/null
