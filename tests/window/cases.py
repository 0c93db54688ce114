"""The real-window test cases, one ctest test each.

    cases.py --list                         the case names, one a line
    cases.py --bin DIR --out DIR CASE       runs one case: exit 0 when it passes

DIR of --bin holds the built programs and tools (keyprobe, wm_close,
frame_search, snapshot); --out receives logs and, on a failure, the window's
and the headless pictures.
"""

import argparse
import os
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import Failure, Program, Xvfb, check  # noqa: E402

# Each program: window title, client area, the key that ends it, and whether
# the close box ends it (None: not tried; in a key-driven program the close
# box's codes 0, 107 act like the key k).
PROGRAMS = {
    "cab_lift": ("DISPOZITIV DE RIDICAT CABINA EXCAVATORULUI", (640, 480), "Escape", None),
    "backhoe": ("FUNCTIONAREA EXCAVATORULUI CU LINGURA INTOARSA", (640, 480), "Escape", None),
    "ic_engine": ("MOTOR CU ARDERE INTERNA", (800, 600), "F1", True),
    "loco_drive": ("ANGRENAJE LOCOMOTIVA", (800, 600), "Escape", None),
    "jointed_arm": ("BRAT ARTICULAT", (800, 600), "x", True),
    "gear_train": ("ANGRENAJ DINTAT CU DINTI IN NUMAR PAR", (800, 600), "Escape", False),
}

# Real keys and the codes ReadKey must return for them, in order. The keypad
# starts with NumLock off.
PROBE_KEYS = [
    ("F1", [0, 59]), ("shift+F1", [0, 84]), ("ctrl+F1", [0, 94]), ("alt+F1", [0, 104]),
    ("alt+F4", [0, 107]), ("F11", [0, 133]), ("ctrl+F12", [0, 138]), ("shift+ctrl+F2", [0, 85]),
    ("ctrl+Right", [0, 116]), ("alt+Left", [0, 155]), ("shift+Home", [0, 71]), ("Delete", [0, 83]),
    ("a", [97]), ("A", [65]), ("shift+a", [65]), ("alt+a", [0, 30]), ("ctrl+a", [1]),
    ("ctrl+z", [26]), ("1", [49]), ("ctrl+1", [0, 1]), ("alt+0", [0, 129]),
    ("ctrl+alt+2", [0, 2, 0, 121]),
    ("Tab", [9]), ("ctrl+Tab", [30]), ("Return", [13]), ("KP_Enter", [13]),
    ("alt+Return", [0, 166]), ("BackSpace", [8]), ("space", [32]), ("alt+space", [0, 11]),
    ("Escape", [27]), ("semicolon", [59]), ("colon", [58]), ("ctrl+semicolon", []),
    ("KP_Multiply", [42]), ("ctrl+KP_Multiply", [0, 149]), ("alt+KP_Subtract", [0, 74]),
    ("KP_Home", [0, 71]), ("KP_Begin", [0, 76]), ("ctrl+KP_Up", [0, 141]),
    ("KP_Insert", [0, 82]), ("KP_Delete", [0, 83]),
    ("Pause", [0, 12]), ("Menu", [0, 151]),
    ("Shift_L", []), ("Control_L", []), ("Alt_L", []),
    # NumLock on: the keypad types its digits and its decimal point.
    ("Num_Lock", []), ("KP_End", [49]), ("KP_Delete", [46]), ("Num_Lock", []),
    ("KP_End", [0, 79]),
]
PROBE_MARKER = ("F10", [0, 68])


def split_keys(codes):
    """Codes as keys: a 0 takes the code after it."""
    keys, i = [], 0
    while i < len(codes):
        width = 2 if codes[i] == 0 and i + 1 < len(codes) else 1
        keys.append(codes[i:i + width])
        i += width
    return keys


def groups_between_markers(codes):
    groups, current = [], []
    for key in split_keys(codes):
        if key == PROBE_MARKER[1]:
            groups.append(current)
            current = []
        else:
            current += key
    return groups, current


