#!/usr/bin/env bash
# make bench: every benchmark in bench/, in name order. Each prints its own figures; the peer
# kit (../shared/bench) is what they measure against. Not part of make test: timings belong here.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
status=0
for bench in "$repo"/bench/*.sh; do
    [ -e "$bench" ] || continue
    echo "== $(basename "$bench")"
    bash "$bench" || status=1
done
exit $status
