"""Writes the static site of the browser build: a page per program from
program.html, the programs' .js and .wasm beside it, and index.html with a
picture of each program's first screen drawn by the native snapshot tool,
which also tells each program's window title (from its trace).

    make_site.py --programs DIR --snapshot TOOL --templates DIR --out DIR PROGRAM...
"""

import argparse
import html
import os
import re
import shutil
import struct
import subprocess
import tempfile


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        raise SystemExit("make_site: %s is no PNG" % path)
    return struct.unpack(">II", header[16:24])


def first_picture(snapshot, program, out_dir):
    """Draws the program's first screen; returns its title and size."""
    picture = os.path.join(out_dir, program + ".png")
    with tempfile.TemporaryDirectory() as scratch:
        trace = os.path.join(scratch, "trace.txt")
        subprocess.run([snapshot, program, "--trace", trace, "-o", picture], check=True)
        with open(trace, encoding="latin-1") as f:
            calls = f.read()
    found = re.search(r'^InitGraph\(-?\d+, -?\d+, "(.*)"\)$', calls, re.MULTILINE)
    if not found:
        raise SystemExit("make_site: %s opened no window in its trace" % program)
    return found.group(1), png_size(picture)


def fill(template, values):
    for name, value in values.items():
        template = template.replace("@%s@" % name, value)
    return template


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--programs", required=True, help="folder of PROGRAM.js and PROGRAM.wasm")
    parser.add_argument("--snapshot", required=True, help="the native snapshot tool")
    parser.add_argument("--templates", required=True, help="the folder of this script")
    parser.add_argument("--out", required=True)
    parser.add_argument("program", nargs="+")
    args = parser.parse_args()

    os.makedirs(args.out, exist_ok=True)
    with open(os.path.join(args.templates, "program.html"), encoding="utf-8") as f:
        page = f.read()
    with open(os.path.join(args.templates, "index.html"), encoding="utf-8") as f:
        index = f.read()
    for name in ("page.js", "style.css"):
        shutil.copyfile(os.path.join(args.templates, name), os.path.join(args.out, name))

    entries = []
    for program in args.program:
        for suffix in (".js", ".wasm"):
            shutil.copyfile(os.path.join(args.programs, program + suffix),
                            os.path.join(args.out, program + suffix))
        title, (width, height) = first_picture(args.snapshot, program, args.out)
        title = html.escape(title)
        with open(os.path.join(args.out, program + ".html"), "w", encoding="utf-8") as f:
            f.write(fill(page, {"TITLE": title, "PROGRAM": program,
                                "WIDTH": str(width), "HEIGHT": str(height)}))
        entries.append('<li><a href="%s.html"><img src="%s.png" alt="%s">%s<br><code>%s</code></a></li>'
                       % (program, program, title, title, program))
    with open(os.path.join(args.out, "index.html"), "w", encoding="utf-8") as f:
        f.write(fill(index, {"PROGRAMS": "\n".join(entries)}))


if __name__ == "__main__":
    main()
