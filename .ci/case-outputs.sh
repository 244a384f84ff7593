#!/usr/bin/env bash
# Runs every case of the source tree's tests through the programs of a build
# and keeps everything they wrote, unchanged, for comparison between machines:
#   .ci/case-outputs.sh SOURCE_DIR BUILD_DIR OUT_DIR
# OUT_DIR/golden/<case>/: velkin-tool-test's stdout, log (standard error),
# exit status and the tree it wrote under res/jsons, run as tests/golden/run.sh
# runs it; OUT_DIR/check/<case> and OUT_DIR/tree/<case>: what velkin-check
# and velkin-tree printed (standard output, then standard error) and their
# exit status. Nothing is compared with the expectations here.
set -eu
src=$(realpath "$1") build=$(realpath "$2") out=$3
mkdir -p "$out/golden" "$out/check" "$out/tree"
out=$(realpath "$out")
mapfile -t profile_dirs < <("$build/tests/facts/velkin-facts" profile-dirs)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for case_dir in "$src"/tests/golden/*/; do
  name=$(basename "$case_dir") keep=$out/golden/$(basename "$case_dir")
  work=$scratch/$name
  mkdir -p "$work" "$keep"
  for f in "$case_dir"* "$case_dir".[!.]*; do
    [ -e "$f" ] || continue
    case ${f##*/} in expected | args) ;; *) cp -RL "$f" "$work/" ;; esac
  done
  if [ -f "$case_dir/args" ]; then mapfile -t args <"$case_dir/args"; else args=("$(ls -A "$work")"); fi
  mkdir -p "${profile_dirs[@]/#/$work/res/jsons/}"
  status=0
  (cd "$work" && exec "$build/velkin-tool-test" "${args[@]}") >"$keep/stdout" 2>"$keep/log" || status=$?
  echo "$status" >"$keep/status"
  cp -a "$work/res/jsons" "$keep/tree"
done

for case_dir in "$src"/tests/check/cases/*/; do
  # shellcheck disable=SC2010 # the one file besides "expected" and --fix's
  definition=$(ls -A "$case_dir" | grep -vx -e expected -e rules -e fixed -e fix-output -e after)
  status=0
  (cd "$case_dir" && exec "$build/check/velkin-check" "$definition") \
    >"$out/check/$(basename "$case_dir")" 2>&1 || status=$?
  echo "exit status $status" >>"$out/check/$(basename "$case_dir")"
done

for case_dir in "$src"/tests/tree/cases/*/; do
  mapfile -t args <"$case_dir/args"
  status=0
  (cd "$case_dir" && exec "$build/tree/velkin-tree" "${args[@]}") \
    >"$out/tree/$(basename "$case_dir")" 2>&1 || status=$?
  echo "exit status $status" >>"$out/tree/$(basename "$case_dir")"
done
