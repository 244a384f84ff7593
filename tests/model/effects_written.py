#!/usr/bin/env python3
"""Every part that the record of effects (format/Effects) says is written
into a file stands in that file as the splitter writes it: on every golden
case with one argument and on generated definitions (gendefs.py, seeded),
velkin-tool-test runs once, and each line of velkin-effects-list (a file, a
member name or string, its path) must be found in that file's bytes, as they
are or JSON-escaped. A file the splitter did not write (a name too long, a
directory missing) is counted as skipped.

Usage: effects_written.py LIST TOOL GOLDEN_DIR [--seed S] [--count N]
The profile directories come from velkin-facts, whose path is in $VELKIN_FACTS.
"""
import argparse
import json
import os
import shutil
import sys
import tempfile

from model_equals_splitter import generated_cases, golden_cases

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from testkit import run, run_in_scratch  # noqa: E402

# At least this many parts must be found in their files.
MIN_FOUND = 2000


def forms(text):
    """The bytes a name or string may stand as: as it is (identifiers are
    written byte for byte), or as json-glib escapes it (copied members)."""
    raw = text.encode("utf-8", "surrogateescape")
    try:
        escaped = json.dumps(text, ensure_ascii=False)[1:-1].encode("utf-8")
    except UnicodeEncodeError:
        escaped = raw
    return {raw, escaped, escaped.replace(b"\\/", b"/")}


def check_case(label, data, arg, tool, lister, work):
    """(found, skipped, failures) for one definition."""
    _, written = run_in_scratch(work, data, [tool, arg])
    by_name = {os.path.basename(path): content for path, content in written.items()}
    listed = run([lister, arg], cwd=work)
    found = skipped = 0
    failures = []
    for line in listed.stdout.decode().splitlines():
        file_hex, text_hex, path = line.split(" ", 2)
        name = bytes.fromhex(file_hex).decode("utf-8", "surrogateescape")
        text = bytes.fromhex(text_hex).decode("utf-8", "surrogateescape")
        if name not in by_name:
            skipped += 1
        elif any(form in by_name[name] for form in forms(text)):
            found += 1
        else:
            failures.append("FAIL %s (%s): %r, recorded as written into %s, is not in it (%s)"
                            % (label, arg, text[:80], name, path))
    return found, skipped, failures


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("lister", type=os.path.abspath)
    ap.add_argument("tool", type=os.path.abspath)
    ap.add_argument("golden")
    ap.add_argument("--seed", type=int, default=2)
    ap.add_argument("--count", type=int, default=200)
    args = ap.parse_args()
    cases = list(golden_cases(args.golden)) + list(generated_cases(args.seed, args.count))
    found = skipped = 0
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        for label, data, arg in cases:
            work = os.path.join(tmp, "case")
            shutil.rmtree(work, ignore_errors=True)
            f, s, bad = check_case(label, data, arg, args.tool, args.lister, work)
            found, skipped, failures = found + f, skipped + s, failures + bad
    for line in failures[:20]:
        print(line)
    print("%d definitions: %d written parts found in their files, %d in files not written, "
          "%d missing" % (len(cases), found, skipped, len(failures)))
    if found < MIN_FOUND:
        print("FAIL only %d parts found, fewer than %d" % (found, MIN_FOUND))
    sys.exit(1 if failures or found < MIN_FOUND else 0)


if __name__ == "__main__":
    main()
