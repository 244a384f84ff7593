#!/usr/bin/env python3
"""Realistic edits of the shipped examples, made at random, each judged by the
splitter itself: no hand-written expectation.

Every edit comes with what its author meant: the unedited example for a slip
(an identifier respelt in one place, a member dropped or pasted one level off,
a value wrapped in another shape, a member repeated with another value), or,
for two correct edits from branches merged, what each of them did alone,
combined. When the files the splitter writes for the edited definition differ
from the files it writes for what was meant (an entry, a menu, a definition,
a group or a parent lost or gained, a file not JSON or not written), the
checker must report at least one finding that the example itself does not
give. An edit of a display text only must give no new finding.

Usage: mutations.py SPLITTER CHECKER EXAMPLES_DIR [--count N] [--seed S] [-v]
"""
import argparse
import json
import os
import random
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import testkit  # noqa: E402


class Obj:
    """A JSON object as a list of [name, value] members: names may repeat."""

    def __init__(self, members):
        self.members = [list(m) for m in members]

    def get(self, name):
        for k, v in reversed(self.members):
            if k == name:
                return v
        return None

    def keys(self):
        return [k for k, _ in self.members]


def load(text):
    return json.loads(text, object_pairs_hook=Obj)


def dump(value, indent=0):
    pad = "\n" + "    " * (indent + 1)
    if isinstance(value, Obj):
        if not value.members:
            return "{}"
        inner = ("," + pad).join(json.dumps(k, ensure_ascii=False) + ": " + dump(v, indent + 1)
                                 for k, v in value.members)
        return "{" + pad + inner + "\n" + "    " * indent + "}"
    if isinstance(value, list):
        return "[" + ", ".join(dump(v, indent + 1) for v in value) + "]"
    return json.dumps(value, ensure_ascii=False)


def copy(value):
    if isinstance(value, Obj):
        return Obj([[k, copy(v)] for k, v in value.members])
    if isinstance(value, list):
        return [copy(v) for v in value]
    return value


# ---- where identifiers stand -------------------------------------------------

def identifier_places(root):
    """Every place that holds an identifier, as (container, key or index,
    kind): a member name ("key") or a string element or value ("value")."""
    places = []
    for top in ("menutree", "menuitems", "menuaddinfo", "menumodifyinfo"):
        obj = root.get(top)
        if isinstance(obj, Obj):
            places += [(obj, i, "key") for i in range(len(obj.members))]
    tree = root.get("menutree")
    for node in (v for _, v in tree.members) if isinstance(tree, Obj) else []:
        if not isinstance(node, Obj):
            continue
        places += string_elements(node.get("submenuitems"))
        for group in node.get("group") or []:
            if isinstance(group, Obj):
                places += string_elements(group.get("group-items"))
    for edit in ("menudelete", "menuadd", "menumodify"):
        obj = root.get(edit)
        places += string_elements(obj.get("submenuitems") if isinstance(obj, Obj) else None)
    adds = root.get("menuaddinfo")
    for entry in (v for _, v in adds.members) if isinstance(adds, Obj) else []:
        places += string_elements(entry.get("list") if isinstance(entry, Obj) else None)
    return places


def string_elements(array):
    if not isinstance(array, list):
        return []
    return [(array, i, "value") for i, v in enumerate(array) if isinstance(v, str)]


def read_place(place):
    container, at, kind = place
    return container.members[at][0] if kind == "key" else container[at]


def write_place(place, text):
    container, at, kind = place
    if kind == "key":
        container.members[at][0] = text
    else:
        container[at] = text


LOOK_ALIKE = {"a": "\u0430", "e": "\u0435", "o": "\u043e", "c": "\u0441", "p": "\u0440",
              "x": "\u0445", "i": "\u0456", "s": "\u0455"}


def respellings(name, rng):
    """What a hand or a paste does to a name."""
    out = [name.capitalize(), name.upper(), name + " ", " " + name, name + "\u200b",
           name.replace("_", "-"), name + "s", name[:-1]]
    letters = [i for i, ch in enumerate(name) if ch in LOOK_ALIKE]
    if letters:
        i = rng.choice(letters)
        out.append(name[:i] + LOOK_ALIKE[name[i]] + name[i + 1:])
    if len(name) > 2:
        i = rng.randrange(len(name) - 1)
        out.append(name[:i] + name[i + 1] + name[i] + name[i + 2:])
    return [n for n in out if n and n != name]


