#!/usr/bin/env python3
"""Plants small bugs in the program one at a time and runs the tests against each.

Usage: scripts/mutants.py [FILE|FOLDER ...] [--list] [--only N,M,...] [--sample N [--seed S]]
                          [--out REPORT]

Each mutant is one change on one line: a comparison flipped or made strict, an arithmetic
operator swapped, a numeric constant nudged, a logical operator swapped, or a statement deleted.
A mutant that no longer compiles is not counted. A mutant is caught when a test that can catch it
fails (or hangs past the time limit): the unit tests, and for the table path the LibreOffice ones
too. The work is done on a copy of the tree in a scratch folder, built with the ci preset, so
that the tree itself is never changed. The files are those built for Linux, or those named (a
folder names its files); --sample N takes N mutants at random, a new draw each run unless --seed
gives the seed of an earlier one, which the report prints.

Each mutant that gets through is classed: "other build" where only the Windows build or the page
compiles its line, "harmless" where scripts/mutants-harmless.tsv says why no user can tell it
apart (or, where its reason says "other build:", which build catches it), and "gap" for the rest,
the ones a test should catch. The score is caught over caught and
gaps.
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
# Those that only the Windows build or the page compile: not built here, their mutants classed so.
OTHER_SYSTEMS = {"main.cpp", "platform_win32.cpp", "text_encoding_win32.cpp",
                 "text_encoding_web.cpp", "text_encoding_whole.cpp", "output_file_web.cpp"}
SOURCES = sorted(p for folder in ["calc/src", "ui", "batch", "table"]
                 for p in (ROOT / folder).rglob("*.cpp") if "fonts" not in p.parts)
DEFAULT_FILES = [p for p in SOURCES if p.name not in OTHER_SYSTEMS]
# The tests that can catch a mutant of a folder's code, by their labels.
LABELS = {"calc": "unit", "ui": "unit", "batch": "unit|libreoffice", "table": "unit|libreoffice"}
# Mutants looked at and found harmless: file, the line as it was, the line as mutated (both
# stripped), and why; tab-separated.
HARMLESS = ROOT / "scripts" / "mutants-harmless.tsv"
# A line within these is compiled only for Windows or for the page.
OTHER_SYSTEM_BLOCK = re.compile(r"^\s*#\s*if(def)?\b.*(_WIN32|__EMSCRIPTEN__)")

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
    """The mutants of a file: its path, the line's index, the line as it was and as mutated, and
    whether only another system's build compiles the line."""
    lines = path.read_text(encoding="utf-8").splitlines(keepends=True)
    elsewhere = other_system_lines(path)
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
            found.append((path, index, line, variant if variant.strip() else "\n",
                          path.name in OTHER_SYSTEMS or index in elsewhere))
    return found


def other_system_lines(path):
    """The lines (from 0) that only another system's build compiles: those between an #if on
    _WIN32 or __EMSCRIPTEN__ and its #else or #endif."""
    inside, depth, found = False, 0, set()
    for index, line in enumerate(path.read_text(encoding="utf-8").splitlines()):
        directive = line.strip()
        if not inside and OTHER_SYSTEM_BLOCK.match(line):
            inside, depth = True, 0
            continue
        if inside:
            if directive.startswith("#if"):
                depth += 1
            elif depth == 0 and directive.startswith(("#else", "#elif", "#endif")):
                inside = False
                continue
            elif directive.startswith("#endif"):
                depth -= 1
            found.add(index)
    return found


def harmless_reasons():
    reasons = {}
    if HARMLESS.exists():
        for line in HARMLESS.read_text(encoding="utf-8").splitlines():
            if line.strip() and not line.startswith("#"):
                file, original, variant, why = line.split("\t")
                reasons[(file, original, variant)] = why
    return reasons


def survivor_class(mutant, reasons):
    """"other build", "harmless: WHY" or "gap"."""
    path, index, original, variant, elsewhere = mutant
    if elsewhere:
        return "other build"
    key = (str(path.relative_to(ROOT)), original.strip(), variant.strip())
    if key not in reasons:
        return "gap"
    # A reason that starts "other build:" names the build that catches it (the sanitizers').
    why = reasons[key]
    return why if why.startswith("other build:") else f"harmless: {why}"


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
    parser.add_argument("--seed", type=int)
    parser.add_argument("--out", default="-")
    args = parser.parse_args()
    named = [pathlib.Path(f).resolve() for f in args.files]
    # A folder named gives all its files, those that only other systems build too.
    files = [p for p in SOURCES if any(p == f or f in p.parents for f in named)] \
        if named else DEFAULT_FILES
    mutants = [m for f in files for m in mutants_of(f)]
    chosen = range(len(mutants)) if not args.only else [int(n) for n in args.only.split(",")]
    out = sys.stdout if args.out == "-" else open(args.out, "w", encoding="utf-8")
    if args.sample:
        seed = args.seed if args.seed is not None else random.SystemRandom().randrange(10 ** 6)
        chosen = sorted(random.Random(seed).sample(list(chosen), min(args.sample, len(chosen))))
        print(f"seed {seed}: {len(chosen)} of {len(mutants)} mutants", file=out, flush=True)
    if args.list:
        for number in chosen:
            path, index, original, variant, _ = mutants[number]
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
        counts = {"caught": 0, "gap": 0, "harmless": 0, "other build": 0, "no build": 0}
        reasons = harmless_reasons()
        for number in chosen:
            path, index, original, variant, _ = mutants[number]
            relative = path.relative_to(ROOT)
            where = (f"{number} {relative}:{index + 1}: {original.strip()} => "
                     f"{variant.strip() or '(deleted)'}")
            if path.name in OTHER_SYSTEMS:  # the Linux build does not compile it
                counts["other build"] += 1
                print(f"other build: {where}", file=out, flush=True)
                continue
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
                verdict = "caught" if failed != 0 else survivor_class(mutants[number], reasons)
            lines[index] = original
            copy.write_text("".join(lines), encoding="utf-8")
            counts[verdict.split(":")[0]] += 1
            print(f"{verdict}: {where}", file=out, flush=True)
        catchable = counts["caught"] + counts["gap"]
        score = f"{100 * counts['caught'] / catchable:.0f} %" if catchable else "-"
        print(f"caught {counts['caught']}, gaps {counts['gap']}, harmless {counts['harmless']}, "
              f"other build {counts['other build']}, not built {counts['no build']}; "
              f"score {score}", file=out, flush=True)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
