#!/usr/bin/env bash
# Log-book conversion: the merge of two old logs by the native zkconvert (release build), against
# a plain cp of the same bytes, both on tmpfs, in alternating repetitions; with the peak memory
# of each, for logs of 2,000 and 200,000 records each. Prints the median times and the ratio.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build/bench-native
reps=${CONVERT_BENCH_REPS:-5}

[ -f "$build/build.ninja" ] ||
    cmake --preset native -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target zkconvert >/dev/null
zkconvert=$build/tools/zkconvert

work=$(mktemp -d /dev/shm/convert-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Two logs of n old records each, receive and send entries one second apart so that the merge
# takes from both in turn.
generate() {
    python3 - "$1" "$2" <<'PY'
import struct, sys
folder, count = sys.argv[1], int(sys.argv[2])
template = bytearray(919)
template[16:26] = b"item text "
template[272:282] = b"0123456789"
template[364] = 20
template[365:385] = b"H" * 20
for name, offset in (("receive.zlg", 0), ("send.zlg", 1)):
    with open(f"{folder}/{name}", "wb") as log:
        for i in range(count):
            seconds = 2 * i + offset
            struct.pack_into("<6H", template, 0, 2004, 1 + seconds // 2592000 % 12, 1 + seconds // 86400 % 28,
                             seconds // 3600 % 24, seconds // 60 % 60, seconds % 60)
            log.write(template)
PY
}

# Wall and CPU (user + system) seconds of a command, one line; its peak RSS in KiB goes to
# $work/rss. CPU time is the steadier figure on a machine shared with other work.
timed() {
    local start=$EPOCHREALTIME
    /usr/bin/time -f "%M %U %S" -o "$work/usage" "$@" >/dev/null
    local wall
    wall=$(echo "$EPOCHREALTIME - $start" | bc -l)
    read -r rss user system <"$work/usage"
    echo "$rss" >"$work/rss"
    echo "$wall $(echo "$user + $system" | bc -l)"
}

# The median of one column.
median() { awk -v c="$1" '{ print $c }' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for records in 2000 200000; do
    rm -rf "$work/old" "$work/new" "$work/copy"
    mkdir -p "$work/old/service" "$work/new/service" "$work/copy"
    generate "$work/old/service" "$records"
    bytes=$(cat "$work/old/service/"*.zlg | wc -c)
    : >"$work/convert.times"
    : >"$work/copy.times"
    for ((rep = 0; rep < reps; rep++)); do
        timed "$zkconvert" --logbook yes "$work/old" "$work/new" >>"$work/convert.times"
        convert_rss=$(cat "$work/rss")
        timed cp "$work/old/service/receive.zlg" "$work/old/service/send.zlg" "$work/copy" \
            >>"$work/copy.times"
        copy_rss=$(cat "$work/rss")
    done
    expected=$((812 * (2 * records + 1)))
    actual=$(stat -c %s "$work/new/service/logbook.zlg")
    [ "$actual" -eq "$expected" ] || { echo "logbook.zlg has $actual bytes, not $expected"; exit 1; }
    convert_time=$(median 1 <"$work/convert.times")
    copy_time=$(median 1 <"$work/copy.times")
    convert_cpu=$(median 2 <"$work/convert.times")
    copy_cpu=$(median 2 <"$work/copy.times")
    awk -v n="$records" -v b="$bytes" -v t="$convert_time" -v c="$copy_time" -v tc="$convert_cpu" \
        -v cc="$copy_cpu" -v rc="$convert_rss" -v rp="$copy_rss" 'BEGIN {
        printf "merge of 2 x %d records (%.1f MB in), median of %d:\n", n, b / 1e6, '"$reps"'
        printf "  zkconvert %.3f s wall (%.0f MB/s), %.3f s CPU, peak RSS %d KiB\n", t, b / 1e6 / t, tc, rc
        printf "  cp        %.3f s wall (%.0f MB/s), %.3f s CPU, peak RSS %d KiB\n", c, b / 1e6 / c, cc, rp
        printf "  ratio zkconvert / cp: %.2f wall, %.2f CPU\n", t / c, (cc > 0 ? tc / cc : 0) }'
done
