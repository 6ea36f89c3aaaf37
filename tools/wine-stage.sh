#!/usr/bin/env bash
# One Wine prefix's run, on the X display tools/wine-test.sh gives it: boot the prefix, make it a
# virtual desktop with Wine's fonts, register the handset control and Messenger DLLs, run the
# test programs.
# Every step has its own time limit, so a Wine that hangs ends the stage with a message.
# Environment: WINEPREFIX, WINEARCH, WINELOADER (the loader to run), BIN (the preset's build
# folder), RESULTS (where screenshots go), TELLBUD_SCRIPT (a script for ScriptFile.FromEnvironment).
# Argument: the GoogleTest filter.
set -uo pipefail
filter=${1:-*}
# No .NET, no HTML engine, no sound system: the tests need none of them.
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv="
winpath() { echo "Z:${1//\//\\}"; }
export TELLBUD_BIN_DIR=$(winpath "$BIN") TELLBUD_RESULTS_DIR=$(winpath "$RESULTS")
# The scripts the script driver runs (tests/scenarios); TELLBUD_SCRIPT, when set, names one more.
TELLBUD_SCRIPTS_DIR=$(winpath "$(cd "$(dirname "$0")/../tests/scenarios" && pwd)")
export TELLBUD_SCRIPTS_DIR
tests=$BIN/tests
name=$(basename "$WINEPREFIX")

say() { echo "=== wine: $name: $*"; }
step() {  # step SECONDS WHAT COMMAND...: fails with a message when COMMAND fails or overruns
  local limit=$1 what=$2
  shift 2
  local start=$SECONDS
  timeout --kill-after=10 "$limit" "$@"
  local rc=$?
  if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then
    say "$what did not finish within ${limit}s"
  elif [ $rc -ne 0 ]; then
    say "$what failed (exit code $rc)"
  else
    say "$what: $((SECONDS - start))s"
  fi
  return $rc
}
wine() { "$WINELOADER" "$@"; }
finish() { timeout 30 wineserver -k >/dev/null 2>&1; exit "$1"; }

[ -x "$WINELOADER" ] || { say "no Wine loader $WINELOADER"; exit 1; }
step 300 "boot (wineboot)" wine wineboot -i || finish 1
# Wine's own fonts (title-bar buttons, MS Sans Serif, Tahoma) where programs look for them.
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
# Every window on one virtual desktop with a task bar: the notification icons sit at its right
# end, apart from the windows, as on a Windows desktop.
step 60 "virtual desktop setting" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
  >/dev/null || finish 1
step 60 "virtual desktop size" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
  >/dev/null || finish 1
# The desktop that wineboot started ends, so that the next program starts the virtual one.
timeout 30 wineserver -k
step 60 "the boot desktop's end" wineserver -w || finish 1
# The loader's own regsvr32 writes the registry view of its bitness.
step 120 "regsvr32 TellbudHandset.dll" wine regsvr32 /s "$(winpath "$tests/TellbudHandset.dll")" || finish 1
# Messenger's class, forwarding to msnmsgr.exe beside it, which the tests start themselves.
step 120 "regsvr32 TellbudMessenger.dll" wine regsvr32 /s "$(winpath "$tests/TellbudMessenger.dll")" || finish 1

rc=0
# The Windows tests run in real time on a desktop Wine shares with the X server, where a click or
# a key can now and then arrive before a window is ready. Tests that fail run once more, alone;
# the log names each one that needed it, and a second failure fails the stage.
log=$RESULTS/tellbud_wine_tests.log
if ! step 900 "tellbud_wine_tests" wine "$(winpath "$tests/tellbud_wine_tests.exe")" --gtest_filter="$filter" \
     2>&1 | tee "$log"; then
  # A parameterised test's line goes on with ", where GetParam() = ...".
  failed=$(sed -n 's/^\[  FAILED  \] \([A-Za-z0-9_./]*\)\(, where GetParam() = .*\)\{0,1\} (.*/\1/p' "$log" |
           paste -sd: -)
  if [ -z "$failed" ]; then
    rc=1
  else
    say "again, alone: $failed"
    if step 600 "tellbud_wine_tests (second try)" wine "$(winpath "$tests/tellbud_wine_tests.exe")" \
         --gtest_filter="$failed"; then
      say "FLAKY: passed on the second try: $failed"
    else
      rc=1
    fi
  fi
fi
# TELLBUD_WINE_PLATFORM_TESTS=0 (tools/wine-script.sh) leaves the conformance tests out.
if [ -f "$tests/tellbud_platform_tests.exe" ] && [ "${TELLBUD_WINE_PLATFORM_TESTS:-1}" != 0 ]; then
  step 600 "tellbud_platform_tests" wine "$(winpath "$tests/tellbud_platform_tests.exe")" || rc=1
fi
finish $rc
