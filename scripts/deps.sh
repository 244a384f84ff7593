#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, through sudo
# when not run as root; does nothing when they are all installed. graphviz and
# chromium run velkin-tree's DOT and HTML output in its tests; neovim and
# Emacs (with eglot, built in from Emacs 29) are the editors velkin-lsp is
# tested with.
#   scripts/deps.sh [--build] [PACKAGE...]
# --build: only what building the programs needs; further packages are added.
set -eu
build=(cmake make g++ pkg-config libjson-glib-dev libglib2.0-dev libefl-all-dev)
tests=(googletest libgtest-dev valgrind util-linux python3 python3-jsonschema python3-yaml
       groff-base mandoc graphviz chromium neovim emacs-nox)
# Debian 12's Emacs 28 has no eglot of its own.
if grep -qx 'VERSION_ID="12"' /etc/os-release 2>/dev/null; then tests+=(elpa-eglot); fi
if [ "${1:-}" = --build ]; then
  shift
  tests=()
fi
packages=("${build[@]}" "${tests[@]}" "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
