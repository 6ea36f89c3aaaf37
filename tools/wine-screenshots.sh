#!/usr/bin/env bash
# Regenerates the pictures of Tellbud's windows on Wine (main window, tray menu, About, Option,
# Select language, the desktop) by running the Windows tests that take them; the stage converts
# them to PNG in build/wine/results/<prefix>/ and fails on a blank one. The main window and the
# Option dialog are then copied to docs/ for the README (from the 32-bit build where it ran).
# Usage: tools/wine-screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/wine-test.sh 'WineStartUp.WindowColumnsFilesAndScreenshots:WineTray.DoubleClick*:WineTray.About*:WineDialogs.Option*:WineDialogs.SelectLanguage*'
results=build/wine/results/win32
[ -f "$results/option.png" ] || results=build/wine/results/win64
for picture in main-window option; do
  cp "$results/$picture.png" "docs/wine-$picture.png"
  echo "docs/wine-$picture.png from $results"
done
