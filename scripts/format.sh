#!/usr/bin/env bash
# Formats every committed C++ file with the committed .clang-format; with --check, changes
# nothing and fails when a file is not formatted. The CMake targets format and format-check
# run this.
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=${CLANG_FORMAT:-clang-format}
# The committed files, or, in a copy without git, the same folders' files.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.hpp' ':!:tests/data/**')
else
  mapfile -t files < <(find src tests bench fuzz -path tests/data -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' \) -print | sort)
fi
if [ ${#files[@]} -eq 0 ]; then
  exit 0
fi
if [ "${1:-}" = "--check" ]; then
  "$clang_format" --dry-run -Werror "${files[@]}"
else
  "$clang_format" -i "${files[@]}"
fi
