#!/usr/bin/env bash
# Runs velkin-tool on one golden case and compares what it printed, logged,
# returned and wrote with the case's expected/ folder, byte for byte.
#   run.sh [--update] BINARY CASE_DIR
# A case folder holds the definition file(s), an optional "args" file (the
# arguments, one per line; without it the one file of the case is the
# argument) and expected/{stdout,log,status,tree/}. tree/ mirrors the resource
# root; an empty tree holds only the marker ".empty".
# --update rewrites expected/ from the run instead of comparing.
set -eu
update=0
if [ "${1:-}" = --update ]; then update=1; shift; fi
[ $# -eq 2 ] || { echo "usage: $0 [--update] BINARY CASE_DIR" >&2; exit 2; }
binary=$(realpath "$1")
case_dir=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
expected=$case_dir/expected

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# -L: a case may link to a shipped example instead of copying it.
mkdir "$tmp/case"
for f in "$case_dir"/* "$case_dir"/.[!.]*; do
    [ -e "$f" ] || continue
    case ${f##*/} in expected|args) ;; *) cp -RL "$f" "$tmp/case/" ;; esac
done
args=()
if [ -f "$case_dir/args" ]; then
    mapfile -t args < "$case_dir/args"
else
    args=("$(ls -A "$tmp/case")")
fi

status=0
(cd "$tmp/case" && "$here/../sandbox.sh" "$tmp/scratch" -- "$binary" "${args[@]}") \
    > "$tmp/stdout" 2> "$tmp/log" || status=$?
echo "$status" > "$tmp/status"
# Git keeps no empty folders: compare files only.
find "$tmp/scratch/out" -mindepth 1 -type d -empty -delete

if [ $update -eq 1 ]; then
    rm -rf "$expected"
    mkdir -p "$expected/tree"
    cp "$tmp/stdout" "$tmp/log" "$tmp/status" "$expected/"
    cp -a "$tmp/scratch/out/." "$expected/tree/"
    [ -n "$(ls -A "$expected/tree")" ] || touch "$expected/tree/.empty"
    exit 0
fi

fail=0
for f in stdout log status; do
    diff -u "$expected/$f" "$tmp/$f" || { echo "^^^ $f differs" >&2; fail=1; }
done
diff -r -x .empty "$expected/tree" "$tmp/scratch/out" || { echo "^^^ tree differs" >&2; fail=1; }
exit $fail
