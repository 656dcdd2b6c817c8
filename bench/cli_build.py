#!/usr/bin/env python3
"""Time of the whole `sw48230-cli build` process against `sw48230-cli --version`.

The project is the largest the table screens allow: 512 read and 512 write
requests, all enabled, as the screens save them. Both device types are
measured; the goal is a ratio of medians of at most 1.5x. The project folder
is a temporary folder, so the file system under it is part of the figure.

Usage: bench/cli_build.py [BUILD_DIR] [--runs N]
The build should be a Release build without sanitizers, e.g.
  cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DSW48230_TESTS=OFF -DSW48230_GUI=OFF
  cmake --build build-rel && bench/cli_build.py build-rel
"""
import argparse
import collections
import os
import re
import shutil
import statistics
import subprocess
import tempfile
import time

ROWS = 512


def pargen(device_type):
    elements = [("Device_Type", device_type), ("CAN_Baud", 4), ("CAN_Type", 0),
                ("TCP_IP_1", 192), ("TCP_IP_2", 168), ("TCP_IP_3", 0), ("TCP_IP_4", 10),
                ("TCP_SUB_1", 255), ("TCP_SUB_2", 255), ("TCP_SUB_3", 255), ("TCP_SUB_4", 0),
                ("TCP_GAT_1", 192), ("TCP_GAT_2", 168), ("TCP_GAT_3", 0), ("TCP_GAT_4", 1),
                ("En_GAT", 0), ("Port", 502), ("Time_Out", 1000), ("Dis_Sock", 0)]
    body = "".join(f"<{name}>{value}</{name}>" for name, value in elements)
    return f"<GeneralParameter>{body}</GeneralParameter><!--SW_VERSION = 2.007-->"


def table(type_code):
    rows = []
    for row in range(1, ROWS + 1):
        rows.append(
            f'<row Enable="Y" COB="{ROWS - row + 1}" CAN_Type="CAN 2.0A (11 bits)" IP_Add_B1="192" '
            f'IP_Add_B2="168" IP_Add_B3="0" IP_Add_B4="{row % 250 + 1}" Port="502" ID_Modbus="{row % 247 + 1}" '
            f'Type="{type_code}" Address_Word="{row * 4}" Quantity="4" PollTime="100" MaxError="3" Swap="N" '
            f'Mnemonic="Request {row}"/>')
    return f"<C_TO_Customer_Protocol>{''.join(rows)}</C_TO_Customer_Protocol><!--SW_VERSION = 2.007-->"


def make_project(folder, device_type):
    os.makedirs(os.path.join(folder, "bin"))
    for name, content in (("ParGen.xml", pargen(device_type)), ("var.xml", table(3)), ("var2.xml", table(1))):
        with open(os.path.join(folder, name), "w", encoding="utf-8") as file:
            file.write(content)


def median_time(command, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        status = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
        times.append(time.perf_counter() - start)
        if status != 0:
            raise SystemExit(f"{' '.join(command)} failed with status {status}")
    return statistics.median(times)


def opened_files(command):
    """How often the command opens each project file, traced with strace."""
    with tempfile.NamedTemporaryFile("r", suffix=".trace") as trace:
        subprocess.run(["strace", "-f", "-qq", "-e", "trace=open,openat", "-o", trace.name] + command,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        counts = collections.Counter()
        for line in trace:
            found = re.search(r'"([^"]*)"', line)
            if found and "ENOENT" not in line:
                name = os.path.basename(found.group(1))
                if name in ("ParGen.xml", "var.xml", "var2.xml"):
                    counts[name] += 1
        return counts


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir", nargs="?", default="build-rel")
    parser.add_argument("--runs", type=int, default=51)
    args = parser.parse_args()

    cli = os.path.join(args.build_dir, "bin", "sw48230-cli")
    with tempfile.TemporaryDirectory() as temp:
        projects = {}
        for device_type, image in ((1, "bank2.bin"), (0, "bank.bin")):
            projects[image] = os.path.join(temp, f"type{device_type}")
            make_project(projects[image], device_type)

        version = [cli, "--version"]
        median_time(version, 5)  # warm the file cache
        for project in projects.values():
            median_time([cli, "build", project], 5)
        version_time = median_time(version, args.runs)
        print(f"runs: {args.runs}, {ROWS} + {ROWS} enabled rows")
        print(f"--version       : {version_time * 1000:7.2f} ms")
        for image, project in projects.items():
            build_time = median_time([cli, "build", project], args.runs)
            print(f"build {image:10}: {build_time * 1000:7.2f} ms   ratio {build_time / version_time:5.2f}x"
                  "   goal <= 1.5x")
        if shutil.which("strace"):
            for image, project in projects.items():
                counts = opened_files([cli, "build", project])
                opens = ", ".join(f"{name} {counts[name]}x" for name in ("ParGen.xml", "var.xml", "var2.xml"))
                print(f"build {image:10}: opens {opens}   goal: each once")


if __name__ == "__main__":
    main()
