#!/usr/bin/env bash
# neovim's built-in client against velkin-lsp: nvim-test.lua does what an
# author does, this checks what it saw and the files it wrote. Skipped (77)
# where nvim is not installed.
#   nvim.sh SERVER TEST_DIRECTORY
set -eu
server=$1 here=$2
command -v nvim >/dev/null || { echo "nvim is not installed: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/definitions/menu-tv.json" "$work/"
cd "$work"
LSP_DIR=$work LSP_SERVER=$server HOME=$work XDG_STATE_HOME=$work XDG_DATA_HOME=$work \
  timeout 60 nvim --headless --clean -u "$here/nvim-test.lua" >"$work/nvim.log" 2>&1 || true
expected='diagnostic 3:51 missing-definition
diagnostic 3:62 missing-definition
diagnostic 11:8 unused-definition
shown 3
definition 10:9
hover **Helligkeit** `brightness`
quickfix Remove "brightness"
fixed true
renamed         "picture": {"submenuitems": ["brightness", "size", "ghost"]},
action Disable unused-definition in .velkin-check
stopped true'
if [ "$(cat results.txt 2>/dev/null)" != "$expected" ]; then
  echo "nvim saw:"; cat results.txt 2>/dev/null || echo "(no results)"
  echo "expected:"; echo "$expected"; cat nvim.log; exit 1
fi
grep -q '"size"' menu-tv.json || { echo "the rename was not written"; exit 1; }
[ "$(cat .velkin-check)" = "disable=unused-definition" ] ||
  { echo ".velkin-check holds: $(cat .velkin-check)"; exit 1; }
echo "neovim $(nvim --version | head -1): diagnostics, definition, hover, quick fix, rename and code action as expected"
