#!/usr/bin/env bash
# Two tellbud-sim processes of one user on one desktop: Tellbud started in the second finds the
# first one's Tellbud and shows its window; started with "*exit*" it ends the first one.
set -euo pipefail
sim="$1"
work="$(mktemp -d)"
first_pid=""
cleanup() {
  exec 3>&- 2>/dev/null || true
  if [ -n "$first_pid" ]; then wait "$first_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
export TELLBUD_SIM_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$TELLBUD_SIM_RUNTIME_DIR"
fail() {
  echo "FAIL: $*" >&2
  echo "--- first tellbud-sim:" >&2
  cat "$work/first.out" >&2 || true
  exit 1
}

# Waits until the first process has printed a line containing $1 at least $2 times (default 1);
# the two processes run in real time.
wait_for() {
  local want="${2:-1}"
  for _ in $(seq 1 100); do
    [ "$(grep -cF -- "$1" "$work/first.out")" -ge "$want" ] && return 0
    sleep 0.1
  done
  fail "the first tellbud-sim printed '$1' fewer than $want times"
}

probe="$(printf 'start\n' | "$sim" --dir "$work/probe" 2>&1 || true)"
if grep -q "not part of this build" <<<"$probe"; then
  echo "skipped: Tellbud is not part of this build"
  exit 77
fi

# The first tellbud-sim reads its commands from a pipe we keep open, so it waits and serves.
mkfifo "$work/commands"
"$sim" --dir "$work/dir" <"$work/commands" >"$work/first.out" 2>&1 &
first_pid=$!
exec 3>"$work/commands"
echo "start" >&3
echo "wait 3s" >&3
wait_for "tray add"
wait_for "window \"Tellbud<1.0>\" shown"
echo "window close" >&3
echo "wait 1s" >&3
wait_for "window \"Tellbud<1.0>\" hidden"

# The second start finds the running Tellbud and brings its window back.
"$sim" --dir "$work/dir" >"$work/second.out" 2>&1 <<'SCRIPT' || fail "the second tellbud-sim failed: $(cat "$work/second.out")"
start
wait 3s
SCRIPT
grep -q "process Tellbud.exe ended" "$work/second.out" || fail "the second Tellbud kept running: $(cat "$work/second.out")"
if grep -q "tray add" "$work/second.out"; then fail "the second Tellbud added a tray icon"; fi
wait_for "window \"Tellbud<1.0>\" shown" 2

# "*exit*" ends the running Tellbud.
"$sim" --dir "$work/dir" >>"$work/second.out" 2>&1 <<'SCRIPT' || fail "the third tellbud-sim failed"
start *exit*
wait 3s
SCRIPT
wait_for "process Tellbud.exe ended (exit code 0)"
echo "quit" >&3
exec 3>&-
wait "$first_pid"
first_pid=""
echo "ok"
