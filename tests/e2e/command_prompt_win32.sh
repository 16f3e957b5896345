#!/usr/bin/env bash
# The command prompt under Wine: the bare name runs somnar-scheduler.com, cmd waits for it
# and gets its exit status, umlauts arrive intact in a console and in a pipe, and without
# an option the window opens while the prompt comes back.
# Usage: command_prompt_win32.sh PROGRAM_FOLDER VERSION (in the prefix of scripts/test-windows)
set -euo pipefail
cd "$1"
version="$2"
fail() { echo "FAIL: $*" >&2; exit 1; }
trap 'wine taskkill /f /im somnar-scheduler.exe > /dev/null 2>&1 || true' EXIT

# What an interactive cmd prints for one typed line, without its banner and prompts.
# (Wine's "cmd /c" waits even for a window program; a prompt reading its input does not.)
typed() {
    printf '%s\r\n' "$1" | wine cmd 2> /dev/null | tr -d '\r' | sed '1d; s/^[A-Z]:\\[^>]*>//; /^$/d'
}
status='if errorlevel 2 (echo status 2) else if errorlevel 1 (echo status 1) else echo status 0'
expect() {
    local got
    got="$(typed "$1")"
    [[ "$got" == "$2" ]] || fail "'$1' gave:"$'\n'"$got"$'\n'"instead of:"$'\n'"$2"
}

expect "somnar-scheduler --version & echo after" "somnar-scheduler $version"$'\n'"after"
# Wine has no S3: the check misses standby.
expect "somnar-scheduler --check > NUL & $status" "status 1"
expect "somnar-scheduler --version > NUL & $status" "status 0"
expect "somnar-scheduler --bogus 2>&1 & $status" \
    "somnar-scheduler: unbekannte Option „--bogus“."$'\n'"Hilfe: somnar-scheduler --help"$'\n'"status 2"
# In a pipe the bytes are UTF-8.
piped="$(wine cmd /c 'somnar-scheduler --check' 2> /dev/null)" || true  # status 1
grep -qx $'Standby m\xc3\xb6glich (S3): fehlt (kein S3)' <<< "$piped" ||
    fail "the check's first line did not arrive as UTF-8 in a pipe: $piped"
# In a console (Wine's, on a terminal): what the terminal shows, in its UTF-8.
shown="$(script -qec "wine cmd /c 'somnar-scheduler --help'" /dev/null < /dev/null 2> /dev/null)"
grep -q $'^Ohne Option \xc3\xb6ffnet sich das Programmfenster\\.\r' <<< "$shown" ||
    fail "the help's umlaut did not reach the console intact: $shown"

# No option: the window program opens, and the prompt has its status 0 before that.
expect "somnar-scheduler > NUL 2>&1 & $status" "status 0"
timeout 30 xdotool search --sync --name 'Somnar-Scheduler' > /dev/null || fail "no window opened"
echo "the prompt waited for each answer and got its status; the window opened on its own"
