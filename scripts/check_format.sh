#!/usr/bin/env bash
# Fails when a tracked C++ file is not formatted as .clang-format says (clang-format -i mends it).
# Every tracked file, not only the changed ones: the tree is formatted, so a clean clone checks
# as much as a working copy, and the whole run takes seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "format: $(git ls-files '*.cpp' '*.h' | wc -l) files formatted"
