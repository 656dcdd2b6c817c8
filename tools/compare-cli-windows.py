#!/usr/bin/env python3
"""Runs the Linux and the Windows sw48230-cli on the same inputs and compares
their results byte for byte: exit code, standard output, standard error and
the image files that `build` writes.

The inputs are project folders made here (as the screens save them: device
type 1 and 0, a project whose rows fail the checks, a damaged image) and the
language files that ship with the program, plus one with faulty lines.

Both tools run in the same folder and are given the same relative paths. The
only difference allowed is the path separator in the paths the tools print
(each uses its system's), which is turned into "/" before the comparison.

Usage: tools/compare-cli-windows.py LINUX_CLI WINDOWS_CLI WINE_RUNNER WORK_DIR
(tools/windows-check.sh passes them.)
"""
import os
import re
import shutil
import subprocess
import sys

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SW_VERSION = "<!--SW_VERSION = 2.007-->"


def pargen(device_type, first_address_byte=192):
    elements = [("Device_Type", device_type), ("CAN_Baud", 4), ("CAN_Type", 0),
                ("TCP_IP_1", first_address_byte), ("TCP_IP_2", 168), ("TCP_IP_3", 0), ("TCP_IP_4", 10),
                ("TCP_SUB_1", 255), ("TCP_SUB_2", 255), ("TCP_SUB_3", 255), ("TCP_SUB_4", 0),
                ("TCP_GAT_1", 192), ("TCP_GAT_2", 168), ("TCP_GAT_3", 0), ("TCP_GAT_4", 1),
                ("En_GAT", 1), ("Port", 502), ("Time_Out", 1000), ("Dis_Sock", 0)]
    body = "".join(f"<{name}>{value}</{name}>" for name, value in elements)
    return f"<GeneralParameter>{body}</GeneralParameter>{SW_VERSION}"


def row(number, type_code, **changes):
    attributes = {"Enable": "Y", "COB": str(0x100 + number), "CAN_Type": "CAN 2.0A (11 bits)", "IP_Add_B1": "192",
                  "IP_Add_B2": "168", "IP_Add_B3": "0", "IP_Add_B4": str(number % 250 + 1), "Port": "502",
                  "ID_Modbus": str(number % 247 + 1), "Type": str(type_code), "Address_Word": str(number * 4),
                  "Quantity": str(number % 4 + 1), "PollTime": str(100 + number), "MaxError": "3",
                  "Swap": "Y" if number % 2 else "N", "Mnemonic": f"R\u00e9quest {number} \u00df"}
    attributes.update(changes)
    return "<row " + " ".join(f'{name}="{value}"' for name, value in attributes.items()) + "/>"


def table(rows):
    return f"<C_TO_Customer_Protocol>{''.join(rows)}</C_TO_Customer_Protocol>{SW_VERSION}"


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="") as file:
        file.write(text)


def make_inputs(work):
    projects = {
        "type1": (pargen(1), [row(n, 3) for n in range(1, 40)], [row(n, 1) for n in range(40, 60)]),
        "type0": (pargen(0), [row(n, 3) for n in range(1, 30)] + [row(30, 3, Enable="N")],
                  [row(n, 1) for n in range(31, 45)]),
        "failing": (pargen(0, 300), [row(1, 3, COB="4000"), row(2, 3, IP_Add_B4="999"), row(3, 3, Quantity="0")],
                    [row(4, 1, Port="x")]),
    }
    for name, (settings, requests, writes) in projects.items():
        write(os.path.join(work, name, "ParGen.xml"), settings)
        write(os.path.join(work, name, "var.xml"), table(requests))
        write(os.path.join(work, name, "var2.xml"), table(writes))
    os.makedirs(os.path.join(work, "languages"))
    for name in sorted(os.listdir(os.path.join(SOURCE_DIR, "languages"))):
        if name.endswith(".lng"):
            shutil.copy(os.path.join(SOURCE_DIR, "languages", name), os.path.join(work, "languages", name))
    with open(os.path.join(work, "languages", "Faulty.lng"), "wb") as file:
        file.write(b"STR0 = Anfang\r\nSTR1 Schritt\r\nSTR99999 = zu weit\r\nSTRx = keine Zahl\r\n"
                   b"STR2 = Gr\xfc\xdfe\r\nSTR3 = \xc3\xbc\xc3\x9f\r\n")


