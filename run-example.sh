#!/usr/bin/env bash
# Installs the dependencies, builds and installs the tool, runs it on the
# shipped example definition and shows what it wrote, and the menu the device
# will show from it as velkin-tree draws it. Run it as an ordinary
# user with sudo rights or as root: sudo is used only to install packages,
# install the tool and run it against the system's resource root.
set -eu
cd "$(dirname "$0")"
SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
scripts/deps.sh --build
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVELKIN_BUILD_TESTS=OFF
cmake --build build-release -j"$(nproc)"
$SUDO cmake --install build-release
root=/usr/apps/tessaly/res/jsons
status=0
$SUDO velkin-tool examples/menu-tv.json 2> velkin-example.log || status=$?
echo "--- exit status $status; log records in velkin-example.log ($(wc -l < velkin-example.log) lines)"
for f in "$root"/tv/*.json; do
  printf '%s\n  %s\n' "$f" "$(cat "$f")"
done
echo "--- the menu the device will show: velkin-tree $root/tv"
velkin-tree --color=never "$root/tv"
