#!/usr/bin/env bash
# Builds and tests the project on ARM under emulation, and proves that the
# programs write there what they write on this x86-64 machine:
#   .ci/arm.sh ARCH        (ARCH: armhf or arm64)
# A minimal Debian 12 root of ARCH made with debootstrap --foreign, entered
# through proot (fake root) and qemu-user-static as the unprivileged user
# nobody: no binfmt_misc, no mount, no device node of the host shared beyond
# the few bound one by one. Inside: the build dependencies (of EFL only
# Eina), a clean clone of this commit built there (the programs and the tests
# run there), the golden cases, the format library's tests, the large-file
# test, model.equals-splitter and the command-line tests run by ctest; then
# every case's outputs (files, standard output, log records, exit status)
# compared file by file with those of an x86-64 build of the same commit
# (made in the background meanwhile); then the .deb built there by cpack,
# installed with apt, and run on the example. Fails when anything fails or
# differs. Prints the time of each phase. Needs root (for debootstrap's first
# stage and apt on this machine); downloaded packages are kept in $cache
# between runs. .ci/steps/arm-armhf.sh runs it for armhf in CI.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
arch=${1:?usage: .ci/arm.sh armhf|arm64}
case $arch in
  armhf) qemu="qemu-arm-static" ;;
  arm64) qemu="qemu-aarch64-static" ;;
  *) echo "arm.sh: unknown architecture $arch" >&2; exit 2 ;;
esac
suite=bookworm
cache=${VELKIN_ARM_CACHE:-/var/cache/velkin-ci}/$arch
# The tests run there (ctest -R), each of which must run at least once, and
# the build targets they, the case comparison and the package need: of the
# unit tests only the format library's and the large-file test (the other
# unit tests, the language server's and the checker's many small tests run on
# x86-64 in the other steps).
test_names=('golden\.' 'facts\.' 'LargeFiles\.' 'model\.equals-splitter$' 'check_cli$' 'tree\.cli$')
tests="^($(IFS='|' && echo "${test_names[*]}"))"
targets="velkin-tool velkin-check velkin-tree velkin-lsp velkin-tool-test velkin-facts velkin-model-render"
targets+=" velkin_format_tests velkin_largefile_tests"
started=$SECONDS phase_started=$SECONDS phase=
times=()

fail() { echo "arm.sh ($arch): $*" >&2; exit 1; }
phase() {
  [ -z "$phase" ] || times+=("$(printf '%5d s  %s' $((SECONDS - phase_started)) "$phase")")
  phase=$1 phase_started=$SECONDS
  [ -z "$phase" ] || echo "--- [$((SECONDS - started)) s] $arch: $phase"
}

[ "$(uname -m)" = x86_64 ] || fail "runs on an x86-64 machine"
[ "$(id -u)" -eq 0 ] || fail "needs root"
phase "host tools"
need=()
for p in debootstrap proot qemu-user-static gcc git cmake; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
fi
scripts/deps.sh --build >/dev/null
mirror=$(.ci/debian-mirror.sh) || fail "no apt source of this machine's release to take the mirror from"

