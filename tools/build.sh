#!/usr/bin/env bash
# Configures and builds into ./build: the targets named, or everything. The
# start and the test command share this one configuration, so that
# alternating between them rebuilds nothing.
#
#   tools/build.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build
# Two starts at once take turns here instead of running two builds in one folder.
exec {lock}>build/.build-lock
flock "$lock"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMAPROG_WERROR=ON >/dev/null
targets=()
for target in "$@"; do
    targets+=(--target "$target")
done
cmake --build build "${targets[@]}"
