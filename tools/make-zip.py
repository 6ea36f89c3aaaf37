#!/usr/bin/env python3
"""Packs a folder into a zip under one top-level folder name, files in sorted order.

Usage: tools/make-zip.py FOLDER TOP_NAME ZIP
"""
import os
import sys
import zipfile


def main(folder, top, target):
    with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as archive:
        for base, dirs, files in os.walk(folder):
            dirs.sort()
            for name in sorted(files):
                path = os.path.join(base, name)
                archive.write(path, os.path.join(top, os.path.relpath(path, folder)))
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
