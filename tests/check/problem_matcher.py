#!/usr/bin/env python3
"""The editor problem matcher kept in doc/problem-matcher.json reads every
line of velkin-check's text output into the file, line, column, severity,
message and rule that the SARIF log of the same run gives, with Python's
regular expressions and, where node is installed, with JavaScript's (VS
Code's own); the README's tasks.json holds it as it is.

Usage: problem_matcher.py CHECKER CASES_DIR MATCHER README
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

from sarif_runs import make_runs

checker, cases, matcher_path, readme = sys.argv[1:5]
matcher = json.load(open(matcher_path))
pattern = matcher["pattern"]
groups = ["file", "line", "column", "severity", "message", "code"]
failures = []


def fields(match):
    return None if match is None else [match[pattern[g]] for g in groups]


def node_fields(lines):
    """The fields JavaScript's RegExp reads from each line; None without node."""
    node = shutil.which("node")
    if node is None:
        return None
    script = ("const re = new RegExp(process.argv[1]);"
              "const lines = JSON.parse(require('fs').readFileSync(0, 'utf8'));"
              "const idx = JSON.parse(process.argv[2]);"
              "console.log(JSON.stringify(lines.map(l => { const m = re.exec(l);"
              " return m ? idx.map(i => m[i]) : null; })));")
    out = subprocess.run([node, "-e", script, pattern["regexp"],
                          json.dumps([pattern[g] for g in groups])],
                         input=json.dumps(lines), capture_output=True, text=True, check=True)
    return json.loads(out.stdout)


def expected(run):
    """The fields of each finding as the SARIF log of the run has them (the
    file as the text names it, the byte column as the text counts it)."""
    results = json.loads(run.sarif.stdout)["runs"][0]["results"]
    texts = run.text.stdout.decode("utf-8", "replace").splitlines()
    rows = []
    for result, text in zip(results, texts):
        region = result["locations"][0]["physicalLocation"]["region"]
        path, _, rest = text.partition(":%d:" % region["startLine"])
        rows.append([path, str(region["startLine"]), rest.partition(":")[0], result["level"],
                     result["message"]["text"], result["ruleId"]])
    return texts, rows


regexp = re.compile(pattern["regexp"])
with tempfile.TemporaryDirectory() as work:
    runs = make_runs(checker, cases, work)
lines, rows = [], []
for run in runs:
    texts, wanted = expected(run)
    lines += texts
    rows += wanted
for line, row in zip(lines, rows):
    if fields(regexp.match(line)) != row:
        failures.append("Python reads %r as %s, not %s" % (line, fields(regexp.match(line)), row))
in_node = node_fields(lines)
if in_node is not None:
    for line, row, got in zip(lines, rows, in_node):
        if got != row:
            failures.append("JavaScript reads %r as %s, not %s" % (line, got, row))
if len(lines) < 20:
    failures.append("only %d lines of output to read" % len(lines))
readme_text = open(readme).read()
if json.dumps(pattern["regexp"]) not in readme_text:
    failures.append("the README does not quote the regexp %s" % json.dumps(pattern["regexp"]))
# The README's JSON blocks parse, and its tasks.json holds the matcher as it is.
blocks = [json.loads(b) for b in re.findall(r"```json\n(.*?)```", readme_text, re.S)]
tasks = [t for b in blocks for t in b.get("tasks", [])]
if not tasks or any(t["problemMatcher"] != matcher for t in tasks):
    failures.append("the README's tasks.json does not hold doc/problem-matcher.json")

for failure in failures:
    print("FAIL", failure)
print("%d lines read by the problem matcher as SARIF has them (%s)"
      % (len(lines), "Python and node" if in_node is not None else "Python"))
sys.exit(1 if failures else 0)
