#!/usr/bin/env python3
"""The HTML page in a real browser: headless chromium loads the page that
velkin-tree --format=html writes for each definition given, and the DOM it
dumps is read back.

- Opened as it is, the top menus show their own entries and nothing else is
  drawn yet; after the "Expand all" button every menu is there once, where the
  walk first reaches it, with its entries in order and their display names;
  after "Collapse all" no menu is open.
- Deleted entries stand in their menus where they stood in the listing
  (marked "-", under the rule that strikes them through), and each deleted
  menu is drawn once with the strings it listed.
- With "#q=TEXT" the result list holds exactly the entries whose identifier,
  display name, marks or definition hold TEXT (any case), each with its path,
  and the count says how many; with "#f=MARK,..." exactly the entries that
  carry one of the marks (or lie in a menu no top menu reaches); both combine.
- A click on an amended entry shows the members its amendment changed, as
  the text view's --definitions prints them.
- The page refers to nothing outside itself.

Usage: browser.py TREE DEFINITION...; exit status 77 (skipped) without chromium.
"""
import concurrent.futures
import html.parser
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

BROWSERS = ["chromium", "chromium-browser", "google-chrome"]
QUERIES = ["vol", "été", "<"]
VOID = {"meta", "input", "br", "img", "link", "hr"}


class Element:
    def __init__(self, tag, attrs, parent):
        self.tag, self.attrs, self.parent, self.children, self.text = tag, dict(attrs), parent, [], ""
        self.classes = (self.attrs.get("class") or "").split()
        self.hidden = "hidden" in self.attrs
        if parent:
            parent.children.append(self)

    def walk(self):
        yield self
        for c in self.children:
            yield from c.walk()


class Dom(html.parser.HTMLParser):
    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.root = self.at = Element("#root", [], None)
        self.feed(text)

    def handle_starttag(self, tag, attrs):
        element = Element(tag, attrs, self.at)
        self.at = self.at if tag in VOID else element

    def handle_endtag(self, tag):
        node = self.at
        while node.parent and node.tag != tag:
            node = node.parent
        self.at = node.parent or self.at

    def handle_data(self, data):
        self.at.text += data

    def entries(self, below=None):
        return [e for e in (below or self.root).walk() if e.tag == "li" and "entry" in e.classes]


def printable(text):
    return None if text is None else "".join("\\x%02x" % ord(c) if ord(c) < 0x20 else c for c in text)


def display_name(definition):
    try:
        value = json.loads(definition) if definition else None
    except ValueError:
        return None
    name = value.get("display-name") if isinstance(value, dict) else None
    return name if isinstance(name, str) else None


def dump_dom(browser, page, fragment, scratch):
    """The DOM after the page's script ran, from a private profile; the
    browser's home, config and cache lie in the scratch folder too."""
    profile = tempfile.mkdtemp(dir=scratch)
    env = dict(os.environ, HOME=profile, XDG_CONFIG_HOME=profile, XDG_CACHE_HOME=profile)
    out = subprocess.run([browser, "--headless", "--no-sandbox", "--disable-gpu",
                          "--disable-dev-shm-usage", "--disable-background-networking",
                          "--disable-component-update", "--disable-sync", "--no-first-run",
                          "--user-data-dir=" + profile, "--dump-dom", pathlib.Path(page).as_uri() + fragment],
                         capture_output=True, timeout=120, env=env)
    if out.returncode != 0 or b"</html>" not in out.stdout:
        raise RuntimeError("%s exited %d: %s" % (browser, out.returncode, out.stderr[-600:]))
    return Dom(out.stdout.decode("utf-8"))


MARK_WORDS = {"+": "added", "~": "amended", "!": "placeholder", "-": "deleted"}
FILTERS = ["unreachable", "added,placeholder", "deleted"]
STRUCK = 'li[data-marks*="-"] > .line .id { text-decoration: line-through; }'
LIMIT = 300  # results the page lists; the count covers all


def marks(menu, entry):
    text = "+" if entry["added"] else ""
    text += "~" if entry["amended"] else ""
    return text + ("!" if entry["placeholder"] else "")


def drawn(menu):
    """A menu's entries with its deleted ones in their places, as drawn."""
    deleted = sorted(menu["deleted"], key=lambda d: d["after"])
    out, k = [], 0
    for n, entry in enumerate(menu["entries"] + [None]):
        while k < len(deleted) and deleted[k]["after"] == n:
            out.append({"id": deleted[k]["id"], "definition": None, "deleted": True})
            k += 1
        if entry is not None:
            out.append(entry)
    return out


def deleted_menus(model):
    return [{"id": m["id"], "entries": [{"id": e, "definition": None, "deleted": True}
                                        for e in m["entries"]]} for m in model["deleted"]]


