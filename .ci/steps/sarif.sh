#!/usr/bin/env bash
# The SARIF Multitool, the reference validator of SARIF, judges velkin-check's
# SARIF logs with its default rules: every case of tests/check/cases, by
# relative and absolute path, files outside the working directory, standard
# input, files and directories that cannot be read, identifiers that need
# escaping, lines with characters beyond ASCII (tests/check/sarif_validate.py).
# Any error or warning it reports fails the step. The tool is the npm package
# @microsoft/sarif-multitool, pinned with its integrity in .ci/sarif-multitool/
# and installed into the step's build folder; node and npm come from apt-get
# where they are missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-sarif
tools=$PWD/$build/sarif-multitool

if command -v npm >/dev/null; then scripts/deps.sh; else scripts/deps.sh nodejs npm; fi
mkdir -p "$tools"
cp .ci/sarif-multitool/package.json .ci/sarif-multitool/package-lock.json "$tools/"
(cd "$tools" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
# The package runs a native program that its install script makes executable.
native=$(cd "$tools" && node -p "require('@microsoft/sarif-multitool')")
[ -x "$native" ] || chmod u+x "$native"
(cd "$tools" && DOTNET_SYSTEM_GLOBALIZATION_INVARIANT=1 npx --no-install sarif-multitool --version |
  head -1)

cmake -S . -B "$build" -DVELKIN_WERROR=ON -DVELKIN_SARIF_MULTITOOL="$tools/node_modules/.bin/sarif-multitool" \
  >/dev/null
cmake --build "$build" -j"$(nproc)" --target velkin-check >/dev/null
python=$(command -v /usr/bin/python3 || command -v python3)
# What `npx sarif-multitool` runs, called by its path: 77 (not installed) fails here too.
"$python" tests/check/sarif_validate.py "$build/check/velkin-check" tests/check/cases \
  "$tools/node_modules/.bin/sarif-multitool"
