#!/usr/bin/env bash
# One package under Wine, as a user meets it: install silently into a folder that already holds a
# hand-edited Tellbud.ini, start Tellbud from the installed folder, change settings, upgrade over
# the running program, meet a Tellbud that does not end and a Tellbud.exe held open, remove it
# while it runs, remove through the dialogs with the settings, install through the dialogs.
# Run by tools/package-test.sh on an X display of its own, with the environment:
#   WINE (the loader), WINESERVER, WINEPREFIX, WINEARCH, SETUP (the setup's Unix path),
#   STAGE (the program's folder the setup was built from), PROBE (the probe's Unix path),
#   VERSION, LABEL, WORK (a folder for logs and expected files)
set -uo pipefail

say() { echo "=== package-test [$LABEL]: $*"; }
fail() {
  say "FAILED: $*"
  "$WINESERVER" -k 2>/dev/null
  exit 1
}
# step SECONDS NAME COMMAND...: runs COMMAND with a time limit; its exit code is the result.
step() {
  local limit=$1 name=$2
  shift 2
  timeout --kill-after=10 "$limit" "$@"
  local rc=$?
  if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then say "$name did not finish within ${limit}s"; fi
  return $rc
}
probe() { step $((${!#} + 30)) "probe $1" "$WINE" "$PROBE" "$@"; }  # the last argument: seconds
setup() { step 180 "setup" "$WINE" "$SETUP" /S; }
unix_path() { step 60 winepath "$WINE" winepath -u "$1" | tr -d '\r'; }
windows_env() { step 60 cmd "$WINE" cmd /c echo "%$1%" | tr -d '\r'; }

key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tellbud'
reg_value() {  # reg_value KEY NAME: the value's data, or nothing
  step 60 "reg query" "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
expect_entry() {  # expect_entry NAME VALUE: the uninstall entry's value NAME is VALUE
  local actual
  actual=$(reg_value "$key" "$1")
  [ "$actual" = "$2" ] || fail "the uninstall entry's $1 is '$actual', not '$2'"
}
same() { cmp -s "$1" "$2"; }
program_files=(Tellbud.exe ok.ico nophone.ico nodevice.ico)
settings_files=(Tellbud.ini Custom.ini Language/English.ini Language/German.ini Language/French.ini)

# Tellbud started from the installed folder, in the background; its output goes to a log.
start_tellbud() {
  "$WINE" "$win_dir\\Tellbud.exe" >>"$WORK/tellbud.log" 2>&1 &
  probe running 60 || fail "Tellbud started from $win_dir showed no visible window with its tray icon"
}
# A listing with checksums of the installed folder and the uninstall entry: what a stopped setup
# or removal must leave as it was.
snapshot() {
  (cd "$dir" && find . -type f -print0 | sort -z | xargs -0 sha256sum)
  step 60 "reg query" "$WINE" reg query "$key" | tr -d '\r' | sort
}
read_only() { step 60 attrib "$WINE" cmd /c attrib "$1" | tr -d '\r' | grep -q '^ *[A-Z ]*R[A-Z ]* '; }

say "prefix $WINEPREFIX"
step 300 "the prefix's start (wineboot)" "$WINE" wineboot -i >/dev/null 2>&1 || fail "the Wine prefix did not start"
local_app_data=$(windows_env LOCALAPPDATA)
[ -n "$local_app_data" ] || fail "Wine does not run programs here (no %LOCALAPPDATA%)"
win_dir="$local_app_data\\Programs\\Tellbud"
dir=$(unix_path "$win_dir")
start_menu=$(unix_path "$(windows_env APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")
startup=$(unix_path "$(reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' StartUp)")
[ -n "$dir" ] && [ -n "$start_menu" ] && [ -n "$startup" ] || fail "the prefix's folders are unknown"
# A kept prefix starts without Tellbud.
rm -rf "$dir" "$start_menu/Tellbud.lnk" "$startup/Tellbud.lnk" "$WORK/expected"
step 60 "reg delete" "$WINE" reg delete "$key" /f >/dev/null 2>&1
mkdir -p "$WORK/expected/Language"

say "install into a folder that holds a hand-edited Tellbud.ini"
mkdir -p "$dir"
sed 's/^RingType=0/RingType=7/' "$STAGE/Tellbud.ini" >"$dir/Tellbud.ini"
printf '; edited by hand\r\n' >>"$dir/Tellbud.ini"
cp "$dir/Tellbud.ini" "$WORK/expected/Tellbud.ini"
setup || fail "setup /S ended with $?"
for f in "${program_files[@]}"; do
  same "$STAGE/$f" "$dir/$f" || fail "$f is not installed as packaged"
done
for f in Language/English.ini Language/German.ini Language/French.ini; do
  same "$STAGE/$f" "$dir/$f" || fail "$f is not installed as packaged"
done
same "$WORK/expected/Tellbud.ini" "$dir/Tellbud.ini" || fail "setup overwrote the hand-edited Tellbud.ini"
[ -f "$dir/Custom.ini" ] && [ ! -s "$dir/Custom.ini" ] || fail "no empty Custom.ini"
[ -f "$dir/Uninstall.exe" ] || fail "no Uninstall.exe"
[ -f "$start_menu/Tellbud.lnk" ] || fail "no Start-menu shortcut in $start_menu"
python3 - "$dir/Tellbud.lnk" "$win_dir\\Tellbud.exe" <<'EOF' || fail "Tellbud.lnk does not name the installed Tellbud.exe"
import sys
data = open(sys.argv[1], "rb").read().lower()
target = sys.argv[2].lower()
sys.exit(0 if target.encode("utf-16-le") in data or target.encode("latin-1") in data else 1)
EOF
expect_entry DisplayName Tellbud
expect_entry DisplayVersion "$VERSION"
expect_entry DisplayIcon "$win_dir\\Tellbud.exe,0"
expect_entry UninstallString "\"$win_dir\\Uninstall.exe\""
expect_entry QuietUninstallString "\"$win_dir\\Uninstall.exe\" /S"
quiet=$(reg_value "$key" QuietUninstallString)

say "start Tellbud from the installed folder"
start_tellbud

say "change settings as a user does; switch AutoRun on"
sed -i 's/^RingType=7/RingType=3/' "$dir/Tellbud.ini"
printf '[CustomName]\r\nbob@example.com="Bobby"\r\n[SpeedDialNumber]\r\nbob@example.com="12"\r\n' >>"$dir/Custom.ini"
printf '; a phrase of my own\r\n' >>"$dir/Language/English.ini"
step 60 attrib "$WINE" cmd /c attrib +r "$win_dir\\Language\\German.ini" >/dev/null
read_only "$win_dir\\Language\\German.ini" || fail "German.ini could not be made read-only"
for f in "${settings_files[@]}"; do cp "$dir/$f" "$WORK/expected/$f"; done
cp "$dir/Tellbud.lnk" "$startup/Tellbud.lnk"
rm "$dir/ok.ico"

say "upgrade while Tellbud runs"
setup || fail "setup /S over the running Tellbud ended with $?"
probe gone 5 || fail "Tellbud still runs after the upgrade"
for f in "${settings_files[@]}"; do
  same "$WORK/expected/$f" "$dir/$f" || fail "the upgrade changed $f"
done
read_only "$win_dir\\Language\\German.ini" || fail "the upgrade made German.ini writable"
same "$STAGE/ok.ico" "$dir/ok.ico" || fail "the upgrade did not add the missing ok.ico"
[ -f "$startup/Tellbud.lnk" ] || fail "the upgrade removed the AutoRun shortcut"

say "a Tellbud that does not end on its exit marker"
"$WINE" "$PROBE" stuck 300 >>"$WORK/tellbud.log" 2>&1 &
probe present 30 || fail "the stand-in did not start"
printf 'x' >>"$dir/nophone.ico"
rm "$dir/nodevice.ico"
before=$(snapshot)
started=$(date +%s)
setup
rc=$?
[ $rc -eq 3 ] || fail "setup ended with $rc, not 3, while Tellbud did not end"
waited=$(($(date +%s) - started))
say "setup gave up after $waited s"
[ $waited -le 60 ] || fail "setup waited $waited s for a Tellbud that does not end"
[ "$(snapshot)" = "$before" ] || fail "setup changed the folder or the entry although it stopped"
step 180 "removal" "$WINE" "$dir/Uninstall.exe" /S "_?=$win_dir"
rc=$?
[ $rc -eq 3 ] || fail "the removal ended with $rc, not 3, while Tellbud did not end"
[ "$(snapshot)" = "$before" ] || fail "the removal changed the folder or the entry although it stopped"
probe release 10 || fail "the stand-in did not end"
setup || fail "setup /S after the stand-in ended with $?"
same "$STAGE/nophone.ico" "$dir/nophone.ico" && same "$STAGE/nodevice.ico" "$dir/nodevice.ico" ||
  fail "setup did not repair the program files"

say "Tellbud.exe held by a process that is no Tellbud"
cp "$PROBE" "$dir/Tellbud.exe"
"$WINE" "$win_dir\\Tellbud.exe" hold 120 >"$WORK/hold.log" 2>&1 &
holder=$!
for _ in $(seq 120); do grep -q holding "$WORK/hold.log" && break; sleep 0.5; done
grep -q holding "$WORK/hold.log" || fail "the holding process did not start"
before=$(snapshot)
setup
rc=$?
[ $rc -eq 3 ] || fail "setup ended with $rc, not 3, while Tellbud.exe was in use"
[ "$(snapshot)" = "$before" ] || fail "setup changed the folder or the entry although Tellbud.exe was in use"
kill "$holder"
wait "$holder" 2>/dev/null
probe gone 5 >/dev/null
setup || fail "setup /S after Tellbud.exe was free again ended with $?"
same "$STAGE/Tellbud.exe" "$dir/Tellbud.exe" || fail "setup did not replace Tellbud.exe"

say "remove while Tellbud runs, with the entry's quiet command"
start_tellbud
uninstaller=${quiet#\"}
uninstaller=${uninstaller%%\"*}
step 180 "removal" "$WINE" "$uninstaller" ${quiet##*\" } || fail "the quiet removal ended with $?"
# The removal goes on in a copy of the uninstaller that the first one started.
for _ in $(seq 120); do
  [ -e "$dir/Uninstall.exe" ] || [ -n "$(reg_value "$key" DisplayName)" ] || break
  sleep 0.5
done
[ -e "$dir/Uninstall.exe" ] && fail "Uninstall.exe is still there 60 s later"
[ -n "$(reg_value "$key" DisplayName)" ] && fail "the uninstall entry is still there"
probe gone 5 || fail "Tellbud still runs after the removal"
for f in "${program_files[@]}" Tellbud.lnk; do
  [ -e "$dir/$f" ] && fail "the removal left $f"
done
[ -e "$start_menu/Tellbud.lnk" ] && fail "the removal left the Start-menu shortcut"
[ -e "$startup/Tellbud.lnk" ] && fail "the removal left the AutoRun shortcut in $startup"
for f in "${settings_files[@]}"; do
  same "$WORK/expected/$f" "$dir/$f" || fail "the silent removal did not keep $f as it was"
done
read_only "$win_dir\\Language\\German.ini" || fail "the removal made German.ini writable"

say "install again over the kept settings, then remove through the dialogs, settings too"
setup || fail "setup /S over the kept settings ended with $?"
for f in "${settings_files[@]}"; do
  same "$WORK/expected/$f" "$dir/$f" || fail "setup over the kept settings changed $f"
done
expect_entry UninstallString "\"$win_dir\\Uninstall.exe\""
uninstall=$(reg_value "$key" UninstallString)
"$WINE" "${uninstall//\"/}" >>"$WORK/tellbud.log" 2>&1 &
probe click "&Uninstall" 60 || fail "the removal showed no Uninstall button"
probe click "&No" 60 || fail "the removal did not ask whether to keep the settings"
probe click "&Close" 60 || fail "the removal did not end with its Close button"
for f in Tellbud.ini Custom.ini Language/English.ini Language/French.ini Uninstall.exe; do
  [ -e "$dir/$f" ] && fail "the removal asked to delete the settings left $f"
done
same "$WORK/expected/Language/German.ini" "$dir/Language/German.ini" ||
  fail "the removal deleted or changed the read-only German.ini"

say "install through the dialogs; the last page starts Tellbud"
"$WINE" "$SETUP" >>"$WORK/tellbud.log" 2>&1 &
probe click "&Install" 60 || fail "setup showed no Install button"
probe click "&Finish" 120 || fail "setup did not end with its Finish button"
probe running 60 || fail "Tellbud did not start from setup's last page"
same "$STAGE/Tellbud.ini" "$dir/Tellbud.ini" || fail "setup did not add the missing Tellbud.ini"

"$WINESERVER" -k 2>/dev/null
say "passed"
