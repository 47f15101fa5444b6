#!/usr/bin/env python3
"""The tree's one naming convention, checked.

usage: check_names.py ROOT BUILD [FILE...]

clang-tidy's readability-identifier-naming, as ROOT/.clang-tidy sets it (types and functions
PascalCase, variables snake_case, private and protected members snake_case_, constants kName),
and its readability-function-size (no function over 60 lines) run over every C++ file of
ROOT/src and ROOT/tools that BUILD's compile_commands.json holds,
or over the FILEs given; and no identifier anywhere in src/, tools/, tests/, bench/ or fuzz/
is a form designer's name (Form1, Command3, List2, Text1, Timer1, Label2, ...), the names the
program's windows and controls had before they were named for what they are. Exits 1 naming
every fault.
"""
import json
import os
import re
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

DESIGNER_NAME = re.compile(r"\b(Form[0-9]+|Command[0-9]+(?:_[0-9]+)?|List[0-9]+|Text[0-9]+|"
                           r"Timer[0-9]+|Label[0-9]+)\b")
# Texts and comments may name them (the dictionary's query box starts out holding "Text1").
STRING_OR_COMMENT = re.compile(r'"""(?:.|\n)*?"""|"(?:\\.|[^"\\\n])*"|//[^\n]*|/\*.*?\*/|#[^\n]*$',
                               re.DOTALL | re.MULTILINE)
SOURCES = (".cpp", ".h", ".py", ".sh")


def designer_names(root):
    faults = []
    for top in ("src", "tools", "tests", "bench", "fuzz"):
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in files:
                if not name.endswith(SOURCES):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    text = f.read()
                # Comments of Python and shell start with '#'; in C++ that is a directive,
                # which names no identifier of ours either.
                code = STRING_OR_COMMENT.sub(lambda m: "\n" * m.group(0).count("\n"), text)
                for number, line in enumerate(code.split("\n"), 1):
                    for match in DESIGNER_NAME.finditer(line):
                        faults.append(f"{os.path.relpath(path, root)}:{number}: "
                                      f"{match.group(1)} is a form designer's name")
    return faults


def tidy(root, build, files):
    tool = os.environ.get("CLANG_TIDY", "clang-tidy")
    header_filter = "^" + re.escape(os.path.realpath(root)) + "/(src|tools)/"

    def run(path):
        result = subprocess.run([tool, "-p", build, "--quiet", "--header-filter", header_filter,
                                 path], capture_output=True, text=True)
        lines = [l for l in result.stdout.splitlines()
                 if "readability-identifier-naming" in l or "readability-function-size" in l]
        return result.returncode, lines

    faults = set()
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for code, lines in pool.map(run, files):
            faults.update(lines)
            if code != 0 and not lines:
                faults.add("clang-tidy failed without naming a fault")
    return sorted(faults)


def main():
    root, build = os.path.realpath(sys.argv[1]), sys.argv[2]
    files = sys.argv[3:]
    if not files:
        with open(os.path.join(build, "compile_commands.json")) as f:
            commands = json.load(f)
        ours = [os.path.join(root, "src") + "/", os.path.join(root, "tools") + "/"]
        files = sorted({c["file"] for c in commands
                        if any(c["file"].startswith(top) for top in ours)})
    faults = tidy(root, build, files) + designer_names(root)
    for fault in faults:
        print(fault)
    print(f"{len(files)} files checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
