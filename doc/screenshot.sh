#!/usr/bin/env bash
# Makes doc/page.png, the README's picture of velkin-tree's page: the tv
# example filtered to its amended and placeholder entries, in headless
# chromium. Rerun it after a change to the page.
#   doc/screenshot.sh [BUILD_DIR]   (default build)
set -eu
cd "$(dirname "$0")/.."
tree=${1:-build}/tree/velkin-tree
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$tree" --format=html --output="$tmp/page.html" examples/menu-tv.json
browser=$(command -v chromium || command -v chromium-browser)
HOME=$tmp "$browser" --headless --no-sandbox --disable-gpu --disable-dev-shm-usage \
  --disable-background-networking --disable-component-update --disable-sync --no-first-run \
  --hide-scrollbars --user-data-dir="$tmp/profile" --window-size=1000,620 \
  --screenshot="$tmp/page.png" "file://$tmp/page.html#f=amended,placeholder" 2>/dev/null
cp "$tmp/page.png" doc/page.png
echo "doc/page.png written"
