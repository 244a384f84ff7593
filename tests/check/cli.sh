#!/usr/bin/env bash
# The command line of velkin-check end to end: exit statuses when causes mix,
# options (with '=' and with a space), rules disabled by option and by project
# file, standard input, directories, colour, GitHub annotations, unreadable
# files, and the shipped tv example.
# Usage: cli.sh CHECKER SOURCE_DIR
set -u
checker=$1 src=$2
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 1
fails=0
root=$([ "$(id -u)" -eq 0 ] && echo yes || echo no)

fail() { echo "FAIL $*"; fails=$((fails + 1)); }
# expect NAME STATUS ARGS...: runs the checker, keeps stdout/stderr in out/err.
expect() {
  local name=$1 want=$2; shift 2
  status=0
  "$checker" "$@" >out 2>err || status=$?
  [ "$status" -eq "$want" ] || { fail "$name: exit status $status, expected $want"; cat out err; }
}
has() {  # has NAME FILE TEXT: the file holds the line TEXT
  grep -qxF -- "$3" "$2" || { fail "$1: no line '$3' in $2:"; cat "$2"; }
}
matches() {  # matches NAME FILE ERE: a line of the file matches
  grep -qE -- "$3" "$2" || { fail "$1: no line matching '$3' in $2:"; cat "$2"; }
}
lacks() {  # lacks NAME FILE ERE: no line of the file matches
  ! grep -qE -- "$3" "$2" || { fail "$1: a line matches '$3' in $2:"; cat "$2"; }
}
empty() {
  [ ! -s "$2" ] || { fail "$1: $2 not empty:"; cat "$2"; }
}
define() {  # define PATH TEXT
  mkdir -p "$(dirname "$1")" && printf '%s\n' "$2" >"$1"
}

define clean/menu-tv.json '{"menutree": {"main": {"submenuitems": ["a"]}}, "menuitems": {"a": {}}}'
define warn/menu-tv.json '{"menutree": {"main": {"submenuitems": ["absent"]}}, "menuitems": {}}'
define bad/menu-tv.json '{"menutree": {"helper": {"submenuitems": []}}}'
reserved='\[reserved-menu-name\]$'
missing='\[missing-definition\]$'

# The shipped example shows items without definition on purpose.
cp "$src/examples/menu-tv.json" menu-tv.json
w1='menu-tv.json:166:79: warning: item '"'device_usage'"' of menu '"'system_manager'"' has no definition under "menuitems": it is written as "Json Syntax Error" [missing-definition]'
w2='menu-tv.json:183:17: warning: item '"'sign_language_zoom'"' of menu '"'accessibility'"' has no definition under "menuitems": it is written as "Json Syntax Error" [missing-definition]'
expect example 0 menu-tv.json
has example out "$w1"
has example out "$w2"
[ "$(wc -l <out)" -eq 2 ] || fail "example: $(wc -l <out) lines"
empty example err
expect example-werror 1 --werror menu-tv.json
has example-werror out "$w1"

# Exit status: 2 (usage, a file not read) before 1 (errors, warnings under
# --werror) before 0, whatever the order of the files.
while read -r name want args; do
  eval "set -- $args"
  expect "$name" "$want" "$@"
done <<'EOF'
clean                0 clean/menu-tv.json
warnings             0 warn/menu-tv.json
warnings-werror      1 --werror warn/menu-tv.json
clean-werror         0 --werror clean/menu-tv.json
error                1 bad/menu-tv.json
error-and-clean      1 bad/menu-tv.json clean/menu-tv.json
clean-and-error      1 clean/menu-tv.json bad/menu-tv.json
unread-then-error    2 no-such/menu-tv.json bad/menu-tv.json
error-then-unread    2 bad/menu-tv.json no-such/menu-tv.json
unread-and-werror    2 --werror no-such/menu-tv.json warn/menu-tv.json
unread-only          2 no-such/menu-tv.json
usage-and-error      2 --frobnicate bad/menu-tv.json
EOF
# The files after one not read are still checked, and only the bad one reports.
expect unread-then-error 2 no-such/menu-tv.json bad/menu-tv.json
matches unread-then-error out "^bad/menu-tv.json:.*$reserved"
has unread-then-error err 'velkin-check: no-such/menu-tv.json: No such file or directory'
expect clean-and-error 1 clean/menu-tv.json bad/menu-tv.json
[ "$(cut -d: -f1 out | sort -u)" = bad/menu-tv.json ] || fail "clean-and-error: $(cat out)"
expect usage-and-error 2 --frobnicate bad/menu-tv.json
empty usage-and-error out

