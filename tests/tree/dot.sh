#!/usr/bin/env bash
# The DOT output renders with Graphviz (dot -Tsvg) for the examples and for a
# definition with identifiers and names that need escaping; what "menudelete"
# removed is drawn struck through, as many lines as the JSON output lists.
# Usage: dot.sh TREE SOURCE_DIR; exit status 77 (skipped) without dot.
set -u
tree=$1 src=$2
command -v dot >/dev/null || { echo "dot (graphviz) not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fails=0
for def in "$src"/examples/*.json "$src"/tests/tree/odd-menu-tv.json; do
  if ! "$tree" --format=dot "$def" >"$work/graph.dot"; then
    echo "FAIL $def: velkin-tree failed"; fails=$((fails + 1)); continue
  fi
  if ! dot -Tsvg "$work/graph.dot" >"$work/graph.svg" 2>"$work/err" || [ -s "$work/err" ] ||
     ! grep -q '<svg' "$work/graph.svg"; then
    echo "FAIL $def: dot -Tsvg refuses the graph"; cat "$work/err"; fails=$((fails + 1))
  else
    echo "$def: $(grep -c '<g id="node' "$work/graph.svg") nodes rendered"
  fi
  struck=$(grep -c 'text-decoration="line-through"' "$work/graph.svg")
  deleted=$("$tree" --format=json "$def" | python3 -c 'import json, sys; d = json.load(sys.stdin)
print(sum(len(m["deleted"]) for m in d["menus"]) + sum(1 + len(m["entries"]) for m in d["deleted"]))')
  # The legend's "deleted" row is struck through too, where anything is deleted.
  [ "$struck" -eq $((deleted > 0 ? deleted + 1 : 0)) ] ||
    { echo "FAIL $def: $struck struck-through lines, $deleted deleted"; fails=$((fails + 1)); }
done
exit $((fails > 0))
