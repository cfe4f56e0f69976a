#!/usr/bin/env python3
"""Seeded mutation check: do the tests notice small faults in src/?

Picks N mutants across src/ from a fixed seed (a flipped comparison or logic
operator, a constant or an off-by-one, a dropped statement, a changed message
text), applies each in turn, rebuilds what the mutant touches, runs the tests
of the mutated file's folder and reports killed / survived. A mutant that does
not compile counts as neither. The source tree is restored after every mutant,
also when the run is interrupted.
"""
import argparse
import json
import os
import random
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# Operators swapped only where they stand between blanks, which keeps template
# brackets, stream operators and pointers out of reach.
SWAPS = [(" == ", " != "), (" != ", " == "), (" <= ", " < "), (" >= ", " > "), (" < ", " <= "),
         (" > ", " >= "), (" && ", " || "), (" || ", " && ")]
WORDS = [("true", "false"), ("false", "true")]
NUMBER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
LITERAL = re.compile(r'"(?:[^"\\]|\\.)*"')
CALL = re.compile(r"^[A-Za-z_][\w:.\->\[\]]*\(.*\);$")
ASSIGN = re.compile(r"^[A-Za-z_][\w.\->\[\]]* (=|\+=|-=|\|=) .*;$")
SKIP_STATEMENT = ("return", "throw", "break", "continue", "case", "default", "using", "static_assert")


def masked(line):
    """The line with string literals blanked and any // comment dropped."""
    out = LITERAL.sub(lambda m: '"' + " " * (len(m.group()) - 2) + '"', line)
    cut = out.find("//")
    return out if cut < 0 else out[:cut]


def sites_in(path):
    rel = path.relative_to(ROOT).as_posix()
    sites = []
    in_block_comment = False
    previous = "{"
    for number, line in enumerate(path.read_text(encoding="utf-8", errors="surrogateescape").splitlines(), 1):
        stripped = line.strip()
        starts_statement = previous.endswith((";", "{", "}", ":")) or previous.startswith(("//", "#"))
        previous = stripped or previous
        if in_block_comment:
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        if not stripped or stripped.startswith(("#", "//", "namespace", "}")):
            continue
        code = masked(line)
        for old, new in SWAPS:
            for m in re.finditer(re.escape(old), code):
                sites.append((rel, number, m.start(), "operator", old, new))
        for old, new in WORDS:
            for m in re.finditer(r"\b%s\b" % old, code):
                sites.append((rel, number, m.start(), "constant", old, new))
        # A twip more or less in a layout call is no fault anyone could see.
        layout = any(call in code for call in ("Place(", "Move(", "Titled("))
        for m in ([] if layout else NUMBER.finditer(code)):
            value = int(m.group(1))
            sites.append((rel, number, m.start(), "constant", m.group(1), str(value + 1)))
        for m in LITERAL.finditer(line):
            text = m.group()
            if len(text) >= 12 and " " in text and m.start() < len(code) and code[m.start()] == '"':
                sites.append((rel, number, m.start(), "message", text, '"~' + text[1:]))
        if starts_statement and (CALL.match(stripped) or ASSIGN.match(stripped)) and \
                not stripped.startswith(SKIP_STATEMENT):
            sites.append((rel, number, 0, "statement", line, ""))
    return sites


def all_sites():
    sites = []
    for path in sorted((ROOT / "src").rglob("*.cpp")):
        sites.extend(sites_in(path))
    return sites


def apply(site):
    rel, number, column, kind, old, new = site
    path = ROOT / rel
    original = path.read_bytes()
    lines = original.decode("utf-8", errors="surrogateescape").split("\n")
    line = lines[number - 1]
    if kind == "statement":
        lines[number - 1] = ";  // mutant: statement dropped"
    else:
        assert line[column:column + len(old)] == old, (site, line)
        lines[number - 1] = line[:column] + new + line[column + len(old):]
    path.write_bytes("\n".join(lines).encode("utf-8", errors="surrogateescape"))
    return path, original


def line_of(site):
    text = (ROOT / site[0]).read_text(encoding="utf-8", errors="surrogateescape")
    return text.split("\n")[site[1] - 1]


