#!/usr/bin/env bash
# Every C++ source of the project is formatted as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.h' '*.cpp' | grep -v '^build/')
[ ${#files[@]} -eq 0 ] && exit 0
existing=()
for f in "${files[@]}"; do [ -f "$f" ] && existing+=("$f"); done
clang-format --dry-run --Werror "${existing[@]}"
echo "format: ok (${#existing[@]} files)"
