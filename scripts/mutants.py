#!/usr/bin/env python3
"""Plants small bugs in the program one at a time and runs the tests against each.

Usage: scripts/mutants.py [FILE ...] [--list] [--only N,M,...] [--sample N] [--out REPORT]

Each mutant is one change on one line: a comparison flipped or made strict, an arithmetic
operator swapped, a numeric constant nudged, a logical operator swapped, or a statement deleted.
A mutant that no longer compiles is not counted. A mutant is caught when a test that can catch it
fails (or hangs past the time limit): the unit tests, and for the table path the LibreOffice ones
too. The work is done on a copy of the tree in a scratch folder, built with the ci preset, so
that the tree itself is never changed. The files are those built for Linux, or those named;
--sample N takes N mutants at random (the same N each time).
"""
import argparse
import os
import pathlib
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
# Those that only the Windows build or the page compile are left to their own builds.
OTHER_SYSTEMS = {"main.cpp", "platform_win32.cpp", "text_encoding_win32.cpp",
                 "text_encoding_web.cpp", "text_encoding_whole.cpp"}
DEFAULT_FILES = sorted(p for folder in ["calc/src", "ui", "batch", "table"]
                       for p in (ROOT / folder).rglob("*.cpp") if p.name not in OTHER_SYSTEMS
                       and "fonts" not in p.parts)
# The tests that can catch a mutant of a folder's code, by their labels.
LABELS = {"calc": "unit", "ui": "unit", "batch": "unit|libreoffice", "table": "unit|libreoffice"}

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


def run(cmd, timeout, cwd=ROOT):
    """The command's status, -1 past the timeout. Whatever it started goes with it: a mutant that
    loops for ever in a program that a test started must not outlive the test."""
    with subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          start_new_session=True) as process:
        try:
            status = process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            status = -1
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait()
        return status


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("files", nargs="*")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--only")
    parser.add_argument("--sample", type=int)
    parser.add_argument("--out", default="-")
    args = parser.parse_args()
    files = [pathlib.Path(f).resolve() for f in args.files] or DEFAULT_FILES
    mutants = [m for f in files for m in mutants_of(f)]
    chosen = range(len(mutants)) if not args.only else [int(n) for n in args.only.split(",")]
    if args.sample:
        chosen = sorted(random.Random(20261208).sample(list(chosen), min(args.sample, len(chosen))))
    out = sys.stdout if args.out == "-" else open(args.out, "w", encoding="utf-8")
    if args.list:
        for number in chosen:
            path, index, original, variant = mutants[number]
            print(f"{number} {path.relative_to(ROOT)}:{index + 1}: {original.strip()} => "
                  f"{variant.strip() or '(deleted)'}")
        return
    scratch = pathlib.Path(tempfile.mkdtemp(prefix="tongqiu-mutants-"))
    try:
        tree = scratch / "tree"
        shutil.copytree(ROOT, tree, ignore=shutil.ignore_patterns("build", ".git"))
        build = tree / "build" / "ci"
        if run(["bash", "-c", "source scripts/common.sh && configure ci"], 600, tree) != 0 or \
                run(["cmake", "--build", build], 3600, tree) != 0:
            sys.exit("the copy of the tree does not build")
        counts = {"caught": 0, "missed": 0, "no build": 0}
        for number in chosen:
            path, index, original, variant = mutants[number]
            relative = path.relative_to(ROOT)
            where = (f"{number} {relative}:{index + 1}: {original.strip()} => "
                     f"{variant.strip() or '(deleted)'}")
            copy = tree / relative
            lines = copy.read_text(encoding="utf-8").splitlines(keepends=True)
            lines[index] = variant
            copy.write_text("".join(lines), encoding="utf-8")
            if run(["cmake", "--build", build], 600, tree) != 0:
                verdict = "no build"
            else:
                labels = LABELS[relative.parts[0]]
                failed = run(["ctest", "--test-dir", build, "-L", labels, "--stop-on-failure",
                              "-j2", "--timeout", "120"], 900, tree)
                verdict = "caught" if failed != 0 else "missed"
            lines[index] = original
            copy.write_text("".join(lines), encoding="utf-8")
            counts[verdict] += 1
            print(f"{verdict}: {where}", file=out, flush=True)
        print(f"caught {counts['caught']}, missed {counts['missed']}, "
              f"not built {counts['no build']}", file=out, flush=True)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
