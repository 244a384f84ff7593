#!/usr/bin/env bash
# Regenerates every golden expectation after an intended change of output,
# then shows what changed:
#   tests/update-golden.sh [BUILD_DIR]      (BUILD_DIR: default build/)
# rebuilds velkin-tool-test, velkin-check and velkin-facts in BUILD_DIR,
# rewrites expected/ of every case of tests/golden/ (run.sh --update) and the
# "expected" of every case of tests/check/cases/ (velkin-check run from inside
# the case folder on its definition, stdout and stderr together, as
# run-case.sh runs it; an expectation that differs only in json-glib's wording
# of a syntax error is kept), and prints git diff --stat and the diff of the
# expectations. Review the diff and commit what you meant to change. Nothing
# else is written.
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
    cp -a "$here/update-golden.sh" "$here/golden" "$here/check" "$tmp/tests/"
    cp -a "$top/examples" "$tmp/"
    "$tmp/tests/update-golden.sh" --no-build "$build" >/dev/null
    if diff -r "$here/golden" "$tmp/tests/golden" && diff -r "$here/check" "$tmp/tests/check"; then
        echo "every expectation stays as it is"
    else
        echo "^^^ the update would change these expectations" >&2
        exit 1
    fi
    exit 0
fi
[ "$mode" = no-build ] || cmake --build "$build" -j2 --target velkin-tool-test velkin-check velkin-facts

export VELKIN_FACTS=$build/tests/facts/velkin-facts
for case_dir in "$here"/golden/*/; do
    "$here/golden/run.sh" --update "$build/velkin-tool-test" "$case_dir"
done

# run-case.sh's comparison: json-glib's own message of a syntax error is not
# compared, its position is.
normalise() { sed -E 's/^([^:]*:[0-9]+:[0-9]+: error: ).*( \[syntax\])$/\1...\2/' "$@"; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for case_dir in "$here"/check/cases/*/; do
    # shellcheck disable=SC2010 # the definition found as run-case.sh finds it
    (cd "$case_dir" && "$build/check/velkin-check" "$(ls -A | grep -vx expected)" >"$out" 2>&1) || :
    if [ ! -f "$case_dir/expected" ] || [ "$(normalise "$out")" != "$(normalise "$case_dir/expected")" ]; then
        cp "$out" "$case_dir/expected"
    fi
done

if git -C "$top" rev-parse --git-dir >/dev/null 2>&1; then
    cd "$top"
    git --no-pager diff --stat -- tests/golden tests/check/cases
    git status --short --untracked-files=all -- tests/golden tests/check/cases | grep '^??' || :
    git --no-pager diff -- tests/golden tests/check/cases
fi
