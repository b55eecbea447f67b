#!/usr/bin/env bash
# Runs the install step with an apt-get, apt and sudo that fail and note that
# they were called. With every package installed it must succeed without them.
set -euo pipefail
install_deps=$1
fakes=$(mktemp -d)
trap 'rm -rf "$fakes"' EXIT
for tool in apt-get apt sudo; do
    printf '#!/bin/sh\necho "%s was called: $*" >>"%s/calls"\nexit 1\n' "$tool" "$fakes" >"$fakes/$tool"
    chmod +x "$fakes/$tool"
done
if ! PATH="$fakes:$PATH" "$install_deps"; then
    echo "the install step failed with every package installed" >&2
    cat "$fakes/calls" >&2 2>/dev/null || true
    exit 1
fi
if [ -e "$fakes/calls" ]; then
    cat "$fakes/calls" >&2
    exit 1
fi
