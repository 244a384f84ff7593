#!/usr/bin/env bash
# Makes the README's drawings of velkin-tree on the tv example, none by hand:
# - the text blocks between "<!-- doc/screenshot.sh: NAME -->" and
#   "<!-- end -->" in README.md: the picture menu with its amendments'
#   members (text), and the review of a change that deletes a menu, changes a
#   definition and renames an entry (diff);
# - doc/graph.png: the picture menu's graph (dot -Tpng);
# - doc/page.png: the page filtered to amended and deleted entries, with an
#   amended entry's definition open (headless chromium).
# Rerun it after a change to the views. With --check, only compares the text
# blocks with what velkin-tree draws now (status 1 when they differ).
#   doc/screenshot.sh [--check] [VELKIN_TREE]   (default build/tree/velkin-tree)
set -eu
check=0
[ "${1:-}" = --check ] && { check=1; shift; }
tree=$(realpath "${1:-build/tree/velkin-tree}")
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The change reviewed: picture_size_settings deleted, contrast's maximum
# raised, wb_2point renamed.
python3 - examples/menu-tv.json "$tmp/changed-menu-tv.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
d["menudelete"]["submenuitems"].append("picture_size_settings")
d["menuitems"]["contrast"]["max"] = 100
listing = d["menutree"]["white_balance"]["submenuitems"]
listing[listing.index("wb_2point")] = "wb_two_point"
d["menuitems"]["wb_two_point"] = d["menuitems"].pop("wb_2point")
json.dump(d, open(sys.argv[2], "w", encoding="utf-8"), ensure_ascii=False, indent=1)
PY
(cd examples && "$tree" --definitions --root=picture --depth=1 menu-tv.json) >"$tmp/text" || true
(cd "$tmp" && cp "$OLDPWD/examples/menu-tv.json" . && "$tree" --diff menu-tv.json changed-menu-tv.json) \
  >"$tmp/diff" || true

# README.md with each block replaced by its drawing, each line indented as code.
python3 - README.md "$tmp" "$check" <<'PY'
import re, sys
readme, tmp, check = sys.argv[1], sys.argv[2], sys.argv[3] == "1"
text = open(readme, encoding="utf-8").read()
commands = {"text": "velkin-tree --definitions --root=picture --depth=1 menu-tv.json",
            "diff": "velkin-tree --diff menu-tv.json changed-menu-tv.json"}
def block(m):
    name = m.group(1)
    drawing = open("%s/%s" % (tmp, name), encoding="utf-8").read()
    lines = ["$ " + commands[name]] + drawing.rstrip("\n").split("\n")
    return m.group(0).split("\n")[0] + "\n\n" + "\n".join("    " + l if l else "" for l in lines) + \
        "\n\n<!-- end -->"
new = re.sub(r"<!-- doc/screenshot\.sh: (\w+) -->\n.*?<!-- end -->", block, text, flags=re.S)
if check:
    if new != text:
        sys.exit("README.md: a drawing differs from what velkin-tree draws: run doc/screenshot.sh")
    sys.exit(0)
open(readme, "w", encoding="utf-8").write(new)
PY
[ $check -eq 1 ] && exit 0

(cd examples && "$tree" --format=dot --root=picture --depth=1 menu-tv.json) | dot -Tpng -o doc/graph.png

# The page, opened with the filters and the first amended entry's definition shown.
"$tree" --format=html --output="$tmp/page.html" examples/menu-tv.json
entry=$("$tree" --format=json examples/menu-tv.json | python3 -c '
import json, sys
for m, menu in enumerate(json.load(sys.stdin)["menus"]):
    for i, e in enumerate(menu["entries"]):
        if e["amended"]:
            print("entry-%d-%d" % (m, i + sum(d["after"] <= i for d in menu["deleted"])))
            sys.exit()')
browser=$(command -v chromium || command -v chromium-browser)
HOME=$tmp "$browser" --headless --no-sandbox --disable-gpu --disable-dev-shm-usage \
  --disable-background-networking --disable-component-update --disable-sync --no-first-run \
  --hide-scrollbars --user-data-dir="$tmp/profile" --window-size=1000,900 \
  --screenshot="$tmp/page.png" "file://$tmp/page.html#f=amended,deleted&click=expand,$entry" 2>/dev/null
cp "$tmp/page.png" doc/page.png
echo "README.md drawings, doc/graph.png and doc/page.png written"
