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

NUMBER_WORDS = ["zero", "one", "two", "three", "four", "five", "six", "seven", "eight"]
# Generated or copied data, not copies of facts: expected outputs, definitions.
SKIPPED = re.compile(r"(^|/)(\.git|expected|cases|corpus|regressions|examples)(/|$)")
problems = []


def report(path, fact, message):
    problems.append("%s: %s: %s" % (path, fact, message))


def check(path, fact, copy, truth):
    if copy != truth:
        report(path, fact, "the copy says %r, format/ says %r" % (copy, truth))


def matches(path, text, fact, pattern):
    """Every match of `pattern` in `text`; at least one, or a missing copy is reported."""
    found = re.findall(pattern, text, re.M)
    if not found:
        report(path, fact, "no copy found (pattern %s): reworded? update copies.py" % pattern)
    return found


def source_files(top):
    """Text files that are not C++ and not data, relative to `top`."""
    for folder, dirs, names in os.walk(top):
        rel = os.path.relpath(folder, top)
        dirs[:] = [d for d in dirs if not SKIPPED.search(os.path.join(rel, d))
                   and not os.path.exists(os.path.join(folder, d, "CMakeCache.txt"))]
        for name in names:
            if not re.search(r"\.(c|cc|cpp|h)$|^\.|\.json$", name) or name.endswith("schema.json"):
                yield os.path.normpath(os.path.join(rel, name))


def anywhere(facts, path, text):
    """Rules for every file: paths under /usr/apps lie in the resource root,
    brace lists of profile directories name them all, menu-*.json names are
    profile keys, nesting depths are the bound or one more."""
    root, dirs = facts["resourceRoot"], facts["dirs"]
    for p in re.findall(r"/usr/apps[\w/.-]*", text):
        parts, want = p.rstrip("/.").split("/"), root.split("/")
        if parts != want[:len(parts)] and parts[:len(want)] != want:
            report(path, "resource root", "%s does not lie in %s" % (p, root))
    for brace in re.findall(r"\{([\w,]+)\}", text):
        if set(brace.split(",")) & set(dirs):
            check(path, "profile directories", sorted(brace.split(",")), sorted(dirs))
    for key in re.findall(r"\bmenu-[a-z-]+\.json\b", text):
        if key not in facts["keys"]:
            report(path, "profile keys", "%s is no profile key" % key)
    bound = facts["maxNesting"]
    for depth in re.findall(r"\b(\d+) levels", text):
        if int(depth) not in (bound, bound + 1):
            report(path, "nesting bound", "%s levels, the bound is %d" % (depth, bound))


def prose(facts, path, text, scanned=True):
    """Rules for the documents a person reads; `scanned`: the rules for every
    file have been applied to it already."""
    text = " ".join(text.split())
    if not scanned:
        anywhere(facts, path, text)
    keys = re.findall(r"\bmenu-[a-z-]+\.json\b", text)
    if keys:
        check(path, "profile keys named", sorted(set(keys)), sorted(facts["keys"]))
    for word in re.findall(r"\bmenu[a-z]+\b", text):
        if word != "menus" and word not in facts["members"]["root"]:
            report(path, "root members", "%s is no root member" % word)
    for size in re.findall(r"\b(\d{3,})(?:-byte| bytes|- and)", text):
        if int(size) not in facts["querySizes"].values():
            report(path, "query sizes", "%s bytes is no query buffer size" % size)
    for pair in re.findall(r"named [`\"]?(\w+)[`\"]? or [`\"]?(\w+)", text):
        check(path, "reserved menu names", sorted(pair), sorted(facts["reservedMenuNames"]))
    for word in re.findall(r"\b(\w+) profile directories", text):
        check(path, "number of profiles", word, NUMBER_WORDS[len(facts["dirs"])])
    for word in re.findall(r"[Aa]t most (\w+) (?:visual )?groups", text):
        check(path, "group limit", word, NUMBER_WORDS[facts["maxGroups"]])
    return text


def must_contain(path, text, fact, *copies):
    for copy in copies:
        if copy not in text:
            report(path, fact, "does not hold %r" % copy)


def check_readme(facts, text):
    path = "README.md"
    text = prose(facts, path, text)
    pairs = matches(path, text, "profile table", r"`(menu-[\w-]+\.json)` \((?:directory )?`(\w+)`\)")
    check(path, "profile table, in the order tested", [list(p) for p in pairs], facts["pairs"])
    must_contain(path, text, "files", facts["resourceRoot"], facts["helperFile"],
                 facts["providersFile"], '"%s":' % facts["parentItem"])
    must_contain(path, text, "written texts", facts["placeholder"], facts["modifyMarker"][1:],
                 facts["displayName"], "%d levels" % facts["maxNesting"])


