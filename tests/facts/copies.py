#!/usr/bin/env python3
"""Every copy of a format fact outside C++ agrees with format/, as velkin-facts
prints it: the build's install rules, the scripts' resource roots and profile
directories, the JSON Schema, the manual pages and the README.

Usage: copies.py FACTS SOURCE_DIR [--groff GROFF] [--install-script BUILD/cmake_install.cmake]
Each disagreement is printed as "FILE: FACT: ..."; the exit status is 1 if any.
"""
import argparse
import json
import os
import re
import subprocess
import sys

WORDS = ["zero", "one", "two", "three", "four", "five", "six", "seven", "eight"]
# Data, not copies of facts: expected outputs, definitions, fuzz inputs.
DATA = re.compile(r"(^|/)(\.git|expected|cases|corpus|regressions|examples)(/|$)")
KEY = r"\bmenu-[a-z-]+\.json\b"
problems = []


def differ(path, fact, copy, truth):
    if copy != truth:
        problems.append("%s: %s: the copy says %r, format/ says %r" % (path, fact, copy, truth))


def found(path, text, fact, pattern):
    """Every match of `pattern`; none is reported, as the copy may have been reworded."""
    hits = re.findall(pattern, text, re.M)
    if not hits:
        problems.append("%s: %s: no copy found (%s); reworded? update copies.py" % (path, fact, pattern))
    return hits


def anywhere(F, path, text):
    """Paths under /usr/apps lie in the resource root, brace lists of profile
    directories name them all, menu-*.json names are profile keys, nesting
    depths are the bound or one more."""
    want = F["resourceRoot"].split("/")
    for p in re.findall(r"/usr/apps[\w/.-]*", text):
        parts = p.rstrip("/.").split("/")
        if parts != want[:len(parts)] and parts[:len(want)] != want:
            differ(path, "resource root", p, F["resourceRoot"])
    for brace in re.findall(r"\{([\w,]+)\}", text):
        if set(brace.split(",")) & set(F["dirs"]):
            differ(path, "profile directories", sorted(brace.split(",")), sorted(F["dirs"]))
    for key in set(re.findall(KEY, text)) - set(F["keys"]):
        differ(path, "profile key", key, F["keys"])
    for depth in re.findall(r"\b(\d+) levels", text):
        if int(depth) - F["maxNesting"] not in (0, 1):
            differ(path, "nesting bound", int(depth), F["maxNesting"])


def prose(F, path, text):
    """Rules for what a person reads: the whole profile list, root members,
    query sizes, reserved names and counts in words."""
    text = " ".join(text.split())
    if re.search(KEY, text):
        differ(path, "profile keys named", sorted(set(re.findall(KEY, text))), sorted(F["keys"]))
    # "menuaddinfos" is velkin-check's example of a misspelt root member.
    for word in set(re.findall(r"\bmenu[a-z]+\b", text)) - set(F["members"]["root"]) - {
            "menus", "menuaddinfos"}:
        differ(path, "root member", word, F["members"]["root"])
    for size in re.findall(r"\b(\d{3,})(?:-byte| bytes|- and)", text):
        if int(size) not in F["querySizes"]:
            differ(path, "query buffer size", int(size), F["querySizes"])
    for pair in re.findall(r"named [`\"]?(\w+)[`\"]? or [`\"]?(\w+)", text):
        differ(path, "reserved menu names", sorted(pair), sorted(F["reservedMenuNames"]))
    for word in re.findall(r"\b(\w+) profile directories", text):
        differ(path, "number of profiles", word, WORDS[len(F["dirs"])])
    for word in re.findall(r"[Aa]t most (\w+) (?:visual )?groups", text):
        differ(path, "group limit", word, WORDS[F["maxGroups"]])
    return text


