#!/usr/bin/env bash
# The same script gives the same transcript, byte for byte, also where the clock moves on by
# itself while the world waits for a busy Tellbud (the busy-*.tbs scenarios).
set -euo pipefail
sim="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export TELLBUD_SIM_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$TELLBUD_SIM_RUNTIME_DIR"
for script in "$here"/busy-*.tbs; do
  for run in 1 2; do
    "$sim" "$script" >"$work/$run.out" 2>&1 || true
  done
  if grep -q "not part of this build" "$work/1.out"; then
    echo "skipped: Tellbud is not part of this build"
    exit 77
  fi
  if ! cmp -s "$work/1.out" "$work/2.out"; then
    echo "FAIL: $(basename "$script") printed different transcripts:" >&2
    diff "$work/1.out" "$work/2.out" >&2 || true
    exit 1
  fi
done
echo "ok"
