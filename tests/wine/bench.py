"""The Wine test bench: runs the real screensaver under Wine on a virtual X
screen of its own and looks at it the way a user would.

A Bench starts its own Xvfb on a free display at a chosen size, uses the
build tree's Wine prefix (booted once, on first use), starts the executable
with arguments, finds windows by title, reads their geometry and X
properties, sends keys, mouse moves, clicks and close requests, photographs
the screen, reads message boxes through a small Win32 helper and dismisses
them, and collects exit codes with time limits. stop() ends everything it
started.

The environment names what to test (set by CTest):
  ZEPHYRINE_BUILD_DIR   the build tree (holds the Wine prefix)
  ZEPHYRINE_SCR         the screensaver executable
  ZEPHYRINE_PROBE       the Win32 helper (tests/wine/win32_probe.cpp)
  ZEPHYRINE_GL_PROBE    the entry-point probe (tests/wine/gl_probe.cpp)
  ZEPHYRINE_WINE_BITS   32 or 64: which side of Wine runs the executables
"""
import fcntl
import os
import re
import select
import shutil
import subprocess
import tempfile
import time
import unittest

WINE32_LOADER = "/usr/lib/wine/wine"
WINE64_LOADER = "/usr/lib/wine/wine64"
WINE64_SERVER = "/usr/lib/wine/wineserver64"


def wine32_runs():
    """True when this kernel can execute Wine's 32-bit side."""
    try:
        result = subprocess.run([WINE32_LOADER, "--version"], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, timeout=30)
        return result.returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def skip_unless_this_build_runs():
    """The 32-bit build is tested where Wine's 32-bit side runs; its 64-bit
    twin where it does not. Exactly one of the two build trees runs the
    end-to-end tests on a given machine."""
    bits = os.environ.get("ZEPHYRINE_WINE_BITS", "32")
    runs32 = wine32_runs()
    if bits == "32" and not runs32:
        raise unittest.SkipTest("this kernel cannot run 32-bit Wine; the 64-bit twin is tested instead")
    if bits == "64" and runs32:
        raise unittest.SkipTest("32-bit Wine runs here; the shipped 32-bit build is tested instead")


