#!/usr/bin/env python3
"""Exits 0 when this machine's kernel runs 32-bit x86 programs, which a 32-bit Wine prefix needs;
1 otherwise (e.g. a kernel built without IA-32 emulation). Needs no 32-bit packages: it runs a
tiny static i386 program that only exits."""
import os
import struct
import subprocess
import sys
import tempfile

BASE = 0x08048000
CODE = bytes.fromhex("b801000000" "31db" "cd80")  # exit(0) through int 0x80
HEADER, PROGRAM_HEADER = 52, 32
size = HEADER + PROGRAM_HEADER + len(CODE)
elf = (b"\x7fELF\x01\x01\x01" + bytes(9) +
       struct.pack("<HHIIIIIHHHHHH", 2, 3, 1, BASE + HEADER + PROGRAM_HEADER, HEADER, 0, 0, HEADER,
                   PROGRAM_HEADER, 1, 0, 0, 0) +
       struct.pack("<IIIIIIII", 1, 0, BASE, BASE, size, size, 5, 0x1000) + CODE)
with tempfile.TemporaryDirectory() as folder:
    path = os.path.join(folder, "probe")
    with open(path, "wb") as f:
        f.write(elf)
    os.chmod(path, 0o755)
    try:
        sys.exit(subprocess.run([path], timeout=10).returncode)
    except OSError as error:
        print(f"32-bit programs cannot run here: {error.strerror}")
        sys.exit(1)
