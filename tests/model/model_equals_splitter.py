#!/usr/bin/env python3
"""The splitter, the effective menu and the directory read back agree. On
every golden case with one argument and generated definitions (gendefs.py,
seeded) velkin-tool-test runs once; then velkin-model-render (what the model
says the splitter writes) must print the same and leave the same files, byte
for byte, and velkin-tree --format=json must read from the directory written
what it reads from the definition: the profile, each menu by identifier with
its parent, groups and entries (not "added", which no file records), the top
and unreachable menus. What "menudelete" removed is written nowhere: no file of
a deleted menu, no deleted identifier among the items of a file unless an
addition wrote it again; and each deleted entry is drawn where it stood: the
listed entries with the deleted ones in their places are the node's
"submenuitems" strings. A case the directory cannot tell is counted as skipped,
with the reason: identifiers the splitter writes unescaped or looks up as more
than a name (a file not JSON otherwise fails), menu files not written, a node
ending with a "parentitem" of its own. At least 60% of the generated definitions
must compare equal.

Usage: model_equals_splitter.py RENDER TOOL TREE GOLDEN_DIR [--seed S] [--count N] [--verbose]
The profile directories come from velkin-facts, whose path is in $VELKIN_FACTS.
"""
import argparse
import json
import os
import shutil
import sys
import tempfile

import gendefs

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from testkit import run, run_in_scratch  # noqa: E402

# At least this share of the generated definitions must be compared (and equal), not
# skipped: about two thirds are, at every count tried (308 of 450, 66 of 100).
MIN_COMPARED_SHARE = 0.6
VERBOSE = False


def golden_cases(golden):
    """(label, {file: bytes}, argument) of every golden case run with one argument."""
    for name in sorted(os.listdir(golden)):
        folder = os.path.join(golden, name)
        if not os.path.isdir(folder):
            continue
        files = {f: open(os.path.join(folder, f), "rb").read()
                 for f in os.listdir(folder) if os.path.isfile(os.path.join(folder, f))}
        args = files.pop("args", None)
        args = args.decode().split("\n")[:-1] if args is not None else sorted(files)
        if len(args) == 1:
            yield "golden " + name, files, args[0]


def generated_cases(seed, count):
    """(label, {file: bytes}, argument) of the definitions tests/model/gendefs.py makes."""
    for n, (name, text) in enumerate(gendefs.definitions(seed, count)):
        yield "generated %d (seed %d)" % (n, seed), {name: text.encode()}, name


def compare_model(label, files, arg, splitter, render, folder):
    """What the model renderer prints and writes in `folder` against the
    splitter's (stdout, {file: bytes})."""
    model, rendered = run_in_scratch(folder, files, [render, arg, "res/jsons"])
    want, got = dict(splitter[1], stdout=splitter[0]), dict(rendered, stdout=model.stdout)
    problems = ["%s differs:\n  splitter: %r\n  model:    %r" % (k, want.get(k, b"")[:400],
                                                                got.get(k, b"")[:400])
                for k in sorted(set(want) | set(got)) if want.get(k) != got.get(k)]
    if model.returncode != 0:
        problems.append("the model renderer failed (%d): %s"
                        % (model.returncode, model.stderr.decode()))
    if problems:
        print("FAIL %s (%s)" % (label, arg))
        for p in problems[:6]:
            print("  " + p)
        print("  definition: %r" % files[arg][:600])
    return not problems


def strict_json(data):
    try:
        json.loads(data.decode("utf-8"), object_pairs_hook=list)
        return True
    except ValueError:
        return False


def own_parent_member(path):
    """True when the node of the menu file at `path` ends with a string
    "parentitem" member."""
    pairs = json.loads(open(path, "rb").read().decode("utf-8"), object_pairs_hook=list)
    tree = dict(pairs).get("menutree")
    node = tree[0][1] if tree else None
    return isinstance(node, list) and bool(node) and node[-1][0] == "parentitem" \
        and isinstance(node[-1][1], str)


