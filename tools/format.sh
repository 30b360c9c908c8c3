#!/usr/bin/env bash
# Formats the tracked C++ sources with clang-format and the root .clang-format.
#   tools/format.sh           rewrite the files in place
#   tools/format.sh --check   change nothing; show what would change and fail
# The check exits 77 (skipped) without clang-format 14 or outside a git
# checkout: another clang-format version lays out some constructs differently.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
[[ "${1:-}" == --check ]] && check=1

skip() {
    echo "format: $1" >&2
    if ((check)); then exit 77; fi
    exit 1
}

formatter=""
for candidate in clang-format-14 clang-format; do
    if command -v "$candidate" >/dev/null && [[ "$("$candidate" --version)" == *"version 14."* ]]; then
        formatter=$candidate
        break
    fi
done
[[ -n "$formatter" ]] || skip "clang-format 14 not found"
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || skip "not a git checkout"

mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if ((!check)); then
    "$formatter" -i "${files[@]}"
    exit 0
fi

failed=0
for file in "${files[@]}"; do
    if ! "$formatter" "$file" | diff -u --label "$file" --label "$file (formatted)" "$file" -; then
        failed=1
    fi
done
if ((failed)); then
    echo "format: the files above differ from their formatted text; tools/format.sh rewrites them" >&2
    exit 1
fi
