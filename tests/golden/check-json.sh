#!/usr/bin/env bash
# Runs the test build of velkin-tool (resource root res/jsons) on each
# definition, in a scratch folder of its own, and checks that it wrote files
# and that every one of them is valid JSON.
#   VELKIN_FACTS=velkin-facts check-json.sh BINARY DEFINITION...
set -eu
binary=$(realpath "$1"); shift
mapfile -t profile_dirs < <("${VELKIN_FACTS:?the path of velkin-facts}" profile-dirs)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
for def in "$@"; do
    scratch=$tmp/$(basename "$def")
    mkdir -p "${profile_dirs[@]/#/$scratch/res/jsons/}"
    cp "$def" "$scratch/"
    (cd "$scratch" && "$binary" "$(basename "$def")") > /dev/null 2>&1
    mapfile -t files < <(find "$scratch/res" -type f | sort)
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