def normalise(doc):
    menus = {}
    for m in doc["menus"]:
        entries = [{k: v for k, v in e.items() if k != "added"} for e in m["entries"]]
        menus[m["id"]] = {"parent": m["parent"], "groups": m["groups"], "entries": entries}
    return {"profile": doc["profile"], "menus": menus,
            "top": sorted(doc["top"]), "unreachable": sorted(doc["unreachable"])}


def identifiers(definition):
    for menu in definition["menus"]:
        yield from [menu["id"], menu["parent"] or ""] + [e["id"] for e in menu["entries"]]
        for group in menu["groups"]:
            yield from group["items"]


def skip_reason(definition, folder):
    """Why the directory cannot tell what the definition says; None if it can,
    "FAIL ..." when a file is not JSON though every identifier is a plain name."""
    ids = list(identifiers(definition))
    unescaped = any(c in '"\\' or ord(c) < 0x20 for i in ids for c in i)
    plain = not unescaped and all(i and i[0] != "*" and not set(".[") & set(i) for i in ids)
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        if os.path.isfile(path) and not strict_json(open(path, "rb").read()):
            return "FAIL %s is not JSON" % name if plain else "identifiers written unescaped"
    if unescaped:
        return "identifiers written unescaped"
    for menu in definition["menus"]:
        if not os.path.isfile(os.path.join(folder, menu["id"] + ".json")):
            return "menu files not written"
    for menu in definition["menus"]:
        if menu["parent"] is None and own_parent_member(os.path.join(folder, menu["id"] + ".json")):
            return "a node ends with a parentitem of its own"
    return None


def drawn_listing(menu):
    """The menu's identifiers as drawn: entries and deleted entries in their
    places, the added entries left out."""
    deleted = sorted(menu["deleted"], key=lambda d: d["after"])
    out, k = [], 0
    for n, entry in enumerate(menu["entries"] + [None]):
        while k < len(deleted) and deleted[k]["after"] == n:
            out.append(deleted[k]["id"])
            k += 1
        if entry is not None and not entry["added"]:
            out.append(entry["id"])
    return out


def deletion_problems(definition, folder, source):
    """What contradicts the definition's deleted menus and entries in the
    files written (`folder`) and in the definition's text `source`."""
    problems = []
    try:
        tree = json.loads(source).get("menutree")
    except (ValueError, AttributeError):
        tree = None  # not strict JSON here: the listings are not compared
    for menu in definition["deleted"]:
        if os.path.exists(os.path.join(folder, menu["id"] + ".json")):
            problems.append("deleted menu %r written" % menu["id"])
    ids = {d["id"] for m in definition["menus"] for d in m["deleted"]}
    for menu in definition["menus"]:
        added = {e["id"] for e in menu["entries"] if e["added"]}
        items = json.loads(open(os.path.join(folder, menu["id"] + ".json"), "rb").read())["menuitems"]
        problems += ["deleted %r written into %r" % (i, menu["id"]) for i in ids & set(items) - added]
        node = tree.get(menu["id"]) if isinstance(tree, dict) else None
        if not menu["deleted"] or not isinstance(node, dict):
            continue
        listed = [s for s in node.get("submenuitems", []) if isinstance(s, str)]
        if drawn_listing(menu) != listed:
            problems.append("menu %r drawn %r, listed %r" % (menu["id"], drawn_listing(menu), listed))
    return problems


DELETIONS = [0, 0]  # deleted entries and menus checked


