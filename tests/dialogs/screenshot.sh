#!/usr/bin/env bash
# Screenshots of the board settings, options and about dialogs in both
# languages, and of the bootloader connect dialog after a switch from the
# other language, for checking the layout by eye.
# Usage: tests/dialogs/screenshot.sh [build folder] [output folder, default <build>/screenshots]
# Runs under Xvfb when xvfb-run is there, else on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
out=${2:-$build/screenshots}
cmake --build "$build" --target gui_screenshot lumaprog >/dev/null
mkdir -p "$out"
run=()
if command -v xvfb-run >/dev/null; then
    run=(xvfb-run -a -s "-screen 0 1280x1024x24")
else
    export QT_QPA_PLATFORM=offscreen
fi
for language in EN DE; do
    for dialog in board options about; do
        "${run[@]}" "$build/tests-bin/gui_screenshot" "$build/bin" "$language" 0 \
            "$out/dialog-$language-$dialog.png" 0 - "dialog=$dialog"
    done
done
for switch in EN:DE DE:EN; do
    from=${switch%:*} to=${switch#*:}
    "${run[@]}" "$build/tests-bin/gui_screenshot" "$build/bin" "$from" 0 \
        "$out/dialog-$to-connect-after-$from.png" 0 - "connect=$to"
done
echo "screenshots in $out/"
