#!/usr/bin/env bash
# The command line of velkin-check end to end: exit statuses when causes mix,
# options (with '=' and with a space), rules disabled by option and by project
# file, standard input, directories, colour, GitHub annotations and unreadable
# files. The shipped examples are cases/example-*.
# Usage: cli.sh CHECKER SOURCE_DIR
set -u
checker=$1 src=$2
# shellcheck source=tests/clikit.sh
. "$(dirname "$(realpath "$0")")/../clikit.sh"
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 1
program=$checker
# run NAME STATUS CHECK ARGS...: expect, then CHECK: "out:ERE" or "err:ERE" (a
# line matches), "!out:ERE" (none does), "out:" or "err:" (empty), or "-".
run() {
  local name=$1 want=$2 check=$3 file; shift 3
  expect "$name" "$want" "$@"
  file=${check%%:*} && file=${file#!}
  case $check in
  -) ;;
  *:) empty "$name" "$file" ;;
  !*) lacks "$name" "$file" "${check#*:}" ;;
  *) matches "$name" "$file" "${check#*:}" ;;
  esac
}
define() {  # define PATH TEXT
  mkdir -p "$(dirname "$1")" && printf '%s\n' "$2" >"$1"
}

define clean/menu-tv.json '{"providers": ["p"], "menutree": {"main": {"submenuitems": ["a"]}}, "menuitems": {"a": {}}}'
define warn/menu-tv.json '{"providers": ["p"], "menutree": {"main": {"submenuitems": ["absent"]}}, "menuitems": {}}'
define bad/menu-tv.json '{"providers": ["p"], "menutree": {"helper": {"submenuitems": []}}}'
reserved='\[reserved-menu-name\]$'

# Exit status: 2 (usage, a file not read) before 1 (errors, warnings under
# --werror) before 0, whatever the order of the files (run-case.sh checks each
# case alone); the files after one not read are still checked. Then the
# options, with '=' and with a space.
while read -r row; do
  eval "run $row"
done <<'EOF'
error-and-clean     1 - bad/menu-tv.json clean/menu-tv.json
clean-and-error     1 '!out:^clean/' clean/menu-tv.json bad/menu-tv.json
unread-then-error   2 'out:^bad/menu-tv.json:.*\[reserved-menu-name\]$' no-such/menu-tv.json bad/menu-tv.json
error-then-unread   2 - bad/menu-tv.json no-such/menu-tv.json
unread-and-werror   2 - --werror no-such/menu-tv.json warn/menu-tv.json
unread-only         2 'err:^velkin-check: no-such/menu-tv.json: No such file or directory$' no-such/menu-tv.json
usage-and-error     2 out: --frobnicate bad/menu-tv.json
help                0 'out:^Usage: velkin-check ' --help
help-short          0 'out:^Usage: velkin-check ' -h
version             0 'out:^velkin-check [0-9]+\.[0-9]+\.[0-9]+$' --version
no-file             2 'err:^velkin-check: no file to check$'
bad-option          2 "err:^velkin-check: unknown option '--frobnicate'$" --frobnicate clean/menu-tv.json
bad-format          2 "err:^velkin-check: unknown format 'xml'" --format=xml clean/menu-tv.json
format-no-value     2 "err:^velkin-check: option '--format' needs a value$" --format
format-space        1 'out:^  "version": "2.1.0",$' --format sarif bad/menu-tv.json
format-text         1 'out:^bad/menu-tv.json:1:[0-9]+: error: .*\[reserved-menu-name\]$' --format=text bad/menu-tv.json
format-github       1 'out:^::error file=bad/menu-tv.json,line=1,col=[0-9]+,title=reserved-menu-name::menu' --format=github bad/menu-tv.json
bad-color           2 "err:^velkin-check: unknown colour choice 'sometimes'" --color=sometimes clean/menu-tv.json
color-space         1 'out:^bad/menu-tv.json:.*\[reserved-menu-name\]$' --color never bad/menu-tv.json
explain             0 'out:^syntax \(error\)$' --explain=syntax
explain-space       0 'out:^missing-definition \(warning\)$' --explain missing-definition
explain-unknown     2 "err:^velkin-check: unknown rule 'nope'" --explain=nope
disable-unknown     2 "err:^velkin-check: unknown rule 'nope'" --disable=syntax,nope clean/menu-tv.json
stdin-name-alone    2 "err:'-' is not among the files" --stdin-filename=menu-tv.json clean/menu-tv.json
stdin-twice         2 'err:standard input is read once' - -
after-dashdash      1 'out:^bad/menu-tv.json:.*\[reserved-menu-name\]$' -- bad/menu-tv.json
list-rules          0 'out:^no-profile +warning +[A-Z]' --list-rules
disable             0 out: --disable=reserved-menu-name bad/menu-tv.json
disable-twice       0 out: --werror --disable missing-definition --disable=reserved-menu-name,syntax warn/menu-tv.json bad/menu-tv.json
disable-empty-item  0 out: --disable=syntax,,reserved-menu-name, bad/menu-tv.json
select-unknown      2 "err:^velkin-check: unknown rule 'nope'" --select=syntax,nope clean/menu-tv.json
select-none         2 'err:^velkin-check: --select needs a rule$' --select=, clean/menu-tv.json
select-only         0 out: --werror --select=syntax --select no-profile warn/menu-tv.json bad/menu-tv.json
select-less-disable 1 '!out:missing-definition' --select=reserved-menu-name,missing-definition --disable=missing-definition warn/menu-tv.json bad/menu-tv.json
EOF
# --list-rules: one rule a line (sarif.py compares them with the SARIF log).
"$checker" --list-rules | grep -vE '^[a-z-]+ +(error|warning|off) +[A-Z].*$' && fail "list-rules: lines above"

