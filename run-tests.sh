#!/usr/bin/env bash
# Installs the dependencies, builds, and runs every test (as root: the
# end-to-end tests run the tool in a private mount namespace).
set -eu
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKIN_BUILD_TESTS=ON -DVELKIN_WERROR=ON
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure --no-tests=error -j"$(nproc)"
