#!/usr/bin/env bash
# Runs one scenario script under tellbud-sim with a private rendezvous folder of its own, so
# scenarios running side by side never meet, and returns tellbud-sim's exit code; 77 (skipped)
# when the script needs the program and this build does not have it.
set -u
sim="$1"
script="$2"
runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
TELLBUD_SIM_RUNTIME_DIR="$runtime" "$sim" "$script" 2>"$runtime/errors"
code=$?
cat "$runtime/errors" >&2
if [ "$code" -ne 0 ] && grep -q "Tellbud is not part of this build" "$runtime/errors"; then
  echo "skipped: Tellbud is not part of this build"
  exit 77
fi
exit "$code"
