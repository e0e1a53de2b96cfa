#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the program's and the tools' sources
# in the native build (its compile database); any finding fails. Usage: check_tidy.sh BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)"
python3 - "$build/compile_commands.json" "$root" <<'PY' | xargs -0 -P 2 -n 4 \
    clang-tidy -p "$build" --quiet --warnings-as-errors='*'
import json, sys
root = sys.argv[2]
files = sorted({entry["file"] for entry in json.load(open(sys.argv[1]))})
sys.stdout.write("".join(f + "\0" for f in files
                         if f.startswith((root + "/src/", root + "/tools/"))))
PY
echo "tidy: no findings"