# Options: NAME STATUS STREAM ERE ARGS...: the status, and a line of STREAM
# (out or err) matching ERE.
option() {
  local name=$1 want=$2 stream=$3 re=$4; shift 4
  expect "$name" "$want" "$@"
  matches "$name" "$stream" "$re"
}
option help              0 out '^Usage: velkin-check ' --help
option help-short        0 out '^Usage: velkin-check ' -h
option version           0 out '^velkin-check [0-9]+\.[0-9]+\.[0-9]+$' --version
option no-file           2 err '^velkin-check: no file to check$'
option bad-option        2 err "^velkin-check: unknown option '--frobnicate'$" --frobnicate clean/menu-tv.json
option bad-format        2 err "^velkin-check: unknown format 'xml'" --format=xml clean/menu-tv.json
option format-no-value   2 err "^velkin-check: option '--format' needs a value$" --format
option format-space      1 out '^  "version": "2.1.0",$' --format sarif bad/menu-tv.json
option format-text       1 out "^bad/menu-tv.json:1:[0-9]+: error: .*$reserved" --format=text bad/menu-tv.json
option format-github     1 out '^::error file=bad/menu-tv.json,line=1,col=[0-9]+,title=reserved-menu-name::menu' \
  --format=github bad/menu-tv.json
option bad-color         2 err "^velkin-check: unknown colour choice 'sometimes'" --color=sometimes clean/menu-tv.json
option color-space       1 out "^bad/menu-tv.json:.*$reserved" --color never bad/menu-tv.json
option explain           0 out '^syntax \(error\)$' --explain=syntax
option explain-space     0 out '^missing-definition \(warning\)$' --explain missing-definition
option explain-unknown   2 err "^velkin-check: unknown rule 'nope'" --explain=nope
option disable-unknown   2 err "^velkin-check: unknown rule 'nope'" --disable=syntax,nope clean/menu-tv.json
option stdin-name-alone  2 err "'-' is not among the files" --stdin-filename=menu-tv.json clean/menu-tv.json
option stdin-twice       2 err 'standard input is read once' - -
option after-dashdash    1 out "^bad/menu-tv.json:.*$reserved" -- bad/menu-tv.json
empty after-dashdash err

# --list-rules: one rule a line (sarif.py compares them with the SARIF log).
expect list-rules 0 --list-rules
! grep -vqE '^[a-z-]+ +(error|warning) +[A-Z].*$' out || fail "list-rules: $(grep -vE '^[a-z-]+ ' out)"
matches list-rules out '^no-profile +warning +[A-Z]'

# Rules disabled on the command line, and by the nearest project file above
# the definition; --no-config reads none.
expect disable 0 --disable=reserved-menu-name bad/menu-tv.json
empty disable out
expect disable-twice 0 --werror --disable missing-definition --disable=reserved-menu-name,syntax \
  warn/menu-tv.json bad/menu-tv.json
empty disable-twice out
define project/sub/deeper/menu-tv.json "$(cat bad/menu-tv.json)"
printf '# checks for this project\n\n  disable = missing-definition , reserved-menu-name  # both\n' \
  >project/.velkin-check
expect config-above 0 project/sub/deeper/menu-tv.json
empty config-above out
expect no-config 1 --no-config project/sub/deeper/menu-tv.json
matches no-config out "$reserved"
printf '# nothing disabled here\n' >project/sub/.velkin-check
expect config-nearest 1 project/sub/deeper/menu-tv.json
matches config-nearest out "$reserved"
rm project/sub/.velkin-check
expect config-stdin-named 0 --stdin-filename=project/menu-tv.json - <bad/menu-tv.json
(cd project && "$checker" --disable=no-profile - <../bad/menu-tv.json >../out 2>&1) ||
  { fail "config-stdin-unnamed: the working directory's project file not read"; cat out; }
define broken/menu-tv.json "$(cat clean/menu-tv.json)"
printf '# fine\ndisable=syntax\ndisable=nope\n' >broken/.velkin-check
expect config-unknown 2 clean/menu-tv.json broken/menu-tv.json
has config-unknown err "velkin-check: broken/.velkin-check:3: unknown rule 'nope' (velkin-check --list-rules lists them)"
empty config-unknown out
printf 'enable=syntax\n' >broken/.velkin-check
expect config-bad-line 2 broken/menu-tv.json
has config-bad-line err "velkin-check: broken/.velkin-check:1: expected 'disable=RULE,...', not 'enable=syntax'"
expect config-ignored 0 --no-config broken/menu-tv.json

