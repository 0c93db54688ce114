#!/usr/bin/env python3
"""A full run of each program, as built with SANITIZE=ON, in a real window on
a private Xvfb: real keys through every screen, ESC (or any key) to end, and
LeakSanitizer's report at the exit, which must be empty.

  window_leaks.py --bin DIR --suppressions FILE

The one leak that is left out (FILE) lies inside libdbus, which SDL starts
for its input methods and never shuts down: a single block allocated once.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "window"))
import harness  # noqa: E402

RUNS = [
    ("cab_lift", "DISPOZITIV DE RIDICAT CABINA EXCAVATORULUI",
     "p p o m n e r g p d 1 c f s t F1 x ESC F1 x a CLOSE ESC"),
    ("backhoe", "FUNCTIONAREA EXCAVATORULUI CU LINGURA INTOARSA",
     "p o l k m n t 1 c d s t F1 x ESC F2 x a CLOSE ESC"),
    ("loco_drive", "ANGRENAJE LOCOMOTIVA",
     "p o d f g y x z b q w 1 c d s t F1 x ESC F1 x F2 x a CLOSE ESC"),
    ("gear_train", "ANGRENAJ DINTAT CU DINTI IN NUMAR PAR", "a a z CLOSE ESC"),
    ("ic_engine", "MOTOR CU ARDERE INTERNA", "F1"),
    ("jointed_arm", "BRAT ARTICULAT", "CLOSE"),
]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--suppressions", required=True)
    options = parser.parse_args()
    failures = []
    with harness.Xvfb() as xvfb:
        xvfb.env["ASAN_OPTIONS"] = "detect_leaks=1"
        xvfb.env["LSAN_OPTIONS"] = "suppressions=" + os.path.abspath(options.suppressions)
        for number, (name, title, keys) in enumerate(RUNS):
            try:
                program = harness.Program(xvfb, os.path.join(options.bin, name), title,
                                          close_tool=os.path.join(options.bin, "wm_close"))
                # A place the pointer has not been yet: the move must happen.
                program.move_mouse(100 + 37 * number, 80 + 23 * number)
                program.key_tokens(keys)
                status = program.wait_exit(30)
                report = program.stderr()
                harness.check(status == 0 and "Sanitizer" not in report,
                              "%s ended with status %d: %s" % (name, status, report))
                print("%s: no leak" % name)
            except harness.Failure as failure:
                failures.append(str(failure))
    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