work=$(mktemp -d /var/tmp/velkin-arm.XXXXXX)
chmod 755 "$work"
root=$work/root
running= host_job=
cleanup() {
  local status=$? pids
  trap - EXIT INT TERM HUP
  # A command in the root runs in a session of its own: all of it ends here.
  [ -z "$running" ] || kill -KILL -- -"$running" "$running" 2>/dev/null || true
  [ -z "$host_job" ] || kill -KILL -- -"$host_job" 2>/dev/null || true
  pids=$(pgrep -u nobody -f "$work" || true)
  [ -z "$pids" ] || kill -KILL $pids 2>/dev/null || true
  sleep 1
  rm -rf --one-file-system "$work"
  if [ ! -c /dev/null ]; then
    echo "arm.sh: the host's /dev/null is no longer a character device" >&2
    status=1
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# Long commands run in the background and are waited for, so that a signal
# reaches the clean-up at once.
run_bg() {
  local status=0
  "$@" &
  running=$!
  wait $running || status=$?
  running=
  return $status
}

gcc -O2 -Wall -Wextra -Werror -o "$work/no-new-path-calls" .ci/no-new-path-calls.c

phase "debootstrap --foreign ($suite, $arch) from $mirror"
mkdir -p "$cache/debootstrap" "$cache/apt/partial"
run_bg debootstrap --foreign --arch="$arch" --variant=minbase --cache-dir="$cache/debootstrap" \
  "$suite" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
  { tail -n 30 "$work/debootstrap.log" >&2; fail "debootstrap's first stage failed"; }
# The root's /dev holds no node: only the host's few below are bound there
# one by one, and proot cannot bind onto a symlink (proc).
rm -rf "${root:?}/dev" "$root/proc"
mkdir -p "$root/dev/pts" "$root/dev/shm" "$root/proc" "$root/root" "$work/tmp"
devices=(null zero full random urandom tty ptmx)
for d in "${devices[@]}"; do : >"$root/dev/$d"; done
ln -s /proc/self/fd "$root/dev/fd"
ln -s /proc/self/fd/0 "$root/dev/stdin"
ln -s /proc/self/fd/1 "$root/dev/stdout"
ln -s /proc/self/fd/2 "$root/dev/stderr"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
chown -R nobody:nogroup "$root" "$work/tmp" "$cache/apt"

# COMMAND run by bash in the root as its fake root, from /root.
in_root() {
  local binds=(-b /proc -b /dev/pts -b "$work/tmp:/dev/shm" "${apt_cache[@]}")
  local d
  for d in "${devices[@]}"; do binds+=(-b "/dev/$d"); done
  run_bg setsid --wait setpriv --reuid=nobody --regid=nogroup --clear-groups --inh-caps=-all --bounding-set=-all \
    env -i PROOT_TMP_DIR="$work/tmp" PATH=/usr/bin:/bin \
    "$work/no-new-path-calls" proot -0 -q "$qemu" -r "$root" "${binds[@]}" -w /root \
    /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb DEBIAN_FRONTEND=noninteractive \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -euo pipefail -c "$1"
}

# The x86-64 side, in the background while the root's packages are
# installed, which keeps about one core busy: a clean clone of this commit
# built as CI builds it, and its cases' outputs, for the comparison. In a
# process group of its own (set -m), which the clean-up ends.
commit=$(git rev-parse HEAD)
host_src=$work/host-src
host_side() {
  local t0=$SECONDS
  git clone -q --no-checkout "$repo" "$host_src"
  git -C "$host_src" checkout -q --detach "$commit"
  cmake -S "$host_src" -B "$work/host-build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKIN_BUILD_TESTS=ON \
    -DVELKIN_WERROR=ON >/dev/null
  cmake --build "$work/host-build" -j1 --target velkin-tool-test velkin-check velkin-tree velkin-facts >/dev/null
  "$host_src/.ci/case-outputs.sh" "$host_src" "$work/host-build" "$work/host-outputs"
  echo $((SECONDS - t0)) >"$work/host-side.seconds"
}
set -m
host_side </dev/null >"$work/host-side.log" 2>&1 &
host_job=$!
set +m

# The packages of the second stage are in the root's apt cache; apt's own go
# to $cache after it.
apt_cache=()
phase "debootstrap --second-stage (emulated)"
in_root '/debootstrap/debootstrap --second-stage' >"$work/second-stage.log" 2>&1 ||
  { tail -n 30 "$work/second-stage.log" >&2; fail "debootstrap's second stage failed"; }

apt_cache=(-b "$cache/apt:/var/cache/apt/archives")
phase "apt: build dependencies (emulated)"
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
EOF
.ci/minimal-apt.sh "$root"
# apt downloads as the fake root instead of switching to its _apt user.
echo 'APT::Sandbox::User "root";' >"$root/etc/apt/apt.conf.d/91velkin-arm"
echo 'path-exclude=/usr/share/man/*' >"$root/etc/dpkg/dpkg.cfg.d/91velkin-arm"
chown nobody:nogroup "$root/etc/apt/sources.list" "$root"/etc/apt/apt.conf.d/9?velkin-* \
  "$root"/etc/dpkg/dpkg.cfg.d/9?velkin-*
# Of EFL the build needs only Eina: its library from libeina1a, its headers
# and eina.pc from libefl-all-dev, unpacked without the 400 packages that one
# depends on. Not python3-jsonschema nor python3-yaml: the schema's and the
# pre-commit hook's checks, which depend on no architecture, run on x86-64
# only (facts.copies reports its schema part skipped here).
in_root '
  apt-get update -qq
  apt-get install -y -qq cmake make g++ pkg-config libjson-glib-dev libglib2.0-dev \
    libeina1a libunwind-dev googletest libgtest-dev python3 \
    util-linux groff-base mandoc dpkg-dev file >/dev/null
  cd /tmp && apt-get download -qq libefl-all-dev
  dpkg-deb -x libefl-all-dev_*.deb efl && rm libefl-all-dev_*.deb
  multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
  cp -a efl/usr/include/eina-1 /usr/include/
  cp -a efl/usr/lib/$multiarch/pkgconfig/eina.pc /usr/lib/$multiarch/pkgconfig/
  cp -a efl/usr/lib/$multiarch/libeina.so /usr/lib/$multiarch/
  rm -rf efl
  echo "libraries: json-glib $(pkg-config --modversion json-glib-1.0), GLib $(pkg-config --modversion glib-2.0), Eina $(pkg-config --modversion eina)"
' >"$work/apt.log" 2>&1 || { tail -n 30 "$work/apt.log" >&2; fail "apt in the root failed"; }
grep -v "^debconf: " "$work/apt.log" || true

git clone -q --no-checkout "$repo" "$root/root/velkin-tool"
git -C "$root/root/velkin-tool" checkout -q --detach "$commit"
chown -R nobody:nogroup "$root/root/velkin-tool"

# Only the targets above, with the flags of CI's build but -g: debug information,
# which changes no code, takes a third of the compilers' time, and the package
# strips it. cpack then installs what is built without building all first.
phase "build of $commit (emulated, -j$(nproc))"
in_root '
  cd velkin-tool
  echo "$(dpkg --print-architecture): $(gcc -dM -E -x c /dev/null |
    grep -E "__CHAR_UNSIGNED__|__SIZEOF_(LONG|POINTER)__ " | cut -d" " -f2- | paste -sd " ")"
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKIN_BUILD_TESTS=ON -DVELKIN_WERROR=ON \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON -DVELKIN_MODEL_GENERATED=100 >/dev/null
  cmake --build build -j"$(nproc)" --target '"$targets"' >/root/build.log 2>&1 ||
    { tail -n 40 /root/build.log; exit 1; }
