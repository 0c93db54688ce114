"""Real-window tests under floods of keys and faults of the window and the
process, one ctest test each (label "window", as the cases of tests/window).

    stress_cases.py --list                    the case names, one a line
    stress_cases.py --bin DIR --out DIR CASE  runs one case: exit 0 when it passes

Floods are thousands of real X key presses sent by one xdotool command with no
delay, faster than any program takes them, so the key queue stays full and
drops its oldest keys. Part of each flood is sent while the program is
stopped and continued (SIGSTOP, SIGCONT) every few tens of milliseconds, as
on a machine too busy to run it: each time it goes on, hundreds of keys
arrive at once. The flood's keys are drawn with a fixed seed, printed.
"""

import argparse
import os
import random
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "window"))
import harness  # noqa: E402
import cases as window  # noqa: E402
from harness import Failure, check  # noqa: E402

SEED = 8
FLOOD_SIZE = 3000


def flood_keys(keysyms, count=FLOOD_SIZE, seed=SEED):
    generator = random.Random(seed)
    return [generator.choice(keysyms) for _ in range(count)]


def flood(app, keysyms, stop_and_go=False):
    """Sends the keys with no delay between them; with `stop_and_go` the
    program is stopped and continued every 40 ms meanwhile."""
    app.focus()
    sender = subprocess.Popen(["xdotool", "key", "--delay", "0", *keysyms], env=app.xvfb.env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        while stop_and_go and sender.poll() is None:
            app.process.send_signal(signal.SIGSTOP)
            time.sleep(0.04)
            app.process.send_signal(signal.SIGCONT)
            time.sleep(0.04)
        _, errors = sender.communicate(timeout=120)
    except subprocess.TimeoutExpired:
        raise Failure("xdotool did not send %d keys within 120 s" % len(keysyms))
    finally:
        if app.running():
            app.process.send_signal(signal.SIGCONT)
        if sender.poll() is None:
            sender.kill()
            sender.wait()
    check(sender.returncode == 0, "xdotool failed: %s" % errors.decode(errors="replace").strip())


def wait_until_still(app, settle=0.5, timeout=30):
    """Waits until the window's picture has not changed for `settle` s: a
    key-driven program has taken every key still queued."""
    deadline = time.monotonic() + timeout
    last = app.capture()
    while True:
        time.sleep(settle)
        shown = app.capture()
        if shown == last:
            return
        check(time.monotonic() < deadline, "the picture still changes %g s after the flood" % timeout)
        last = shown


# --- Floods ---------------------------------------------------------------------

# Keys for the key probe and the codes each gives; the flood's two-code keys
# must come out whole, in order, never a 0 paired with another key's code.
PROBE_FLOOD = {
    "F1": [0, 59], "Right": [0, 77], "alt+a": [0, 30], "ctrl+Right": [0, 116],
    "shift+F1": [0, 84], "alt+F4": [0, 107], "F11": [0, 133], "Home": [0, 71],
    "ctrl+alt+2": [0, 2, 0, 121], "a": [97], "Return": [13], "b": [98],
}


def first_mismatch(received, sent):
    """Where `received` stops being a subsequence of `sent` (keys as code
    lists): the index of the first key that no later sent key matches, or
    None when the whole of it is."""
    at = 0
    for index, key in enumerate(received):
        while at < len(sent) and sent[at] != key:
            at += 1
        if at == len(sent):
            return index
        at += 1
    return None


def case_flood_keyprobe(case):
    """A flood of keys, most of them two-code keys, into a probe that takes
    a code every 2 ms: the queue is full most of the time and drops keys, and
    what the probe reads is still the keys sent, each whole, in order."""
    names = list(PROBE_FLOOD)
    keysyms = flood_keys(names)
    sent = window.split_keys([code for name in keysyms for code in PROBE_FLOOD[name]])
    with case.xvfb() as xvfb:
        probe = case.start(xvfb, "keyprobe", ["--pause", "2"])
        flood(probe, keysyms[:FLOOD_SIZE // 2])
        flood(probe, keysyms[FLOOD_SIZE // 2:], stop_and_go=True)
        probe.keys("Escape", "Escape")
        status = probe.wait_exit(10)
        check(status == 0, "keyprobe ended with status %d: %s" % (status, probe.stderr()))
    words = probe.stdout().split()
    check(words[-3:] == ["27", "27", "closed"], "the probe did not end on ESC ESC: %s" % words[-6:])
    received = window.split_keys([int(word) for word in words[:-3]])
    wrong = first_mismatch(received, sent)
    check(wrong is None, "seed %d: key %d read, %s, is not the next of the keys sent (read before it: %s)"
          % (SEED, wrong or 0, received[wrong or 0], received[max(0, (wrong or 0) - 6):wrong]))
    check(len(received) < len(sent), "no key was dropped: the queue never ran full")
    print("seed %d: %d keys sent, %d read whole and in order, %d dropped by the full queue"
          % (SEED, len(sent), len(received), len(sent) - len(received)))


# The key-driven programs: flood keys that keep the program in its command
# loop (no part editor, help or credits screen, no ESC; two-code keys whose
# second code acts as a command key among them), then keys that start from
# the reset (a) and must give exactly the headless picture.
KEY_FLOODS = {
    "cab_lift": ("p o m n e r t y d g P Right Left Up Down Home alt+F9 ctrl+Right alt+a alt+F4 "
                 "shift+F1 F5", "a p p m r"),
    "backhoe": ("p o l k m n t P Right Left Home alt+F9 ctrl+Right alt+a alt+F4 shift+F1 F5",
                "a p l m t"),
    "loco_drive": ("p o d f g y x z b q w P Right Left Up Down alt+F9 ctrl+F4 alt+1 alt+F4 "
                   "shift+F1 F5", "a p p x f q"),
}


def key_flood_case(program):
    keys, after = KEY_FLOODS[program]

    def run_case(case):
        expected = case.snapshot(program, after)
        keysyms = flood_keys(keys.split())
        with case.xvfb() as xvfb:
            app = case.start(xvfb, program)
            flood(app, keysyms[:FLOOD_SIZE // 2])
            app.close_box()
            flood(app, keysyms[FLOOD_SIZE // 2:], stop_and_go=True)
            app.close_box()
            check(app.running(), "the flood ended it (status %s): %s" % (app.process.poll(), app.stderr()))
            check(app.name() == window.PROGRAMS[program][0], "the window no longer answers")
            wait_until_still(app)
            app.key_tokens(after)
            harness.wait_for_picture(app, expected, case.out_dir, program + "_after_flood", timeout=10)
            app.keys("Escape")
            status = app.wait_exit(3)
            check(status == 0, "ESC ended it with status %d: %s" % (status, app.stderr()))
        print("seed %d: %d keys and 2 close boxes, then %r gave the headless picture" % (SEED, FLOOD_SIZE, after))

    run_case.__doc__ = ("%s: after %d flooded keys and the close box it still runs, and the keys %r "
                        "give the headless picture; ESC ends it" % (program, FLOOD_SIZE, after))
    return run_case


# Keys gear_train ignores (none of them a, z or ESC, nor a two-code key whose
# second code is one), so that after the flood it must show a frame of the
# run without keys.
GEAR_FLOOD = "b x A F1 Right Home F12 alt+b ctrl+Right alt+F4 shift+F2 Return"


def case_flood_gear_train(case):
    """gear_train takes one key a frame: under a flood of keys it ignores it
    keeps turning the same gears, then takes a, a as the headless run does,
    and ESC ends it."""
    keysyms = flood_keys(GEAR_FLOOD.split())
    with case.xvfb() as xvfb:
        app = case.start(xvfb, "gear_train")
        flood(app, keysyms[:FLOOD_SIZE // 2])
        app.close_box()
        flood(app, keysyms[FLOOD_SIZE // 2:], stop_and_go=True)
        time.sleep(0.5)  # a full queue takes 31 frames
        after_flood = app.capture()
        app.key_tokens("a a")
        time.sleep(0.3)
        after_keys = app.capture()
        app.keys("Escape")
        status = app.wait_exit(3)
        check(status == 0, "ESC ended it with status %d: %s" % (status, app.stderr()))
    frames = int((time.monotonic() - app.started) * 100) + 200  # at most 100 frames a second
    for picture, keys, what in ((after_flood, "", "after the flood"), (after_keys, "a a", "after a a")):
        found = case.frame_matches("gear_train", [picture], frames, keys)[0]
        check(found, "%s the window shows no frame of the headless run of %r (saved in %s)"
              % (what, keys, case.out_dir))
        print("%s: frames %s of the headless run of %r" % (what, found[:4], keys))


def case_flood_any_key_ends(case):
    """ic_engine and jointed_arm end at the first key of a flood, with status
    0, while thousands more are still coming; jointed_arm first follows a
    flood of mouse moves to the last one."""
    keysyms = flood_keys("a F1 Right alt+x ctrl+Right Escape".split())
    generator = random.Random(SEED)
    for program in ("ic_engine", "jointed_arm"):
        with case.xvfb() as xvfb:
            app = case.start(xvfb, program)
            if program == "jointed_arm":
                moves = []
                for _ in range(1000):
                    moves += ["mousemove", "--window", app.window,
                              str(generator.randrange(800)), str(generator.randrange(600))]
                last = (123, 456)
                xvfb.xdotool(*moves, "mousemove", "--window", app.window, *map(str, last))
                expected = case.snapshot(program, frames=2, mouse=last)
                harness.wait_for_picture(app, expected, case.out_dir, program + "_after_moves")
            flood(app, keysyms)
            status = app.wait_exit(1)
            check(status == 0 and app.stderr() == "", "%s ended with status %d: %s"
                  % (program, status, app.stderr()))


# --- Faults of the window and the process --------------------------------------


def case_close_box(case):
    """The close box never ends a key-driven program, whether in its command
    loop, a help screen or the part editor: it queues 0, 107, which the
    program handles as the headless run handles the same codes."""
    tokens = "CLOSE p CLOSE F1 CLOSE 1 CLOSE f ESC CLOSE CLOSE"
    for program in KEY_FLOODS:
        expected = case.snapshot(program, tokens)
        with case.xvfb() as xvfb:
            app = case.start(xvfb, program)
            app.key_tokens(tokens)
            harness.wait_for_picture(app, expected, case.out_dir, program + "_close_box")
            check(app.running(), "%s: the close box ended it" % program)
            app.keys("Escape")
            status = app.wait_exit(3)
            check(status == 0, "%s: ESC ended it with status %d" % (program, status))


def kill_server(xvfb, app):
    xvfb.process.kill()
    xvfb.process.wait()


def kill_client(xvfb, app):
    """What xkill does: the server closes the program's connection."""
    xvfb.xdotool("windowkill", app.window)


def case_connection_lost(case):
    """The X server dies under each program, or closes its connection (xkill):
    the program says so in one line and ends with status 1 within a second,
    in its frame loop or waiting for a key."""
    for program in window.PROGRAMS:
        for fault in (kill_server, kill_client):
            xvfb = case.xvfb()
            try:
                app = case.start(xvfb, program)
                time.sleep(0.3)
                fault(xvfb, app)
                broken = time.monotonic()
                status = app.wait_exit(3)
                took = time.monotonic() - broken
            finally:
                xvfb.stop()
            message = app.stderr()
            where = "%s, %s" % (program, fault.__name__)
            check(status == 1, "%s: exit status %d" % (where, status))
            check(message == "%s: the graphics window was lost: the connection to the X server broke"
                  % program, "%s: stderr %r" % (where, message))
            check(took < 1.0, "%s: took %.2f s to end" % (where, took))
            print("%s: ended %.3f s after" % (where, took))


def case_signals(case):
    """SIGINT (Ctrl+C) and SIGTERM end every program at once by their default
    action, whether it runs frames or waits for a key."""
    with case.xvfb() as xvfb:
        for program in window.PROGRAMS:
            for number in (signal.SIGINT, signal.SIGTERM):
                app = case.start(xvfb, program)
                time.sleep(0.2)
                app.process.send_signal(number)
                status = app.wait_exit(1.0)
                check(status == -number, "%s: %s gave exit status %d"
                      % (program, signal.Signals(number).name, status))


def case_no_display_all(case):
    """Every program without a display says why in one line and ends with
    status 1 (the reasons themselves are the window suite's no_display)."""
    env = harness.display_free_env()
    env["XDG_RUNTIME_DIR"] = case.out_dir
    for program in window.PROGRAMS:
        done = harness.run([case.tool(program)], env=env, timeout=5, check_status=False)
        message = done.stderr.decode(errors="replace")
        check(done.returncode == 1, "%s: exit status %d" % (program, done.returncode))
        check(message == "%s: cannot open the graphics window: no display (DISPLAY is not set)\n" % program,
              "%s: stderr %r" % (program, message))


CASES = {
    "flood.keyprobe": case_flood_keyprobe,
    "flood.gear_train": case_flood_gear_train,
    "flood.any_key_ends": case_flood_any_key_ends,
    "fault.close_box": case_close_box,
    "fault.connection_lost": case_connection_lost,
    "fault.signals": case_signals,
    "fault.no_display": case_no_display_all,
}
for _program in KEY_FLOODS:
    CASES["flood." + _program] = key_flood_case(_program)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--bin")
    parser.add_argument("--out")
    parser.add_argument("case", nargs="?")
    args = parser.parse_args()
    if args.list:
        print("\n".join(CASES))
        return 0
    if args.case not in CASES or not args.bin or not args.out:
        parser.error("give --bin, --out and one of: " + " ".join(CASES))
    out_dir = os.path.join(args.out, args.case)
    os.makedirs(out_dir, exist_ok=True)
    try:
        CASES[args.case](window.Case(args.bin, out_dir))
    except Failure as failure:
        print("FAILED %s: %s" % (args.case, failure))
        return 1
    print("passed %s" % args.case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
