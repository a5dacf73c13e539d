#!/usr/bin/env python3
"""Plants small bugs in the program one at a time and runs the tests against each.

Usage: scripts/mutants.py BUILD_DIR [FILE ...] [--list] [--only N,M,...] [--out REPORT]

Each mutant is one change on one line: a comparison flipped or made strict, an arithmetic
operator swapped, a numeric constant nudged, a logical operator swapped, or a statement deleted.
A mutant that no longer compiles is not counted. A mutant is caught when any test fails (or hangs
past the time limit). BUILD_DIR must be a configured build of this tree; it is rebuilt after each
change and the file is restored afterwards, also when the script is interrupted.
"""
import argparse
import pathlib
import re
import signal
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_FILES = sorted(
    [p for p in (ROOT / "calc" / "src").glob("*.cpp")]
    + [p for p in (ROOT / "ui").glob("*.cpp") if p.name != "main.cpp"]
    + [p for p in (ROOT / "batch").glob("*.cpp") if p.name != "main.cpp"]
)

SWAPS = [
    (r" <= ", " < "), (r" < ", " <= "), (r" >= ", " > "), (r" > ", " >= "),
    (r"==", "!="), (r"!=", "=="), (r"&&", "||"), (r"\|\|", "&&"),
    (r"(?<=\s)\+(?=\s)", "-"), (r"(?<=\s)-(?=\s)", "+"), (r"(?<=\s)\*(?=\s)", "/"),
    (r"\btrue\b", "false"), (r"\bfalse\b", "true"),
]
NUMBER = re.compile(r"(?<![\w.])(\d+\.\d+|\d+)(?![\w.])")
SKIP = re.compile(r"^\s*(#|//|\*|/\*)|\bstatic_assert\b|\binclude\b")
# Statements worth deleting: calls and assignments, not declarations or control flow.
STATEMENT = re.compile(r"^\s*(?!return\b|if\b|for\b|while\b|const\b|auto\b|throw\b|case\b|break\b)"
                       r"[\w:>.\-\[\]()*]+(\(|\s*[-+*/]?=\s).*;\s*$")


def nudge(number):
    if "." in number:
        places = len(number.split(".")[1])
        return f"{float(number) + 10 ** -places:.{places}f}"
    return str(int(number) + 1)


def mutants_of(path):
    lines = path.read_text(encoding="utf-8").splitlines(keepends=True)
    found = []
    for index, line in enumerate(lines):
        code = line.split("//")[0]
        if SKIP.search(line) or '"' in code and "'" not in code and NUMBER.search(code) is None:
            continue
        variants = set()
        for pattern, replacement in SWAPS:
            for match in re.finditer(pattern, code):
                variants.add(code[: match.start()] + replacement + code[match.end():])
        for match in NUMBER.finditer(code):
            variants.add(code[: match.start()] + nudge(match.group(1)) + code[match.end():])
        if STATEMENT.match(code):
            variants.add("\n")
        for variant in sorted(variants):
            if not variant.endswith("\n"):
                variant += "\n"
            found.append((path, index, line, variant if variant.strip() else "\n"))
    return found


def run(cmd, timeout):
    try:
        return subprocess.run(cmd, cwd=ROOT, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("files", nargs="*")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--only")
    parser.add_argument("--out", default="-")
    args = parser.parse_args()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))  # so that the file is restored
    files = [pathlib.Path(f).resolve() for f in args.files] or DEFAULT_FILES
    mutants = [m for f in files for m in mutants_of(f)]
    chosen = range(len(mutants)) if not args.only else [int(n) for n in args.only.split(",")]
    out = sys.stdout if args.out == "-" else open(args.out, "w", encoding="utf-8")
    counts = {"caught": 0, "missed": 0, "no build": 0}
    for number in chosen:
        path, index, original, variant = mutants[number]
        where = f"{number} {path.relative_to(ROOT)}:{index + 1}: {original.strip()} => {variant.strip() or '(deleted)'}"
        if args.list:
            print(where)
            continue
        lines = path.read_text(encoding="utf-8").splitlines(keepends=True)
        lines[index] = variant
        path.write_text("".join(lines), encoding="utf-8")
        try:
            if run(["cmake", "--build", args.build], 600) != 0:
                verdict = "no build"
            else:
                failed = run(["ctest", "--test-dir", args.build, "--stop-on-failure", "-j2",
                              "--timeout", "120"], 900)
                verdict = "caught" if failed != 0 else "missed"
        finally:
            lines[index] = original
            path.write_text("".join(lines), encoding="utf-8")
        counts[verdict] += 1
        print(f"{verdict}: {where}", file=out, flush=True)
    if not args.list:
        print(f"caught {counts['caught']}, missed {counts['missed']}, "
              f"not built {counts['no build']}", file=out, flush=True)
        run(["cmake", "--build", args.build], 600)


if __name__ == "__main__":
    main()
