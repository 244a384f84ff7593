#!/usr/bin/env python3
"""The effective menu read back from a profile directory equals the one of
the definition that velkin-tool-test wrote it from. For every golden case
with one argument and for generated definitions (tests/model/gendefs.py,
seeded): the splitter runs in a scratch folder, then velkin-tree --format=json
on the definition and on the directory it wrote, and everything the directory
can tell is compared: the profile, each menu by identifier (the directory's
order rule differs from "menutree" order) with its parent, groups and entries
(identifier, exact definition text, opens a menu, amended, placeholder; not
"added", which no file records), and the top and unreachable menus.

Where the directory cannot tell what the definition says, the case is counted
as skipped, with the reason, and never compared:
  - an identifier holds a quote, a backslash or a control character: the
    splitter writes it unescaped, so its file is not JSON or reads back as
    another identifier;
  - a menu's file was not written (a name with a slash, or too long);
  - a node ends with a "parentitem" member of its own where the splitter
    wrote no parent link: it reads as one.
A definition that cannot be read must leave a directory without menu files,
and one without menus likewise.

At least 300 generated definitions must be compared.

Usage: directory_equals_definition.py TREE TOOL GOLDEN_DIR [--seed S] [--count N]
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "model"))
from model_equals_splitter import PROFILE_DIRS, golden_cases, generated_cases  # noqa: E402

# At least this many generated definitions must be compared (and equal), not skipped.
MIN_COMPARED = 300
VERBOSE = False


def run(args, cwd):
    out = subprocess.run(args, cwd=cwd, capture_output=True, timeout=60)
    return out.returncode, out.stdout, out.stderr


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
        yield menu["id"]
        yield menu["parent"] or ""
        for entry in menu["entries"]:
            yield entry["id"]
        for group in menu["groups"]:
            yield from group["items"]


def needs_escape(text):
    return any(c in '"\\' or ord(c) < 0x20 for c in text)


def skip_reason(definition, folder):
    """Why the directory cannot tell what the definition says; None if it can."""
    unescaped = "identifiers written unescaped"
    if any(needs_escape(i) for i in identifiers(definition)):
        return unescaped
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        if os.path.isfile(path) and not strict_json(open(path, "rb").read()):
            return unescaped
    for menu in definition["menus"]:
        if not os.path.isfile(os.path.join(folder, menu["id"] + ".json")):
            return "menu files not written"
    for menu in definition["menus"]:
        if menu["parent"] is None and own_parent_member(os.path.join(folder, menu["id"] + ".json")):
            return "a node ends with a parentitem of its own"
    return None


def compare(label, files, arg, tree, tool, scratch):
    """Returns "equal", "refused", "no menu", a skip reason, or None on failure."""
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    for name, data in files.items():
        with open(os.path.join(scratch, name), "wb") as f:
            f.write(data)
    for d in PROFILE_DIRS:
        os.makedirs(os.path.join(scratch, "res", "jsons", d))
    run([tool, arg], scratch)
    status, out, err = run([tree, "--format=json", arg], scratch)
    definition = json.loads(out) if status == 0 else None
    profile = definition and definition["profile"]
    folder = os.path.join(scratch, "res", "jsons", *([profile] if profile else []))
    dstatus, dout, derr = run([tree, "--format=json", folder], scratch)
    if definition is None or not definition["menus"]:
        if dstatus == 2 and b"no menu file" in derr:
            return "refused" if definition is None else "no menu"
        print("FAIL %s: the definition gives %s, the directory %d %r"
              % (label, "no menu" if definition else "an error", dstatus, derr[:300]))
        return None
    reason = skip_reason(definition, folder)
    if reason:
        if VERBOSE:
            print("skipped %s (%s): %s" % (label, arg, reason))
        return reason
    if dstatus != 0 or normalise(definition) != normalise(json.loads(dout)):
        print("FAIL %s (%s): the directory reads back otherwise (status %d) %r"
              % (label, arg, dstatus, derr[:300]))
        want, got = normalise(definition), normalise(json.loads(dout)) if dstatus == 0 else {}
        for key in sorted(set(want) | set(got)):
            if want.get(key) != got.get(key):
                print("  %s:\n    definition: %.600r\n    directory:  %.600r"
                      % (key, want.get(key), got.get(key)))
        return None
    return "equal"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("tree")
    ap.add_argument("tool")
    ap.add_argument("golden")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--count", type=int, default=450)
    ap.add_argument("--verbose", action="store_true", help="name every skipped case")
    args = ap.parse_args()
    global VERBOSE
    VERBOSE = args.verbose
    tree, tool = os.path.abspath(args.tree), os.path.abspath(args.tool)
    golden = list(golden_cases(args.golden))
    counts = {}
    failed = 0
    generated_equal = 0
    with tempfile.TemporaryDirectory() as tmp:
        cases = golden + list(generated_cases(args.seed, args.count))
        for n, (label, files, arg) in enumerate(cases):
            outcome = compare(label, files, arg, tree, tool, os.path.join(tmp, "case"))
            failed += outcome is None
            counts[outcome or "DIFFER"] = counts.get(outcome or "DIFFER", 0) + 1
            generated_equal += n >= len(golden) and outcome == "equal"
    print("%d definitions (%d golden, %d generated, seed %d): %s; %d generated compared equal"
          % (len(cases), len(golden), args.count, args.seed,
             ", ".join("%s %d" % kv for kv in sorted(counts.items())), generated_equal))
    if generated_equal < MIN_COMPARED:
        print("FAIL only %d of %d generated definitions compared, fewer than %d"
              % (generated_equal, args.count, MIN_COMPARED))
        failed += 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
