#!/usr/bin/env bash
# A definition read through a FIFO, or through a symlink to /dev/stdin fed by
# a pipe, must give the same exit status, stdout, log records and files as the
# same bytes in a regular file: the tool reads it once. Each definition is
# also tried with 200 KB of trailing blanks, more than a pipe buffer holds.
# A run that does not end within 60 s (a second open of a FIFO blocks) fails.
#   VELKIN_FACTS=velkin-facts piped.sh BINARY DEFINITION...
# (BINARY: the test build, root res/jsons)
set -eu
binary=$(realpath "$1"); shift
mapfile -t profile_dirs < <("${VELKIN_FACTS:?the path of velkin-facts}" profile-dirs)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
limit=60

# run DIR MODE FILE: runs the tool in DIR on in/menu-tv.json, holding FILE's
# bytes as a regular file, a FIFO or a symlink to /dev/stdin fed by a pipe.
run() {
    local dir=$1 mode=$2 file=$3 input=/dev/null status=0
    mkdir -p "$dir/in" "${profile_dirs[@]/#/$dir/res/jsons/}"
    case $mode in
    file) cp "$file" "$dir/in/menu-tv.json" ;;
    fifo)
        mkfifo "$dir/in/menu-tv.json"
        # The writer is killed after the limit so that no process outlives the test.
        timeout $limit cp "$file" "$dir/in/menu-tv.json" &
        ;;
    stdin) ln -s /dev/stdin "$dir/in/menu-tv.json" && input=$file ;;
    esac
    # shellcheck disable=SC2002 # standard input is a pipe, not the file
    (cd "$dir" && cat "$input" | timeout $limit "$binary" in/menu-tv.json) \
        >"$dir/stdout" 2>"$dir/log" || status=$?
    [ "$mode" != fifo ] || wait $! || true
    echo "$status" >"$dir/status"
    rm -rf "$dir/in"
}

fail=0
n=0
for def in "$@"; do
    n=$((n + 1))
    name=$n-$(basename "$(dirname "$def")")-$(basename "$def")
    mkdir "$tmp/$name"
    cp "$def" "$tmp/$name/plain"
    { cat "$def"; head -c 200000 /dev/zero | tr '\0' ' '; echo; } >"$tmp/$name/padded"
    for bytes in plain padded; do
        for mode in file fifo stdin; do
            run "$tmp/$name/$bytes-$mode" $mode "$tmp/$name/$bytes"
        done
        ref=$tmp/$name/$bytes-file
        [ "$(cat "$ref/status")" != 124 ] || { echo "FAIL $name $bytes: the regular file timed out"; fail=1; }
        for mode in fifo stdin; do
            got=$tmp/$name/$bytes-$mode
            if diff -r "$ref" "$got" >"$tmp/diff"; then
                echo "ok: $def ($bytes, $mode): status $(cat "$ref/status"), $(find "$ref/res" -type f | wc -l) files"
            else
                echo "FAIL: $def ($bytes, $mode): status $(cat "$got/status") (124: no exit" \
                     "within $limit s), regular file $(cat "$ref/status"); differing outputs:"
                diff -rq "$ref" "$got" | sed "s#$tmp/$name/##g" | head -20
                fail=1
            fi
        done
    done
done
exit $fail
