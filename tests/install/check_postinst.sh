#!/usr/bin/env bash
# Runs the package's postinst (debian/postinst with the sysusers step debhelper puts in)
# against stand-ins for systemd-sysusers, setcap and udevadm that log their calls, each run
# in a mount namespace with an empty /run, with or without udev running: the group comes
# before the udev rule is applied, a file system without capabilities does not fail the
# installation, and an aborted upgrade grants nothing. Needs root (namespaces).
# Usage: check_postinst.sh DEBIAN_DIR
set -euo pipefail
[[ $(id -u) -eq 0 ]] || { echo "SKIP: needs root for a mount namespace"; exit 77; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
for tool in systemd-sysusers setcap udevadm; do
    printf '#!/bin/sh\necho "%s $*" >> %s/calls\n[ %s != setcap ] || exit $SETCAP_STATUS\n' \
        "$tool" "$work" "$tool" > "$work/bin/$tool"
    chmod +x "$work/bin/$tool"
done
sysusers="$(sed 's/#CONFILE_BASENAME#/somnar-scheduler.conf/' /usr/share/debhelper/autoscripts/postinst-sysusers)"
awk -v snippet="$sysusers" '$0 == "#DEBHELPER#" { print snippet; next } { print }' \
    "$1/postinst" > "$work/postinst"

failed=0
# run UDEV SETCAP_STATUS ARGUMENTS... EXPECTED_OUTPUT EXPECTED_CALLS
run() {
    local udev="$1" status="$2" calls="${*: -1}" output="${*: -2:1}" got
    : > "$work/calls"
    got="$(SETCAP_STATUS=$status PATH="$work/bin:$PATH" unshare -m sh -c 'mount -t tmpfs none /run &&
        { [ "$0" = no ] || mkdir /run/udev; } && exec sh "$@"' "$udev" "$work/postinst" \
        "${@:3:$#-4}" 2>&1)" || { echo "FAIL: postinst ${*:3:$#-4} ended with $?: $got"; failed=1; }
    [[ "$got" == "$output" ]] || { echo "FAIL: postinst ${*:3:$#-4} said: $got"; failed=1; }
    [[ "$(cat "$work/calls")" == "$calls" ]] || { echo "FAIL: calls: $(cat "$work/calls")"; failed=1; }
}
told="somnar-scheduler: to wake this machine from hibernation, add each user of the program to the group somnar-wake: sudo adduser USER somnar-wake (then log in again)"
group="systemd-sysusers somnar-scheduler.conf"
grant="setcap cap_wake_alarm+ep /usr/bin/somnar-scheduler"
run yes 0 configure "" "somnar-scheduler: granted CAP_WAKE_ALARM to /usr/bin/somnar-scheduler
$told" "$group
$grant
udevadm control --reload
udevadm trigger --settle --subsystem-match=rtc --action=add"
run no 1 configure 1.0.0 "somnar-scheduler: could not grant CAP_WAKE_ALARM to /usr/bin/somnar-scheduler (does its file system hold capabilities?); the program cannot arm a wake-up from standby until an administrator runs: setcap cap_wake_alarm+ep /usr/bin/somnar-scheduler
$told" "$group
$grant"
run yes 0 abort-upgrade 1.0.0 "" "$group"
exit $failed
