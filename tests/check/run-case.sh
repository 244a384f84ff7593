#!/usr/bin/env bash
# Runs velkin-check on the definition of one case folder, from inside it, and
# compares its output with the folder's "expected". Where the checker cannot
# explain a syntax error it gives json-glib's own wording, which begins with a
# capital and differs between json-glib versions: only its position is
# compared. The checker's own wording is compared whole. The exit status must be 1
# exactly when an error is expected, and with --werror when anything is.
#
# A case runs only the rules it is about, so that its "expected" changes only
# when they do: the rules listed in its file "rules" (ids separated by commas
# or lines; '#' starts a comment line), else the rule its folder is named
# after (the longest rule id that is the name or a prefix of it followed by
# '-': syntax-comment runs syntax). The whole-file cases run every rule: the
# shipped examples (example-*), clean (nothing at all to report) and
# file-order (findings of several rules in file order). Any other folder is
# a mistake in the case.
# A case with a file "fixed" is also repaired: --fix on a copy of its
# definition must leave that copy equal to "fixed" and print "fix-output"
# (the changes, then what remains); the copy then checks clean, or as the
# file "after" says.
# Usage: run-case.sh [--update] CHECKER CASE_DIR
# --update rewrites "expected" where the comparison finds it differs.
set -u
update=0
[ "$1" = --update ] && { update=1; shift; }
checker=$1 dir=$2
cd "$dir" || exit 1
# shellcheck disable=SC2010 # the one file besides "expected" and "rules"
definition=$(ls -A | grep -vx -e expected -e rules -e fixed -e fix-output -e after)
name=$(basename "$PWD") select=
if [ -f rules ]; then
  select=$(grep -v '^#' rules | tr -s ', \n' ',,,' | sed 's/^,//; s/,$//')
else
  for rule in $("$checker" --list-rules | cut -d' ' -f1); do
    case $name in "$rule" | "$rule"-*) [ ${#rule} -gt ${#select} ] && select=$rule ;; esac
  done
fi
case $name in
example-* | clean | file-order) args=() ;;
*)
  [ -n "$select" ] || { echo "$dir: no rule to run: name the folder after one, or list them in 'rules'"; exit 1; }
  args=(--select="$select") ;;
esac
normalise() { sed -E 's/^([^:]*:[0-9]+:[0-9]+: error: )[A-Z].*( \[syntax\])$/\1...\2/'; }

out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0
"$checker" "${args[@]}" "$definition" >"$out" 2>&1 || status=$?
actual=$(normalise <"$out")
expected=$(normalise <expected 2>/dev/null)
# compare NAME FILE: the output of the last run against the case's FILE.
compare() {
  if [ $update -eq 1 ]; then cp "$out" "$2"; return; fi
  diff <(cat "$2" 2>/dev/null) "$out" >/dev/null ||
    { echo "$1 differs from $dir/$2:"; diff <(cat "$2" 2>/dev/null) "$out"; fail=1; }
}
check_fix() {
  copy=$(mktemp -d)
  trap 'rm -rf "$out" "$copy"' EXIT
  cp "$definition" "$copy/" && chmod 640 "$copy/$definition"  # a mode umask would not give
  (cd "$copy" && "$checker" "${args[@]}" --fix "$definition") >"$out" 2>&1
  compare "--fix's output" fix-output
  if [ $update -eq 1 ]; then cp "$copy/$definition" fixed; fi
  cmp -s fixed "$copy/$definition" || { echo "--fix wrote:"; diff fixed "$copy/$definition"; fail=1; }
  [ "$(stat -c %a "$copy/$definition")" = 640 ] ||
    { echo "--fix changed the file's mode"; fail=1; }
  (cd "$copy" && "$checker" "${args[@]}" "$definition") >"$out" 2>&1
  if [ -f after ] || [ -s "$out" ]; then compare "the fixed file's check" after; fi
}
fail=0
if [ $update -eq 1 ]; then
  if [ ! -f expected ] || [ "$actual" != "$expected" ]; then cp "$out" expected; fi
  if [ -f fixed ]; then check_fix; fi
  exit 0
fi
if [ "$actual" != "$expected" ]; then
  echo "output differs from $dir/expected:"
  diff <(echo "$expected") <(echo "$actual")
  fail=1
fi
want=$(grep -q '^[^ ]*: error: ' expected && echo 1 || echo 0)
[ "$status" -eq "$want" ] || { echo "exit status $status, expected $want"; fail=1; }

status=0
"$checker" "${args[@]}" --werror "$definition" >/dev/null 2>&1 || status=$?
want=$([ -s expected ] && echo 1 || echo 0)
[ "$status" -eq "$want" ] || { echo "--werror: exit status $status, expected $want"; fail=1; }
if [ -f fixed ]; then check_fix; fi

exit $fail
