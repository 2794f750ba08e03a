"""Start-up to the first frame of the real screensaver ("/s") under Wine on a
virtual X screen, against a bare GLFW program (bench/windows/bare_glfw.cpp)
that opens the same full-screen window and only clears it; both built by the
same preset. Then where the start-up time goes, from the phases program
(bench/windows/startup_phases.cpp), which runs the real application code
step by step.

The first frame is seen through Wine's relay trace, limited to SwapBuffers:
GLFW presents one cleared frame of its own while it creates the window, so
the return of the program's second SwapBuffers is its first frame, and the
relay's first line in the process (written as ntdll starts it, before any
DLL of the program is loaded) its start. Two figures per run:
- "launch": from starting the Wine process to that return, on this
  machine's clock: what a user waits for;
- "in-process": from the process's start to that return, on Wine's clock
  (millisecond steps): the program's own share, without Wine's process
  creation.
Runs of the two programs alternate; medians are printed beside each other.

usage: startup_bench.py BUILD_DIR [--runs N] [--size WxH]
BUILD_DIR is a Windows build tree (build/windows64 on machines whose kernel
runs no 32-bit programs). Each figure is taken twice: "cold", with Mesa's
shader cache switched off, so that every run compiles its programs as a
machine's first start does, and "warm", with a cache that the first run
filled, as on every later start; the phases program too.
"""
import argparse
import os
import re
import select
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "wine"))

import bench  # noqa: E402

# Only the swap is relayed; the relay's own start-up line in each process
# marks the process's start.
RELAY_INCLUDE = "gdi32.SwapBuffers"
# "seconds.milliseconds:thread:text" with +timestamp.
RELAY_LINE = re.compile(r"^(\d+)\.(\d+):([0-9a-f]+):(.*)")


def first_frame(b, exe, args, cache, timeout=120):
    """Runs exe until its first frame is presented; returns (launch seconds,
    in-process seconds), then ends the process. cache: a folder for Mesa's
    shader cache, or None for none."""
    env = dict(b.env)
    env["WINEDEBUG"] = "-all,+timestamp,+relay"
    if cache is None:
        env["MESA_SHADER_CACHE_DISABLE"] = "true"
    else:
        env["MESA_SHADER_CACHE_DIR"] = cache
    started = time.monotonic()
    popen = subprocess.Popen([*b.wine, exe, *args], env=env, stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    starts = {}
    swaps = {}
    result = None
    buffered = b""
    deadline = started + timeout
    try:
        while result is None and time.monotonic() < deadline:
            ready, _, _ = select.select([popen.stderr], [], [], 1.0)
            if not ready:
                if popen.poll() is not None:
                    break
                continue
            chunk = os.read(popen.stderr.fileno(), 65536)
            if not chunk:
                break
            buffered += chunk
            *lines, buffered = buffered.split(b"\n")
            for raw in lines:
                m = RELAY_LINE.match(raw.decode("latin-1"))
                if not m:
                    continue
                stamp = int(m.group(1)) + int(m.group(2)) / 1000.0
                thread = m.group(3)
                # A process's first relay line comes from its start-up in
                # ntdll, before any of its DLLs is loaded.
                starts.setdefault(thread, stamp)
                if m.group(4).startswith("Ret  gdi32.SwapBuffers"):
                    # GLFW presents a cleared frame of its own while it makes
                    # the window; the program's first frame is the next one.
                    swaps[thread] = swaps.get(thread, 0) + 1
                    if swaps[thread] == 2:
                        result = (time.monotonic() - started, stamp - starts[thread])
                        break
    finally:
        popen.kill()
        popen.wait(30)
    if result is None:
        raise RuntimeError(f"no first frame from {exe}")
    return result


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--size", default="1024x768")
    options = parser.parse_args()

    build_dir = os.path.abspath(options.build_dir)
    scr = os.path.join(build_dir, "ZephyrineScreensaver.scr")
    bare = os.path.join(build_dir, "bench", "bare_glfw.exe")
    phases = os.path.join(build_dir, "bench", "startup_phases.exe")
    bits = "64" if "x86-64" in subprocess.run(["file", "-b", scr], stdout=subprocess.PIPE,
                                               check=True).stdout.decode() else "32"
    os.environ.update({
        "ZEPHYRINE_BUILD_DIR": build_dir,
        "ZEPHYRINE_SCR": scr,
        "ZEPHYRINE_PROBE": os.path.join(build_dir, "tests", "wine", "win32_probe.exe"),
        "ZEPHYRINE_WINE_BITS": bits,
    })
    width, height = (int(v) for v in options.size.split("x"))
    build = os.path.basename(build_dir.rstrip("/"))

    with bench.Bench(width, height) as b:
        subprocess.run([*b.wine, "reg", "add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude", "/t", "REG_SZ",
                        "/d", RELAY_INCLUDE, "/f"], env=b.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True, timeout=120)
        # One wineserver for every run, with Wine's own services already up,
        # so that no run pays for starting them.
        subprocess.run([b.wineserver, "-k"], env=b.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=60, check=False)
        server = subprocess.Popen([b.wineserver, "-f", "-p"], env=b.env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        try:
            samples = {}
            # Cold: Mesa compiles the programs in every run, as on a
            # machine's first start. Warm: its shader cache holds them, as on
            # every later start.
            cache = os.path.join(b.workdir, "mesa-shader-cache")
            for mode, folder in (("cold", None), ("warm", cache)):
                first_frame(b, bare, [], folder)
                first_frame(b, scr, ["/s"], folder)
                runs = {"scr": [], "bare": []}
                for _ in range(options.runs):
                    runs["scr"].append(first_frame(b, scr, ["/s"], folder))
                    runs["bare"].append(first_frame(b, bare, [], folder))
                samples[mode] = runs
            # The phases, cold and then warm (a first run fills a cache).
            phase_lines = []
            b.env["MESA_SHADER_CACHE_DISABLE"] = "true"
            code, out = b.run_helper(phases, timeout=120)
            phase_lines += [("cold", line) for line in out.splitlines()]
            del b.env["MESA_SHADER_CACHE_DISABLE"]
            b.env["MESA_SHADER_CACHE_DIR"] = os.path.join(b.workdir, "phases-shader-cache")
            b.run_helper(phases, timeout=120)
            code, out = b.run_helper(phases, timeout=120)
            phase_lines += [("warm", line) for line in out.splitlines()]
        finally:
            subprocess.run([b.wineserver, "-k"], env=b.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=60, check=False)
            server.wait(30)

    for mode, runs in samples.items():
        for index, name in ((0, "launch"), (1, "in-process")):
            scr_ms = 1000 * statistics.median(s[index] for s in runs["scr"])
            bare_ms = 1000 * statistics.median(s[index] for s in runs["bare"])
            print(f"startup {build} {width}x{height} {mode} {name:10s} scr_ms={scr_ms:.0f} "
                  f"bare_glfw_ms={bare_ms:.0f} ratio={scr_ms / bare_ms:.3f} runs={options.runs}")
        for name in ("scr", "bare"):
            print(f"# {mode} {name} runs (launch, in-process) ms: " +
                  " ".join(f"({1000 * a:.0f}, {1000 * b:.0f})" for a, b in runs[name]))
    for mode, line in phase_lines:
        if line.startswith("phase "):
            print(f"startup {build} {width}x{height} {mode} {line.strip()}")
    if code != 0:
        print(f"startup {build}: the phases program ended with {code}")


if __name__ == "__main__":
    main()
