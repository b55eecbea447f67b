#!/usr/bin/env bash
# Installs the dependencies, builds the program with the files it loads at run
# time (not the tests and benchmarks, which the test command builds) and
# starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh lumaprog
if [ -x build/bin/lumaprog ]; then
    exec build/bin/lumaprog "$@"
fi
