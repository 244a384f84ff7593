#!/usr/bin/env bash
# Vim's ALE against velkin-lsp, configured as the README's recipe says:
# ale-test.vim does what an author does, this checks what it saw and the
# files it wrote. Skipped (77) where vim or ALE is not installed.
#   ale.sh SERVER TEST_DIRECTORY
set -eu
server=$1 here=$2
command -v vim >/dev/null || { echo "vim is not installed: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
vim -N -u NONE -i NONE -es -c 'packadd ale' -c 'if !exists("g:loaded_ale") | cquit | endif' -c 'qall!' \
  </dev/null >/dev/null 2>&1 || { echo "ALE is not installed: skipped"; exit 77; }
cp "$here/definitions/menu-tv.json" "$work/"
cd "$work"
LSP_DIR=$work LSP_SERVER=$server HOME=$work \
  timeout 60 vim -N -u "$here/ale-test.vim" -i NONE -es </dev/null >"$work/vim.log" 2>&1 || true
# ALE negotiates no position encoding and reads the UTF-16 columns as byte
# columns: "ghost" shows at 60 where its byte column is 62 (the README says
# so). The rename is of a name with only ASCII text before it on every line;
# ALE leaves the empty line of the new buffer after the line it adds.
expected='diagnostic 3:51 missing-definition
diagnostic 3:60 missing-definition
diagnostic 11:8 unused-definition
definition 10:9
renamed         "picture": {"submenuitems": ["backlight", "Größe", "ghost"]},
offered 1) Disable unused-definition in .velkin-check
config disable=unused-definition|'
if [ "$(cat results.txt 2>/dev/null)" != "$expected" ]; then
  echo "ALE saw:"; cat results.txt 2>/dev/null || echo "(no results)"
  echo "expected:"; echo "$expected"; cat vim.log; exit 1
fi
[ "$(grep -c '"backlight"' menu-tv.json)" -eq 4 ] || { echo "the rename was not written everywhere"; exit 1; }
echo "$(vim --version | head -1), ALE: diagnostics, definition, rename and code action as expected"
