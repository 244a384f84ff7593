#!/usr/bin/env python3
"""Everyday mistakes made by hand in examples/menu-tv.json, one per row: the
checker must report each at the line, column and rule given, and nothing else
beyond what it reports on the example itself (cases/example-tv); a near miss
(a row expecting nothing) must stay silent.

Usage: mistakes.py CHECKER EXAMPLES_DIR
"""
import os
import re
import subprocess
import sys

checker, examples = sys.argv[1:3]
LINE = re.compile(r"^[^:]*:(\d+):(\d+): (?:error|warning): (.*) \[([a-z-]+)\]$")

# name, edits (old text, new text: the first occurrence is replaced),
# expected findings (line, column, rule[, text the message holds])
ROWS = [
    ("definition key misspelt", [('"contrast": {"display-name"', '"contarst": {"display-name"')],
     [(32, 17, "missing-definition", "did you mean 'contarst'"),
      (236, 9, "unused-definition", "did you mean it for 'contrast'")]),
    ("sub-menu node removed from menutree",
     [('        "picture_size_settings": {"submenuitems": ["picture_size", "fit_to_screen", '
       '"zoom_position"]},\n', "")],
     [(286, 9, "unused-definition"), (292, 9, "unused-definition"),
      (293, 9, "unused-definition")]),
    ("root member misspelt", [('"menuaddinfo"', '"menuaddinfos"')],
     [(317, 9, "unused-definition"), (478, 9, "unused-definition"),
      (481, 34, "ignored-edit-info"), (481, 43, "ignored-edit-info"),
      (482, 5, "unknown-member", "did you mean 'menuaddinfo'")]),
    ("submenuitems given as a string",
     [('"submenuitems": ["picture_size", "fit_to_screen", "zoom_position"]',
       '"submenuitems": "picture_size"')],
     [(79, 35, "wrong-type"), (287, 9, "unused-definition"), (293, 9, "unused-definition"),
      (294, 9, "unused-definition")]),
    ("add entry given as a bare array",
     [('"sound": {"list": ["sound_mode", "adaptive_sound", "expert_sound"]}',
       '"sound": ["sound_mode", "adaptive_sound", "expert_sound"]')],
     [(317, 9, "unused-definition"), (483, 9, "wrong-type")]),
    ("node member misspelt", [('"picture": {\n            "submenuitems"',
                               '"picture": {\n            "submenuitem"')],
     [(12, 13, "unknown-member", "did you mean 'submenuitems'")] +
     [(23, col, "group-item-not-listed") for col in (37, 53, 72, 97)] +
     [(25, 55, "group-item-not-listed"), (25, 73, "group-item-not-listed")] +
     [(28, 9, "unreached-menu"), (79, 9, "unreached-menu")] +
     [(486, 37, "no-effect", "which no written menu lists")]),
    ("group member misspelt",
     [('"group-items": ["sound_mode", "expert_sound", "sound_output"]',
       '"group_items": ["sound_mode", "expert_sound", "sound_output"]')],
     [(91, 39, "unknown-member", "did you mean 'group-items'")]),
    ("item listed twice in one menu", [('"contrast",\n', '"contrast",\n                "contrast",\n')],
     [(33, 17, "duplicate-entry", "first at line 32, column 17")]),
    ("item definition given as a string",
     [('"contrast": {"display-name": "Contrast", "style": "slider", "min": 0, "max": 50, '
       '"default": 45}', '"contrast": "Contrast"')],
     [(236, 9, "wrong-type")]),
    ("comment kept as a member", [('"menutree": {', '"_comment": "tv menus",\n    "menutree": {')],
     []),
    ("schema named for editors", [('{', '{"$schema": "velkin-definition.schema.json",')], []),
    ("extra member of a node", [('"layout": "tiles"', '"layout": "tiles", "icon": "home"')], []),
    ("definition named only by a deleted menu's node",
     [('"menudelete": {"submenuitems": ["legacy_3d"', '"menudelete": {"submenuitems": ["legacy_3d"')],
     []),
    ("two groups", [('{"indent-level": "1", "group-items": ["eco_brightness", "hdr_plus"]}',
                     '{"indent-level": "2", "group-items": ["eco_brightness", "hdr_plus"]}')], []),
    ("a third group", [('{"indent-level": "1", "group-items": ["eco_brightness", "hdr_plus"]}',
                        '{"indent-level": "1", "group-items": ["eco_brightness"]},\n'
                        '{"indent-level": "1", "group-items": ["hdr_plus"]}')],
     [(20, 13, "too-many-groups", "its rebuilt node has no")]),
]


def findings(text):
    """The findings on `text`, read from standard input as menu-tv.json."""
    out = subprocess.run([checker, "--no-config", "--stdin-filename=menu-tv.json", "-"],
                         input=text, capture_output=True, text=True).stdout
    return [LINE.match(l).groups() for l in out.splitlines()]


fails = 0
base_text = open(os.path.join(examples, "menu-tv.json")).read()
known = {(message, rule) for _, _, message, rule in findings(base_text)}

for name, edits, expected in ROWS:
    text = base_text
    for old, new in edits:
        assert old in text, (name, old)
        text = text.replace(old, new, 1)
    got = [f for f in findings(text) if (f[2], f[3]) not in known]
    ok = len(got) == len(expected)
    for (line, col, message, rule), want in zip(got, expected):
        ok = ok and (int(line), int(col), rule) == tuple(want[:3])
        ok = ok and (len(want) < 4 or want[3] in message)
    if not ok:
        print("FAIL %s: expected %s, got %s" % (name, expected, got))
        fails += 1
print("%d mistakes and near misses, %d failed" % (len(ROWS), fails))
sys.exit(1 if fails else 0)
