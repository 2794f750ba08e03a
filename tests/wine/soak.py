"""A long full-screen run of the real screensaver under Wine: the frames keep
changing and the process's memory stays flat.

The run is photographed once per interval (a minute, or a quarter of the run
when it is shorter) and every picture must differ from the one before. The
resident memory of the Wine process is read from /proc every few seconds;
from the end of the first interval on it may grow by no more than 1 MiB. The
run then ends on a key press, with exit code 0.

By hand, from the repository root, after building the tree:

    python3 tests/wine/soak.py --seconds 600 --build build/windows64

CTest runs a one-minute version (test_soak.py).
"""
import argparse
import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bench  # noqa: E402

TITLE = "ZephyrineScreensaver"
ALLOWED_GROWTH_KIB = 1024
SAMPLE_SECONDS = 5


def resident_kib(pid):
    """VmRSS of a process in KiB, or None once it is gone."""
    try:
        with open(f"/proc/{pid}/status") as f:
            m = re.search(r"^VmRSS:\s+(\d+) kB", f.read(), re.M)
        return int(m.group(1)) if m else None
    except OSError:
        return None


def screensaver_pid(run):
    """The Linux process that runs the screensaver: the Wine loader started
    by the bench becomes the Wine process of the executable itself."""
    pid = run.popen.pid
    name = os.path.basename(os.environ["ZEPHYRINE_SCR"]).lower()

    def runs_it(candidate):
        try:
            with open(f"/proc/{candidate}/cmdline", "rb") as f:
                return name in f.read().decode("latin-1").lower()
        except OSError:
            return False

    if runs_it(pid):
        return pid
    for entry in os.listdir("/proc"):
        if entry.isdigit() and runs_it(int(entry)):
            return int(entry)
    return None


def differing_pixels(a, b):
    return sum(1 for i in range(0, min(len(a), len(b)), 3) if a[i:i + 3] != b[i:i + 3])


def soak(seconds, log=print, width=320, height=240):
    """Runs the soak; returns its figures as a dict. Raises AssertionError
    when the frames stop changing, the memory grows or the run fails."""
    interval = min(60.0, seconds / 4.0)
    with bench.Bench(width, height) as b:
        run = b.run_scr("/s")
        window = b.wait_window(TITLE, 60)
        assert window is not None, "no window: " + run.output()
        pid = bench.wait_until(lambda: screensaver_pid(run), 30)
        assert pid is not None, "the screensaver's process was not found"
        start = time.monotonic()
        samples = []  # (seconds since the window appeared, VmRSS KiB)
        pictures = []  # (seconds, rgb bytes)
        next_picture = 0.0
        while True:
            now = time.monotonic() - start
            rss = resident_kib(pid)
            assert rss is not None and run.running(), f"the screensaver ended after {now:.0f} s"
            samples.append((now, rss))
            if now >= next_picture:
                _, _, rgb = b.screenshot()
                pictures.append((now, rgb))
                line = f"{now:6.0f} s  resident {rss} KiB"
                if len(pictures) > 1:
                    changed = differing_pixels(pictures[-2][1], rgb)
                    line += f", {changed} of {width * height} pixels changed since {pictures[-2][0]:.0f} s"
                    assert changed > 0, f"the picture at {now:.0f} s is the one of {pictures[-2][0]:.0f} s"
                log(line)
                next_picture += interval
            if now >= seconds:
                break
            time.sleep(min(SAMPLE_SECONDS, max(0.0, min(next_picture, seconds) - (time.monotonic() - start))))

        code = b.end_with_key(run, window)
        assert code == 0, f"exit code {code}"

    baseline = next(rss for t, rss in samples if t >= interval)
    after = [rss for t, rss in samples if t >= interval]
    figures = {
        "seconds": samples[-1][0],
        "pictures": len(pictures),
        "rss_start_kib": samples[0][1],
        "rss_baseline_kib": baseline,
        "rss_end_kib": samples[-1][1],
        "rss_max_after_baseline_kib": max(after),
        "growth_kib": max(after) - baseline,
    }
    log("figures: " + ", ".join(f"{k}={v:.0f}" if isinstance(v, float) else f"{k}={v}"
                                for k, v in figures.items()))
    assert figures["growth_kib"] <= ALLOWED_GROWTH_KIB, \
        f"resident memory grew by {figures['growth_kib']} KiB after the first {interval:.0f} s"
    return figures


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seconds", type=float, default=600)
    parser.add_argument("--build", default="build/windows64",
                        help="the build tree whose executable and Wine prefix to use")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    os.environ.setdefault("ZEPHYRINE_BUILD_DIR", build)
    os.environ.setdefault("ZEPHYRINE_SCR", os.path.join(build, "ZephyrineScreensaver.scr"))
    os.environ.setdefault("ZEPHYRINE_PROBE", os.path.join(build, "tests", "wine", "win32_probe.exe"))
    os.environ.setdefault("ZEPHYRINE_WINE_BITS", "64" if build.rstrip("/").endswith("64") else "32")
    soak(args.seconds, log=lambda line: print(line, flush=True))
    print("soak passed")


if __name__ == "__main__":
    main()