# Rules disabled by the nearest project file above the definition; --no-config
# reads none; without a name, standard input takes the working directory's.
define project/sub/deeper/menu-tv.json "$(cat bad/menu-tv.json)"
printf '# checks for this project\n\n  disable = missing-definition ,, reserved-menu-name  # both\n' \
  >project/.velkin-check
run config-above 0 out: project/sub/deeper/menu-tv.json
run no-config 1 "out:$reserved" --no-config project/sub/deeper/menu-tv.json
printf '# nothing disabled here\n' >project/sub/.velkin-check
run config-nearest 1 "out:$reserved" project/sub/deeper/menu-tv.json
rm project/sub/.velkin-check
expect config-stdin-named 0 --stdin-filename=project/menu-tv.json - <bad/menu-tv.json
(cd project && "$checker" --disable=no-profile - <../bad/menu-tv.json >../out 2>&1) ||
  { fail "config-stdin-unnamed: the working directory's project file not read"; cat out; }
define broken/menu-tv.json "$(cat clean/menu-tv.json)"
printf '# fine\ndisable=syntax\ndisable=nope\n' >broken/.velkin-check
run config-unknown 2 "err:^velkin-check: broken/.velkin-check:3: unknown rule 'nope' \(velkin-check --list-rules lists them\)$" \
  clean/menu-tv.json broken/menu-tv.json
# A byte-order mark and CRLF line ends, as some editors save them.
printf '\357\273\277# saved on Windows\r\ndisable=missing-definition\r\n' >broken/.velkin-check
cp broken/.velkin-check warn/.velkin-check
run config-bom-crlf 0 out: --werror warn/menu-tv.json
rm warn/.velkin-check
printf 'enable=syntax\n' >broken/.velkin-check
run config-bad-line 2 "err:^velkin-check: broken/.velkin-check:1: expected 'disable=RULE,\.\.\.', .* not 'enable=syntax'$" \
  broken/menu-tv.json
printf 'ignore=missing-definition\n' >broken/.velkin-check
run config-ignore-no-identifier 2 "err:^velkin-check: broken/.velkin-check:1: expected 'ignore=RULE:IDENTIFIER'" \
  broken/menu-tv.json
printf 'ignore=nope:a\n' >broken/.velkin-check
run config-ignore-unknown 2 "err:^velkin-check: broken/.velkin-check:1: unknown rule 'nope'" broken/menu-tv.json

# Levels (a later line wins) and findings accepted by identifier: the level
# decides the exit status, the text, the annotations and SARIF alike.
# Rows: name|project file|definition's folder|status|check|options.
while IFS='|' read -r name config from status check options; do
  mkdir -p "levels/$name" && printf "$config" >"levels/$name/.velkin-check"
  cp "$from/menu-tv.json" "levels/$name/"
  # shellcheck disable=SC2086 # the options, one word each
  run "$name" "$status" "$check" $options "levels/$name/menu-tv.json"
