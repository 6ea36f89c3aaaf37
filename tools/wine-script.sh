#!/usr/bin/env bash
# Runs one tellbud-sim script against the real Tellbud.exe under Wine with the Windows script
# driver (tests/wine/script_driver.h), in real time, as tools/wine-test.sh runs the Windows tests:
# the 64-bit build in its prefix under build/wine. Lines marked [sim] are skipped; the transcript
# and, on a failure, the script's line and what the driver saw are printed.
# Usage: tools/wine-script.sh FILE.tbs
set -euo pipefail
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: tools/wine-script.sh FILE.tbs" >&2
  exit 2
fi
file=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
cd "$(dirname "$0")/.."
export TELLBUD_SCRIPT="Z:${file//\//\\}" TELLBUD_WINE_PLATFORM_TESTS=0
TELLBUD_WINE_ARCHES=${TELLBUD_WINE_ARCHES:-x86_64} exec tools/wine-test.sh 'ScriptFile.FromEnvironment'
