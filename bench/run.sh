#!/usr/bin/env bash
# Benchmarks velkin-tool against the floor (json-glib parsing a definition and
# serialising it once) on generated definitions of about 1, 10 and 40 MB, and
# prints median wall time, peak RSS and the growth of time per MB, then
# velkin-check's time and peak RSS and velkin-tree's (--format=json) time on
# each definition against the tool's. As root:
#   bench/run.sh              all sizes, 5 runs each
#   bench/run.sh --smallest   the smallest size only (CI)
# Environment: VELKIN_BENCH_SIZES (MB, default "1 10 40"), VELKIN_BENCH_RUNS
# (default 5), VELKIN_BENCH_SMALLEST=1 (same as --smallest), VELKIN_BENCH_BUILD
# (Release build directory, default build-bench).
set -eu
cd "$(dirname "$0")/.."
sizes=${VELKIN_BENCH_SIZES:-1 10 40}
runs=${VELKIN_BENCH_RUNS:-5}
smallest=${VELKIN_BENCH_SMALLEST:-0}
build=${VELKIN_BENCH_BUILD:-build-bench}
for arg in "$@"; do
  case $arg in
    --smallest) smallest=1 ;;
    *) echo "usage: bench/run.sh [--smallest]" >&2; exit 2 ;;
  esac
done
if [ "$smallest" = 1 ]; then
  sizes=$(printf '%s\n' $sizes | sort -g | head -n1)
fi

scripts/deps.sh time
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELKIN_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target velkin-tool velkin-floor velkin-check velkin-tree >/dev/null
build=$(cd "$build" && pwd)

tmp=$(mktemp -d /tmp/velkin-bench.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
defs=()
for mb in $sizes; do
  mkdir -p "$tmp/defs/$mb"
  python3 bench/gen_menu.py --mb "$mb" -o "$tmp/defs/$mb/menu-tv.json" 2>&1
  defs+=("$tmp/defs/$mb/menu-tv.json")
done

VELKIN_BENCH_CHECKER=$build/check/velkin-check VELKIN_BENCH_TREE=$build/tree/velkin-tree \
  bash bench/measure.sh "$tmp/scratch" "$build/velkin-tool" "$build/bench/velkin-floor" \
  "$runs" "${defs[@]}" > "$tmp/runs.txt"

python3 - "$tmp/runs.txt" "$runs" <<'PY'
import os, statistics, sys
rows = [l.split() for l in open(sys.argv[1])]
by = {}
for d, kind, wall, rss in rows:
    by.setdefault(d, {}).setdefault(kind, []).append((float(wall), int(rss)))
print("runs per size: %s (median wall time; peak RSS from /usr/bin/time -v, median)" % sys.argv[2])
head = ("size MB", "tool s", "floor s", "ratio", "tool RSS MB", "floor RSS MB",
        "RSS ratio", "tool s/MB", "s/MB growth")
print("%8s %8s %8s %6s %12s %13s %10s %10s %12s" % head)
prev = None
for d, r in by.items():
    mb = os.path.getsize(d) / 1e6
    tw = statistics.median(w for w, _ in r["tool"])
    fw = statistics.median(w for w, _ in r["floor"])
    tr = statistics.median(m for _, m in r["tool"]) / 1024
    fr = statistics.median(m for _, m in r["floor"]) / 1024
    per = tw / mb
    growth = "%.2fx" % (per / prev) if prev else "-"
    print("%8.2f %8.3f %8.3f %6.2f %12.1f %13.1f %10.2f %10.4f %12s"
          % (mb, tw, fw, tw / fw, tr, fr, tr / fr, per, growth))
    prev = per
# velkin-check on each definition, against the tool's time (target: within
# 1x) and peak RSS (target: within 1.25x).
print("%8s %8s %8s %12s %12s %12s %10s" % ("size MB", "check s", "tool s", "check/tool",
                                           "check RSS MB", "tool RSS MB", "RSS ratio"))
for d, r in by.items():
    if "check" in r:
        cw = statistics.median(w for w, _ in r["check"])
        tw = statistics.median(w for w, _ in r["tool"])
        cr = statistics.median(m for _, m in r["check"]) / 1024
        tr = statistics.median(m for _, m in r["tool"]) / 1024
        print("%8.2f %8.3f %8.3f %12.2f %12.1f %12.1f %10.2f"
              % (os.path.getsize(d) / 1e6, cw, tw, cw / tw, cr, tr, cr / tr))
# velkin-tree --format=json on each definition, against the tool's (target: within 1x).
print("%8s %8s %8s %12s %12s" % ("size MB", "tree s", "tool s", "tree/tool", "tree RSS MB"))
for d, r in by.items():
    if "tree" in r:
        vw = statistics.median(w for w, _ in r["tree"])
        tw = statistics.median(w for w, _ in r["tool"])
        vr = statistics.median(m for _, m in r["tree"]) / 1024
        print("%8.2f %8.3f %8.3f %12.2f %12.1f" % (os.path.getsize(d) / 1e6, vw, tw, vw / tw, vr))
PY
