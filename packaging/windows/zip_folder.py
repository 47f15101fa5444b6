#!/usr/bin/env python3
"""zip_folder.py FOLDER OUT.zip: zips what FOLDER holds, names relative to it. Chinese names
are stored in UTF-8 with the UTF-8 flag set (the flag Windows' own unpacker reads), in a fixed
order with one fixed time, so the same files always make the same zip."""
import os
import sys
import zipfile

STAMP = (2026, 1, 1, 0, 0, 0)


def main(folder, out):
    paths = []
    for top, dirs, files in os.walk(folder):
        dirs.sort()
        paths += [os.path.join(top, name) for name in sorted(files)]
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for path in paths:
            info = zipfile.ZipInfo(os.path.relpath(path, folder).replace(os.sep, "/"), STAMP)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(path, "rb") as f:
                archive.writestr(info, f.read())


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
