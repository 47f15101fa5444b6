#!/usr/bin/env python3
"""zip_check.py ZIP STUDY_DIR: the zip holds the program folder as Windows users unpack it:
Vantle.exe, the word books of Study\\ exactly as the native build lays them out in STUDY_DIR,
the twenty pictures of Pic\\, the own book, the licences and 说明.txt, with its names marked
as UTF-8, and nothing else."""
import os
import sys
import zipfile

UTF8_FLAG = 0x800


def faults(zip_path, study_dir):
    found = []
    with zipfile.ZipFile(zip_path) as archive:
        infos = archive.infolist()
        names = {i.filename.rstrip("/") for i in infos if not i.is_dir()}
        for info in infos:
            if not info.filename.isascii() and not info.flag_bits & UTF8_FLAG:
                found.append("name not marked UTF-8: " + info.filename)
        notes = archive.read("说明.txt") if "说明.txt" in names else b""
    books = {"Study/" + name for name in os.listdir(study_dir)}
    if len(books) != 54:
        found.append("the native Study/ holds %d books, not 54" % len(books))
    wanted = books | {"Pic/%d.jpg" % n for n in range(20)} | {
        "Vantle.exe", "《My词库》.txt", "COPYING", "LICENSES/GPL-3.0-or-later.txt",
        "LICENSES/CC-BY-SA-4.0.txt", "说明.txt"}
    for name in sorted(wanted - names):
        found.append("missing " + name)
    for name in sorted(names - wanted):
        found.append("not wanted " + name)
    # Notepad shows it right in UTF-8 with its byte-order mark; lines end in CR LF.
    if not notes.startswith(b"\xef\xbb\xbf"):
        found.append("说明.txt has no UTF-8 byte-order mark")
    if notes.count(b"\n") != notes.count(b"\r\n"):
        found.append("说明.txt has lines that do not end in CR LF")
    if "%APPDATA%\\Vantle\\".encode() not in notes:
        found.append("说明.txt does not say where the learner's data is")
    return found


if __name__ == "__main__":
    found = faults(sys.argv[1], sys.argv[2])
    for fault in found:
        print("%s: %s" % (sys.argv[1], fault))
    sys.exit(1 if found else 0)
