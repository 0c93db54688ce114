"""Installs the suite into a temporary prefix and checks what a desktop finds
there: exactly the programs, their menu entries and icons; valid desktop
files; icons of the right sizes; nothing that points back into the source or
build tree; each installed program, started from elsewhere as its menu entry
starts it, opens its window under its entry's name. Then ./run --uninstall
removes every installed file.

    install_test.py --build DIR --source DIR PROGRAM...
"""

import argparse
import os
import shutil
import struct
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "window"))
import cases  # noqa: E402
import harness  # noqa: E402
from harness import Failure, check  # noqa: E402

ICON_SIZES = (64, 256)


def expected_files(programs):
    files = set()
    for name in programs:
        files |= {"bin/" + name, "share/applications/%s.desktop" % name}
        files |= {"share/icons/hicolor/%dx%d/apps/%s.png" % (s, s, name) for s in ICON_SIZES}
    return files


def files_under(prefix):
    found = set()
    for top, _, names in os.walk(prefix):
        found |= {os.path.relpath(os.path.join(top, n), prefix) for n in names}
    return found


def install(build, prefix):
    """cmake --install into the prefix, leaving the build tree's manifest of
    an earlier install as it was (it tells what a real install put where)."""
    manifest = os.path.join(build, "install_manifest.txt")
    kept = open(manifest, "rb").read() if os.path.exists(manifest) else None
    try:
        harness.run(["cmake", "--install", build, "--prefix", prefix], timeout=120)
    finally:
        if kept is None:
            if os.path.exists(manifest):
                os.remove(manifest)
        else:
            with open(manifest, "wb") as f:
                f.write(kept)


def desktop_entry(path):
    """The keys of a desktop file's [Desktop Entry] group."""
    entry, group = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines():
            if line.startswith("["):
                group = line
            elif group == "[Desktop Entry]" and "=" in line and not line.startswith("#"):
                key, value = line.split("=", 1)
                entry[key.strip()] = value.strip()
    return entry


def png_size(path):
    """(width, height) from a PNG's signature and IHDR chunk."""
    with open(path, "rb") as f:
        head = f.read(24)
    check(len(head) == 24 and head[:8] == b"\x89PNG\r\n\x1a\n" and head[12:16] == b"IHDR",
          "%s is not a PNG" % path)
    return struct.unpack(">II", head[16:24])


def check_files(prefix, programs, build, source):
    found, expected = files_under(prefix), expected_files(programs)
    check(found == expected, "installed files: missing %s, unexpected %s"
          % (sorted(expected - found), sorted(found - expected)))
    tree_paths = {os.path.realpath(build).encode(), os.path.realpath(source).encode()}
    for name in sorted(found):
        with open(os.path.join(prefix, name), "rb") as f:
            data = f.read()
        baked = [p.decode() for p in tree_paths if p in data]
        check(not baked, "%s holds the path %s" % (name, ", ".join(baked)))
    for name in programs:
        check(os.access(os.path.join(prefix, "bin", name), os.X_OK), "bin/%s is not executable" % name)
        for size in ICON_SIZES:
            icon = os.path.join(prefix, "share/icons/hicolor/%dx%d/apps/%s.png" % (size, size, name))
            check(png_size(icon) == (size, size),
                  "the %d-pixel icon of %s is %dx%d" % (size, name, *png_size(icon)))


def check_entries(prefix, programs):
    """Validates each desktop file; returns each program's entry."""
    entries = {}
    for name in programs:
        path = os.path.join(prefix, "share/applications/%s.desktop" % name)
        # Its one hint, two main categories, is taken: Education and Science
        # both, as other science teaching programs are listed.
        done = harness.run(["desktop-file-validate", "--no-hints", path], check_status=False)
        said = (done.stdout + done.stderr).decode(errors="replace").strip()
        check(done.returncode == 0 and not said, "desktop-file-validate %s: %s" % (name, said))
        entry = desktop_entry(path)
        wanted = {"Type": "Application", "Exec": name, "Icon": name, "Terminal": "false",
                  "Categories": "Education;Science;"}
        wrong = {k: entry.get(k) for k, v in wanted.items() if entry.get(k) != v}
        check(not wrong, "%s.desktop has %s" % (name, wrong))
        check(entry.get("Name") and entry.get("Comment"), "%s.desktop lacks a Name or Comment" % name)
        entries[name] = entry
    return entries


def shows_a_drawing(app, timeout=3.0):
    """Whether the window shows more than one colour within `timeout` s."""
    deadline = time.monotonic() + timeout
    while True:
        rgb = app.capture().rgb
        if len({rgb[i:i + 3] for i in range(0, len(rgb), 3)}) > 1:
            return True
        if time.monotonic() > deadline:
            return False
        time.sleep(0.1)


def check_programs_start(prefix, entries, out_dir):
    """Each program, found through its entry's Exec on a PATH that leads to
    the prefix, starts in a directory of its own and shows a window titled
    with the entry's Name; its end key ends it cleanly."""
    elsewhere = tempfile.mkdtemp(prefix="elsewhere-", dir=out_dir)
    os.chdir(elsewhere)
    with harness.Xvfb(log_dir=out_dir) as xvfb:
        xvfb.env["PATH"] = os.path.join(prefix, "bin") + os.pathsep + xvfb.env.get("PATH", "")
        for name, entry in entries.items():
            binary = shutil.which(entry["Exec"], path=xvfb.env["PATH"])
            check(binary == os.path.join(prefix, "bin", name), "%s runs %s" % (entry["Exec"], binary))
            app = harness.Program(xvfb, binary, entry["Name"])
            check(app.name() == entry["Name"], "%s's window is titled %r" % (name, app.name()))
            check(shows_a_drawing(app), "%s's window shows one colour only" % name)
            app.keys(cases.PROGRAMS[name][2])
            status = app.wait_exit(3)
            check(status == 0, "%s ended with status %d: %s" % (name, status, app.stderr()))
    os.chdir(out_dir)
    check(not os.listdir(elsewhere), "the programs left files in their working directory: %s"
          % os.listdir(elsewhere))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    out_dir = tempfile.mkdtemp(prefix="install-test-")
    prefix = os.path.join(out_dir, "prefix")
    try:
        install(args.build, prefix)
        check_files(prefix, args.programs, args.build, args.source)
        entries = check_entries(prefix, args.programs)
        check_programs_start(prefix, entries, out_dir)
        harness.run([os.path.join(args.source, "run"), "--uninstall", prefix], timeout=30)
        left = files_under(prefix)
        check(not left, "./run --uninstall left %s" % sorted(left))
    except Failure as failure:
        print("FAILED: %s (files in %s)" % (failure, out_dir))
        return 1
    shutil.rmtree(out_dir)
    print("passed: installed, validated, started and uninstalled %s" % " ".join(args.programs))
    return 0


if __name__ == "__main__":
    sys.exit(main())