def compare_directory(label, arg, tree, scratch):
    """Returns "equal", "refused", "no menu", a skip reason, or None on failure."""
    read = run([tree, "--format=json", arg], cwd=scratch)
    definition = json.loads(read.stdout) if read.returncode == 0 else None
    profile = definition and definition["profile"]
    folder = os.path.join(scratch, "res", "jsons", *([profile] if profile else []))
    back = run([tree, "--format=json", folder], cwd=scratch)
    if definition is None or not definition["menus"]:
        # Nothing written, or only an empty helper.json: an empty menu.
        refused = back.returncode == 2 and b"no menu file" in back.stderr
        empty = back.returncode == 0 and not json.loads(back.stdout)["menus"]
        if refused or empty:
            return "refused" if definition is None else "no menu"
        print("FAIL %s: the definition gives %s, the directory %d %r"
              % (label, "no menu" if definition else "an error", back.returncode, back.stderr[:300]))
        return None
    reason = skip_reason(definition, folder)
    if reason and reason.startswith("FAIL"):
        print("%s: %s (%s)" % (reason, label, arg))
        return None
    if reason:
        if VERBOSE:
            print("skipped %s (%s): %s" % (label, arg, reason))
        return reason
    problems = deletion_problems(definition, folder, open(os.path.join(scratch, arg), "rb").read())
    if problems:
        print("FAIL %s (%s): %s" % (label, arg, "; ".join(problems[:4])))
        return None
    DELETIONS[0] += sum(len(m["deleted"]) for m in definition["menus"])
    DELETIONS[1] += len(definition["deleted"])
    got = normalise(json.loads(back.stdout)) if back.returncode == 0 else {}
    want = normalise(definition)
    if want != got:
        print("FAIL %s (%s): the directory reads back otherwise (status %d) %r"
              % (label, arg, back.returncode, back.stderr[:300]))
        for key in sorted(set(want) | set(got)):
            if want.get(key) != got.get(key):
                print("  %s:\n    definition: %.600r\n    directory:  %.600r"
                      % (key, want.get(key), got.get(key)))
        return None
    return "equal"


def main():
    ap = argparse.ArgumentParser()
    for program in ("render", "tool", "tree"):
        ap.add_argument(program, type=os.path.abspath)
    ap.add_argument("golden")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--count", type=int, default=450)
    ap.add_argument("--verbose", action="store_true", help="name every skipped case")
    args = ap.parse_args()
    global VERBOSE
    VERBOSE = args.verbose
    golden = list(golden_cases(args.golden))
    cases = golden + list(generated_cases(args.seed, args.count))
    differ = files = generated_equal = 0
    counts = {}
    with tempfile.TemporaryDirectory() as tmp:
        for n, (label, data, arg) in enumerate(cases):
            work = os.path.join(tmp, "case")
            shutil.rmtree(work, ignore_errors=True)
            scratch = os.path.join(work, "tool")
            split, written = run_in_scratch(scratch, data, [args.tool, arg])
            files += len(written)
            differ += not compare_model(label, data, arg, (split.stdout, written), args.render,
                                        os.path.join(work, "model"))
            outcome = compare_directory(label, arg, args.tree, scratch) or "DIFFER"
            counts[outcome] = counts.get(outcome, 0) + 1
            generated_equal += n >= len(golden) and outcome == "equal"
    print("model: %d definitions (%d golden), %d files written by the splitter: %d differ"
          % (len(cases), len(golden), files, differ))
    print("directory: %d definitions (%d golden, %d generated, seed %d): %s;"
          " %d generated compared equal"
          % (len(cases), len(golden), args.count, args.seed,
             ", ".join("%s %d" % kv for kv in sorted(counts.items())), generated_equal))
    print("deletions: %d deleted entries and %d deleted menus written nowhere, each entry in its place"
          % tuple(DELETIONS))
    failed = differ + counts.get("DIFFER", 0) + (DELETIONS[0] == 0 or DELETIONS[1] == 0)
    least = max(1, int(args.count * MIN_COMPARED_SHARE))
    if generated_equal < least:
        print("FAIL only %d of %d generated definitions compared, fewer than %d"
              % (generated_equal, args.count, least))
        failed += 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
