#!/usr/bin/env bash
# The Windows installer under Wine: a silent per-user install puts the program, its
# start-menu entry and its uninstall entry in place; the uninstaller refuses while a copy
# that does not end holds the program's mutex, and otherwise ends the running program and
# removes all of it, ip.html included, but the user's stored values.
# Usage: windows_installer.sh SETUP_EXE VERSION STAND_IN_EXE (in the prefix of scripts/test-windows)
set -euo pipefail
setup="$1" version="$2" stand_in="$3"
fail() { echo "FAIL: $*" >&2; exit 1; }
exported="$(mktemp --suffix=.reg)"
stop() { wine taskkill /f /im "$1" > /dev/null 2>&1 || true; }
trap 'rm -f "$exported"; stop "$(basename "$stand_in")"; stop somnar-scheduler.exe' EXIT

# A folder of the Wine user's profile, by its variable's name, as a Unix path.
user_folder() { winepath -u "$(wine cmd /c "echo %$1%" 2> /dev/null | tr -d '\r')" 2> /dev/null; }
folder="$(user_folder LOCALAPPDATA)/Programs/Somnar Scheduler"
link="$(user_folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Somnar Scheduler.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\SomnarScheduler'
stored_key='HKCU\Software\VB and VBA Program Settings\Verbindung\Values'
entry() { wine reg query "$uninstall_key" /v "$1" 2> /dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }
installed=(somnar-scheduler.exe somnar-scheduler.com uninstall.exe)

wine reg add "$stored_key" /v Userername /d 'Müller €' /f > /dev/null 2>&1
wine "$setup" /S
for file in "${installed[@]}"; do [[ -f "$folder/$file" ]] || fail "no $file in $folder"; done
[[ -f "$link" ]] || fail "no start-menu entry $link"
[[ "$(entry QuietUninstallString)" == *'uninstall.exe" /S' ]] || fail "no uninstall entry"
[[ "$(entry Publisher)" == "Somnar Scheduler maintainers" ]] || fail "publisher '$(entry Publisher)'"
bytes="$(cat "${installed[@]/#/$folder/}" | wc -c)" size="$(($(entry EstimatedSize)))"
((size >= bytes / 1024 && size <= bytes / 1024 + 1)) || fail "EstimatedSize $size KiB for $bytes bytes"
answer="$(wine "$folder/somnar-scheduler.exe" --version 2> /dev/null | tr -d '\r')"
[[ "$answer" == "somnar-scheduler $version" ]] || fail "the installed program said '$answer'"
echo x > "$folder/ip.html"

# A copy that stays: run in place (_?=, unquoted, hence through cmd) the uninstaller waits,
# ends with status 2 and keeps everything.
exec {ready}< <(wine "$stand_in" 60 2> /dev/null)
read -r -t 30 -u "$ready" line && [[ "$line" == ready* ]] || fail "the stand-in did not start"
status=0 in_place="$(winepath -w "$folder")"
wine cmd /c "cd /d $in_place && uninstall.exe /S _?=$in_place" || status=$?
((status == 2)) || fail "the uninstaller beside a copy that stays ended with $status"
for file in "${installed[@]}" ip.html; do [[ -f "$folder/$file" ]] || fail "$file went"; done
[[ -f "$link" && -n "$(entry DisplayName)" ]] || fail "the start-menu or uninstall entry went"
stop "$(basename "$stand_in")"

# The program running: the uninstaller ends it. It copies itself away and returns at once.
wine "$folder/somnar-scheduler.exe" > /dev/null 2>&1 &
program=$!
timeout 30 xdotool search --sync --name 'Somnar-Scheduler' > /dev/null || fail "the program shows no window"
wine "$folder/uninstall.exe" /S
for _ in $(seq 60); do
    [[ -e "$folder" || -e "$link" ]] || break
    sleep 0.5
done
! kill -0 "$program" 2> /dev/null || fail "the program still runs"
[[ ! -e "$folder" ]] || fail "the uninstaller left $(ls -A "$folder")"
[[ ! -e "$link" ]] || fail "the uninstaller left the start-menu entry"
! wine reg query "$uninstall_key" > /dev/null 2>&1 || fail "the uninstall entry is still there"
# reg query answers in the console's code page; the export keeps every character.
wine reg export "$stored_key" "$(winepath -w "$exported")" /y > /dev/null 2>&1 || true
iconv -f UTF-16 -t UTF-8 "$exported" 2> /dev/null | grep -q '"Userername"="Müller €"' ||
    fail "the stored values went with the program"
echo "installed, refused beside a copy that stays, ended the program and removed it all but the stored values"
