#!/usr/bin/env bash
# The copy step (script, installation log and progress window live) against the peer kit's plain
# copier (`wcopy none`: CreateDirectory + CopyFileW per file, no log, no window) on the kit's
# `large` (2,000 files, 200 MiB) and `small` (20,000 files) payloads, under Wine, on tmpfs, in one
# run with alternating repetitions; then the installation log: the mean cost of the last 1,000 of
# 20,000 records against the first 1,000, into a new log and into one already full.
#
# Environment: COPY_STEP_BUILD (a mingw build folder, default build/mingw), COPY_STEP_CXX (the
# compiler of the peer's copier, default i686-w64-mingw32-g++: the same target as the build),
# COPY_STEP_REPS (5), COPY_STEP_ROOT (/dev/shm/zk-copy-step), COPY_STEP_SHAPES ("large small"),
# BENCH_KIT (/work/shared/bench).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kit=${BENCH_KIT:-/work/shared/bench}
root=${COPY_STEP_ROOT:-/dev/shm/zk-copy-step}
build=${COPY_STEP_BUILD:-$repo/build/mingw}
reps=${COPY_STEP_REPS:-5}
shapes=${COPY_STEP_SHAPES:-large small}

if [ "${1:-}" != --inside ]; then
    mkdir -p "$root/bin"
    [ -f "$build/CMakeCache.txt" ] || cmake --preset mingw-i686 -B "$build" >/dev/null
    cmake --build "$build" -j2 --target copy_step_bench >/dev/null
    cp "$build/tests/bench/copy_step_bench.exe" "$root/bin/"
    "${COPY_STEP_CXX:-i686-w64-mingw32-g++}" -O2 -static -o "$root/bin/wcopy.exe" "$kit/src/wcopy.cpp" -lcomctl32
    for shape in $shapes; do
        [ -f "$root/$shape/payload/setup.ini" ] && continue
        case $shape in
            large) python3 "$kit/gen_payload.py" "$root/$shape" --files 2000 --total 200M ;;
            small) python3 "$kit/gen_payload.py" "$root/$shape" --files 20000 --min 1024 --max 4096 ;;
        esac >/dev/null
        # The distribution's script: every folder, then every file under its own name.
        python3 - "$root/$shape" <<'EOF'
import sys
root = sys.argv[1]
rows = [line.rstrip("\r\n").split("\t") for line in open(root + "/manifest.tsv") if line.strip()]
folders = sorted({rel.rsplit("\\", 1)[0] for rel, _ in rows if "\\" in rel})
lines = ["[main]", "NeedDiskSpace=%d" % sum(int(size) for _, size in rows), "[directory list]"]
lines += ["%d=%s" % (n, folder) for n, folder in enumerate(folders, 1)]
lines += ["[file list]"] + ["%s=%s" % (rel, rel) for rel, _ in rows]
open(root + "/payload/setup.ini", "w", newline="").write("\r\n".join(lines) + "\r\n")
EOF
    done
    # The prefix lives on tmpfs too: the destination is its drive C:.
    SETUP_WINEPREFIX=$root/prefix "$repo/scripts/wine-env.sh" bash "${BASH_SOURCE[0]}" --inside
    exit
fi

# Inside the Wine environment from here on.
drive_c=$WINEPREFIX/drive_c
winpath() { echo "Z:${1//\//\\}"; }
now() { date +%s%N; }
wine "$root/bin/wcopy.exe" >/dev/null 2>&1 || true  # starts the wineserver before timing

run() {  # run SHAPE PEER: one timed run, the destination emptied first (untimed)
    local shape=$1 peer=$2 src dst start
    src=$(winpath "$root/$shape/payload")
    rm -rf "$drive_c/bench"
    mkdir -p "$drive_c/bench"
    start=$(now)
    case $peer in
        ours) wine "$root/bin/copy_step_bench.exe" copy "$src" 'C:\bench\out' ;;
        wcopy) wine "$root/bin/wcopy.exe" "$src" 'C:\bench\out' "$(winpath "$root/$shape/manifest.tsv")" none ;;
    esac >/dev/null
    echo $(( ($(now) - start) / 1000000 ))
}

median() { tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

for shape in $shapes; do
    files=$(grep -c . "$root/$shape/manifest.tsv")
    for peer in ours wcopy; do  # warm-up, and a check that every file arrived
        run "$shape" $peer >/dev/null
        copied=$(find "$drive_c/bench/out" -type f ! -name install.ini | wc -l)
        [ "$copied" -eq "$files" ] || { echo "$shape $peer: $copied of $files files" >&2; exit 1; }
    done
    ours=() wcopy=()
    for ((rep = 0; rep < reps; rep++)); do  # alternating order
        if ((rep % 2 == 0)); then
            ours+=("$(run "$shape" ours)") wcopy+=("$(run "$shape" wcopy)")
        else
            wcopy+=("$(run "$shape" wcopy)") ours+=("$(run "$shape" ours)")
        fi
    done
    m_ours=$(echo "${ours[*]}" | median)
    m_wcopy=$(echo "${wcopy[*]}" | median)
    printf 'copy step %-5s %5d files: ours %6d ms (%s), wcopy none %6d ms (%s), ratio %s\n' \
        "$shape" "$files" "$m_ours" "${ours[*]}" "$m_wcopy" "${wcopy[*]}" \
        "$(LC_ALL=C awk -v a="$m_ours" -v b="$m_wcopy" 'BEGIN {printf "%.3f", a / b}')"
done

mkdir -p "$drive_c/bench"
for kind in new full; do
    wine "$root/bin/copy_step_bench.exe" log 20000 'C:\bench\install.ini' $kind
done
rm -rf "$drive_c/bench"
