#!/usr/bin/env python3
"""make_ico.py OUT.ico PNG...: packs the program's icon PNGs, as they are, into one .ico.

Windows reads PNG-compressed icon images (since Vista) and scales the nearest one for the
sizes it lacks, so the PNGs the native build draws (48, 128 and 256 pixels) go in unchanged:
the same PNGs always make the same bytes, and no image tool is needed.
"""
import struct
import sys


def png_size(data, name):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        sys.exit(f"make_ico.py: {name} is not a PNG")
    return struct.unpack(">II", data[16:24])


def main(out, pngs):
    images = []
    for name in pngs:
        with open(name, "rb") as f:
            data = f.read()
        width, height = png_size(data, name)
        if width > 256 or height > 256:
            sys.exit(f"make_ico.py: {name} is larger than 256 pixels")
        images.append((width, height, data))
    images.sort(key=lambda image: image[0])
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, bodies = b"", b""
    for width, height, data in images:
        # A size of 256 is written 0; colour count 0, planes 1, 32 bits a pixel.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data),
                               offset)
        bodies += data
        offset += len(data)
    with open(out, "wb") as f:
        f.write(header + entries + bodies)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: make_ico.py OUT.ico PNG...")
    main(sys.argv[1], sys.argv[2:])
