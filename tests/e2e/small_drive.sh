#!/usr/bin/env bash
# Runs end-to-end tests with a drive that holds little: a tmpfs of SIZE mounted here and mapped
# as a drive letter (Wine reads a drive's free space from the file system behind it), named to
# the tests in ZK_SMALL_DRIVE ("X:"). Wine takes its drives in when its server starts, so the
# tests run in a Wine environment of their own, a prefix beside the usual one, started after the
# drive is there. Link and mount go again however the tests end. Mounting needs root: without
# it the tests are reported skipped (exit code 77).
#
#   small_drive.sh SIZE E2E_TESTS_EXE GTEST_FILTER
set -euo pipefail

size=$1
tests=$2
filter=$3
skipped=77
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export SETUP_WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix}-small-drive
unset WINEPREFIX

if [ "$(id -u)" -ne 0 ]; then
    echo "small_drive: skipped, mounting a drive needs root"
    exit "$skipped"
fi

mount_point=$(mktemp -d)
link=
# shellcheck disable=SC2317  # called by the EXIT trap
cleanup() {
    local status=$?
    trap - EXIT INT TERM HUP
    if [ -n "$link" ]; then
        rm -f "$link"
    fi
    if mountpoint -q "$mount_point"; then
        umount "$mount_point" || status=1
    fi
    rmdir "$mount_point"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

if ! mount -t tmpfs -o "size=$size" zk-small-drive "$mount_point"; then
    echo "small_drive: skipped, no tmpfs could be mounted here"
    exit "$skipped"
fi
# The prefix is made (once) before the drive goes into it.
"$repo/scripts/wine-env.sh" true
link=$SETUP_WINEPREFIX/dosdevices/x:
rm -f "$link"  # left by a run that was killed
ln -s "$mount_point" "$link"

output=$(mktemp)
set +e
ZK_SMALL_DRIVE=X: "$repo/scripts/wine-env.sh" wine "$tests" --gtest_filter="$filter" 2>&1 |
    tee "$output"
status=${PIPESTATUS[0]}
set -e
if [ "$status" -eq 0 ] && grep -q '^\[  SKIPPED \]' "$output"; then
    status=$skipped
fi
rm -f "$output"
exit "$status"
