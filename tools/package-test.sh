#!/usr/bin/env bash
# Builds the Windows packages (tools/package.sh), then installs, upgrades and removes them under
# Wine (tests/package/scenario.sh): the 64-bit package in a 64-bit prefix everywhere, and the
# 32-bit one, the package we ship, in a 32-bit prefix where the kernel runs 32-bit programs.
# Each in a prefix of its own under build/package-test, on an Xvfb display of its own. Installs
# Wine and Xvfb when they are missing. A Wine that cannot run fails the stage.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=$root/build/package-test
version=$(sed -n 's/^project(Tellbud VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
started=$(date +%s)

tools/package.sh

i386=no
tools/can-run-i386.py >/dev/null && i386=yes
wine64=/usr/lib/wine/wine64
need=()
[ -x "$wine64" ] || need+=(wine64)
command -v xvfb-run >/dev/null || need+=(xvfb)
if [ $i386 = yes ] && ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  need+=(wine wine32:i386)
fi
if ((${#need[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  echo "=== package-test: installing ${need[*]}"
  [ $i386 = yes ] && "${sudo_cmd[@]}" dpkg --add-architecture i386
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${need[@]}" >/dev/null
fi

mkdir -p "$work"
echo "=== package-test: the probe"
x86_64-w64-mingw32-g++ -std=c++20 -O2 -Wall -Wextra -Werror -municode -static -I"$root" \
  -o "$work/probe-x64.exe" tests/package/probe.cpp
if [ $i386 = yes ]; then
  i686-w64-mingw32-g++ -std=c++20 -O2 -Wall -Wextra -Werror -municode -static -I"$root" \
    -o "$work/probe-x86.exe" tests/package/probe.cpp
fi

export WINEDEBUG=-all VERSION=$version
# No Mono or Gecko prompts, and no menu entries on the host for the shortcuts setup creates.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# scenario LABEL LOADER WINESERVER WINEARCH SETUP STAGE PROBE
scenario() {
  local label=$1 begun=$(date +%s) rc=0
  mkdir -p "$work/$label"
  env LABEL="$label" WINE="$2" WINESERVER="$3" WINEARCH="$4" WINEPREFIX="$work/$label/prefix" \
    SETUP="$root/build/package/$5" STAGE="$root/build/package/$6" PROBE="$work/$7" WORK="$work/$label" \
    timeout --kill-after=30 1200 xvfb-run -a -s "-screen 0 1024x768x24" tests/package/scenario.sh || rc=$?
  [ $rc -eq 124 ] && echo "=== package-test [$label]: did not finish within 1200 s"
  echo "=== package-test [$label]: $(($(date +%s) - begun)) s"
  return $rc
}

rc=0
scenario x64 "$wine64" /usr/lib/wine/wineserver win64 "Tellbud-$version-x64-setup.exe" stage-windows64 probe-x64.exe || rc=1
if [ $i386 = yes ]; then
  scenario x86 wine wineserver win32 "Tellbud-$version-setup.exe" stage-windows probe-x86.exe || rc=1
else
  echo "=== package-test: this kernel does not run 32-bit programs: the 32-bit setup was built and its"
  echo "=== package-test: contents checked, but it was not run here"
fi
echo "=== package-test: $([ $rc -eq 0 ] && echo passed || echo FAILED) in $(($(date +%s) - started)) s"
exit $rc
