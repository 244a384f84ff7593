#!/usr/bin/env python3
"""velkin-check's colour on a terminal (a pseudo-terminal here): under
--color=auto only where TERM is set and not "dumb" and NO_COLOR is unset or
empty; --color=always and --color=never whatever the environment.

Usage: terminal.py CHECKER
"""
import os
import pty
import subprocess
import sys
import tempfile

checker = sys.argv[1]
# environment, option, coloured?
CASES = [
    ({"TERM": "xterm"},                   [],                 True),
    ({"TERM": "xterm"},                   ["--color=auto"],   True),
    ({"TERM": "xterm", "NO_COLOR": "1"},  [],                 False),
    ({"TERM": "xterm", "NO_COLOR": "0"},  [],                 False),
    ({"TERM": "xterm", "NO_COLOR": ""},   [],                 True),
    ({"TERM": "dumb"},                    [],                 False),
    ({},                                  [],                 False),
    ({"TERM": "xterm"},                   ["--color=never"],  False),
    ({"TERM": "xterm", "NO_COLOR": "1"},  ["--color=always"], True),
    ({"TERM": "dumb"},                    ["--color", "always"], True),
]


def on_terminal(env, options, definition):
    """The checker's standard output when it is a terminal."""
    leader, follower = pty.openpty()
    try:
        subprocess.run([checker] + options + [definition], stdout=follower,
                       stderr=subprocess.DEVNULL, env=env, check=False)
        os.close(follower)
        out = b""
        while True:
            try:
                chunk = os.read(leader, 4096)
            except OSError:  # EIO: the terminal has no writer left
                break
            if not chunk:
                break
            out += chunk
        return out
    finally:
        os.close(leader)


failures = 0
with tempfile.TemporaryDirectory() as work:
    definition = os.path.join(work, "menu-tv.json")
    with open(definition, "w") as f:
        f.write('{"menutree": {"helper": {"submenuitems": []}}}\n')
    for extra, options, coloured in CASES:
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), **extra}
        out = on_terminal(env, options, definition)
        if b"reserved-menu-name" not in out or (b"\033[1;31merror:\033[0m" in out) != coloured:
            print("FAIL %s %s: %s, expected %s" % (extra, options, out,
                                                   "colour" if coloured else "none"))
            failures += 1
print("%d of %d terminal cases as expected" % (len(CASES) - failures, len(CASES)))
sys.exit(1 if failures else 0)
