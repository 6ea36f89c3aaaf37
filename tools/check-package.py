#!/usr/bin/env python3
"""Checks the Windows packages that tools/package.sh built in FOLDER:

- each setup carries exactly the program's folder (stage-PRESET, as `cmake --install` lays it
  out), byte for byte, less the AutoRun shortcut, which setup writes with the installed path;
- the zip holds the 32-bit folder, byte for byte, under Tellbud/;
- Tellbud.exe and the setups are images of their machine and carry the version VERSION with
  the product name and a file description.

Usage: tools/check-package.py VERSION FOLDER
"""
import filecmp
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile

I386, AMD64 = 0x14C, 0x8664
# Names 7-Zip shows for what setup makes at install time rather than unpacks.
MADE_BY_SETUP = {"Custom.ini", "Uninstall.exe"}


def files_under(folder):
    found = set()
    for base, _, names in os.walk(folder):
        found.update(os.path.relpath(os.path.join(base, name), folder).replace(os.sep, "/") for name in names)
    return found


def compare_trees(what, expected_folder, expected, actual_folder, actual):
    failures = []
    if missing := sorted(expected - actual):
        failures.append(f"{what} lacks {', '.join(missing)}")
    if extra := sorted(actual - expected):
        failures.append(f"{what} holds what the program's folder does not: {', '.join(extra)}")
    for name in sorted(expected & actual):
        if not filecmp.cmp(os.path.join(expected_folder, name), os.path.join(actual_folder, name), shallow=False):
            failures.append(f"{what}: {name} differs from the program's folder")
    return failures


def machine(path):
    with open(path, "rb") as f:
        data = f.read(4096)
    if data[:2] != b"MZ":
        return None
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[offset:offset + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, offset + 4)[0]


def version_strings(path):
    """The fixed file version and the string values of the version resource."""
    with open(path, "rb") as f:
        data = f.read()
    fixed = data.find(struct.pack("<I", 0xFEEF04BD))
    if fixed < 0:
        return None, {}
    ms, ls = struct.unpack_from("<II", data, fixed + 8)
    version = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    strings = {}
    for key in ("ProductName", "FileDescription", "FileVersion", "ProductVersion"):
        # A String entry: the key, its terminator, padding to 32 bits, the value.
        pattern = re.escape(key.encode("utf-16-le")) + rb"\0\0(?:\0\0)?((?:[^\0].|\0[^\0])*?)\0\0"
        match = re.search(pattern, data, re.S)
        if match:
            raw = match.group(1)
            if len(raw) % 2:
                raw += b"\0"
            strings[key] = raw.decode("utf-16-le", "replace")
    return version, strings


def check_version(label, path, version, description):
    fixed, strings = version_strings(path)
    failures = []
    if fixed != version:
        failures.append(f"{label}: fixed file version {fixed}, expected {version}")
    for key in ("FileVersion", "ProductVersion"):
        if strings.get(key) != version:
            failures.append(f"{label}: {key} is {strings.get(key)!r}, expected {version!r}")
    if strings.get("ProductName") != "Tellbud":
        failures.append(f"{label}: ProductName is {strings.get('ProductName')!r}")
    if strings.get("FileDescription") != description:
        failures.append(f"{label}: FileDescription is {strings.get('FileDescription')!r}, expected {description!r}")
    return failures


def check_setup(setup, stage, expected_machine):
    label = os.path.basename(setup)
    if not os.path.isfile(setup):
        return [f"{label} was not built"]
    failures = []
    if machine(setup) != expected_machine:
        failures.append(f"{label}: machine {machine(setup)!r:}, expected {expected_machine:#x}")
    failures += check_version(label, setup, VERSION, "Tellbud Setup")
    with tempfile.TemporaryDirectory() as unpacked:
        subprocess.run(["7z", "x", "-y", f"-o{unpacked}", setup], check=True, capture_output=True)
        actual = {n for n in files_under(unpacked) if not n.startswith("$PLUGINSDIR/") and n not in MADE_BY_SETUP}
        expected = files_under(stage) - {"Tellbud.lnk"}
        failures += compare_trees(label, stage, expected, unpacked, actual)
    return failures


def check_zip(archive, stage):
    label = os.path.basename(archive)
    if not os.path.isfile(archive):
        return [f"{label} was not built"]
    with tempfile.TemporaryDirectory() as unpacked:
        with zipfile.ZipFile(archive) as z:
            outside = [n for n in z.namelist() if not n.startswith("Tellbud/")]
            if outside:
                return [f"{label}: entries outside Tellbud/: {', '.join(outside)}"]
            z.extractall(unpacked)
        folder = os.path.join(unpacked, "Tellbud")
        return compare_trees(label, stage, files_under(stage), folder, files_under(folder))


def main(folder):
    failures = []
    for preset, setup, expected_machine in (("windows", f"Tellbud-{VERSION}-setup.exe", I386),
                                            ("windows64", f"Tellbud-{VERSION}-x64-setup.exe", AMD64)):
        stage = os.path.join(folder, f"stage-{preset}")
        exe = os.path.join(stage, "Tellbud.exe")
        if machine(exe) != expected_machine:
            failures.append(f"{preset} Tellbud.exe: machine {machine(exe)!r}, expected {expected_machine:#x}")
        failures += check_version(f"{preset} Tellbud.exe", exe, VERSION, "Tellbud")
        failures += check_setup(os.path.join(folder, setup), stage, expected_machine)
    failures += check_zip(os.path.join(folder, f"Tellbud-{VERSION}.zip"), os.path.join(folder, "stage-windows"))
    for failure in failures:
        print(f"=== package: {failure}", file=sys.stderr)
    if not failures:
        print(f"=== package: the setups and the zip hold the program's folder; version {VERSION} everywhere")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    VERSION = sys.argv[1]
    sys.exit(main(sys.argv[2]))
