"""Generates small menu definitions that exercise what the splitter reads:
odd identifiers, non-string elements, malformed members, groups, deletes,
additions, amendments and repeated member names. Deterministic for a seed:
definitions(seed, count) yields (file name, text).
"""
import json
import random

PROFILE_NAMES = ["menu-tv.json", "menu-htv.json", "menu-lfd.json",
                 "menu-non-smart-monitor.json", "menu.json"]
PLAIN = ["a", "b", "c", "d", "e", "f", "vol", "pic"]
MENUS = ["main", "sound", "picture", "expert", "net", "timer"]
ODD = ["x.y", "it[0]", "*", "*x", "q'r", "", "\u00e9t\u00e9", "0", "1", "2", "3", "a b",
       "sub/dir", "..", "Main", "sound2", "tab\tid", "quo\"te", "back\\slash",
       "L" * 1030, "M" * 2060, "star*", "a]"]


class Obj:
    """An object as a list of members, so that a name can repeat."""
    def __init__(self, members):
        self.members = members


def dump(value):
    if isinstance(value, Obj):
        return "{" + ", ".join(json.dumps(k, ensure_ascii=False) + ": " + dump(v)
                               for k, v in value.members) + "}"
    if isinstance(value, list):
        return "[" + ", ".join(dump(v) for v in value) + "]"
    return json.dumps(value, ensure_ascii=False)


class Gen:
    def __init__(self, rng):
        self.r = rng
        self.menus = rng.sample(MENUS, rng.randint(1, len(MENUS)))
        self.items = rng.sample(PLAIN, rng.randint(2, len(PLAIN)))
        if rng.random() < 0.5:
            self.items += rng.sample(ODD, rng.randint(1, 3))
        if rng.random() < 0.3:
            self.menus += rng.sample(ODD, 1)

    def chance(self, p):
        return self.r.random() < p

    def ident(self):
        r = self.r.random()
        if r < 0.45:
            return self.r.choice(self.items)
        if r < 0.8:
            return self.r.choice(self.menus)
        if r < 0.95:
            return self.r.choice(PLAIN)
        return self.r.choice(ODD)

    def junk(self):
        return self.r.choice([1, 2.5, None, True, Obj([("id", self.ident())]), [self.ident()],
                              "text", Obj([]), [], 1e-8, 9e19, -0.0])

    def ids(self, n_max=6):
        out = []
        for _ in range(self.r.randint(0, n_max)):
            out.append(self.junk() if self.chance(0.12) else self.ident())
        return out

    def maybe(self, value, p_other=0.08):
        return self.junk() if self.chance(p_other) else value

    def group(self):
        members = []
        if not self.chance(0.1):
            members.append(("indent-level", self.r.choice(["0", "1", "2", "3", 1, "", None])))
        if not self.chance(0.1):
            members.append(("group-items", self.maybe(self.ids(4))))
        if self.chance(0.1):
            members.append(("note", "x"))
        return Obj(members)

    def node(self):
        members = []
        if not self.chance(0.1):
            members.append(("submenuitems", self.maybe(self.ids())))
        if self.chance(0.5):
            groups = [self.group() for _ in range(self.r.choice([0, 1, 1, 2, 2, 3]))]
            members.append(("group", self.maybe(groups)))
        if self.chance(0.3):
            members.append(("display-name", "Menu \u00e9"))
        if self.chance(0.05):
            members.append(("parentitem", self.ident()))
        if self.chance(0.05) and members:
            members.append(self.r.choice(members))
        self.r.shuffle(members)
        return self.maybe(Obj(members), 0.05)

    def definition(self, name):
        r = self.r.random()
        if r < 0.75:
            members = [("display-name", name.upper()[:8] or "E"),
                       ("style", self.r.choice(["slider", "title", "toggle"]))]
            if self.chance(0.3):
                members.append(("range", Obj([("min", 0), ("max", self.r.choice([10, 1e3, 9e19]))])))
            if self.chance(0.2):
                members.append(("values", ["A", "\u00fc", 1e-8, None]))
            return Obj(members)
        return self.r.choice([Obj([]), "plain text", [1, 2], 5, None, True])

    def edit_list(self):
        return self.maybe(Obj([("submenuitems", self.maybe(self.ids(4)))]), 0.1)

    def amendment(self):
        return self.r.choice([Obj([("display-name", "Amended")]),
                              Obj([("style", "list"), ("extra", [1, "x"])]),
                              Obj([]), "text", [1], 3])

    def document(self):
        root = []
        tree = [(m, self.node()) for m in self.menus]
        if self.chance(0.05) and tree:
            tree.append((tree[0][0], self.node()))
        root.append(("menutree", self.maybe(Obj(tree), 0.04)))
        defined = [i for i in self.items + self.menus if self.chance(0.8)]
        root.append(("menuitems", self.maybe(Obj([(i, self.definition(i)) for i in defined]), 0.04)))
        for key in ("menudelete", "menuadd", "menumodify"):
            if self.chance(0.7):
                root.append((key, self.edit_list()))
        if self.chance(0.7):
            entries = []
            for m in self.r.sample(self.menus, self.r.randint(0, len(self.menus))):
                entries.append((m, self.maybe(Obj([("list", self.maybe(self.ids(5)))]), 0.1)))
            root.append(("menuaddinfo", self.maybe(Obj(entries), 0.05)))
        if self.chance(0.6):
            entries = [(i, self.amendment()) for i in self.r.sample(self.items, 2)]
            root.append(("menumodifyinfo", self.maybe(Obj(entries), 0.05)))
        if self.chance(0.8):
            root.append(("providers", self.r.choice([["a", "b"], [], Obj([]), "x", 5, None,
                                                     Obj([("p", [1e-8, "\u00e9"])])])))
        self.r.shuffle(root)
        return Obj(root)


def definitions(seed, count):
    rng = random.Random(seed)
    for _ in range(count):
        name = rng.choice(PROFILE_NAMES)
        yield name, dump(Gen(rng).document()) + "\n"

