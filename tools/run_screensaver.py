#!/usr/bin/env python3
"""Runs the built screensaver with /s under Wine and photographs it.

usage: run_screensaver.py SECONDS WIDTHxHEIGHT

On the current X display when DISPLAY names a reachable one, otherwise on a
virtual screen of the given size. The shipped 32-bit build runs where this
kernel can execute Wine's 32-bit side; elsewhere its 64-bit twin does.
"""
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "wine"))

import bench  # noqa: E402


def display_works(display):
    if not display:
        return False
    result = subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, check=False)
    return result.returncode == 0


def main(argv):
    seconds = float(argv[1]) if len(argv) > 1 else 10
    width, height = (int(v) for v in (argv[2] if len(argv) > 2 else "640x480").split("x"))

    tree = "windows" if bench.wine32_runs() else "windows64"
    build = os.path.join(ROOT, "build", tree)
    if tree == "windows64":
        print("run: this kernel cannot execute Wine's 32-bit side; running the 64-bit twin")
    os.environ.update({
        "ZEPHYRINE_BUILD_DIR": build,
        "ZEPHYRINE_SCR": os.path.join(build, "ZephyrineScreensaver.scr"),
        "ZEPHYRINE_PROBE": os.path.join(build, "tests", "wine", "win32_probe.exe"),
        "ZEPHYRINE_WINE_BITS": "32" if tree == "windows" else "64",
    })

    existing = os.environ.get("DISPLAY") if display_works(os.environ.get("DISPLAY")) else None
    b = bench.Bench(width, height, display=existing).start()
    try:
        run = b.run_scr("/s")
        window = b.wait_window("ZephyrineScreensaver", 60)
        if window is None:
            print("run: no screensaver window appeared")
            print(run.output())
            return 1
        print(f"run: screensaver running on {b.display}; waiting {seconds:g} s")
        time.sleep(seconds)
        shot = os.path.join(ROOT, "build", "screenshot.png")
        b.screenshot(shot)
        print(f"run: screenshot written to {shot}")
        code = b.end_with_key(run, window, "space")
        print(f"run: the screensaver ended on a key with exit code {code}")
        return 0 if code == 0 else 1
    finally:
        b.stop()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
