#!/usr/bin/env bash
# Runs a command in a private mount namespace where /usr is an overlay whose
# writes land in a scratch directory, with an empty resource root holding the
# four profile directories. Nothing reaches the machine's real /usr tree.
#   sandbox.sh SCRATCH -- COMMAND...
# After the command, the resource root's files are copied to SCRATCH/out.
set -eu
scratch=$1; shift; [ "$1" = -- ] && shift
root=/usr/apps/tessaly/res/jsons
mkdir -p "$scratch/upper" "$scratch/work" "$scratch/out"
exec unshare --mount --propagation private -- bash -c '
  set -eu
  scratch=$1; root=$2; shift 2
  mount -t overlay overlay -o "lowerdir=/usr,upperdir=$scratch/upper,workdir=$scratch/work" /usr
  mkdir -p "$root"
  mount -t tmpfs velkin-test "$root"
  mkdir "$root/tv" "$root/htv" "$root/lfd" "$root/nonsmartmonitor"
  status=0
  "$@" || status=$?
  cp -a "$root/." "$scratch/out/"
  exit $status
' sandbox "$scratch" "$root" "$@"