def wait_until(predicate, timeout, interval=0.2):
    """Polls predicate until it returns something true; returns that or None."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


class Run:
    """One started Windows process."""

    def __init__(self, popen, log_path):
        self.popen = popen
        self.log_path = log_path

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout):
        """The exit code, or None when the process is still running after timeout."""
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def output(self):
        with open(self.log_path, "rb") as f:
            return f.read().decode("latin-1")


class Bench:
    def __init__(self, width=320, height=240, xvfb_args=(), display=None, env=None):
        """display: an existing X display to use instead of a virtual one;
        env: extra environment for everything the bench runs."""
        self.existing_display = display
        self.extra_env = dict(env or {})
        self.width = width
        self.height = height
        self.xvfb_args = list(xvfb_args)
        self.build_dir = os.environ["ZEPHYRINE_BUILD_DIR"]
        self.scr = os.environ["ZEPHYRINE_SCR"]
        self.probe = os.environ["ZEPHYRINE_PROBE"]
        self.bits = os.environ.get("ZEPHYRINE_WINE_BITS", "32")
        self.prefix = os.path.join(self.build_dir, "wine-prefix")
        self.workdir = tempfile.mkdtemp(prefix="zephyrine-bench-")
        self.xvfb = None
        self.display = None
        self.runs = []

    # -- life cycle -------------------------------------------------------

    def start(self):
        if self.existing_display:
            self.display = self.existing_display
        else:
            self._start_xvfb()
        self.env = dict(os.environ)
        self.env.update({
            "DISPLAY": self.display,
            "WINEPREFIX": self.prefix,
            "WINEDEBUG": "-all",
            # No Mono or Gecko installers: nothing here needs them.
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "XAUTHORITY": os.devnull,
        })
        self.env.update(self.extra_env)
        if self.bits == "32":
            self.wine = ["wine"]
            self.wineserver = "wineserver"
            self.env["WINEARCH"] = "win32"
        else:
            self.wine = [WINE64_LOADER]
            self.wineserver = WINE64_SERVER
            self.env["WINELOADER"] = WINE64_LOADER
            self.env["WINESERVER"] = WINE64_SERVER
        # A wineserver left from another display would put our windows there.
        self._wineserver("-k")
        self._ensure_prefix()
        return self

    def stop(self):
        for run in self.runs:
            if run.running():
                run.popen.kill()
                run.wait(10)
        self._wineserver("-k")
        if self.xvfb is not None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
            self.xvfb = None
        shutil.rmtree(self.workdir, ignore_errors=True)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        log = open(os.path.join(self.workdir, "xvfb.log"), "wb")
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{self.width}x{self.height}x24",
             "-nolisten", "tcp", "-noreset", *self.xvfb_args],
            pass_fds=(write_end,), stdout=log, stderr=log)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 30
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            ready, _, _ = select.select([read_end], [], [], 1)
            if ready:
                chunk = os.read(read_end, 16)
                if not chunk:
                    break
                number += chunk
        os.close(read_end)
        if not number.strip():
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.decode().strip()

    def _wineserver(self, *args):
        env = getattr(self, "env", None)
        if env is None:
            return
        subprocess.run([self.wineserver, *args], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60, check=False)

    def _ensure_prefix(self):
        # One prefix per build tree; the first boot takes a while, so it is
        # done once and guarded against a second test doing it at once.
        os.makedirs(os.path.dirname(self.prefix), exist_ok=True)
        with open(self.prefix + ".lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if not os.path.exists(os.path.join(self.prefix, ".zephyrine-booted")):
                shutil.rmtree(self.prefix, ignore_errors=True)
                subprocess.run([*self.wine, "wineboot", "-i"], env=self.env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, timeout=600, check=False)
                self._wineserver("-w")
                open(os.path.join(self.prefix, ".zephyrine-booted"), "w").close()

    # -- processes --------------------------------------------------------

    def launch(self, exe, *args):
        log_path = os.path.join(self.workdir, f"run{len(self.runs)}.log")
        log = open(log_path, "wb")
        popen = subprocess.Popen([*self.wine, exe, *args], env=self.env, stdout=log, stderr=log,
                                 stdin=subprocess.DEVNULL)
        run = Run(popen, log_path)
        self.runs.append(run)
        return run

    def run_scr(self, *args):
        return self.launch(self.scr, *args)

    def run_helper(self, exe, *args, timeout=60):
        """Runs a console helper to its end; returns (exit code, stdout)."""
        result = subprocess.run([*self.wine, exe, *args], env=self.env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, timeout=timeout, check=False)
        return result.returncode, result.stdout.decode("latin-1")

    # -- X windows --------------------------------------------------------

    def _x(self, *command, timeout=30):
        result = subprocess.run(command, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                timeout=timeout, check=False)
        return result.stdout.decode("latin-1")

    def windows_named(self, title):
        """Ids of the viewable X windows whose name is exactly title."""
        out = self._x("xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(title) + "$")
        return [int(line) for line in out.split()]

    def wait_window(self, title, timeout=30):
        ids = wait_until(lambda: self.windows_named(title), timeout)
        return ids[0] if ids else None

    def geometry(self, window):
        """(x, y, width, height) of an X window on the screen."""
        out = self._x("xwininfo", "-id", str(window))
        values = {}
        for key, pattern in (("x", r"Absolute upper-left X:\s+(-?\d+)"), ("y", r"Absolute upper-left Y:\s+(-?\d+)"),
                             ("w", r"Width:\s+(\d+)"), ("h", r"Height:\s+(\d+)")):
            m = re.search(pattern, out)
            values[key] = int(m.group(1)) if m else None
        return values["x"], values["y"], values["w"], values["h"]

    def icons(self, window):
        """The window's _NET_WM_ICON images: a list of (width, height, argb pixels)."""
        out = self._x("xprop", "-id", str(window), "-notype", "-f", "_NET_WM_ICON", "32c", "_NET_WM_ICON")
        if "=" not in out:
            return []
        numbers = [int(v) for v in out.split("=", 1)[1].replace(",", " ").split()]
        images = []
        i = 0
        while i + 2 <= len(numbers):
            w, h = numbers[i], numbers[i + 1]
            pixels = numbers[i + 2:i + 2 + w * h]
            if w <= 0 or h <= 0 or len(pixels) < w * h:
                break
            images.append((w, h, pixels))
            i += 2 + w * h
        return images

    def key(self, window, key):
        # Wine hands key events to the window that has the focus; with no
        # window manager on the virtual screen, give it the focus first.
        self._x("xdotool", "windowfocus", "--sync", str(window))
        self._x("xdotool", "key", "--window", str(window), key)

    def end_with_key(self, run, window, key="a", tries=3, each=10):
        """Presses a key on the window until the run ends; returns its exit
        code (None if it never ended). A key sent while the new window is
        still taking the focus can reach no window at all, so it is pressed
        again after a while: every press that arrives must end the run."""
        for _ in range(tries):
            self.key(window, key)
            code = run.wait(each)
            if code is not None:
                return code
        return None

    def move_mouse(self, x, y):
        self._x("xdotool", "mousemove", "--sync", str(x), str(y))

    def click(self, button=1):
        self._x("xdotool", "click", str(button))

    def close_request(self, title):
        """Asks the Win32 window of that title to close, as the system would."""
        code, _ = self.run_helper(self.probe, "close", title)
        return code == 0

    # -- pictures ---------------------------------------------------------

    def screenshot(self, path=None):
        """Photographs the whole screen; returns (width, height, rgb bytes)."""
        path = path or os.path.join(self.workdir, "screen.png")
        self._x("import", "-display", self.display, "-window", "root", path)
        size = subprocess.run(["identify", "-format", "%w %h", path], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, check=True).stdout.split()
        rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, check=True).stdout
        return int(size[0]), int(size[1]), rgb

    # -- message boxes ----------------------------------------------------

    def boxes(self):
        """The visible message boxes: a list of (handle, caption, text)."""
        _, out = self.run_helper(self.probe, "boxes")
        found = []
        for line in out.splitlines():
            parts = line.rstrip("\r").split("\t")
            if len(parts) == 3:
                found.append((parts[0], unescape(parts[1]), unescape(parts[2])))
        return found

    def wait_box(self, timeout=30, run=None):
        """The first message box to appear, or None after timeout or, when a
        run is given, once that process has ended without showing one."""
        def look():
            found = self.boxes()
            if found:
                return found
            return run is not None and not run.running() and ["ended"]
        boxes = wait_until(look, timeout, interval=0.3)
        return boxes[0] if boxes and boxes != ["ended"] else None

    def collect_boxes(self, run, limit=10, timeout=60):
        """Reads and dismisses every message box the run shows, in order,
        until it ends; returns their (caption, text)."""
        shown = []
        while len(shown) < limit:
            box = self.wait_box(timeout, run)
            if box is None:
                break
            shown.append((box[1], box[2]))
            self.dismiss(box)
            wait_until(lambda: box[0] not in [other[0] for other in self.boxes()], 15, interval=0.3)
        return shown

    def dismiss(self, box):
        self.run_helper(self.probe, "ok", box[0])

    def close_all(self, title):
        """Asks every Win32 window of that title to close; returns how many."""
        code, out = self.run_helper(self.probe, "close-all", title)
        return int(out.split()[0]) if code == 0 and out.split() else 0

    def start_together(self, exe, *argument_sets):
        """Starts one copy of exe per argument string ("" for none), all at
        the same moment, through the Win32 helper; returns the helper's Run.
        ended_copies(run) tells which copies have ended and how."""
        return self.launch(self.probe, "race", exe, *[arguments or "-" for arguments in argument_sets])

    def client_area(self, title):
        """(x, y, width, height) of a Win32 window's client area on the screen."""
        code, out = self.run_helper(self.probe, "client", title)
        if code != 0:
            return None
        return tuple(int(v) for v in out.split())

    def window_rect(self, title):
        """(x, y, width, height) of a Win32 window's outer rectangle."""
        code, out = self.run_helper(self.probe, "rect", title)
        if code != 0:
            return None
        return tuple(int(v) for v in out.split())

    def children(self, title):
        """The child windows of a Win32 window: dicts with class, id, style,
        rect (in the parent's client area) and text."""
        code, out = self.run_helper(self.probe, "children", title)
        found = []
        for line in out.splitlines():
            parts = line.rstrip("\r").split("\t")
            if len(parts) == 5:
                found.append({"class": parts[0], "id": int(parts[1]), "style": int(parts[2], 16),
                              "rect": tuple(int(v) for v in parts[3].split()), "text": unescape(parts[4])})
        return found

    def win32_windows(self, hidden_too=False):
        """Top-level Win32 windows: a list of (handle, class, title)."""
        _, out = self.run_helper(self.probe, "all" if hidden_too else "windows")
        return [tuple(line.rstrip("\r").split("\t")) for line in out.splitlines() if line.count("\t") == 2]


def ended_copies(run):
    """The copies of a start_together run that have ended: {index: exit code}."""
    return {int(m.group(1)): int(m.group(2)) for m in re.finditer(r"^ended (\d+) exit=(\d+)", run.output(), re.M)}


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "r": "\r", "t": "\t"}.get(m.group(1), m.group(1)), text)
