#!/usr/bin/env bash
# Emacs's eglot against velkin-lsp, configured as the README's recipe says:
# eglot-test.el does what an author does, this checks what it saw and the
# files it wrote. Skipped (77) where Emacs or eglot is not installed.
#   eglot.sh SERVER TEST_DIRECTORY
set -eu
server=$1 here=$2
command -v emacs >/dev/null || { echo "emacs is not installed: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
HOME=$work emacs --batch -q --eval "(progn (package-initialize) (require 'eglot))" >/dev/null 2>&1 ||
  { echo "eglot is not installed: skipped"; exit 77; }
cp "$here/definitions/menu-tv.json" "$work/"
cd "$work"
LSP_DIR=$work LSP_SERVER=$server HOME=$work \
  timeout 60 emacs --batch -q -l "$here/eglot-test.el" >"$work/emacs.log" 2>&1 || true
# Emacs counts columns in characters: "ghost" stands at 60 after "Größe".
expected='diagnostic 3:51 missing-definition
diagnostic 3:60 missing-definition
diagnostic 11:8 unused-definition
definition 10:9
renamed         "picture": {"submenuitems": ["brightness", "size", "ghost"]},
action Disable unused-definition in .velkin-check
stopped yes'
if [ "$(cat results.txt 2>/dev/null)" != "$expected" ]; then
  echo "eglot saw:"; cat results.txt 2>/dev/null || echo "(no results)"
  echo "expected:"; echo "$expected"; cat emacs.log; exit 1
fi
grep -q '"size"' menu-tv.json || { echo "the rename was not saved"; exit 1; }
[ "$(cat .velkin-check)" = "disable=unused-definition" ] ||
  { echo ".velkin-check holds: $(cat .velkin-check)"; exit 1; }
echo "$(emacs --version | head -1), eglot: diagnostics, definition, rename and code action as expected"
