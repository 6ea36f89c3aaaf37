#!/usr/bin/env bash
# Builds and runs every test: the default build, the AddressSanitizer + UndefinedBehaviorSanitizer
# build, and the Windows cross build of Tellbud.exe, whose folder is then checked and which then
# runs under Wine (tools/wine-test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

for preset in default asan; do
  echo "=== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "=== $preset: test"
  ctest --preset "$preset"
done

echo "=== windows: Tellbud.exe"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tellbud
tools/check-windows-exe.py build/windows

echo "=== windows: under Wine"
tools/wine-test.sh
