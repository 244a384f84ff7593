#!/usr/bin/env python3
"""Generates a menu definition of a given size for benchmarking velkin-tool.

The output is deterministic for a given seed and size. It has the shape of a
real profile: a menu tree whose nodes list items and sub-menus, item
definitions (a share of them missing), 0-2 groups per node, items listed by
several menus, and delete/add/modify lists with their info members.

  gen_menu.py --mb 10 -o /tmp/menu-tv.json
  gen_menu.py --menus 2000 --items-per-menu 8 -o menu-tv.json
"""
import argparse
import json
import random
import sys

STYLES = ["slider", "toggle", "list", "title", "button", "radio", "info"]
WORDS = ["Picture", "Sound", "Mode", "Level", "Auto", "Expert", "Balance", "Volume",
         "Contrast", "Brightness", "Colour", "Tone", "Sharpness", "Network", "Timer",
         "Language", "Input", "Output", "Power", "Eco", "Game", "Motion", "Clarity"]


def display_name(rng):
    return " ".join(rng.choice(WORDS) for _ in range(rng.randint(1, 3)))


def item_definition(rng, item_id):
    d = {"display-name": display_name(rng), "style": rng.choice(STYLES),
         "id": item_id}
    r = rng.random()
    if r < 0.35:
        d["range"] = {"min": 0, "max": rng.choice([10, 20, 50, 100]), "step": 1}
        d["default"] = rng.randint(0, 10)
    elif r < 0.7:
        d["values"] = [display_name(rng) for _ in range(rng.randint(2, 5))]
        d["default"] = 0
    else:
        d["enabled"] = rng.random() < 0.8
    if rng.random() < 0.3:
        d["help"] = "Adjusts the " + display_name(rng).lower() + " of the display."
    return d


def submenu_definition(rng, menu_id):
    return {"display-name": display_name(rng), "style": "submenu", "id": menu_id}


def build(n_menus, items_per_menu, seed, missing, shared, delete_items, delete_menus,
          add_menus, modify_items, fanout):
    rng = random.Random(seed)
    menus = ["main"] + ["menu_%05d" % i for i in range(1, n_menus)]
    children = {m: [] for m in menus}
    for i in range(1, n_menus):
        children[menus[(i - 1) // fanout]].append(menus[i])

    menuitems = {}
    listed = {}          # menu -> its "submenuitems", in order
    all_items = []       # every plain item id created, in creation order
    next_item = 0
    for m in menus:
        k = rng.randint(1, 2 * items_per_menu - 1)
        entries = []
        seen = set()
        for _ in range(k):
            if all_items and rng.random() < shared:
                item = rng.choice(all_items)     # listed by another menu too
                if item in seen:
                    continue
            else:
                item = "item_%06d" % next_item
                next_item += 1
                all_items.append(item)
                if rng.random() >= missing:
                    menuitems[item] = item_definition(rng, item)
            seen.add(item)
            entries.append(item)
        # Sub-menus stand among the items, each at a random place.
        for child in children[m]:
            entries.insert(rng.randint(0, len(entries)), child)
            if rng.random() >= missing:
                menuitems[child] = submenu_definition(rng, child)
        listed[m] = entries

    menutree = {}
    for m in menus:
        node = {"submenuitems": listed[m]}
        n_groups = rng.choices([0, 1, 2], weights=[4, 4, 2])[0]
        entries = listed[m]
        if n_groups and entries:
            cut = rng.randint(0, len(entries)) if n_groups == 2 else len(entries)
            parts = [entries[:cut], entries[cut:]][:n_groups]
            node["group"] = [{"indent-level": rng.choice(["0", "1", "2"]),
                              "group-items": part} for part in parts]
        if rng.random() < 0.2:
            node["layout"] = rng.choice(["list", "grid"])
        menutree[m] = node

    distinct = sorted(set(all_items))
    deleted = rng.sample(distinct, int(len(distinct) * delete_items))
    deleted += rng.sample(menus[1:], int((n_menus - 1) * delete_menus))

    adders = rng.sample(menus, max(1, int(n_menus * add_menus)))
    menuaddinfo = {}
    next_add = 0
    for m in adders + rng.sample(menus, max(1, n_menus // 200)):
        lst = list(listed[m])
        for _ in range(rng.randint(1, 3)):
            new = "additem_%06d" % next_add
            next_add += 1
            if rng.random() >= missing:
                menuitems[new] = item_definition(rng, new)
            lst.insert(rng.randint(0, len(lst)), new)
        # Sometimes only the anchors and the new ids, not the whole list.
        if len(lst) > 4 and rng.random() < 0.5:
            lst = [x for x in lst if x.startswith("additem_") or rng.random() < 0.5]
        menuaddinfo[m] = {"list": lst}

    defined = [i for i in distinct if i in menuitems]
    modified = rng.sample(defined, int(len(defined) * modify_items))
    menumodifyinfo = {}
    for item in modified + rng.sample(defined, max(1, len(defined) // 200)):
        amend = {"display-name": display_name(rng)}
        if rng.random() < 0.4:
            amend["style"] = rng.choice(STYLES)
        menumodifyinfo[item] = amend

    providers = [{"name": "provider_%02d" % i, "module": "libprov%02d.so" % i,
                  "keys": [display_name(rng) for _ in range(3)]} for i in range(24)]

    return {
        "providers": providers,
        "menutree": menutree,
        "menuitems": menuitems,
        "menudelete": {"submenuitems": deleted},
        "menuadd": {"submenuitems": adders},
        "menuaddinfo": menuaddinfo,
        "menumodify": {"submenuitems": modified},
        "menumodifyinfo": menumodifyinfo,
    }


def dump(doc):
    return json.dumps(doc, indent="\t", ensure_ascii=True) + "\n"


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    size = ap.add_mutually_exclusive_group(required=True)
    size.add_argument("--mb", type=float, help="approximate file size in MB (10^6 bytes)")
    size.add_argument("--menus", type=int, help="number of menus")
    ap.add_argument("-o", "--output", required=True)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--items-per-menu", type=int, default=10, help="mean items per menu")
    ap.add_argument("--missing", type=float, default=0.01, help="share of items without definition")
    ap.add_argument("--shared", type=float, default=0.05,
                    help="share of item slots that reuse an item of another menu")
    ap.add_argument("--delete-items", type=float, default=0.05)
    ap.add_argument("--delete-menus", type=float, default=0.005)
    ap.add_argument("--add-menus", type=float, default=0.02)
    ap.add_argument("--modify-items", type=float, default=0.05)
    ap.add_argument("--fanout", type=int, default=4, help="sub-menus per menu")
    a = ap.parse_args()

    params = dict(items_per_menu=a.items_per_menu, seed=a.seed, missing=a.missing,
                  shared=a.shared, delete_items=a.delete_items, delete_menus=a.delete_menus,
                  add_menus=a.add_menus, modify_items=a.modify_items, fanout=a.fanout)
    n = a.menus
    if n is None:
        # Scale from a sample of the same shape.
        sample = 400
        per_menu = len(dump(build(sample, **params))) / sample
        n = max(2, round(a.mb * 1e6 / per_menu))
    text = dump(build(n, **params))
    with open(a.output, "w") as f:
        f.write(text)
    print("%s: %d menus, %.2f MB" % (a.output, n, len(text) / 1e6), file=sys.stderr)


if __name__ == "__main__":
    main()
