"""Real-window test harness: a private Xvfb per test, the programs in real SDL
windows, real X key and mouse events through xdotool (XTEST), window captures
through xwd, and the headless pictures of the snapshot tool to compare with.

Standard library only. Needs Xvfb, xdotool and xwd on the PATH.
"""

import ctypes
import os
import select
import shutil
import struct
import subprocess
import tempfile
import time


class Failure(Exception):
    """A check of a window test failed; the message says what and why."""


def check(condition, message):
    if not condition:
        raise Failure(message)


# --- Pictures ---------------------------------------------------------------


class Image:
    """Width x height RGB pixels, 3 bytes each, row after row."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, bytes(rgb)
        assert len(self.rgb) == width * height * 3

    def __eq__(self, other):
        return (self.width, self.height, self.rgb) == (other.width, other.height, other.rgb)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def write_ppm(self, path):
        with open(path, "wb") as out:
            out.write(b"P6\n%d %d\n255\n" % (self.width, self.height))
            out.write(self.rgb)

    def differences(self, other):
        """A short description of where two pictures differ."""
        if (self.width, self.height) != (other.width, other.height):
            return "sizes differ: %dx%d against %dx%d" % (
                self.width, self.height, other.width, other.height)
        count, box, first = 0, None, []
        for i in range(0, len(self.rgb), 3):
            if self.rgb[i:i + 3] != other.rgb[i:i + 3]:
                x, y = (i // 3) % self.width, (i // 3) // self.width
                count += 1
                box = (x, y, x, y) if box is None else (
                    min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y))
                if len(first) < 5:
                    first.append("(%d, %d): %s against %s" % (
                        x, y, self.pixel(x, y), other.pixel(x, y)))
        if count == 0:
            return "no difference"
        return "%d pixels differ, within (%d, %d)-(%d, %d); first %s" % (
            count, *box, "; ".join(first))


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, at = [], 0
    while len(fields) < 4:  # magic, width, height, largest value
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    check(fields[0] == b"P6" and fields[3] == b"255", "%s is not an 8-bit binary PPM" % path)
    width, height = int(fields[1]), int(fields[2])
    return Image(width, height, data[at + 1:at + 1 + width * height * 3])


def _channel_byte(mask, bytes_per_pixel, msb_first):
    """Which byte of a pixel holds an 8-bit channel with this mask, or None
    when the channel is not one whole byte."""
    for shift in range(0, 8 * bytes_per_pixel, 8):
        if mask == 0xFF << shift:
            index = shift // 8
            return bytes_per_pixel - 1 - index if msb_first else index
    return None


def parse_xwd(data):
    """The picture in an xwd dump of a TrueColor window (24 or 32 bits a
    pixel, ZPixmap, with the byte order and channel masks it declares)."""
    header = struct.unpack(">25I", data[:100])
    (header_size, version, pixmap_format, _depth, width, height, _xoffset, byte_order,
     _unit, _bit_order, _pad, bits_per_pixel, bytes_per_line, _visual_class,
     red_mask, green_mask, blue_mask, _bits_per_rgb, _entries, ncolors) = header[:20]
    check(version == 7 and pixmap_format == 2, "not a ZPixmap xwd dump (version %d, format %d)"
          % (version, pixmap_format))
    check(bits_per_pixel in (24, 32), "xwd: %d bits a pixel is not handled" % bits_per_pixel)
    bytes_per_pixel = bits_per_pixel // 8
    start = header_size + ncolors * 12
    pixels = data[start:start + bytes_per_line * height]
    check(len(pixels) == bytes_per_line * height, "xwd dump is cut short")
    rows = b"".join(pixels[y * bytes_per_line:y * bytes_per_line + width * bytes_per_pixel]
                    for y in range(height))
    rgb = bytearray(width * height * 3)
    for channel, mask in enumerate((red_mask, green_mask, blue_mask)):
        index = _channel_byte(mask, bytes_per_pixel, byte_order == 1)
        if index is not None:
            rgb[channel::3] = rows[index::bytes_per_pixel]
            continue
        shift = (mask & -mask).bit_length() - 1
        top = mask >> shift
        order = "big" if byte_order == 1 else "little"
        for i in range(width * height):
            value = int.from_bytes(rows[i * bytes_per_pixel:(i + 1) * bytes_per_pixel], order)
            rgb[i * 3 + channel] = ((value & mask) >> shift) * 255 // top
    return Image(width, height, rgb)


# --- Keys -------------------------------------------------------------------

# Key tokens of the snapshot tool and the X keysyms xdotool sends for them.
_KEYSYMS = {
    "ESC": "Escape", "ENTER": "Return", "TAB": "Tab", "BKSP": "BackSpace", "SPACE": "space",
    "UP": "Up", "DOWN": "Down", "LEFT": "Left", "RIGHT": "Right", "HOME": "Home",
    "END": "End", "PGUP": "Prior", "PGDN": "Next", "INS": "Insert", "DEL": "Delete",
    "PAUSE": "Pause", "MENU": "Menu", "KP*": "KP_Multiply", "KP+": "KP_Add",
    "KP-": "KP_Subtract", "KP/": "KP_Divide", "KP5": "KP_Begin",
    ";": "semicolon", ",": "comma", ".": "period", "/": "slash", "-": "minus", "=": "equal",
    "[": "bracketleft", "]": "bracketright", "'": "apostrophe", "`": "grave",
    "\\": "backslash", "<": "less", ">": "greater", "+": "plus", "*": "asterisk",
    ":": "colon", "?": "question", "!": "exclam",
}
_MODIFIERS = {"C-": "ctrl+", "A-": "alt+", "S-": "shift+"}


def keysym(token):
    """The xdotool key name of one snapshot key token ("a", "F1", "C-F4")."""
    prefix = ""
    while token[:2] in _MODIFIERS and len(token) > 2:
        prefix += _MODIFIERS[token[:2]]
        token = token[2:]
    if token in _KEYSYMS:
        return prefix + _KEYSYMS[token]
    if len(token) == 1 and token.isalnum():
        return prefix + token
    if token.startswith("F") and token[1:].isdigit():
        return prefix + token
    raise Failure("key token %r cannot be sent as a real key" % token)


# --- Processes ----------------------------------------------------------------


def run(command, env=None, timeout=10, check_status=True):
    try:
        done = subprocess.run(command, env=env, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure("%s did not finish within %g s" % (" ".join(command), timeout))
    if check_status and done.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(command), done.returncode,
                                               done.stderr.decode(errors="replace").strip()))
    return done


def display_free_env():
    """The caller's environment without any display: programs see only what a
    test gives them."""
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "XAUTHORITY"):
        env.pop(name, None)
    return env


def _die_with_parent():
    """In a child before it starts: end it (SIGTERM) when the test process
    ends, even when the test is killed, so no server or program lingers."""
    ctypes.CDLL(None, use_errno=True).prctl(1, 15)  # PR_SET_PDEATHSIG, SIGTERM


class Xvfb:
    """A private X server on a display number it picks itself (-displayfd),
    so tests running side by side never share one."""

    def __init__(self, width=1280, height=1024, log_dir=None):
        self.size = (width, height)
        for tool in ("Xvfb", "xdotool", "xwd"):
            check(shutil.which(tool), "%s is not installed" % tool)
        read_end, write_end = os.pipe()
        log = open(os.path.join(log_dir or tempfile.gettempdir(), "xvfb.log"), "ab")
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height),
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=log, stderr=log, env=display_free_env(),
            preexec_fn=_die_with_parent)
        os.close(write_end)
        log.close()
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0, deadline - time.monotonic()))
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                os.close(read_end)
                self.stop()
                raise Failure("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        self.env = display_free_env()
        self.env["DISPLAY"] = self.display

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def xdotool(self, *args):
        return run(["xdotool", *args], env=self.env).stdout.decode().strip()


class Program:
    """A program running in a real window on an Xvfb."""

    def __init__(self, xvfb, binary, title, args=(), close_tool=None):
        self.xvfb, self.title, self.close_tool = xvfb, title, close_tool
        self.out = tempfile.TemporaryFile()
        self.err = tempfile.TemporaryFile()
        self.started = time.monotonic()
        self.process = subprocess.Popen([binary, *args], env=xvfb.env, stdout=self.out,
                                        stderr=self.err, preexec_fn=_die_with_parent)
        self.window = self.find_window()

    def find_window(self, timeout=10):
        """The id of the program's visible window, once it has one."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % self.title],
                        env=self.xvfb.env, check_status=False).stdout.split()
            if found:
                return found[0].decode()
            if self.process.poll() is not None:
                raise Failure("%s ended (%d) before its window appeared: %s" % (
                    self.title, self.process.returncode, self.stderr()))
            time.sleep(0.05)
        self.kill()
        raise Failure("no window titled %r appeared within %g s" % (self.title, timeout))

    def stdout(self):
        self.out.seek(0)
        return self.out.read().decode(errors="replace")

    def stderr(self):
        self.err.seek(0)
        return self.err.read().decode(errors="replace").strip()

    def running(self):
        return self.process.poll() is None

    def focus(self):
        self.xvfb.xdotool("windowfocus", "--sync", self.window)

    def keys(self, *keysyms, delay_ms=30):
        """Presses real keys (X keysyms as xdotool names them) in the window."""
        if keysyms:
            self.focus()
            self.xvfb.xdotool("key", "--delay", str(delay_ms), *keysyms)

    def key_tokens(self, tokens):
        """Presses the keys of a snapshot token string, in one go between close
        box requests (the token CLOSE)."""
        batch = []
        for token in tokens.split():
            if token == "CLOSE":
                self.keys(*batch)
                batch = []
                self.close_box()
            else:
                batch.append(keysym(token))
        self.keys(*batch)

    def close_box(self):
        run([self.close_tool, self.window], env=self.xvfb.env)

    def move_mouse(self, x, y):
        self.xvfb.xdotool("mousemove", "--window", self.window, "--sync", str(x), str(y))

    def capture(self):
        dump = run(["xwd", "-id", self.window, "-silent"], env=self.xvfb.env).stdout
        return parse_xwd(dump)

    def name(self):
        return self.xvfb.xdotool("getwindowname", self.window)

    def geometry(self):
        """(x, y, width, height) of the window's client area on the screen."""
        shell = self.xvfb.xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=", 1) for line in shell.splitlines() if "=" in line)
        return tuple(int(values[name]) for name in ("X", "Y", "WIDTH", "HEIGHT"))

    def wait_exit(self, timeout):
        """The exit status, once the program has ended within `timeout` s."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise Failure("%s did not end within %g s" % (self.title, timeout))

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def wait_for_picture(program, expected, out_dir, name, timeout=5.0):
    """Captures the window until it shows `expected`; on a timeout saves both
    pictures beside each other and fails with where they differ."""
    deadline = time.monotonic() + timeout
    while True:
        shown = program.capture()
        if shown == expected:
            return
        if time.monotonic() > deadline:
            shown.write_ppm(os.path.join(out_dir, name + ".window.ppm"))
            expected.write_ppm(os.path.join(out_dir, name + ".headless.ppm"))
            raise Failure("%s: the window does not show the headless picture: %s (saved in %s)"
                          % (name, shown.differences(expected), out_dir))
        time.sleep(0.1)
