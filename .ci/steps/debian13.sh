#!/usr/bin/env bash
# Runs the README's two commands on a fresh minimal Debian 13 (trixie) root:
# debootstrap from the Debian mirror this machine's apt uses, a clean clone of
# this repository inside, ./run-example.sh and ./run-tests.sh chrooted there,
# then the .deb built there and installed with apt. CI's own machine is
# Debian 12, so together with run-tests.sh this runs the same tests on both.
# Needs root (debootstrap, mounts, chroot). The root gets a private /dev; every
# mount is undone and the root removed on every way out, and the host's
# /dev/null must still be the character device then. Downloaded packages are
# kept in $cache between runs.
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD
suite=trixie
cache=${VELKIN_DEBIAN13_CACHE:-/var/cache/velkin-ci/debian13}
started=$SECONDS

fail() { echo "debian13.sh: $*" >&2; exit 1; }
step() { echo "--- [$((SECONDS - started)) s] $*"; }

mirror=$(.ci/debian-mirror.sh) || fail "no apt source of this machine's release to take the mirror from"
mirror=${mirror%/}

if ! command -v debootstrap >/dev/null; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
fi

work=$(mktemp -d /var/tmp/velkin-debian13.XXXXXX)
root=$work/root

# Mounts below $work, deepest first (a path sorts after its parents).
mounts_below() {
  findmnt -rn -o TARGET | awk -v w="$work" 'index($0, w "/") == 1 || $0 == w' | LC_ALL=C sort -r
}

# Processes of this step still running inside the root (after a signal).
in_root_pids() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && echo "${p#/proc/}"
  done
  return 0
}

cleanup() {
  local status=$? round m pids
  trap - EXIT INT TERM HUP
  step "cleaning up"
  [ -z "$running" ] || kill "$running" 2>/dev/null || true
  pids=$(in_root_pids)
  if [ -n "$pids" ]; then
    kill $pids 2>/dev/null || true
    sleep 2
    pids=$(in_root_pids)
    [ -z "$pids" ] || kill -KILL $pids 2>/dev/null || true
  fi
  for round in 1 2 3; do
    [ -n "$(mounts_below)" ] || break
    for m in $(mounts_below); do
      umount "$m" 2>/dev/null || { [ "$round" -lt 3 ] || umount -l "$m" 2>/dev/null; } || true
    done
  done
  if [ -n "$(mounts_below)" ]; then
    echo "debian13.sh: still mounted, $work left in place:" >&2
    mounts_below >&2
    status=1
  else
    rm -rf --one-file-system "$work"
  fi
  if [ ! -c /dev/null ]; then
    echo "debian13.sh: the host's /dev/null is no longer a character device" >&2
    status=1
  fi
  step "cleaned up"
  exit "$status"
}
running=
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

mkdir -p "$cache/debootstrap" "$cache/apt/partial"
step "debootstrap --variant=minbase $suite from $mirror"
include=
case $mirror in https:*) include=--include=ca-certificates ;; esac
# Long commands run in the background and are waited for, so that a signal
# reaches the clean-up at once.
debootstrap --variant=minbase $include --cache-dir="$cache/debootstrap" \
  "$suite" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 &
running=$!
wait $running || { tail -n 30 "$work/debootstrap.log" >&2; fail "debootstrap failed"; }

# The root as a mount point of its own, then the kernel file systems.
mount --bind "$root" "$root"
mount --make-private "$root"
mount -t proc proc "$root/proc"
# A /dev of its own: a tmpfs holding the host's few harmless nodes, each bound
# alone (a package that replaces one gets EBUSY instead of replacing the
# host's), and its own pseudo-terminals and shared memory.
mount -t tmpfs -o mode=755,nosuid,noexec tmpfs "$root/dev"
for d in null zero full random urandom tty; do
  : >"$root/dev/$d"
  mount --bind "/dev/$d" "$root/dev/$d"
done
mkdir "$root/dev/pts" "$root/dev/shm"
mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$root/dev/pts"
mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$root/dev/shm"
ln -s pts/ptmx "$root/dev/ptmx"
ln -s /proc/self/fd "$root/dev/fd"
ln -s /proc/self/fd/0 "$root/dev/stdin"
ln -s /proc/self/fd/1 "$root/dev/stdout"
ln -s /proc/self/fd/2 "$root/dev/stderr"
mount -t sysfs sysfs "$root/sys"
mount --bind "$cache/apt" "$root/var/cache/apt/archives"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

# apt in the root: no recommended packages, no documentation.
.ci/minimal-apt.sh "$root"

commit=$(git rev-parse HEAD)
git clone -q --no-checkout "$repo" "$root/root/velkin-tool"
git -C "$root/root/velkin-tool" checkout -q --detach "$commit"
step "clean clone of $commit in the root"

in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    DEBIAN_FRONTEND=noninteractive ${CI:+CI="$CI"} \
    bash -euo pipefail -c "cd /root/velkin-tool; $1" &
  running=$!
  wait $running
}

step "Debian 13: ./run-example.sh"
in_root ./run-example.sh
step "Debian 13: ./run-tests.sh"
in_root './run-tests.sh 2>&1 | tee /root/tests.log'

