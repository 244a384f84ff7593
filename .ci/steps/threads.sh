#!/usr/bin/env bash
# velkin-check runs on two threads: builds it with ThreadSanitizer and checks
# every definition the tests ship, the examples and a generated 1 MB one
# (whose large objects are indexed while both threads read them). Any report
# fails the step. json-glib and GLib are not instrumented: what is checked is
# the checker's own sharing. GSlice hands memory between threads through
# locks the sanitizer does not see, so it is told to use malloc.
set -eu
cd "$(dirname "$0")/../.."
scripts/deps.sh
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKIN_BUILD_TESTS=OFF \
  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build build-tsan -j"$(nproc)" --target velkin-check
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
python3 bench/gen_menu.py --mb 1 -o "$tmp/menu-tv.json" >/dev/null 2>&1
export G_SLICE=always-malloc TSAN_OPTIONS=halt_on_error=1:exitcode=66
checked=0
for definition in examples/*.json tests/check/cases/*/menu-*.json "$tmp/menu-tv.json"; do
  status=0
  build-tsan/check/velkin-check --no-config "$definition" >/dev/null 2>"$tmp/err" || status=$?
  if [ "$status" -gt 2 ]; then
    echo "threads: $definition: status $status"
    cat "$tmp/err"
    exit 1
  fi
  checked=$((checked + 1))
done
echo "threads: $checked definitions checked, no data race reported"