# ---- slips: what was meant is the unedited example ---------------------------

def slip_respell(root, rng):
    """One occurrence of an identifier that stands in several places: a name
    that stands once is renamed, not misspelt."""
    places = identifier_places(root)
    count = {}
    for place in places:
        count[read_place(place)] = count.get(read_place(place), 0) + 1
    place = rng.choice([p for p in places if count[read_place(p)] > 1])
    old = read_place(place)
    new = rng.choice(respellings(old, rng))
    write_place(place, new)
    return "respell %r as %r" % (old, new)


def droppable_members(root):
    """Members whose loss leaves another part of the definition without
    effect, or shows the placeholder: (object, index, description)."""
    out = []
    for edit in ("menudelete", "menuadd", "menumodify"):
        obj = root.get(edit)
        if isinstance(obj, Obj):
            out += [(obj, i, edit + "." + k) for i, k in enumerate(obj.keys())]
    for top in ("menuaddinfo", "menumodifyinfo", "menuitems", "menutree"):
        obj = root.get(top)
        if isinstance(obj, Obj):
            out += [(obj, i, top + "." + k) for i, k in enumerate(obj.keys())]
            for i, (k, v) in enumerate(obj.members):
                if isinstance(v, Obj) and top in ("menuaddinfo", "menutree"):
                    out += [(v, j, top + "." + k + "." + m) for j, m in enumerate(v.keys())
                            if m in ("list", "submenuitems")]
    for k, node in root.get("menutree").members:
        for g, group in enumerate(node.get("group") or [] if isinstance(node, Obj) else []):
            if isinstance(group, Obj):
                out += [(group, j, "menutree.%s.group[%d].%s" % (k, g, m))
                        for j, m in enumerate(group.keys()) if m == "indent-level"]
    out += [(root, i, k) for i, k in enumerate(root.keys()) if k == "providers"]
    return out


def slip_drop(root, rng):
    obj, at, what = rng.choice(droppable_members(root))
    del obj.members[at]
    return "drop " + what


def slip_wrap(root, rng):
    """A list given in another shape, as a paste from another format does."""
    choices = []
    for edit in ("menudelete", "menuadd", "menumodify"):
        obj = root.get(edit)
        if isinstance(obj, Obj) and isinstance(obj.get("submenuitems"), list):
            choices.append((obj, "submenuitems", edit))
    adds = root.get("menuaddinfo")
    for k, v in adds.members if isinstance(adds, Obj) else []:
        if isinstance(v, Obj) and isinstance(v.get("list"), list):
            choices.append((v, "list", "menuaddinfo." + k))
    obj, member, what = rng.choice(choices)
    at = obj.keys().index(member)
    value = obj.members[at][1]
    shape = rng.choice(["as list", "bare", "as string", "as object"])
    if shape == "as list":
        obj.members[at] = ["list", value]
    elif shape == "bare":
        owner = root if what in ("menudelete", "menuadd", "menumodify") else adds
        key = what.split(".")[-1]
        owner.members[owner.keys().index(key)][1] = value
    elif shape == "as string":
        obj.members[at][1] = ",".join(v for v in value if isinstance(v, str))
    else:
        obj.members[at][1] = Obj([[v, True] for v in value if isinstance(v, str)])
    return "%s of %s %s" % (member, what, shape)


def slip_misplace(root, rng):
    """A member pasted one level off."""
    tree, items = root.get("menutree"), root.get("menuitems")
    choice = rng.randrange(3)
    if choice == 0:  # an item definition pasted into menutree
        k, v = rng.choice(items.members)
        items.members.remove([k, v])
        tree.members.append([k, v])
        return "definition %r moved into menutree" % k
    if choice == 1:  # an add entry pasted into the add list's object
        adds = root.get("menuaddinfo")
        k, v = rng.choice(adds.members)
        adds.members.remove([k, v])
        root.get("menuadd").members.append([k, v])
        return "add entry %r moved into menuadd" % k
    k, v = rng.choice(root.get("menumodifyinfo").members)  # an amendment into menuitems
    root.get("menumodifyinfo").members.remove([k, v])
    items.members.append([k, v])
    return "amendment %r moved into menuitems" % k


