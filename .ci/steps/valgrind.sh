#!/usr/bin/env bash
# Runs the test build of the tool (resource root res/jsons, relative) under
# valgrind's memcheck, each run in a scratch folder holding that root, on the
# shipped examples and on every golden case (with the case's arguments), and
# the unit tests: no memory error, no definitely or indirectly lost block, and
# the exit status the case expects. tests/valgrind.supp hides GLib's process-lifetime tables.
set -eu
cd "$(dirname "$0")/../.."
scripts/deps.sh
cmake -S . -B build-vg -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKIN_BUILD_TESTS=ON >/dev/null
cmake --build build-vg -j"$(nproc)" --target velkin-tool-test velkin_unit_tests
tool=$PWD/build-vg/velkin-tool-test
vg=(valgrind --leak-check=full --show-leak-kinds=all --errors-for-leak-kinds=definite,indirect
    --error-exitcode=1 --suppressions="$PWD/tests/valgrind.supp" --num-callers=30)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# judge NAME WANT STATUS: a run is clean when it exited with WANT and valgrind,
# whose report is in $work/stderr, found no error.
judge() {
  local name=$1 want=$2 status=$3
  if [ "$status" -ne "$want" ] || ! grep -q 'ERROR SUMMARY: 0 errors' "$work/stderr"; then
    echo "=== valgrind: $name: exit status $status, expected $want"
    grep -E '^==[0-9]+==' "$work/stderr" | grep -vE '^==[0-9]+== *$' | tail -60
    failures=$((failures + 1))
  else
    echo "valgrind: $name: clean"
  fi
}

# check NAME DIR EXPECTED_STATUS ARGS...: runs the tool from DIR on ARGS, with
# a fresh resource root DIR/res/jsons.
check() {
  local name=$1 dir=$2 want=$3; shift 3
  local status=0
  rm -rf "$dir/res"
  mkdir -p "$dir/res/jsons"/{tv,htv,lfd,nonsmartmonitor}
  (cd "$dir" && "${vg[@]}" "$tool" "$@") >"$work/stdout" 2>"$work/stderr" || status=$?
  judge "$name" "$want" "$status"
}

