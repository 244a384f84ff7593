# What the python tests share: the format's facts as velkin-facts prints
# them, programs run in scratch folders holding a resource root, and failures
# collected and reported. A script in a folder of tests/ puts tests/ on
# sys.path to import it.
import functools
import json
import os
import subprocess
import sys


@functools.lru_cache(maxsize=None)
def facts():
    """The facts as JSON, from the velkin-facts whose path is in $VELKIN_FACTS."""
    return json.loads(subprocess.run([os.environ["VELKIN_FACTS"]], capture_output=True,
                                     check=True).stdout)


def make_resource_root(folder):
    """res/jsons/<dir> for every profile below `folder`, as the test build needs."""
    for d in (p["dir"] for p in facts()["profiles"]):
        os.makedirs(os.path.join(folder, "res", "jsons", d), exist_ok=True)
    return os.path.join(folder, "res", "jsons")


def files_below(folder):
    """{path relative to `folder`: bytes} of every file below it."""
    paths = [os.path.join(top, name) for top, _, names in os.walk(folder) for name in names]
    return {os.path.relpath(path, folder): open(path, "rb").read() for path in paths}


def run(args, cwd=None, timeout=60, **options):
    """The finished process, its output captured."""
    return subprocess.run(args, cwd=cwd, capture_output=True, timeout=timeout, **options)


def run_in_scratch(folder, files, args):
    """Runs `args` in `folder`, which gets `files` ({name: bytes}) and a resource
    root: the finished process, and {path below res/: bytes} of what it wrote."""
    make_resource_root(folder)
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    process = run(args, cwd=folder)
    return process, files_below(os.path.join(folder, "res"))


class Failures:
    """Failures collected as "FAIL ..." lines; `exit` prints them and the summary."""

    def __init__(self):
        self.lines = []

    def check(self, ok, *context):
        if not ok:
            self.lines.append(" ".join(str(c) for c in context))
        return ok

    def exit(self, summary):
        for line in self.lines:
            print("FAIL", line)
        print(summary)
        sys.exit(1 if self.lines else 0)
