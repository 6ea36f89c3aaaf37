#!/usr/bin/env bash
# Several tellbud-sim processes of one user on one desktop: Tellbud started in another one finds
# the first one's Tellbud and shows its window, even when hidden; started with "*exit*" it ends
# the first one; "*EXIT*" is no exit marker; "*exit*" with nothing running does nothing. A script
# meets the others only on a desktop it names; standard input joins the default one.
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
  echo "--- the others:" >&2
  cat "$work/others.out" >&2 || true
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

# Runs a tellbud-sim of its own with the commands on standard input, appending its transcript to
# $work/others.out and leaving this run's transcript in $work/last.out.
other() {
  "$sim" --dir "$work/dir" >"$work/last.out" 2>&1 || fail "another tellbud-sim failed: $(cat "$work/last.out")"
  cat "$work/last.out" >>"$work/others.out"
}
# Fails when this run's Tellbud did more than start and end.
ended_quietly() {
  grep -q "process Tellbud.exe ended (exit code 0)" "$work/last.out" || fail "$1: Tellbud kept running: $(cat "$work/last.out")"
  if grep -q "tray add" "$work/last.out"; then fail "$1: a tray icon was added"; fi
  if [ -e "$work/dir/Custom.ini" ]; then fail "$1: Tellbud went on to the settings files"; fi
}

# The second start finds the running Tellbud and brings its hidden window back to the front,
# without touching the settings files (the custom file would be created again).
rm "$work/dir/Custom.ini"
printf 'start\nwait 3s\n' | other
ended_quietly "a second start"
wait_for "window \"Tellbud<1.0>\" shown" 2
wait_for "window \"Tellbud<1.0>\" foreground" 2

# Whom a process meets: a script file runs on a private desktop unless it names one; standard
# input joins the default desktop unless another is named.
printf 'start\nwait 1s\n' >"$work/start.tbs"
alone() {
  "$@" >"$work/last.out" 2>&1 || fail "a tellbud-sim on a desktop of its own failed: $(cat "$work/last.out")"
  grep -q "tray add" "$work/last.out" || fail "$* met the running Tellbud: $(cat "$work/last.out")"
}
alone "$sim" --dir "$work/alone1" "$work/start.tbs"
alone "$sim" --dir "$work/alone2" --desktop elsewhere "$work/start.tbs"
alone "$sim" --dir "$work/alone3" --desktop elsewhere <"$work/start.tbs"
echo "window close" >&3
wait_for "window \"Tellbud<1.0>\" hidden" 2
"$sim" --dir "$work/dir" --desktop default "$work/start.tbs" >"$work/last.out" 2>&1 || fail "a script on the default desktop failed"
cat "$work/last.out" >>"$work/others.out"
ended_quietly "a script on the default desktop"
wait_for "window \"Tellbud<1.0>\" shown" 3
if "$sim" --desktop "../up" "$work/start.tbs" >/dev/null 2>&1; then fail "a desktop name with a slash was taken"; fi

# "*EXIT*" is not the exit marker: it is one more second start.
echo "window close" >&3
wait_for "window \"Tellbud<1.0>\" hidden" 3
printf 'start *EXIT*\nwait 1s\n' | other
ended_quietly "a start with *EXIT*"
wait_for "window \"Tellbud<1.0>\" shown" 4
if grep -q "process Tellbud.exe ended" "$work/first.out"; then fail "*EXIT* ended the running Tellbud"; fi

# "*exit*" ends the running Tellbud through its tear-down.
printf 'start *exit*\nwait 3s\n' | other
ended_quietly "a start with *exit*"
wait_for "tray remove"
wait_for "process Tellbud.exe ended (exit code 0)"

# With nothing running, "*exit*" does nothing at all.
printf 'start *exit*\nwait 1s\nshow\nexpect main window: none\n' | other
ended_quietly "*exit* with nothing running"
echo "quit" >&3
exec 3>&-
wait "$first_pid"
first_pid=""
echo "ok"
