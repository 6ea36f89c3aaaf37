#!/usr/bin/env bash
# Runs one scenario script under tellbud-sim with a private rendezvous folder of its own, so
# scenarios running side by side never meet, and returns tellbud-sim's exit code.
set -u
sim="$1"
script="$2"
runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
TELLBUD_SIM_RUNTIME_DIR="$runtime" "$sim" "$script"