def commands():
    runs = [["--version"], ["--help"], ["no-such-command"], ["messages"]]
    for language in ("Deutsch", "Italiano", "English", "Faulty", "Missing"):
        runs.append(["messages", "--lng", f"languages/{language}.lng"])
        runs.append(["lint-lng", f"languages/{language}.lng"])
    for project in ("type1", "type0", "failing", "missing"):
        runs.append(["check", project])
        runs.append(["build", project])
    for image in ("type1/bin/bank2.bin", "type0/bin/bank.bin", "damaged.bin", "type1/ParGen.xml"):
        runs.append(["dump", image])
        runs.append(["dump", "--json", image])
    return runs


# A path under one of the input folders, as Windows prints it.
WINDOWS_PATH = re.compile(rb"\b(?:type1|type0|failing|missing|languages)(?:\\[\w.]+)+")


def with_slashes(text):
    return WINDOWS_PATH.sub(lambda match: match.group(0).replace(b"\\", b"/"), text)


def run(command, work):
    result = subprocess.run(command, cwd=work, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
    return result.returncode, result.stdout, result.stderr


def images(work):
    found = {}
    for project in ("type1", "type0", "failing"):
        folder = os.path.join(work, project, "bin")
        for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
            with open(os.path.join(folder, name), "rb") as file:
                found[f"{project}/bin/{name}"] = file.read()
    return found


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    linux_cli, windows_cli, wine, work_root = (os.path.abspath(arg) for arg in sys.argv[1:])
    shutil.rmtree(work_root, ignore_errors=True)
    results = {}
    for system, prefix in (("linux", [linux_cli]), ("windows", [wine, windows_cli])):
        work = os.path.join(work_root, system)
        make_inputs(work)
        outputs = []
        for args in commands():
            if args[0] == "dump" and args[-1] == "damaged.bin":
                # The bank2.bin of this very run with its stored checksum (the
                # General_Block's last four bytes, at the end of the file) off by one.
                with open(os.path.join(work, "type1", "bin", "bank2.bin"), "rb") as file:
                    damaged = bytearray(file.read())
                damaged[len(damaged) - 4] ^= 1
                with open(os.path.join(work, "damaged.bin"), "wb") as file:
                    file.write(damaged)
            code, out, err = run(prefix + args, work)
            if system == "windows":
                out, err = with_slashes(out), with_slashes(err)
            outputs.append((args, code, out, err))
        results[system] = (outputs, images(work))

    differences = 0
    for (args, *linux), (_, *windows) in zip(results["linux"][0], results["windows"][0]):
        for what, a, b in zip(("exit code", "standard output", "standard error"), linux, windows):
            if a != b:
                differences += 1
                print(f"differs: sw48230-cli {' '.join(args)}: {what}\n  Linux:   {a!r:.300}\n  Windows: {b!r:.300}")
    linux_images, windows_images = results["linux"][1], results["windows"][1]
    if sorted(linux_images) != sorted(windows_images):
        differences += 1
        print(f"differs: image files written: Linux {sorted(linux_images)}, Windows {sorted(windows_images)}")
    for name in sorted(set(linux_images) & set(windows_images)):
        if linux_images[name] != windows_images[name]:
            differences += 1
            print(f"differs: {name}")
    count = len(results["linux"][0])
    if differences:
        sys.exit(f"{differences} difference(s) between the Linux and the Windows tool")
    print(f"The Linux and the Windows tool agree byte for byte: {count} runs, {len(linux_images)} image files.")


if __name__ == "__main__":
    main()