def slip_repeat(root, rng):
    """A member repeated with another value, as a merge that kept both."""
    tree = root.get("menutree")
    k, node = rng.choice([m for m in tree.members if isinstance(m[1], Obj)])
    other = copy(node)
    listed = other.get("submenuitems")
    if isinstance(listed, list) and listed:
        listed.pop(rng.randrange(len(listed)))
    tree.members.insert(tree.keys().index(k) + 1, [k, other])
    return "node %r repeated with an entry less" % k


SLIPS = [slip_respell, slip_respell, slip_drop, slip_wrap, slip_misplace, slip_repeat]


# ---- correct edits, to merge -------------------------------------------------

def listed_items(root):
    out = []
    for k, node in root.get("menutree").members:
        if isinstance(node, Obj) and isinstance(node.get("submenuitems"), list):
            out += [(k, i) for i in node.get("submenuitems") if isinstance(i, str)]
    return out


def ensure_edit_list(root, edit):
    if root.get(edit) is None:
        root.members.append([edit, Obj([["submenuitems", []]])])
    return root.get(edit).get("submenuitems")


def edit_delete_item(root, target, rng):
    ensure_edit_list(root, "menudelete").append(target[1])
    return "delete item %r" % target[1]


def edit_delete_menu(root, target, rng):
    ensure_edit_list(root, "menudelete").append(target[0])
    return "delete menu %r" % target[0]


def edit_amend(root, target, rng):
    item = target[1]
    if item not in ensure_edit_list(root, "menumodify"):
        ensure_edit_list(root, "menumodify").append(item)
    if root.get("menumodifyinfo") is None:
        root.members.append(["menumodifyinfo", Obj([])])
    root.get("menumodifyinfo").members.append([item, Obj([["display-name", item.upper()]])])
    return "amend %r" % item


def edit_add(root, target, rng):
    menu, item = target
    new = "new_" + item
    root.get("menuitems").members.append([new, Obj([["display-name", "New " + item]])])
    if menu not in ensure_edit_list(root, "menuadd"):
        ensure_edit_list(root, "menuadd").append(menu)
    if root.get("menuaddinfo") is None:
        root.members.append(["menuaddinfo", Obj([])])
    entry = root.get("menuaddinfo").get(menu)
    if entry is None:
        entry = Obj([["list", []]])
        root.get("menuaddinfo").members.append([menu, entry])
    entry.get("list").extend([item, new])
    return "add %r after %r in %r" % (new, item, menu)


def edit_node_member(root, target, rng):
    """A member of the menu's own added to its node (a layout, an icon)."""
    node = root.get("menutree").get(target[0])
    node.members.append(["icon", target[0] + ".png"])
    return "icon for %r" % target[0]


EDITS = [edit_delete_item, edit_delete_menu, edit_amend, edit_add, edit_node_member]


def display_text_edit(root, rng):
    k, v = rng.choice([m for m in root.get("menuitems").members
                       if isinstance(m[1], Obj) and isinstance(m[1].get("display-name"), str)])
    for m in v.members:
        if m[0] == "display-name":
            m[1] = m[1] + " (new)"
    return "display name of %r changed" % k


# ---- what the splitter writes, as facts --------------------------------------

def facts(files):
    """The written files as a set of facts a device reads."""
    out = set()
    for path, data in files.items():
        out.add(("file", path))
        try:
            value = json.loads(data.decode("utf-8"), object_pairs_hook=Obj)
        except (UnicodeDecodeError, ValueError):
            out.add(("not json", path))
            continue
        name = os.path.basename(path)
        if name == "helper.json":
            out |= {("helper", k, v) for k, v in value.members}
        elif name == "providers.json":
            out.add(("providers", dump(value.get("providers"))))
        else:
            out |= menu_facts(value)
    return out


