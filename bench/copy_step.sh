#!/usr/bin/env bash
# The copy step (script, installation log and progress window live) against the peer kit's plain
# copier (`wcopy none`: CreateDirectory + CopyFileW per file, no log, no window) on the kit's
# `large` (2,000 files, 200 MiB) and `small` (20,000 files) payloads, under Wine, on tmpfs, in one
# run with alternating repetitions; then the installation log: the mean cost of the last 1,000 of
# 20,000 records against the first 1,000, into a new log and into one already full.
#
# Environment: COPY_STEP_BUILD (a mingw build folder, default build/mingw), BENCH_CXX (the
# compiler of the peer's copier, default the MinGW compiler of the Windows target that runs here),
# COPY_STEP_REPS (5), COPY_STEP_ROOT (/dev/shm/zk-copy-step), COPY_STEP_SHAPES ("large small"),
# BENCH_KIT (../shared/bench beside the checkout).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$repo/bench/common.bash"
root=${COPY_STEP_ROOT:-/dev/shm/zk-copy-step}
build=${COPY_STEP_BUILD:-$repo/build/mingw}
reps=${COPY_STEP_REPS:-5}
shapes=${COPY_STEP_SHAPES:-large small}

if [ "${1:-}" != --inside ]; then
    mkdir -p "$root/bin"
    bench_build "$build" copy_step_bench
    cp "$build/tests/bench/copy_step_bench.exe" "$root/bin/"
    bench_wcopy "$root/bin/wcopy.exe"
    for shape in $shapes; do
        bench_payload "$root/$shape" "$shape"
        # The distribution's script: every folder, then every file under its own name.
        python3 - "$root/$shape" <<'PY'
import sys
root = sys.argv[1]
rows = [line.rstrip("\r\n").split("\t") for line in open(root + "/manifest.tsv") if line.strip()]
folders = sorted({rel.rsplit("\\", 1)[0] for rel, _ in rows if "\\" in rel})
lines = ["[main]", "NeedDiskSpace=%d" % sum(int(size) for _, size in rows), "[directory list]"]
lines += ["%d=%s" % (n, folder) for n, folder in enumerate(folders, 1)]
lines += ["[file list]"] + ["%s=%s" % (rel, rel) for rel, _ in rows]
open(root + "/payload/setup.ini", "w", newline="").write("\r\n".join(lines) + "\r\n")
PY
    done
    bench_inside "${BASH_SOURCE[0]}"
fi

# Inside the Wine environment from here on.
drive_c=$WINEPREFIX/drive_c
wine "$root/bin/wcopy.exe" >/dev/null 2>&1 || true  # starts the wineserver before timing
ours() { timed wine "$root/bin/copy_step_bench.exe" copy "$(winpath "$root/$shape/payload")" 'C:\bench\out'; }
wcopy_none() {
    timed wine "$root/bin/wcopy.exe" "$(winpath "$root/$shape/payload")" 'C:\bench\out' \
        "$(winpath "$root/$shape/manifest.tsv")" none
}

for shape in $shapes; do
    files=$(grep -c . "$root/$shape/manifest.tsv")
    for peer in ours wcopy_none; do  # warm-up, and a check that every file arrived
        $peer >/dev/null
        copied=$(find "$drive_c/bench/out" -type f ! -name install.ini | wc -l)
        [ "$copied" -eq "$files" ] || { echo "$shape $peer: $copied of $files files" >&2; exit 1; }
    done
    bench_compare "copy step $shape ($files files)" "$reps" wcopy_none ours
done

mkdir -p "$drive_c/bench"
for kind in new full; do
    wine "$root/bin/copy_step_bench.exe" log 20000 'C:\bench\install.ini' $kind
done
rm -rf "$drive_c/bench"
