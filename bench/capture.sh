#!/usr/bin/env bash
# Runs a velkin-tool binary on each definition (in the sandbox of
# tests/sandbox.sh) and keeps everything it produced, for comparing two builds
# byte for byte:
#   bench/capture.sh BIN DEST DEF...      -> DEST/<k>/{out/,stdout,log,status}
#   diff -r DEST_A DEST_B
set -eu
here=$(cd "$(dirname "$0")" && pwd)
bin=$(readlink -f "$1"); dest=$2; shift 2
rm -rf "$dest"; mkdir -p "$dest"
k=0
for def in "$@"; do
  k=$((k + 1))
  def=$(readlink -f "$def")
  d="$dest/$k"; mkdir -p "$d"
  scratch=$(mktemp -d)
  status=0
  "$here/../tests/sandbox.sh" "$scratch" -- bash -c '"$1" "$2" >"$3/stdout" 2>"$3/log"' \
    run "$bin" "$def" "$d" || status=$?
  echo "$status" > "$d/status"
  mv "$scratch/out" "$d/out"
  rm -rf "$scratch"
  echo "$def" > "$d/definition"
done
