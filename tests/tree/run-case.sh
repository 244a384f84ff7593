#!/usr/bin/env bash
# Runs velkin-tree in one case folder with the arguments of its "args" file
# (one a line) and compares what it wrote, standard error then standard
# output, and its exit status with the folder's "expected". Paths in the
# arguments are relative to the case folder; ../diff-base-menu-tv.json is the
# definition the --diff cases change.
#   run-case.sh [--update] TREE CASE_DIR   (--update rewrites "expected")
set -u
update=0
[ "$1" = --update ] && { update=1; shift; }
tree=$(realpath "$1")
cd "$2" || exit 1
mapfile -t args <args
out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0
"$tree" "${args[@]}" >"$out" 2>&1 || status=$?
echo "exit status $status" >>"$out"
if [ $update -eq 1 ]; then
  cp "$out" expected
elif ! diff -u expected "$out"; then
  echo "^^^ output of velkin-tree ${args[*]} differs from $2/expected"
  exit 1
fi