def menu_facts(value):
    out = set()
    items, tree = value.get("menuitems"), value.get("menutree")
    for menu, node in tree.members if isinstance(tree, Obj) else []:
        out.add(("menu", menu))
        out |= {("definition", menu, k, dump(v)) for k, v in
                (items.members if isinstance(items, Obj) else [])}
        if not isinstance(node, Obj):
            continue
        listed = [e for e in node.get("submenuitems") or [] if isinstance(e, str)]
        out |= {("entry", menu, e, listed[i - 1] if i else None) for i, e in enumerate(listed)}
        for k, v in node.members:
            if k == "group":
                out |= {("group", menu, i, dump(g)) for i, g in enumerate(v or [])}
            elif k != "submenuitems":
                out.add(("member", menu, k, dump(v)))
    return out


class Judge:
    def __init__(self, splitter, checker, work):
        self.splitter, self.checker, self.work = splitter, checker, work
        self.runs = 0

    def written(self, name, text):
        self.runs += 1
        folder = tempfile.mkdtemp(dir=self.work)
        _, files = testkit.run_in_scratch(folder, {name: text.encode("utf-8")},
                                          [self.splitter, name])
        return facts(files)

    def findings(self, name, text):
        out = testkit.run([self.checker, "--no-config", "--color=never",
                           "--stdin-filename=" + name, "-"], input=text.encode("utf-8")).stdout
        found = set()
        for line in out.decode("utf-8", "replace").splitlines():
            rest = line.split(": ", 1)[1] if ": " in line else line
            found.add(rest)
        return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("splitter")
    parser.add_argument("checker")
    parser.add_argument("examples")
    parser.add_argument("--count", type=int, default=200)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("-v", action="store_true")
    args = parser.parse_args()
    rng = random.Random(args.seed)
    failures = testkit.Failures()
    with tempfile.TemporaryDirectory() as work:
        judge = Judge(args.splitter, args.checker, work)
        bases = {}
        for name in ("menu-tv.json", "menu-lfd.json"):
            text = open(os.path.join(args.examples, name), encoding="utf-8").read()
            bases[name] = (load(text), judge.written(name, text), judge.findings(name, text))
        counts = {"losses": 0, "silent": 0, "display": 0}
        for n in range(args.count):
            name = rng.choice(sorted(bases))
            one_case(judge, name, bases[name], rng, counts, failures, args.v)
    failures.exit("%d edits: %d changed what the device gets, %d display-text edits, "
                  "%d failures" % (args.count, counts["losses"], counts["display"],
                                   len(failures.lines)))


def one_case(judge, name, base, rng, counts, failures, verbose):
    root, written, found = base
    edited = copy(root)
    kind = rng.random()
    if kind < 0.15:
        what = display_text_edit(edited, rng)
        new = judge.findings(name, dump(edited)) - found
        counts["display"] += 1
        failures.check(not new, name, what, "gave findings:", sorted(new))
        return
    if kind < 0.75:
        what = rng.choice(SLIPS)(edited, rng)
        meant = written
    else:
        what, meant = merged_edits(judge, name, root, written, edited, rng)
    got = judge.written(name, dump(edited))
    if got == meant:
        return
    counts["losses"] += 1
    new = judge.findings(name, dump(edited)) - found
    if verbose:
        print(name, what, "->", len(new), "new findings")
    failures.check(new, name, what, "is silent; differs in",
                   sorted(map(str, (got ^ meant)))[:4])


def merged_edits(judge, name, root, written, edited, rng):
    """Two correct edits on one item or menu; what each does alone, combined."""
    target = rng.choice(listed_items(root))
    first, second = rng.sample(EDITS, 2)
    alone = []
    for edit in (first, second):
        one = copy(root)
        edit(one, target, random.Random(0))
        alone.append(judge.written(name, dump(one)))
    what = " + ".join([first(edited, target, rng), second(edited, target, rng)])
    meant = set(written)
    for effect in alone:
        meant -= written - effect
    for effect in alone:
        meant |= effect - written
    # What one edit changes inside a menu the other deletes is gone with it.
    gone = {f[1] for effect in alone for f in written - effect if f[0] == "menu"}
    return "merged: " + what, {f for f in meant if menu_of(f) not in gone}


def menu_of(fact):
    if fact[0] in ("menu", "definition", "entry", "group", "member"):
        return fact[1]
    return fact[2] if fact[0] == "helper" else None


if __name__ == "__main__":
    main()