# Standard input: its name selects the profile and names it in the report.
expect stdin-named 1 --stdin-filename=defs/menu-lfd.json - <bad/menu-tv.json
matches stdin-named out "^defs/menu-lfd.json:1:[0-9]+: error: .*$reserved"
lacks stdin-named out 'no-profile'
expect stdin-unnamed 0 - <warn/menu-tv.json
matches stdin-unnamed out '^<stdin>:1:1: warning: .*\[no-profile\]$'
expect stdin-among-files 1 clean/menu-tv.json --stdin-filename=menu-tv.json - bad/menu-tv.json \
  <warn/menu-tv.json
[ "$(cut -d: -f1 out | uniq | tr '\n' ' ')" = "menu-tv.json bad/menu-tv.json " ] ||
  fail "stdin-among-files: $(cat out)"

# A directory: every menu-*.json below it, depth first in sorted order; other
# files are not read and links to directories are not followed.
define tree/b/c/menu-htv.json "$(cat bad/menu-tv.json)"
define tree/a/menu-tv.json "$(cat warn/menu-tv.json)"
define tree/menu-lfd.json "$(cat warn/menu-tv.json)"
define tree/notes.json 'not json'
define tree/menu-tv.json.orig 'not json'
define tree/a/xmenu-tv.json 'not json'
ln -s .. tree/a/loop
for arg in tree tree/; do
  expect "directory $arg" 1 "$arg"
  [ "$(cut -d: -f1 out | uniq | tr '\n' ' ')" = \
    "tree/a/menu-tv.json tree/b/c/menu-htv.json tree/menu-lfd.json " ] ||
    fail "directory $arg: $(cat out)"
done
mkdir empty-directory
expect empty-directory 0 empty-directory
empty empty-directory out

# Colour: gcc's, where asked; never in a pipe under auto (terminal.py tests a
# terminal).
esc=$'\033'
expect color-always 1 --color=always bad/menu-tv.json warn/menu-tv.json
sed "s/$esc\[[0-9;]*m//g" out >plain
"$checker" bad/menu-tv.json warn/menu-tv.json >uncoloured
cmp -s plain uncoloured || fail "color-always: other text than without colour"
for sgr in "^$esc\[1mbad/menu-tv.json:1:[0-9]+:$esc\[0m $esc\[1;31merror:$esc\[0m .* $esc\[2m\[reserved-menu-name\]$esc\[0m$" \
           "^$esc\[1mwarn/menu-tv.json:1:[0-9]+:$esc\[0m $esc\[1;35mwarning:$esc\[0m .* $esc\[2m\[missing-definition\]$esc\[0m$"; do
  matches color-always out "$sgr"
done
expect color-auto-pipe 1 bad/menu-tv.json
lacks color-auto-pipe out "$esc"
expect color-never 1 --color=never bad/menu-tv.json
lacks color-never out "$esc"

# GitHub annotations: '%', CR, LF, ':' and ',' escaped in properties, '%',
# CR and LF in the message.
odd=$'x,y:50%\r\nz'
define "$odd/menu-tv.json" '{"menutree": {"main": {"submenuitems": ["100%"]}}, "menuitems": {}}'
expect github-escapes 0 --format=github "$odd/menu-tv.json"
matches github-escapes out "^::warning file=x%2Cy%3A50%25%0D%0Az/menu-tv.json,line=1,col=[0-9]+,title=missing-definition::item '100%25' of menu 'main' .*: it is written"

# Files that cannot be read: reported on stderr, status 2.
expect missing-file 2 no-such-menu-tv.json
has missing-file err 'velkin-check: no-such-menu-tv.json: No such file or directory'
if [ "$root" = no ]; then
  cp clean/menu-tv.json locked-menu-tv.json && chmod 000 locked-menu-tv.json
  expect unreadable 2 locked-menu-tv.json
  has unreadable err 'velkin-check: locked-menu-tv.json: Permission denied'
  chmod 000 tree/b
  expect unreadable-directory 2 tree
  has unreadable-directory err 'velkin-check: tree/b: Permission denied'
  matches unreadable-directory out "^tree/menu-lfd.json:.*$missing"
  chmod 755 tree/b
fi

# Every option of --help is in the manual page.
sed 's/\\-/-/g' "$src/doc/velkin-check.1" >page
"$checker" --help | grep -oE -- '--[a-z-]+' | sort -u | while read -r opt; do
  grep -qF -- "$opt" page || echo "FAIL velkin-check(1) lacks $opt"
done | tee missing-options
[ -s missing-options ] && fails=$((fails + 1))

[ "$fails" -eq 0 ] && echo "all command-line checks passed"
exit $((fails > 0))
