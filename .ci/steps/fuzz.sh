#!/usr/bin/env bash
# Builds the whole project and the libFuzzer targets with clang, warnings as
# errors, replays every input kept under fuzz/regressions/<target>/, then
# fuzzes the targets side by side for FUZZ_SECONDS (60) each. An input that
# crashes, leaks, hangs or runs out of memory is printed and copied to
# fuzz/regressions/<target>/ so it can be committed; the step then fails.
set -eu
cd "$(dirname "$0")/../.."
seconds=${FUZZ_SECONDS:-60}
limits=(-timeout=10 -rss_limit_mb=2048)
build=build-fuzz

scripts/deps.sh clang libclang-rt-14-dev
cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKIN_BUILD_FUZZ=ON -DVELKIN_BUILD_TESTS=ON \
  -DVELKIN_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"

# Thousands of realistic edits of the examples, each judged by the splitter:
# the checker must report every one that changes what the device gets.
# A fixed seed by default, so that whether a submission lands does not depend
# on chance; MUTATION_SEED=$(date +%s) explores further by hand.
seed=${MUTATION_SEED:-1}
echo "=== mutations: seed $seed"
status_mutations=0
VELKIN_FACTS="$PWD/$build/tests/facts/velkin-facts" python3 tests/check/mutations.py \
  "$PWD/$build/velkin-tool-test" "$PWD/$build/check/velkin-check" examples \
  --count "${MUTATIONS:-3000}" --seed "$seed" >"${TMPDIR:-/tmp}/mutations.log" 2>&1 ||
  status_mutations=1
grep -E '^(FAIL|[0-9]+ edits)' "${TMPDIR:-/tmp}/mutations.log" | cut -c1-300 || true
[ $status_mutations -eq 0 ] || echo "=== mutations failed (seed $seed; MUTATION_SEED=$seed repeats it)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work
targets=(fuzz_separate fuzz_lists fuzz_check fuzz_tree fuzz_lsp)
status=0
reason='ERROR|runtime error|check failed|bad output|GLib'

show() {  # prints an input, escaped, shortened when long
  echo "--- $1 ($(stat -c %s "$1") bytes)"
  head -c 2000 "$1" | od -An -c | head -40
}

for target in "${targets[@]}"; do
  for input in fuzz/regressions/"$target"/*; do
    [ -f "$input" ] || continue
    if ! "$build/fuzz/$target" "${limits[@]}" "$input" >"$work/replay.log" 2>&1; then
      echo "=== $target fails on the kept input $input"
      { grep -m1 -A8 -E "$reason" "$work/replay.log" || tail -20 "$work/replay.log"; } | cut -c1-200
      status=1
    fi
  done
done

for target in "${targets[@]}"; do
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  seeds=(fuzz/corpus/"$target")
  dict=()
  if [ "$target" = fuzz_separate ] || [ "$target" = fuzz_check ] || [ "$target" = fuzz_tree ]; then
    dict=(-dict=fuzz/fuzz_separate.dict)
    [ -d examples ] && seeds+=(examples)
  fi
  "$build/fuzz/$target" -max_total_time="$seconds" "${limits[@]}" "${dict[@]}" \
    -artifact_prefix="$work/$target/artifacts/" -print_final_stats=1 \
    "$work/$target/corpus" "${seeds[@]}" >"$work/$target.log" 2>&1 &
done
wait || true

for target in "${targets[@]}"; do
  echo "=== $target: $(grep -h 'stat::number_of_executed_units' "$work/$target.log" | awk '{print $2}') runs"
  for artifact in "$work/$target/artifacts"/*; do
    [ -f "$artifact" ] || continue
    { grep -m1 -A8 -E "$reason" "$work/$target.log" || tail -30 "$work/$target.log"; } | cut -c1-200
    show "$artifact"
    mkdir -p fuzz/regressions/"$target"
    cp "$artifact" fuzz/regressions/"$target"/
    echo "kept as fuzz/regressions/$target/$(basename "$artifact")"
    status=1
  done
done
[ $status_mutations -eq 0 ] || status=1
exit $status
