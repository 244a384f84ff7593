#!/usr/bin/env bash
# The page of velkin-tree --format=html in headless chromium, on a generated
# definition of about MB megabytes: how long the page takes to draw (ms from
# navigation to its first drawing, as the page measures it) and how long each
# search keystroke takes once its index is built. The page is there to stay
# usable at 40 MB: first drawing within 2 s, a keystroke within 100 ms.
#   bench/page.sh [MB...]        (default 1 10 40)
# Environment: VELKIN_BENCH_BUILD (build directory, default build-bench).
set -eu
cd "$(dirname "$0")/.."
build=${VELKIN_BENCH_BUILD:-build-bench}
sizes=${*:-1 10 40}
browser=$(command -v chromium || command -v chromium-browser || true)
[ -n "$browser" ] || { echo "bench/page.sh: no chromium" >&2; exit 2; }
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELKIN_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target velkin-tree >/dev/null
tmp=$(mktemp -d /tmp/velkin-page.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
# Typed one letter after another, then a word found nowhere and a pasted one.
queries="v|vo|vol|volu|volum|volume|zzzz|sound%20mode"
printf '%-6s %9s %9s %12s  %s\n' MB entries page-MB first-ms "keystroke ms ($queries)"
for mb in $sizes; do
  python3 bench/gen_menu.py --mb "$mb" -o "$tmp/menu-tv.json" >/dev/null 2>&1
  "$build/tree/velkin-tree" --format=html --output="$tmp/page.html" "$tmp/menu-tv.json"
  entries=$("$build/tree/velkin-tree" --format=json "$tmp/menu-tv.json" |
    python3 -c 'import json,sys; print(sum(len(m["entries"]) for m in json.load(sys.stdin)["menus"]))')
  mkdir -p "$tmp/profile"
  dom=$(HOME=$tmp/profile "$browser" --headless --no-sandbox --disable-gpu --disable-dev-shm-usage \
    --disable-background-networking --disable-component-update --disable-sync --no-first-run \
    --user-data-dir="$tmp/profile" --dump-dom "file://$tmp/page.html#bench=$queries" 2>/dev/null |
    head -c 400)
  first=$(sed -n 's/.*data-ready-ms="\([0-9]*\)".*/\1/p' <<<"$dom")
  keys=$(sed -n 's/.*data-keystroke-ms="\([0-9 ]*\)".*/\1/p' <<<"$dom")
  printf '%-6s %9s %9.1f %12s  %s\n' "$mb" "$entries" \
    "$(awk -v b="$(stat -c %s "$tmp/page.html")" 'BEGIN { print b / 1e6 }')" "${first:-?}" "${keys:-?}"
done
