#!/usr/bin/env bash
# Builds the .deb and the .rpm, checks what they hold and that the packaged
# binary's compiled-in resource root is the system's, and runs the tool from
# the unpacked .deb on the tv example in a private mount namespace whose /usr
# is the package's tree over the machine's: the tool must find the profile
# directories the package ships and write there, and nothing reaches the real
# /usr. Needs root (unshare, overlay mounts).
set -euo pipefail
cd "$(dirname "$0")/../.."

scripts/deps.sh dpkg-dev file rpm
build=build-package
out=$build/packages
rm -rf "$out"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELKIN_BUILD_TESTS=OFF \
  -DVELKIN_DEB_SHLIBDEPS=ON >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
cpack --config "$build/CPackConfig.cmake" -B "$out" -G DEB >/dev/null
cpack --config "$build/CPackConfig.cmake" -B "$out" -G RPM >/dev/null

fail() { echo "package.sh: $*" >&2; exit 1; }
shopt -s nullglob
debs=("$out"/*.deb) rpms=("$out"/*.rpm)
[ ${#debs[@]} -eq 1 ] || fail "expected one .deb in $out, found ${#debs[@]}"
[ ${#rpms[@]} -eq 1 ] || fail "expected one .rpm in $out, found ${#rpms[@]}"
deb=${debs[0]} rpm=${rpms[0]}
echo "built $deb"
echo "built $rpm"

root=/usr/apps/tessaly/res/jsons
wanted=(/usr/bin/velkin-tool /usr/share/man/man1/velkin-tool.1
        "$root/tv" "$root/htv" "$root/lfd" "$root/nonsmartmonitor")
wanted+=(/usr/bin/velkin-check /usr/share/man/man1/velkin-check.1
         /usr/share/velkin-tool/velkin-definition.schema.json)
wanted+=(/usr/bin/velkin-tree /usr/share/man/man1/velkin-tree.1)
wanted+=(/usr/bin/velkin-lsp /usr/share/man/man1/velkin-lsp.1)

# Contents: dpkg-deb -c prints ./path, with a trailing slash on directories.
deb_long=$(dpkg-deb -c "$deb")
deb_list=$(awk '{print $NF}' <<<"$deb_long" | sed 's|^\.||; s|/$||')
rpm_list=$(rpm -qpl "$rpm")
for path in "${wanted[@]}"; do
  grep -qxF "$path" <<<"$deb_list" || fail "$deb lacks $path"
  grep -qxF "$path" <<<"$rpm_list" || fail "$rpm lacks $path"
done
grep -q '^-rwxr-xr-x .* \./usr/bin/velkin-tool$' <<<"$deb_long" ||
  fail "the binary in $deb is not executable"
# Each library under its Debian 12 name or its Debian 13 (t64) name.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in 'libjson-glib-1\.0-0' 'libglib2\.0-0(t64)?' 'libeina1(a|t64)'; do
  grep -Eq "(^|[ ,|])$lib( |,|\$)" <<<"$depends" || fail "$deb does not depend on $lib: $depends"
done
requires=$(rpm -qpR "$rpm")
for lib in libjson-glib-1.0.so.0 libglib-2.0.so.0 libeina.so.1; do
  grep -qF "$lib" <<<"$requires" || fail "$rpm does not require $lib"
done
echo "contents and dependencies of both packages as expected"

# The fixed Depends, used where dpkg-shlibdeps is not, must resolve here too.
cmake -B "$build" -DVELKIN_DEB_SHLIBDEPS=OFF >/dev/null
cpack --config "$build/CPackConfig.cmake" -B "$out/fixed" -G DEB >/dev/null
fixed=("$out"/fixed/*.deb)
[ ${#fixed[@]} -eq 1 ] || fail "expected one .deb in $out/fixed, found ${#fixed[@]}"
apt-get install -s --reinstall "$PWD/${fixed[0]}" | grep '^Inst velkin-tool ' >/dev/null ||
  fail "${fixed[0]} does not install: Depends $(dpkg-deb -f "${fixed[0]}" Depends)"
echo "the .deb with the fixed Depends resolves: $(dpkg-deb -f "${fixed[0]}" Depends)"

# Run the unpacked package.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch/pkg"

# The compiled-in resource root: the packaged binary holds the system's root as
# a string of its own and not the test build's relative "res/jsons"; the test
# build itself is not packaged.
grep -q 'velkin-tool-test' <<<"$deb_list$rpm_list" && fail "a package holds the test build"
strings -a "$scratch/pkg/usr/bin/velkin-tool" >"$scratch/strings.txt"
grep -qxF "$root" "$scratch/strings.txt" || fail "the packaged binary does not hold $root"
grep -qxF res/jsons "$scratch/strings.txt" && fail "the packaged binary holds the relative root res/jsons"
echo "the packaged binary's resource root is $root"
definition=$PWD/examples/menu-tv.json
if [ ! -f "$definition" ]; then
  definition=$scratch/defs/menu-tv.json
  mkdir -p "$scratch/defs"
  printf '%s\n' '{"menutree":{"main":{"submenuitems":["sound"]},"sound":{"submenuitems":["volume"]}},' \
    '"menuitems":{"sound":{"display-name":"Sound"},"volume":{"display-name":"Volume"}},' \
    '"providers":["a"]}' >"$definition"
fi
mkdir -p "$scratch"/{upper,work,apps-upper,apps-work,out}
unshare --mount --propagation private -- bash -euo pipefail -c '
  scratch=$1 root=$2 definition=$3
  mount -t overlay overlay \
    -o "lowerdir=$scratch/pkg/usr:/usr,upperdir=$scratch/upper,workdir=$scratch/work" /usr
  # Only the package'"'"'s /usr/apps: hides a resource root installed on the machine.
  mount -t overlay overlay \
    -o "lowerdir=$scratch/pkg/usr/apps,upperdir=$scratch/apps-upper,workdir=$scratch/apps-work" \
    /usr/apps
  for p in tv htv lfd nonsmartmonitor; do
    [ -d "$root/$p" ] || { echo "package.sh: $root/$p missing after unpacking" >&2; exit 1; }
    [ -z "$(ls -A "$root/$p")" ] || { echo "package.sh: $root/$p not empty" >&2; exit 1; }
  done
  status=0
  /usr/bin/velkin-tool >"$scratch/usage.txt" || status=$?
  [ "$status" -eq 255 ] || { echo "package.sh: no argument gave status $status" >&2; exit 1; }
  status=0
  /usr/bin/velkin-tool "$definition" >"$scratch/stdout.txt" 2>"$scratch/log.txt" || status=$?
  [ "$status" -eq 0 ] || { echo "package.sh: the run gave status $status" >&2; exit 1; }
  if command -v man >/dev/null; then
    # Search only the standard manual tree: a page installed under /usr/local
    # on this machine (by cmake --install) must not stand in for the packaged one.
    man -w -M /usr/share/man velkin-tool >"$scratch/manpath.txt"
  fi
  cp -a "$root/." "$scratch/out/"
' package "$scratch" "$root" "$definition"

grep -qxF 'Usage: velkin-tool <filename.json>' "$scratch/usage.txt" || fail "no usage line"
grep -qxF "Initial Json[$definition] " "$scratch/stdout.txt" || fail "no Initial Json line"
grep -q '^I/velkin: JsonTool.cpp: SeparateJsonFile(198) > path:' "$scratch/log.txt" ||
  fail "no log record of the run"
if [ -f "$scratch/manpath.txt" ]; then
  grep -qxF /usr/share/man/man1/velkin-tool.1 "$scratch/manpath.txt" ||
    fail "man finds $(cat "$scratch/manpath.txt") instead of the packaged page"
fi
for f in helper.json providers.json; do
  [ -s "$scratch/out/tv/$f" ] || fail "tv/$f was not written"
done
written=("$scratch"/out/tv/*.json)
[ ${#written[@]} -ge 3 ] || fail "no per-menu file was written"
for f in "${written[@]}"; do
  [ "$(tail -c 1 "$f" | od -An -c | tr -d ' ')" != '\n' ] || fail "$f ends with a newline"
  python3 -m json.tool "$f" >/dev/null || fail "$f is not valid JSON"
done
for p in htv lfd nonsmartmonitor; do
  [ -z "$(ls -A "$scratch/out/$p")" ] || fail "the tv run wrote into $p"
done
echo "the packaged tool wrote ${#written[@]} files into $root/tv: $(cd "$scratch/out/tv" && echo *)"

# The packaged viewer reads back what the packaged tool wrote: the directory's
# effective menu equals the definition's.
status=0
"$scratch/pkg/usr/bin/velkin-tree" --diff "$definition" "$scratch/out/tv" >"$scratch/diff.txt" || status=$?
[ "$status" -eq 0 ] || { cat "$scratch/diff.txt"; fail "velkin-tree --diff of the definition and its directory: status $status"; }
"$scratch/pkg/usr/bin/velkin-tree" "$scratch/out/tv" >"$scratch/tree.txt" || fail "velkin-tree cannot draw $root/tv"
echo "the packaged velkin-tree draws $(wc -l <"$scratch/tree.txt") lines from $root/tv, equal to the definition's menu"

# The packaged language server answers initialize and shuts down cleanly.
frame() { printf 'Content-Length: %d\r\n\r\n%s' "${#1}" "$1"; }
{ frame '{"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}}'
  frame '{"jsonrpc":"2.0","id":2,"method":"shutdown"}'
  frame '{"jsonrpc":"2.0","method":"exit"}'; } >"$scratch/lsp-in.txt"
status=0
"$scratch/pkg/usr/bin/velkin-lsp" <"$scratch/lsp-in.txt" >"$scratch/lsp-out.txt" || status=$?
[ "$status" -eq 0 ] || fail "the packaged velkin-lsp ends a shutdown and exit with status $status"
grep -q '"name":"velkin-lsp"' "$scratch/lsp-out.txt" || fail "the packaged velkin-lsp does not answer initialize"
echo "the packaged velkin-lsp answers initialize and shuts down with status 0"
