#!/usr/bin/env python3
"""The naming check on a small made-up tree: it passes a sound one and names every fault.

usage: check_test.py CHECK CLANG_TIDY_CONFIG WORK
"""
import json
import os
import shutil
import subprocess
import sys

check, config, work = sys.argv[1:4]

SOUND = """\
namespace books {
inline constexpr int kGroupSize = 18;
struct Word { int word_count = 0; };
class Loader {
 public:
  int Count() const { return count_; }
 private:
  int count_ = 0;
};
}  // namespace books
"""
# Each fault, and the name the check must give for it.
FAULTS = [
    ("struct Book { int WordCount = 0; };", "WordCount"),
    ("class Timer { int ticks = 0; };", "ticks"),
    ("inline constexpr int group_size = 18;", "group_size"),
    ("void load_book();", "load_book"),
    ("int LongCount() {\n  int n = 0;\n" + "  ++n;\n" * 60 + "  return n;\n}", "LongCount"),
]


def run(name, source, old_script=""):
    root = os.path.join(work, name)
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(os.path.join(root, "src", "books"))
    os.makedirs(os.path.join(root, "tests"))
    os.makedirs(os.path.join(root, "build"))
    shutil.copy(config, os.path.join(root, ".clang-tidy"))
    path = os.path.join(root, "src", "books", "book.cpp")
    with open(path, "w") as f:
        f.write(source)
    with open(os.path.join(root, "tests", "old.py"), "w") as f:
        f.write(old_script)
    with open(os.path.join(root, "build", "compile_commands.json"), "w") as f:
        json.dump([{"directory": root, "file": path,
                    "command": f"c++ -std=c++20 -c {path}"}], f)
    result = subprocess.run([sys.executable, check, root, os.path.join(root, "build")],
                            capture_output=True, text=True)
    return result.returncode, result.stdout


failures = []
status, out = run("sound", SOUND, 'query = "Text1"  # a text may say Label1\n')
if status != 0:
    failures.append(f"a sound tree failed:\n{out}")
for number, (line, name) in enumerate(FAULTS):
    status, out = run(f"fault{number}", SOUND + line + "\n")
    if status == 0 or name not in out:
        failures.append(f"not named: {name} in `{line}`:\n{out}")
status, out = run("designer", SOUND, "Command3 = button\n")
if status == 0 or "Command3" not in out:
    failures.append(f"a form designer's name passed:\n{out}")
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