def rows(model):
    """(menu, entry id, display name, marks, searchable text) of every entry,
    deleted ones included, in the order of the page's menus."""
    unreachable = {model["menus"][i]["id"] if isinstance(i, int) else i for i in model["unreachable"]}
    menus = [(m["id"], drawn(m)) for m in model["menus"]] + \
        [(m["id"], m["entries"]) for m in deleted_menus(model)]
    for menu, entries in menus:
        for e in entries:
            name = display_name(e["definition"])
            m = "-" if e.get("deleted") else marks(menu, e)
            words = " ".join(MARK_WORDS[c] for c in m)
            text = "\n".join([e["id"], name or "", words, e["definition"] or ""]).lower()
            yield menu, e["id"], name, m, text, menu in unreachable


def items_under(details):
    return [li for ul in details.children if ul.tag == "ul" for li in ul.children
            if "entry" in li.classes]


def expected_sections(menu):
    """A heading where an entry's group (the first naming it) differs from
    the entry's before it: "\u2508 group N"."""
    first = {}
    for g, group in enumerate(menu["groups"]):
        for item in group["items"]:
            first.setdefault(item, g)
    groups = [first.get(e["id"]) for e in menu["entries"]]
    return ["\u2508 group %d" % (g + 1) for k, g in enumerate(groups)
            if g is not None and (k == 0 or groups[k - 1] != g)]


def check_expanded(dom, model, problems):
    menus = {}
    for element in dom.root.walk():
        if element.tag == "details":
            menus.setdefault(element.attrs.get("data-menu"), []).append(element)
    for menu in model["menus"]:
        found = menus.get(menu["id"], [])
        if len(found) != 1:
            problems.append("expand all: menu %r shown %d times" % (menu["id"], len(found)))
            continue
        if "open" not in found[0].attrs:
            problems.append("expand all: menu %r not open" % menu["id"])
        got = [(li.attrs.get("data-id"), li.attrs.get("data-name"), li.attrs.get("data-marks", ""))
               for li in items_under(found[0])]
        want = [(e["id"], display_name(e["definition"]),
                 "-" if e.get("deleted") else marks(menu, e)) for e in drawn(menu)]
        if want != got:
            problems.append("menu %r: entries %r, expected %r" % (menu["id"], got[:5], want[:5]))
        sections = [li.text.split(", ")[0] for ul in found[0].children if ul.tag == "ul"
                    for li in ul.children if "section" in li.classes]
        if sections != expected_sections(menu):
            problems.append("menu %r: sections %r, expected %r"
                            % (menu["id"], sections, expected_sections(menu)))
    check_deleted(dom, model, menus, problems)
    for element in dom.root.walk():
        for attr in ("src", "href", "action"):
            value = element.attrs.get(attr)
            if value is not None and not value.startswith("#"):
                problems.append("<%s %s=%r> refers outside the page" % (element.tag, attr, value))


def check_deleted(dom, model, menus, problems):
    """Each deleted menu drawn once, struck through, with its strings; every
    deleted row's identifier where the strike-through rule reaches it."""
    for menu in deleted_menus(model):
        found = menus.get(menu["id"], [])
        if len(found) != 1 or "deleted-menu" not in found[0].classes:
            problems.append("deleted menu %r drawn %d times" % (menu["id"], len(found)))
            continue
        got = [(li.attrs.get("data-id"), li.attrs.get("data-marks")) for li in items_under(found[0])]
        if got != [(e["id"], "-") for e in menu["entries"]]:
            problems.append("deleted menu %r: entries %r" % (menu["id"], got[:5]))
    style = "".join(e.text for e in dom.root.walk() if e.tag == "style")
    for li in dom.entries():
        if li.attrs.get("data-marks") != "-":
            continue
        line = [c for c in li.children if c.tag == "span" and "line" in c.classes]
        ids = [c for c in (line[0].children if line else []) if "id" in c.classes]
        if STRUCK not in style or not ids or ids[0].text != li.attrs.get("data-id"):
            problems.append("deleted entry %r not struck through" % li.attrs.get("data-id"))


def check_amended(browser, tree, definition, page, model, scratch, problems):
    """The first amended entry drawn, clicked, shows its amendment's members
    as --definitions prints them below it."""
    text = subprocess.run([tree, "--definitions", "--color=never", definition], check=True,
                          capture_output=True).stdout.decode("utf-8").splitlines()
    for m, menu in enumerate(model["menus"]):
        for i, e in enumerate(drawn(menu)):
            if not e.get("amended"):
                continue
            at = next(k for k, l in enumerate(text) if "\u2500 ~ %s" % printable(e["id"]) in l)
            want = []
            for line in text[at + 1:]:
                inner = line.lstrip("\u2502 ")
                if not inner or inner[0] in "\u251c\u2514\u2508":
                    break
                want.append(inner)
            dom = dump_dom(browser, page, "#click=expand,entry-%d-%d" % (m, i), scratch)
            li = [x for x in dom.root.walk() if x.attrs.get("id") == "entry-%d-%d" % (m, i)]
            got = [c.children[1].text for x in li[:1] for c in x.walk()
                   if c.tag == "li" and c.parent and "amended-members" in c.parent.classes]
            if got != want or not want:
                problems.append("amended %r shows %r, --definitions %r" % (e["id"], got, want))
            return


