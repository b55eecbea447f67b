#!/usr/bin/env bash
# Runs the port command on settings files in a temporary folder (its home and
# XDG_CONFIG_HOME point there) and checks each file on disk afterwards: the
# program's first [Interface] section names the port, every other line is
# kept, and a file that is no settings file is refused untouched.
set -uo pipefail
use_port=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A relative settings path taken by mistake lands here too.
cd "$work"
failures=0
Port=/dev/pts/7
# A bound, not a measure: the command ends at once, while one that opened a FIFO would wait forever.
TimeOut=30s

failed() {
    echo "FAILED: $1" >&2
    failures=$((failures + 1))
}

# expect_file CASE FILE CONTENT: the file holds exactly CONTENT, and nothing was left beside it.
expect_file() {
    local actual
    actual=$(cat "$2"; echo .)
    [ "${actual%.}" = "$3" ] || failed "$1: $2 holds
${actual%.}
instead of
$3"
    [ -z "$(find "$(dirname "$2")" -maxdepth 1 -name '.*.ini.*')" ] || failed "$1: a temporary file was left"
}

# run CASE ARGS...: the command succeeds with HOME and XDG_CONFIG_HOME as the caller set them.
run() {
    local name=$1
    shift
    timeout "$TimeOut" "$use_port" "$@" >"$work/out" 2>&1 || failed "$name: ended with $? saying $(cat "$work/out")"
}

mkdir -p "$work/home" "$work/xdg/Kal-Works"
export HOME=$work/home XDG_CONFIG_HOME=$work/xdg
settings=$work/xdg/Kal-Works/Lumaprog.ini

# No settings file yet, nor its folders.
rm -rf "$work/xdg"
run missing "$Port"
expect_file missing "$settings" "[Interface]
ProgrammerCom=$Port
"

# A file without the section: the section goes at the end.
printf '[ProgramOptions]\nLanguageID=DE\n' >"$settings"
run "no section" "$Port"
expect_file "no section" "$settings" "[ProgramOptions]
LanguageID=DE

[Interface]
ProgrammerCom=$Port
"

# The key in the first section of that name, spelled otherwise: only its value changes,
# in the same file (renamed onto it, with its mode).
printf '[ProgramOptions]\nLanguageID=DE\n\n [interface] \n  programmercom = /dev/ttyACM0\nUartCom=/dev/ttyS0\n\n[System]\nFirstStart=0\n[Interface]\nProgrammerCom=/dev/ttyUSB9\n' >"$settings"
chmod 600 "$settings"
before=$(stat -c %i "$settings")
run "with key" "$Port"
expect_file "with key" "$settings" "[ProgramOptions]
LanguageID=DE

 [interface] 
programmercom=$Port
UartCom=/dev/ttyS0

[System]
FirstStart=0
[Interface]
ProgrammerCom=/dev/ttyUSB9
"
[ "$(stat -c %a "$settings")" = 600 ] || failed "with key: the mode is $(stat -c %a "$settings"), not 600"
[ "$(stat -c %i "$settings")" != "$before" ] || failed "with key: written in place, not renamed onto the file"

# The section without the key (a later section's key does not count): it goes behind the section's last line.
printf '[Interface]\nUartCom=/dev/ttyS0\n\n[System]\nFirstStart=0\n[INTERFACE]\nProgrammerCom=/dev/ttyUSB9\n' >"$settings"
run "without key" "$Port"
expect_file "without key" "$settings" "[Interface]
UartCom=/dev/ttyS0
ProgrammerCom=$Port

[System]
FirstStart=0
[INTERFACE]
ProgrammerCom=/dev/ttyUSB9
"

# A file with CR LF line ends and no end to its last line keeps them; the new lines take them too.
printf '[System]\r\nFirstStart=0' >"$settings"
run "CR LF" "$Port"
expect_file "CR LF" "$settings" $'[System]\r\nFirstStart=0\r\n\r\n[Interface]\r\nProgrammerCom='"$Port"$'\r\n'

# Without an absolute XDG_CONFIG_HOME, the home folder's .config.
for xdg in "" relative/path; do
    rm -rf "$work/home/.config"
    XDG_CONFIG_HOME=$xdg run "XDG_CONFIG_HOME='$xdg'" "$Port"
    expect_file "XDG_CONFIG_HOME='$xdg'" "$work/home/.config/Kal-Works/Lumaprog.ini" "[Interface]
ProgrammerCom=$Port
"
done

# A named file (portable mode: beside the program), and a link written through.
mkdir -p "$work/portable"
printf '[Interface]\nProgrammerCom=/dev/ttyACM0\n' >"$work/portable/Lumaprog.ini"
ln -s "$work/portable/Lumaprog.ini" "$work/link.ini"
run "through a link" "$Port" "$work/link.ini"
[ -L "$work/link.ini" ] || failed "through a link: the link was replaced"
expect_file "through a link" "$work/portable/Lumaprog.ini" "[Interface]
ProgrammerCom=$Port
"

# Refused, with a message, leaving everything as it was: a FIFO in the file's
# place (never opened, so nothing waits for a writer) and a port name with a line break.
mkfifo "$work/fifo.ini"
if timeout "$TimeOut" "$use_port" "$Port" "$work/fifo.ini" 2>"$work/out" || ! grep -q "no regular file" "$work/out" || [ ! -p "$work/fifo.ini" ]; then
    failed "fifo: not refused as no regular file: $(cat "$work/out")"
fi
printf '[Interface]\nProgrammerCom=/dev/ttyACM0\n' >"$settings"
if timeout "$TimeOut" "$use_port" "$(printf '/dev/pts/7\n[Evil]')" 2>"$work/out" || ! grep -q "no port name" "$work/out"; then
    failed "line break: not refused: $(cat "$work/out")"
fi
expect_file "line break" "$settings" "[Interface]
ProgrammerCom=/dev/ttyACM0
"

[ "$failures" -eq 0 ]