def relocate(entry):
    """A saved mutant on the line with the same text nearest to where it was (the file may have grown)."""
    rel, number, column, kind, old, new, text = entry
    lines = (ROOT / rel).read_text(encoding="utf-8", errors="surrogateescape").split("\n")
    matches = [i + 1 for i, line in enumerate(lines) if line == text]
    if not matches:
        raise SystemExit("mutation-check: %s:%d no longer holds `%s`" % (rel, number, text.strip()))
    number = min(matches, key=lambda n: abs(n - number))
    return (rel, number, column, kind, old if kind != "statement" else lines[number - 1], new)


def describe(site):
    rel, number, _, kind, old, new = site
    if kind == "statement":
        return "%s:%d drop `%s`" % (rel, number, old.strip())
    return "%s:%d %s `%s` -> `%s`" % (rel, number, kind, old.strip(), new.strip())


def test_targets(folder):
    return sorted("%s_%s" % (folder, p.stem) for p in (ROOT / "tests" / folder).glob("*_test.cpp"))


def run(cmd, timeout):
    try:
        return subprocess.run(cmd, cwd=ROOT, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--seed", type=int, default=12)
    parser.add_argument("--count", type=int, default=60)
    parser.add_argument("--build-dir", default="build-mutation")
    parser.add_argument("--list", action="store_true", help="print the sample and stop")
    parser.add_argument("--save", help="write the sample to this JSON file")
    parser.add_argument("--replay", help="run the sample saved earlier, found again by its line's text")
    args = parser.parse_args()

    sites = all_sites()
    if args.replay:
        sample = [relocate(entry) for entry in json.loads(Path(args.replay).read_text())]
    else:
        sample = random.Random(args.seed).sample(sites, min(args.count, len(sites)))
        sample.sort(key=lambda s: (s[0], s[1], s[2]))
    if args.save:
        Path(args.save).write_text(json.dumps([list(site) + [line_of(site)] for site in sample], indent=1))
    if args.list:
        for site in sample:
            print(describe(site))
        return 0

    build = ROOT / args.build_dir
    if not (build / "CMakeCache.txt").exists():
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja",
                        "-DCMAKE_BUILD_TYPE=Release", "-DPV_BUILD_BENCH=OFF"], check=True)
    print("mutation-check: %d sites, seed %d, %d mutants; building the unmutated tree" %
          (len(sites), args.seed, len(sample)), flush=True)
    subprocess.run(["cmake", "--build", str(build), "-j", str(os.cpu_count() or 2)], check=True,
                   stdout=subprocess.DEVNULL)

    restore = {}

    def put_back(*_):
        for path, original in restore.items():
            path.write_bytes(original)
        restore.clear()

    def interrupted(signum, frame):
        put_back()
        sys.exit(130)

    signal.signal(signal.SIGINT, interrupted)
    signal.signal(signal.SIGTERM, interrupted)

    killed, survived, invalid = [], [], []
    started = time.time()
    try:
        for i, site in enumerate(sample, 1):
            folder = Path(site[0]).parts[1]
            targets = test_targets(folder)
            path, original = apply(site)
            restore[path] = original
            try:
                if not targets:
                    invalid.append(site)
                    verdict = "no tests"
                elif run(["cmake", "--build", str(build), "--target", *targets], 900) != 0:
                    invalid.append(site)
                    verdict = "does not build"
                elif run(["ctest", "--test-dir", str(build), "-L", "^%s$" % folder, "--timeout", "60",
                          "-j", str(os.cpu_count() or 2), "--stop-on-failure"], 1200) != 0:
                    killed.append(site)
                    verdict = "killed"
                else:
                    survived.append(site)
                    verdict = "SURVIVED"
            finally:
                put_back()
            print("[%d/%d] %-14s %s" % (i, len(sample), verdict, describe(site)), flush=True)
    finally:
        put_back()
        # The restored files are newer than their objects; the next build puts the tree right.
        subprocess.run(["cmake", "--build", str(build), "-j", str(os.cpu_count() or 2)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    counted = len(killed) + len(survived)
    rate = 100.0 * len(killed) / counted if counted else 0.0
    print("\nkilled %d, survived %d, not built %d: kill rate %.1f%% (%.0f s)" %
          (len(killed), len(survived), len(invalid), rate, time.time() - started))
    for site in survived:
        print("  survived: " + describe(site))
    return 0


if __name__ == "__main__":
    sys.exit(main())
