# Shared by the benchmarks (sourced; `repo` set by the caller): the peer kit's payloads, its plain
# copier built for the Windows target that runs here, timing, and alternating repetitions.
kit=${BENCH_KIT:-$(cd "$repo/.." && pwd)/shared/bench}
arch=$("$repo/scripts/windows-arch.sh")

# bench_payload DIR SHAPE: the kit's payload of that shape in DIR/payload with DIR/manifest.tsv,
# made once (the same arguments give the same bytes).
bench_payload() {
    [ -f "$1/manifest.tsv" ] && return
    case $2 in
        large) python3 "$kit/gen_payload.py" "$1" --files 2000 --total 200M ;;
        small) python3 "$kit/gen_payload.py" "$1" --files 20000 --min 1024 --max 4096 ;;
    esac >/dev/null
}

# bench_distribution BUILD DIR: the sample distribution of BUILD in DIR/dist, with the payload of
# DIR beside it and one script line per payload file.
bench_distribution() {
    rm -rf "$2/dist"
    cp -r "$1/distribution/single" "$2/dist"
    ln -s ../payload "$2/dist/payload"
    python3 - "$2" <<'PY'
import sys
root = sys.argv[1]
rows = [line.rstrip("\r\n").split("\t") for line in open(root + "/manifest.tsv") if line.strip()]
folders = sorted({rel.rsplit("\\", 1)[0] for rel, _ in rows if "\\" in rel})
added = {
    "directory list": ["payload%d=payload\\%s" % (n, f) for n, f in enumerate(folders, 1)],
    "file list": ["payload\\%s=payload\\%s" % (rel, rel) for rel, _ in rows],
}
path = root + "/dist/setup.ini"
out, section = [], None
def close():
    out.extend(line.encode("cp1251") for line in added.pop(section, []))
for line in open(path, "rb").read().split(b"\r\n"):
    if line.startswith(b"["):
        close()
        section = line.strip(b"[]").decode("cp1251")
    elif line.startswith(b"NeedDiskSpace="):
        line = b"NeedDiskSpace=%d" % (int(line[14:]) + sum(int(size) for _, size in rows))
    if line or section not in added:
        out.append(line)
close()
open(path, "wb").write(b"\r\n".join(out) + b"\r\n")
PY
}

# bench_wcopy EXE: the kit's plain copier (CreateDirectory + CopyFileW per file).
bench_wcopy() {
    "${BENCH_CXX:-$arch-w64-mingw32-g++}" -O2 -static -o "$1" "$kit/src/wcopy.cpp" -lcomctl32
}

# bench_build BUILD TARGET...: a mingw build folder of the target that runs here, built.
bench_build() {
    local build=$1
    shift
    [ -f "$build/CMakeCache.txt" ] || cmake --preset "mingw-$arch" -B "$build" >/dev/null
    cmake --build "$build" -j2 --target "$@" >/dev/null
}

# bench_inside SCRIPT: runs SCRIPT --inside in a Wine prefix on tmpfs beside the payloads (the
# destination is its drive C:), then ends the caller.
bench_inside() {
    SETUP_WINEPREFIX=$root/prefix "$repo/scripts/wine-env.sh" bash "$1" --inside
    exit
}

# timed COMMAND...: one run into an emptied C:\bench of the prefix's drive_c (emptied untimed);
# prints its milliseconds and fails when the command does.
timed() {
    rm -rf "$drive_c/bench"
    mkdir -p "$drive_c/bench"
    local start status=0
    start=$(now)
    "$@" >/dev/null 2>&1 || status=$?
    [ $status -eq 0 ] || { echo "$* ended with $status" >&2; exit 1; }
    echo $((($(now) - start) / 1000000))
}

winpath() { echo "Z:${1//\//\\}"; }
now() { date +%s%N; }
median() { tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# bench_compare LABEL REPS BASE PEER...: REPS timed runs of each command (a function that prints
# its milliseconds), in forward and reverse order by turns, then each median and its ratio to
# the median of BASE.
bench_compare() {
    local label=$1 reps=$2 rep peer
    shift 2
    local peers=("$@") order=()
    declare -A runs=()
    for ((rep = 0; rep < reps; rep++)); do
        order=("${peers[@]}")
        if ((rep % 2 == 1)); then
            order=()
            for ((i = ${#peers[@]} - 1; i >= 0; i--)); do order+=("${peers[i]}"); done
        fi
        for peer in "${order[@]}"; do
            runs[$peer]+="$($peer) "
        done
    done
    local base
    base=$(echo "${runs[$1]}" | median)
    echo "$label:"
    for peer in "${peers[@]}"; do
        local m
        m=$(echo "${runs[$peer]}" | median)
        printf '  %-12s %7d ms median (%s) %sx %s\n' "$peer" "$m" "${runs[$peer]% }" \
            "$(LC_ALL=C awk -v a="$m" -v b="$base" 'BEGIN {printf "%.3f", a / b}')" "$1"
    done
}
