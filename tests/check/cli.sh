#!/usr/bin/env bash
# The command line of velkin-check end to end: options, exit statuses, stderr
# on unreadable files, several files, and the shipped tv example.
# Usage: cli.sh CHECKER SOURCE_DIR
set -u
checker=$1 src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fails=0

# expect NAME STATUS ARGS...: runs the checker, keeps stdout/stderr in out/err.
expect() {
  local name=$1 want=$2; shift 2
  local status=0
  "$checker" "$@" >out 2>err || status=$?
  if [ "$status" -ne "$want" ]; then
    echo "FAIL $name: exit status $status, expected $want"; cat out err
    fails=$((fails + 1))
  fi
}
has() {  # has NAME FILE TEXT: the file holds the line TEXT
  grep -qxF -- "$3" "$2" || { echo "FAIL $1: no line '$3' in $2:"; cat "$2"; fails=$((fails + 1)); }
}
empty() {
  [ ! -s "$2" ] || { echo "FAIL $1: $2 not empty:"; cat "$2"; fails=$((fails + 1)); }
}

cp "$src/examples/menu-tv.json" menu-tv.json
cp "$src/tests/check/cases/clean/menu-tv.json" clean-menu-tv.json
cp "$src/tests/check/cases/reserved-menu-name/menu-tv.json" bad-menu-tv.json
w1='menu-tv.json:166:79: warning: item '"'device_usage'"' of menu '"'system_manager'"' has no definition under "menuitems": it is written as "Json Syntax Error" [missing-definition]'
w2='menu-tv.json:183:17: warning: item '"'sign_language_zoom'"' of menu '"'accessibility'"' has no definition under "menuitems": it is written as "Json Syntax Error" [missing-definition]'

expect example 0 menu-tv.json
has example out "$w1"
has example out "$w2"
[ "$(wc -l <out)" -eq 2 ] || { echo "FAIL example: $(wc -l <out) lines"; fails=$((fails + 1)); }
empty example err
expect example-werror 1 --werror menu-tv.json
has example-werror out "$w1"
expect clean 0 clean-menu-tv.json
empty clean out
empty clean err
expect clean-werror 0 --werror clean-menu-tv.json
expect error 1 bad-menu-tv.json
# Files are checked in the order given; any error makes the status 1.
expect two-files 1 clean-menu-tv.json bad-menu-tv.json
[ "$(cut -d: -f1 out | sort -u)" = bad-menu-tv.json ] ||
  { echo "FAIL two-files: findings not all for bad-menu-tv.json"; fails=$((fails + 1)); }
expect explicit-text 0 --format=text clean-menu-tv.json
expect after-dashdash 0 -- clean-menu-tv.json

expect help 0 --help
grep -q '^Usage: velkin-check ' out || { echo "FAIL help: no usage line"; fails=$((fails + 1)); }
expect version 0 --version
grep -qE '^velkin-check [0-9]+\.[0-9]+\.[0-9]+$' out ||
  { echo "FAIL version: $(cat out)"; fails=$((fails + 1)); }

expect no-file 2
grep -q '^velkin-check: ' err || { echo "FAIL no-file: nothing on stderr"; fails=$((fails + 1)); }
expect bad-option 2 --frobnicate clean-menu-tv.json
expect bad-format 2 --format=xml clean-menu-tv.json
empty bad-format out
expect missing-file 2 no-such-menu-tv.json
has missing-file err 'velkin-check: no-such-menu-tv.json: No such file or directory'
# An unreadable file wins over the errors of the others; the others are still checked.
expect missing-and-bad 2 bad-menu-tv.json no-such-menu-tv.json
grep -q 'reserved-menu-name' out || { echo "FAIL missing-and-bad: bad file not checked"; fails=$((fails + 1)); }
mkdir a-directory
expect directory 2 a-directory
grep -q '^velkin-check: a-directory: ' err || { echo "FAIL directory: $(cat err)"; fails=$((fails + 1)); }
if [ "$(id -u)" -ne 0 ]; then
  cp clean-menu-tv.json locked-menu-tv.json && chmod 000 locked-menu-tv.json
  expect unreadable 2 locked-menu-tv.json
  grep -q '^velkin-check: locked-menu-tv.json: Permission denied$' err ||
    { echo "FAIL unreadable: $(cat err)"; fails=$((fails + 1)); }
fi

[ "$fails" -eq 0 ] && echo "all command-line checks passed"
exit $((fails > 0))
