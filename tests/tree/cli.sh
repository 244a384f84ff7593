#!/usr/bin/env bash
# velkin-tree's command line end to end: exit statuses 0/1/2, one line on
# standard error and nothing on standard output for bad input, --output,
# colour only on a terminal, a definition through a pipe, a profile directory
# written by the splitter compared with its definition, and nesting far deeper
# than a definition may hold in a directory's files. The outputs themselves,
# usage errors included, are the golden cases of cases/.
# Usage: cli.sh TREE TOOL SOURCE_DIR
set -u
tree=$(realpath "$1") tool=$(realpath "$2") src=$(realpath "$3")
# shellcheck source=tests/clikit.sh
. "$(dirname "$(realpath "$0")")/../clikit.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
program=$tree
lines() { [ "$(wc -l <"$2")" -eq "$3" ] || { fail "$1: $2 has $(wc -l <"$2") lines, not $3"; cat "$2"; }; }
json() { python3 -c 'import json, sys; json.load(open(sys.argv[1]))' "$2" || fail "$1: $2 is not JSON"; }

cp "$src/examples/menu-tv.json" menu-tv.json
# A definition and a change of it, from the --diff cases.
cp "$src/tests/tree/cases/diff-base-menu-tv.json" base-menu-tv.json
cp "$src/tests/tree/cases/diff-json-every-kind/menu-tv.json" changed-menu-tv.json

expect version 0 --version
has version out "velkin-tree "
expect draw 0 menu-tv.json
grep -q $'\033' out && fail "draw: colour codes on a file"
# On a terminal (script gives one): colour under auto only where TERM is set
# and not "dumb" and NO_COLOR is unset or empty ("-": no variable set); never
# into an --output file. The decision itself is tested in tests/cli.
if command -v script >/dev/null; then
  while read -r coloured env options; do
    # shellcheck disable=SC2086 # the variables given, one word each
    env -i PATH="$PATH" ${env//[,-]/ } script -qec "'$tree' $options menu-tv.json" /dev/null \
      </dev/null >tty.txt
    grep -q $'\033\[1mmain' tty.txt && got=yes || got=no
    [ "$got" = "$coloured" ] || fail "terminal $env $options: colour $got, expected $coloured"
  done <<'EOF'
yes TERM=xterm
no  TERM=xterm,NO_COLOR=1
no  TERM=dumb
no  -
yes TERM=dumb --color=always
no  TERM=xterm --output=coloured.txt
EOF
  grep -q $'\033' coloured.txt && fail "terminal --output: colour in the file"
fi

# What "menudelete" removes from the example is in every format, and under
# --no-deleted in none (the marks and places are the cases' own).
for format in text json dot html; do
  for hide in "" --no-deleted; do
    "$tree" --format=$format $hide menu-tv.json >drawing.txt
    n=$(grep -c 'legacy_3d\|film_mode\|ipv6\|perspective_3d' drawing.txt)
    { [ -z "$hide" ] && [ "$n" -gt 0 ]; } || { [ -n "$hide" ] && [ "$n" -eq 0 ]; } ||
      fail "deletions: --format=$format $hide: $n lines name a deleted menu or entry"
  done
done

# Bad input (cases/bad-* and cases/usage-* hold more): one line on stderr,
# nothing drawn, status 2, whatever json-glib's wording.
printf '{"menutree": {' >malformed-menu-tv.json
expect malformed 2 malformed-menu-tv.json
empty malformed out
lines malformed err 1
has malformed err "velkin-tree: malformed-menu-tv.json: not a JSON document: "
expect bad-output 2 --output=drawn.txt malformed-menu-tv.json
[ ! -e drawn.txt ] || fail "bad-output: drawn.txt written"
expect output 0 --format=json --output=drawn.json menu-tv.json
empty output out
json output drawn.json
# --output never overwrites an input: the definition itself (by any name) or a
# file of a profile directory drawn; the refused file keeps its bytes.
cp menu-tv.json kept-menu-tv.json
mkdir -p tv && printf '{}' >tv/helper.json && ln -sf ../kept-menu-tv.json tv/link-menu-tv.json
for target in kept-menu-tv.json ./kept-menu-tv.json tv/link-menu-tv.json; do
  expect "output-onto-input $target" 2 --output="$target" kept-menu-tv.json
  has "output-onto-input $target" err "would overwrite an input"
done
expect output-into-directory 2 --format=json --output=tv/helper.json tv
cmp -s kept-menu-tv.json menu-tv.json || fail "output-onto-input: the definition changed"
[ "$(cat tv/helper.json)" = '{}' ] || fail "output-into-directory: helper.json changed"
expect output-diff-onto-new 2 --diff --output=kept-menu-tv.json menu-tv.json kept-menu-tv.json

# The graph's size limit, at 2000 boxes and folders (a menu and its leaves):
# one more and the graph is refused with a hint, a part of it still drawn.
for leaves in 1999 2000; do
  python3 -c "import json; print(json.dumps({'menutree': {'main': {'submenuitems':
    ['i%d' % k for k in range($leaves)]}}}))" >wide-menu-tv.json
  expect "dot-$leaves-leaves" $((leaves == 2000 ? 2 : 0)) --format=dot wide-menu-tv.json