' || fail "build in the root failed"

phase "tests (emulated): the format library's, then $tests"
status=0
in_root "cd velkin-tool/build && status=0
  ctest --test-dir tests/format --output-on-failure -j2 || status=1
  ctest --output-on-failure -j2 -R '$tests' || status=1
  exit \$status" >"$work/ctest.log" 2>&1 || status=$?
grep -E '^ *[0-9]+/[0-9]+ Test|tests passed|\*\*\*' "$work/ctest.log"
[ "${status:-0}" -eq 0 ] || { sed -n '/tests passed/,$p' "$work/ctest.log" >&2; fail "tests failed"; }
# A test program not built is no test run: each name must have run.
for name in "${test_names[@]}"; do
  name=${name%\$}
  grep -Eq "Test +#[0-9]+: $name" "$work/ctest.log" || fail "no test ${name//\\/} ran"
done
passed=$(($(sed -nE 's/^.* tests passed, 0 tests failed out of ([0-9]+)$/\1/p' "$work/ctest.log" | paste -sd+)))
skipped=$(grep -c '\*\*\*Skipped' "$work/ctest.log" || true)
summary="$passed tests passed ($skipped of them skipped)"

phase "every case's outputs, $arch against x86-64"
in_root 'cd velkin-tool && .ci/case-outputs.sh . build /root/outputs' || fail "running the cases in the root failed"
wait "$host_job" || { tail -n 30 "$work/host-side.log" >&2; fail "the x86-64 side failed"; }
host_job=
compared=$(find "$work/host-outputs" -type f | wc -l)
if ! diff -r "$work/host-outputs" "$root/root/outputs"; then
  fail "^^^ the cases' outputs differ between x86-64 (<) and $arch (>)"
fi

# The package holds the programs just tested (stripped).
phase "the .deb: cpack in the root, apt install, the example"
in_root '
  cd velkin-tool
  cpack --config build/CPackConfig.cmake -B build/deb -G DEB >/dev/null
  deb=$(echo build/deb/*.deb)
  echo "built $deb: Architecture $(dpkg-deb -f "$deb" Architecture), Depends: $(dpkg-deb -f "$deb" Depends)"
  [ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ]
  apt-get install -y -qq "./$deb" >/dev/null
  dpkg-query -W -f="installed \${Package} \${Version} \${Architecture}\n" velkin-tool
  tv=/usr/apps/tessaly/res/jsons/tv
  rm -f "$tv"/*.json
  /usr/bin/velkin-tool examples/menu-tv.json >/root/example.stdout 2>/dev/null
  for f in helper.json providers.json; do
    [ -s "$tv/$f" ] || { echo "the installed tool did not write $tv/$f" >&2; exit 1; }
  done
  echo "the installed /usr/bin/velkin-tool wrote $(ls "$tv" | wc -l) files into $tv"
  mkdir -p /root/example && cp -a "$tv/." /root/example/
' || fail "the .deb failed"
# The example as the golden case example-tv expects it.
diff -r "$repo/tests/golden/example-tv/expected/tree/tv" "$root/root/example" ||
  fail "the installed tool wrote other files than golden/example-tv expects"

phase ""
echo "=== $arch: $summary; $compared files compared with x86-64, no difference"
echo "=== $arch: time per phase"
printf '%s\n' "${times[@]}"
printf '%5d s  %s\n' "$(cat "$work/host-side.seconds")" "(x86-64 build and cases, in the background meanwhile)"
echo "=== $arch: $((SECONDS - started)) s in all"