def documents(F, top, groff):
    """The README and the rendered manual pages: profile tables in the order
    tested, and the texts the tool writes."""
    texts = {"README.md": " ".join(open(os.path.join(top, "README.md")).read().split())}
    for page in ("velkin-tool.1", "velkin-check.1"):
        if not groff:
            print("skipped doc/%s: groff is not installed" % page)
            continue
        texts["doc/" + page] = subprocess.run(
            [groff, "-man", "-T", "ascii", "-P", "-cbou", "-rLL=200n", "-rHY=0",
             os.path.join(top, "doc", page)], capture_output=True, check=True).stdout.decode()
        anywhere(F, "doc/" + page, " ".join(texts["doc/" + page].split()))
    tables = {"README.md": r"`(menu-[\w-]+\.json)` \((?:directory )?`(\w+)`\)",
              "doc/velkin-tool.1": r"^\s+(menu-[\w-]+\.json)\s+(\w+)\s*$"}
    common = [F["helperFile"], F["providersFile"], "%d levels" % F["maxNesting"]]
    written = [F["resourceRoot"], F["placeholder"], F["modifyMarker"][1:]]
    wanted = {"README.md": common + written + ['"%s":' % F["parentItem"], F["displayName"]],
              "doc/velkin-tool.1": common + written, "doc/velkin-check.1": common + [F["displayName"]]}
    for path, text in texts.items():
        flat = prose(F, path, text)
        if path in tables:
            pairs = [list(p) for p in found(path, text, "profile table", tables[path])]
            differ(path, "profile table, in the order tested", pairs, F["pairs"])
        for copy in wanted[path]:
            if copy not in flat:
                problems.append("%s: a fact: does not hold %r" % (path, copy))
    for listed in re.findall(r"profile directories ([\w, ]+?) are", texts.get("doc/velkin-tool.1", "")):
        differ("doc/velkin-tool.1", "profile directories", sorted(re.split(r",? and |, ", listed)),
               sorted(F["dirs"]))


def schema_copies(F, top):
    path = os.path.join(top, "schema/velkin-definition.schema.json")
    schema, raw = json.load(open(path)), open(path).read()
    path, defs, members = "schema/velkin-definition.schema.json", schema["$defs"], F["members"]
    node, group = defs["menuNode"]["properties"], defs["menuNode"]["properties"]["group"]
    add_entry = schema["properties"]["menuaddinfo"]["additionalProperties"]["properties"]
    for fact, copy, truth in [
            ("root members", set(schema["properties"]) - {"$schema"}, members["root"]),
            ("node members", node, members["node"]),
            ("group members", group["items"]["properties"], members["group"]),
            ("edit list members", defs["editList"]["properties"], members["editList"]),
            ("add entry members", add_entry, members["addEntry"]),
            ("reserved menu names", defs["menuIdentifier"]["not"]["enum"], F["reservedMenuNames"]),
            ("indent levels", group["items"]["properties"]["indent-level"]["enum"], F["indentLevels"])]:
        differ(path, fact, sorted(copy), sorted(truth))
    differ(path, "group limit", group["maxItems"], F["maxGroups"])
    differ(path, "identifier length", defs["identifier"]["maxLength"], F["longestIdentifier"])
    descriptions = " ".join(re.findall(r'"description": "((?:[^"\\]|\\.)*)"', raw))
    anywhere(F, path, descriptions)
    prose(F, path, descriptions)
    verdicts(F, schema, path)


def verdicts(F, schema, path):
    """The schema's identifier and menu name against the plain-identifier rule."""
    try:
        import jsonschema
    except ImportError:
        print("skipped the identifier verdicts: python3-jsonschema is not installed")
        return
    # Each identifier is a way to get the rule wrong: a character class, a bound.
    table = ["a", "ok-1", "a.b", ".", "..", "*x", "x*", "*", "a[0]", "a]", "[", "", 'q"r', "b\\s",
             "tab\tid", "\x1f", "\x7f", "\x00", "é", "sp ace", "a/b", "/", "helper", "providers",
             "Helper", "helpers", "$", "a'b", "1", "L" * F["longestIdentifier"],
             "L" * (F["longestIdentifier"] + 1)]
    run = subprocess.run([F["program"], "identifiers"], input="".join(i + "\n" for i in table).encode(),
                         capture_output=True, check=True)
    rows = [line.split() for line in run.stdout.decode().splitlines()]
    for column, name in enumerate(("identifier", "menuIdentifier")):
        valid = jsonschema.Draft202012Validator({"$ref": "#/$defs/" + name, "$defs": schema["$defs"]})
        for identifier, row in zip(table, rows):
            differ(path, "$defs/%s of %r" % (name, identifier[:40]),
                   "valid" if valid.is_valid(identifier) else "invalid",
                   "valid" if row[column] == "yes" else "invalid")