done <<'ROWS'
level-error|error=missing-definition\n|warn|1|out:: error: .*\[missing-definition\]$|
level-error-github|error=missing-definition\n|warn|1|out:^::error file=.*title=missing-definition::item|--format=github
level-warning|warning=reserved-menu-name\n|bad|0|out:: warning: .*\[reserved-menu-name\]$|
level-warning-werror|warning=reserved-menu-name\n|bad|1|out:: warning: |--werror
level-warning-sarif|warning=reserved-menu-name\n|bad|0|out:"level": ?"warning", ?"message"|--format=sarif
level-last-wins|error=missing-definition\nwarning=missing-definition\n|warn|0|out:: warning: |
level-disable-later|error=missing-definition\ndisable=missing-definition\n|warn|0|out:|
level-option-disables|error=missing-definition\n|warn|0|out:|--disable=missing-definition
ignore-identifier|error=missing-definition\nignore=missing-definition:absent\n|warn|0|out:|
ignore-other-identifier|ignore=missing-definition:present\n|warn|0|out:\[missing-definition\]$|
ignore-other-rule|ignore=unused-definition:absent\n|warn|0|out:\[missing-definition\]$|
ignore-quoted|ignore = missing-definition:"absent"  # quoted\n|warn|0|out:|
ROWS
# The shipped examples: clean under --werror once their project file accepts
# the placeholders they show on purpose, and exactly those without it.
run examples-clean 0 out: --werror "$src/examples"
"$checker" --no-config "$src/examples" | grep -o "item '[a-z_]*'" | sort | tr '\n' ' ' >out
[ "$(cat out)" = "item 'device_usage' item 'sign_language_zoom' item 'time' " ] ||
  { fail "examples-placeholders: other findings"; cat out; }
# --list-rules: the levels in force in the working directory.
mkdir -p levels/list && printf 'error=missing-definition\ndisable=no-profile\n' >levels/list/.velkin-check
(cd levels/list && "$checker" --list-rules) >out 2>&1
grep -qE '^missing-definition +error ' out && grep -qE '^no-profile +off ' out &&
  grep -qE '^syntax +error ' out || { fail "list-rules-levels: levels not in force"; cat out; }
(cd levels/list && "$checker" --no-config --list-rules) >out 2>&1
grep -qE '^missing-definition +warning ' out || fail "list-rules-no-config: project file read"
expect config-ignored 0 --no-config broken/menu-tv.json

# Standard input: its name selects the profile and names it in the report.
run stdin-named 1 "out:^defs/menu-lfd.json:1:[0-9]+: error: .*$reserved" --stdin-filename=defs/menu-lfd.json - \
  <bad/menu-tv.json
lacks stdin-named out 'no-profile'
run stdin-unnamed 0 'out:^<stdin>:1:1: warning: .*\[no-profile\]$' - <warn/menu-tv.json
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
# A directory with no definition below it is a mistake, not a clean pass; a
# FIFO, socket or device named like one is passed over, never opened (a FIFO
# without a writer would block the check for ever).
mkdir empty-directory
run empty-directory 2 'err:^velkin-check: empty-directory: no menu-\*\.json file below it$' empty-directory
mkdir specials only-specials && mkfifo specials/menu-tv.json only-specials/menu-tv.json
ln -s /dev/null specials/menu-htv.json
# A writer that gives up after a while: a checker that opened a FIFO reads a
# syntax error instead of hanging the test.
writers=()
for fifo in specials/menu-tv.json only-specials/menu-tv.json; do
  timeout 20 sh -c "echo x >$fifo" >/dev/null 2>&1 &
  writers+=($!)
done
define specials/sub/menu-lfd.json "$(cat warn/menu-tv.json)"
run special-files-skipped 0 'out:^specials/sub/menu-lfd.json:.*\[missing-definition\]$' specials
run special-files-only 2 'err:^velkin-check: only-specials: no menu-\*\.json file below it$' only-specials
kill "${writers[@]}" 2>/dev/null

# Colour: gcc's, where asked; never in a pipe under auto.
esc=$'\033'
expect color-always 1 --color=always bad/menu-tv.json warn/menu-tv.json
sed "s/$esc\[[0-9;]*m//g" out >plain
"$checker" bad/menu-tv.json warn/menu-tv.json >uncoloured
cmp -s plain uncoloured || fail "color-always: other text than without colour"
for sgr in "^$esc\[1mbad/menu-tv.json:1:[0-9]+:$esc\[0m $esc\[1;31merror:$esc\[0m .* $esc\[2m\[reserved-menu-name\]$esc\[0m$" \
           "^$esc\[1mwarn/menu-tv.json:1:[0-9]+:$esc\[0m $esc\[1;35mwarning:$esc\[0m .* $esc\[2m\[missing-definition\]$esc\[0m$"; do
  matches color-always out "$sgr"
