#!/usr/bin/env bash
# Installs the built program into a scratch folder (as a package build would, with
# DESTDIR) and checks that everything lands in its standard place.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build="$1"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
prefix=/usr/local

DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" > "$stage.log" 2>&1 \
    || { cat "$stage.log"; exit 1; }
root="$stage$prefix"
failed=0
expect_file() {
    if [[ -f "$1" ]]; then echo "ok: ${1#"$stage"}"; else echo "MISSING: ${1#"$stage"}"; failed=1; fi
}
expect_file "$root/bin/somnar-scheduler"
expect_file "$root/lib/somnar-scheduler/somnar_ftp.so"
expect_file "$root/share/applications/somnar-scheduler.desktop"
expect_file "$root/share/metainfo/io.github.somnar.Scheduler.metainfo.xml"
for size in 16 32 48 64 128 256; do
    icon="$root/share/icons/hicolor/${size}x${size}/apps/somnar-scheduler.png"
    expect_file "$icon"
    [[ "$(identify -format %wx%h "$icon" 2>&1)" == "${size}x${size}" ]] \
        || { echo "WRONG SIZE: ${icon#"$stage"}"; failed=1; }
done
expect_file "$root/share/man/man1/somnar-scheduler.1"
expect_file "$stage/etc/udev/rules.d/60-somnar-scheduler-rtc.rules"

desktop-file-validate "$root/share/applications/somnar-scheduler.desktop" || failed=1
# The manual page (UTF-8, hence preconv's -k) renders without a warning.
man_warnings="$(groff -k -man -Tutf8 -z -ww "$root/share/man/man1/somnar-scheduler.1" 2>&1)"
[[ -z "$man_warnings" ]] || { echo "$man_warnings"; failed=1; }
appstreamcli validate --no-net "$root/share/metainfo/io.github.somnar.Scheduler.metainfo.xml" \
    > /dev/null || failed=1

# The installed program finds its FTP module in ../lib/somnar-scheduler.
[[ "$(readlink -f "$root/bin/../lib/somnar-scheduler/somnar_ftp.so")" == \
   "$root/lib/somnar-scheduler/somnar_ftp.so" ]] || failed=1

if [[ $(id -u) -eq 0 ]]; then
    if getcap "$root/bin/somnar-scheduler" | grep -q cap_wake_alarm; then
        echo "ok: CAP_WAKE_ALARM granted"
    else
        echo "MISSING: CAP_WAKE_ALARM on the installed program"; failed=1
    fi
fi
exit $failed