def scripts(F, top):
    """The scripts that still name the resource root or the profile directories."""
    dirs, tv = F["dirs"], F["dirOf"]["menu-tv.json"]
    mkdirs = r'mkdir ((?:"\$root/\w+" ?)+)$'
    lists = [("tests/sandbox.sh", mkdirs, dirs), ("bench/measure.sh", mkdirs, dirs),
             (".ci/steps/package.sh", r'^\s+for p in ([\w ]+); do\n\s+\[ -d', dirs),
             (".ci/steps/package.sh", r'^for p in ([\w ]+); do\n.*the tv run', [d for d in dirs if d != tv]),
             (".ci/steps/package.sh", r'((?:"\$root/\w+" ?)+)\)$', dirs),
             (".ci/steps/valgrind.sh", r'res/jsons"/\{([\w,]+)\}', dirs),
             ("run-example.sh", r'"\$root"/(\w+)/', [tv])]
    for path, pattern, want in lists:
        for hit in found(path, open(os.path.join(top, path)).read(), "profile directories", pattern):
            differ(path, "profile directories", sorted(re.findall(r"\w+", hit.replace("$root", ""))),
                   sorted(want))
    for path in ("tests/sandbox.sh", "bench/measure.sh", ".ci/steps/package.sh", "run-example.sh"):
        for hit in found(path, open(os.path.join(top, path)).read(), "resource root", r"^root=(\S+)$"):
            differ(path, "resource root", hit, F["resourceRoot"])
    for path in (".ci/steps/package.sh", ".ci/steps/debian13.sh"):
        for hit in found(path, open(os.path.join(top, path)).read(), "files", r"for f in (\S+ \S+); do"):
            differ(path, "helper and providers files", hit.split(), [F["helperFile"], F["providersFile"]])
    names = re.findall(r'"(menu[\w-]*\.json)"', open(os.path.join(top, "tests/model/gendefs.py")).read())
    differ("tests/model/gendefs.py", "profile keys generated", sorted(set(names) & set(F["keys"])),
           sorted(F["keys"]))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("facts")
    ap.add_argument("top")
    ap.add_argument("--groff")
    ap.add_argument("--install-script")
    args = ap.parse_args()
    F = json.loads(subprocess.run([args.facts], capture_output=True, check=True).stdout)
    F.update(program=args.facts, keys=[p["key"] for p in F["profiles"]],
             dirs=[p["dir"] for p in F["profiles"]], pairs=[[p["key"], p["dir"]] for p in F["profiles"]],
             dirOf={p["key"]: p["dir"] for p in F["profiles"]},
             displayName=json.loads(F["placeholder"])["display-name"])
    for folder, subdirs, names in os.walk(args.top):
        rel = os.path.relpath(folder, args.top)
        subdirs[:] = [d for d in subdirs if not DATA.search(os.path.join(rel, d))
                      and not os.path.exists(os.path.join(folder, d, "CMakeCache.txt"))]
        for name in names:
            if not re.search(r"\.(c|cc|cpp|h|json|log)$|^\.", name):
                try:
                    anywhere(F, os.path.normpath(os.path.join(rel, name)),
                             open(os.path.join(folder, name), encoding="utf-8").read())
                except UnicodeDecodeError:
                    pass
    if args.install_script:  # the directories the build's install script creates
        made = re.findall(r'file\(INSTALL DESTINATION "([^"]*)" TYPE DIRECTORY FILES ""\)',
                          open(args.install_script).read())
        differ("CMakeLists.txt", "directories installed", sorted(made),
               sorted(F["resourceRoot"] + "/" + d for d in F["dirs"]))
    groff = args.groff if args.groff and not args.groff.endswith("NOTFOUND") else None
    documents(F, args.top, groff)
    schema_copies(F, args.top)
    scripts(F, args.top)
    prose(F, "cmake/Packaging.cmake", open(os.path.join(args.top, "cmake/Packaging.cmake")).read())
    for p in dict.fromkeys(problems):
        print(p)
    print("%d disagreements with format/" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