done
run color-auto-pipe 1 "!out:$esc" bad/menu-tv.json
run color-never 1 "!out:$esc" --color=never bad/menu-tv.json
# On a terminal (script(1) gives one): under --color=auto only where TERM is
# set and not "dumb" and NO_COLOR is unset or empty; --color=always and
# --color=never whatever the environment ("-": none).
while read -r coloured env options; do
  # shellcheck disable=SC2086 # the variables given, one word each
  env -i PATH="$PATH" ${env//[,-]/ } script -qec "'$checker' $options bad/menu-tv.json" /dev/null \
    </dev/null >tty.txt
  grep -q "$esc\[1;31merror:$esc\[0m .*reserved-menu-name" tty.txt && got=yes || got=no
  grep -q 'reserved-menu-name' tty.txt || got="no finding"
  [ "$got" = "$coloured" ] || fail "terminal $env $options: colour $got, expected $coloured"
done <<'EOF'
yes TERM=xterm
yes TERM=xterm --color=auto
no  TERM=xterm,NO_COLOR=1
no  TERM=xterm,NO_COLOR=0
yes TERM=xterm,NO_COLOR=
no  TERM=dumb
no  -
no  TERM=xterm --color=never
yes TERM=xterm,NO_COLOR=1 --color=always
yes TERM=dumb --color always
EOF

# GitHub annotations: '%', CR, LF, ':' and ',' escaped in properties, '%',
# CR and LF in the message.
odd=$'x,y:50%\r\nz'
define "$odd/menu-tv.json" '{"providers": ["p"], "menutree": {"main": {"submenuitems": ["100%"]}}, "menuitems": {}}'
run github-escapes 0 "out:^::warning file=x%2Cy%3A50%25%0D%0Az/menu-tv.json,line=1,col=[0-9]+,title=missing-definition::item '100%25' of menu 'main' .*: it is written" \
  --format=github "$odd/menu-tv.json"

# --fix: the file replaced through a link (the link kept), the changes said
# on standard output (on standard error with SARIF, which stays one
# document), a clean file left alone, standard input refused.
twice='{"providers": ["p"], "menutree": {"main": {"submenuitems": ["a", "a"]}}, "menuitems": {"a": {}}}'
once='{"providers": ["p"], "menutree": {"main": {"submenuitems": ["a"]}}, "menuitems": {"a": {}}}'
define fix/real/menu-tv.json "$twice"
mkdir -p fix/linked && ln -s ../real/menu-tv.json fix/linked/menu-tv.json
run fix-link 0 'out:^fix/linked/menu-tv.json:1:[0-9]+: fixed: remove "a" \[duplicate-entry\]$' --fix fix/linked/menu-tv.json
[ -L fix/linked/menu-tv.json ] && [ "$(cat fix/real/menu-tv.json)" = "$once" ] ||
  fail "fix-link: the link's target not repaired"
define fix/sarif/menu-tv.json "$twice"
run fix-sarif 0 'err:: fixed: remove "a"' --fix --format=sarif fix/sarif/menu-tv.json
python3 -c 'import json,sys; json.load(open(sys.argv[1]))' out || fail "fix-sarif: not one JSON document"
cp clean/menu-tv.json fix/clean.json && touch -d @1000000000 clean/menu-tv.json
run fix-clean 0 out: --fix clean/menu-tv.json
[ "$(stat -c %Y clean/menu-tv.json)" = 1000000000 ] || fail "fix-clean: a clean file rewritten"
run fix-stdin 2 "err:^velkin-check: --fix rewrites files: standard input cannot be fixed$" --fix - <clean/menu-tv.json

# Files and directories that cannot be read (as root every one can): on
# stderr, status 2, the rest still checked.
if [ "$(id -u)" -ne 0 ]; then
  cp clean/menu-tv.json locked-menu-tv.json && chmod 000 locked-menu-tv.json
  run unreadable 2 'err:^velkin-check: locked-menu-tv.json: Permission denied$' locked-menu-tv.json
  chmod 000 tree/b
  run unreadable-directory 2 'err:^velkin-check: tree/b: Permission denied$' tree
  matches unreadable-directory out '^tree/menu-lfd.json:.*\[missing-definition\]$'
  chmod 755 tree/b
  # A file that cannot be replaced stays as it was, whole, and nothing is
  # left beside it.
  define locked/menu-tv.json "$twice" && chmod 555 locked
  run fix-unwritable 2 "err:^velkin-check: locked/menu-tv.json: not fixed: .*Permission denied" --fix locked/menu-tv.json
  [ "$(cat locked/menu-tv.json)" = "$twice" ] && [ "$(ls -A locked)" = menu-tv.json ] ||
    fail "fix-unwritable: the file changed or a temporary file stayed"
  matches fix-unwritable out "lists 'a' again.*\(fixable\) \[duplicate-entry\]$"
  chmod 755 locked
else
  echo "skipped as root: unreadable, unreadable-directory, fix-unwritable"
fi

# Every option of --help is in the manual page.
sed 's/\\-/-/g' "$src/doc/velkin-check.1" >page
"$checker" --help | grep -oE -- '--[a-z-]+' | sort -u | while read -r opt; do
  grep -qF -- "$opt" page || echo "FAIL velkin-check(1) lacks $opt"
done | tee missing-options
[ -s missing-options ] && fails=$((fails + 1))

[ "$fails" -eq 0 ] && echo "all command-line checks passed"
exit $((fails > 0))
