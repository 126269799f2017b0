#!/usr/bin/env python3
"""Renders the installer's pictures from their SVG sources and writes the
resource script that compiles them in as RT_RCDATA.

    make_pictures.py SOURCES_DIR OUT_DIR RC_FILE

Each picture is drawn by rsvg-convert at its scale, cut out when it is a
piece of a larger picture, then stored as optimised PNG (no metadata
chunks) or as JPEG with fixed encoder settings: the same sources give the
same bytes on every machine and in every build directory.
"""

import concurrent.futures
import os
import struct
import subprocess
import sys


def run(*command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)


def image_size(path):
    """Width and height from a PNG's IHDR or a JPEG's first SOF marker."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        return struct.unpack(">II", data[16:24])
    pos = 2
    while pos + 9 < len(data):
        marker, length = data[pos + 1], struct.unpack(">H", data[pos + 2:pos + 4])[0]
        if 0xC0 <= marker <= 0xC3:
            height, width = struct.unpack(">HH", data[pos + 5:pos + 9])
            return width, height
        pos += 2 + length
    raise ValueError("%s: no picture size found" % path)


def render(picture, work, out_dir):
    """Makes one picture file and checks its size."""
    svg = picture.svg()
    base = os.path.join(work, "%d" % picture.ident)
    with open(base + ".svg", "w", encoding="utf-8") as f:
        f.write(svg)
    full = base + "-full.png"
    run("rsvg-convert", "--zoom", str(picture.scale), "-o", full, base + ".svg")
    drawn = full
    if picture.crop:
        s = picture.scale
        x, y = picture.crop
        drawn = base + "-piece.png"
        run("convert", full, "-crop", "%dx%d+%d+%d" % (picture.width * s, picture.height * s,
                                                       x * s, y * s),
            "+repage", "-strip", "-define", "png:exclude-chunks=date,time", "PNG32:" + drawn)
    out = os.path.join(out_dir, "%d.%s" % (picture.ident, picture.fmt))
    if picture.fmt == "jpg":
        run("convert", drawn, "-background", "white", "-flatten", "-strip",
            "-sampling-factor", "2x2", "-quality", "85", "-interlace", "none",
            "-define", "jpeg:dct-method=integer", out)
    else:
        if os.path.exists(out):
            os.remove(out)
        run("optipng", "-quiet", "-o2", "-strip", "all", "-out", out, drawn)
    expected = (picture.width * picture.scale, picture.height * picture.scale)
    if image_size(out) != expected:
        raise ValueError("picture %d is %s, not %s" % (picture.ident, image_size(out), expected))
    return picture.ident, out


def main():
    sources, out_dir, rc_file = sys.argv[1:4]
    sys.path.insert(0, os.path.abspath(sources))
    sys.dont_write_bytecode = True  # the build leaves the source tree as it was
    import catalogue

    pictures = catalogue.pictures()
    idents = [p.ident for p in pictures]
    duplicates = sorted({i for i in idents if idents.count(i) > 1})
    if duplicates:
        sys.exit("make_pictures: ids given twice: %s" % duplicates)
    work = os.path.join(out_dir, "work")
    os.makedirs(work, exist_ok=True)
    # Two workers: the build machines are small and shared.
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        done = list(pool.map(lambda p: render(p, work, out_dir), pictures))
    lines = ["// Pictures of the installer window, made at build time from resources/images.",
             "#pragma code_page(65001)", ""]
    for ident, path in sorted(done):
        lines.append('%d RCDATA "%s"' % (ident, path))
    with open(rc_file, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
