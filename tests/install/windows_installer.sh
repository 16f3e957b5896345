#!/usr/bin/env bash
# The Windows installer under Wine: a silent per-user install puts the program, its
# start-menu entry and its uninstall entry in place, the installed program starts, and the
# silent uninstall removes all of it but the user's stored values.
# Usage: windows_installer.sh SETUP_EXE VERSION (in the Wine prefix of scripts/test-windows)
set -euo pipefail
setup="$1" version="$2"
fail() { echo "FAIL: $*" >&2; exit 1; }
exported="$(mktemp --suffix=.reg)"
trap 'rm -f "$exported"' EXIT

# A folder of the Wine user's profile, by its variable's name, as a Unix path.
user_folder() { winepath -u "$(wine cmd /c "echo %$1%" 2> /dev/null | tr -d '\r')" 2> /dev/null; }
folder="$(user_folder LOCALAPPDATA)/Programs/Somnar Scheduler"
link="$(user_folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Somnar Scheduler.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\SomnarScheduler'
stored_key='HKCU\Software\VB and VBA Program Settings\Verbindung\Values'

wine reg add "$stored_key" /v Userername /d 'Müller €' /f > /dev/null 2>&1
wine "$setup" /S
[[ -f "$folder/somnar-scheduler.exe" ]] || fail "no program in $folder"
[[ -f "$link" ]] || fail "no start-menu entry $link"
wine reg query "$uninstall_key" /v QuietUninstallString 2> /dev/null | grep -q 'uninstall.exe" /S' ||
    fail "no uninstall entry"
answer="$(wine "$folder/somnar-scheduler.exe" --version 2> /dev/null | tr -d '\r')"
[[ "$answer" == "somnar-scheduler $version" ]] || fail "the installed program said '$answer'"

# The uninstaller copies itself away and returns at once: wait for its work.
wine "$folder/uninstall.exe" /S
for _ in $(seq 60); do
    [[ -e "$folder" || -e "$link" ]] || break
    sleep 0.5
done
[[ ! -e "$folder" ]] || fail "the uninstaller left $(ls "$folder")"
[[ ! -e "$link" ]] || fail "the uninstaller left the start-menu entry"
! wine reg query "$uninstall_key" > /dev/null 2>&1 || fail "the uninstall entry is still there"
# reg query answers in the console's code page; the export keeps every character.
wine reg export "$stored_key" "$(winepath -w "$exported")" /y > /dev/null 2>&1 || true
iconv -f UTF-16 -t UTF-8 "$exported" 2> /dev/null | grep -q '"Userername"="Müller €"' ||
    fail "the stored values went with the program"
echo "installed, started and removed; the stored values stayed"
