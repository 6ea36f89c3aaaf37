#!/usr/bin/env bash
# tellbud-sim's executable folder: --dir DIR is created, filled and kept (with the user's edits);
# without --dir a temporary folder is used and removed at exit.
set -euo pipefail
sim="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export TELLBUD_SIM_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$TELLBUD_SIM_RUNTIME_DIR"
fail() { echo "FAIL: $*" >&2; exit 1; }

# An existing DIR is used and kept; the user's edits survive the next run.
printf 'ini Tellbud.ini OPTION RingType 4\n' | "$sim" --dir "$work/dir"
[ -f "$work/dir/Language/German.ini" ] || fail "DIR was not filled"
[ -d "$work/dir/Startup" ] || fail "DIR has no Startup folder"
printf 'cat Tellbud.ini\nexpect RingType=4\n' | "$sim" --dir "$work/dir" >/dev/null || fail "the edit was lost"

# Without --dir a fresh temporary copy is used, and nothing is left behind.
mkdir "$work/tmp"
printf 'cat Tellbud.ini\nexpect [OPTION]\n' | TMPDIR="$work/tmp" "$sim" >/dev/null || fail "no data files"
[ -z "$(ls -A "$work/tmp")" ] || fail "the temporary folder was left behind: $(ls -A "$work/tmp")"
printf 'frobnicate\n' | TMPDIR="$work/tmp" "$sim" >/dev/null 2>&1 && fail "a bad command exited with 0"
[ -z "$(ls -A "$work/tmp")" ] || fail "the temporary folder was left behind after an error"

# Exit codes: 1 for a failed expect, 2 for a bad command, with file and line.
printf 'wait 1s\nexpect nothing of that kind\n' > "$work/failing.tbs"
set +e
"$sim" "$work/failing.tbs" 2>"$work/err" >/dev/null
code=$?
set -e
[ "$code" -eq 1 ] || fail "a failed expect exited with $code"
grep -q "failing.tbs:2:" "$work/err" || fail "the message does not name the line: $(cat "$work/err")"
set +e
"$sim" --bogus >/dev/null 2>&1
code=$?
set -e
[ "$code" -eq 2 ] || fail "a bad option exited with $code"
echo "ok"