step "Debian 13: build the .deb and install it with apt"
in_root '
  scripts/deps.sh dpkg-dev file
  cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DVELKIN_BUILD_TESTS=OFF >/dev/null
  cmake --build build-package -j"$(nproc)" >/dev/null
  cpack --config build-package/CPackConfig.cmake -B build-package/deb -G DEB >/dev/null
  deb=$(echo build-package/deb/*.deb)
  echo "built $deb, Depends: $(dpkg-deb -f "$deb" Depends)"
  # The fixed Depends, used where dpkg-shlibdeps is not, must resolve too.
  cmake -B build-package -DVELKIN_DEB_SHLIBDEPS=OFF >/dev/null
  cpack --config build-package/CPackConfig.cmake -B build-package/fixed -G DEB >/dev/null
  fixed=$(echo build-package/fixed/*.deb)
  echo "fixed Depends: $(dpkg-deb -f "$fixed" Depends)"
  apt-get install -s --reinstall "./$fixed" | grep "^Inst velkin-tool " >/dev/null ||
    { echo "the .deb with the fixed Depends does not install" >&2; exit 1; }
  echo "the .deb with the fixed Depends resolves"
  apt-get install -y -qq "./$deb" >/dev/null
  dpkg-query -W -f="installed \${Package} \${Version}\n" velkin-tool
  tv=/usr/apps/tessaly/res/jsons/tv
  rm -f "$tv"/*.json
  /usr/bin/velkin-tool examples/menu-tv.json 2>/dev/null
  for f in helper.json providers.json; do
    [ -s "$tv/$f" ] || { echo "the installed tool did not write $tv/$f" >&2; exit 1; }
  done
  echo "the installed /usr/bin/velkin-tool wrote $(ls "$tv" | wc -l) files into $tv"
'

# One definition nested 1024 levels deep and one 1025 levels deep (root object,
# "menuitems", the item, then arrays), run by the Debian 13 tool installed
# from the .deb and by this machine's own build: the first split, the second
# refused, with the same output on both systems.
nested() {
  local arrays=$(($1 - 3))
  printf '{"menutree":{"main":{"submenuitems":["deep"]}},'
  printf '"menuitems":{"deep":{"display-name":"Deep","value":'
  head -c "$arrays" /dev/zero | tr '\0' '['
  printf 1
  head -c "$arrays" /dev/zero | tr '\0' ']'
  printf '}},"providers":["a"]}'
}
deep=$root/root/deep
for n in 1024 1025; do
  mkdir -p "$deep/$n"
  nested "$n" >"$deep/$n/menu-tv.json"
done
# Runs TOOL on both definitions from $PWD, keeping stdout and the tv files in OUT.
run_deep='
  tool=$1 out=$2 tv=/usr/apps/tessaly/res/jsons/tv
  for n in 1024 1025; do
    rm -rf "$tv" && mkdir -p "$tv" "$out/$n"
    "$tool" "$n/menu-tv.json" >"$out/$n.stdout" 2>/dev/null
    cp -a "$tv/." "$out/$n/"
  done'
step "Debian 13 and Debian 12: definitions nested 1024 and 1025 levels deep"
chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin bash -euo pipefail -c \
  "cd /root/deep; $run_deep" deep /usr/bin/velkin-tool /root/deep/out13 &
running=$!
wait $running
out13=$deep/out13
grep -qF "$(head -c 1021 /dev/zero | tr '\0' '[')1]" "$out13/1024/main.json" ||
  fail "Debian 13, 1024 levels: main.json does not hold the nested item"
[ -z "$(ls -A "$out13/1025")" ] || fail "Debian 13, 1025 levels: files were written"
echo "Debian 13: 1024 levels wrote $(ls "$out13/1024" | paste -sd ' '); 1025 levels wrote nothing"
if [ -x build/velkin-tool ]; then
  # This machine's tool, in a private mount namespace whose /usr is an
  # overlay: its files never reach the real /usr/apps.
  mkdir -p "$work/upper" "$work/overlay-work"
  unshare --mount --propagation private -- bash -euo pipefail -c "
    mount -t overlay overlay -o lowerdir=/usr,upperdir=$work/upper,workdir=$work/overlay-work /usr
    cd $deep; $run_deep" deep "$repo/build/velkin-tool" "$work/out12"
  diff -r "$work/out12" "$out13" || fail "Debian 12 and Debian 13 differ on the nested definitions"
  echo "Debian 12: the same stdout and files, byte for byte"
else
  echo "no build/velkin-tool of this machine to compare with (run run-tests.sh first)"
fi

step "summary"
echo "Debian 13 libraries: $(in_root 'pkg-config --modversion json-glib-1.0 glib-2.0 eina | paste -sd " "') (json-glib, GLib, Eina)"
summary13=$(grep -E 'tests passed.*out of [0-9]+' "$root/root/tests.log" | tail -n 1)
echo "Debian 13: $summary13"
total13=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary13")
# The test count of this machine's own build, when run-tests.sh ran here first.
if [ -f build/CTestTestfile.cmake ]; then
  total12=$(ctest --test-dir build -N | sed -nE 's/^Total Tests: ([0-9]+)$/\1/p')
  echo "Debian 12 ($(. /etc/os-release && echo "$VERSION_CODENAME")): $total12 tests in build/"
  [ "$total12" = "$total13" ] || fail "Debian 13 ran $total13 tests, Debian 12 has $total12"
fi
step "debian13.sh passed"
