#!/usr/bin/env bash
# The unattended removal (`zkuninst.exe /VERYSILENT /SUPPRESSMSGBOXES`, as QuietUninstallString
# starts it: the copy in the temporary folder, every step, the account of none) of an installation
# of the sample distribution whose script also places the peer kit's `large` payload (2,000 files,
# 200 MiB), against a bare delete loop (DeleteFileW per payload file, then the folders:
# tests/bench/delete_loop.cpp) and the same loop after the system calls the removal must make
# (`call_floor`) on the same installation; under Wine, on tmpfs, in one run with
# alternating repetitions. Each repetition removes a fresh installation (made untimed by
# setup.exe), and every run is checked to have removed the payload. The uninstaller's time runs
# until its copy has taken the installation folder, after the program started has ended. The kit's
# NSIS uninstaller is a 32-bit program and runs only where 32-bit Wine does.
#
# Environment: UNINSTALL_RUN_BUILD (a mingw build folder, default build/mingw), UNINSTALL_RUN_REPS
# (5), UNINSTALL_RUN_ROOT (/dev/shm/zk-uninstall-run), BENCH_KIT (../shared/bench beside the
# checkout).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$repo/bench/common.bash"
root=${UNINSTALL_RUN_ROOT:-/dev/shm/zk-uninstall-run}
build=${UNINSTALL_RUN_BUILD:-$repo/build/mingw}
reps=${UNINSTALL_RUN_REPS:-5}
shape=large

# nsis_package DIR: the kit's typical NSIS installer of DIR's payload, made once; its uninstaller
# is the NSIS peer.
nsis_package() {
    [ -f "$1/nsis_plain.exe" ] && return
    if ! command -v makensis >/dev/null; then
        apt-get update -qq && apt-get install -y -qq nsis >/dev/null
    fi
    python3 "$kit/gen_nsis.py" "$1" plain "$1/nsis_plain.nsi" "$1/nsis_plain.exe"
    makensis -V1 "$1/nsis_plain.nsi" >/dev/null
}

if [ "${1:-}" != --inside ]; then
    mkdir -p "$root/bin"
    bench_build "$build" distribution delete_loop
    cp "$build/tests/bench/delete_loop.exe" "$root/bin/"
    bench_payload "$root/$shape" "$shape"
    bench_distribution "$build" "$root/$shape"
    # The kit's NSIS programs are 32-bit.
    [ "$arch" != i686 ] || nsis_package "$root/$shape"
    bench_inside "${BASH_SOURCE[0]}"
fi

# Inside the Wine environment from here on.
drive_c=$WINEPREFIX/drive_c
out=$drive_c/bench/out
wine "$root/bin/delete_loop.exe" >/dev/null 2>&1 || true  # starts the wineserver before timing
installed() {  # untimed: a fresh installation in C:\bench\out
    rm -rf "$drive_c/bench"
    (cd "$root/$shape/dist" && wine setup.exe /VERYSILENT /SUPPRESSMSGBOXES '/DIR=C:\bench\out') \
        >/dev/null 2>&1 || { echo "the installation failed" >&2; exit 1; }
}
# elapsed START: milliseconds since START.
elapsed() { echo $((($(now) - $1) / 1000000)); }
zkuninst() {
    installed
    local start status=0
    start=$(now)
    wine 'C:\bench\out\zkuninst.exe' /VERYSILENT /SUPPRESSMSGBOXES >/dev/null 2>&1 || status=$?
    [ $status -eq 0 ] || { echo "zkuninst.exe ended with $status" >&2; exit 1; }
    while [ -e "$out" ]; do
        (($(elapsed "$start") < 60000)) || { echo "the folder stays" >&2; exit 1; }
        sleep 0.005
    done
    elapsed "$start"
}
# bare_delete [--floor]: the delete loop's time; with --floor, until its copy has taken the
# payload's folder.
bare_delete() {
    installed
    local start status=0
    start=$(now)
    wine "$root/bin/delete_loop.exe" "$@" 'C:\bench\out\payload' \
        "$(winpath "$root/$shape/manifest.tsv")" >/dev/null 2>&1 || status=$?
    [ $status -eq 0 ] || { echo "delete_loop.exe ended with $status" >&2; exit 1; }
    while [ -e "$out/payload" ]; do
        (($(elapsed "$start") < 60000)) || { echo "the payload's folder stays" >&2; exit 1; }
        sleep 0.005
    done
    elapsed "$start"
}
check() {  # check FOLDER: no payload file is left in FOLDER
    python3 - "$root/$shape/manifest.tsv" "$1" <<'PY'
import os, sys
left = [rel for rel in (l.split("\t")[0] for l in open(sys.argv[1]) if l.strip())
        if os.path.lexists(os.path.join(sys.argv[2], *rel.split("\\")))]
sys.exit("%d payload files left, e.g. %s" % (len(left), left[:3]) if left else 0)
PY
}
# The peers by the names the figures show: each run is checked to have removed the payload.
delete_loop() {
    bare_delete
    check "$out/payload"
}
# The same loop after the calls no removal of this installation can leave out (the shell's
# folders, the service library, the copy that takes the last folder): what is left to ours
# beyond it is reading the log, the plan, the registry and the files outside the payload.
call_floor() {
    bare_delete --floor
    check "$out/payload"
}
ours() {
    zkuninst
    check "$out/payload"
}
# The kit's NSIS uninstaller as it is started in place (`uninstall.exe /S _?=folder`), after an
# untimed installation by the kit's installer, which puts the payload in the folder itself.
nsis() {
    rm -rf "$drive_c/bench"
    wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\BenchApp' /f \
        >/dev/null 2>&1 || true
    wine "$root/$shape/nsis_plain.exe" /S '/D=C:\bench\out' >/dev/null 2>&1 ||
        { echo "the NSIS installation failed" >&2; exit 1; }
    local start status=0
    start=$(now)
    wine 'C:\bench\out\uninstall.exe' /S '_?=C:\bench\out' >/dev/null 2>&1 || status=$?
    [ $status -eq 0 ] || { echo "uninstall.exe ended with $status" >&2; exit 1; }
    elapsed "$start"
    check "$out"
}

files=$(grep -c . "$root/$shape/manifest.tsv")
peers=(delete_loop call_floor ours)
[ "$arch" != i686 ] || peers+=(nsis)
for peer in "${peers[@]}"; do $peer >/dev/null; done  # warm-up
bench_compare "removal $shape ($files files)" "$reps" "${peers[@]}"
if [ "$arch" != i686 ]; then
    echo "  nsis: skipped, this machine runs no 32-bit programs (the kit's uninstall.exe is one)"
fi
rm -rf "$drive_c/bench"
