#!/usr/bin/env python3
"""The HTML page in a real browser: headless chromium loads the page that
velkin-tree --format=html writes for each definition given, and the DOM it
dumps is read back. Without a search every menu is there once with its
entries in order, each with its display name, and nothing is hidden; with
"#q=TEXT" in the address exactly the entries that match TEXT (identifier or
display name, any case) or hold a match below them stay visible, and the count
says how many match. The page refers to nothing outside itself.

Usage: browser.py TREE DEFINITION...; exit status 77 (skipped) without chromium.
"""
import html.parser
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

BROWSERS = ["chromium", "chromium-browser", "google-chrome"]
QUERIES = ["vol", "ZZZ-none", "été", "loudness"]
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


def check_whole(dom, model, problems):
    menus = {}
    for element in dom.root.walk():
        menus.setdefault(element.attrs.get("data-menu"), []).append(element)
    for menu in model["menus"]:
        found = menus.get(printable(menu["id"]), [])
        if len(found) != 1:
            problems.append("menu %r shown %d times" % (menu["id"], len(found)))
            continue
        # The entries of the <ul> right under the menu's <details>.
        got = [(li.attrs.get("data-id"), li.attrs.get("data-name"))
               for ul in found[0].children if ul.tag == "ul" for li in ul.children if "entry" in li.classes]
        want = [(printable(e["id"]), printable(display_name(e["definition"]))) for e in menu["entries"]]
        if want != got:
            problems.append("menu %r: entries %r, expected %r" % (menu["id"], got, want))
    hidden = [e for e in dom.root.walk() if e.hidden]
    if hidden:
        problems.append("%d elements hidden without a search" % len(hidden))
    for element in dom.root.walk():
        for attr in ("src", "href", "action"):
            value = element.attrs.get(attr)
            if value is not None and not value.startswith("#"):
                problems.append("<%s %s=%r> refers outside the page" % (element.tag, attr, value))


def check_search(dom, query, problems):
    def own(li):
        return query.lower() in (li.attrs["data-id"] + "\n" + li.attrs.get("data-name", "")).lower()
    entries = dom.entries()
    for li in entries:
        if li.hidden == (own(li) or any(own(d) for d in dom.entries(li))):
            problems.append("#q=%s: entry %r %s" % (query, li.attrs["data-id"],
                                                   "hidden" if li.hidden else "shown"))
    matched = sum(map(own, entries))
    count = [e for e in dom.root.walk() if e.attrs.get("id") == "count"][0].text
    if not count.startswith("%d " % matched):
        problems.append("#q=%s: count %r, %d entries match" % (query, count, matched))
    roots = [e for e in dom.root.walk() if "root" in e.classes]
    if matched == 0 and not all(r.hidden for r in roots if query.lower() not in r.attrs["data-id"].lower()):
        problems.append("#q=%s: a menu without a match is still shown" % query)
    return matched, len(entries)


def main():
    tree, definitions = sys.argv[1], sys.argv[2:]
    browser = next((b for b in BROWSERS if shutil.which(b)), None)
    if browser is None:
        print("no chromium to run the page in")
        return 77
    problems = []
    with tempfile.TemporaryDirectory() as scratch:
        for n, definition in enumerate(definitions):
            page = os.path.join(scratch, "page%d.html" % n)
            subprocess.run([tree, "--format=html", "--output=" + page, definition], check=True)
            model = json.loads(subprocess.run([tree, "--format=json", definition], check=True,
                                              capture_output=True).stdout)
            before = len(problems)
            check_whole(dump_dom(browser, page, "", scratch), model, problems)
            for query in QUERIES:
                matched, total = check_search(dump_dom(browser, page, "#q=" + query, scratch), query,
                                              problems)
                print("%s #q=%s: %d of %d entries match" % (definition, query, matched, total))
            print("%s: %s" % (definition, "ok" if len(problems) == before else "FAILED"))
    for p in problems[:40]:
        print("FAIL " + p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
