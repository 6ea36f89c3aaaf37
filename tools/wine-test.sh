#!/usr/bin/env bash
# Runs the Windows build under Wine: Tellbud.exe, the handset control DLL and the test driver, in
# a 32-bit prefix of its own under build/wine, on an Xvfb display. Installs Wine and Xvfb when
# they are missing. Usage: tools/wine-test.sh [GTEST_FILTER]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bin=$root/build/windows
results=$root/build/wine/results
export WINEPREFIX=$root/build/wine/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

echo "=== wine: build the Windows targets"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tellbud TellbudHandset tellbud_wine_tests

# A 32-bit prefix runs 32-bit x86 code on the host; some kernels (virtual machines without
# IA-32 emulation) cannot, and no package changes that.
if ! tools/can-run-i386.py; then
  echo "=== wine: SKIPPED, this machine's kernel does not run 32-bit x86 programs, so a 32-bit"
  echo "=== wine: Wine prefix cannot start here; the Windows targets were built but not run"
  exit 0
fi

need=()
command -v wine >/dev/null || need+=(wine wine32:i386)
command -v xvfb-run >/dev/null || need+=(xvfb)
if ((${#need[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  echo "=== wine: installing ${need[*]}"
  if ! { "${sudo_cmd[@]}" dpkg --add-architecture i386 && "${sudo_cmd[@]}" apt-get update -qq &&
         DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${need[@]}" >/dev/null; }; then
    echo "=== wine: SKIPPED, apt-get could not install ${need[*]} on this machine"
    exit 0
  fi
fi

mkdir -p "$results" "$(dirname "$WINEPREFIX")"
rm -f "$results"/*.bmp "$results"/*.png
winpath() { echo "Z:${1//\//\\}"; }
export TELLBUD_BIN_DIR=$(winpath "$bin") TELLBUD_RESULTS_DIR=$(winpath "$results")
export TELLBUD_TESTS_DIR=$(winpath "$bin/tests")
filter=${1:-*}

# Everything runs on one private X display; every step has its own time limit so that a Wine
# that hangs ends the stage with a message instead of the CI job.
xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$filter" <<'INNER'
set -uo pipefail
step() {  # step SECONDS NAME COMMAND...
  local limit=$1 name=$2; shift 2
  timeout --kill-after=10 "$limit" "$@"
  local rc=$?
  if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then echo "=== wine: $name did not finish within ${limit}s"; fi
  return $rc
}
rc=0
echo "=== wine: prefix $WINEPREFIX"
step 300 "the prefix's start (wineboot)" wineboot -i || { echo "=== wine: the prefix did not boot"; rc=1; }
if [ $rc -eq 0 ]; then
  step 120 "regsvr32" wine regsvr32 /s "$TELLBUD_TESTS_DIR\\TellbudHandset.dll" ||
    { echo "=== wine: regsvr32 TellbudHandset.dll failed"; rc=1; }
fi
if [ $rc -eq 0 ]; then
  step 900 "the Windows tests" wine "$TELLBUD_TESTS_DIR\\tellbud_wine_tests.exe" --gtest_filter="$1" || rc=1
fi
wineserver -k 2>/dev/null || true
exit $rc
INNER
rc=$?
if [ -f "$results/startup.bmp" ]; then
  python3 tools/bmp-to-png.py "$results/startup.bmp" "$results/startup.png" || rc=1
fi
exit $rc
