"""Runs every benchmark and prints each figure beside its baseline, their
ratio and the target: the fragment program on llvmpipe, the loader, the
start-up under Wine and the binary. The raw lines of each benchmark come
first, then the table. Run by tools/bench.sh, which builds what is needed.

usage: run.py [--quick]
  --quick  fewer rounds and sizes, for trying things out
"""
import os
import platform
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NATIVE = os.path.join(ROOT, "build", "native", "bench")
MIB = 1024 * 1024


def run(command, env=None):
    print("$ " + " ".join(command), flush=True)
    result = subprocess.run(command, cwd=ROOT, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            check=False)
    out = result.stdout.decode("latin-1")
    print(out, end="", flush=True)
    if result.returncode != 0:
        raise SystemExit(f"{command[0]} failed with {result.returncode}")
    return out


def fields(line):
    return dict(re.findall(r"(\w+)=([-\w.]+)", line))


def wine32_runs():
    try:
        return subprocess.run(["/usr/lib/wine/wine", "--version"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=30).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def machine():
    cpu = "unknown processor"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    with open("/proc/loadavg") as f:
        load = " ".join(f.read().split()[:3])
    def version(command):
        try:
            return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30,
                                  check=False).stdout.decode("latin-1").strip() or "?"
        except (OSError, subprocess.TimeoutExpired):
            return "?"

    mesa = version(["dpkg-query", "-W", "-f=${Version}", "libgl1-mesa-dri:amd64"])
    wine = version(["/usr/lib/wine/wine64", "--version"])
    return (f"{cpu}, {os.cpu_count()} processors, Linux {platform.release()}, Mesa {mesa}, {wine}, "
            f"load average {load}")


def main():
    quick = "--quick" in sys.argv
    rows = []

    def row(figure, value, baseline, ratio, target="", met=""):
        rows.append((figure, value, baseline, ratio, target, met))

    print(f"# machine: {machine()}")

    # 1. The fragment program. Mesa's shader cache is off, so that the build
    # figures are those of a first start.
    env = dict(os.environ, MESA_SHADER_CACHE_DISABLE="true")
    frag = run([os.path.join(NATIVE, "fragment_bench"), "--rounds", "2" if quick else "5", "--frames", "4"],
               env=env)
    for line in frag.splitlines():
        m = re.match(r"fragment (\d+x\d+) (\w+) ", line)
        if m and m.group(2) in ("shipped", "previous"):
            f = fields(line)
            net = float(f["cpu_net_vs_naive"])
            if m.group(2) == "shipped":
                row(f"fragment {m.group(1)}: shipped minus flat, over naive minus flat (processor time)",
                    f"{f['cpu_ms']} ms", "naive", f"{net:.3f}", "<= 0.55", "yes" if net <= 0.55 else
                    f"no, by {net - 0.55:.3f}")
            else:
                row(f"fragment {m.group(1)}: previous program (before tuning), same measure", f"{f['cpu_ms']} ms",
                    "naive", f"{net:.3f}")
        m = re.match(r"fragment (\d+x\d+) before_fade_in", line)
        if m:
            f = fields(line)
            row(f"fragment {m.group(1)}: a frame before the fade-in (first two seconds)", f"{f['shipped']} ms",
                f"previous {f['previous']} ms", f"{float(f['shipped']) / float(f['previous']):.3f}")
        m = re.match(r"fragment build\+first_draw (shipped|previous) ", line)
        if m:
            f = fields(line)
            if m.group(1) == "shipped":
                shipped_build = float(f["cpu_ms"])
            else:
                row("fragment: build and first draw, cold (processor time)", f"{shipped_build:.1f} ms",
                    f"previous {f['cpu_ms']} ms", f"{shipped_build / float(f['cpu_ms']):.3f}")

    # 2. The loader.
    loader = run([os.path.join(NATIVE, "loader_bench")] + (["--quick"] if quick else []))
    for line in loader.splitlines():
        f = fields(line)
        m = re.match(r"loader (\d+k) triangles \(([\d.]+) MB\) ", line)
        if m:
            row(f"loader {m.group(1)} triangles ({m.group(2)} MB) into MeshArrays", f"{f['current_ms']} ms",
                f"previous loader {f['previous_ms']} ms", f["vs_previous"])
            row(f"loader {m.group(1)}: same", f"{f['current_ms']} ms",
                f"strtof on every number {f['scan_ms']} ms", f["vs_scan"])
            row(f"loader {m.group(1)}: the parse alone", f"{f['parse_ms']} ms",
                f"strtof on every number {f['scan_ms']} ms",
                f"{float(f['parse_ms']) / float(f['scan_ms']):.2f}")
        m = re.match(r"loader (\d+k) triangles peak", line)
        if m:
            row(f"loader {m.group(1)}: peak memory per triangle", f"{f['peak_bytes_per_triangle']} B",
                f"previous loader {f['previous_peak_bytes_per_triangle']} B", f["vs_previous"])
        if line.startswith("loader scaling"):
            scaling = float(f["per_triangle_1M_over_100k"])
            row("loader: time per triangle at 1M", "", "at 100k", f"{scaling:.3f}", "<= 1.2",
                "yes" if scaling <= 1.2 else f"no, by {scaling - 1.2:.3f}")

    # 3. Start-up under Wine: the build whose side of Wine runs here.
    tree = "windows" if wine32_runs() else "windows64"
    startup = run([sys.executable, os.path.join(ROOT, "bench", "startup_bench.py"),
                   os.path.join(ROOT, "build", tree), "--runs", "3" if quick else "9"])
    for line in startup.splitlines():
        m = re.match(r"startup (\S+) (\d+x\d+) (cold|warm) launch ", line)
        if m:
            f = fields(line)
            ratio = float(f["ratio"])
            row(f"start-up to first frame ({m.group(1)} build, {m.group(2)}, shader cache {m.group(3)})",
                f"{f['scr_ms']} ms", f"bare GLFW {f['bare_glfw_ms']} ms", f"{ratio:.3f}", "<= 1.15",
                "yes" if ratio <= 1.15 else f"no, by {ratio - 1.15:.3f}")

    # 4. The binary.
    scr = os.path.join(ROOT, "build", "windows", "ZephyrineScreensaver.scr")
    size = os.path.getsize(scr)
    dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", scr], stdout=subprocess.PIPE, check=True,
                          ).stdout.decode("latin-1")
    imports = re.findall(r"DLL Name: (\S+)", dump)
    stripped = "no symbols" in subprocess.run(["i686-w64-mingw32-nm", scr], stdout=subprocess.DEVNULL,
                                               stderr=subprocess.PIPE).stderr.decode("latin-1")
    print(f"binary {scr}: {size} bytes, {'stripped' if stripped else 'NOT stripped'}, imports {' '.join(imports)}")
    row("binary: 32-bit .scr, stripped" if stripped else "binary: 32-bit .scr (not stripped)",
        f"{size} B ({size / MIB:.3f} MiB)", "1 MiB", f"{size / MIB:.3f}", "<= 1 MiB",
        "yes" if size <= MIB else f"no, by {size - MIB} B")
    row("binary: imports", " ".join(imports), "", "", "system DLLs only")

    widths = [max(len(str(r[i])) for r in rows + [("figure", "value", "baseline", "ratio", "target", "met")])
              for i in range(6)]
    print()
    print("| " + " | ".join(h.ljust(w) for h, w in zip(("figure", "value", "baseline", "ratio", "target", "met"),
                                                      widths)) + " |")
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in rows:
        print("| " + " | ".join(str(v).ljust(w) for v, w in zip(r, widths)) + " |")


if __name__ == "__main__":
    main()
