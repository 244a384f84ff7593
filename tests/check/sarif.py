#!/usr/bin/env python3
"""Checks velkin-check --format=sarif against the text output of the same runs
(sarif_runs.py): one SARIF 2.1.0 document whose rules are those --list-rules
and --explain show, whose results have the rules, levels, messages and lines
of the text lines, columns in UTF-16 code units, locations as URIs that lead
back to the files, and whose invocation records the files not read and the
exit status.

The editor problem matcher of doc/problem-matcher.json must read every text
line into the file, line, column, severity, message and rule the SARIF log
gives, with Python's regular expressions and, where node is installed, with
JavaScript's (VS Code's own); the README's tasks.json holds it as it is.

Also checks that the manual page and the README describe every rule.

Usage: sarif.py CHECKER CASES_DIR MAN_PAGE README MATCHER
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import urllib.parse

from sarif_runs import make_runs

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from testkit import Failures  # noqa: E402

checker, cases, page, readme, matcher_path = sys.argv[1:6]
page_text, readme_text = open(page).read(), open(readme).read()
failures = Failures()
check = failures.check
LINE = re.compile(rb"^(.*):(\d+):(\d+): (error|warning): (.*) \[([a-z-]+)\]$")
read_lines = []  # (text line, its fields as LINE reads them), checked against SARIF


def rules_shown():
    """(id, severity, help) of each rule, as --list-rules and --explain give them:
    the summary, then a paragraph of help."""
    listed = subprocess.run([checker, "--list-rules"], capture_output=True, text=True).stdout
    rules = []
    for line in listed.splitlines():
        rule, severity = line.split()[:2]
        explained = subprocess.run([checker, "--explain", rule], capture_output=True, text=True)
        head, _, body = explained.stdout.partition("\n")
        check(head == "%s (%s)" % (rule, severity), "--explain", rule, head)
        check(body.partition("\n\n")[2].strip(), "--explain", rule, "gives no help after the summary")
        rules.append((rule, severity, body.rstrip("\n")))
    return rules


def utf16_column(data, row, column):
    """The column in UTF-16 code units of a byte column; each byte that is not
    UTF-8 counts one, and a leading byte-order mark is not counted."""
    line = data.split(b"\n")[row - 1]
    if row == 1 and line.startswith(b"\xef\xbb\xbf"):
        line = line[3:]
    before = line[:column - 1].decode("utf-8", "surrogateescape")
    return 1 + sum(2 if ord(c) > 0xFFFF else 1 for c in before) + max(0, column - 1 - len(line))


def resolve(location, run_log, cwd):
    """The absolute path an artifactLocation names."""
    uri = location["uri"]
    if "uriBaseId" in location:
        base = run_log["originalUriBaseIds"][location["uriBaseId"]]["uri"]
        check(base == "file://" + urllib.parse.quote(cwd.rstrip("/") + "/", safe="/"), "base URI", base)
        check(not uri.startswith(("/", "file:")) and ".." not in uri.split("/"), "relative", uri)
        return os.path.join(cwd, urllib.parse.unquote(uri))
    check(uri.startswith("file:///") and ".." not in uri.split("/"), "absolute URI", uri)
    return urllib.parse.unquote(uri[len("file://"):])


def check_location(run, run_log, location, path):
    """`location` leads to `path` as the text output names it."""
    if path == "<stdin>":
        return check("uri" not in location, run.name, "unnamed standard input has a URI", location)
    cwd = os.path.realpath(run.cwd)
    wanted = os.path.normpath(os.path.join(cwd, path))
    got = resolve(location, run_log, cwd)
    check(os.path.normpath(got) == wanted, run.name, "location", got, wanted)
    below = not os.path.isabs(path) and wanted.startswith(cwd + "/")
    check(("uriBaseId" in location) == below, run.name,
          "relative paths below the working directory as relative URIs", location)


def check_fixes(run, result, artifact, fixable, data):
    """A result has a fix exactly when its text line says "(fixable)": one
    change of its own file, each replaced region within the file and
    starting at a string or a comma."""
    fixes = result.get("fixes", [])
    check(len(fixes) == fixable, run.name, "fixes", result)
    for fix in fixes:
        change, = fix["artifactChanges"]
        check(change["artifactLocation"] == artifact, run.name, "fix artifact", change)
        for edit in change["replacements"]:
            region = edit["deletedRegion"]
            start, length = region["byteOffset"], region["byteLength"]
            check(start + length <= len(data) and data[start:start + 1] in (b'"', b","),
                  run.name, "fix region", region)


def check_results(run, run_log, rules):
    """Each result is its text line's; returns how many columns UTF-16 counts
    apart from bytes."""
    lines = [LINE.match(l) for l in run.text.stdout.splitlines()]
    results = run_log["results"]
    apart = 0
    check(all(lines) and len(results) == len(lines), run.name, "results", len(results), len(lines))
    for result, line in zip(results, filter(None, lines)):
        read_lines.append((line[0], line.groups()))
        path, row, col, level, message, rule = line.groups()
        path, row, col = path.decode(), int(row), int(col)
        check(result["ruleId"] == rule.decode() == rules[result["ruleIndex"]][0], run.name, result)
        check(result["level"] == level.decode() == rules[result["ruleIndex"]][1], run.name, result)
        message = message.decode("utf-8", "replace")
        fixable = message.endswith(" (fixable)")
        check(result["message"]["text"] == message[:-len(" (fixable)")] if fixable else message,
              run.name, result)
        physical = result["locations"][0]["physicalLocation"]
        check_location(run, run_log, physical["artifactLocation"], path)
        data = run.stdin if run.stdin is not None else open(os.path.join(run.cwd, path), "rb").read()
        check_fixes(run, result, physical["artifactLocation"], fixable, data)
        check(physical["region"] == {"startLine": row, "startColumn": utf16_column(data, row, col)},
              run.name, "region", physical["region"], row, col)
        apart += physical["region"]["startColumn"] != col
    return apart


def check_invocation(run, run_log):
    """One invocation: successful exactly when every file was read, one
    notification per file or directory that was not, the exit status."""
    invocation, = run_log["invocations"]
    unread = [l[len("velkin-check: "):].rsplit(": ", 1)
              for l in run.sarif.stderr.decode().splitlines()]
    check(invocation["executionSuccessful"] == (not unread), run.name, invocation)
    check(invocation["exitCode"] == run.sarif.returncode, run.name, invocation)
    notes = invocation["toolExecutionNotifications"]
    check(len(notes) == len(unread), run.name, "notifications", notes, unread)
    for note, (path, reason) in zip(notes, unread):
        check(note["level"] == "error" and reason in note["message"]["text"], run.name, note)
        check_location(run, run_log, note["locations"][0]["physicalLocation"]["artifactLocation"],
                       path)


def check_run(run, rules):
    check(run.sarif.returncode == run.text.returncode, run.name, "exit statuses differ")
    check(run.sarif.stderr == run.text.stderr, run.name, run.sarif.stderr, run.text.stderr)
    try:
        log = json.loads(run.sarif.stdout)
    except ValueError as e:
        return check(False, run.name, "SARIF is not JSON:", e)
    check(log["version"] == "2.1.0" and len(log["runs"]) == 1, run.name, "one 2.1.0 run")
    run_log = log["runs"][0]
    driver = run_log["tool"]["driver"]
    check(driver["name"] == "velkin-check" and
          urllib.parse.urlparse(driver["informationUri"]).scheme != "", run.name, driver.keys())
    check([(r["id"], r["defaultConfiguration"]["level"], r["help"]["text"])
           for r in driver["rules"]] == rules, run.name, "rules differ from --list-rules/--explain")
    check(run_log["columnKind"] == "utf16CodeUnits", run.name, "columnKind")
    check_invocation(run, run_log)
    return check_results(run, run_log, rules)


def node_fields(regexp, indexes, lines):
    """The fields JavaScript's RegExp reads from each line; None without node."""
    node = shutil.which("node")
    if node is None:
        return None
    script = ("const re = new RegExp(process.argv[1]);"
              "const lines = JSON.parse(require('fs').readFileSync(0, 'utf8'));"
              "const idx = JSON.parse(process.argv[2]);"
              "console.log(JSON.stringify(lines.map(l => { const m = re.exec(l);"
              " return m ? idx.map(i => m[i]) : null; })));")
    out = subprocess.run([node, "-e", script, regexp, json.dumps(indexes)],
                         input=json.dumps(lines), capture_output=True, text=True, check=True)
    return json.loads(out.stdout)