class Case:
    def __init__(self, bin_dir, out_dir):
        self.bin_dir, self.out_dir = bin_dir, out_dir

    def tool(self, name):
        return os.path.join(self.bin_dir, name)

    def xvfb(self, **size):
        return Xvfb(log_dir=self.out_dir, **size)

    def start(self, xvfb, program, args=()):
        title = PROGRAMS[program][0] if program in PROGRAMS else "KEYPROBE"
        return Program(xvfb, self.tool(program), title, args, close_tool=self.tool("wm_close"))

    def snapshot(self, program, keys="", frames=None, mouse=None):
        path = os.path.join(self.out_dir, "%s.snapshot.ppm" % program)
        command = [self.tool("snapshot"), program, "--keys", keys, "-o", path]
        if frames is not None:
            command += ["--frames", str(frames)]
        if mouse is not None:
            command += ["--mouse", "%d,%d" % mouse]
        harness.run(command, timeout=60)
        return harness.read_ppm(path)

    def frame_matches(self, program, images, frames, keys=""):
        """For each picture, the frames of a headless run that look like it."""
        paths = []
        for i, image in enumerate(images):
            paths.append(os.path.join(self.out_dir, "%s.capture%d.ppm" % (program, i)))
            image.write_ppm(paths[-1])
        done = harness.run([self.tool("frame_search"), program, "--frames", str(frames),
                            "--keys", keys, *paths], timeout=120)
        matches = [[] for _ in images]
        for line in done.stdout.decode().split("\n"):
            if line.strip():
                index, frame = map(int, line.split())
                matches[index].append(frame)
        return matches


# --- The cases ----------------------------------------------------------------


def case_keyprobe(case):
    """Real key presses give the codes of the key table; the close box gives
    0, 107 and leaves the window open; a held key repeats."""
    with case.xvfb() as xvfb:
        probe = case.start(xvfb, "keyprobe")
        for keysym, _ in PROBE_KEYS:
            probe.keys(keysym, PROBE_MARKER[0])
        probe.close_box()
        probe.keys(PROBE_MARKER[0])
        probe.focus()
        xvfb.xdotool("keydown", "a")
        time.sleep(1.2)
        xvfb.xdotool("keyup", "a")
        probe.keys(PROBE_MARKER[0], "Escape", "Escape")
        status = probe.wait_exit(5)
        check(status == 0, "keyprobe ended with status %d: %s" % (status, probe.stderr()))
    check(probe.stdout().split()[-1] == "closed", "keyprobe did not close its window")
    codes = [int(word) for word in probe.stdout().split()[:-1]]
    groups, tail = groups_between_markers(codes)
    expected = [codes for _, codes in PROBE_KEYS] + [[0, 107]]
    names = [keysym for keysym, _ in PROBE_KEYS] + ["close box"]
    wrong = ["%s gave %s, not %s" % (name, got, want)
             for name, got, want in zip(names, groups, expected) if got != want]
    check(len(groups) == len(expected) + 1,
          "%d keys were told apart, not %d: %s" % (len(groups), len(expected) + 1, codes))
    check(not wrong, "; ".join(wrong))
    held = groups[-1]
    check(len(held) >= 3 and set(held) == {97},
          "holding a down for 1.2 s gave %s, not its code repeated" % held)
    check(tail == [27, 27], "the end gave %s" % tail)


