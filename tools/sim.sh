#!/usr/bin/env bash
# Builds tellbud-sim if needed and runs Tellbud in the simulated world: interactive on a
# terminal, or with a script (default: the example call) when given one or when not on a terminal.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
cmake --preset default -S "$root" >/dev/null
cmake --build --preset default --target tellbud-sim >/dev/null
sim="$root/build/default/world/tellbud-sim"
if [ "$#" -gt 0 ]; then
  exec "$sim" "$@"
elif [ -t 0 ]; then
  exec "$sim"
else
  exec "$sim" "$root/examples/incoming-call.tbs"
fi
