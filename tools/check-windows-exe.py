#!/usr/bin/env python3
"""Checks the Windows build folder: Tellbud.exe is a 32-bit GUI executable that needs nothing but
system DLLs, carries the program's icon, version and manifest resources, and has the data files it
reads beside it.

Usage: tools/check-windows-exe.py [build folder]   (default: build/windows)
"""
import filecmp
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OBJDUMP = "i686-w64-mingw32-objdump"

# DLLs every Windows installation has, and the C runtime the toolchain targets.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "shlwapi.dll", "ole32.dll",
               "oleaut32.dll", "comctl32.dll", "advapi32.dll", "winmm.dll", "msvcrt.dll", "ucrtbase.dll"}
UNIVERSAL_CRT = re.compile(r"^api-ms-win-crt-[a-z0-9-]+\.dll$")

RT_VERSION = 16
RT_GROUP_ICON = 14
RT_MANIFEST = 24
CREATEPROCESS_MANIFEST_RESOURCE_ID = 1
ICON_NAMES = ("IDR_MAINFRAME", "IDI_OFFLINE", "IDI_ONLINE")


def objdump(*args):
    return subprocess.run([OBJDUMP, *args], check=True, capture_output=True, text=True).stdout


def icon_ids():
    """The icon ids the program loads, as res/resource.h defines them."""
    with open(os.path.join(ROOT, "res", "resource.h"), encoding="utf-8") as f:
        defines = dict(re.findall(r"^#define\s+(\w+)\s+(\d+)\s*$", f.read(), re.M))
    missing = [name for name in ICON_NAMES if name not in defines]
    if missing:
        raise SystemExit(f"res/resource.h defines no {', '.join(missing)}")
    return {name: int(defines[name]) for name in ICON_NAMES}


def imported_dlls(headers):
    return [m.lower() for m in re.findall(r"^\s*DLL Name:\s*(\S+)", headers, re.M)]


def resource_ids(headers):
    """{type id: {name ids}} from the first two levels of the resource directory dump."""
    section = headers.split("The .rsrc Resource Directory section:", 1)
    if len(section) < 2:
        return {}
    resources = {}
    type_indent = None
    current_type = None
    for indent, ident in re.findall(r"^[0-9a-f]+( +)Entry: ID: 0x([0-9a-f]+)", section[1], re.M):
        depth = len(indent)
        if type_indent is None:
            type_indent = depth
        if depth == type_indent:
            current_type = int(ident, 16)
            resources[current_type] = set()
        elif depth == type_indent + 2 and current_type is not None:
            resources[current_type].add(int(ident, 16))
    return resources


def data_files():
    """(source, name beside the executable) of every file the program reads beside itself."""
    res = os.path.join(ROOT, "res")
    files = [(os.path.join(res, "data", name), name) for name in ("Tellbud.ini", "Tellbud.lnk")]
    files += [(os.path.join(res, "icons", name), name) for name in ("ok.ico", "nophone.ico", "nodevice.ico")]
    language = os.path.join(res, "data", "Language")
    files += [(os.path.join(language, name), os.path.join("Language", name))
              for name in sorted(os.listdir(language)) if name.lower().endswith(".ini")]
    return files


def check(folder):
    failures = []
    exe = os.path.join(folder, "Tellbud.exe")
    if not os.path.isfile(exe):
        return [f"{exe} does not exist"]

    header = objdump("-f", exe)
    if "file format pei-i386" not in header:
        failures.append("not a PE32 i386 image")
    headers = objdump("-p", exe)
    if not re.search(r"^Magic\s+010b", headers, re.M):
        failures.append("the optional header is not PE32")
    if not re.search(r"^Subsystem\s+00000002", headers, re.M):
        failures.append("the subsystem is not the Windows GUI")

    foreign = [dll for dll in imported_dlls(headers) if dll not in SYSTEM_DLLS and not UNIVERSAL_CRT.match(dll)]
    if foreign:
        failures.append(f"imports DLLs that are not the system's: {', '.join(foreign)}")

    resources = resource_ids(headers)
    for name, ident in icon_ids().items():
        if ident not in resources.get(RT_GROUP_ICON, set()):
            failures.append(f"no icon resource {ident} ({name})")
    if CREATEPROCESS_MANIFEST_RESOURCE_ID not in resources.get(RT_MANIFEST, set()):
        failures.append("no application manifest")
    if 1 not in resources.get(RT_VERSION, set()):
        failures.append("no version resource")

    for source, name in data_files():
        placed = os.path.join(folder, name)
        if not os.path.isfile(placed):
            failures.append(f"{name} is missing beside the executable")
        elif not filecmp.cmp(source, placed, shallow=False):
            failures.append(f"{name} beside the executable differs from its source")
    return failures


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "windows")
    failures = check(folder)
    for failure in failures:
        print(f"Tellbud.exe: {failure}", file=sys.stderr)
    if failures:
        return 1
    print(f"{os.path.join(folder, 'Tellbud.exe')}: PE32 GUI, system DLLs only, icons, version and manifest; "
          "data files in place")
    return 0


if __name__ == "__main__":
    sys.exit(main())
