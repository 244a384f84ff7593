#!/usr/bin/env python3
"""The pre-commit hook of .pre-commit-hooks.yaml: it parses, runs the checker
this build makes, selects the files a directory argument would (menu-*.json)
and no others, and passes on the shipped examples when pre-commit runs it as
it does (entry, then the files); the YAML blocks of the README parse, and
the one that configures pre-commit names the hook.

Usage: precommit_hook.py CHECKER HOOKS_FILE README EXAMPLES_DIR   (exit 77: no python3-yaml)
"""
import os
import re
import subprocess
import sys

try:
    import yaml
except ImportError:
    print("python3-yaml is not installed")
    sys.exit(77)

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from testkit import Failures  # noqa: E402

checker, hooks_file, readme, examples = sys.argv[1:5]
failures = Failures()
check = failures.check

hooks = yaml.safe_load(open(hooks_file))
check(isinstance(hooks, list) and len(hooks) == 1, "one hook", hooks)
hook = hooks[0]
for key in ("id", "name", "entry", "language", "files"):
    check(isinstance(hook.get(key), str) and hook[key], "the hook lacks", key)
check(hook["id"] == "velkin-check", "id", hook["id"])
check(hook["language"] in ("system", "script"), "language", hook["language"])
entry = hook["entry"].split()
check(entry[0] == os.path.basename(checker), "entry", hook["entry"], "is not", checker)

# pre-commit selects files with re.search on their path from the repository
# root: those `files` matches and `exclude` does not.
files, exclude = re.compile(hook["files"]), re.compile(hook.get("exclude", "^$"))


def selected_by_hook(path):
    return bool(files.search(path)) and not exclude.search(path)


# path, selected
for path, selected in [("menu-tv.json", True), ("examples/menu-lfd.json", True),
                       ("a/b/menu-non-smart-monitor.json", True), ("menu-.json", True),
                       ("xmenu-tv.json", False), ("menu-tv.json.orig", False),
                       ("menu-dir/notes.json", False), ("schema/velkin-definition.schema.json", False),
                       ("helper.json", False)]:
    check(selected_by_hook(path) == selected, "files", hook["files"], path, selected)

staged = sorted(os.path.join(examples, f) for f in os.listdir(examples) if selected_by_hook(f))
run = subprocess.run([checker] + entry[1:] + hook.get("args", []) + staged, capture_output=True)
check(staged and run.returncode == 0, "the hook on", staged, "exits with", run.returncode)

blocks = re.findall(r"```yaml\n(.*?)```", open(readme).read(), re.S)
configs = [yaml.safe_load(b) for b in blocks]
uses = [h for c in configs if isinstance(c, dict) for r in c.get("repos", []) for h in r["hooks"]]
check(any(h["id"] == hook["id"] for h in uses), "no README block configures the hook", uses)

failures.exit("the hook %s: %d problems" % (hook["id"], len(failures.lines)))