def check_matcher():
    """The problem matcher reads each text line into the fields LINE reads, which
    are the SARIF log's (the file as the text names it, the byte column)."""
    matcher = json.load(open(matcher_path))
    pattern = matcher["pattern"]
    indexes = [pattern[g] for g in ("file", "line", "column", "severity", "message", "code")]
    texts = [line.decode("utf-8", "replace") for line, _ in read_lines]
    want = [[g.decode("utf-8", "replace") for g in fields] for _, fields in read_lines]
    python = [m and [m[i] for i in indexes] for m in map(re.compile(pattern["regexp"]).match, texts)]
    in_node = node_fields(pattern["regexp"], indexes, texts)
    for reader, read in (("Python", python), ("JavaScript", in_node or [])):
        for line, row, got in zip(texts, want, read):
            check(got == row, "%s reads %r as %s, not %s" % (reader, line, got, row))
    check(len(texts) >= 20, "only %d lines of output to read" % len(texts))
    # The README's JSON blocks parse, and its tasks.json holds the matcher as it is.
    blocks = [json.loads(b) for b in re.findall(r"```json\n(.*?)```", readme_text, re.S)]
    tasks = [t for b in blocks for t in b.get("tasks", [])]
    check(tasks and all(t["problemMatcher"] == matcher for t in tasks),
          "the README's tasks.json does not hold doc/problem-matcher.json")
    return "%d lines read by the problem matcher as SARIF has them (%s)" % (
        len(texts), "Python and node" if in_node is not None else "Python")


rules = rules_shown()
check(len(rules) > 0 and len({r[0] for r in rules}) == len(rules), "rule ids", rules)
with tempfile.TemporaryDirectory() as work:
    runs = make_runs(checker, cases, work)
    apart = sum(check_run(run, rules) or 0 for run in runs)
# The definitions with characters beyond ASCII have findings after them.
check(apart > 0, "no finding where bytes and UTF-16 count columns apart")
matched = check_matcher()

for rule, _, _ in rules:
    check("\n.BR %s \"" % rule in page_text, "velkin-check(1) lacks rule " + rule)
    check("\n| `%s` |" % rule in readme_text, "README lacks rule " + rule)
# ... and describe no rule the checker does not have.
page_rules = set(re.findall(r'^\.BR ([a-z-]+) " \((?:error|warning)\)"$', page_text, re.M))
readme_rules = set(re.findall(r'^\| `([a-z-]+)` \| (?:error|warning) \|', readme_text, re.M))
for documented, where in ((page_rules, "velkin-check(1)"), (readme_rules, "README")):
    check(documented == {r[0] for r in rules}, where, "describes other rules:",
          sorted(documented ^ {r[0] for r in rules}))

failures.exit("SARIF of %d runs matches their text output; %s" % (len(runs), matched))
