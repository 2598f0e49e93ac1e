#!/usr/bin/env bash
# Checks that the C++ files are formatted and that the shipped language files and flags are
# current, then builds with warnings as errors under AddressSanitizer and
# UndefinedBehaviorSanitizer (leaks included) and runs every test, core and GUI (offscreen), the
# layer-order check among them; any sanitizer report fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
cmake --preset ci
cmake --build --preset ci --target format-check
python3 scripts/languages/make_lng.py --check
python3 scripts/languages/make_flags.py --check
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"