def check_opened(dom, model, collapsed, problems):
    open_menus = [e.attrs.get("data-menu") for e in dom.root.walk()
                  if e.tag == "details" and "open" in e.attrs]
    top = [model["menus"][i]["id"] if isinstance(i, int) else i for i in model["top"]]
    if collapsed:
        if open_menus:
            problems.append("collapse all: menus still open: %r" % open_menus[:5])
        return
    # Each top menu open, or referred to where another top menu reached it.
    seen = [e.children[0].text for e in dom.root.walk() if e.tag == "p" and "root" in e.classes]
    if sorted(open_menus + seen) != sorted(top):
        problems.append("opened: open menus %r and %r, expected the top menus %r"
                        % (open_menus, seen, top))


def check_results(dom, model, query, chosen, problems):
    def wanted(row):
        menu, _, _, m, text, lost = row
        mark_ok = not chosen or any(MARK_WORDS.get(c) in chosen for c in m) or \
            ("unreachable" in chosen and lost)
        return mark_ok and (not query or query.lower() in text)
    want = [(r[0], r[1], r[2]) for r in rows(model) if wanted(r)]
    listed = [e for e in dom.root.walk() if e.attrs.get("id") == "results"][0]
    got = [(li.attrs.get("data-menu"), li.attrs.get("data-id"), li.attrs.get("data-name"))
           for li in dom.entries(listed)]
    label = "#q=%s&f=%s" % (query, ",".join(chosen))
    if got != want[:LIMIT]:
        problems.append("%s: results %r, expected %r" % (label, got[:4], want[:4]))
    count = [e for e in dom.root.walk() if e.attrs.get("id") == "count"][0].text
    if not count.startswith("%d " % len(want)):
        problems.append("%s: count %r, %d entries match" % (label, count, len(want)))
    return len(want)


def fragment(query, chosen):
    parts = (["q=" + query] if query else []) + (["f=" + ",".join(chosen)] if chosen else [])
    return "#" + "&".join(parts)


def check_page(browser, tree, definition, page, scratch, problems):
    subprocess.run([tree, "--format=html", "--output=" + page, definition], check=True)
    model = json.loads(subprocess.run([tree, "--format=json", definition], check=True,
                                      capture_output=True).stdout)
    check_opened(dump_dom(browser, page, "", scratch), model, False, problems)
    check_expanded(dump_dom(browser, page, "#click=expand", scratch), model, problems)
    check_opened(dump_dom(browser, page, "#click=expand,collapse", scratch), model, True, problems)
    for query, chosen in [(q, []) for q in QUERIES] + [("", f.split(",")) for f in FILTERS] + \
            [("vol", ["amended", "placeholder"])]:
        n = check_results(dump_dom(browser, page, fragment(query, chosen), scratch), model, query,
                          chosen, problems)
        print("%s %s: %d entries" % (definition, fragment(query, chosen), n))
    check_amended(browser, tree, definition, page, model, scratch, problems)


def wide_definition(scratch):
    """A menu longer than the page draws at once (it draws 500 at a time)."""
    items = ["item_%04d" % i for i in range(1234)]
    definition = {"menutree": {"main": {"submenuitems": ["wide"]}, "wide": {"submenuitems": items}},
                  "menuitems": {i: {"display-name": "Item " + i[5:]} for i in items}}
    path = os.path.join(scratch, "menu-tv.json")
    with open(path, "w") as f:
        json.dump(definition, f)
    return path


def main():
    tree, definitions = sys.argv[1], sys.argv[2:]
    browser = next((b for b in BROWSERS if shutil.which(b)), None)
    if browser is None:
        print("no chromium to run the page in")
        return 77
    # One browser a definition, side by side: each page is loaded a dozen times.
    with tempfile.TemporaryDirectory() as scratch:
        definitions.append(wide_definition(scratch))
        def one(n):
            found = []
            check_page(browser, tree, definitions[n], os.path.join(scratch, "page%d.html" % n),
                       scratch, found)
            print("%s: %s" % (definitions[n], "FAILED" if found else "ok"))
            return found
        with concurrent.futures.ThreadPoolExecutor(2) as pool:
            problems = sum(pool.map(one, range(len(definitions))), [])
    for p in problems[:40]:
        print("FAIL " + p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