def check_tool_page(facts, text):
    path = "doc/velkin-tool.1"
    flat = prose(facts, path, text, scanned=False)
    pairs = matches(path, text, "profile table", r"^\s+(menu-[\w-]+\.json)\s+(\w+)\s*$")
    check(path, "profile table, in the order tested", [list(p) for p in pairs], facts["pairs"])
    for listed in matches(path, flat, "profile directories", r"profile directories ([\w, ]+?) are"):
        check(path, "profile directories", sorted(re.split(r",? and |, ", listed)), sorted(facts["dirs"]))
    must_contain(path, flat, "written texts", facts["resourceRoot"], facts["helperFile"],
                 facts["providersFile"], facts["placeholder"], facts["modifyMarker"][1:],
                 "%d levels" % facts["maxNesting"])


def check_check_page(facts, text):
    path = "doc/velkin-check.1"
    flat = prose(facts, path, text, scanned=False)
    must_contain(path, flat, "facts", facts["displayName"], "%d levels" % facts["maxNesting"],
                 facts["helperFile"], facts["providersFile"])


def check_schema(facts, schema_path):
    path = "schema/menu-definition.schema.json"
    schema = json.load(open(schema_path))
    defs, members = schema["$defs"], facts["members"]
    descriptions = " ".join(re.findall(r'"description": "((?:[^"\\]|\\.)*)"', open(schema_path).read()))
    prose(facts, path, descriptions, scanned=False)
    check(path, "root members", sorted(set(schema["properties"]) - {"$schema"}), sorted(members["root"]))
    node = defs["menuNode"]["properties"]
    check(path, "node members", sorted(node), sorted(members["node"]))
    check(path, "group members", sorted(node["group"]["items"]["properties"]), sorted(members["group"]))
    check(path, "group limit", node["group"]["maxItems"], facts["maxGroups"])
    check(path, "indent levels", node["group"]["items"]["properties"]["indent-level"]["enum"],
          facts["indentLevels"])
    check(path, "edit list members", sorted(defs["editList"]["properties"]), sorted(members["editList"]))
    add_entry = schema["properties"]["menuaddinfo"]["additionalProperties"]["properties"]
    check(path, "add entry members", sorted(add_entry), sorted(members["addEntry"]))
    check(path, "identifier length", defs["identifier"]["maxLength"], facts["longestIdentifier"])
    check(path, "reserved menu names", sorted(defs["menuIdentifier"]["not"]["enum"]),
          sorted(facts["reservedMenuNames"]))
    check_identifier_rule(facts, schema, path)


def identifier_table(longest):
    # Each identifier is a way to get the rule wrong: a character class, a bound.
    return ["a", "volume", "ok-1", "a.b", ".", "..", "*x", "x*", "*", "a[0]", "a]", "[", "",
            'q"r', "back\\slash", "tab\tid", "\x1f", "\x7f", "\x00", "é", "sp ace", "a/b", "/",
            "helper", "providers", "Helper", "helpers", "L" * longest, "L" * (longest + 1),
            "$", "a'b", "1"]


def check_identifier_rule(facts, schema, path):
    """The schema's identifier and menu name against the plain-identifier rule."""
    try:
        import jsonschema
    except ImportError:
        print("skipped the identifier verdicts: python3-jsonschema is not installed")
        return
    table = identifier_table(facts["longestIdentifier"])
    run = subprocess.run([facts["program"], "identifiers"], capture_output=True, check=True,
                         input="".join(i + "\n" for i in table).encode())
    verdicts = run.stdout.decode().splitlines()
    for name, column in (("identifier", 0), ("menuIdentifier", 1)):
        validator = jsonschema.Draft202012Validator({"$ref": "#/$defs/" + name, "$defs": schema["$defs"]})
        for identifier, verdict in zip(table, verdicts):
            want = verdict.split()[column] == "yes"
            if validator.is_valid(identifier) != want:
                report(path, "$defs/" + name, "%s %r, the plain-identifier rule %s it"
                       % ("accepts" if not want else "refuses", identifier[:40],
                          "refuses" if not want else "accepts"))


