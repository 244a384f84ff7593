#!/usr/bin/env python3
"""Checks velkin-check --format=sarif against the text output of the same runs
(sarif_runs.py): one SARIF 2.1.0 document whose rules are those --list-rules
and --explain show, whose results have the rules, levels, messages and lines
of the text lines, columns in UTF-16 code units, locations as URIs that lead
back to the files, and whose invocation records the files not read and the
exit status.

Also checks that the manual page and the README describe every rule.

Usage: sarif.py CHECKER CASES_DIR MAN_PAGE README
"""
import json
import os
import re
import subprocess
import sys
import tempfile
import urllib.parse

from sarif_runs import make_runs

checker, cases, page, readme = sys.argv[1:5]
page_text, readme_text = open(page).read(), open(readme).read()
failures = []
LINE = re.compile(rb"^(.*):(\d+):(\d+): (error|warning): (.*) \[([a-z-]+)\]$")


def check(ok, *context):
    if not ok:
        failures.append(" ".join(str(c) for c in context))
    return ok


def rules_shown():
    """(id, severity, help) of each rule, as --list-rules and --explain give them."""
    listed = subprocess.run([checker, "--list-rules"], capture_output=True, text=True).stdout
    rules = []
    for line in listed.splitlines():
        rule, severity = line.split()[:2]
        explained = subprocess.run([checker, "--explain", rule], capture_output=True, text=True)
        head, _, body = explained.stdout.partition("\n")
        check(head == "%s (%s)" % (rule, severity), "--explain", rule, head)
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


def file_uri(path):
    return "file://" + urllib.parse.quote(path, safe="/")


def resolve(location, run_log, cwd):
    """The absolute path an artifactLocation names."""
    uri = location["uri"]
    if "uriBaseId" in location:
        base = run_log["originalUriBaseIds"][location["uriBaseId"]]["uri"]
        check(base == file_uri(cwd.rstrip("/") + "/"), "base URI", base, cwd)
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


def check_results(run, run_log, rules):
    """Each result is its text line's; returns how many columns UTF-16 counts
    apart from bytes."""
    lines = [LINE.match(l) for l in run.text.stdout.splitlines()]
    results = run_log["results"]
    apart = 0
    check(all(lines) and len(results) == len(lines), run.name, "results", len(results), len(lines))
    for result, line in zip(results, filter(None, lines)):
        path, row, col, level, message, rule = line.groups()
        path, row, col = path.decode(), int(row), int(col)
        check(result["ruleId"] == rule.decode() == rules[result["ruleIndex"]][0], run.name, result)
        check(result["level"] == level.decode() == rules[result["ruleIndex"]][1], run.name, result)
        check(result["message"]["text"] == message.decode("utf-8", "replace"), run.name, result)
        physical = result["locations"][0]["physicalLocation"]
        check_location(run, run_log, physical["artifactLocation"], path)
        data = run.stdin if run.stdin is not None else open(os.path.join(run.cwd, path), "rb").read()
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


rules = rules_shown()
check(len(rules) > 0 and len({r[0] for r in rules}) == len(rules), "rule ids", rules)
with tempfile.TemporaryDirectory() as work:
    runs = make_runs(checker, cases, work)
    apart = sum(check_run(run, rules) or 0 for run in runs)
# The definitions with characters beyond ASCII have findings after them.
check(apart > 0, "no finding where bytes and UTF-16 count columns apart")

for rule, _, _ in rules:
    check("\n.BR %s \"" % rule in page_text, "velkin-check(1) lacks rule " + rule)
    check("\n| `%s` |" % rule in readme_text, "README lacks rule " + rule)
# ... and describe no rule the checker does not have.
page_rules = set(re.findall(r'^\.BR ([a-z-]+) " \((?:error|warning)\)"$', page_text, re.M))
readme_rules = set(re.findall(r'^\| `([a-z-]+)` \| (?:error|warning) \|', readme_text, re.M))
for documented, where in ((page_rules, "velkin-check(1)"), (readme_rules, "README")):
    check(documented == {r[0] for r in rules}, where, "describes other rules:",
          sorted(documented ^ {r[0] for r in rules}))

for failure in failures:
    print("FAIL", failure)
if not failures:
    print("SARIF of %d runs matches their text output" % len(runs))
sys.exit(1 if failures else 0)
