# shellcheck shell=bash disable=SC2154 # `program` is set by the sourcing script
# What the command-line tests share, sourced with `program` set: a count of
# failures, the program run with its output kept in the files out and err, and
# checks of such a file, each naming the check it belongs to.
fails=0
fail() { echo "FAIL $*"; fails=$((fails + 1)); }
# expect NAME STATUS ARGS...: runs the program, keeps stdout/stderr in out/err.
expect() {
  local name=$1 want=$2; shift 2
  status=0
  "$program" "$@" >out 2>err || status=$?
  [ "$status" -eq "$want" ] || { fail "$name: exit status $status, expected $want"; cat out err; }
}
has() { grep -qF -- "$3" "$2" || { fail "$1: no '$3' in $2:"; head -20 "$2"; }; }
matches() { grep -qE -- "$3" "$2" || { fail "$1: no line matching '$3' in $2:"; cat "$2"; }; }
lacks() { ! grep -qE -- "$3" "$2" || { fail "$1: a line matches '$3' in $2:"; cat "$2"; }; }
empty() { [ ! -s "$2" ] || { fail "$1: $2 not empty:"; head -5 "$2"; }; }