def check_scripts(facts, top):
    """The scripts that still name the resource root or profile directories."""
    root, dirs, tv = facts["resourceRoot"], facts["dirs"], facts["dirOf"]["menu-tv.json"]
    rules = [
        ("tests/sandbox.sh", r'mkdir ((?:"\$root/\w+" ?)+)$', dirs),
        ("bench/measure.sh", r'mkdir ((?:"\$root/\w+" ?)+)$', dirs),
        (".ci/steps/package.sh", r'^\s+for p in ([\w ]+); do\n\s+\[ -d', dirs),
        (".ci/steps/package.sh", r'^for p in ([\w ]+); do\n.*the tv run', [d for d in dirs if d != tv]),
        (".ci/steps/package.sh", r'((?:"\$root/\w+" ?)+)\)$', dirs),
        (".ci/steps/valgrind.sh", r'res/jsons"/\{([\w,]+)\}', dirs),
    ]
    for path, pattern, want in rules:
        for found in matches(path, open(os.path.join(top, path)).read(), "profile directories", pattern):
            check(path, "profile directories",
                  sorted(re.findall(r"\w+", found.replace("$root", ""))), sorted(want))
    for path in ("tests/sandbox.sh", "bench/measure.sh", ".ci/steps/package.sh", "run-example.sh"):
        for found in matches(path, open(os.path.join(top, path)).read(), "resource root", r"^root=(\S+)$"):
            check(path, "resource root", found, root)
    text = open(os.path.join(top, "run-example.sh")).read()
    for found in matches("run-example.sh", text, "tv directory", r'"\$root"/(\w+)/'):
        check("run-example.sh", "profile directory of menu-tv.json", found, tv)
    for path in (".ci/steps/package.sh", ".ci/steps/debian13.sh"):
        for found in matches(path, open(os.path.join(top, path)).read(), "profile files",
                             r"for f in (\S+ \S+); do"):
            check(path, "helper and providers files", found.split(),
                  [facts["helperFile"], facts["providersFile"]])
    text = open(os.path.join(top, "tests/model/gendefs.py")).read()
    names = re.findall(r'"(menu[\w-]*\.json)"', text)
    check("tests/model/gendefs.py", "profile keys generated", sorted(set(names) & set(facts["keys"])),
          sorted(facts["keys"]))


def check_install_rules(facts, script):
    """The directories the build's install script creates: the profile
    directories under the resource root."""
    made = re.findall(r'file\(INSTALL DESTINATION "([^"]*)" TYPE DIRECTORY FILES ""\)', script)
    root = facts["resourceRoot"] + "/"
    check("CMakeLists.txt", "directories installed",
          sorted(d[len(root):] if d.startswith(root) else d for d in made), sorted(facts["dirs"]))


def render(groff, page):
    if not groff:
        return None
    return subprocess.run([groff, "-man", "-T", "ascii", "-P", "-cbou", "-rLL=200n", "-rHY=0", page],
                          capture_output=True, check=True).stdout.decode()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("facts")
    ap.add_argument("top")
    ap.add_argument("--groff")
    ap.add_argument("--install-script")
    args = ap.parse_args()
    facts = json.loads(subprocess.run([args.facts], capture_output=True, check=True).stdout)
    facts["program"] = args.facts
    facts["keys"] = [p["key"] for p in facts["profiles"]]
    facts["dirs"] = [p["dir"] for p in facts["profiles"]]
    facts["pairs"] = [[p["key"], p["dir"]] for p in facts["profiles"]]
    facts["dirOf"] = dict(facts["pairs"])
    facts["displayName"] = json.loads(facts["placeholder"])["display-name"]
    top = args.top

    if args.install_script:
        check_install_rules(facts, open(args.install_script).read())
    for path in source_files(top):
        try:
            text = open(os.path.join(top, path), encoding="utf-8").read()
        except (UnicodeDecodeError, IsADirectoryError):
            continue
        anywhere(facts, path, text)
    check_readme(facts, open(os.path.join(top, "README.md")).read())
    check_schema(facts, os.path.join(top, "schema/menu-definition.schema.json"))
    check_scripts(facts, top)
    prose(facts, "cmake/Packaging.cmake", open(os.path.join(top, "cmake/Packaging.cmake")).read())
    pages = [("velkin-tool.1", check_tool_page), ("velkin-check.1", check_check_page)]
    for page, checker in pages:
        groff = args.groff if args.groff and not args.groff.endswith("NOTFOUND") else None
        text = render(groff, os.path.join(top, "doc", page))
        if text is None:
            print("skipped doc/%s: groff is not installed" % page)
        else:
            checker(facts, text)

    for p in dict.fromkeys(problems):
        print(p)
    print("%d disagreements with format/" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
