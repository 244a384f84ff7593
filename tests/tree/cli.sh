#!/usr/bin/env bash
# velkin-tree's command line end to end: options, exit statuses 0/1/2, one
# line on standard error and nothing on standard output for bad input,
# --output, colour only on a terminal, a definition through a pipe, and a
# profile directory written by the splitter drawn and compared.
# Usage: cli.sh TREE TOOL SOURCE_DIR
set -u
tree=$(realpath "$1") tool=$(realpath "$2") src=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fails=0
fail() { echo "FAIL $*"; fails=$((fails + 1)); }

# expect NAME STATUS ARGS...: runs velkin-tree, keeps stdout/stderr in out/err.
expect() {
  local name=$1 want=$2; shift 2
  local status=0
  "$tree" "$@" >out 2>err || status=$?
  [ "$status" -eq "$want" ] || { fail "$name: exit status $status, expected $want"; cat out err; }
}
has() { grep -qF -- "$3" "$2" || { fail "$1: no '$3' in $2:"; head -20 "$2"; }; }
lines() { [ "$(wc -l <"$2")" -eq "$3" ] || { fail "$1: $2 has $(wc -l <"$2") lines, not $3"; cat "$2"; }; }
empty() { [ ! -s "$2" ] || { fail "$1: $2 not empty:"; head -5 "$2"; }; }
json() { python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$2" || fail "$1: $2 is not JSON"; }

cp "$src/examples/menu-tv.json" menu-tv.json
python3 - <<'PY'
import json
d = json.load(open("menu-tv.json"))
d["menutree"]["expert_sound"]["submenuitems"].remove("balance")
d["menuitems"]["voice_volume"]["display-name"] = "Level"
json.dump(d, open("changed-menu-tv.json", "w"), indent=1)
PY

expect help 0 --help
has help out "Usage: velkin-tree [OPTION]... DEFINITION|PROFILE_DIRECTORY"
expect version 0 --version
has version out "velkin-tree "
for args in "" "--format=svg menu-tv.json" "--bogus menu-tv.json" "menu-tv.json menu-tv.json" \
            "--diff menu-tv.json" "--diff --format=dot menu-tv.json menu-tv.json" "--output= menu-tv.json"; do
  # shellcheck disable=SC2086
  expect "usage '$args'" 2 $args
  empty "usage '$args'" out
  lines "usage '$args'" err 2
done

expect draw 0 menu-tv.json
has draw out '├── sound "Sound"'
has draw out '+ added   ~ amended   ! no definition (placeholder)'
grep -q $'\033' out && fail "draw: colour codes on a file"
expect draw-always 0 --color=always menu-tv.json
grep -q $'\033\[1mmain' out || fail "draw-always: no colour"
# On a terminal (script gives one) that can show colour: colour unless
# NO_COLOR says otherwise.
if command -v script >/dev/null; then
  TERM=xterm script -qec "$tree menu-tv.json" /dev/null >tty.txt </dev/null
  grep -q $'\033\[1mmain' tty.txt || fail "terminal: no colour"
  TERM=xterm NO_COLOR=1 script -qec "$tree menu-tv.json" /dev/null >tty.txt </dev/null
  grep -q $'\033' tty.txt && fail "terminal with NO_COLOR: colour"
fi

# Bad input: one line on stderr, nothing drawn, status 2.
printf '{"menutree": {' >malformed-menu-tv.json
: >empty-menu-tv.json
python3 -c 'print("[" * 2000 + "]" * 2000)' >deep-menu-tv.json
mkdir no-menus && echo '{}' >no-menus/helper.json
for bad in malformed-menu-tv.json empty-menu-tv.json deep-menu-tv.json missing-menu-tv.json no-menus; do
  expect "bad $bad" 2 "$bad"
  empty "bad $bad" out
  lines "bad $bad" err 1
  has "bad $bad" err "velkin-tree: $bad"
done
expect bad-output 2 --output=drawn.txt malformed-menu-tv.json
[ ! -e drawn.txt ] || fail "bad-output: drawn.txt written"
expect output 0 --format=json --output=drawn.json menu-tv.json
empty output out
json output drawn.json

# Formats other tools read.
expect json 0 --format=json menu-tv.json
json json out
has json out '"profile": "tv"'

# A definition through a pipe, read once; no profile in /dev/fd/N or '-'.
expect pipe 0 --format=json <(cat menu-tv.json)
has pipe out '"profile": null'
expect stdin 0 - <menu-tv.json
has stdin out '├── sound "Sound"'
expect diff-equal 0 --diff <(cat menu-tv.json) menu-tv.json
empty diff-equal out
expect diff-differ 1 --diff menu-tv.json <(cat changed-menu-tv.json)
has diff-differ out "entry removed  balance from expert_sound at 1"
has diff-differ out '  + {"display-name":"Level","style":"slider","min":0,"max":10,"default":5}'
expect diff-json 1 --diff --format=json menu-tv.json changed-menu-tv.json
json diff-json out
has diff-json out '"equal": false'
expect diff-error 2 --diff menu-tv.json malformed-menu-tv.json
empty diff-error out

# The profile directory the splitter writes draws the definition's menu.
mkdir -p res/jsons/tv res/jsons/htv res/jsons/lfd res/jsons/nonsmartmonitor
"$tool" menu-tv.json >/dev/null 2>&1
expect directory 0 res/jsons/tv
sed 's/├── + /├── /; /^+ added/,$d' <("$tree" menu-tv.json) | sed '${/^$/d}' >want.txt
sed '/^+ added/,$d' out | sed '${/^$/d}' >got.txt
diff want.txt got.txt >/dev/null || { fail "directory: drawing differs beyond the added marks"; diff want.txt got.txt | head; }
expect directory-diff 0 --diff menu-tv.json res/jsons/tv
printf 'not json' >res/jsons/tv/stale.json
expect directory-left-out 0 res/jsons/tv
has directory-left-out err "velkin-tree: warning: res/jsons/tv/stale.json: not JSON (left out)"

# The README's drawing of the example is what velkin-tree draws, and every
# member name of the JSON outputs is documented in the README and the manual page.
"$tree" menu-tv.json >drawing.txt
"$tree" --format=json "$src/tests/tree/odd-menu-tv.json" >model.json
"$tree" --diff --format=json menu-tv.json changed-menu-tv.json >diff.json
python3 - "$src/README.md" "$src/doc/velkin-tree.1" drawing.txt model.json diff.json <<'PY' || fail "documentation"
import json, sys
readme, page, drawing = (open(p, encoding="utf-8").read() for p in sys.argv[1:4])
block = readme.split("    $ velkin-tree examples/menu-tv.json\n", 1)[1].split("\n\n")[0]
shown = [l[4:] for l in block.splitlines() if l.strip() != "..."]
drawn = drawing.splitlines()
missing = [l for l in shown if l not in drawn]
def keys(value):
    if isinstance(value, dict):
        for k, v in value.items():
            yield k
            yield from keys(v)
    elif isinstance(value, list):
        for v in value:
            yield from keys(v)
names = set(keys(json.load(open(sys.argv[4])))) | set(keys(json.load(open(sys.argv[5]))))
undocumented = [k for k in sorted(names) if '"%s"' % k not in readme or '"%s"' % k not in page]
for l in missing:
    print("README drawing line not drawn: %r" % l)
for k in undocumented:
    print("JSON member not documented in README and velkin-tree(1): %s" % k)
sys.exit(1 if missing or undocumented or len(shown) < 10 else 0)
PY

[ "$fails" -eq 0 ] || { echo "$fails failure(s)"; exit 1; }
echo "velkin-tree command line: all checks passed"
