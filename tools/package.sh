#!/usr/bin/env bash
# Builds the Windows packages into build/package and checks their contents:
#   Tellbud-VERSION-setup.exe      the installer of the 32-bit program, the one we ship
#   Tellbud-VERSION.zip            the same program folder, to unpack
#   Tellbud-VERSION-x64-setup.exe  the installer of the 64-bit test build, which the package
#                                  test runs where the kernel refuses 32-bit programs
# Installs NSIS, 7-Zip and the 64-bit cross compiler when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/package
version=$(sed -n 's/^project(Tellbud VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "=== package: no version in CMakeLists.txt"; exit 1; }

need=()
command -v makensis >/dev/null || need+=(nsis)
command -v 7z >/dev/null || need+=(p7zip-full)
command -v x86_64-w64-mingw32-g++ >/dev/null || need+=(g++-mingw-w64-x86-64)
if ((${#need[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  echo "=== package: installing ${need[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${need[@]}" >/dev/null
fi

mkdir -p "$out"
# package PRESET NSIS_TARGET SETUP_NAME
package() {
  local preset=$1 target=$2 setup=$out/$3 stage=$out/stage-$1
  echo "=== package: $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Tellbud
  # The program's folder from the install rules: the data files come from their sources, never
  # from a build folder a test run has written in.
  rm -rf "$stage"
  cmake --install "build/$preset" --prefix "$stage" >/dev/null
  echo "=== package: $(basename "$setup")"
  makensis -V2 -WX -DVERSION="$version" -DTARGET="$target" -DSTAGE="$stage" \
    -DICON="$root/res/icons/tellbud.ico" -DOUTFILE="$setup" installer/tellbud.nsi
}

package windows x86-unicode "Tellbud-$version-setup.exe"
package windows64 amd64-unicode "Tellbud-$version-x64-setup.exe"

echo "=== package: Tellbud-$version.zip"
zip=$out/Tellbud-$version.zip
rm -f "$zip"
python3 tools/make-zip.py "$out/stage-windows" Tellbud "$zip"

python3 tools/check-package.py "$version" "$out"