done
has dot-2000-leaves err "2001 nodes, more than Graphviz lays out in good time (2000)"
expect dot-part-of-too-many 0 --format=dot --root=main --depth=1 menu-tv.json

# A definition through a pipe, read once; no profile in /dev/fd/N or '-'.
expect pipe 0 --format=json <(cat menu-tv.json)
has pipe out '"profile": null'
expect stdin 0 - <menu-tv.json
has stdin out '├── sound "Sound"'
expect diff-equal 0 --diff <(cat menu-tv.json) menu-tv.json
empty diff-equal out
expect diff-differ 1 --diff base-menu-tv.json <(cat changed-menu-tv.json)
has diff-differ out "  + eq \"Json Syntax Error\" at 3"
expect diff-error 2 --diff menu-tv.json malformed-menu-tv.json
empty diff-error out

# The profile directory the splitter writes shows no difference from its definition.
mkdir -p res/jsons/tv res/jsons/htv res/jsons/lfd res/jsons/nonsmartmonitor
"$tool" menu-tv.json >/dev/null 2>&1
expect directory-diff 0 --diff menu-tv.json res/jsons/tv

# A chain of 3000 sub-menus, far deeper than the indentation drawn: every
# level is drawn, none indented past the bound, so the text grows linearly.
python3 -c 'print("{\"menutree\": {%s}}" % ",".join(
  "\"m%d\": {\"submenuitems\": [\"m%d\"]}" % (i, i + 1) for i in range(3000)))' >chain-menu-tv.json
expect deep-chain 0 chain-menu-tv.json
has deep-chain out '└── ! m3000 "Json Syntax Error" (level 3000)'
[ "$(awk '{ if (length($0) > n) n = length($0) } END { print n }' out)" -lt 400 ] ||
  fail "deep-chain: lines indented past the bound"

# A directory's files are read without recursion: 200000 nested arrays cost no stack.
mkdir -p deep/tv
python3 -c 'd = 200000; print("{\"menuitems\": {\"i\": %s},\"menutree\": {\"a\":{}}}" % ("[" * d + "]" * d))' >deep/tv/a.json
python3 -c 'print("{\"menuitems\": {\"i\": " + "[" * 200000)' >deep/tv/b.json
expect deep-directory 0 deep/tv
has deep-directory err "velkin-tree: warning: deep/tv/b.json: not JSON (left out)"

# The README's drawings of the example are what velkin-tree draws, and every
# member name of the JSON outputs is documented in the README and the manual page.
bash "$src/doc/screenshot.sh" --check "$tree" || fail "README drawings"
"$tree" --format=json "$src/tests/tree/odd-menu-tv.json" >model.json
"$tree" --diff --format=json base-menu-tv.json changed-menu-tv.json >diff.json
"$tree" --diff --format=json "$src/tests/tree/cases/diff-base-menu-tv.json" \
  "$src/tests/tree/cases/diff-menu-deleted-with-its-entries/menu-tv.json" \
  >>diff.json || true
python3 - "$src/README.md" "$src/doc/velkin-tree.1" model.json diff.json <<'PY' || fail "documentation"
import re, sys
readme, page, model, diff = (open(p, encoding="utf-8").read() for p in sys.argv[1:])
names = set(re.findall(r'("[a-z-]+"):', model + diff))
undocumented = sorted(k for k in names if k not in readme or k not in page)
for k in undocumented:
    print("JSON member not documented in README and velkin-tree(1): %s" % k)
sys.exit(1 if undocumented or len(names) < 20 else 0)
PY

[ "$fails" -eq 0 ] || { echo "$fails failure(s)"; exit 1; }
echo "velkin-tree command line: all checks passed"
