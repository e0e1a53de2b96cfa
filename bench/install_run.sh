#!/usr/bin/env bash
# The whole unattended installation (`setup.exe /VERYSILENT /DIR=...`: every step of the run, the
# installation log, registry, shortcuts) of a distribution whose script also places the peer kit's
# `large` (2,000 files, 200 MiB) or `small` (20,000 files) payload, one script line per file,
# against the kit's plain copier (`wcopy none`) copying the same payload; under Wine, on tmpfs, in
# one run with alternating repetitions. The kit's MSI peer (a wixl-built package, one component
# per file, `msiexec /i /qn`) runs beside them; its NSIS peers are 32-bit programs and run only
# where 32-bit Wine does.
#
# Environment: INSTALL_RUN_BUILD (a mingw build folder, default build/mingw), BENCH_CXX,
# INSTALL_RUN_REPS (5), INSTALL_RUN_ROOT (/dev/shm/zk-install-run), INSTALL_RUN_SHAPES
# ("large small"), BENCH_KIT (../shared/bench beside the checkout).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$repo/bench/common.bash"
root=${INSTALL_RUN_ROOT:-/dev/shm/zk-install-run}
build=${INSTALL_RUN_BUILD:-$repo/build/mingw}
reps=${INSTALL_RUN_REPS:-5}
shapes=${INSTALL_RUN_SHAPES:-large small}

if [ "${1:-}" != --inside ]; then
    mkdir -p "$root/bin"
    bench_build "$build" distribution
    bench_wcopy "$root/bin/wcopy.exe"
    command -v wixl >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq wixl >/dev/null
    for shape in $shapes; do
        bench_payload "$root/$shape" "$shape"
        if [ ! -f "$root/$shape/bench.msi" ]; then
            python3 "$kit/gen_wxs.py" "$root/$shape" "$root/$shape/bench.wxs"
            (cd "$root/$shape/payload" && wixl -a x86 -o ../bench.msi ../bench.wxs)
        fi
        bench_distribution "$build" "$root/$shape"
    done
    bench_inside "${BASH_SOURCE[0]}"
fi

# Inside the Wine environment from here on.
drive_c=$WINEPREFIX/drive_c
wine "$root/bin/wcopy.exe" >/dev/null 2>&1 || true  # starts the wineserver before timing
ours() {
    cd "$root/$shape/dist"
    timed wine setup.exe /VERYSILENT /SUPPRESSMSGBOXES '/DIR=C:\bench\out'
}
wcopy_none() {
    timed wine "$root/bin/wcopy.exe" "$(winpath "$root/$shape/payload")" 'C:\bench\out\payload' \
        "$(winpath "$root/$shape/manifest.tsv")" none
}
msi() {
    local package
    package=$(winpath "$root/$shape/bench.msi")
    wine msiexec /x "$package" /qn >/dev/null 2>&1 || true  # the last run's, untimed
    timed wine msiexec /i "$package" /qn 'INSTALLDIR=C:\bench\out\payload'
}
check() {  # every payload file arrived whole, by size
    python3 - "$root/$shape/manifest.tsv" "$drive_c/bench/out/payload" <<'PY'
import os, sys
bad = [rel for rel, size in (l.rstrip("\r\n").split("\t") for l in open(sys.argv[1]) if l.strip())
       if not os.path.isfile(os.path.join(sys.argv[2], *rel.split("\\")))
       or os.path.getsize(os.path.join(sys.argv[2], *rel.split("\\"))) != int(size)]
sys.exit("%d files missing or cut, e.g. %s" % (len(bad), bad[:3]) if bad else 0)
PY
}

for shape in $shapes; do
    files=$(grep -c . "$root/$shape/manifest.tsv")
    for peer in ours wcopy_none msi; do  # warm-up, and a check that every file arrived
        $peer >/dev/null
        check
    done
    bench_compare "whole run $shape ($files files)" "$reps" wcopy_none ours msi
    wine msiexec /x "$(winpath "$root/$shape/bench.msi")" /qn >/dev/null 2>&1 || true
done
rm -rf "$drive_c/bench"
