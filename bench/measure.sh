#!/usr/bin/env bash
# Inner part of bench/run.sh; needs root. Runs in a private mount namespace with
# /usr overlaid (writes land in SCRATCH) and an empty tmpfs as the resource
# root, so nothing reaches the machine's /usr. It runs the tool and the floor
# on each definition RUNS times, alternating, under /usr/bin/time -v, and
# prints one line per run:  <definition> <tool|floor|check|tree> <wall seconds> <peak RSS kB>
# (check: velkin-check, when VELKIN_BENCH_CHECKER names it; tree: velkin-tree
# --format=json with its output to /dev/null, when VELKIN_BENCH_TREE names it)
# The output tree is cleared between runs, outside the timed region.
#   measure.sh SCRATCH TOOL FLOOR RUNS DEF...
set -eu
if [ "${VELKIN_BENCH_INNER:-}" != 1 ]; then
  export VELKIN_BENCH_INNER=1
  exec unshare --mount --propagation private -- bash "$0" "$@"
fi
scratch=$1 tool=$2 floor=$3 runs=$4; shift 4
root=/usr/apps/tessaly/res/jsons
mkdir -p "$scratch/upper" "$scratch/work"
mount -t overlay overlay -o "lowerdir=/usr,upperdir=$scratch/upper,workdir=$scratch/work" /usr
mkdir -p "$root"
mount -t tmpfs velkin-bench "$root"

clear_tree() {
  rm -rf "${root:?}"/*
  mkdir "$root/tv" "$root/htv" "$root/lfd" "$root/nonsmartmonitor"
}

# one KIND DEF COMMAND...: a single timed run, stdout and log records kept in
# SCRATCH (the viewer's drawing goes to /dev/null).
one() {
  local kind=$1 def=$2 t0 t1 rss out
  shift 2
  out=$scratch/$kind.stdout
  [ "$kind" != tree ] || out=/dev/null
  clear_tree
  sync
  t0=$EPOCHREALTIME
  # The checker exits 1 on findings; the tool always 0.
  /usr/bin/time -v -o "$scratch/time.txt" "$@" >"$out" 2>"$scratch/$kind.log" ||
    [ "$kind" = check ]
  t1=$EPOCHREALTIME
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$scratch/time.txt")
  awk -v d="$def" -v k="$kind" -v a="$t0" -v b="$t1" -v r="$rss" \
    'BEGIN { printf "%s %s %.6f %s\n", d, k, b - a, r }'
}

# Warm the page cache so every timed run reads its file from memory.
cat "$@" > /dev/null
# Rounds over all sizes, so a slow spell of the machine touches every size alike.
for ((i = 0; i < runs; i++)); do
  for def in "$@"; do
    one tool "$def" "$tool" "$def"
    one floor "$def" "$floor" "$def"
    if [ -n "${VELKIN_BENCH_CHECKER:-}" ]; then
      one check "$def" "$VELKIN_BENCH_CHECKER" "$def"
    fi
    if [ -n "${VELKIN_BENCH_TREE:-}" ]; then
      one tree "$def" "$VELKIN_BENCH_TREE" --format=json "$def"
    fi
  done
done
