#!/usr/bin/env bash
# Installs the dependencies, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
if [ -x build/bin/lumaprog ]; then
    exec build/bin/lumaprog "$@"
fi
