#!/usr/bin/env python3
"""Has the SARIF Multitool, the reference validator of SARIF, judge the logs
of velkin-check's runs (sarif_runs.py: every case, unreadable files, standard
input, escapes, wide characters) with its default rules, and fails on any
error or warning it reports. Its notes are suggestions and pass.

Usage: sarif_validate.py CHECKER CASES_DIR [MULTITOOL]
MULTITOOL is the sarif-multitool command (what `npx sarif-multitool` runs,
node_modules/.bin/sarif-multitool of the npm package @microsoft/sarif-multitool);
without it the test is skipped (exit 77); a validator that does not run fails.
"""
import json
import os
import subprocess
import sys
import tempfile

from sarif_runs import make_runs

checker, cases = sys.argv[1:3]
multitool = sys.argv[3] if len(sys.argv) > 3 else ""
if not multitool or not os.access(multitool, os.X_OK):
    print("the SARIF Multitool is not installed (.ci/steps/sarif.sh installs it)")
    sys.exit(77)
# The tool is a .NET program: without ICU it needs the invariant culture.
env = dict(os.environ, DOTNET_SYSTEM_GLOBALIZATION_INVARIANT="1")


def level(result, rules):
    """A result's level: its own, else its rule's default, else warning."""
    default = rules[result["ruleIndex"]] if "ruleIndex" in result else {}
    return result.get("level", default.get("defaultConfiguration", {}).get("level", "warning"))


with tempfile.TemporaryDirectory() as work:
    runs = make_runs(checker, cases, os.path.join(work, "runs"))
    logs = []
    for run in runs:
        logs.append(os.path.join(work, run.name + ".sarif"))
        with open(logs[-1], "wb") as f:
            f.write(run.sarif.stdout)
    verdict = os.path.join(work, "verdict.sarif")
    # The npm package's launcher passes its arguments through a shell: the
    # paths here hold no blank or shell character.
    validator = subprocess.run([multitool, "validate", "--output", verdict] + logs, env=env,
                               capture_output=True, text=True)
    if validator.returncode != 0 or not os.path.exists(verdict):
        print(validator.stdout, validator.stderr)
        print("FAIL the SARIF Multitool did not run (status %d)" % validator.returncode)
        sys.exit(1)
    judged = json.load(open(verdict, encoding="utf-8-sig"))["runs"][0]

rules = judged["tool"]["driver"].get("rules", [])
findings = [r for r in judged.get("results", []) if level(r, rules) in ("error", "warning")]
for line in validator.stdout.splitlines():
    if ": error " in line or ": warning " in line:
        print(line)
invocation = judged.get("invocations", [{}])[0]
ok = not findings and invocation.get("executionSuccessful", False)
print("%s: the SARIF Multitool reports %d errors and warnings on %d logs"
      % ("PASS" if ok else "FAIL", len(findings), len(logs)))
sys.exit(0 if ok else 1)
