#!/usr/bin/env bash
# Names the serial port the program opens, for instance a simulator's
# /dev/pts/N: sets ProgrammerCom in the [Interface] section of the settings
# file and keeps every other line as it is. Run it with the program closed,
# which writes its own port back when it ends.
#
#   tools/use-port.sh PORT [SETTINGS_FILE]
#
# The settings file is the program's per-user one unless named:
# $XDG_CONFIG_HOME/Kal-Works/Lumaprog.ini, by default
# ~/.config/Kal-Works/Lumaprog.ini (in portable mode, the Lumaprog.ini beside
# the program).
set -euo pipefail

fail() {
    echo "use-port.sh: $1; nothing changed" >&2
    exit "${2:-1}"
}

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: tools/use-port.sh PORT [SETTINGS_FILE]" >&2
    exit 2
fi
port=$1
case $port in
    "" | *$'\n'* | *$'\r'*) fail "'$port' is no port name" 2 ;;
esac

# The program's rules: an absolute XDG_CONFIG_HOME, else the home folder's .config.
per_user_settings_file() {
    local config=${XDG_CONFIG_HOME:-}
    if [ "${config#/}" = "$config" ]; then
        local home=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}
        [ -n "$home" ] || fail "no home folder is known"
        config=$home/.config
    fi
    echo "$config/Kal-Works/Lumaprog.ini"
}

# Sets the key by the program's reading rules: section and key names compared
# without regard to case and blanks around them, only the first [Interface]
# section and the first ProgrammerCom in it count. A missing key goes behind
# the section's last line, a missing section at the end of the file; new
# lines take the file's own line end. Every other line stays byte for byte.
set_port() {
    PORT=$port LC_ALL=C awk -v last_ended="$1" '
    function trim(s) { gsub(/^[ \t\r\v\f]+/, "", s); gsub(/[ \t\r\v\f]+$/, "", s); return s }
    function parsed(s) { sub(/^\357\273\277/, "", s); return trim(s) }
    function section_name(p,    last, i) {
        last = 0
        for (i = 2; i <= length(p); i++) if (substr(p, i, 1) == "]") last = i
        return trim(last ? substr(p, 2, last - 2) : substr(p, 2))
    }
    function add(at, text,    i) {  # a new line behind line at
        for (i = n; i > at; i--) { body[i + 1] = body[i]; ending[i + 1] = ending[i] }
        n++
        body[at + 1] = text
        ending[at + 1] = eol
        if (at > 0 && ending[at] == "") ending[at] = eol
    }
    {
        n++
        body[n] = $0
        ending[n] = sub(/\r$/, "", body[n]) ? "\r\n" : "\n"
    }
    END {
        if (n > 0 && !last_ended) ending[n] = ""
        eol = "\n"
        for (i = 1; i <= n; i++) if (ending[i] != "") { eol = ending[i]; break }
        value = ENVIRON["PORT"]
        section = 0; key = 0
        for (i = 1; i <= n; i++) {
            p = parsed(body[i])
            if (substr(p, 1, 1) == "[") {
                if (section) break
                if (tolower(section_name(p)) == "interface") section = filled = i
                continue
            }
            if (!section) continue
            if (trim(body[i]) != "") filled = i
            equals = index(p, "=")
            if (equals && tolower(trim(substr(p, 1, equals - 1))) == "programmercom") { key = i; break }
        }
        if (key) {
            body[key] = trim(substr(p, 1, equals - 1)) "=" value  # the key keeps its spelling
        } else if (section) {
            add(filled, "ProgrammerCom=" value)
        } else {
            if (n > 0 && trim(body[n]) != "") add(n, "")
            add(n, "[Interface]")
            add(n, "ProgrammerCom=" value)
        }
        for (i = 1; i <= n; i++) printf "%s%s", body[i], ending[i]
    }'
}

file=${2:-$(per_user_settings_file)}
# A link is written through, as the program writes it.
if [ -L "$file" ]; then
    target=$(readlink -f -- "$file") || fail "the link $file leads nowhere"
    file=$target
fi
if [ -e "$file" ] && [ ! -f "$file" ]; then
    fail "$file is no regular file"
fi
folder=$(dirname -- "$file")
mkdir -p -- "$folder" || fail "cannot make the folder $folder"

# Written beside the file and renamed onto it: whatever cuts the work short,
# the file is the old one or the new one, whole.
new=$folder/.$(basename -- "$file").$$.$RANDOM
trap 'rm -f -- "$new"' EXIT
(set -C && : >"$new") 2>/dev/null || fail "cannot write in $folder"
if [ -f "$file" ]; then
    last_ended=1
    [ -s "$file" ] && [ -n "$(tail -c 1 -- "$file")" ] && last_ended=0
    set_port "$last_ended" <"$file" >"$new" || fail "cannot read $file"
    chmod --reference="$file" -- "$new"
else
    set_port 1 </dev/null >"$new"
fi
mv -f -- "$new" "$file" || fail "cannot replace $file"
trap - EXIT
echo "$file: ProgrammerCom=$port"
