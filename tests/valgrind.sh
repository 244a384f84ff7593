#!/usr/bin/env bash
# Runs one unit test program under valgrind's memcheck, each process it forks
# included: no memory error and no definitely or indirectly lost block
# (valgrind.supp hides GLib's process-lifetime tables). Skipped (77) where
# valgrind is not installed, and on a sanitized build, which it cannot run.
# Usage: valgrind.sh SANITIZED SUPPRESSIONS PROGRAM [TEST_ARG...]   (SANITIZED: ON or OFF)
set -u
sanitized=$1 supp=$2 program=$3
shift 3
[ "$sanitized" = OFF ] || { echo "a sanitized build: skipped"; exit 77; }
command -v valgrind >/dev/null || { echo "valgrind is not installed: skipped"; exit 77; }
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
status=0
valgrind --leak-check=full --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \
  --error-exitcode=99 --suppressions="$supp" --num-callers=30 --log-file="$logs/%p" \
  "$program" --gtest_brief=1 "$@" || status=$?
fail=0
for log in "$logs"/*; do
  grep -q 'ERROR SUMMARY: 0 errors' "$log" || { cat "$log"; fail=1; }
done
[ "$status" -eq 0 ] || { echo "exit status $status"; fail=1; }
exit $fail
