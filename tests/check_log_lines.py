#!/usr/bin/env python3
"""Checks that the admin's guide names every warn and error line the plugin
can write: each log::Warn and log::Error format text in src/ must stand in
docs/admin-guide.md, its fixed parts in order, a placeholder ({}) matching
whatever the guide writes in its place. Prints each text the guide lacks.
Usage: tests/check_log_lines.py [SOURCE_ROOT]"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
CALL = re.compile(r'log::(?:Warn|Error)\(\s*((?:"(?:[^"\\]|\\.)*"\s*)+)')
LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"')


def texts():
    for path in sorted((root / "src").rglob("*.[ch]*")):
        source = path.read_text(encoding="utf-8")
        for match in CALL.finditer(source):
            text = "".join(LITERAL.findall(match.group(1)))
            text = text.encode().decode("unicode_escape")
            line = source.count("\n", 0, match.start()) + 1
            yield f"{path.relative_to(root)}:{line}", text


def normalized(text):
    return re.sub(r"\s+", " ", text)


guide = normalized((root / "docs" / "admin-guide.md").read_text(encoding="utf-8")).replace("`", "")
missing = 0
checked = 0
for where, text in texts():
    parts = [p.strip() for p in normalized(text).split("{}") if p.strip()]
    if not parts:
        continue  # a text made elsewhere, logged as it is
    checked += 1
    # The parts in order, each within a short reach of the one before.
    at = guide.find(parts[0])
    found = False
    while at != -1 and not found:
        end = at + len(parts[0])
        found = True
        for part in parts[1:]:
            nxt = guide.find(part, end, end + 200 + len(part))
            if nxt == -1:
                found = False
                break
            end = nxt + len(part)
        if not found:
            at = guide.find(parts[0], at + 1)
    if not found:
        missing += 1
        print(f"{where}: the admin's guide does not name this line: {text}")
if missing:
    print(f"{missing} of {checked} warn and error lines are missing from docs/admin-guide.md")
    sys.exit(1)
print(f"{checked} warn and error lines, each named in docs/admin-guide.md")
