#!/usr/bin/env python3
"""Start-up time and peak memory of the configurator against a bare Qt window.

Both programs quit as soon as their main window is shown (the configurator
with all its screens created). Prints the medians and their ratios.

Usage: bench/startup.py [BUILD_DIR] [--runs N]
The build should be a Release build without sanitizers, e.g.
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DSW48230_TESTS=OFF
  cmake --build build-bench && bench/startup.py build-bench
"""
import argparse
import os
import statistics
import subprocess
import tempfile
import time


def measure(command, runs, env):
    times, peaks = [], []
    for _ in range(runs):
        start = time.perf_counter()
        process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(process.pid, 0)
        times.append(time.perf_counter() - start)
        peaks.append(usage.ru_maxrss)  # KiB on Linux
        if os.waitstatus_to_exitcode(status) != 0:
            raise SystemExit(f"{command[0]} failed with status {status}")
    return statistics.median(times), statistics.median(peaks)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir", nargs="?", default="build-bench")
    parser.add_argument("--runs", type=int, default=21)
    args = parser.parse_args()

    env = dict(os.environ)
    if not env.get("DISPLAY") and not env.get("WAYLAND_DISPLAY"):
        env["QT_QPA_PLATFORM"] = "offscreen"
    binaries = os.path.join(args.build_dir, "bin")
    with tempfile.TemporaryDirectory() as program_dir:
        configurator = [os.path.join(binaries, "sw48230"), "--program-dir", program_dir, "--exit-when-shown"]
        bare = [os.path.join(binaries, "bare_window")]
        measure(configurator, 2, env)  # warm the file cache for both
        measure(bare, 2, env)
        app_time, app_peak = measure(configurator, args.runs, env)
        bare_time, bare_peak = measure(bare, args.runs, env)

    print(f"platform: {env.get('QT_QPA_PLATFORM', 'display')}, runs: {args.runs}")
    print(f"bare window   : {bare_time * 1000:8.1f} ms  {bare_peak / 1024:8.1f} MiB peak")
    print(f"configurator  : {app_time * 1000:8.1f} ms  {app_peak / 1024:8.1f} MiB peak")
    print(f"ratio (time)  : {app_time / bare_time:8.2f}x   goal <= 1.5x")
    print(f"ratio (memory): {app_peak / bare_peak:8.2f}x")


if __name__ == "__main__":
    main()
