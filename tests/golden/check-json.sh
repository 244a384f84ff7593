#!/usr/bin/env bash
# Runs velkin-tool on each definition in the sandbox and checks that it wrote
# files and that every one of them is valid JSON.
#   check-json.sh BINARY DEFINITION...
set -eu
binary=$(realpath "$1"); shift
here=$(dirname "$(realpath "$0")")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
for def in "$@"; do
    scratch=$tmp/$(basename "$def")
    (cd "$(dirname "$def")" && "$here/../sandbox.sh" "$scratch" -- "$binary" "$(basename "$def")") \
        > /dev/null 2>&1
    mapfile -t files < <(find "$scratch/out" -type f | sort)
    [ ${#files[@]} -gt 0 ] || { echo "$def: no file written" >&2; fail=1; }
    python3 -c '
import json, sys
bad = 0
for name in sys.argv[1:]:
    try:
        json.load(open(name, encoding="utf-8"))
    except ValueError as e:
        print("invalid JSON:", name, e, file=sys.stderr)
        bad = 1
sys.exit(bad)' "${files[@]}" || fail=1
    echo "$def: ${#files[@]} files checked"
done
exit $fail
