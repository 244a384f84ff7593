"""The velkin-check runs whose SARIF the tests read (sarif.py checks what the
logs say, sarif_validate.py has the SARIF Multitool judge them): every case
folder, by relative and by absolute path; files outside the working
directory; standard input with and without a name; files and directories
that cannot be read; identifiers that need escaping; lines with characters
beyond ASCII before a finding.

Each run is made twice, in the text format and in SARIF, so that the two can
be compared.
"""
import os
import subprocess

# Definitions made for these runs, by path below the scratch folder.
DEFINITIONS = {
    # Show() escapes ' and \ with a backslash; SARIF must escape that again.
    "defs/escapes/menu-tv.json":
        '{"menutree": {"main": {"submenuitems": ["it\'s", "back\\\\slash", "100%, a:b"]}},\n'
        ' "menuitems": {}}\n',
    # Two and four bytes per character before the findings of line 2.
    "defs/wide/menu-tv.json":
        '{"menutree": {\n  "main": {"submenuitems": ["\u00e9t\u00e9", "\U0001f600", "x"]}\n}}\n',
    "defs/bom/menu-lfd.json": '\ufeff{"menutree": {"main": {"submenuitems": ["\u00e9", "a"]}}}\n',
}


class Run:
    def __init__(self, name, cwd, args, stdin=None):
        self.name, self.cwd, self.args, self.stdin = name, cwd, args, stdin

    def execute(self, checker):
        def run(extra):
            return subprocess.run([checker] + extra + self.args, cwd=self.cwd, input=self.stdin,
                                  capture_output=True)
        self.text, self.sarif = run([]), run(["--format=sarif"])
        return self


def write_definitions(work):
    for path, text in DEFINITIONS.items():
        full = os.path.join(work, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as f:
            f.write(text)


def unreadable(work):
    """A file and a directory that cannot be read (as root every file can be
    read: only a missing file is left)."""
    paths = ["no-such/menu-tv.json"]
    if os.geteuid() != 0:
        os.makedirs(os.path.join(work, "locked-dir"))
        with open(os.path.join(work, "locked-menu-tv.json"), "w") as f:
            f.write("{}")
        os.chmod(os.path.join(work, "locked-menu-tv.json"), 0)
        os.chmod(os.path.join(work, "locked-dir"), 0)
        paths += ["locked-menu-tv.json", "locked-dir"]
    return paths


def make_runs(checker, cases, work):
    """Runs the checker for every run above, from folders of `work`."""
    write_definitions(work)
    escapes = open(os.path.join(work, "defs/escapes/menu-tv.json"), "rb").read()
    wide = open(os.path.join(work, "defs/wide/menu-tv.json"), "rb").read()
    case_files = sorted(os.path.join(d, "menu-tv.json") for d in os.listdir(cases)
                        if os.path.isfile(os.path.join(cases, d, "menu-tv.json")))
    runs = [
        Run("cases-by-directory", cases, ["."]),
        Run("cases-by-file", cases, case_files),
        Run("cases-absolute", work, [os.path.abspath(cases)]),
        Run("made-here", work, ["defs"]),
        Run("outside-working-directory", os.path.join(work, "defs/wide"),
            ["../escapes/menu-tv.json", "./menu-tv.json", "../../defs/bom/menu-lfd.json"]),
        Run("stdin-unnamed", work, ["-"], escapes),
        Run("stdin-named", work, ["--stdin-filename=defs/wide/menu-tv.json", "-"], wide),
        Run("unreadable", work, ["defs/escapes/menu-tv.json"] + unreadable(work)),
    ]
    return [run.execute(os.path.abspath(checker)) for run in runs]
