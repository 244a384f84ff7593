#!/usr/bin/env bash
# Installs the dependencies, builds, and runs every test. Run it as an ordinary
# user (sudo is used only to install packages) or as root. The end-to-end tests
# need no privileges; golden.system-root, which runs the installed build at the
# real resource root in a private mount namespace, needs root and reports
# itself skipped otherwise.
set -eu
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKIN_BUILD_TESTS=ON -DVELKIN_WERROR=ON
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure --no-tests=error -j"$(nproc)"
