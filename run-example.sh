#!/usr/bin/env bash
# Installs the dependencies, builds and installs the tool, runs it on the
# shipped example definition and shows what it wrote (as root).
set -eu
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVELKIN_BUILD_TESTS=OFF
cmake --build build-release -j"$(nproc)"
cmake --install build-release
root=/usr/apps/tessaly/res/jsons
velkin-tool examples/menu-tv.json 2> velkin-example.log
echo "--- exit status $?; log records in velkin-example.log ($(wc -l < velkin-example.log) lines)"
for f in "$root"/tv/*.json; do
  printf '%s\n  %s\n' "$f" "$(cat "$f")"
done