def window_case(program):
    title, size, end_key, close_box_ends = PROGRAMS[program]

    def run_case(case):
        """Title, client area, centred on the screen; the close box; the end
        key ends it at once with status 0."""
        with case.xvfb() as xvfb:
            app = case.start(xvfb, program)
            check(app.name() == title, "the window is titled %r" % app.name())
            x, y, width, height = app.geometry()
            check((width, height) == size, "the client area is %dx%d, not %dx%d" % (width, height, *size))
            centred = ((xvfb.size[0] - width) // 2, (xvfb.size[1] - height) // 2)
            check((x, y) == centred, "the window is at %s, not centred at %s" % ((x, y), centred))
            picture = app.capture()
            check((picture.width, picture.height) == size,
                  "the captured window is %dx%d" % (picture.width, picture.height))
            if close_box_ends is not None:
                app.close_box()
                if close_box_ends:
                    status = app.wait_exit(1.0)
                    check(status == 0, "the close box ended it with status %d" % status)
                    return
                time.sleep(0.5)
                check(app.running(), "the close box ended it")
                app.capture()  # the window is still there
            app.keys(end_key)
            sent = time.monotonic()
            status = app.wait_exit(3.0)
            took = time.monotonic() - sent
            check(status == 0, "%s ended it with status %d: %s" % (end_key, status, app.stderr()))
            check(took < 1.0, "%s took %.2f s to end it" % (end_key, took))

    run_case.__doc__ = "%s: %s" % (program, run_case.__doc__)
    return run_case


def case_gear_train_picture(case):
    """After real keys, the window shows exactly a frame of the headless run
    of the same keys (a, z, and Ctrl+F4 whose second code 97 acts as a)."""
    tokens = "a a a z C-F4"
    with case.xvfb() as xvfb:
        app = case.start(xvfb, "gear_train")
        app.key_tokens(tokens)
        time.sleep(0.3)  # one key is taken per frame
        pictures = [app.capture()]
        time.sleep(0.2)
        pictures.append(app.capture())
        app.keys("Escape")
        check(app.wait_exit(3) == 0, "gear_train did not end cleanly")
    frames_run = int((time.monotonic() - app.started) * 100) + 200  # at most 100 frames a second
    matches = case.frame_matches("gear_train", pictures, frames_run, tokens)
    for i, found in enumerate(matches):
        check(found, "capture %d is no frame of the headless run of %r (saved in %s)"
              % (i, tokens, case.out_dir))
        # The keys are taken one per frame from frame 1 on; a frame before
        # the last of them shows other teeth.
        check(max(found) > len(tokens.split()) + 1, "capture %d matches only frames %s" % (i, found))
    check(min(matches[1]) > min(matches[0]), "the gears did not turn between the captures")
    print("captures at frames %s and %s" % (matches[0], matches[1]))


def case_sdl_backend(case):
    """The SDL backend's own tests, which need a display."""
    with case.xvfb() as xvfb:
        done = harness.run([case.tool("sdl_backend_tests")], env=xvfb.env, timeout=60,
                           check_status=False)
    output = done.stdout.decode(errors="replace") + done.stderr.decode(errors="replace")
    print(output)
    check(done.returncode == 0, "sdl_backend_tests failed")


def case_interrupt(case):
    """Ctrl+C in a terminal (SIGINT) ends a program at once: SDL must not
    turn it into a quit event that the program ignores."""
    with case.xvfb() as xvfb:
        app = case.start(xvfb, "gear_train")
        app.process.send_signal(signal.SIGINT)
        status = app.wait_exit(1.0)
    check(status == -signal.SIGINT, "SIGINT gave exit status %d" % status)


def case_reopen(case):
    """CloseGraph returns once the window is gone, and a second InitGraph in
    the same process opens a working window again."""
    with case.xvfb() as xvfb:
        probe = case.start(xvfb, "keyprobe", ["--windows", "2"])
        first = probe.window
        probe.keys("a", "Escape", "Escape")
        deadline = time.monotonic() + 3
        while "closed" not in probe.stdout():
            check(time.monotonic() < deadline, "the first window did not close")
            time.sleep(0.01)
        gone = harness.run(["xdotool", "getwindowname", first], env=xvfb.env, check_status=False)
        check(gone.returncode != 0, "CloseGraph returned while its window still existed")
        probe.window = probe.find_window()
        probe.keys("b", "Escape", "Escape")
        check(probe.wait_exit(5) == 0, "keyprobe failed: %s" % probe.stderr())
    words = probe.stdout().split()
    check(words == ["97", "27", "27", "closed", "98", "27", "27", "closed"], "keyprobe printed %s" % words)


def case_window_lost(case):
    """When the X server goes away under a running program, the program says
    so and ends with status 1 at once."""
    xvfb = case.xvfb()
    probe = case.start(xvfb, "keyprobe")
    xvfb.process.kill()
    xvfb.process.wait()
    status = probe.wait_exit(1.0)
    check(status == 1, "exit status %d" % status)
    check(probe.stderr() == "keyprobe: the graphics window was lost: the connection to the X server broke",
          "stderr: %r" % probe.stderr())


# Real keys for the key-driven programs, as snapshot key tokens: after them
# the window must show exactly the headless picture of the same keys.
PICTURE_KEYS = {
    # piston, man, part 3 moved and recoloured, main help, graph mode
    "cab_lift": "p p p m m 3 f f c ESC F1 x g p",
    # credits, the three cylinders, tyres, part 2 edited, editor help
    "backhoe": "F2 x p p o l l k m m n t 2 f c s t F1 x ESC",
    # credits, wheel, move, zoom, turned round and tilted, part 1 edited, help
    "loco_drive": "F2 x p p p o f f y x x z b q 1 f c t ESC F1 x",
}


def picture_case(program):
    tokens = PICTURE_KEYS[program]

    def run_case(case):
        expected = case.snapshot(program, tokens)
        with case.xvfb() as xvfb:
            app = case.start(xvfb, program)
            app.key_tokens(tokens)
            harness.wait_for_picture(app, expected, case.out_dir, program)
            app.keys("Escape")
            status = app.wait_exit(3)
            check(status == 0, "ESC ended it with status %d: %s" % (status, app.stderr()))

    run_case.__doc__ = "%s: after real keys %r the window shows the headless picture" % (
        program, tokens)
    return run_case


# Mouse positions over jointed_arm's window: its picture follows each one.
ARM_POSITIONS = [(90, 450), (400, 300), (700, 100), (37, 580), (799, 0)]


def case_jointed_arm_mouse(case):
    """After a real mouse move the arm is posed as the headless run with that
    mouse position poses it."""
    with case.xvfb() as xvfb:
        app = case.start(xvfb, "jointed_arm")
        for x, y in ARM_POSITIONS:
            expected = case.snapshot("jointed_arm", frames=2, mouse=(x, y))
            app.move_mouse(x, y)
            harness.wait_for_picture(app, expected, case.out_dir, "jointed_arm_%d_%d" % (x, y))
        app.keys("Escape")
        check(app.wait_exit(3) == 0, "jointed_arm did not end cleanly")


def case_ic_engine_speed(case):
    """The engine runs one frame every 2 ms: two captures a known time apart
    are that many frames apart in its headless sequence, within 10 percent."""
    gap = 1.5  # seconds: less than a turn of the crank (about 2.5 s)
    with case.xvfb() as xvfb:
        app = case.start(xvfb, "ic_engine")
        time.sleep(0.5)
        first_at = time.monotonic()
        first = app.capture()
        time.sleep(gap)
        second_at = time.monotonic()
        second = app.capture()
        app.keys("Escape")
        check(app.wait_exit(3) == 0, "ic_engine did not end cleanly")
    # Far enough to hold both captures even at twice the speed.
    frames = int((second_at - app.started) * 1000) + 500
    matches = case.frame_matches("ic_engine", [first, second], frames)
    for i, found in enumerate(matches):
        check(found, "capture %d is no frame of the engine's headless run (saved in %s)"
              % (i, case.out_dir))
    # The picture repeats after a turn of the crank, so a capture matches
    # frames a turn apart; a turn is worth 500+ frames a second over the gap,
    # so only the right pair can lie within 10 percent of the speed.
    elapsed = second_at - first_at
    speeds = [(b - a) / elapsed for a in matches[0] for b in matches[1] if b > a]
    check(speeds, "the second capture is no later frame than the first")
    speed = min(speeds, key=lambda s: abs(s - 500))
    print("captures at frames %s and %s, %.3f s apart: %.0f frames a second"
          % (matches[0], matches[1], elapsed, speed))
    check(abs(speed - 500) <= 50, "the engine ran %.0f frames a second, not 500" % speed)


def free_display_number():
    """A display number no X server listens on."""
    number = 900
    while os.path.exists("/tmp/.X11-unix/X%d" % number) or os.path.exists("/tmp/.X%d-lock" % number):
        number += 1
    return number


# Environments without a usable display, and how the reason begins.
NO_DISPLAY = [
    ({}, "no display (DISPLAY is not set)"),
    ({"DISPLAY": ":%d" % free_display_number()}, "cannot reach the X display"),
    # SDL's own stand-ins for a display show nothing.
    ({"SDL_VIDEODRIVER": "offscreen"}, "no display (SDL's \"offscreen\" video driver"),
    ({"SDL_VIDEODRIVER": "dummy"}, "no display (SDL's \"dummy\" video driver"),
]


def case_no_display(case):
    """Without a display the program says why in one line and ends with
    status 1 within a second, rather than running on an invisible window."""
    for extra, reason in NO_DISPLAY:
        env = harness.display_free_env()
        env["XDG_RUNTIME_DIR"] = case.out_dir  # no Wayland compositor's socket there
        env.update(extra)
        started = time.monotonic()
        done = harness.run([case.tool("gear_train")], env=env, timeout=5, check_status=False)
        took = time.monotonic() - started
        message = done.stderr.decode(errors="replace")
        where = "with %s" % (extra or "no DISPLAY")
        check(done.returncode == 1, "%s: exit status %d" % (where, done.returncode))
        check(message.startswith("gear_train: cannot open the graphics window: " + reason)
              and message.count("\n") == 1, "%s: stderr %r" % (where, message))
        check(took < 1.0, "%s: took %.2f s" % (where, took))


def case_small_screen(case):
    """A screen smaller than the client area opens no window."""
    with case.xvfb(width=640, height=480) as xvfb:
        started = time.monotonic()
        done = harness.run([case.tool("gear_train")], env=xvfb.env, timeout=5, check_status=False)
        took = time.monotonic() - started
    message = done.stderr.decode(errors="replace")
    check(done.returncode == 1, "exit status %d" % done.returncode)
    check(message.startswith("gear_train: cannot open the graphics window: "), "stderr: %r" % message)
    check(took < 1.0, "took %.2f s" % took)


CASES = {
    "keyprobe": case_keyprobe,
    "no_display": case_no_display,
    "small_screen": case_small_screen,
    "reopen": case_reopen,
    "interrupt": case_interrupt,
    "sdl_backend": case_sdl_backend,
    "window_lost": case_window_lost,
    "gear_train.picture": case_gear_train_picture,
}
for _program in PROGRAMS:
    CASES[_program + ".window"] = window_case(_program)
for _program in PICTURE_KEYS:
    CASES[_program + ".picture"] = picture_case(_program)
CASES["jointed_arm.mouse"] = case_jointed_arm_mouse
CASES["ic_engine.speed"] = case_ic_engine_speed

# Cases that measure time run alone, away from the load of other tests.
SERIAL = {"ic_engine.speed"}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--bin")
    parser.add_argument("--out")
    parser.add_argument("case", nargs="?")
    args = parser.parse_args()
    if args.list:
        for name in CASES:
            print(name + (" serial" if name in SERIAL else ""))
        return 0
    if args.case not in CASES or not args.bin or not args.out:
        parser.error("give --bin, --out and one of: " + " ".join(CASES))
    out_dir = os.path.join(args.out, args.case)
    os.makedirs(out_dir, exist_ok=True)
    try:
        CASES[args.case](Case(args.bin, out_dir))
    except Failure as failure:
        print("FAILED %s: %s" % (args.case, failure))
        return 1
    print("passed %s" % args.case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
