#!/usr/bin/env python3
"""Malformed, hostile and oversized definitions: badinput.py TOOL

TOOL is the test build, whose resource root is res/jsons relative to where it
runs: it runs in a scratch folder holding res/jsons/<dir> for every profile.
The profile directories and the nesting bound come from velkin-facts, whose
path is in $VELKIN_FACTS.
Each run must exit 0, print nothing on stderr but log records and leave only
valid JSON files in the profile's directory; a file the tool cannot load must
leave no file and no output but the "Initial Json" line.
"""
import json, os, re, shutil, subprocess, sys, tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from testkit import facts, make_resource_root, run as run_tool  # noqa: E402

FACTS = facts()
DEEPEST = FACTS["maxNesting"]

BASE = (b'{"providers": {"s": ["v"]}, "menudelete": {"submenuitems": ["b"]}, "menuadd": '
        b'{"submenuitems": ["s"]}, "menumodify": {"submenuitems": ["v"]}, "menuaddinfo": {"s": '
        b'{"list": ["u", "v"]}}, "menumodifyinfo": {"v": {"name": "L"}}, "menutree": {"main": '
        b'{"submenuitems": ["s"]}, "s": {"submenuitems": ["v", "b"], "group": [{"indent-level": '
        b'"1", "group-items": ["v"]}]}}, "menuitems": {"v": {"name": "V"}, "u": {"k": 1}}}')


def nested(depth, before=b""):
    return before + b"[" * depth + b"]" * depth


def long_ids(n):
    m, i = b"m" * n, b"i" * n
    return b'{"menutree": {"m": {"submenuitems": ["%s"]}, "%s": {"submenuitems": ["%s"]}}, ' \
           b'"menuitems": {"%s": {}}}' % (i, m, i, i)


def cases():  # name, definition, True: loads / False: refused / None: either
    yield from ((f"truncated to {n} bytes", BASE[:n], False) for n in range(len(BASE)))
    yield "whole", BASE, True
    yield "BOM", b"\xef\xbb\xbf" + BASE, True
    yield "invalid UTF-8", BASE.replace(b'"V"', b'"V\xff\xfe"').replace(b'"main"', b'"ma\xc3"'), None
    yield "NUL byte", BASE.replace(b'"V"', b'"V\x00"'), None
    yield "number out of range", BASE.replace(b'"L"', b"-1e999"), True
    yield "U+001F in a definition", BASE.replace(b'"V"', b'"\\u001f"'), True
    yield "menu listing itself", b'{"menutree": {"m": {"submenuitems": ["m"]}}, "menuitems": {"m": {}}}', True
    yield "10 KB identifiers", long_ids(10 << 10), True
    yield "1 MB identifiers", long_ids(1 << 20), True
    yield "100000 menus", b'{"menutree": {%s}}' % b",".join(b'"m%d": {}' % i for i in range(100000)), True
    for depth, loads in ((DEEPEST, True), (DEEPEST + 1, False)):
        yield (f"nested {depth} levels",
               b'{"providers": %s, "menutree": {"m": {}}}' % nested(depth - 1), loads)
    yield "nested one object too deep", b'{"a":' * (DEEPEST + 1) + b"1" + b"}" * (DEEPEST + 1), False
    yield "nested behind an escaped quote", b'["\\"", ' + nested(1000000)[1:], False
    yield "nested 1000000 arrays", nested(1000000), False
    yield "nested 1000000 objects", b'{"a":' * 1000000 + b"1" + b"}" * 1000000, False
    yield "nested behind a quote in single quotes", nested(1000000, b"['\"', "), False
    yield "nested behind a quote in a comment", nested(1000000, b'/* " */ '), False


def faults(argv, work, path, loads, **user):
    root = os.path.join(work, "res", "jsons")
    try:
        run = run_tool(argv, cwd=work, timeout=120, **user)
    except subprocess.TimeoutExpired:
        return ["no exit within 120 s"]
    found = [] if run.returncode == 0 else [f"exit status {run.returncode}"]
    stray = [l for l in run.stderr.splitlines() if l and not re.match(rb"[A-Z?]/velkin: ", l)]
    found += [f"stderr {stray[0][:200]!r}"] if stray else []
    initial = f"Initial Json[{path}] \n".encode()
    files = [os.path.join(d, f) for d, _, names in os.walk(root) for f in names]
    if not run.stdout.startswith(initial) or (loads is False and (run.stdout != initial or files)):
        found.append(f"{len(files)} file(s), stdout {run.stdout[:200]!r}")
    if loads and not files:
        found.append("no file written")
    for f in files:
        if os.path.dirname(f) != os.path.join(root, FACTS["profiles"][0]["dir"]):
            found.append(f"{f}: outside the profile directory")
        try:
            with open(f, "rb") as out:
                json.loads(out.read().decode(), parse_constant=lambda word: 1 / 0)
        except (ValueError, ZeroDivisionError) as e:
            found.append(f"{f}: {type(e).__name__} {str(e)[:200]}")
        os.remove(f)
    return found


def unreadable(tool, work, path):
    """The "unreadable file" row: mode 0 stops an ordinary user; a user who
    still reads it (root, or a capability) runs the tool as user nobody."""
    with open(path, "wb") as f:
        f.write(BASE)
    os.chmod(path, 0)
    try:
        open(path, "rb").close()
    except PermissionError:
        return faults([tool, path], work, path, False)
    if os.geteuid() != 0:
        print("skipped unreadable file: mode 0 does not stop this user, who is not root")
        return None
    # nobody needs its own copy of the tool (the build tree may be closed to it)
    # and, so that a wrong write is seen, the right to write into the root.
    copy = os.path.join(work, os.path.basename(tool))
    shutil.copy(tool, copy)
    for d, _, _ in os.walk(os.path.join(work, "res")):
        os.chown(d, 65534, 65534)
    nobody = dict(user=65534, group=65534, extra_groups=[])
    if run_tool([copy], cwd=work, **nobody).returncode != 255:
        print("skipped unreadable file: the tool does not run as user nobody here")
        return None
    return faults([copy, path], work, path, False, **nobody)


def main():
    tool = os.path.abspath(sys.argv[1])
    sys.setrecursionlimit(100000)
    work = tempfile.mkdtemp()
    try:
        os.chmod(work, 0o755)
        make_resource_root(work)
        path = os.path.join(work, FACTS["profiles"][0]["key"])
        report = []
        for name, data, loads in cases():
            with open(path, "wb") as f:
                f.write(data)
            report += [(name, faults([tool, path], work, path, loads))]
        report += [("missing file", faults([tool, path + "x"], work, path + "x", False))]
        os.remove(path)
        os.mkdir(path)
        report += [("directory as the path", faults([tool, path], work, path, False))]
        os.rmdir(path)
        found = unreadable(tool, work, path)
        if found is not None:
            report += [("unreadable file", found)]
    finally:
        shutil.rmtree(work)
    bad = [(name, f) for name, f in report if f]
    for name, f in bad:
        print(f"FAIL {name}: {'; '.join(f)}")
    print(f"{len(report)} definitions, {len(bad)} failed")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
