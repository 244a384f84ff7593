#!/usr/bin/env bash
# Runs velkin-tool on one golden case and compares what it printed, logged,
# returned and wrote with the case's expected/ folder, byte for byte.
#   run.sh [--update] [--system] BINARY CASE_DIR
# A case folder holds the definition file(s), an optional "args" file (the
# arguments, one per line; without it the one file of the case is the
# argument) and expected/{stdout,log,status,tree/}. tree/ mirrors the resource
# root; an empty tree holds only the marker ".empty".
#
# BINARY is the test build, whose resource root is "res/jsons" relative to
# where it runs: the case runs in a scratch folder holding the definition and
# res/jsons/<profile directory> for every profile, and the root's relative
# spelling is written back as the system's root in stdout and the log, so one
# expected/ folder serves both builds. Needs no privileges. The profile
# directories and the system's root come from velkin-facts, whose path is in
# $VELKIN_FACTS.
# --system: BINARY is the installed build; it runs in tests/sandbox.sh (a
# private mount namespace, root only) against the real resource root.
# --update rewrites expected/ from the run instead of comparing.
set -eu
update=0 system=0
while :; do
    case ${1:-} in
    --update) update=1; shift ;;
    --system) system=1; shift ;;
    *) break ;;
    esac
done
[ $# -eq 2 ] || { echo "usage: $0 [--update] [--system] BINARY CASE_DIR" >&2; exit 2; }
binary=$(realpath "$1")
case_dir=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
expected=$case_dir/expected
system_root=$("${VELKIN_FACTS:?the path of velkin-facts}" resource-root)
mapfile -t profile_dirs < <("$VELKIN_FACTS" profile-dirs)

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
if [ $system -eq 1 ]; then
    (cd "$tmp/case" && "$here/../sandbox.sh" "$tmp/scratch" -- "$binary" "${args[@]}") \
        > "$tmp/stdout" 2> "$tmp/log" || status=$?
    out=$tmp/scratch/out
else
    (cd "$tmp/case" && find . -mindepth 1 | sort) > "$tmp/before"
    mkdir -p "${profile_dirs[@]/#/$tmp/case/res/jsons/}"
    (cd "$tmp/case" && exec "$binary" "${args[@]}") > "$tmp/raw-stdout" 2> "$tmp/raw-log" ||
        status=$?
    # The relative root where it starts a path: at a line's start or after one
    # of the characters the tool's records put before a path.
    for f in stdout log; do
        sed -E "s#(^|[][ :(,'\"])res/jsons(/|\$|[^[:alnum:]_.-])#\\1$system_root\\2#g" \
            "$tmp/raw-$f" > "$tmp/$f"
    done
    # The tool writes only under the root: anything else new in the folder is a fault.
    (cd "$tmp/case" && find . -mindepth 1 -not -path './res' -not -path './res/*' | sort) \
        > "$tmp/after"
    diff -u --label before --label after "$tmp/before" "$tmp/after" ||
        { echo "^^^ written outside the resource root" >&2; status=stray; }
    out=$tmp/case/res/jsons
fi
echo "$status" > "$tmp/status"
# Git keeps no empty folders: compare files only.
find "$out" -mindepth 1 -type d -empty -delete

if [ $update -eq 1 ]; then
    [ "$status" != stray ] || exit 1
    rm -rf "$expected"
    mkdir -p "$expected/tree"
    cp "$tmp/stdout" "$tmp/log" "$tmp/status" "$expected/"
    cp -a "$out/." "$expected/tree/"
    [ -n "$(ls -A "$expected/tree")" ] || touch "$expected/tree/.empty"
    exit 0
fi

fail=0
for f in stdout log status; do
    diff -u "$expected/$f" "$tmp/$f" || { echo "^^^ $f differs" >&2; fail=1; }
done
diff -r -x .empty "$expected/tree" "$out" || { echo "^^^ tree differs" >&2; fail=1; }
exit $fail
