#!/usr/bin/env python3
"""Replays JSON-RPC conversations through velkin-lsp and compares what it
answers with the expected messages, one case folder each:

  in.jsonl    the messages sent, one a line: a JSON message (framed here), or
              `raw "..."`: the bytes of a JSON string sent as they are;
              a string "@file:NAME" stands for the text of NAME (case folder)
  out.jsonl   the messages expected back, in order, compared as JSON
  status      the exit status expected (0 if absent)
  files/      copied into the scratch folder first

${ROOT} stands for the scratch folder, the server's working directory.
LSP_WRAPPER, when set, is a command the server runs under (valgrind ...).

  replay.py SERVER CASES [--update] [CASE...]
"""
import json
import os
import shlex
import shutil
import subprocess
import sys
import tempfile


def substitute(value, root, case):
    if isinstance(value, str):
        if value.startswith("@file:"):
            with open(os.path.join(case, value[6:]), encoding="utf-8") as f:
                return f.read()
        return value.replace("${ROOT}", root)
    if isinstance(value, list):
        return [substitute(v, root, case) for v in value]
    if isinstance(value, dict):
        return {k: substitute(v, root, case) for k, v in value.items()}
    return value


def frame(body):
    return b"Content-Length: %d\r\n\r\n" % len(body) + body


def stream(case, root):
    out = b""
    for line in open(os.path.join(case, "in.jsonl"), encoding="utf-8"):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("raw "):
            out += json.loads(line[4:]).encode("utf-8", "surrogateescape")
        else:
            message = substitute(json.loads(line), root, case)
            out += frame(json.dumps(message, ensure_ascii=False).encode())
    return out


def messages(data):
    """The frames the server wrote; raises on a malformed one."""
    found = []
    while data:
        head, sep, rest = data.partition(b"\r\n\r\n")
        if not sep or not head.startswith(b"Content-Length: "):
            raise ValueError("malformed output frame: %r" % data[:80])
        length = int(head[len(b"Content-Length: "):])
        found.append(json.loads(rest[:length]))
        data = rest[length:]
    return found


def run(server, case, update):
    root = tempfile.mkdtemp(prefix="lsp-replay-")
    try:
        if os.path.isdir(os.path.join(case, "files")):
            shutil.copytree(os.path.join(case, "files"), root, dirs_exist_ok=True)
        wrapper = shlex.split(os.environ.get("LSP_WRAPPER", ""))
        done = subprocess.run(wrapper + [server], input=stream(case, root), cwd=root,
                              capture_output=True, timeout=60)
        got = messages(done.stdout)
        shown = [json.loads(json.dumps(m).replace(root, "${ROOT}")) for m in got]
    finally:
        shutil.rmtree(root)
    status_file = os.path.join(case, "status")
    expected_path = os.path.join(case, "out.jsonl")
    if update:
        with open(expected_path, "w", encoding="utf-8") as f:
            for m in shown:
                f.write(json.dumps(m, ensure_ascii=False) + "\n")
        with open(status_file, "w") as f:
            f.write("%d\n" % done.returncode)
        return []
    problems = []
    status = int(open(status_file).read()) if os.path.exists(status_file) else 0
    if done.returncode != status:
        problems.append("exit status %d, expected %d" % (done.returncode, status))
    if done.stderr:
        problems.append("stderr: %s" % done.stderr.decode(errors="replace")[:500])
    expected = [json.loads(l) for l in open(expected_path, encoding="utf-8") if l.strip()]
    for i in range(max(len(expected), len(shown))):
        want = expected[i] if i < len(expected) else None
        have = shown[i] if i < len(shown) else None
        if want != have:
            problems.append("message %d:\n  expected %s\n  got      %s" %
                            (i + 1, json.dumps(want, ensure_ascii=False),
                             json.dumps(have, ensure_ascii=False)))
    return problems


def main():
    args = [a for a in sys.argv[1:] if a != "--update"]
    update = "--update" in sys.argv
    server, cases = os.path.abspath(args[0]), args[1]
    names = args[2:] or sorted(os.listdir(cases))
    failed = 0
    for name in names:
        problems = run(server, os.path.join(cases, name), update)
        print(("FAIL " if problems else "ok   ") + name)
        for p in problems:
            print("  " + p)
        failed += bool(problems)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
