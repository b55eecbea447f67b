#!/usr/bin/env bash
# Screenshots of the main window in both languages, for checking the layout by eye:
# a first start, a start whose settings name a flash and an EEPROM file, the bit
# editor, the fuse warning dialog, the programming page after writing the
# flash to the board simulator, and the close question and the flash file's open
# dialog on an English system (Qt's own texts follow the chosen language).
# Usage: tests/gui/screenshot.sh [build folder] [output folder, default <build>/screenshots]
# Runs under Xvfb when xvfb-run is there, else on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
out=${2:-$build/screenshots}
cmake --build "$build" --target gui_screenshot lumaprog board_sim >/dev/null
mkdir -p "$out"
run=()
if command -v xvfb-run >/dev/null; then
    run=(xvfb-run -a -s "-screen 0 1280x1024x24")
else
    export QT_QPA_PLATFORM=offscreen
fi
# Pages 2 and 5 for both targets (0 board, 1 module), pages 0 and 3 once.
for language in EN DE; do
    for shot in 0:0 3:0 2:0 5:0 2:1 5:1; do
        page=${shot%:*} target=${shot#*:}
        "${run[@]}" "$build/tests-bin/gui_screenshot" "$build/bin" "$language" "$page" \
            "$out/main-$language-page$page-target$target.png" "$target"
    done
    for page in 2 3 4 5; do
        "${run[@]}" "$build/tests-bin/gui_screenshot" "$build/bin" "$language" "$page" \
            "$out/images-$language-page$page.png" 0 images
    done
done
for language in EN DE; do
    for dialog in question open-flash; do
        env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG=C "${run[@]}" "$build/tests-bin/gui_screenshot" "$build/bin" \
            "$language" 2 "$out/$dialog-$language.png" 0 - "$dialog"
    done
done
"$build/bin/board_sim" >"$out/board_sim.port" &
board=$!
trap 'kill $board' EXIT
while [ ! -s "$out/board_sim.port" ]; do sleep 0.1; done
port=$(head -1 "$out/board_sim.port")
for language in EN DE; do
    "${run[@]}" "$build/tests-bin/gui_screenshot" "$build/bin" "$language" 2 "$out/bits-$language.png" 0 - bits
    "${run[@]}" "$build/tests-bin/gui_screenshot" "$build/bin" "$language" 5 "$out/warning-$language.png" 0 - warning
    "${run[@]}" "$build/tests-bin/gui_screenshot" "$build/bin" "$language" 5 "$out/written-$language.png" 0 images \
        "write=$port"
done
rm -f "$out/board_sim.port"
echo "screenshots in $out/"
