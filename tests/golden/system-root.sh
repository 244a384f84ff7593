#!/usr/bin/env bash
# Runs the installed build (whose resource root is /usr/apps/tessaly/res/jsons)
# on a few golden cases against that root, inside a private mount namespace
# (tests/sandbox.sh). Exits 77, which CTest reports as skipped, where the
# machine allows no such namespace: not root, or no right to mount.
#   system-root.sh BINARY CASE_DIR...
set -eu
[ $# -ge 2 ] || { echo "usage: $0 BINARY CASE_DIR..." >&2; exit 2; }
binary=$1; shift
here=$(dirname "$(realpath "$0")")
if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: a private mount namespace needs root (running as uid $(id -u))"
    exit 77
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
if ! unshare --mount --propagation private -- mount -t tmpfs velkin-probe "$probe" 2>"$probe.err"; then
    echo "skipped: no private mount namespace here: $(cat "$probe.err")"
    rm -f "$probe.err"
    exit 77
fi
rm -f "$probe.err"
fail=0
for case_dir in "$@"; do
    if "$here/run.sh" --system "$binary" "$case_dir"; then
        echo "ok: $(basename "$case_dir")"
    else
        echo "FAIL: $(basename "$case_dir")"
        fail=1
    fi
done
exit $fail
