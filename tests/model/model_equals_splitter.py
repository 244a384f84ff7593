#!/usr/bin/env python3
"""The effective menu equals the splitter: for every golden case and for
generated definitions, velkin-tool-test and velkin-model-render (which writes
what the model says the splitter writes) run in scratch folders of their own
must print the same standard output and leave the same files, byte for byte.

Usage: model_equals_splitter.py RENDER TOOL GOLDEN_DIR [--seed S] [--count N]
The profile directories come from velkin-facts, whose path is in $VELKIN_FACTS.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gendefs  # noqa: E402

PROFILE_DIRS = subprocess.run([os.environ["VELKIN_FACTS"], "profile-dirs"], capture_output=True,
                              check=True).stdout.decode().split()


def golden_cases(golden):
    for name in sorted(os.listdir(golden)):
        folder = os.path.join(golden, name)
        if not os.path.isdir(folder):
            continue
        files = {f: open(os.path.join(folder, f), "rb").read()
                 for f in os.listdir(folder) if os.path.isfile(os.path.join(folder, f))}
        args = files.pop("args", None)
        args = args.decode().split("\n")[:-1] if args is not None else sorted(files)
        if len(args) == 1:
            yield "golden " + name, files, args[0]


def generated_cases(seed, count):
    for n, (name, text) in enumerate(gendefs.definitions(seed, count)):
        yield "generated %d (seed %d)" % (n, seed), {name: text.encode()}, name


def run(program, files, arg, extra, scratch):
    os.makedirs(scratch)
    for name, data in files.items():
        with open(os.path.join(scratch, name), "wb") as f:
            f.write(data)
    for d in PROFILE_DIRS:
        os.makedirs(os.path.join(scratch, "res", "jsons", d))
    out = subprocess.run([program, arg] + extra, cwd=scratch, capture_output=True, timeout=60)
    tree = {}
    for top, _, names in os.walk(os.path.join(scratch, "res")):
        for name in names:
            path = os.path.join(top, name)
            tree[os.path.relpath(path, scratch)] = open(path, "rb").read()
    return out.stdout, tree, out.returncode, out.stderr


def compare(label, files, arg, render, tool, work):
    shutil.rmtree(work, ignore_errors=True)
    want_out, want_tree, _, _ = run(tool, files, arg, [], os.path.join(work, "tool"))
    got_out, got_tree, status, errors = run(render, files, arg, ["res/jsons"],
                                            os.path.join(work, "model"))
    problems = []
    if status != 0:
        problems.append("the model renderer failed (%d): %s" % (status, errors.decode()))
    if want_out != got_out:
        problems.append("stdout differs:\n  splitter: %r\n  model:    %r" % (want_out, got_out))
    for path in sorted(set(want_tree) | set(got_tree)):
        a, b = want_tree.get(path), got_tree.get(path)
        if a != b:
            problems.append("%s differs:\n  splitter: %r\n  model:    %r"
                            % (path, a and a[:400], b and b[:400]))
    if problems:
        print("FAIL %s (%s)" % (label, arg))
        for p in problems[:6]:
            print("  " + p)
        print("  definition: %r" % files[arg][:600])
    return not problems, len(want_tree)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("render")
    ap.add_argument("tool")
    ap.add_argument("golden")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--count", type=int, default=300)
    args = ap.parse_args()
    cases = list(golden_cases(args.golden)) + list(generated_cases(args.seed, args.count))
    failed = files = 0
    with tempfile.TemporaryDirectory() as tmp:
        for label, data, arg in cases:
            ok, n = compare(label, data, arg, os.path.abspath(args.render),
                            os.path.abspath(args.tool), os.path.join(tmp, "case"))
            failed += not ok
            files += n
    print("%d definitions (%d golden), %d files written by the splitter: %d differ"
          % (len(cases), len(cases) - args.count, files, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
