#!/usr/bin/env bash
# Regenerates every golden expectation after an intended change of output,
# then shows what changed:
#   tests/update-golden.sh [BUILD_DIR]      (BUILD_DIR: default build/)
# rebuilds velkin-tool-test, velkin-check, velkin-tree and velkin-facts in
# BUILD_DIR, rewrites expected/ of every case of tests/golden/ (run.sh
# --update), the "expected" of every case of tests/check/cases/ (run-case.sh
# --update: an expectation that differs only in json-glib's wording of a
# syntax error is kept) and of tests/tree/cases/ (run-case.sh --update), and
# prints git diff --stat and the diff of the expectations. Review the diff and
# commit what you meant to change. Nothing else is written.
#   tests/update-golden.sh --no-build BUILD_DIR
# does the same with the programs BUILD_DIR holds, and
#   tests/update-golden.sh --check BUILD_DIR
# does that on a scratch copy of the cases and fails when any expectation
# would change (the ctest golden.update-changes-nothing).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
mode=update
case ${1:-} in --check | --no-build) mode=${1#--}; shift ;; esac
build=$(realpath "${1:-$top/build}")

if [ "$mode" = check ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    mkdir "$tmp/tests"
    cp -a "$here/update-golden.sh" "$here/golden" "$here/check" "$here/tree" "$tmp/tests/"
    cp -a "$top/examples" "$tmp/"
    "$tmp/tests/update-golden.sh" --no-build "$build" >/dev/null
    if diff -r "$here/golden" "$tmp/tests/golden" && diff -r "$here/check" "$tmp/tests/check" &&
        diff -r "$here/tree" "$tmp/tests/tree"; then
        echo "every expectation stays as it is"
    else
        echo "^^^ the update would change these expectations" >&2
        exit 1
    fi
    exit 0
fi
[ "$mode" = no-build ] ||
    cmake --build "$build" -j2 --target velkin-tool-test velkin-check velkin-tree velkin-facts

export VELKIN_FACTS=$build/tests/facts/velkin-facts
for case_dir in "$here"/golden/*/; do
    "$here/golden/run.sh" --update "$build/velkin-tool-test" "$case_dir"
done

for case_dir in "$here"/check/cases/*/; do
    "$here/check/run-case.sh" --update "$build/check/velkin-check" "$case_dir"
done
for case_dir in "$here"/tree/cases/*/; do
    "$here/tree/run-case.sh" --update "$build/tree/velkin-tree" "$case_dir"
done

cases=(tests/golden tests/check/cases tests/tree/cases)
if git -C "$top" rev-parse --git-dir >/dev/null 2>&1; then
    cd "$top"
    git --no-pager diff --stat -- "${cases[@]}"
    git status --short --untracked-files=all -- "${cases[@]}" | grep '^??' || :
    git --no-pager diff -- "${cases[@]}"
fi
