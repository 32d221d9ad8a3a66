#!/usr/bin/env python3
"""The mutants of scripts/mutants.sh: one-line faults at lines drawn from C++ sources.

  mutate.py plan --count N --seed S --out PLAN FILE...   draw the mutants
  mutate.py show PLAN                                    print them
  mutate.py field PLAN I NAME                            one field of mutant I
  mutate.py describe PLAN I                              "file:line: old -> new"
  mutate.py apply PLAN I                                 write mutant I into its file

Every line of code (not a comment, a preprocessor line or inside a string)
is a candidate for each operator that applies to it; the draw takes `count`
distinct lines at random (the seed fixes it) and one of each line's mutants.
"""
import json
import random
import re
import sys

# Operators: (name, function(line) -> list of mutated lines).


def mask_strings(line):
    """The line with the contents of string and character literals and any
    trailing comment blanked out, so that operators are looked for in code."""
    out = []
    i = 0
    quote = None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            out.append(c if c == quote else " ")
            if c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            out.append(c)
        elif line.startswith("//", i):
            out.append(" " * (len(line) - i))
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)[: len(line)]


def replace_at(line, start, end, text):
    return line[:start] + text + line[end:]


def token_swaps(line, code, table):
    """Every occurrence (in code) of a token of `table`, swapped for its partner."""
    mutants = []
    pattern = "|".join(re.escape(k) for k in sorted(table, key=len, reverse=True))
    for m in re.finditer(r"(?<=\s)(" + pattern + r")(?=\s)", code):
        mutants.append(replace_at(line, m.start(1), m.end(1), table[m.group(1)]))
    return mutants


def op_comparison(line, code):
    return token_swaps(line, code, {"==": "!=", "!=": "=="})


def op_boundary(line, code):
    return token_swaps(line, code, {"<": "<=", "<=": "<", ">": ">=", ">=": ">"})


def op_logic(line, code):
    return token_swaps(line, code, {"&&": "||", "||": "&&"})


def op_bool(line, code):
    mutants = []
    for m in re.finditer(r"\b(true|false)\b", code):
        mutants.append(replace_at(line, m.start(), m.end(), "false" if m.group() == "true" else "true"))
    return mutants


def balanced_end(code, open_at):
    depth = 0
    for i in range(open_at, len(code)):
        if code[i] == "(":
            depth += 1
        elif code[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def op_negate(line, code):
    mutants = []
    for m in re.finditer(r"\b(if|while)\s*\(", code):
        open_at = m.end() - 1
        close = balanced_end(code, open_at)
        if close < 0 or code[open_at + 1 : open_at + 9] == "constexp":
            continue
        inner = line[open_at + 1 : close]
        mutants.append(replace_at(line, open_at + 1, close, "!(" + inner + ")"))
    return mutants


def op_drop_early_return(line, code):
    if re.match(r"^\s*if\s*\(.*\)\s*return\b[^;]*;\s*$", code) and balanced_end(code, code.index("(")) > 0:
        return [re.match(r"^\s*", line).group() + "// (early return dropped)"]
    return []


STATEMENT_KEYWORDS = ("return", "delete", "throw", "case", "using", "goto", "break", "continue", "co_", "static_assert")


def op_drop_call(line, code, header=False):
    stripped = code.strip()
    # In a header, a line at class depth such as `Name();` declares.
    if header and len(code) - len(code.lstrip()) < 4:
        return []
    if not stripped.endswith(");") or "=" in stripped.replace("==", "").replace("!=", ""):
        return []
    if stripped.startswith(STATEMENT_KEYWORDS) or stripped.startswith(("if", "for", "while", "}", "{")):
        return []
    # A call: a (qualified) name or member chain, then its arguments; not a
    # declaration such as `Type name(args);`.
    m = re.match(r"^(\+\+|--)?[A-Za-z_][\w]*((::|\.|->)[A-Za-z_~][\w]*|<[\w:, *&]*>)*\(", stripped)
    if not m or balanced_end(stripped, m.end() - 1) != len(stripped) - 2:
        return []
    return [re.match(r"^\s*", line).group() + "// (call dropped)"]


def op_constant(line, code):
    mutants = []
    for m in re.finditer(r"(?<![\w.'])(\d[\d']*)(?![\w.'])", code):
        digits = m.group(1).replace("'", "")
        value = int(digits)
        new = "1" if value == 0 else str(value + 1)
        mutants.append(replace_at(line, m.start(1), m.end(1), new))
    return mutants


OPERATORS = [
    ("swapped comparison", op_comparison),
    ("moved boundary", op_boundary),
    ("swapped logic", op_logic),
    ("negated condition", op_negate),
    ("dropped early return", op_drop_early_return),
    ("dropped call", op_drop_call),
    ("changed constant", op_constant),
    ("swapped boolean", op_bool),
]


def candidate_lines(path):
    lines = open(path, encoding="utf-8").read().split("\n")
    in_block_comment = False
    for number, line in enumerate(lines, start=1):
        s = line.strip()
        if in_block_comment:
            if "*/" in s:
                in_block_comment = False
            continue
        if s.startswith("/*"):
            in_block_comment = "*/" not in s
            continue
        if not s or s.startswith(("//", "#", "static_assert", "namespace", "template", "using ", "inline constexpr const char")):
            continue
        code = mask_strings(line)
        mutants = []
        for name, op in OPERATORS:
            found = op(line, code, path.endswith(".h")) if op is op_drop_call else op(line, code)
            for mutated in found:
                if mutated != line:
                    mutants.append({"operator": name, "new": mutated})
        if mutants:
            yield number, line, mutants


def plan(args):
    count, seed, out, files = 25, 1, None, []
    i = 0
    while i < len(args):
        if args[i] == "--count":
            count = int(args[i + 1]); i += 2
        elif args[i] == "--seed":
            seed = int(args[i + 1]); i += 2
        elif args[i] == "--out":
            out = args[i + 1]; i += 2
        else:
            files.append(args[i]); i += 1
    lines = [(f, n, old, ms) for f in sorted(set(files)) for n, old, ms in candidate_lines(f)]
    rng = random.Random(seed)
    drawn = rng.sample(lines, min(count, len(lines)))
    drawn.sort(key=lambda entry: (entry[0], entry[1]))
    mutants = []
    for f, n, old, ms in drawn:
        m = rng.choice(ms)
        mutants.append({"file": f, "line": n, "old": old, "new": m["new"], "operator": m["operator"]})
    json.dump(mutants, open(out, "w"), indent=1)


def describe(m):
    return "%s:%d: %s: `%s` -> `%s`" % (m["file"], m["line"], m["operator"], m["old"].strip(), m["new"].strip())


def apply(m):
    text = open(m["file"], encoding="utf-8").read().split("\n")
    if text[m["line"] - 1] != m["old"]:
        sys.exit("mutate.py: %s:%d is no longer the line drawn" % (m["file"], m["line"]))
    text[m["line"] - 1] = m["new"]
    open(m["file"], "w", encoding="utf-8").write("\n".join(text))


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__)
    command, rest = argv[1], argv[2:]
    if command == "plan":
        plan(rest)
        return
    mutants = json.load(open(rest[0]))
    if command == "show":
        for m in mutants:
            print("  " + describe(m))
    elif command == "field":
        print(mutants[int(rest[1])][rest[2]])
    elif command == "describe":
        print(describe(mutants[int(rest[1])]))
    elif command == "apply":
        apply(mutants[int(rest[1])])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