for example in examples/*.json; do
  [ -f "$example" ] || continue
  rm -rf "$work/example" && mkdir "$work/example"
  check "$example" "$work/example" 0 "$PWD/$example"
done

# Golden cases: the definition files of the folder, the arguments from "args"
# (one per line) or else the folder's one file, as tests/golden/run.sh runs them.
for case_dir in tests/golden/*/; do
  [ -d "$case_dir" ] || continue
  name=${case_dir%/}
  rm -rf "$work/case" && mkdir "$work/case"
  for f in "$case_dir"* "$case_dir".[!.]*; do
    [ -e "$f" ] || continue
    case ${f##*/} in expected|args) ;; *) cp -RL "$f" "$work/case/" ;; esac
  done
  if [ -f "$case_dir/args" ]; then
    mapfile -t args <"$case_dir/args"
  else
    args=("$(ls -A "$work/case")")
  fi
  want=0
  [ -f "$case_dir/expected/status" ] && want=$(cat "$case_dir/expected/status")
  check "$name" "$work/case" "$want" "${args[@]}"
done

# The unit tests drive every operation of the classes, failure paths included.
status=0
"${vg[@]}" build-vg/tests/unit/velkin_unit_tests --gtest_brief=1 >"$work/stdout" 2>"$work/stderr" ||
  status=$?
if [ "$status" -ne 0 ]; then
  echo "=== valgrind: unit tests: exit status $status"
  tail -60 "$work/stderr"
  failures=$((failures + 1))
else
  echo "valgrind: unit tests: clean"
fi

# velkin-check on the examples and on checker cases that take each path:
# refused files, fallback positions, every rule, SARIF.
cmake --build build-vg -j"$(nproc)" --target velkin-check >/dev/null
checker=$PWD/build-vg/check/velkin-check
cases=tests/check/cases
for run in "0 examples/menu-tv.json examples/menu-lfd.json" \
           "1 --format=sarif examples/menu-tv.json $cases/syntax/menu-tv.json" \
           "1 $cases/too-deep/menu-tv.json $cases/empty/menu-tv.json" \
           "0 $cases/unfollowed-syntax/menu-tv.json $cases/duplicate-key/menu-tv.json" \
           "1 $cases/unsafe-menu-name/menu-tv.json $cases/query-too-long/menu-tv.json" \
           "0 $cases/parent-cycle/menu-tv.json $cases/ignored-edit-info/menu-tv.json" \
           "1 $cases/jsonpath-identifier/menu-tv.json $cases/non-string-identifier/menu-tv.json" \
           "2 $cases/clean/menu-tv.json no-such-menu-tv.json"; do
  read -r want args <<<"$run"
  status=0
  # shellcheck disable=SC2086
  "${vg[@]}" "$checker" $args >"$work/stdout" 2>"$work/stderr" || status=$?
  judge "velkin-check $args" "$want" "$status"
done

# velkin-tree: every format of the examples, a directory the splitter wrote
# (with a file it leaves out), --diff both ways, bad input, and its unit tests.
cmake --build build-vg -j"$(nproc)" --target velkin-tree velkin_tree_tests >/dev/null
viewer=$PWD/build-vg/tree/velkin-tree
rm -rf "$work/tree" && mkdir -p "$work/tree/res/jsons"/{tv,htv,lfd,nonsmartmonitor}
cp examples/menu-tv.json "$work/tree/"
(cd "$work/tree" && "$tool" menu-tv.json >/dev/null 2>&1)
printf 'not json' >"$work/tree/res/jsons/tv/stale.json"
printf '{"menutree": {' >"$work/tree/malformed-menu-tv.json"
python3 -c 'print("[" * 3000 + "]" * 3000)' >"$work/tree/deep-menu-tv.json"
dir=$work/tree/res/jsons/tv
for run in "0 --format=text --color=always examples/menu-tv.json" "0 --format=json examples/menu-lfd.json" \
           "0 --format=dot tests/tree/odd-menu-tv.json" "0 --format=html tests/tree/odd-menu-tv.json" \
           "0 --format=json $dir" "0 --diff examples/menu-tv.json $dir" \
           "1 --diff --format=json examples/menu-lfd.json examples/menu-tv.json" \
           "2 $work/tree/malformed-menu-tv.json" "2 $work/tree/deep-menu-tv.json" "2 --bogus"; do
  read -r want args <<<"$run"
  status=0
  # shellcheck disable=SC2086
  "${vg[@]}" "$viewer" $args >"$work/stdout" 2>"$work/stderr" || status=$?
  judge "velkin-tree $args" "$want" "$status"
done
status=0
"${vg[@]}" build-vg/tests/tree/velkin_tree_tests --gtest_brief=1 >"$work/stdout" 2>"$work/stderr" ||
  status=$?
judge "velkin-tree unit tests" 0 "$status"

# velkin-lsp: every replayed conversation, the server run under memcheck.
cmake --build build-vg -j"$(nproc)" --target velkin-lsp >/dev/null
mkdir -p "$work/lsp"
status=0
# G_SLICE set: the server would otherwise start itself again with it, out of memcheck.
G_SLICE=always-malloc LSP_WRAPPER="${vg[*]} --log-file=$work/lsp/%p.log" python3 tests/lsp/replay.py \
  build-vg/lsp/velkin-lsp tests/lsp/cases >"$work/stdout" 2>&1 || status=$?
for log in "$work"/lsp/*.log; do
  grep -q 'ERROR SUMMARY: 0 errors' "$log" || { status=1; grep -E '^==[0-9]+==' "$log" | tail -40; }
done
if [ "$status" -ne 0 ]; then
  echo "=== valgrind: velkin-lsp conversations"; cat "$work/stdout"
  failures=$((failures + 1))
else
  echo "valgrind: velkin-lsp conversations: clean ($(ls "$work"/lsp | wc -l) runs)"
fi

[ "$failures" -eq 0 ] || { echo "valgrind: $failures run(s) failed"; exit 1; }
