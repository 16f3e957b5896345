#!/usr/bin/env bash
# Installs the build into a scratch folder (as a package build does, with DESTDIR) and
# checks that every file lands in its standard place and that the menu entry, AppStream
# data and manual page are valid. Usage: check_install.sh BUILD_DIR
set -euo pipefail
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$1" --prefix /usr/local > "$stage/log" 2>&1 || { cat "$stage/log"; exit 1; }
cd "$stage/usr/local"
failed=0
fail() { echo "FAIL: $*"; failed=1; }
# The menu entry, AppStream data and manual page are checked below; a missing one fails there.
for file in bin/somnar-scheduler lib/somnar-scheduler/somnar_ftp.so ../../etc/udev/rules.d/60-somnar-scheduler-rtc.rules; do
    [[ -f "$file" ]] || fail "missing $file"
done
for size in 16 32 48 64 128 256; do
    icon="share/icons/hicolor/${size}x${size}/apps/somnar-scheduler.png"
    [[ "$(identify -format %wx%h "$icon" 2>&1)" == "${size}x${size}" ]] || fail "$icon is not ${size}x${size}"
done
desktop-file-validate share/applications/somnar-scheduler.desktop || fail "the menu entry is not valid"
appstreamcli validate --no-net share/metainfo/io.github.somnar.Scheduler.metainfo.xml > /dev/null \
    || fail "the AppStream data is not valid"
# The manual page (UTF-8, hence preconv's -k) renders without a warning.
groff -k -man -Tutf8 -z -ww share/man/man1/somnar-scheduler.1 2>&1 | grep . && fail "the manual page warns"
# Installed by root, the program may arm the kernel's wake alarm.
[[ $(id -u) -ne 0 ]] || getcap bin/somnar-scheduler | grep -q cap_wake_alarm || fail "no CAP_WAKE_ALARM"
exit $failed
