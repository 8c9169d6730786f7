#!/usr/bin/env python3
"""The small changes scripts/mutate.sh makes to a C++ file, one at a time.

  python3 scripts/mutants.py list FILE         one mutant a line: ID<TAB>LINE<TAB>BEFORE<TAB>AFTER
  python3 scripts/mutants.py apply FILE ID     the file with mutant ID applied, on stdout

The list is deterministic: the same file always gives the same mutants in the
same order, so an ID names one change. Comments, string and character
literals and preprocessor lines are never touched. The operators:

  comparison  a binary < <= > >= moves its boundary (< to <=, <= to <, > to >=,
              >= to >); a binary == and != swap
  logic       a binary && and || swap
  arithmetic  a binary + and - swap, * and / swap; += and -=, *= and /=, ++
              and -- swap; a unary minus is dropped
  constant    an integer literal goes one up and one down (hex stays hex,
              a suffix stays)
  statement   an expression statement is dropped (a call, an assignment, an
              increment); so is the statement governed by a one-line `if`,
              which becomes `{}`

An operator counts as binary only with white space on both sides, as the
project's formatting writes it; `char* text` and `static_cast<double>` are
thereby left alone.
"""
import re
import sys

OPERATORS = sorted(
    """<<= >>= -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= ::
    < > + - * / % = ! ~ & | ^ ? : ; , . ( ) { } [ ]""".split(),
    key=len,
    reverse=True,
)
TOKEN = re.compile(
    r"(?P<num>\d[\w.']*)|(?P<id>[A-Za-z_]\w*)|(?P<op>" + "|".join(re.escape(o) for o in OPERATORS) + ")"
)
SWAPS = {
    "<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==",
    "&&": "||", "||": "&&", "+": "-", "-": "+", "*": "/", "/": "*",
    "+=": "-=", "-=": "+=", "*=": "/=", "/=": "*=", "++": "--", "--": "++",
}
INTEGER = re.compile(r"^(0[xX][0-9a-fA-F]+|[0-9]+)([uUlL]*)$")
# What may follow the name that starts an expression statement.
EXPRESSION_FOLLOWERS = {".", "->", "(", "[", "=", "+=", "-=", "*=", "/=", "%=", "++", "--"}


def mask_code(text):
    """The text with comments, literals and preprocessor lines blanked (newlines kept)."""
    out = list(text)
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == "#":
            j = text.find("\n", i)
            j = n if j < 0 else j
            out[i:j] = " " * (j - i)
            i = j
            continue
        if c == "\n":
            line_start = True
            i += 1
            continue
        if not c.isspace():
            line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out[i:j] = " " * (j - i)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            for k in range(i, j):
                if out[k] != "\n":
                    out[k] = " "
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            # Keep the quotes so that the literal still reads as one operand.
            for k in range(i + 1, j - 1):
                out[k] = " "
            i = j
        else:
            i += 1
    return "".join(out)


def tokens(code):
    return [(m.lastgroup, m.group(), m.start(), m.end()) for m in TOKEN.finditer(code)]


def spaced(code, start, end):
    return 0 < start and end < len(code) and code[start - 1] in " \t\n" and code[end] in " \t\n"


def operator_mutants(code, toks):
    for k, (kind, text, start, end) in enumerate(toks):
        if kind == "num":
            m = INTEGER.match(text.replace("'", ""))
            if not m:
                continue  # a floating-point literal
            digits, suffix = m.groups()
            value = int(digits, 0)
            for changed in (value + 1, value - 1):
                if changed < 0:
                    continue
                written = hex(changed).upper().replace("0X", "0x") if digits[:2] in ("0x", "0X") else str(changed)
                yield start, end, written + suffix
        elif kind == "op" and text in SWAPS:
            if text in ("++", "--") or spaced(code, start, end):
                yield start, end, SWAPS[text]
            elif text == "-" and not code[end].isspace():
                previous = toks[k - 1][1] if k > 0 else ""
                if previous in ("(", ",", "=", "return") or toks[k - 1][0] == "op" and previous not in (")", "]"):
                    yield start, end, ""  # a unary minus dropped


def statement_end(toks, k):
    """Index of the `;` that ends the statement starting at token k, at bracket depth 0."""
    depth = 0
    for j in range(k, len(toks)):
        t = toks[j][1]
        if t in "([{":
            depth += 1
        elif t in ")]}":
            depth -= 1
            if depth < 0:
                return None
        elif t == ";" and depth == 0:
            return j
    return None


def statement_mutants(code, toks):
    for k, (kind, text, start, end) in enumerate(toks):
        previous = toks[k - 1][1] if k > 0 else ";"
        if previous in (";", "{", "}") and kind == "id" and text not in ("return", "if", "for", "while", "else"):
            # A name, maybe qualified, then something that makes it an expression.
            j = k
            while j + 2 < len(toks) and toks[j + 1][1] == "::" and toks[j + 2][0] == "id":
                j += 2
            if j + 1 < len(toks) and toks[j + 1][1] in EXPRESSION_FOLLOWERS:
                last = statement_end(toks, k)
                if last is not None:
                    yield start, toks[last][3], ""
        elif text == "if" and k + 1 < len(toks) and toks[k + 1][1] == "(":
            depth, j = 0, k + 1
            while j < len(toks):
                depth += {"(": 1, ")": -1}.get(toks[j][1], 0)
                if depth == 0:
                    break
                j += 1
            if j + 1 < len(toks) and toks[j + 1][1] != "{":
                last = statement_end(toks, j + 1)
                if last is not None:
                    yield toks[j + 1][2], toks[last][3], "{}"


def mutants(text):
    code = mask_code(text)
    toks = tokens(code)
    found = list(operator_mutants(code, toks)) + list(statement_mutants(code, toks))
    found.sort(key=lambda m: (m[0], m[1], m[2]))
    return found


def apply(text, mutant):
    start, end, replacement = mutant
    # Keep the line numbers: a dropped statement keeps its line breaks.
    kept = "\n" * text[start:end].count("\n") if replacement in ("", "{}") else ""
    return text[:start] + replacement + kept + text[end:]


def line_of(text, offset):
    first = text.rfind("\n", 0, offset) + 1
    last = text.find("\n", offset)
    return text.count("\n", 0, offset) + 1, text[first : len(text) if last < 0 else last]


def main(argv):
    if len(argv) < 3 or argv[1] not in ("list", "apply") or (argv[1] == "apply") != (len(argv) == 4):
        sys.stderr.write(__doc__)
        return 2
    with open(argv[2], encoding="utf-8") as f:
        text = f.read()
    found = mutants(text)
    if argv[1] == "list":
        for number, mutant in enumerate(found, 1):
            line, before = line_of(text, mutant[0])
            _, after = line_of(apply(text, mutant), mutant[0])
            print(f"{number}\t{line}\t{before.strip()}\t{after.strip()}")
        return 0
    number = int(argv[3])
    if not 1 <= number <= len(found):
        sys.stderr.write(f"mutants.py: {argv[2]} has no mutant {number} (1..{len(found)})\n")
        return 2
    sys.stdout.write(apply(text, found[number - 1]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
