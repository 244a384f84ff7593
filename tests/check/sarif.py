#!/usr/bin/env python3
"""Checks velkin-check --format=sarif on definitions with findings: one SARIF
2.1.0 document whose rules, results, levels, messages and locations are those
of the text output of the same run.

Also checks that the manual page and the README describe every rule.

Usage: sarif.py CHECKER CASES_DIR MAN_PAGE README
"""
import json
import os
import re
import subprocess
import sys

checker, cases, page, readme = sys.argv[1:5]
page_text, readme_text = open(page).read(), open(readme).read()
os.chdir(cases)
files = ["unsafe-menu-name/menu-tv.json", "multiple-parents/menu-tv.json", "clean/menu-tv.json"]
text = subprocess.run([checker] + files, capture_output=True, text=True)
sarif = subprocess.run([checker, "--format=sarif"] + files, capture_output=True, text=True)
assert sarif.returncode == text.returncode == 1, (sarif.returncode, text.returncode)
assert sarif.stderr == "", sarif.stderr

log = json.loads(sarif.stdout)
assert log["version"] == "2.1.0", log["version"]
assert len(log["runs"]) == 1
run = log["runs"][0]
driver = run["tool"]["driver"]
assert driver["name"] == "velkin-check"
rules = driver["rules"]
ids = [r["id"] for r in rules]
# As many rules as the manual page and the README describe (each by name, below).
page_rules = set(re.findall(r'^\.BR ([a-z-]+) " \((?:error|warning)\)"$', page_text, re.M))
readme_rules = set(re.findall(r'^\| `([a-z-]+)` \| (?:error|warning) \|', readme_text, re.M))
assert len(ids) == len(set(ids)) == len(page_rules) == len(readme_rules), (ids, page_rules,
                                                                           readme_rules)
for r in rules:
    assert r["help"]["text"] and r["shortDescription"]["text"], r
    assert r["defaultConfiguration"]["level"] in ("error", "warning"), r

line = re.compile(r"^(.*):(\d+):(\d+): (error|warning): (.*) \[([a-z-]+)\]$")
expected = [line.match(l).groups() for l in text.stdout.splitlines()]
assert len(expected) >= 5, text.stdout
results = run["results"]
assert len(results) == len(expected), (len(results), len(expected))
for result, (path, row, col, level, message, rule) in zip(results, expected):
    assert result["ruleId"] == rule, (result, rule)
    assert ids[result["ruleIndex"]] == rule, result
    assert result["level"] == level, result
    assert rules[result["ruleIndex"]]["defaultConfiguration"]["level"] == level, result
    assert result["message"]["text"] == message, (result, message)
    physical = result["locations"][0]["physicalLocation"]
    assert physical["artifactLocation"]["uri"] == path, physical
    assert physical["region"]["startLine"] == int(row), physical
    assert physical["region"]["startColumn"] == int(col), physical

for r in ids:
    assert "\n.BR %s \"" % r in page_text, "velkin-check(1) lacks rule " + r
    assert "\n| `%s` |" % r in readme_text, "README lacks rule " + r

clean = subprocess.run([checker, "--format=sarif", "clean/menu-tv.json"], capture_output=True,
                       text=True)
assert clean.returncode == 0 and json.loads(clean.stdout)["runs"][0]["results"] == []
print("SARIF output matches the text output: %d results" % len(results))
