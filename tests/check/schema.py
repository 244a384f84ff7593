#!/usr/bin/env python3
"""Validates the shipped examples against the menu definition schema with a
real validator (Debian's python3-jsonschema, draft 2020-12), and checks that
broken definitions are rejected for the reason they are broken.

Usage: schema.py SCHEMA EXAMPLE...   (exit 77: python3-jsonschema missing)
"""
import json
import sys

try:
    import jsonschema
except ImportError:
    print("python3-jsonschema is not installed (scripts/deps.sh installs it)")
    sys.exit(77)

schema = json.load(open(sys.argv[1]))
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)
failures = 0

for path in sys.argv[2:]:
    errors = list(validator.iter_errors(json.load(open(path))))
    for e in errors:
        print("FAIL %s: %s at %s" % (path, e.message, list(e.absolute_path)))
    failures += len(errors)

tree = {"main": {"submenuitems": ["a"]}}
# Each broken definition with the path of the value that must be rejected: one
# per place the identifier rules apply (facts.copies judges the rules
# themselves on a table of identifiers).
broken = [
    ("no menutree", {"menuitems": {}}, []),
    ("menutree not an object", {"menutree": ["main"]}, ["menutree"]),
    ("misspelt root member", {"menutree": tree, "menuitem": {}}, []),
    ("menu named helper", {"menutree": {"helper": {}}}, ["menutree"]),
    ("item with a dot", {"menutree": {"main": {"submenuitems": ["a.b"]}}},
     ["menutree", "main", "submenuitems", 0]),
    ("item with a quote", {"menutree": tree, "menuitems": {"say \"hi\"": {}}}, ["menuitems"]),
    ("number in submenuitems", {"menutree": {"main": {"submenuitems": ["a", 1]}}},
     ["menutree", "main", "submenuitems", 1]),
    ("three groups", {"menutree": {"main": {"group": [{}, {}, {}]}}}, ["menutree", "main", "group"]),
    ("indent level 3", {"menutree": {"main": {"group": [{"indent-level": "3"}]}}},
     ["menutree", "main", "group", 0, "indent-level"]),
    ("edit list without submenuitems", {"menutree": tree, "menudelete": ["a"]}, ["menudelete"]),
    ("add entry without list", {"menutree": tree, "menuaddinfo": {"main": {"items": []}}},
     ["menuaddinfo", "main"]),
    ("empty amendment", {"menutree": tree, "menumodifyinfo": {"a": {}}}, ["menumodifyinfo", "a"]),
    ("string amendment", {"menutree": tree, "menumodifyinfo": {"a": "x"}}, ["menumodifyinfo", "a"]),
]
for name, document, where in broken:
    paths = [list(e.absolute_path) for e in validator.iter_errors(document)]
    if where not in paths:
        print("FAIL %s: not rejected at %s (errors at %s)" % (name, where, paths))
        failures += 1

# Near misses that are fine.
fine = [
    {"menutree": {"helpers": {"submenuitems": ["star*", "a-b", "caf\u00e9", "i" * 1011]}}},
    {"menutree": {}, "providers": None, "$schema": "file:///usr/share/velkin-tool/x.json"},
]
for document in fine:
    for e in validator.iter_errors(document):
        print("FAIL valid definition rejected: %s at %s" % (e.message, list(e.absolute_path)))
        failures += 1

print("schema: %d failure(s); %d examples, %d broken and %d valid definitions"
      % (failures, len(sys.argv) - 2, len(broken), len(fine)))
sys.exit(1 if failures else 0)
