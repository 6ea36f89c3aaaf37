#!/usr/bin/env bash
# Runs the Windows tests under Wine: Tellbud.exe, the handset control DLL and the test programs.
# The 64-bit build (preset windows64) runs in a 64-bit prefix under Debian's 64-bit loader on
# every machine; the 32-bit build we ship (preset windows) runs in a 32-bit prefix too where the
# kernel runs 32-bit programs. Each prefix lives under build/wine, on an Xvfb display of its own,
# as a Wine virtual desktop with a task bar. Installs what is missing; a Wine that cannot start
# fails the stage. Usage: tools/wine-test.sh [GTEST_FILTER]; TELLBUD_WINE_ARCHES=x86_64 (or i686)
# runs one build only.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
filter=${1:-*}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}

say() { echo "=== wine: $*"; }

# i386 is the shipped build, run where the kernel allows.
arches=(x86_64)
if tools/can-run-i386.py >/dev/null 2>&1; then
  arches+=(i686)
else
  say "32-bit build not run: this machine's kernel does not run 32-bit x86 programs (tools/can-run-i386.py)"
fi

need=()
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
[[ " ${arches[*]} " == *" i686 "* && ! -x /usr/lib/wine/wine ]] && need+=(wine32:i386)
command -v xvfb-run >/dev/null || need+=(xvfb xauth)
[ -f /usr/share/wine/fonts/marlett.ttf ] || need+=(fonts-wine)
if ((${#need[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  say "installing ${need[*]}"
  [[ " ${need[*]} " == *":i386 "* ]] && "${sudo_cmd[@]}" dpkg --add-architecture i386
  if ! { "${sudo_cmd[@]}" apt-get update -qq &&
         DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${need[@]}" >/dev/null; }; then
    say "FAILED: apt-get could not install ${need[*]}"
    exit 1
  fi
fi

rc=0
for arch in ${TELLBUD_WINE_ARCHES:-${arches[@]}}; do
  if [ "$arch" = x86_64 ]; then
    preset=windows64 winearch=win64 loader=/usr/lib/wine/wine64 name=win64
  else
    preset=windows winearch=win32 loader=/usr/lib/wine/wine name=win32
  fi
  say "$name: build ($preset)"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Tellbud TellbudHandset msnmsgr TellbudMessenger windows_tests
  results=$root/build/wine/results/$name
  mkdir -p "$results"
  rm -f "$results"/*.bmp "$results"/*.png
  say "$name: prefix build/wine/$name, loader $loader"
  if ! WINEPREFIX=$root/build/wine/$name WINEARCH=$winearch WINELOADER=$loader \
       BIN=$root/build/$preset RESULTS=$results \
       xvfb-run -a -s "-screen 0 1024x768x24" tools/wine-stage.sh "$filter"; then
    say "$name: FAILED"
    rc=1
  fi
  for bmp in "$results"/*.bmp; do
    [ -e "$bmp" ] || continue
    python3 tools/bmp-to-png.py "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp" || rc=1
  done
done
[ $rc -eq 0 ] && say "passed (${TELLBUD_WINE_ARCHES:-${arches[*]}})"
exit $rc
